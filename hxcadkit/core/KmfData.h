#pragma once
// TKmfData: the system's binary stream. Values travel as raw little-endian bytes without
// padding; a stream may start with a 256-byte header carrying the magic and the format
// version that readers of older data consult. It runs on a file (the buffer is a
// write-behind or read-ahead window) or in memory (the buffer is the whole data).
#include <array>
#include <bit>
#include <concepts>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <type_traits>
#include <vector>

#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/Types.h"

static_assert(std::endian::native == std::endian::little, "the stream form is little-endian");

constexpr Integer KmfHeadMagic = 0x017EDEDD;
constexpr Integer KmfVersion = 0x61;
constexpr UInteger KmfBuferSize = 0x1000000; // 16 MiB: the file window and the memory-stream limit
constexpr UInteger KmfHeaderSize = 256;

union TFileHeader {
  struct
  {
    Integer Head;
    Integer Version;
    Integer Type;
  };
  unsigned char Reserved[KmfHeaderSize];
};
static_assert(sizeof(TFileHeader) == KmfHeaderSize);

class TKmfData;

// A sized byte block, owned or borrowed (Attached), streamed as int32 Size and the bytes.
class TMemory
{
public:
  TMemory() = default;
  explicit TMemory(int size);
  TMemory(const unsigned char* p, int size); // copies the bytes
  TMemory(const TMemory& m);
  TMemory& operator=(const TMemory& m);
  virtual ~TMemory();

  bool Valid() const { return Pointer != nullptr && Size > 0; }
  void Attach(unsigned char* p, int size); // borrows p; never freed by the block
  unsigned char* Detach();                 // lets go of the bytes without freeing them
  void Free();
  bool New();         // a fresh zeroed buffer of the current Size
  bool New(int size); // a fresh zeroed buffer of size bytes
  bool operator==(const TMemory& m) const;
  bool operator!=(const TMemory& m) const { return !(*this == m); }
  bool ReallocSafe(int size); // resizes keeping the common bytes; new bytes are zero
  unsigned char& operator[](int i) { return Pointer[i]; }
  unsigned char operator[](int i) const { return Pointer[i]; }
  operator unsigned char*() const { return Pointer; }
  TMemory& operator=(const std::vector<unsigned char>& v);
  void to(std::vector<unsigned char>& v) const;
  void from(const std::vector<unsigned char>& v) { *this = v; }
  void toStream(TKmfData& S) const;
  bool fromStream(TKmfData& S); // false (and an empty block) on a bad size
  bool toFile(const TString& path) const;
  bool fromFile(const TString& path);
  void MemSet(unsigned char value = 0);
  bool toTextFile(const TString& path) const;

  Integer Size = 0;
  unsigned char* Pointer = nullptr;
  bool Attached = false;
};

class TKmfData
{
public:
  TKmfData();
  ~TKmfData();
  TKmfData(const TKmfData&) = delete;
  TKmfData& operator=(const TKmfData&) = delete;

  // Lifecycle and modes.
  bool MakeForWrite(const TString& path, bool raw = false);
  bool MakeForRead(const TString& path, bool raw = false);
  // Closes the file (flushing a write stream). False when a write or the close failed;
  // callers that do not care may ignore the result.
  bool Close();
  int Version() const { return FileHeader.Version; }
  // Positions: in a file, byte offsets of the file (the header included); in memory, offsets
  // from the first data byte, and Length is the number of data bytes.
  void Seek(unsigned offset);
  bool IOResult() const { return Result == 0; }
  int Length();
  bool EndOfFile();
  int SizeData() const { return int(KmfHeaderSize + CountDataBufer); }
  void to(std::vector<unsigned char>& v) const;
  // Memory streams hold at most 16 MiB of data: a larger input is refused and the stream
  // stays as it was (result false). An empty input also leaves it unchanged.
  bool from(const std::vector<unsigned char>& v);
  bool fromMemory(const unsigned char* p, int n);
  int toMemory(unsigned char* p, int n) const; // bytes copied
  void Attach(TMemory& m) { fromMemory(m.Pointer, m.Size); }
  unsigned GetPos() const;
  void SetPos(unsigned pos);
  bool Active() const { return DataFile != nullptr; }
  // Bytes left to read (the file's rest in file mode); readers check counts against it.
  std::int64_t Remaining();
  bool WriteError() const { return ErrorWriteToFile; }

