#include "hxcadkit/core/KmfData.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>
#include <new>
#include <string>
#include <sys/stat.h>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include "hxcadkit/core/Messager.h"
#include "hxcadkit/core/TDebug.h"

namespace {

constexpr UInteger kMinWindow = 4096;

// errno of an open refused because the name is no regular file (a folder, a pipe, a device).
constexpr int kNotRegularFile = -1;

// Opens a regular file for reading ("rb") or writing ("wb", emptied); anything else is refused with
// errno kNotRegularFile before a byte moves: a pipe would block the open or the reads for ever, a
// device would never end. File names reach the file system as UTF-8, whatever the code page of the
// text.
std::FILE* OpenFile(const TString& path, const char* mode)
{
  const bool write = mode[0] == 'w';
  const int fd = ::open(path.Utf8Text().c_str(),
                        (write ? O_WRONLY | O_CREAT : O_RDONLY) | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0666);
  if (fd < 0) return nullptr;
  struct stat st;
  int e = 0;
  if (::fstat(fd, &st) != 0)
    e = errno;
  else if (!S_ISREG(st.st_mode))
    e = kNotRegularFile;
  else if (::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0 ||
           (write && ::ftruncate(fd, 0) != 0))
    e = errno;
  std::FILE* f = e == 0 ? ::fdopen(fd, mode) : nullptr;
  if (f == nullptr) {
    if (e == 0) e = errno;
    ::close(fd);
    errno = e;
  }
  return f;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Lifecycle

TKmfData::TKmfData()
{
  ResetHeader();
}

TKmfData::~TKmfData()
{
  Close();
  delete[] BuferDataFile;
  BuferDataFile = nullptr;
}

void TKmfData::ResetHeader()
{
  // Header bytes past the version are zero in every header we write.
  std::memset(FileHeader.Reserved, 0, sizeof FileHeader.Reserved);
  FileHeader.Head = KmfHeadMagic;
  FileHeader.Version = KmfVersion;
}

bool TKmfData::Reserve(UInteger n)
{
  if (n <= Capacity) return true;
  if (n > KmfBuferSize) return false;
  // Most streams carry a few hundred bytes: start small and double up to the 16 MiB window.
  UInteger cap = std::max<UInteger>(Capacity ? Capacity : 256, 256);
  while (cap < n)
    cap = std::min<UInteger>(cap * 2, KmfBuferSize);
  unsigned char* nb = new unsigned char[cap];
  if (BuferDataFile && CountDataBufer) std::memcpy(nb, BuferDataFile, CountDataBufer);
  delete[] BuferDataFile;
  BuferDataFile = nb;
  Capacity = cap;
  return true;
}

bool TKmfData::MakeForWrite(const TString& path, bool raw)
{
  Close();
  CountDataBufer = CurrentPos = 0;
  ErrorReadFromFileToBufer = ErrorWriteToFile = false;
  DataFile = OpenFile(path, "wb");
  if (!DataFile) return false;
  Mode = TMode::Write;
  FileAfter = 0;
  if (!raw) {
    ResetHeader();
    BlockWrite(FileHeader.Reserved, KmfHeaderSize);
    WriteBuferToFile();
  }
  return true;
}

bool TKmfData::MakeForRead(const TString& path, bool raw)
{
  Close();
  DataFile = OpenFile(path, "rb");
  if (!DataFile) {
    int err = errno;
    TString text("Ошибка открытия файла ");
    text += path;
    if (err == kNotRegularFile)
      text += TString(": это не файл");
    else
      text += TString(" ") + TString(err) + TString(" ") + TString(std::strerror(err));
    if (Messager) Messager->LiftBox(text, TMessager::toAlways);
    return false;
  }
  Mode = TMode::Read;
  CountDataBufer = CurrentPos = 0;
  ErrorReadFromFileToBufer = ErrorWriteToFile = false;
  struct stat st;
  FileSize = fstat(fileno(DataFile), &st) == 0 ? std::int64_t(st.st_size) : 0;
  FileAfter = 0;
  ResetHeader();
  if (raw) return true;
  std::memset(FileHeader.Reserved, 0, sizeof FileHeader.Reserved);
  FileAfter = std::int64_t(std::fread(FileHeader.Reserved, 1, KmfHeaderSize, DataFile));
  if (FileHeader.Head == KmfHeadMagic) return true;
  std::fclose(DataFile);
  DataFile = nullptr;
  Mode = TMode::Memory;
  ResetHeader();
  return false;
}

bool TKmfData::Close()
{
  if (DataFile) {
    if (Mode == TMode::Write) WriteBuferToFile();
    if (std::fclose(DataFile) != 0 && Mode == TMode::Write) ErrorWriteToFile = true;
    DataFile = nullptr;
    Mode = TMode::Memory;
    CountDataBufer = CurrentPos = 0;
  }
  return !ErrorWriteToFile;
}

void TKmfData::Seek(unsigned offset)
{
  if (!DataFile) {
    // In memory the offset counts from the first data byte; the data stay where they are.
    Result = offset <= CountDataBufer ? 0 : 1;
    CurrentPos = std::min<UInteger>(offset, CountDataBufer);
    return;
  }
  if (Mode == TMode::Write) WriteBuferToFile(); // never drop what was written
  Result = std::fseek(DataFile, long(offset), SEEK_SET) == 0 ? 0 : UInteger(-1);
  CountDataBufer = CurrentPos = 0;
  FileAfter = offset;
}

int TKmfData::Length()
{
  if (!DataFile) return int(CountDataBufer);
  if (Mode == TMode::Write) std::fflush(DataFile);
  struct stat st;
  if (fstat(fileno(DataFile), &st) != 0) return 0;
  return int(std::min<std::int64_t>(st.st_size, INT_MAX));
}

unsigned TKmfData::GetPos() const
{
  if (!DataFile) return CurrentPos;
  if (Mode == TMode::Write) return unsigned(FileAfter + CountDataBufer);
  return unsigned(FileAfter - std::int64_t(CountDataBufer - CurrentPos));
}

void TKmfData::SetPos(unsigned pos)
{
  Seek(pos);
}

std::int64_t TKmfData::Remaining()
{
  std::int64_t inBuffer = std::int64_t(CountDataBufer) - std::int64_t(CurrentPos);
  if (inBuffer < 0) inBuffer = 0;
  if (Mode != TMode::Read) return Mode == TMode::Memory ? inBuffer : 0;
  return inBuffer + std::max<std::int64_t>(0, FileSize - FileAfter);
}

void TKmfData::SkipToEnd()
{
  if (Mode == TMode::Read && DataFile) {
    std::fseek(DataFile, 0, SEEK_END);
    FileAfter = FileSize;
    CountDataBufer = CurrentPos = 0;
  } else {
    CurrentPos = CountDataBufer;
  }
}

bool TKmfData::EndOfFile()
{
  if (CurrentPos < CountDataBufer) return false;
  return !Refill();
}

// ---------------------------------------------------------------------------------------------
// Memory streams

void TKmfData::to(std::vector<unsigned char>& v) const
{
  v.resize(KmfHeaderSize + CountDataBufer);
  std::memcpy(v.data(), FileHeader.Reserved, KmfHeaderSize);
  if (CountDataBufer) std::memcpy(v.data() + KmfHeaderSize, BuferDataFile, CountDataBufer);
}

bool TKmfData::from(const std::vector<unsigned char>& v)
{
  return Load(v.data(), v.size());
}

bool TKmfData::fromMemory(const unsigned char* p, int n)
{
  return n > 0 && Load(p, std::size_t(n));
}

bool TKmfData::Load(const unsigned char* p, std::size_t n)
{
  if (!p || n == 0 || n > std::size_t(KmfBuferSize) + KmfHeaderSize) return false;
  TFileHeader h;
  std::memset(h.Reserved, 0, sizeof h.Reserved);
  std::memcpy(h.Reserved, p, std::min<std::size_t>(n, KmfHeaderSize));
  std::size_t start = KmfHeaderSize;
  if (n < KmfHeaderSize || h.Head != KmfHeadMagic || h.Version < 4) {
    // No usable header: every byte is data, read as version 0 unless an old header says otherwise.
    start = 0;
    if (n < KmfHeaderSize || h.Head != KmfHeadMagic) {
      h.Head = KmfHeadMagic;
      h.Version = 0;
    }
    std::memset(h.Reserved + 8, 0, KmfHeaderSize - 8);
  }
  std::size_t count = n - start;
  if (count > KmfBuferSize) return false;
  if (DataFile) Close();
  if (!Reserve(UInteger(count))) return false;
  FileHeader = h;
  if (count) std::memcpy(BuferDataFile, p + start, count);
  CountDataBufer = UInteger(count);
  CurrentPos = 0;
  Mode = TMode::Memory;
  ErrorReadFromFileToBufer = ErrorWriteToFile = false;
  return true;
}

int TKmfData::toMemory(unsigned char* p, int n) const
{
  if (!p || n <= 0) return 0;
  int h = std::min<int>(n, int(KmfHeaderSize));
  std::memcpy(p, FileHeader.Reserved, std::size_t(h));
  int d = n > int(KmfHeaderSize) ? std::min<int>(int(CountDataBufer), n - int(KmfHeaderSize)) : 0;
  if (d > 0) std::memcpy(p + KmfHeaderSize, BuferDataFile, std::size_t(d));
  return h + d;
}

// ---------------------------------------------------------------------------------------------
// Writing

void TKmfData::BlockWriteSlow(const unsigned char* from, unsigned int count)
{
  if (!from || count == 0) return;
  switch (Mode) {
  case TMode::Read:
    ErrorWriteToFile = true; // a read stream takes no data
    return;
  case TMode::Memory:
    // The memory stream is its buffer: a value that does not fit whole is dropped.
    if (std::uint64_t(CountDataBufer) + count > KmfBuferSize || !Reserve(CountDataBufer + count)) {
      ErrorWriteToFile = true;
      return;
    }
    std::memcpy(BuferDataFile + CountDataBufer, from, count);
    CountDataBufer += count;
    return;
  case TMode::Write:
    while (count > 0) {
      UInteger chunk = std::min<UInteger>(count, KmfBuferSize - CountDataBufer);
      Reserve(CountDataBufer + chunk);
      std::memcpy(BuferDataFile + CountDataBufer, from, chunk);
      CountDataBufer += chunk;
      from += chunk;
      count -= chunk;
      if (CountDataBufer == KmfBuferSize) WriteBuferToFile();
    }
    return;
  }
}

bool TKmfData::WriteBuferToFile()
{
  if (!DataFile || Mode != TMode::Write) return true;
  bool ok = true;
  if (CountDataBufer) {
    std::size_t w = std::fwrite(BuferDataFile, 1, CountDataBufer, DataFile);
    ok = w == CountDataBufer;
    FileAfter += std::int64_t(w);
  }
  // stdio keeps its own buffer; a full disk shows only when it is flushed.
  if (std::fflush(DataFile) != 0) ok = false;
  if (!ok) ErrorWriteToFile = true;
  CountDataBufer = 0;
  return ok;
}

void TKmfData::Write(const TString& s)
{
  Write(s.Len);
  BlockWrite(s.PChar(), UInteger(s.Len) + 1);
}

void TKmfData::Write(const std::vector<unsigned char>& v)
{
  int n = int(v.size());
  Write(n);
  BlockWrite(v.data(), UInteger(n));
}

void TKmfData::WriteText(const TString& s)
{
  BlockWrite(s.PChar(), UInteger(s.Len));
}

void TKmfData::WriteText(const TString& s, int width)
{
  WriteText(s);
  for (int i = s.Len; i < width; ++i)
    WriteByte(' ');
}

void TKmfData::WriteTextLn(const TString& s)
{
  WriteText(s);
  BlockWrite("\r\n", 2);
}

void TKmfData::WriteTextLn(const TString& s, int width)
{
  WriteText(s, width);
  BlockWrite("\r\n", 2);
}

TKmfData& TKmfData::operator<<(wchar_t* const& s)
{
  if (s) BlockWrite(s, UInteger(std::wcslen(s) * sizeof(wchar_t)));
  return *this;
}

// ---------------------------------------------------------------------------------------------
// Reading

bool TKmfData::Refill()
{
  if (Mode != TMode::Read || !DataFile) return false;
  // Past the end the buffer is kept, so that the last byte can still be put back.
  if (std::feof(DataFile)) return false;
  std::int64_t left = std::max<std::int64_t>(FileSize - FileAfter, 0);
  UInteger window = UInteger(std::clamp<std::int64_t>(left + 1, kMinWindow, KmfBuferSize));
  if (!Reserve(window)) return false;
  std::size_t got = std::fread(BuferDataFile, 1, std::max(window, Capacity), DataFile);
  if (got == 0) return false;
  FileAfter += std::int64_t(got);
  FileSize = std::max(FileSize, FileAfter);
  CountDataBufer = UInteger(got);
  CurrentPos = 0;
  return true;
}

bool TKmfData::ReadFromFileToBufer()
{
  return Refill();
}

unsigned TKmfData::BlockReadSlow(unsigned char* to, unsigned int count)
{
  if (!to || count == 0) return 0;
  unsigned done = 0;
  while (done < count) {
    if (CurrentPos >= CountDataBufer && !Refill()) break;
    UInteger chunk = std::min<UInteger>(count - done, CountDataBufer - CurrentPos);
    std::memcpy(to + done, BuferDataFile + CurrentPos, chunk);
    CurrentPos += chunk;
    done += chunk;
  }
  if (done < count) {
    // Past the end values read as zeros; the flag tells the reader its data ran out.
    std::memset(to + done, 0, count - done);
    ErrorReadFromFileToBufer = true;
  }
  return done;
}

// A stored count of bytes that must follow: a count that is negative, cut short, or larger
// than what remains marks the stream as misread and skips its rest, so that no reader
// allocates from it or goes on reading misaligned values.
bool TKmfData::ReadCount(int& n)
{
  bool before = ErrorReadFromFileToBufer;
  ErrorReadFromFileToBufer = false;
  n = ReadInteger();
  bool cut = ErrorReadFromFileToBufer;
  ErrorReadFromFileToBufer = before || cut;
  if (cut || n < 0 || n > Remaining()) {
    ErrorReadFromFileToBufer = true;
    SkipToEnd();
    return false;
  }
  return true;
}

void TKmfData::Read(std::vector<unsigned char>& v)
{
  int n;
  if (!ReadCount(n)) {
    v.clear();
    return;
  }
  v.resize(std::size_t(n));
  BlockRead(v.data(), UInteger(n));
}

void TKmfData::Read(TString& s)
{
  int n;
  if (!ReadCount(n)) {
    s.Clear();
    return;
  }
  s.SetLength(n);
  BlockRead(s.toPChar(), UInteger(n));
  ReadByte(); // the stored terminator; ours is written below whatever it was
  s.Bufer[n] = 0;
}

unsigned char TKmfData::NextByte()
{
  if (CurrentPos >= CountDataBufer && !Refill()) return 0;
  return BuferDataFile[CurrentPos];
}

void TKmfData::PutLastByteInBufer()
{
  if (CurrentPos > 0) --CurrentPos;
}

bool TKmfData::GetByte(unsigned char& b)
{
  if (CurrentPos >= CountDataBufer && !Refill()) return false;
  b = BuferDataFile[CurrentPos++];
  return true;
}

bool TKmfData::GetUnit(wchar_t& u)
{
  unsigned char b[4] = {};
  if (!GetByte(b[0])) return false;
  // A unit cut short by the end of the data is completed with zero bytes.
  for (int i = 1; i < 4 && GetByte(b[i]); ++i) {
  }
  std::memcpy(&u, b, 4);
  return true;
}

// ---------------------------------------------------------------------------------------------
// Text scanning of 8-bit data. A line break is CR LF, a lone LF or a lone CR: only the LF of
// a CR LF pair goes with the CR, so LF-only text keeps the first byte of its next line.

char TKmfData::NextChar()
{
  if (CurrentPos >= CountDataBufer && !Refill()) return 0;
  char c = char(BuferDataFile[CurrentPos]);
  if (c == 0) ++CurrentPos;
  return c;
}

bool TKmfData::SkipTo(char c)
{
  unsigned char b;
  while (GetByte(b))
    if (char(b) == c) return true;
  return false;
}

bool TKmfData::SkipToVKPS()
{
  unsigned char b;
  while (GetByte(b)) {
    if (b == 13) {
      if (NextByte() == 10) ++CurrentPos;
      return true;
    }
    if (b == 10) return true;
  }
  return false;
}

void TKmfData::Skip(char c)
{
  while (CurrentPos < CountDataBufer || Refill()) {
    char b = char(BuferDataFile[CurrentPos]);
    if (b == c) {
      ++CurrentPos;
    } else {
      if (b == 0) ++CurrentPos;
      return;
    }
  }
}

void TKmfData::SkipAndVKPS(char c)
{
  while (CurrentPos < CountDataBufer || Refill()) {
    char b = char(BuferDataFile[CurrentPos]);
    if (b == c || b == 10) {
      ++CurrentPos;
    } else if (b == 13) {
      ++CurrentPos;
      if (NextByte() == 10) ++CurrentPos;
    } else {
      if (b == 0) ++CurrentPos;
      return;
    }
  }
}

bool TKmfData::StrTo(char c, TString& s)
{
  std::string text;
  unsigned char b;
  bool found = false;
  while (GetByte(b)) {
    if (char(b) == c) {
      found = true;
      break;
    }
    text.push_back(char(b));
  }
  s.SetLength(0);
  s.Set(reinterpret_cast<const unsigned char*>(text.data()), unsigned(text.size()));
  return found;
}

bool TKmfData::StrToOrVKPS(char c, TString& s)
{
  std::string text;
  unsigned char b;
  bool found = false;
  while (GetByte(b)) {
    if (char(b) == c || b == 10) {
      found = true;
      break;
    }
    if (b == 13) {
      if (NextByte() == 10) ++CurrentPos;
      found = true;
      break;
    }
    text.push_back(char(b));
  }
  s.SetLength(0);
  s.Set(reinterpret_cast<const unsigned char*>(text.data()), unsigned(text.size()));
  return found;
}

// ---------------------------------------------------------------------------------------------
// Text scanning of wide data

namespace {

char UnitToChar(wchar_t u)
{
  if (u == 0) return 0;
  char c = TString::UniCodeToChar(u);
  return c ? c : '?';
}

} // namespace

bool TKmfData::SkipTo(const wchar_t& c)
{
  wchar_t u;
  while (GetUnit(u))
    if (u == c) return true;
  return false;
}

bool TKmfData::StrTo(const wchar_t& c, TString& s)
{
  std::string text;
  wchar_t u;
  bool found = false;
  while (GetUnit(u)) {
    if (u == c) {
      found = true;
      break;
    }
    text.push_back(UnitToChar(u));
  }
  s.SetLength(0);
  s.Set(reinterpret_cast<const unsigned char*>(text.data()), unsigned(text.size()));
  return found;
}

bool TKmfData::StrToOrVKPS(const wchar_t& c, TString& s)
{
  std::string text;
  wchar_t u;
  bool found = false;
  while (GetUnit(u)) {
    if (u == c || u == 10) {
      found = true;
      break;
    }
    if (u == 13) {
      // Take the LF of a CR LF pair along (units stay 4-aligned in the buffer).
      if ((CurrentPos < CountDataBufer || Refill()) && CountDataBufer - CurrentPos >= 4) {
        wchar_t next;
        std::memcpy(&next, BuferDataFile + CurrentPos, 4);
        if (next == 10) CurrentPos += 4;
      }
      found = true;
      break;
    }
    text.push_back(UnitToChar(u));
  }
  s.SetLength(0);
  s.Set(reinterpret_cast<const unsigned char*>(text.data()), unsigned(text.size()));
  return found;
}

bool TKmfData::FindStr(const TString& pattern)
{
  const int m = pattern.Len;
  if (m == 0) return true;
  std::vector<wchar_t> w(std::size_t(m) + 1);
  pattern.toWideChar(w.data());
  // Knuth-Morris-Pratt, so that overlapping starts ("ab" in "aab") are not missed.
  std::vector<int> fail(std::size_t(m), 0);
  for (int i = 1, k = 0; i < m; ++i) {
    while (k > 0 && w[i] != w[k])
      k = fail[k - 1];
    if (w[i] == w[k]) ++k;
    fail[i] = k;
  }
  wchar_t u;
  int k = 0;
  while (GetUnit(u)) {
    while (k > 0 && u != w[k])
      k = fail[k - 1];
    if (u == w[k]) ++k;
    if (k == m) return true;
  }
  return false;
}

// ---------------------------------------------------------------------------------------------
// TMemory

TMemory::TMemory(int size)
{
  New(size);
}

TMemory::TMemory(const unsigned char* p, int size)
{
  if (p && size > 0 && New(size)) std::memcpy(Pointer, p, std::size_t(size));
}

TMemory::TMemory(const TMemory& m) : TMemory(m.Pointer, m.Size) {}

TMemory& TMemory::operator=(const TMemory& m)
{
  if (this == &m) return *this;
  if (!m.Valid()) {
    Free();
  } else if (Size == m.Size && Pointer) {
    std::memcpy(Pointer, m.Pointer, std::size_t(Size));
  } else if (New(m.Size)) {
    std::memcpy(Pointer, m.Pointer, std::size_t(Size));
  }
  return *this;
}

TMemory::~TMemory()
{
  Free();
}

void TMemory::Attach(unsigned char* p, int size)
{
  Free();
  Pointer = p;
  Size = p ? std::max(size, 0) : 0;
  Attached = true;
}

unsigned char* TMemory::Detach()
{
  unsigned char* p = Pointer;
  Pointer = nullptr;
  Size = 0;
  Attached = false;
  return p;
}

void TMemory::Free()
{
  if (!Attached) delete[] Pointer;
  Pointer = nullptr;
  Size = 0;
  Attached = false;
}

bool TMemory::New()
{
  return New(Size);
}

bool TMemory::New(int size)
{
  Free();
  if (size <= 0) return size == 0;
  Pointer = new (std::nothrow) unsigned char[std::size_t(size)]();
  if (!Pointer) return false;
  Size = size;
  return true;
}

bool TMemory::operator==(const TMemory& m) const
{
  if (Size != m.Size) return false;
  if (Size <= 0) return true;
  if (!Pointer || !m.Pointer) return Pointer == m.Pointer;
  return std::memcmp(Pointer, m.Pointer, std::size_t(Size)) == 0;
}

bool TMemory::ReallocSafe(int size)
{
  if (size <= 0) {
    Free();
    return size == 0;
  }
  unsigned char* p = new (std::nothrow) unsigned char[std::size_t(size)]();
  if (!p) return false;
  if (Pointer && Size > 0) std::memcpy(p, Pointer, std::size_t(std::min(Size, size)));
  Free();
  Pointer = p;
  Size = size;
  return true;
}

TMemory& TMemory::operator=(const std::vector<unsigned char>& v)
{
  if (v.empty() || v.size() > std::size_t(INT_MAX)) return *this;
  int n = int(v.size());
  if (n != Size || !Pointer) {
    if (!New(n)) return *this;
  }
  std::memcpy(Pointer, v.data(), v.size());
  return *this;
}

void TMemory::to(std::vector<unsigned char>& v) const
{
  if (Valid())
    v.assign(Pointer, Pointer + Size);
  else
    v.clear();
}

void TMemory::toStream(TKmfData& S) const
{
  // A size without bytes behind it would misalign every later reader.
  int n = Valid() ? Size : 0;
  S.Write(n);
  if (n) S.BlockWrite(Pointer, UInteger(n));
}

bool TMemory::fromStream(TKmfData& S)
{
  Free();
  int n;
  if (!S.ReadCount(n)) return false;
  if (n == 0) return true;
  if (!New(n)) {
    S.ErrorReadFromFileToBufer = true;
    S.SkipToEnd();
    return false;
  }
  S.BlockRead(Pointer, UInteger(n));
  return true;
}

bool TMemory::toFile(const TString& path) const
{
  if (FileExists(path)) DeleteFile(path);
  std::FILE* f = OpenFile(path, "wb");
  if (!f) return false;
  bool ok = true;
  for (int done = 0; ok && Pointer && done < Size;) {
    std::size_t piece = std::min<std::size_t>(std::size_t(Size - done), KmfBuferSize);
    ok = std::fwrite(Pointer + done, 1, piece, f) == piece;
    done += int(piece);
  }
  if (std::fclose(f) != 0) ok = false;
  return ok;
}

bool TMemory::fromFile(const TString& path)
{
  if (!FileExists(path)) return false;
  TKmfData S;
  if (!S.MakeForRead(path, true)) return false;
  if (S.FileSize >= INT_MAX) return false;
  if (!New(int(S.FileSize))) return false;
  if (Size) S.BlockRead(Pointer, UInteger(Size));
  return true;
}

void TMemory::MemSet(unsigned char value)
{
  if (Valid()) std::memset(Pointer, value, std::size_t(Size));
}

bool TMemory::toTextFile(const TString& path) const
{
  if (!Valid()) return false;
  TKmfData S;
  if (!S.MakeForWrite(path, true)) return false;
  S.WriteTextLn(TString("// Bytes ") + TString(Size));
  S.WriteTextLn(TString(" = {"));
  for (int i = 0; i < Size; ++i) {
    S.WriteText(TString("  ") + TString(int(Pointer[i]), 3) + TString(","));
    if ((i + 1) % 16 == 0) S.WriteTextLn(EmptyStr);
  }
  S.WriteTextLn(TString("   }; "));
  return S.Close();
}

// ---------------------------------------------------------------------------------------------
// Files

int FileExists(const TString& path)
{
  if (path.Len == 0) return 0;
  std::error_code ec;
  auto st = std::filesystem::status(std::filesystem::path(path.Utf8Text()), ec);
  if (ec) return 0;
  // A pipe or a device is no file: reading one could block for ever, and deleting one to write a
  // file in its place would lose it.
  return std::filesystem::is_regular_file(st) ? 1 : 0;
}

bool PathExists(const TString& path)
{
  std::error_code ec;
  return path.Len != 0 && std::filesystem::exists(std::filesystem::path(path.Utf8Text()), ec);
}

bool DeleteFile(const TString& path)
{
  return std::remove(path.Utf8Text().c_str()) == 0;
}

// ---------------------------------------------------------------------------------------------
// TFileName

TString TFileName::Name() const
{
  int p = RFind(Separator); // 1-based, 0 for none
  return p == 0 ? TString(*this) : SubStr(p, Len - p);
}

TString TFileName::Path(int up) const
{
  if (up < 0) up = 0;
  int seen = 0;
  bool any = false;
  for (int i = Len - 1; i >= 0; --i) {
    if (Bufer[i] != Separator) continue;
    any = true;
    if (seen++ == up) return SubStr(0, i + 1);
  }
  return any ? TString() : TString(*this);
}

int TFileName::CountDirectotyDn(int from) const
{
  int n = 0;
  for (int i = std::max(from, 0); i < Len; ++i)
    if (Bufer[i] == Separator) ++n;
  return n;
}

TString TFileName::Relative(const TFileName& newBase, const TFileName& oldBase) const
{
  if (oldBase == newBase || oldBase.Empty()) return *this;
  int c = Common(oldBase, 0);
  // The cut is the separator at which the two names part; with none before that point the
  // whole name is taken as lying under oldBase's root.
  int cut = -1;
  if (c < Len && Bufer[c] == Separator) {
    cut = c;
  } else {
    for (int i = std::min(c, Len) - 1; i >= 0; --i)
      if (Bufer[i] == Separator) {
        cut = i;
        break;
      }
  }
  int up = oldBase.CountDirectotyDn(cut + 1);
  return newBase.Path(up) + SubStr(cut + 1, Len - cut - 1);
}

bool TFileName::FileExists() const
{
  return ::FileExists(*this) != 0;
}

bool TFileName::DeleteFile(const TString&) const
{
  return ::DeleteFile(*this);
}

// ---------------------------------------------------------------------------------------------
// TCrc

namespace {
constexpr std::array<std::uint32_t, 256> MakeCrcTable()
{
  std::array<std::uint32_t, 256> t{};
  for (std::uint32_t n = 0; n < 256; ++n) {
    std::uint32_t c = n;
    for (int k = 0; k < 8; ++k)
      c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    t[n] = c;
  }
  return t;
}
} // namespace

// Built at compile time, so a checksum taken before anyone generates the table is right.
constinit std::array<std::uint32_t, 256> TCrc::crc_table = MakeCrcTable();

void TCrc::generate_crc32_table()
{
  crc_table = MakeCrcTable();
}

unsigned TCrc::crc32(unsigned crc, const unsigned char* buf, unsigned long len)
{
  if (!buf || len == 0) return crc;
  std::uint32_t c = ~std::uint32_t(crc);
  for (unsigned long i = 0; i < len; ++i)
    c = crc_table[(c ^ buf[i]) & 0xFF] ^ (c >> 8);
  return ~c;
}

unsigned TCrc::adler32(unsigned adler, const unsigned char* buf, unsigned long len)
{
  constexpr std::uint32_t Base = 65521;
  // The largest n with 255 n (n + 1) / 2 + (n + 1) (Base - 1) below 2^32: the sums stay
  // exact for that many bytes between reductions.
  constexpr unsigned long NMax = 5552;
  if (!buf || len == 0) return adler;
  std::uint32_t a = adler & 0xFFFF, b = (adler >> 16) & 0xFFFF;
  // A start value with halves at or above the modulus is reduced first, so the sums cannot
  // overflow whatever the caller passes.
  a %= Base;
  b %= Base;
  while (len > 0) {
    unsigned long n = std::min(len, NMax);
    len -= n;
    while (n--) {
      a += *buf++;
      b += a;
    }
    a %= Base;
    b %= Base;
  }
  return (b << 16) | a;
}

// ---------------------------------------------------------------------------------------------
// TPseudoString

namespace {
// Gives m a buffer of exactly size bytes; one of another size is replaced (a borrowed one
// is let go, never freed). False when the memory cannot be had.
bool Resize(TMemory& m, int size)
{
  if (size == m.Size && (m.Pointer || size == 0)) return true;
  if (size <= 0) {
    m.Free();
    return true;
  }
  return m.New(size);
}
} // namespace

void TPseudoString::Get(const TMemory& src)
{
  // Packing a block into itself reads the source before the buffer is replaced.
  std::vector<unsigned char> copy;
  const unsigned char* s = src.Pointer;
  int n = src.Pointer ? std::max(src.Size, 0) : 0;
  if (&src == this && n > 0) {
    copy.assign(s, s + n);
    s = copy.data();
  }

  // First pass: the packed size. Runs are cut into blocks of at most 255 bytes.
  int size = 3;
  for (int i = 0; i < n;) {
    bool zero = s[i] == 0;
    int run = 1;
    while (i + run < n && run < 255 && (s[i + run] == 0) == zero)
      ++run;
    size += zero ? 2 : 2 + run;
    i += run;
  }

  if (!Resize(*this, size)) return;
  unsigned char* d = Pointer;
  *d++ = tStart;
  *d++ = tStart;
  for (int i = 0; i < n;) {
    bool zero = s[i] == 0;
    int run = 1;
    while (i + run < n && run < 255 && (s[i + run] == 0) == zero)
      ++run;
    *d++ = zero ? tZero : tData;
    *d++ = std::uint8_t(run);
    if (!zero) {
      std::memcpy(d, s + i, std::size_t(run));
      d += run;
    }
    i += run;
  }
  *d = tEnd;
}

void TPseudoString::Set(TMemory& dst) const
{
  const unsigned char* p = Pointer;
  const int size = Pointer ? Size : 0;
  if (size < 2 || p[0] != tStart || p[1] != tStart) return;

  // First pass: the unpacked size. Each block is taken only as far as the packed bytes
  // reach, so a truncated form yields what its blocks still describe.
  const bool trace = TDebug().Data->Level > 0;
  int total = 0;
  for (int o = 2; o + 1 < size;) {
    int type = p[o], count = p[o + 1];
    if (type == tZero) {
      total += count;
      o += 2;
    } else if (type == tData) {
      int avail = std::min(count, size - o - 2);
      total += avail;
      o += 2 + count;
    } else {
      break;
    }
    if (trace) TDebug().Output(TString(o) + TString(" ") + TString(total) + TString(" ") + TString(count));
  }

  // Unpacking into the packed block itself reads from a copy.
  std::vector<unsigned char> copy;
  if (&dst == this) {
    copy.assign(p, p + size);
    p = copy.data();
  }
  if (!Resize(dst, total)) return;
  unsigned char* d = dst.Pointer;
  int w = 0;
  for (int o = 2; o + 1 < size && w < total;) {
    int type = p[o], count = p[o + 1];
    if (type == tZero) {
      int n = std::min(count, total - w);
      std::memset(d + w, 0, std::size_t(n));
      w += n;
      o += 2;
    } else if (type == tData) {
      int n = std::min({count, size - o - 2, total - w});
      std::memcpy(d + w, p + o + 2, std::size_t(n));
      w += n;
      o += 2 + count;
    } else {
      break;
    }
  }
}
