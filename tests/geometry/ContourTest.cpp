// The contour's rules that the reference chain does not reach, one row each (parameter, closure, links,
// finding, marks, copies, drawing, approximation, cuts, chaining, offsets, text); the stream form.
#include <cmath>
#include <cstddef>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "hxcadkit/core/KmfData.h"
#include "hxcadkit/core/Messager.h"
#include "hxcadkit/geometry/Contour.h"
#include "tests/core/MessageRecorder.h"
#include "tests/geometry/ContourTestUtil.h"
#include "tests/geometry/CurveTestUtil.h"

using namespace contourtest;
using namespace curvetest;

namespace {

Bytes StoredContour(const TContour& c)
{
  TKmfData S;
  c.Store(S);
  Bytes all;
  S.to(all);
  return Bytes(all.begin() + KmfHeaderSize, all.end());
}

// Records what contours draw while it is the drawing link, one call after another.
struct TRecorder : TContourDrawLink
{
  TRecorder() { SetContourDrawLink(this); }
  ~TRecorder() override { SetContourDrawLink(nullptr); }
  mutable std::string calls;
  void drLine(TModeler3D&, const double& x1, const double& y1, const double& x2, const double& y2,
              int style) const override
  {
    calls += "L " + Seen(x1, y1, x2, y2, style) + "; ";
  }
  void drCircle(TModeler3D&, const double& x, const double& y, const double& r, int style) const override
  {
    calls += "C " + Seen(x, y, r, style) + "; ";
  }
  void drArc(TModeler3D&, const double& x, const double& y, const double& r, const double& a1,
             const double& a2, int style, int dir) const override
  {
    calls += "A " + Seen(x, y, r, a1, a2, style, dir) + "; ";
  }
};

// Draws its members its own way: lists the ones asked for.
struct TOwnDrawing : TContour
{
  void drItem(TModeler3D&, int i, int) const override { drawn += std::to_string(i); }
  mutable std::string drawn;
};

// Whether Find2 found anything at (x, y), then the pairs it found.
std::string Found2(const TContour& c, double x, double y)
{
  TArrayOf<TPair<int, int>> f;
  std::string s = Seen(c.Find2(x, y, f));
  for (Integer i = 0; i < f.Count; ++i)
    s += " " + Seen(f[i].V1, f[i].V2);
  return s;
}

// The box of the members with the given marks, by the rectangle form (from (7,7)-(8,8)) and by the
// value form (from ones).
template <class... A> std::string Box(const TContour& c, A... marks)
{
  TRect2D R(7, 7, 8, 8);
  double l = 1, b = 1, r = 1, t = 1;
  c.RangeAtIn(unsigned(marks)..., R);
  c.RangeAtIn(unsigned(marks)..., l, b, r, t);
  return Seen(R.LD, R.RU, l, b, r, t);
}

// Two segments with a gap between them: direct, linked, direct within 0.00005.
std::string Links(double gap)
{
  const auto c = Made({new TLineSeg(-1, 0, 0, 0), new TLineSeg(gap, 0, 1, 1)});
  return Seen(c->IsDirect(), TContour::IsLink((*c)[0], (*c)[1]), c->IsDirect2(0.00005));
}

} // namespace

