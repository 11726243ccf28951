// A hatch's outline as the picture chains it: its boundary pieces end to end, each next piece the first in
// the list that starts, or else ends, where the chain stands. Checked against that rule worked through the
// whole list at every step, on outlines given in pieces shuffled, turned round and named many times over.
#include "txhost/lib/Drawing2D.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Model.h"
#include "txhost/lib/Object.h"
#include "txhost/lib/SvgWriter.h"

#include "txapi/Enums.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace {

using txhost::Object;
using txhost::Value;
using TPoints = std::vector<std::pair<double, double>>;

struct TSegment
{
  double X1, Y1, X2, Y2;
};

// The chains by the rule, each closed back to its start.
std::vector<TPoints> ChainedByHand(const std::vector<TSegment>& pieces)
{
  std::vector<TPoints> out;
  std::vector<bool> used(pieces.size(), false);
  for (std::size_t start = 0; start < pieces.size(); ++start) {
    if (used[start]) continue;
    used[start] = true;
    TSegment cur = pieces[start];
    TPoints chain{{cur.X1, cur.Y1}, {cur.X2, cur.Y2}};
    for (bool found = true; found;) {
      found = false;
      for (std::size_t i = 0; i < pieces.size() && !found; ++i) {
        if (used[i]) continue;
        const TSegment& q = pieces[i];
        if (std::hypot(q.X1 - cur.X2, q.Y1 - cur.Y2) <= 1e-4)
          cur = q, found = true;
        else if (std::hypot(q.X2 - cur.X2, q.Y2 - cur.Y2) <= 1e-4)
          cur = {q.X2, q.Y2, q.X1, q.Y1}, found = true;
        if (found) {
          used[i] = true;
          chain.emplace_back(cur.X2, cur.Y2);
        }
      }
    }
    chain.push_back(chain.front());
    out.push_back(std::move(chain));
  }
  return out;
}

std::vector<TPoints> ChainedInThePicture(const std::vector<TSegment>& pieces)
{
  txhost::Host h;
  Object& doc = *h.NewDocument(txapi::txDocumentDrawing, false);
  Object& view = h.Create(txhost::model::View, &doc, &doc);
  Object& hatch = h.Create(txhost::model2d::Hatch, &doc, &view);
  Value boundaries = Value::array();
  for (const TSegment& s : pieces) {
    Object& l = h.Create(txhost::model::LineSegment, &doc, &view);
    for (const auto& [key, v] : {std::pair{"x1", s.X1}, {"y1", s.Y1}, {"x2", s.X2}, {"y2", s.Y2}})
      l.Set(key, v);
    l.Set("style", 0); // drawn nowhere but in the hatch's outline
    boundaries.push_back(txhost::RefValue(&l));
  }
  hatch.Set("boundaries", boundaries);
  std::vector<TPoints> out;
  for (const txhost::SvgPolyline& p : txhost::LayOut(doc).Lines)
    if (p.Kind == "hatch") out.push_back(p.Points);
  return out;
}

TEST(SvgHatch, OutlinesChainAsTheRuleSaysWhateverTheirOrder)
{
  std::mt19937 random(7);
  for (int round = 0; round < 40; ++round) {
    // A few polygons, some sharing corners, ends off by less than the chaining distance; named again,
    // turned round and shuffled.
    std::vector<TSegment> pieces;
    for (int p = 0, polygons = 1 + int(random() % 4); p < polygons; ++p) {
      const int sides = 3 + int(random() % 6);
      const double cx = double(random() % 3) * 10, cy = double(random() % 3) * 10,
                   r = 5 + double(random() % 5);
      for (int k = 0; k < sides; ++k) {
        const double a = 2 * M_PI * k / sides, b = 2 * M_PI * (k + 1) / sides;
        pieces.push_back({cx + r * std::cos(a), cy + r * std::sin(a),
                          cx + r * std::cos(b) + double(random() % 100) * 1e-7, cy + r * std::sin(b)});
      }
    }
    for (std::size_t k = 0, named = pieces.size(); k < named; ++k)
      for (unsigned again = random() % 3; again > 0; --again)
        pieces.push_back(pieces[k]);
    for (TSegment& s : pieces)
      if (random() % 2) s = {s.X2, s.Y2, s.X1, s.Y1};
    std::shuffle(pieces.begin(), pieces.end(), random);
    EXPECT_EQ(ChainedInThePicture(pieces), ChainedByHand(pieces)) << round;
  }
}

} // namespace
