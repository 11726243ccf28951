#pragma once
// TString: the framework's one text type. The master text is Windows-1251, always
// null-terminated; UTF-8 (the form of the literals in our sources) and UTF-32 wide text
// (the host's form) are converted at the edges.
#include <cstdint>
#include <string>

#include "hxcadkit/core/Types.h"

class TKmfData;

// Code points of the bytes 0x80..0xFF of Windows-1251 (0x98, undefined there, maps to U+0098).
extern const std::uint32_t RusUnicode[128];
// The characters a number text may hold; everything else is blanked before parsing.
extern const char DigitsChar[];

class TString
{
public:
  TString();
  TString(const char* s);    // UTF-8 text, as literals are written in the sources
  TString(const char8_t* s); // UTF-8 text (u8"" literals)
  TString(const std::wstring& s);
  // A name of the file system from the host's wide text (a folder, a file): s in the code page, and,
  // where it lacks some of s's letters, s itself beside it (see Exact).
  static TString Exactly(const std::wstring& s);
  TString(int D);
  TString(int D, int CountDigits);          // zero-padded to CountDigits, "-05" for (-5, 3)
  TString(unsigned int D, int CountDigits); // the same, printed as unsigned
  // C decimals, space-padded to width; a decimal comma unless Dot.
  TString(double D, int C = 2, bool Dot = false, int width = 0);
  TString(const TString& s);
  TString(TString&& s) noexcept;
  ~TString();

  TString& operator=(const TString& s);
  TString& operator=(TString&& s) noexcept;
  TString& operator=(const char* s); // UTF-8 text, like the constructor
  TString& operator=(char c);
  TString& operator=(const std::wstring& s);

  // Setting and editing.
  void Set(const char* s);                      // 8-bit (code-page) text, copied unchanged
  void Set(const unsigned char* p, unsigned n); // exactly n bytes
  void Set(const wchar_t* s);                   // '?' for characters the code page lacks
  void SetUtf8(const char8_t* s);               // '?' for characters the code page lacks
  void SetSize(int n);
  void Add(const char* s); // 8-bit text
  void Add(char c);
  void Insert(int pos, const char* s);
  void Insert(int pos, char c);
  void Remove(int pos, int n);
  void RePlace(char a, char b);
  void RePlaceSet(const char* set, int n, bool flag, char c);
  void DeleteBlankFromEnd();
  void EvaluateLength();
  void Swap(TString& s);
  char* Duplicate() const; // new[]-allocated copy of the master text; the caller delete[]s it

  // Reading. Find and RFind answer 1-based positions (0: not found); every other position
  // argument is 0-based.
  TString SubStr(int pos, int n) const;
  int Find(char c) const;
  int RFind(char c) const;
  int Find(char c, int from) const;
  int RFind(char c, int from) const;
  int Find(const TString& s) const;
  int RFind(const TString& s) const;
  static int Find(const TString& text, const TString& s) { return text.Find(s); }
  static int RFind(const TString& text, const TString& s) { return text.RFind(s); }
  int Common(const TString& other, int from) const;
  bool operator==(const TString& s) const;
  bool operator!=(const TString& s) const { return !(*this == s); }
  bool operator<(const TString& s) const;

  // Wide text in the string's own cache, valid until the string next changes.
  const wchar_t* toWideChar() const;
  // The same conversion into dst, which holds Length() + 1 wide characters.
  void toWideChar(wchar_t* dst) const;
  // The text as UTF-8 (the form file-system paths and the host's logs take).
  std::string Utf8Text() const;

  static int Length(const wchar_t*& s);
  static wchar_t CharToUniCode(char c);
  static char16_t CharToUniCode16(char c);
  static char UniCodeToChar(wchar_t c); // 0 when the code page lacks the character
  static char UniCode16ToChar(char16_t c);
  // UTF-8 to 8-bit into dst (null dst only counts); returns the bytes produced.
  static int fromUTF8(const char8_t* src, char* dst);
  // 8-bit to UTF-8 into dst (null dst only counts); dst needs 3 bytes per source byte + 1.
  static int toUTF8(const char* src, char8_t* dst);

  bool IsNumeric() const;
  double toReal() const;
  int toInteger() const;

  // Angle text in degrees, minutes and seconds; flag selects the host's degree code "@1~".
  void DegreesAngle(const double& a, bool flag);
  bool toDegreesAngle(double& a) const;

  void toStream(TKmfData& S) const;
  void fromStream(TKmfData& S);

  // Small accessors.
  char& operator[](int i)
  {
    if (Exact) DropExact();
    return Bufer[i];
  }
  char operator[](int i) const { return Bufer[i]; }
  char At(int i) const { return IndexValid(i) ? Bufer[i] : 0; }
  const char* PChar() const { return Bufer ? Bufer : ""; }
  char* toPChar(); // writable master text (never null); forgets the exact characters
  int Length() const { return Len; }
  int LengthBufer() const { return SizeBufer; }
  // Len = n, growing the buffer when needed; bytes past the old length are those already in
  // the buffer (zeros in fresh space). Used after writing into toPChar().
  void SetLength(int n);
  bool Empty() const { return Len == 0; }
  void Clear();
  int SizeOf() const { return Len + 5; } // bytes of the stream form
  bool IndexValid(int i) const { return i >= 0 && i < Len; }
  explicit operator double() const { return toReal(); }
  explicit operator int() const { return toInteger(); }
  TString& operator+=(const TString& s);
  TString& operator+=(const char* s); // UTF-8 text, like the constructor (Add takes 8-bit text)
  TString& operator+=(char c)
  {
    Add(c);
    return *this;
  }

  // Fields, in their documented order.
  mutable char* BufUtf8 = nullptr; // UTF-8 cache of the last SetUtf8 text
  char* Bufer = nullptr;           // master text, Windows-1251
  Integer Len = 0;
  Integer SizeBufer = 0;
  mutable wchar_t* WideStr = nullptr; // wide cache of toWideChar()
  mutable Integer SizeWideBufer = 0;
  // The exact characters, one per byte of the master text, when it stands '?' for some the code
  // page lacks: a folder or file name made by Exactly ("Café", "数据") keeps them through copies,
  // concatenation and SubStr, so that it reaches the file system, the host and messages as it
  // was named. Any other change forgets them (the text is then what its bytes say). Null for
  // every other text, and for every text the code page holds whole.
  std::wstring* Exact = nullptr;
  // Whether the text stands for characters the code page lacks.
  bool Lossy() const { return Exact != nullptr; }

  // An empty string that owns no buffers yet and can be constant-initialised (EmptyStr).
  // Every operation treats missing buffers as the empty text.
  struct TNoBuffer
  {
  };
  constexpr explicit TString(TNoBuffer) {}

private:
  void DropExact();
  void SetExact(std::wstring exact);
  std::wstring WideText() const;
  void Grow(int n);
  void InitDefault();
  void SetBytes(const char* p, int n);
};

TString operator+(const TString& a, const TString& b);

TKmfData& operator<<(TKmfData& S, const TString& s);
TKmfData& operator>>(TKmfData& S, TString& s);

extern const TString EmptyStr;

// Paths reach the file system as UTF-8. The host hands them over as wide text, and the standard
// library converts a wide path through the process's locale, which nothing here sets: in the "C"
// locale a folder with a Cyrillic name cannot be converted at all. These convert through UTF-8
// whatever the locale; what is no character (a surrogate, a value past U+10FFFF, a byte that
// is no UTF-8) becomes U+FFFD.
std::string WideToUtf8(const std::wstring& s);
std::wstring Utf8ToWide(const std::string& s);
