// Stream records of the curves: the exact bytes, reads of older format versions (the name from
// version 89, arc angles in radians from 90), truncated records, and the text element's string
// and copies.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "CurveTestUtil.h"
#include "hxcadkit/core/KmfData.h"
#include "hxcadkit/geometry/Elements.h"
#include "hxcadkit/geometry/SolverInterSect.h"

using namespace curvetest;

namespace {

template <class T> T Named(T c, int name, int atr)
{
  c.Name2 = name;
  c.Atr = atr;
  return c;
}

TEST(CurveStreamBytes, EachKindsRecord)
{
  EXPECT_EQ(Stored(Named(TBasePoint(1, 2), 7, 3)), Cat({Ints({7, 3}), Doubles({1, 2})}));
  EXPECT_EQ(Stored(Named(TCircle(1, 2, 5), 7, 3)), Cat({Ints({7, 3}), Doubles({1, 2, 5})}));
  EXPECT_EQ(Stored(Named(TLineSeg(1, 2, 3, 4), -1, 0)), Cat({Ints({-1, 0}), Doubles({1, 2, 3, 4})}));
  EXPECT_EQ(Stored(Named(TLine(1, 2, 3, 4), 0, 8)), Cat({Ints({0, 8}), Doubles({1, 2, 3, 4})}));
  // A clockwise arc stores its radius negative.
  const TArc cw(1, 2, -3, TMathDef::C_PI, 0);
  EXPECT_EQ(Stored(cw), Cat({Ints({0, 0}), Doubles({1, 2, -3, TMathDef::C_PI, 0})}));
  const TArc ccw(1, 2, 3, 0, TMathDef::C_PI);
  EXPECT_EQ(Stored(ccw), Cat({Ints({0, 0}), Doubles({1, 2, 3, 0, TMathDef::C_PI})}));
  TText t(1, 2, 0.5, 3.5, TString("AB"));
  t.Name2 = 4;
  TKmfData S;
  TString("AB").toStream(S);
  Bytes all;
  S.to(all);
  const Bytes text(all.begin() + KmfHeaderSize, all.end());
  EXPECT_EQ(Stored(t), Cat({Ints({4, 0}), Doubles({1, 2, 0.5, 3.5}), text}));
}

TEST(CurveStreamVersion, NameFromVersion89)
{
  // Before version 89 two words stand where the name is: read, dropped, name 0.
  const Bytes old = Cat({Ints({111, 222, 5}), Doubles({1, 2})});
  const TBasePoint p88 = Reloaded<TBasePoint>(old, 88);
  EXPECT_EQ(p88.Name2, 0);
  EXPECT_EQ(p88.Atr, 5);
  EXPECT_EQ(p88.x, 1);
  EXPECT_EQ(p88.y, 2);
  const Bytes now = Cat({Ints({111, 5}), Doubles({1, 2})});
  const TBasePoint p89 = Reloaded<TBasePoint>(now, 89);
  EXPECT_EQ(p89.Name2, 111);
  EXPECT_EQ(p89.Atr, 5);
  EXPECT_EQ(p89.y, 2);
}

TEST(CurveStreamVersion, ArcDegreesBeforeVersion90)
{
  const Bytes degrees = Cat({Ints({0, 0}), Doubles({0, 0, 2, 90, 180})});
  const TArc a89 = Reloaded<TArc>(degrees, 89);
  EXPECT_NEAR(a89.A1, TMathDef::C_PI / 2, 1e-15);
  EXPECT_NEAR(a89.A2, TMathDef::C_PI, 1e-15);
  EXPECT_EQ(a89.sense, TArc::BackClockWise);
  const Bytes radians = Cat({Ints({0, 0}), Doubles({0, 0, -2, 1, 0.5})});
  const TArc a90 = Reloaded<TArc>(radians, 90);
  EXPECT_EQ(a90.A1, 1);
  EXPECT_EQ(a90.A2, 0.5);
  EXPECT_EQ(a90.sense, TArc::ByClockWise);
  EXPECT_EQ(a90.Radius, 2);
}

// A damaged file's arc, its angles millions of turns out, loads as an arc of at most one turn whose
// start lies within a turn (each point taken on it would otherwise cost an exact reduction); stored
// arcs of any writer keep their angles.
TEST(CurveStreamLoad, ArcAnglesFarOutComeBackWithinATurn)
{
  struct TCase
  {
    double A1, A2, Sweep;
  };
  for (const TCase c :
       {TCase{1e17, 1e17, 0}, TCase{-3e16, 5e18, TMathDef::C_2PI}, TCase{2.5, -1e300, -TMathDef::C_2PI}}) {
    SCOPED_TRACE(c.A1);
    const TArc a = Reloaded<TArc>(Cat({Ints({0, 0}), Doubles({1, 2, 3, c.A1, c.A2})}), 90);
    EXPECT_GE(a.A1, 0);
    EXPECT_LT(a.A1, TMathDef::C_2PI);
    EXPECT_EQ(a.A2 - a.A1, c.Sweep);
    EXPECT_LE(a.GetTMax(), TMathDef::C_2PI);
  }
  const TArc kept = Reloaded<TArc>(Cat({Ints({0, 0}), Doubles({1, 2, 3, -20, 40})}), 90);
  EXPECT_EQ(kept.A1, -20);
  EXPECT_EQ(kept.A2, 40);
}

TEST(CurveStreamLoad, TruncatedRecordsReadZeros)
{
  const Bytes full = Stored(Named(TLineSeg(1, 2, 3, 4), 5, 6));
  for (std::size_t keep = 0; keep < full.size(); keep += 4) {
    const Bytes part(full.begin(), full.begin() + keep);
    const TLineSeg s = Reloaded<TLineSeg>(part);
    SCOPED_TRACE(keep);
    EXPECT_EQ(s.Name2, keep >= 4 ? 5 : 0);
    EXPECT_EQ(s.Atr, keep >= 8 ? 6 : 0);
    EXPECT_EQ(s.x, keep >= 16 ? 1 : 0);
    EXPECT_EQ(s.yk, 0);
  }
  const Bytes text = Stored(TText(1, 2, 3, 4, TString("hello")));
  const TText t = Reloaded<TText>(Bytes(text.begin(), text.begin() + 30));
  EXPECT_EQ(t.Angle, 0);
  EXPECT_TRUE(t.Text->Empty());
}

TEST(TextElement, RoundTripKeepsEverything)
{
  TText t(1, 2, 30, 3.5, TString("Муфта"));
  t.Name2 = 8;
  t.Atr = 9;
  const TText r = Reloaded<TText>(Stored(t));
  EXPECT_EQ(r.x, 1);
  EXPECT_EQ(r.y, 2);
  EXPECT_EQ(r.Angle, 30);
  EXPECT_EQ(r.Height, 3.5);
  EXPECT_EQ(*r.Text, TString("Муфта"));
  EXPECT_EQ(r.Name2, 8);
  EXPECT_EQ(r.Atr, 9);
  EXPECT_EQ(r.IsType(), tText);
  // An empty text travels in the empty string's form.
  TKmfData S;
  TString().toStream(S);
  Bytes all;
  S.to(all);
  const Bytes empty(all.begin() + KmfHeaderSize, all.end());
  EXPECT_EQ(Stored(TText(0, 0, 0, 0, TString())), Cat({Ints({0, 0}), Doubles({0, 0, 0, 0}), empty}));
}

TEST(TextElement, CopiesStayTexts)
{
  // Copies used to come out as plain points, losing text, angle and height.
  TText t(1, 2, 45, 2.5, TString("M20"));
  t.Atr = 3;
  std::unique_ptr<TCurve2D> d(static_cast<const TCurve2D&>(t).Duplicate());
  ASSERT_EQ(d->IsType(), tText);
  const TText& c = static_cast<const TText&>(*d);
  EXPECT_EQ(*c.Text, TString("M20"));
  EXPECT_EQ(c.Angle, 45);
  EXPECT_EQ(c.Height, 2.5);
  EXPECT_EQ(c.Atr, 3);
  EXPECT_NE(c.Text, t.Text);
  TText u;
  u = t;
  EXPECT_EQ(*u.Text, TString("M20"));
  EXPECT_NE(u.Text, t.Text);
}

} // namespace