// One row per rule that the reference chain in ContourOpsTest does not reach.
TEST(ContourRules, OneRowEach)
{
  TContour joint, sq, gapped, pairs, marked, kinds, drawing, some, assigned, circle, big, huge;
  TOwnDrawing own;
  Fill(joint, {new TLineSeg(0, 0, 1, 0), new TBasePoint(1, 0), new TLineSeg(1, 0, 1, 1)});
  Square(sq);
  Square(big, 0, 0, 10);
  Fill(gapped, {new TLineSeg(0, 0.001, 4, 0), new TLineSeg(4, 0, 0, 0)});
  Fill(pairs, {new TLineSeg(0, 0, 1, 0), new TLineSeg(1, 0, 0, 0), new TArc(0, 0, 1, 0, 1),
               new TCircle(1, 0, 2), new TBasePoint(0, 0)});
  Fill(marked, {new TLineSeg(0, 0, 1, 1, 1), new TLineSeg(5, 5, 6, 7, 2), new TCircle(-3, 0, 1, 3)});
  kinds.Name2 = 5;
  Fill(kinds,
       {new TLineSeg(0, 0, 1, 0, 1), new TText(1, 2, 0.5, 3, TString("ab")), new TArc(0, 0, -2, 0, 1, 1)});
  Fill(assigned, {new TCircle(0, 0, 1)});
  Fill(drawing, {new TLineSeg(0, 0, 1, 2, 1), new TCircle(3, 4, 5, 2), new TArc(1, 1, -2, 1.0, 0.5, 3),
                 new TBasePoint(0, 0, 4), new TText(1, 1, 0, 2, TString("t"))});
  Fill(own, {new TLineSeg(0, 0, 1, 0, 2), new TLineSeg(1, 0, 1, 1, 3)});
  Fill(circle, {new TCircle(3, 4, 2)});
  Fill(huge, {new TCircle(0, 0, 1e7)});
  const auto open = Made({new TLineSeg(0, 0, 4, 0), new TLineSeg(4, 0, 4, 4)});
  const auto shuffled = Made({new TLineSeg(0, 0, 1, 0), new TLineSeg(2, 1, 1, 1), new TLineSeg(1, 0, 1, 1)});
  double t = 1, local = -1, tw = -1, cx = 1, cy = 1, len = 1, e[3] = {1, 1, 1}, a = 0.7, b = 0.7;
  const std::unique_ptr<TCurve2D> dup(kinds.Duplicate()), none(open->Trimmed(a, b, 1)), offset(big.Offset(1));
  const TContour* o = dynamic_cast<const TContour*>(offset.get());
  ASSERT_TRUE(o);
  alignas(std::max_align_t) unsigned char nowhere[64]; // the modeller: no one touches it
  TModeler3D& M = *reinterpret_cast<TModeler3D*>(nowhere);
  std::optional<TRecorder> rec;
  TPolyLine p[3];
  TRegion1D W(0, 2);
  std::vector<double> xyz;
  std::vector<int> edges;
  TCurve2D* rest = nullptr;
  TArrayOf<TString> text;
  Made({new TLineSeg(0, 0, 10, 5), new TArc(1, 2, -3, TMathDef::C_PI / 2, 0), new TCircle(1, 2, 3),
        new TBasePoint(1, 1)})
      ->toText(text);
  ASSERT_EQ(text.Count, 4); // a line per member
  ExpectRows({
      {"a joint: the later member, never one without range", Seen(joint.FindSegment(t, local)), "2"},
      {"... from its start", Seen(local), "0"},
      {"past the end the search clamps, the raw evaluation extends",
       Seen(At(joint, 5), RawAt(joint, -0.5), RawAt(joint, 2.5)), "1 1 -0.5 0 1 1.5"},
      {"a projection kept to some members stays on them",
       (sq.NearPointProjection({-3, 1}, {1e-6, 1e-6}, tw, false, &W), Seen(tw <= 2 + 1e-9)), "1"},
      {"a lone circle is closed, a lone full-turn arc not",
       Seen(Made({new TCircle(0, 0, 1)})->IsClosed(), Made({new TArc(0, 0, 1, 0, 0)})->IsClosed()), "1 0"},
      {"IsClosed asks", (sq.closed = false, Seen(sq.IsClosed())), "1"},
      {"... and does not set", Seen(sq.closed), "0"},
      {"IsClosed2 asks", Seen(sq.IsClosed2(1e-4)), "1"},
      {"... and sets", Seen(sq.closed), "1"},
      {"IsClosed2 within its tolerance", Seen(gapped.IsClosed2(1e-4)), "0"},
      {"... a wider one", Seen(gapped.IsClosed2(0.01)), "1"},
      {"ends link within 1e-4", Links(0) + " " + Links(0.0001) + " " + Links(0.00011), "1 1 1 1 1 0 0 0 0"},
      {"nothing links nothing", Seen(TContour::IsLink(nullptr, nullptr)), "0"},
      {"Find2: each member with an end or centre there", Found2(pairs, 0.00005, 0), "1 0 0 1 1 2 0"},
      {"Find2: nothing there", Found2(pairs, 5, 5), "0"},
      {"no such mark: the rectangle stays, the values are 0", Box(marked, 9), "7 7 8 8 0 0 0 0"},
      {"the box of one mark", Box(marked, 2), "5 5 6 7 5 5 6 7"},
      {"the box of two marks", Box(marked, 1, 2), "0 0 6 7 0 0 6 7"},
      {"the box of three marks", Box(marked, 1, 2, 3), "-4 -1 6 7 -4 -1 6 7"},
      {"members counted by mark", Seen(marked.CountAt(2)), "1"},
      {"a duplicate, kinds and text kept",
       Seen(StoredContour(static_cast<TContour&>(*dup)) == StoredContour(kinds)), "1"},
      {"an assigned copy", (assigned = kinds, Seen(StoredContour(assigned) == StoredContour(kinds))), "1"},
      {"a mark's members duplicated into the given one", Seen(kinds.DuplicateAt(1, &some) == &some), "1"},
      {"... those of that mark", Seen(some.Count), "2"},
      {"moved, every member goes along",
       (kinds.Mtr(10, 20, 0, 1), Seen(kinds[0]->PointTMax(), kinds[2]->PointTMin())), "11 20 12 20"},
      {"without a drawing link nothing is drawn", (drawing.drItems(M, 0), rec.emplace(), rec->calls), ""},
      {"drawn in the member's mark for style 0, else in the style; points, text, indices outside: nothing",
       (drawing.drItems(M, 0), drawing.drItem(M, 0, 7), drawing.drItem(M, -1, 7), drawing.drItem(M, 5, 7),
        rec->calls),
       "L 0 0 1 2 1; C 3 4 5 2; A 1 1 2 1 0.5 3 -1; L 0 0 1 2 7; "},
      {"a derived contour draws its own way, all or by mark",
       (own.drItems(M, 0), own.drItemsAt(M, 3, 0), own.drawn), "011"},
      {"closed: approximated by segment starts", (sq.Aproximate(p[0]), Seen(p[0].Points.Count)), "4"},
      {"open: adds its end", (open->Aproximate(p[1]), Seen(p[1].Points.Count, p[1].Points[2])), "3 4 4"},
      {"the hull's area, length and centre; an empty contour's are 0",
       (sq.CenterXYLenCut(cx, cy, len), TContour().CenterXYLenCut(e[0], e[1], e[2]),
        Seen(sq.Area(), sq.Len(), cx, cy, len, e[0], e[1], e[2])),
       "16 16 2 2 16 0 0 0"},
      {"edges: per member its point count and numbers, all numbered",
       (open->GetEdges(xyz, edges), Seen(edges.size() - xyz.size() / 3, edges.back() + 1.0 - xyz.size() / 3)),
       "2 0"},
      {"a huge member, sampled with a bounded number of points",
       (huge.Aproximate(p[2]), Seen(p[2].Points.Count > 1000 && p[2].Points.Count <= 100001)), "1"},
      {"an empty range trims to nothing", Seen(none == nullptr), "1"},
      {"an empty range deletes nothing", Seen(sq.DeletePart(1.5, 1.5, rest) == TCurve2D::dp_NoChanged), "1"},
      {"... and keeps every member", Seen(sq.Count), "4"},
      {"deleting all of a closed contour", Seen(sq.DeletePart(0, 4, rest) == TCurve2D::dp_Degenerated), "1"},
      {"... leaves nothing", Seen(sq.Count), "0"},
      {"a lone circle's signed area", Seen(circle.Area2()), Seen(4 * TMathDef::C_PI)},
      {"a part deleted from a lone circle", Seen(circle.DeletePart(1, 2, rest) == TCurve2D::dp_Changed), "1"},
      {"... leaves the arc around the rest",
       Seen(circle.Count, circle[0]->IsType() == tArc, circle.GetTMax()), Seen(1, 1, 2 * TMathDef::C_PI - 1)},
      {"chaining reorders the members", Seen(shuffled->MakeDirect(1e-6, true)), "1"},
      {"... into a chain from the first",
       Seen(shuffled->Count, shuffled->IsDirect(), (*shuffled)[2]->PointTMax()), "3 1 2 1"},
      {"a gap refuses chaining",
       Seen(Made({new TLineSeg(0, 0, 1, 0), new TLineSeg(5, 5, 6, 6)})->MakeDirect(1e-6, true)), "0"},
      {"a square's offset: sides, corner arcs (mark 2), round corners (distances: RegressionTest)",
       Seen(o->Count, o->CountAt(2), std::fabs(o->Area2())), Seen(8, 4, 144 - 4 + TMathDef::C_PI)},
      {"the text form of a segment", text[0].Utf8Text(), "Line(    0.00 ,    0.00 ,   10.00 ,    5.00"},
      {"an arc's", text[1].Utf8Text(), "Arc(    1.00 ,    2.00 ,    3.00 ,   90.00 ,    0.00 , -1"},
      {"a circle's", text[2].Utf8Text(), "Circle(    1.00 ,    2.00 ,    3.00"},
      {"an empty one for a point", text[3].Utf8Text(), ""},
  });
}