  // Writing. A value that fits the window already taken is copied here; the rest (growing
  // the window, flushing it, memory overflow, a read stream) goes out of line.
  void BlockWrite(const void* p, unsigned int n)
  {
    const unsigned char* src = static_cast<const unsigned char*>(p);
    if (src && n != 0 && Mode != TMode::Read && n <= Capacity - CountDataBufer && CountDataBufer + n < KmfBuferSize) {
      std::memcpy(BuferDataFile + CountDataBufer, src, n);
      CountDataBufer += n;
      return;
    }
    BlockWriteSlow(src, n);
  }
  void Write(const unsigned char* p, unsigned int n) { BlockWrite(p, n); }
  void Write(const int& v) { BlockWrite(&v, 4); }
  void Write(const unsigned& v) { BlockWrite(&v, 4); }
  void Write(const double& v) { BlockWrite(&v, 8); }
  void Write(unsigned char v) { BlockWrite(&v, 1); }
  void Write(const char& v) { BlockWrite(&v, 1); }
  void Write(const char16_t& v) { BlockWrite(&v, 2); }
  // Exactly bool: a pointer must not quietly turn into a one-byte truth value.
  template <std::same_as<bool> B> void Write(const B& v) { WriteByte(v ? 1 : 0); }
  void Write(const TString& s);
  void Write(const std::vector<unsigned char>& v);
  void WriteByte(unsigned char v) { BlockWrite(&v, 1); }
  // A null-terminated list of pointers, each value written in list order.
  template <class... P> void AWrite(const double* first, P... rest) { AWriteList(first, rest...); }
  template <class... P> void AWrite(const int* first, P... rest) { AWriteList(first, rest...); }
  template <class... P> void AWrite(const unsigned* first, P... rest) { AWriteList(first, rest...); }
  void WriteText(const TString& s);
  void WriteText(const TString& s, int width);
  void WriteTextLn(const TString& s);
  void WriteTextLn(const TString& s, int width);
  bool WriteBuferToFile();

  // Reading. Past the end every value reads as zeros and ErrorReadFromFileToBufer is set.
  // As in writing, only a value wholly inside the window is read here.
  unsigned BlockRead(void* p, unsigned int n)
  {
    unsigned char* dst = static_cast<unsigned char*>(p);
    if (dst && n != 0 && CurrentPos <= CountDataBufer && n <= CountDataBufer - CurrentPos) {
      std::memcpy(dst, BuferDataFile + CurrentPos, n);
      CurrentPos += n;
      return n;
    }
    return BlockReadSlow(dst, n);
  }
  unsigned Read(unsigned char* p, unsigned int n) { return BlockRead(p, n); }
  void Read(int& v) { ReadValue(v); }
  void Read(unsigned& v) { ReadValue(v); }
  void Read(double& v) { ReadValue(v); }
  void Read(char16_t& v) { ReadValue(v); }
  void Read(char& v) { ReadValue(v); }
  void Read(unsigned char& v) { ReadValue(v); }
  void Read(bool& v) { v = ReadByte() != 0; }
  // Counts and lengths are checked against the bytes left: a bad one gives an empty
  // result, sets ErrorReadFromFileToBufer and skips the rest of the stream.
  void Read(std::vector<unsigned char>& v);
  void Read(TString& s);
  template <class... P> void ARead(double* first, P... rest) { AReadList(first, rest...); }
  template <class... P> void ARead(int* first, P... rest) { AReadList(first, rest...); }
  template <class... P> void ARead(unsigned* first, P... rest) { AReadList(first, rest...); }
  unsigned char ReadByte()
  {
    unsigned char b;
    ReadValue(b);
    return b;
  }
  int ReadInteger()
  {
    int v;
    ReadValue(v);
    return v;
  }
  double ReadReal()
  {
    double v;
    ReadValue(v);
    return v;
  }
  bool ReadBoolean() { return ReadByte() != 0; }
  void SkipInteger() { ReadInteger(); }
  void SkipReal() { ReadReal(); }
  void SkipBoolean() { ReadByte(); }
  void SkipIntegerIf(bool flag)
  {
    if (flag) SkipInteger();
  }
  void SkipRealIf(bool flag)
  {
    if (flag) SkipReal();
  }
  void SkipBooleanif(bool flag)
  {
    if (flag) SkipBoolean();
  }
  unsigned char NextByte(); // 0 at the end
  void PutLastByteInBufer();
  bool ReadFromFileToBufer();

