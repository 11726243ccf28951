// Arbitrary bytes as a font block. Whatever was read must hold together (contour starts
// ascending from 0 inside the points), measure without fault, survive outline cleaning with
// the same invariant, and store as a block that reads back to the same glyphs (the arrays'
// allocated sizes may shrink on the way: a reader allocates no more than the bytes left).
#include <cstddef>
#include <cstdint>
#include <cstring>
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

// What the glyphs hold, without the arrays' allocation figures.
std::vector<double> Content(const TFontGlif& f)
{
  std::vector<double> v{double(f.ListBase)};
  for (const TCharGlif& g : f.ACharGlif) {
    const TCharGlif::TMetrics& m = g.GM;
    v.insert(v.end(), {m.gmBlackBoxX, m.gmBlackBoxY, m.gmptGlyphOrigin.x, m.gmptGlyphOrigin.y, m.gmCellIncX,
                       m.gmCellIncY, double(g.Points.Count), double(g.Contours.Count)});
    for (Integer i = 0; i < g.Points.Count; ++i)
      v.insert(v.end(), {g.Points[i].x, g.Points[i].y, g.Points[i].z});
    for (Integer k = 0; k < g.Contours.Count; ++k)
      v.push_back(g.Contours[k]);
  }
  return v;
}

bool Same(const std::vector<double>& a, const std::vector<double>& b)
{
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
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
  if (!Same(Content(*again), Content(*f))) __builtin_trap();
  for (TCharGlif& g : f->ACharGlif) {
    g.CheckSelfInterSect();
    Check(g);
  }
  return 0;
}
