// Arbitrary bytes as a stored coupling parameter block. A block is either refused, leaving the
// model as it was, or taken whole: then its bore types are valid and writing it again and
// reading that back gives the same bytes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "Duvozadu/ControlModel.h"

namespace {
void Check(bool ok, const char* what)
{
  if (!ok) {
    std::fprintf(stderr, "fuzz_coupling_block: %s\n", what);
    std::abort();
  }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  const std::vector<std::uint8_t> v(data, data + size);
  TControlModelCoupling c;
  c.M = 7.0;
  c.T1 = 2;
  c.CouplingName = TString("keep");
  const bool taken = c.from(v);
  // The stream form reads what the block form reads: raw data (no header) read through a stream.
  std::uint32_t magic = 0;
  if (size >= 4) std::memcpy(&magic, data, 4);
  TKmfData stream;
  if (magic != TControlModelCoupling::BlockMagic && stream.from(v)) {
    TControlModelCoupling e;
    e.M = 7.0;
    Check(e.Read(stream) == taken, "Read and from disagree");
    std::vector<std::uint8_t> a, b;
    if (taken) {
      c.to(a);
      e.to(b);
      Check(a == b, "Read and from read different fields");
    } else {
      Check(e.M == 7.0, "a refused stream changed the model");
    }
  }
  if (!taken) {
    Check(c.M == 7.0 && c.T1 == 2 && c.CouplingName.Utf8Text() == "keep",
          "a refused block changed the model");
    return 0;
  }
  Check(c.T1 >= 0 && c.T1 <= 3 && c.T2 >= 0 && c.T2 <= 3, "bore type outside 0..3");
  std::vector<std::uint8_t> once, twice;
  c.to(once);
  TControlModelCoupling d;
  Check(d.from(once), "a written block is refused");
  d.to(twice);
  Check(once == twice, "a written block does not round-trip");
  return 0;
}
