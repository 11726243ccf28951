// Generates the library's built-in vector font from an outline font through FreeType: one glyph
// per Windows-1251 code, outlines flattened to polygons in glyph units (capital height 53),
// written as the stream block the font loader reads, into a C++ source. See README.md.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/KmfData.h"
#include "hxcadkit/core/TArray.h"
#include "hxcadkit/geometry/Mathemat3d.h"

namespace {

constexpr double CapitalHeight = 53;
// Flattening: one chord per this many glyph units of a curve's control polygon.
constexpr double ChordLength = 2.5;
constexpr int StreamVersion = 96;
constexpr int ListBase = 2000;

struct TOutline
{
  double Scale = 1;
  std::vector<std::vector<TPoint3D>> Contours;
  TPoint3D Pen;

  TPoint3D At(const FT_Vector* v) const { return TPoint3D(v->x * Scale, v->y * Scale, 0); }
  void Add(const TPoint3D& p)
  {
    std::vector<TPoint3D>& c = Contours.back();
    if (c.empty() || std::hypot(p.x - c.back().x, p.y - c.back().y) > 1e-6) c.push_back(p);
    Pen = p;
  }
  int Chords(double length) const { return std::clamp(int(std::ceil(length / ChordLength)), 2, 16); }
};

double Dist(const TPoint3D& a, const TPoint3D& b)
{
  return std::hypot(a.x - b.x, a.y - b.y);
}

int MoveTo(const FT_Vector* to, void* user)
{
  TOutline& o = *static_cast<TOutline*>(user);
  o.Contours.emplace_back();
  o.Add(o.At(to));
  return 0;
}

int LineTo(const FT_Vector* to, void* user)
{
  TOutline& o = *static_cast<TOutline*>(user);
  o.Add(o.At(to));
  return 0;
}

int ConicTo(const FT_Vector* control, const FT_Vector* to, void* user)
{
  TOutline& o = *static_cast<TOutline*>(user);
  const TPoint3D a = o.Pen, b = o.At(control), c = o.At(to);
  const int n = o.Chords(Dist(a, b) + Dist(b, c));
  for (int k = 1; k <= n; ++k) {
    const double t = double(k) / n, u = 1 - t;
    o.Add(TPoint3D(u * u * a.x + 2 * u * t * b.x + t * t * c.x, u * u * a.y + 2 * u * t * b.y + t * t * c.y,
                   0));
  }
  return 0;
}

int CubicTo(const FT_Vector* control1, const FT_Vector* control2, const FT_Vector* to, void* user)
{
  TOutline& o = *static_cast<TOutline*>(user);
  const TPoint3D a = o.Pen, b = o.At(control1), c = o.At(control2), d = o.At(to);
  const int n = o.Chords(Dist(a, b) + Dist(b, c) + Dist(c, d));
  for (int k = 1; k <= n; ++k) {
    const double t = double(k) / n, u = 1 - t;
    const double wa = u * u * u, wb = 3 * u * u * t, wc = 3 * u * t * t, wd = t * t * t;
    o.Add(TPoint3D(wa * a.x + wb * b.x + wc * c.x + wd * d.x, wa * a.y + wb * b.y + wc * c.y + wd * d.y, 0));
  }
  return 0;
}

// The Unicode character of a Windows-1251 code; 0 where the code page has none we draw.
std::uint32_t CodePoint(int code)
{
  if (code < 32 || code == 127 || code == 0x98) return 0;
  return code < 128 ? std::uint32_t(code) : RusUnicode[code - 128];
}

// Allocated sizes as the arrays grow by their steps: the smallest multiple of the step that
// holds the elements, never below the first allocation.
int Allocated(int count, int step)
{
  return std::max(step, (count + step - 1) / step * step);
}

void WriteGlyph(TKmfData& S, FT_Face face, double scale, int code)
{
  TOutline o;
  o.Scale = scale;
  double advance = 0;
  const std::uint32_t u = CodePoint(code);
  if (u && FT_Load_Char(face, u, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING) == 0) {
    advance = std::round(face->glyph->advance.x * scale);
    FT_Outline_Funcs funcs{MoveTo, LineTo, ConicTo, CubicTo, 0, 0};
    if (face->glyph->format == FT_GLYPH_FORMAT_OUTLINE)
      FT_Outline_Decompose(&face->glyph->outline, &funcs, &o);
  }
  // A glyph without an outline gets no display list, and so no advance when drawn: the space
  // carries an empty (zero-area) contour on its origin to keep its list. The no-break space
  // stays empty and without advance, as the loader's users expect of it.
  if (code == 0xA0) advance = 0;
  if (code == ' ') o.Contours.assign(1, std::vector<TPoint3D>(3, TPoint3D()));
  TArrayOf<TPoint3D> points;
  TArrayOf<int> starts;
  double x0 = 1e300, y0 = 1e300, x1 = -1e300, y1 = -1e300;
  for (std::vector<TPoint3D>& c : o.Contours) {
    // Contours close by themselves: a last point on the first one is dropped.
    if (c.size() > 3 && Dist(c.front(), c.back()) < 1e-6) c.pop_back();
    if (c.size() < 3) continue;
    starts.Add(points.Count);
    for (TPoint3D p : c) {
      p.x = std::round(p.x * 1000) / 1000;
      p.y = std::round(p.y * 1000) / 1000;
      points.Add(p);
      x0 = std::min(x0, p.x), y0 = std::min(y0, p.y), x1 = std::max(x1, p.x), y1 = std::max(y1, p.y);
    }
  }
  // Metrics in whole units, the inked box's corners rounded outwards; no outline, no box.
  double bx = 0, by = 0, ox = 0, oy = 0;
  if (points.Count > 0) {
    ox = std::floor(x0 + 1e-6);
    oy = std::ceil(y1 - 1e-6);
    bx = std::ceil(x1 - 1e-6) - ox;
    by = oy - std::floor(y0 + 1e-6);
  }
  S << bx << by << ox << oy << advance << 0.0;
  // The arrays' stream form with the allocation they would have grown to.
  S << Allocated(points.Count, 64) << 64 << points.Count << 0;
  for (Integer i = 0; i < points.Count; ++i)
    S << points[i];
  S << Allocated(starts.Count, 12) << 12 << starts.Count << 0;
  for (Integer i = 0; i < starts.Count; ++i)
    S << starts[i];
}

bool WriteSource(const std::string& path, const std::vector<unsigned char>& block, const std::string& ttf)
{
  std::FILE* f = std::fopen(path.c_str(), "w");
  if (!f) return false;
  std::fprintf(f,
               "// Generated by tools/font/fontgen from %s; do not edit.\n"
               "// Regenerate with tools/font/README.md.\n"
               "#include \"hxcadkit/geometry/GImageFont.h\"\n\n"
               "const int FontGlifDataSize = %zu;\n"
               "alignas(8) const unsigned char FontGlifData[] = {\n",
               ttf.substr(ttf.find_last_of('/') + 1).c_str(), block.size());
  for (std::size_t i = 0; i < block.size(); ++i)
    std::fprintf(f, "%u,%s", block[i], i % 24 == 23 || i + 1 == block.size() ? "\n" : "");
  std::fprintf(f, "};\n");
  return std::fclose(f) == 0;
}

} // namespace

