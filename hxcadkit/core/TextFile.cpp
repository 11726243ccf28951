#include "hxcadkit/core/TextFile.h"

#include <string>

#include "hxcadkit/core/Messager.h"

namespace {
const char* const DefaultBaseName = "VUVudirido.tb";

// One UTF-16 unit as a code-page byte; a character the code page lacks becomes '?', so
// that it cannot cut the text short.
char UnitToCodePage(wchar_t u)
{
  if (u < 0x80) return char(u);
  char c = TString::UniCodeToChar(u);
  return c ? c : '?';
}

TString FromBytes(const std::string& s)
{
  TString t;
  if (!s.empty()) t.Set(reinterpret_cast<const unsigned char*>(s.data()), unsigned(s.size()));
  return t;
}

// Bytes are compared as signed values: 128-255 fall below 1 and count with 1-26.
bool IsControlByte(char c)
{
  signed char s = static_cast<signed char>(c);
  return s < 0 || (s >= 1 && s <= 26);
}

void ShowMissingOrBad(const TString& fullName, bool active)
{
  // What is there but no file was refused with its reason when it was opened.
  if (!PathExists(fullName))
    Messager->LiftBox(TString("Отсутствует файл ") + fullName, TMessager::toAlways);
  else if (FileExists(fullName) && !active)
    Messager->LiftBox(DC(TString("Плохой файл параметров")) + TString(" ") + fullName, TMessager::toAlways);
}
} // namespace

// ---------------------------------------------------------------------------------------------
// TWideTextFile

TWideTextFile::TWideTextFile() : NameTextBase(DefaultBaseName) {}

TWideTextFile::~TWideTextFile()
{
  // Whatever became of the file, it is not left open.
  FB.Close();
}

bool TWideTextFile::Init(const TString& path, const TString& name)
{
  NameTextBase = name;
  ExecutePath = path;
  if (Activate) return Active;
  Activate = true;
  TString fullName = ExecutePath + NameTextBase;
  if (FB.MakeForRead(fullName, true)) {
    char16_t bom = 0;
    FB.Read(bom);
    Active = true;
  }
  ReportOpenFailure(fullName);
  return Active;
}

void TWideTextFile::ReportOpenFailure(const TString& fullName) const
{
  ShowMissingOrBad(fullName, Active);
}

void TWideTextFile::ReadInBufer()
{
  FilterWideText(FB, [this](wchar_t c) { PutWCharInBufer(c); });
}

void TWideTextFile::Skip(wchar_t c)
{
  // An empty ring after NextWChar means the end of the data: a run of 0 stops there.
  while (NextWChar() == c && !EmptyBufer())
    GetWChar();
}

void TWideTextFile::SkipTo(wchar_t c)
{
  for (;;) {
    wchar_t n = GetWChar();
    if (n == c || n == 0) return;
  }
}

TString TWideTextFile::StrTo(wchar_t c)
{
  std::string s;
  for (;;) {
    wchar_t n = GetWChar();
    if (n == c || n == 0) break;
    s += UnitToCodePage(n);
  }
  return FromBytes(s);
}

void TWideTextFile::SkipDelimiter()
{
  while (IsDelimiter(NextWChar()))
    GetWChar();
}

void TWideTextFile::SkipDelimiter(wchar_t c)
{
  for (;;) {
    wchar_t n = NextWChar();
    if (EmptyBufer() || (!IsDelimiter(n) && n != c)) return;
    GetWChar();
  }
}

TString TWideTextFile::SkipDelimiterStrToDelimiter()
{
  SkipDelimiter();
  std::string s;
  for (;;) {
    wchar_t n = GetWChar();
    if (n == 0 || IsDelimiter(n)) break;
    s += UnitToCodePage(n);
  }
  return FromBytes(s);
}

TString TWideTextFile::GetStr()
{
  SkipDelimiter();
  GetWChar(); // the opening quotation mark, taken unseen
  return StrTo(L'"');
}

int TWideTextFile::GetInt()
{
  Skip(L' ');
  return StrTo(L' ').toInteger();
}

double TWideTextFile::GetReal()
{
  Skip(L' ');
  return StrTo(L' ').toReal();
}

// ---------------------------------------------------------------------------------------------
// TCTextFile

TCTextFile::TCTextFile() : NameTextBase(DefaultBaseName) {}

TCTextFile::~TCTextFile()
{
  Close();
}

bool TCTextFile::Init(const TString& path, const TString& name)
{
  NameTextBase = name;
  ExecutePath = path;
  if (Activate) return Active;
  Activate = true;
  TString fullName = ExecutePath + NameTextBase;
  Active = MakeForRead(fullName, true);
  ShowMissingOrBad(fullName, Active);
  return Active;
}

void TCTextFile::ReadInBufer()
{
  auto next = [this](char& u) {
    if (TKmfData::EndOfFile()) return false;
    TKmfData::Read(u);
    return true;
  };

  char c;
  if (!next(c)) return;
  if (IsControlByte(c)) {
    PutCharInBufer(' ');
    do {
      if (!next(c)) return;
    } while (IsControlByte(c));
    if (c != '/') {
      PutCharInBufer(c);
      return;
    }
  }
  if (c == '/') {
    char n;
    if (!next(n)) {
      PutCharInBufer(c);
      return;
    }
    if (n != '/') {
      PutCharInBufer(c);
      PutCharInBufer(n);
      return;
    }
    char d;
    while (next(d) && d != 0 && d != 10) {
      if (d == 13) {
        next(d);
        break;
      }
    }
    PutCharInBufer(' ');
    return;
  }
  if (c == 0) {
    PutCharInBufer(' ');
    PutCharInBufer(0);
    return;
  }
  PutCharInBufer(c);
}

void TCTextFile::Skip(char c)
{
  while (NextChar() == c && !EmptyBufer())
    GetChar();
}

void TCTextFile::SkipTo(char c)
{
  for (;;) {
    char n = GetChar();
    if (n == c || n == 0) return;
  }
}

TString TCTextFile::StrTo(char c)
{
  std::string s;
  for (;;) {
    char n = GetChar();
    if (n == c || n == 0) break;
    s += n;
  }
  return FromBytes(s);
}

void TCTextFile::SkipDelimiter()
{
  while (IsDelimiter(NextChar()))
    GetChar();
}

void TCTextFile::SkipDelimiter(char c)
{
  for (;;) {
    char n = NextChar();
    if (EmptyBufer() || (!IsDelimiter(n) && n != c)) return;
    GetChar();
  }
}

TString TCTextFile::SkipDelimiterStrToDelimiter()
{
  SkipDelimiter();
  std::string s;
  for (;;) {
    char n = GetChar();
    if (n == 0 || IsDelimiter(n)) break;
    s += n;
  }
  return FromBytes(s);
}

TString TCTextFile::GetStr()
{
  SkipDelimiter();
  GetChar();
  return StrTo('"');
}

int TCTextFile::GetInt()
{
  Skip(' ');
  return StrTo(' ').toInteger();
}

double TCTextFile::GetReal()
{
  Skip(' ');
  return StrTo(' ').toReal();
}

TCTextFile& TCTextFile::operator<<(const TString& s)
{
  WriteText(s);
  return *this;
}
