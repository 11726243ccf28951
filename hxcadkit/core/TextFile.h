#pragma once
// Tokenisers of the system's plain-text data files. Characters come from a raw data stream,
// pass a filter that turns "//" comments, line breaks and other control characters into
// single blanks, and wait in a ring of pending characters until a token operation takes them.
// TWideTextFile reads UTF-16 (the text base), TCTextFile 8-bit text.
//
// A 0 character ends a word for SkipTo, StrTo and SkipDelimiterStrToDelimiter; at the end of
// the data NextWChar/GetWChar answer 0 and every scanner stops.
#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/KmfData.h"
#include "hxcadkit/core/Types.h"

// The next UTF-16 unit of a raw stream; false at its end, so that no phantom zeros are taken
// from past it. A unit wholly inside the stream's window is taken from it directly: this runs
// once per character of every scan of the text base.
inline bool NextWideUnit(TKmfData& f, wchar_t& u)
{
  if (f.CurrentPos + 1 < f.CountDataBufer) {
    const unsigned char* p = f.BuferDataFile + f.CurrentPos;
    u = wchar_t(p[0] | (p[1] << 8));
    f.CurrentPos += 2;
    return true;
  }
  if (f.EndOfFile()) return false;
  char16_t v = 0;
  f.Read(v);
  u = v;
  return true;
}

// One step of the wide-text filter: takes the next characters of the stream and hands put
// what they come to. A run of control characters (1-26) is one blank; a "//" comment with its
// line end is one blank (a CR takes the character after it along); a 0 is a blank and the 0.
// Adds nothing at the end of the stream. Shared by the tokeniser and the text base's scanner.
// lineEnd is called for each line end the blanks stand for (a LF, a CR not followed by one, a
// comment's end), so that a reader that wants to can tell the lines apart the blanks merge.
struct TNoLineEnds
{
  void operator()() const {}
};
template <class Put, class LineEnd = TNoLineEnds>
inline void FilterWideText(TKmfData& f, Put&& put, LineEnd&& lineEnd = LineEnd())
{
  wchar_t c;
  if (!NextWideUnit(f, c)) return;
  if (c >= 1 && c <= 26) {
    put(L' ');
    wchar_t was;
    do {
      was = c;
      if (!NextWideUnit(f, c)) {
        if (was == 10 || was == 13) lineEnd();
        return;
      }
      if (was == 10 || (was == 13 && c != 10)) lineEnd();
    } while (c >= 1 && c <= 26);
    if (c != L'/') {
      put(c);
      return;
    }
  }
  if (c == L'/') {
    wchar_t n;
    if (!NextWideUnit(f, n)) {
      put(c);
      return;
    }
    if (n != L'/') {
      put(c);
      put(n);
      return;
    }
    wchar_t d;
    bool ended = false;
    while (!ended && NextWideUnit(f, d) && d != 0) {
      ended = d == 10 || d == 13;
      if (d == 13) NextWideUnit(f, d);
    }
    if (ended) lineEnd();
    put(L' ');
    return;
  }
  if (c == 0) {
    put(L' ');
    put(L'\0');
    return;
  }
  put(c);
}

class TWideTextFile
{
public:
  static constexpr Integer SizeRing = 1000;

  TWideTextFile();
  ~TWideTextFile();
  TWideTextFile(const TWideTextFile&) = delete;
  TWideTextFile& operator=(const TWideTextFile&) = delete;

  // Opens path + name once per object (path ends with its separator); later calls only
  // store the names and answer the first result.
  bool Init(const TString& path, const TString& name);
  bool IsActive() const { return Active; }

  void SetEmptyBufer() { PosBufer = CountBufer; }
  bool EmptyBufer() const { return PosBufer == CountBufer; }
  void PutWCharInBufer(wchar_t c)
  {
    Bufer[CountBufer] = c;
    if (++CountBufer == SizeRing) CountBufer = 0;
  }
  // Runs the filter over the next characters of the stream; appends nothing at its end.
  void ReadInBufer();
  wchar_t NextWChar()
  {
    if (EmptyBufer()) ReadInBufer();
    return EmptyBufer() ? wchar_t(0) : Bufer[PosBufer];
  }
  wchar_t GetWChar()
  {
    if (EmptyBufer()) ReadInBufer();
    if (EmptyBufer()) return 0;
    wchar_t c = Bufer[PosBufer];
    if (++PosBufer == SizeRing) PosBufer = 0;
    return c;
  }
  // Nothing is pending and the stream has no more characters.
  bool EndOfData()
  {
    NextWChar();
    return EmptyBufer();
  }