int main(int argc, char** argv)
{
  if (argc != 3) {
    std::fprintf(stderr, "usage: fontgen FONT.ttf OUTPUT.cpp\n");
    return 2;
  }
  FT_Library ft;
  FT_Face face;
  if (FT_Init_FreeType(&ft) || FT_New_Face(ft, argv[1], 0, &face)) {
    std::fprintf(stderr, "fontgen: cannot open %s\n", argv[1]);
    return 1;
  }
  // Glyph units: the capital H is CapitalHeight high.
  if (FT_Load_Char(face, 'H', FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING)) return 1;
  FT_BBox box;
  FT_Outline_Get_CBox(&face->glyph->outline, &box);
  const double scale = CapitalHeight / double(box.yMax - box.yMin);

  TKmfData S;
  S << ListBase;
  for (int code = 0; code < 256; ++code)
    WriteGlyph(S, face, scale, code);
  S.FileHeader.Version = StreamVersion;
  std::vector<unsigned char> block(std::size_t(S.SizeData()));
  S.toMemory(block.data(), int(block.size()));
  FT_Done_Face(face);
  FT_Done_FreeType(ft);
  if (!WriteSource(argv[2], block, argv[1])) {
    std::fprintf(stderr, "fontgen: cannot write %s\n", argv[2]);
    return 1;
  }
  std::printf("fontgen: %zu bytes\n", block.size());
  return 0;
}