  // Text scanning of 8-bit data. Every scanner stops at the end of the data.
  char NextChar();
  bool SkipTo(char c);
  bool SkipToVKPS();
  void Skip(char c);
  void SkipAndVKPS(char c);
  bool StrTo(char c, TString& s);
  bool StrToOrVKPS(char c, TString& s);

  // Text scanning of wide data (4-byte little-endian units).
  bool SkipTo(const wchar_t& c);
  bool StrTo(const wchar_t& c, TString& s);
  bool StrToOrVKPS(const wchar_t& c, TString& s);
  bool FindStr(const TString& pattern);

  // Stream operators.
  TKmfData& operator<<(const int& v)
  {
    Write(v);
    return *this;
  }
  TKmfData& operator<<(const int* v)
  {
    Write(*v);
    return *this;
  }
  TKmfData& operator<<(const unsigned& v)
  {
    Write(v);
    return *this;
  }
  TKmfData& operator<<(const double& v)
  {
    Write(v);
    return *this;
  }
  TKmfData& operator<<(unsigned char v)
  {
    Write(v);
    return *this;
  }
  template <std::same_as<bool> B> TKmfData& operator<<(const B& v)
  {
    Write(v);
    return *this;
  }
  TKmfData& operator<<(const wchar_t& v)
  {
    BlockWrite(&v, 4);
    return *this;
  }
  TKmfData& operator<<(wchar_t* const& s); // code units without a length or terminator
  TKmfData& operator<<(const TMemory& m)
  {
    m.toStream(*this);
    return *this;
  }
  TKmfData& operator<<(const std::vector<unsigned char>& v)
  {
    Write(v);
    return *this;
  }
  TKmfData& operator>>(int& v)
  {
    Read(v);
    return *this;
  }
  TKmfData& operator>>(int* v)
  {
    Read(*v);
    return *this;
  }
  TKmfData& operator>>(unsigned& v)
  {
    Read(v);
    return *this;
  }
  TKmfData& operator>>(double& v)
  {
    Read(v);
    return *this;
  }
  TKmfData& operator>>(unsigned char& v)
  {
    Read(v);
    return *this;
  }
  TKmfData& operator>>(bool& v)
  {
    Read(v);
    return *this;
  }
  TKmfData& operator>>(wchar_t& v)
  {
    ReadValue(v);
    return *this;
  }
  TKmfData& operator>>(TMemory& m)
  {
    m.fromStream(*this);
    return *this;
  }
  TKmfData& operator>>(std::vector<unsigned char>& v)
  {
    Read(v);
    return *this;
  }

  // Fields, in their documented order.
  TFileHeader FileHeader;
  char* NameDataFile = nullptr;
  std::FILE* DataFile = nullptr;
  unsigned char* BuferDataFile = nullptr;
  UInteger CountDataBufer = 0; // valid bytes in the buffer
  UInteger CurrentPos = 0;     // next byte to read in the buffer
  UInteger Result = 0;         // result of the last Seek
  bool ErrorReadFromFileToBufer = false;
  bool ErrorWriteToFile = false; // a write, flush or close failed (or memory overflowed)

private:
  enum class TMode : unsigned char { Memory, Write, Read };
  TMode Mode = TMode::Memory;
  UInteger Capacity = 0;      // allocated bytes of BuferDataFile, grown on demand up to 16 MiB
  std::int64_t FileSize = 0;  // size of the file being read, taken when it is opened
  std::int64_t FileAfter = 0; // file offset just past the bytes in the buffer

  friend class TMemory;

  bool Reserve(UInteger n);
  // The paths of BlockWrite and BlockRead that are not a plain copy within the window.
  void BlockWriteSlow(const unsigned char* from, unsigned int count);
  unsigned BlockReadSlow(unsigned char* to, unsigned int count);
  bool Refill();
  bool GetByte(unsigned char& b);
  bool GetUnit(wchar_t& u);
  void SkipToEnd();
  bool ReadCount(int& n);
  void ResetHeader();
  bool Load(const unsigned char* p, std::size_t n);

