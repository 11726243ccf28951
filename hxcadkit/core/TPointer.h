#pragma once
// Small services beside the data stream: file-name arithmetic on '/'-separated paths, the
// CRC-32 and Adler-32 checksums, and a packing of any byte block into a form with no zero
// byte before its end, so that binary data can travel where only zero-terminated text may.
#include <array>
#include <cstdint>

#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/KmfData.h"
#include "hxcadkit/core/Types.h"

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
