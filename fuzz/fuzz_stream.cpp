// Arbitrary bytes as a stored stream, read back by a sequence of typed reads and text scans
// that the input chooses. Every read must stay inside its buffers, every scan must stop, and
// every string read must come out terminated.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

#include "fuzz/FuzzScratch.h"
#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/KmfData.h"

namespace {

void Check(bool ok, const char* what)
{
  if (!ok) {
    std::fprintf(stderr, "fuzz_stream: %s\n", what);
    std::abort();
  }
}

void CheckString(const TString& s)
{
  Check(s.Len >= 0 && s.Len < s.SizeBufer, "string length outside its buffer");
  Check(s.PChar()[s.Len] == 0, "string not terminated");
}

void Run(TKmfData& S, const std::uint8_t* ops, std::size_t nops)
{
  TString s;
  std::vector<unsigned char> v;
  TMemory m;
  for (std::size_t i = 0; i < nops; ++i) {
    std::int64_t before = S.Remaining();
    switch (ops[i] % 24) {
    case 0:
      S.ReadInteger();
      break;
    case 1:
      S.ReadReal();
      break;
    case 2:
      S.ReadByte();
      break;
    case 3: {
      char16_t c;
      S.Read(c);
    } break;
    case 4:
      S.Read(s);
      CheckString(s);
      break;
    case 5:
      S.Read(v);
      break;
    case 6:
      m.fromStream(S);
      break;
    case 7:
      S.NextChar();
      break;
    case 8:
      S.SkipTo(char(ops[i] >> 3));
      break;
    case 9:
      S.StrTo(char(ops[i] >> 3), s);
      CheckString(s);
      break;
    case 10:
      S.StrToOrVKPS(';', s);
      CheckString(s);
      break;
    case 11:
      S.SkipToVKPS();
      break;
    case 12:
      S.Skip(' ');
      break;
    case 13:
      S.SkipAndVKPS(' ');
      break;
    case 14:
      S.SkipTo(wchar_t(ops[i] >> 3));
      break;
    case 15:
      S.StrTo(L'=', s);
      CheckString(s);
      break;
    case 16:
      S.StrToOrVKPS(L';', s);
      CheckString(s);
      break;
    case 17:
      S.FindStr(TString("ab"));
      break;
    case 18: {
      TString p;
      p.Set(L"\u0416\u0416x");
      S.FindStr(p);
    } break;
    case 19:
      S.NextByte();
      break;
    case 20:
      S.PutLastByteInBufer();
      break;
    case 21: {
      unsigned char buf[64];
      Check(S.BlockRead(buf, ops[i] >> 2) <= 64, "block read overran");
    } break;
    case 22:
      S.EndOfFile();
      break;
    case 23:
      S.SetPos(ops[i] >> 3);
      break;
    }
    // Reads never conjure bytes: what is left can grow only by stepping back.
    std::int64_t after = S.Remaining();
    Check(after >= 0, "negative remaining count");
    if (ops[i] % 24 != 20 && ops[i] % 24 != 23) Check(after <= before, "a read added bytes");
  }
  // The data are still there after reading past the end (memory streams).
  if (!S.Active()) {
    std::vector<unsigned char> out;
    S.to(out);
    Check(out.size() == std::size_t(S.SizeData()), "stream size changed");
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  if (size < 2) return 0;
  // First byte: how many operation bytes follow and whether to go through a file.
  std::size_t nops = std::min<std::size_t>(data[0] % 64, size - 1);
  bool file = (data[0] & 0x40) != 0;
  const std::uint8_t* ops = data + 1;
  const std::uint8_t* body = ops + nops;
  std::size_t nbody = size - 1 - nops;

  if (!file) {
    TKmfData S;
    if (nbody > 0 && !S.from(std::vector<unsigned char>(body, body + nbody))) return 0;
    Run(S, ops, nops);
    return 0;
  }
  static const hxcad::fuzz::Scratch scratch("fuzz_stream");
  static const std::string path = (scratch / "in.kmf").string();
  if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(body, 1, nbody, f);
    std::fclose(f);
  }
  TKmfData S;
  // Raw when the ops say so, else with the header check (which may refuse the file).
  if (S.MakeForRead(TString(path.c_str()), (data[0] & 0x80) != 0)) Run(S, ops, nops);
  return 0;
}