  void Skip(wchar_t c);
  void SkipTo(wchar_t c);
  TString StrTo(wchar_t c);
  static bool IsDelimiter(wchar_t c) { return c == L' ' || c == L',' || c == L';'; }
  void SkipDelimiter();
  void SkipDelimiter(wchar_t c);
  TString SkipDelimiterStrToDelimiter();
  TString GetStr();
  int GetInt();
  double GetReal();

  // The same operations for UTF-16 units and for 8-bit (code-page) characters.
  void Skip(char16_t c) { Skip(wchar_t(c)); }
  void Skip(char c) { Skip(TString::CharToUniCode(c)); }
  void SkipTo(char16_t c) { SkipTo(wchar_t(c)); }
  void SkipTo(char c) { SkipTo(TString::CharToUniCode(c)); }
  TString StrTo(char16_t c) { return StrTo(wchar_t(c)); }
  TString StrTo(char c) { return StrTo(TString::CharToUniCode(c)); }
  void SkipDelimiter(char16_t c) { SkipDelimiter(wchar_t(c)); }
  void SkipDelimiter(char c) { SkipDelimiter(TString::CharToUniCode(c)); }
  static bool IsDelimiter(char16_t c) { return IsDelimiter(wchar_t(c)); }
  static bool IsDelimiter(char c) { return IsDelimiter(TString::CharToUniCode(c)); }
  void PutWCharInBufer(char16_t c) { PutWCharInBufer(wchar_t(c)); }

  // Fields, in their documented order.
  TString NameTextBase;
  TString ExecutePath;
  TKmfData FB;
  bool Active = false;
  bool Activate = false;
  wchar_t Bufer[SizeRing]; // one UTF-16 unit per slot
  Integer CountBufer = 0;  // next slot to fill
  Integer PosBufer = 0;    // next slot to read

protected:
  // Reports a missing or unusable file.
  void ReportOpenFailure(const TString& fullName) const;
};

// The 8-bit reader is itself the stream. Bytes 128-255 count as control characters and
// become blanks: it reads 7-bit text.
class TCTextFile : public TKmfData
{
public:
  static constexpr Integer SizeRing = 65536;

  TCTextFile();
  ~TCTextFile();

  bool Init(const TString& path, const TString& name);
  bool IsActive() const { return Active; }

  void SetEmptyBufer() { PosBufer = CountBufer; }
  bool EmptyBufer() const { return PosBufer == CountBufer; }
  void PutCharInBufer(char c)
  {
    Bufer[CountBufer] = c;
    if (++CountBufer == SizeRing) CountBufer = 0;
  }
  void ReadInBufer();
  char NextChar()
  {
    if (EmptyBufer()) ReadInBufer();
    return EmptyBufer() ? char(0) : Bufer[PosBufer];
  }
  char GetChar()
  {
    if (EmptyBufer()) ReadInBufer();
    if (EmptyBufer()) return 0;
    char c = Bufer[PosBufer];
    if (++PosBufer == SizeRing) PosBufer = 0;
    return c;
  }
  bool EndOfData()
  {
    NextChar();
    return EmptyBufer();
  }

  void Skip(char c);
  void SkipTo(char c);
  TString StrTo(char c);
  static bool IsDelimiter(char c) { return c == ' ' || c == ',' || c == ';'; }
  void SkipDelimiter();
  void SkipDelimiter(char c);
  TString SkipDelimiterStrToDelimiter();
  TString GetStr();
  int GetInt();
  double GetReal();

  using TKmfData::operator<<;
  // Writes the 8-bit text as it is.
  TCTextFile& operator<<(const TString& s);

  // Fields after the stream, in their documented order.
  TString NameTextBase;
  TString ExecutePath;
  bool Active = false;
  bool Activate = false;
  char Bufer[SizeRing];
  Integer CountBufer = 0;
  Integer PosBufer = 0;
};