  template <class T> void ReadValue(T& v)
  {
    static_assert(std::is_trivially_copyable_v<T>);
    if (CurrentPos <= CountDataBufer && sizeof(T) <= CountDataBufer - CurrentPos) {
      std::memcpy(&v, BuferDataFile + CurrentPos, sizeof(T));
      CurrentPos += UInteger(sizeof(T));
      return;
    }
    unsigned char b[sizeof(T)] = {};
    BlockReadSlow(b, sizeof(T));
    std::memcpy(&v, b, sizeof(T));
  }
  template <class T> void AWriteList(const T* p)
  {
    if (p) Write(*p);
  }
  template <class T, class... P> void AWriteList(const T* p, P... rest)
  {
    if (!p) return;
    Write(*p);
    AWriteList(static_cast<const T*>(rest)...);
  }
  template <class T> void AReadList(T* p)
  {
    if (p) Read(*p);
  }
  template <class T, class... P> void AReadList(T* p, P... rest)
  {
    if (!p) return;
    Read(*p);
    AReadList(static_cast<T*>(rest)...);
  }
};

// 1 when the path names a regular file (or a link to one).
int FileExists(const TString& path);
// Whether anything at all stands at the path (a file, a folder, a pipe, a device).
bool PathExists(const TString& path);
bool DeleteFile(const TString& path);

// Small services beside the stream: file-name arithmetic on '/'-separated paths, the
// CRC-32 and Adler-32 checksums, and a packing of any byte block into a form with no zero
// byte before its end, so that binary data can travel where only zero-terminated text may.

// A file name held as text; its operations read the 8-bit text, '/' being the separator.
class TFileName : public TString
{
public:
  static constexpr char Separator = '/';

  TFileName() = default;
  TFileName(const TString& s) : TString(s) {}
  TFileName(const char* s) : TString(s) {}

  // The text after the last separator; the whole text when there is none.
  TString Name() const;
  // The text up to and including the (up + 1)-th separator from the end: Path(0) is the
  // directory with its separator, Path(1) its parent. The whole text without separators;
  // empty when there are fewer than up + 1.
  TString Path(int up) const;
  // The number of separators at 0-based positions from `from` on.
  int CountDirectotyDn(int from) const;
  // This name, which lies under oldBase, moved under newBase.
  TString Relative(const TFileName& newBase, const TFileName& oldBase) const;
  bool FileExists() const;
  // Removes the file named by this name (the argument is not used); true on success.
  bool DeleteFile(const TString& unused = EmptyStr) const;
};

// CRC-32 (the zip and PNG checksum) and Adler-32 (RFC 1950), both continued from a
// previous value so that a message may be checked in pieces.
class TCrc
{
public:
  // Fills crc_table for the reflected polynomial 0xEDB88320. The table is also ready
  // before any call, so crc32 never runs on an empty table.
  static void generate_crc32_table();
  // A whole message starts from 0; len 0 (or no buffer) gives crc back.
  static unsigned crc32(unsigned crc, const unsigned char* buf, unsigned long len);
  // A whole message starts from 1; len 0 (or no buffer) gives adler back.
  static unsigned adler32(unsigned adler, const unsigned char* buf, unsigned long len);

  static std::array<std::uint32_t, 256> crc_table;
};

// The packed form: FF FF, then blocks in source order (01 n: n zero bytes; 02 n and n
// non-zero bytes), then 00. Every count is 1..255, so the only zero byte is the last.
class TPseudoString : public TMemory
{
public:
  enum TTypeBlock : std::uint8_t { tEnd = 0, tZero = 1, tData = 2, tStart = 255 };

  struct TBlock
  {
    TTypeBlock Type;
    std::uint8_t Count;
    void Set(TTypeBlock type, std::uint8_t count)
    {
      Type = type;
      Count = count;
    }
  };

  using TMemory::operator=;

  // Packs src into this block.
  void Get(const TMemory& src);
  // Unpacks this block into dst. A form that does not start with FF FF leaves dst as it
  // was; a truncated or damaged form yields the bytes its intact blocks describe.
  void Set(TMemory& dst) const;
};
static_assert(sizeof(TPseudoString::TBlock) == 2);
