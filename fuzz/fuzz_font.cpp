// Arbitrary bytes as a font block. Whatever was read must hold together (contour starts
// ascending from 0 inside the points), measure without fault, survive outline cleaning with
// the same invariant, and store as a block that reads back to the same bytes.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "hxcadkit/core/KmfData.h"
#include "hxcadkit/geometry/GImageFont.h"

namespace {

void Check(const TCharGlif& g)
{
  for (Integer k = 0; k < g.Contours.Count; ++k)
    if (g.Contours[k] >= g.Points.Count || (k == 0 ? g.Contours[k] != 0 : g.Contours[k] <= g.Contours[k - 1]))
      __builtin_trap();
}

std::vector<unsigned char> Stored(const TFontGlif& f)
{
  TKmfData S;
  f.toStream(S);
  std::vector<unsigned char> all;
  S.to(all);
  return all;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  if (size > (1u << 16)) return 0;
  auto f = std::make_unique<TFontGlif>();
  f->Load(data, int(size));
  TString text;
  text.Set(data, unsigned(std::min<std::size_t>(size, 40)));
  f->Len(text, 40);
  f->Height(text, 40);
  for (const TCharGlif& g : f->ACharGlif) {
    Check(g);
    g.GetRect();
  }
  const std::vector<unsigned char> once = Stored(*f);
  auto again = std::make_unique<TFontGlif>();
  TKmfData S;
  if (!S.from(once)) __builtin_trap();
  again->fromStream(S);
  if (Stored(*again) != once) __builtin_trap();
  for (TCharGlif& g : f->ACharGlif) {
    g.CheckSelfInterSect();
    Check(g);
  }
  return 0;
}