// Random contours of every kind read back to the same bytes.
TEST(ContourStream, RandomContoursReadBackEqual)
{
  std::mt19937 rng(3);
  std::uniform_real_distribution<double> u(-9, 9);
  for (int round = 0; round < 100; ++round) {
    TContour c;
    for (int n = round % 7, i = 0; i < n; ++i) {
      const double x = u(rng), y = u(rng), v = u(rng);
      const int atr = int(rng() % 4), kind = int(rng() % 5);
      c.Add(kind == 0   ? new TBasePoint(x, y, atr)
            : kind == 1 ? new TLineSeg(x, y, v, x, atr)
            : kind == 2 ? new TCircle(x, y, 1 + std::fabs(v), atr)
            : kind == 3 ? static_cast<TCurve2D*>(new TArc(x, y, v, y, x, atr))
                        : new TText(x, y, v, atr, TString("abc")));
    }
    c.Refresh();
    const Bytes once = StoredContour(c);
    TVersionedStream s(once, KmfVersion);
    TContour back;
    back.Load(s.S);
    EXPECT_EQ(StoredContour(back), once) << round;
  }
}

// Damaged data: what was read whole stays, one message, and an unknown kind stops the reading
// just after its code.
TEST(ContourStream, DamagedCountsAndMembersFailCleanly)
{
  const Bytes two = StoredContour(*Made({new TLineSeg(0, 0, 1, 0), new TLineSeg(1, 0, 1, 1)})),
              member(two.begin() + 4, two.begin() + 4 + (two.size() - 4) / 2);
  const std::tuple<const char*, Bytes, Integer, size_t, Integer> cases[] = {
      {"empty", Bytes(), 0, 0, 0},
      {"negative count", Ints({-3}), 0, 0, 0},
      {"count beyond the bytes", Cat({Ints({0x7fffffff}), Bytes(two.begin() + 4, two.end())}), 0, 1, -1},
      {"second member cut short", Bytes(two.begin(), two.end() - 8), 1, 1, -1},
      {"kind 0", Cat({Ints({1, 0}), Doubles({0, 0, 0})}), 0, 1, -1},
      {"unknown kind", Cat({Ints({2}), member, Ints({7}), Doubles({1, 2, 3, 4, 5})}), 1, 1, 40},
      {"whole", two, 2, 0, 0},
  };
  for (const auto& [what, data, members, messages, remaining] : cases) {
    TMessageRecorder rec;
    rec.Modeler.IsThere = true;
    TVersionedStream s(data, KmfVersion);
    const auto c = Made({new TCircle(0, 0, 1)}); // replaced by what is read
    c->Load(s.S);
    EXPECT_EQ(c->Count, members) << what;
    ASSERT_EQ(rec.HostBoxes().size(), messages) << what;
    EXPECT_TRUE(!messages || rec.HostBoxes()[0] == TString("Критическая ошибка чтения контура с потока"))
        << what;
    EXPECT_EQ(remaining < 0 ? remaining : s.S.Remaining(), remaining) << what;
  }
}
