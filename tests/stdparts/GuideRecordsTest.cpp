// The records of the guide parts, the sleeve, the stop pin, the clamp, the fitting and the spring:
// their sizes at the current version, their layouts, and what older records leave out.
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "StdPartsSupport.h"
#include "tests/TestNames.h"

namespace {

using Bytes = std::vector<unsigned char>;
using stdtest::Record;

// Reads payload as a stream of version v into d; the bytes left unread.
int ReadRecord(TDetail& d, const Bytes& payload, int v)
{
  TKmfData S;
  stdtest::Open(S, v, payload);
  d.fromStream(S);
  return int(S.Remaining());
}

Bytes Doubles(std::initializer_list<double> v)
{
  return stdtest::TBytes().Reals(v).B;
}

Bytes Head(bool design, int code)
{
  return stdtest::TBytes().Bool(design).Int(code).B;
}

Bytes operator+(Bytes a, const Bytes& b)
{
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// A part with every field set to a distinct value, and a fresh one to read into.
struct RecordCase
{
  const char* Name;
  int Size;
  std::function<std::unique_ptr<TDetail>(TModeler3D&, bool fill)> Make;
};

void PrintTo(const RecordCase& c, std::ostream* os)
{
  *os << c.Name;
}

template <class T> void FillReals(T& p, double* first, double* last)
{
  double v = 1.25;
  for (double* x = first; x <= last; ++x, v += 1.5)
    *x = v;
  p.Design = true;
  p.Code = 5012;
}

const TSocketLeaderPin Host(0, nullptr, nullptr, nullptr);

const RecordCase Records[] = {
    {"pillar", 125,
     [](TModeler3D& m, bool fill) -> std::unique_ptr<TDetail> {
       auto p = std::make_unique<TSocketLeaderPin>(0, &m, nullptr, nullptr);
       if (fill) {
         FillReals(*p, &p->Len, &p->Key);
         p->LD = {-50, -40};
         p->RU = {60, 45};
       }
       return p;
     }},
    {"pillar complementing", 93,
     [](TModeler3D& m, bool fill) -> std::unique_ptr<TDetail> {
       auto p = std::make_unique<TSocketLeaderPin>(0, &m, &Host, nullptr);
       if (fill) FillReals(*p, &p->Len, &p->Key);
       return p;
     }},
    {"bush", 69,
     [](TModeler3D& m, bool fill) -> std::unique_ptr<TDetail> {
       auto p = std::make_unique<TSocketLeaderPinBushing>(0, &m, nullptr);
       if (fill) FillReals(*p, &p->Radius, &p->GrooveLen);
       return p;
     }},
    {"sleeve", 69,
     [](TModeler3D& m, bool fill) -> std::unique_ptr<TDetail> {
       auto p = std::make_unique<TSocketLeaderPinLocatingSleeves>(0, &m, nullptr, nullptr);
       if (fill) FillReals(*p, &p->Radius, &p->ThreadRadius);
       return p;
     }},
    {"stop pin", 69,
     [](TModeler3D& m, bool fill) -> std::unique_ptr<TDetail> {
       auto p = std::make_unique<TStopPin>(0, &m, nullptr);
       if (fill) {
         FillReals(*p, &p->Radius, &p->Len);
         p->LD = {-50, -40};
         p->RU = {60, 45};
       }
       return p;
     }},
    {"guide plug", 85,
     [](TModeler3D& m, bool fill) -> std::unique_ptr<TDetail> {
       auto p = std::make_unique<TDirectPlug>(0, &m, TConstruktor::Empty());
       if (fill) {
         FillReals(*p, &p->Radius, &p->Len);
         p->LD = {-50, -40};
         p->RU = {60, 45};
       }
       return p;
     }},
    {"clamp", 5,
     [](TModeler3D& m, bool fill) -> std::unique_ptr<TDetail> {
       auto p = std::make_unique<TClamper>(0, &m);
       p->Design = fill;
       p->Code = fill ? 7 : 0;
       return p;
     }},
    {"fitting", 5,
     [](TModeler3D& m, bool fill) -> std::unique_ptr<TDetail> {
       auto p = std::make_unique<TFitting>(0, &m);
       p->Design = fill;
       p->Code = fill ? 9 : 0;
       return p;
     }},
    {"spring", 29,
     [](TModeler3D& m, bool fill) -> std::unique_ptr<TDetail> {
       auto p = std::make_unique<TWiredSpring>(0, &m);
       if (fill) FillReals(*p, &p->Radius, &p->Height);
       return p;
     }},
};

class GuideRecords : public ::testing::TestWithParam<RecordCase>
{
};

// Written, read back into a fresh part and written again: the same bytes, of the record's size.
TEST_P(GuideRecords, RoundTripsByteForByteAtTheCurrentVersion)
{
  TRecordingModeler m;
  const auto a = GetParam().Make(m, true);
  const Bytes first = Record(*a);
  EXPECT_EQ(int(first.size()), GetParam().Size);
  const auto b = GetParam().Make(m, false);
  EXPECT_EQ(ReadRecord(*b, first, KmfVersion), 0);
  EXPECT_EQ(Record(*b), first);
  EXPECT_EQ(b->Design, a->Design);
  EXPECT_EQ(b->Code, a->Code);
}

// A record cut anywhere reads what is there and zeros for the rest, and never more than it holds.
TEST_P(GuideRecords, ATruncatedRecordReadsZerosForWhatIsMissing)
{
  TRecordingModeler m;
  const Bytes whole = Record(*GetParam().Make(m, true));
  for (std::size_t n = 0; n < whole.size(); ++n) {
    const auto b = GetParam().Make(m, true);
    EXPECT_EQ(ReadRecord(*b, Bytes(whole.begin(), whole.begin() + n), KmfVersion), 0);
    Bytes expect(whole.begin(), whole.begin() + n);
    expect.resize(whole.size(), 0);
    EXPECT_EQ(Record(*b), expect) << n << " bytes";
  }
}

// A new part records no size and a code of 0.
TEST_P(GuideRecords, ANewPartWritesZeros)
{
  TRecordingModeler m;
  const Bytes r = Record(*GetParam().Make(m, false));
  EXPECT_EQ(r, Bytes(r.size(), 0));
}

INSTANTIATE_TEST_SUITE_P(All, GuideRecords, ::testing::ValuesIn(Records), hxcad::test::CaseNames());

// --- Layouts and gates -------------------------------------------------------------------------

TEST(GuideRecordLayout, ThePillarWritesItsRectangleFirstUnlessItComplements)
{
  TRecordingModeler m;
  TSocketLeaderPin p(0, &m, nullptr, nullptr);
  p.LD = {-50, -40};
  p.RU = {60, 45};
  p.Design = true;
  p.Code = 5003;
  p.Len = 80;
  p.Key = 26;
  const Bytes r = Record(p);
  EXPECT_EQ(Bytes(r.begin(), r.begin() + 37), Doubles({-50, 45, 60, -40}) + Head(true, 5003));
  EXPECT_EQ(Bytes(r.end() - 8, r.end()), Doubles({26}));
  TSocketLeaderPin c(0, &m, &p, nullptr);
  c.Design = true;
  c.Code = 5003;
  const Bytes rc = Record(c);
  EXPECT_EQ(int(rc.size()), 93);
  EXPECT_EQ(Bytes(rc.begin(), rc.begin() + 5), Head(true, 5003));
}

TEST(GuideRecordLayout, RecordsBeforeTheKeyWidthTakeItFromTheSeat)
{
  TRecordingModeler m;
  TSocketLeaderPin p(0, &m, nullptr, nullptr);
  p.FRadius = 12.5;
  p.Key = 3;
  const Bytes whole = Record(p);
  ASSERT_EQ(whole.size(), 125u);
  const Bytes r(whole.begin(), whole.end() - 8);
  TSocketLeaderPin q(0, &m, nullptr, nullptr);
  EXPECT_EQ(ReadRecord(q, r, 48), 0);
  EXPECT_EQ(q.Key, 26.0);
  EXPECT_EQ(q.FRadius, 12.5);
  TSocketLeaderPin k(0, &m, nullptr, nullptr);
  EXPECT_EQ(ReadRecord(k, Record(p), 49), 0);
  EXPECT_EQ(k.Key, 3.0);
}

TEST(GuideRecordLayout, BushRecordsBeforeTheGrooveHaveNone)
{
  TRecordingModeler m;
  TSocketLeaderPinBushing b(0, &m, nullptr);
  b.CollarRadius = 15;
  b.GrooveLen = 23;
  const Bytes r = Record(b);
  TSocketLeaderPinBushing old(0, &m, nullptr);
  old.GrooveLen = 5;
  EXPECT_EQ(ReadRecord(old, r, 36), 8);
  EXPECT_EQ(old.GrooveLen, 0.0);
  EXPECT_EQ(old.CollarRadius, 15.0);
  TSocketLeaderPinBushing now(0, &m, nullptr);
  EXPECT_EQ(ReadRecord(now, r, 37), 0);
  EXPECT_EQ(now.GrooveLen, 23.0);
}

TEST(GuideRecordLayout, StopPinRecordsBefore45HaveNoRectangle)
{
  TRecordingModeler m;
  TStopPin p(0, &m, nullptr);
  EXPECT_EQ(ReadRecord(p, Head(true, 0) + Doubles({4, 6, 5, 30}), 44), 0);
  EXPECT_EQ(p.Radius, 4.0);
  EXPECT_EQ(p.Len, 30.0);
  EXPECT_EQ(p.RU.x, 0.0);
  p.RU = {60, 45};
  p.LD = {-50, -40};
  const Bytes r = Record(p);
  EXPECT_EQ(Bytes(r.begin() + 5, r.begin() + 37), Doubles({60, -50, 45, -40}));
}

TEST(GuideRecordLayout, SpringRecordsBefore44KeepDesignAndCode)
{
  TRecordingModeler m;
  TWiredSpring s(0, &m);
  s.Design = true;
  s.Code = 77;
  EXPECT_EQ(ReadRecord(s, Doubles({10, 1, 50}), 43), 0);
  EXPECT_TRUE(s.Design);
  EXPECT_EQ(s.Code, 77);
  EXPECT_EQ(s.Height, 50.0);
  TWiredSpring t(0, &m);
  EXPECT_EQ(ReadRecord(t, Head(true, 9) + Doubles({10, 1, 50}), 44), 0);
  EXPECT_EQ(t.Code, 9);
  EXPECT_EQ(t.WireRadius, 1.0);
}

TEST(GuideRecordLayout, TheGuidePlugWritesItsRectangleUpperCornerFirst)
{
  TRecordingModeler m;
  TDirectPlug p(0, &m, TConstruktor::Empty());
  p.LD = {-50, -40};
  p.RU = {60, 45};
  const Bytes r = Record(p);
  EXPECT_EQ(Bytes(r.begin() + 5, r.begin() + 37), Doubles({60, 45, -50, -40}));
}

} // namespace
