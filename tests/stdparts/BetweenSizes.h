#pragma once
// A designer's sizes are rarely the sampled ones: the sweeps draw every part at sizes between them (a
// table's part between two neighbouring rows, the others scaled by 0.5 to 2), some with one size pushed
// 10 % past the next larger of its sizes or under the next smaller. HXCAD_SHEET_SEED and
// HXCAD_SHEET_COUNT (cases per part) set the draw; a case is the same on every machine.
#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "MouldPartList.h"
#include "PushedSizes.h"
#include "StdPartsSupport.h"

namespace stdtest::between {

// A number from the environment, or fallback where it is unset.
inline unsigned long long FromEnv(const char* name, unsigned long long fallback)
{
  const char* v = std::getenv(name);
  return v != nullptr && *v != 0 ? std::strtoull(v, nullptr, 10) : fallback;
}

// The draw of a case: fractions in [0, 1) from the seed, the part's name and the case alone.
struct TDraw
{
  std::mt19937_64 Rng;
  TDraw(unsigned long long seed, const char* part, unsigned long long i)
  {
    unsigned long long name = 14695981039346656037ull; // the part's name hashed (FNV-1a), as on every machine
    for (const char* ch = part; *ch != 0; ++ch)
      name = (name ^ static_cast<unsigned char>(*ch)) * 1099511628211ull;
    Rng.seed(seed * 1000003u + name + i);
  }
  double operator()() { return double(Rng() >> 11) / 9007199254740992.0; }
};

struct TCase
{
  int Row = 0;
  double K = 1, Between = 0;  // the factor, or how far towards the next row
  std::ptrdiff_t Pushed = -1; // the size pushed, -1 for none
  bool Past = false;
  std::string What;
};

// The case as drawn for part: where it is made and how its sizes are changed before it is drawn.
inline TCase Drawn(const mouldparts::TPart& part, TDraw& draw)
{
  TCase c;
  char buf[96];
  if (part.Table != 0) {
    const int rows = ABaseDetail.SocketCount(part.Table) - 1;
    c.Row = 1 + std::min(rows - 1, int(draw() * rows));
    c.Between = rows > 1 ? draw() : 0;
    // The last row has no next one to go towards: a size drawn past it lies before it.
    if (c.Row == rows && c.Between > 0) c.Row = rows - 1;
    std::snprintf(buf, sizeof buf, "row %d + %.17g", c.Row, c.Between);
  } else {
    c.K = 0.5 + 1.5 * draw();
    std::snprintf(buf, sizeof buf, "x%.17g", c.K);
  }
  c.What = buf;
  mouldparts::TMade probe;
  part.Make(probe, nullptr, c.Row, c.K);
  const auto sizes = pushed::SizesOf(*probe.Parts.back());
  if (!sizes.empty() && draw() < 0.5) {
    c.Pushed = std::min(std::ptrdiff_t(sizes.size()) - 1, std::ptrdiff_t(draw() * double(sizes.size())));
    c.Past = draw() < 0.5;
    c.What += std::string(", ") + sizes[std::size_t(c.Pushed)].first + (c.Past ? " past" : " under");
  }
  return c;
}

// The case's sizes on the part made at its row or factor.
inline void Apply(const mouldparts::TPart& part, const TCase& c, TDetail& d)
{
  auto sizes = pushed::SizesOf(d);
  if (part.Table != 0 && c.Between > 0) {
    // Past the table's last row a part is made of no row's sizes: nothing a designer can choose.
    EXPECT_LT(c.Row + 1, ABaseDetail.SocketCount(part.Table)) << part.Name << " row " << c.Row;
    mouldparts::TMade next;
    part.Make(next, nullptr, c.Row + 1, c.K);
    const auto to = pushed::SizesOf(*next.Parts.back());
    for (std::size_t i = 0; i < sizes.size() && i < to.size(); ++i)
      *sizes[i].second += c.Between * (*to[i].second - *sizes[i].second);
  }
  if (c.Pushed < 0) return;
  const double v = *sizes[std::size_t(c.Pushed)].second;
  double near = c.Past ? 1e300 : 0;
  for (std::size_t j = 0; j < sizes.size(); ++j) {
    const double w = *sizes[j].second;
    if (j == std::size_t(c.Pushed) || !(w > 0)) continue;
    if (c.Past && w > v) near = std::min(near, w);
    if (!c.Past && w < v) near = std::max(near, w);
  }
  if (near > 0 && near < 1e300) *sizes[std::size_t(c.Pushed)].second = near * (c.Past ? 1.1 : 0.9);
}

// The case i of the draw from seed as a finding names it.
inline std::string Named(unsigned long long seed, unsigned long long i, const TCase& c)
{
  std::ostringstream s;
  s << "seed " << seed << " case " << i << " (" << c.What << ")";
  return s.str();
}

// Whether the part named is among those HXCAD_PARTS (NAME,NAME) asks for, so that a sweep can run as
// several processes; every part where it is unset.
inline bool Asked(const char* name)
{
  const char* only = std::getenv("HXCAD_PARTS");
  if (only == nullptr || *only == 0) return true;
  std::string list(","), item(",");
  list.append(only).append(","), item.append(name).append(",");
  return list.find(item) != std::string::npos;
}

} // namespace stdtest::between
