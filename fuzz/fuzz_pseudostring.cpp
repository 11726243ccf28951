// Arbitrary bytes as a packed string: unpacking must stay inside the packed bytes and produce
// no more than they describe; packing the bytes must give a form with a single zero (its end)
// that unpacks to the same bytes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "hxcadkit/core/KmfData.h"

namespace {

void Check(bool ok, const char* what)
{
  if (!ok) {
    std::fprintf(stderr, "fuzz_pseudostring: %s\n", what);
    std::abort();
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  if (size > (1u << 20)) return 0;
  const int n = int(size);

  // The bytes as a packed form, and with the start mark put in front so that the blocks are
  // reached whatever the input begins with.
  for (int withMark = 0; withMark < 2; ++withMark) {
    TPseudoString p;
    p.New(n + 2 * withMark);
    if (withMark && p.Pointer) p.Pointer[0] = p.Pointer[1] = 0xFF;
    if (n && p.Pointer) std::memcpy(p.Pointer + 2 * withMark, data, size);
    TMemory out;
    out.New(3);
    p.Set(out);
    // Each block yields at most 255 bytes from at least 2 packed ones.
    Check(out.Size >= 0 && out.Size <= 128 * (p.Size + 1), "unpacked more than the form describes");
  }

  TMemory src;
  if (n) {
    src.New(n);
    std::memcpy(src.Pointer, data, size);
  }
  TPseudoString packed;
  packed.Get(src);
  Check(packed.Size >= 3 && packed.Pointer[0] == 0xFF && packed.Pointer[1] == 0xFF, "no start mark");
  Check(std::memchr(packed.Pointer, 0, std::size_t(packed.Size)) == packed.Pointer + packed.Size - 1,
        "a zero byte before the end");
  TMemory back;
  packed.Set(back);
  Check(back.Size == n && (n == 0 || std::memcmp(back.Pointer, data, size) == 0), "round trip");
  return 0;
}
