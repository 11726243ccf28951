// Records of the ejectors, plugs, rings, washers, shanks and their kin: the bytes each class
// writes, checked against its layout written out here; reading back at every version gate;
// truncated and hostile records; the previews and the plate extent.
#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include <gtest/gtest.h>

#include "StdPartsSupport.h"
#include "hxcadkit/geometry/GImage.h"
#include "hxcadkit/stdparts/MathDetailsl.h"
#include "tests/TestNames.h"

namespace {

using TItem = std::variant<double*, Integer*>;

// One class: how to make it, and its items after Design and Code in the order of its record.
struct TRecordCase
{
  std::string Name;
  int Size;
  bool HasCode;
  std::function<std::unique_ptr<TDetail>(TModeler3D*)> Make;
  std::function<std::vector<TItem>(TDetail&)> Items;
};

void PrintTo(const TRecordCase& c, std::ostream* os)
{
  *os << c.Name;
}

template <class T> T& As(TDetail& d)
{
  return dynamic_cast<T&>(d);
}

TConstruktor& EmptyDesigner()
{
  return TConstruktor::Empty();
}

const std::vector<TRecordCase>& RecordCases()
{
  static const std::vector<TRecordCase> cases = {
      {"BackEjector", 93, true,
       [](TModeler3D* M) { return std::make_unique<TBackEjector>(1, M, EmptyDesigner(), 2); },
       [](TDetail& d) -> std::vector<TItem> {
         auto& p = As<TBackEjector>(d);
         return {&p.LD.x,         &p.RU.x,      &p.RU.y,   &p.LD.y, &p.Radius,  &p.CollarHeight,
                 &p.CollarRadius, &p.FitRadius, &p.FitLen, &p.Len,  &p.LenOpora};
       }},
      {"DirectColumn", 45, true,
       [](TModeler3D* M) { return std::make_unique<TDirectColumn>(1, M, EmptyDesigner()); },
       [](TDetail& d) -> std::vector<TItem> {
         auto& p = As<TDirectColumn>(d);
         return {&p.Radius, &p.TailRadius, &p.TailLen, &p.Len, &p.SupportLen};
       }},
      {"WasherEjectorChannel", 21, true,
       [](TModeler3D* M) { return std::make_unique<TWasherEjectorChannel>(1, M, EmptyDesigner()); },
       [](TDetail& d) -> std::vector<TItem> {
         auto& p = As<TWasherEjectorChannel>(d);
         return {&p.Height, &p.Radius};
       }},
      {"MTail", 61, true, [](TModeler3D* M) { return std::make_unique<TMTail>(1, M, EmptyDesigner()); },
       [](TDetail& d) -> std::vector<TItem> {
         auto& p = As<TMTail>(d);
         return {&p.Radius,     &p.Len,          &p.ThreadLen,   &p.ThreadRadius,
                 &p.ThreadStep, &p.CollarHeight, &p.CollarRadius};
       }},
      {"EjectorChannel", 93, true,
       [](TModeler3D* M) { return std::make_unique<TEjectorChannel>(1, M, EmptyDesigner(), nullptr); },
       [](TDetail& d) -> std::vector<TItem> {
         auto& p = As<TEjectorChannel>(d);
         return {&p.Radius, &p.Len,          &p.FreeRadius,   &p.SpringRadius, &p.SpringLen,  &p.FitRadius,
                 &p.FitLen, &p.CollarRadius, &p.CollarHeight, &p.GradeLen,     &p.GradeHeight};
       }},
      {"EjectorPlug", 69, true,
       [](TModeler3D* M) { return std::make_unique<TEjectorPlug>(1, M, EmptyDesigner()); },
       [](TDetail& d) -> std::vector<TItem> {
         auto& p = As<TEjectorPlug>(d);
         return {&p.Radius,       &p.Len,      &p.ConeLen,   &p.CollarHeight,
                 &p.CollarRadius, &p.ECRadius, &p.EC2Radius, &p.EC2Len};
       }},
      {"TubeDowel", 29, true,
       [](TModeler3D* M) { return std::make_unique<TTubeDowel>(1, M, EmptyDesigner()); },
       [](TDetail& d) -> std::vector<TItem> {
         auto& p = As<TTubeDowel>(d);
         return {&p.Radius, &p.Len, &p.ECRadius};
       }},
      {"InjectPlug", 85, true,
       [](TModeler3D* M) { return std::make_unique<TInjectPlug>(1, M, EmptyDesigner()); },
       [](TDetail& d) -> std::vector<TItem> {
         auto& p = As<TInjectPlug>(d);
         return {&p.FitLen,     &p.Len,       &p.SphereRadius, &p.SphereLen,    &p.MFitRadius,
                 &p.BFitRadius, &p.TPARadius, &p.CollarHeight, &p.CollarRadius, &p.LenDelta};
       }},
      {"SupportWasher", 61, true,
       [](TModeler3D* M) { return std::make_unique<TSupportWasher>(1, M, nullptr); },
       [](TDetail& d) -> std::vector<TItem> {
         auto& p = As<TSupportWasher>(d);
         return {&p.Len,         &p.Radius,         &p.CollarRadius, &p.CollarHeight,
                 &p.BoltHeadLen, &p.BoltHeadRadius, &p.BoltRadius};
       }},
      {"ReTraction", 53, true,
       [](TModeler3D* M) { return std::make_unique<TReTraction>(1, M, EmptyDesigner()); },
       [](TDetail& d) -> std::vector<TItem> {
         auto& p = As<TReTraction>(d);
         return {&p.Radius, &p.Len, &p.FitLen, &p.Fit2Len, &p.CollarHeight, &p.CollarRadius};
       }},
      {"ProtectSupport", 53, true,
       [](TModeler3D* M) { return std::make_unique<TProtectSupport>(1, M, EmptyDesigner()); },
       [](TDetail& d) -> std::vector<TItem> {
         auto& p = As<TProtectSupport>(d);
         return {&p.ThreadLen, &p.Len, &p.ThreadRadius, &p.Radius, &p.Key, &p.LenToKey};
       }},
      {"RepairBolt", 49, false,
       [](TModeler3D* M) { return std::make_unique<TRepairBolt>(1, M, EmptyDesigner()); },
       [](TDetail& d) -> std::vector<TItem> {
         auto& p = As<TRepairBolt>(d);
         return {&p.X, &p.Depth, &p.Len, &p.Radius, &p.UpperLen, &p.UpperRadius};
       }},
      {"ColumnTail", 97, true,
       [](TModeler3D* M) { return std::make_unique<TColumnTail>(1, M, EmptyDesigner()); },
       [](TDetail& d) -> std::vector<TItem> {
         auto& p = As<TColumnTail>(d);
         return {&p.Count,    &p.PlaceRadius, &p.Angle[0], &p.Angle[1], &p.Angle[2],  &p.Angle[3],
                 &p.Angle[4], &p.Radius,      &p.Key,      &p.Len,      &p.ThreadLen, &p.ThreadRadius};
       }},
      {"CirclePlane", 45, true,
       [](TModeler3D* M) { return std::make_unique<TCirclePlane>(1, M, EmptyDesigner(), nullptr, nullptr); },
       [](TDetail& d) -> std::vector<TItem> {
         auto& p = As<TCirclePlane>(d);
         return {&p.Thickness, &p.Radius, &p.BoltRadius, &p.BoltHeadRadius, &p.BoltHeadLen};
       }},
      {"LocatingRing", 153, true,
       [](TModeler3D* M) { return std::make_unique<TLocatingRing>(1, 2, M, nullptr, nullptr); },
       [](TDetail& d) -> std::vector<TItem> {
         auto& p = As<TLocatingRing>(d);
         return {&p.Thickness,      &p.Radius,      &p.BaseRadius,    &p.BaseThickness,
                 &p.InRadius,       &p.InThickness, &p.InAngle,       &p.FixRadius,
                 &p.PinRadius,      &p.PinAngle,    &p.FixBoltRadius, &p.FixBoltHeadRadius,
                 &p.FixBoltHeadLen, &p.CountFix,    &p.FixAngle[0],   &p.FixAngle[1],
                 &p.FixAngle[2],    &p.FixAngle[3], &p.FixAngle[4]};
       }},
      {"EjectorPin", 45, true,
       [](TModeler3D* M) { return std::make_unique<TEjectorPin>(M, EmptyDesigner()); },
       [](TDetail& d) -> std::vector<TItem> {
         auto& p = As<TEjectorPin>(d);
         return {&p.d, &p.D, &p.k, &p.R, &p.Len};
       }},
  };
  return cases;
}

// Little-endian bytes of a value, as the layout says.
template <class T> void Append(std::vector<unsigned char>& b, T v)
{
  unsigned char raw[sizeof v];
  std::memcpy(raw, &v, sizeof v);
  b.insert(b.end(), raw, raw + sizeof v);
}

// Gives every item its own value (k-th item: 1000 + 10.25 k, or 3 for a count) and returns the
// record those values make.
std::vector<unsigned char> Fill(const TRecordCase& c, TDetail& d, int code)
{
  d.Design = true;
  d.Code = code;
  std::vector<unsigned char> b;
  Append<unsigned char>(b, 1);
  if (c.HasCode) Append<Integer>(b, code);
  int k = 0;
  for (const TItem& item : c.Items(d)) {
    if (auto* p = std::get_if<double*>(&item)) {
      **p = 1000.0 + 10.25 * k;
      Append(b, **p);
    } else {
      *std::get<Integer*>(item) = 3;
      Append<Integer>(b, 3);
    }
    ++k;
  }
  return b;
}

using stdtest::Record;

// A stream of the version holding bytes, then the marker 0x5A5A5A5A.
void Load(TKmfData& S, std::vector<unsigned char> bytes, int version, bool marker = true)
{
  if (marker) bytes.insert(bytes.end(), {0x5A, 0x5A, 0x5A, 0x5A});
  stdtest::Open(S, version, bytes);
  ASSERT_EQ(S.Version(), version);
}

class Records : public ::testing::TestWithParam<TRecordCase>
{
protected:
  TRecordingModeler M;
};

// The bytes of a record are the layout, item for item; read back into a new object they give
// the same bytes again and the reader stops right at the record's end.
TEST_P(Records, WriteTheLayoutAndReadItBack)
{
  const TRecordCase& c = GetParam();
  auto part = c.Make(&M);
  const std::vector<unsigned char> layout = Fill(c, *part, 17042);
  ASSERT_EQ(int(layout.size()), c.Size);
  EXPECT_EQ(Record(*part), layout);

  auto back = c.Make(&M);
  TKmfData S;
  Load(S, layout, KmfVersion);
  back->fromStream(S);
  EXPECT_EQ(S.ReadInteger(), 0x5A5A5A5A) << "the next record starts right after this one";
  EXPECT_FALSE(S.ErrorReadFromFileToBufer);
  EXPECT_TRUE(back->Design);
  EXPECT_EQ(back->Code, c.HasCode ? 17042 : 0);
  EXPECT_EQ(Record(*back), layout);
}

// A record cut short anywhere reads its missing items as zeros (a missing Design as false) and
// says so through the stream's error flag; what it holds is kept.
TEST_P(Records, ATruncatedRecordReadsZerosForWhatIsMissing)
{
  const TRecordCase& c = GetParam();
  auto source = c.Make(&M);
  const std::vector<unsigned char> layout = Fill(c, *source, 17042);
  for (std::size_t n = 0; n < layout.size(); ++n) {
    auto part = c.Make(&M);
    Fill(c, *part, 99); // every item non-zero before reading
    TKmfData S;
    Load(S, {layout.begin(), layout.begin() + long(n)}, KmfVersion, false);
    part->fromStream(S);
    EXPECT_TRUE(S.ErrorReadFromFileToBufer) << n;
    std::vector<unsigned char> expected(layout.begin(), layout.begin() + long(n));
    expected.resize(layout.size(), 0);
    EXPECT_EQ(Record(*part), expected) << "cut after " << n << " bytes";
  }
}

INSTANTIATE_TEST_SUITE_P(EveryClass, Records, ::testing::ValuesIn(RecordCases()), hxcad::test::CaseNames());

// The fields added late, each the last item of its record: a stream older than the version
// that brought one lacks it, the default takes its place and the next record starts right where
// the older record ended.
struct TLateField
{
  std::string Case;
  int Version;                                // the first version whose records hold the item
  std::vector<std::pair<int, double>> Before; // items set before writing: (index, value)
  double Default;                             // of those values
};

void PrintTo(const TLateField& g, std::ostream* os)
{
  *os << g.Case << "_" << g.Version;
}

class LateFields : public ::testing::TestWithParam<TLateField>
{
protected:
  TRecordingModeler M;
};

TEST_P(LateFields, OlderStreamsLackTheLastItem)
{
  const TLateField& g = GetParam();
  const TRecordCase& c =
      *std::find_if(RecordCases().begin(), RecordCases().end(), [&](auto& k) { return k.Name == g.Case; });
  const auto last = [&](TDetail& d) { return *std::get<double*>(c.Items(d).back()); };
  auto part = c.Make(&M);
  Fill(c, *part, 5001);
  for (const auto& [i, v] : g.Before)
    *std::get<double*>(c.Items(*part)[std::size_t(i)]) = v;
  const std::vector<unsigned char> full = Record(*part);

  // At the gate and after: the whole record, the stored value.
  for (const int v : {g.Version, KmfVersion}) {
    auto back = c.Make(&M);
    TKmfData S;
    Load(S, full, v);
    back->fromStream(S);
    EXPECT_EQ(last(*back), last(*part)) << v;
    EXPECT_EQ(S.ReadInteger(), 0x5A5A5A5A) << v;
    EXPECT_EQ(Record(*back), full) << v;
  }
  // Before it: the record ends one double earlier.
  for (const int v : {g.Version - 1, 0}) {
    auto back = c.Make(&M);
    TKmfData S;
    Load(S, {full.begin(), full.end() - 8}, v);
    back->fromStream(S);
    EXPECT_EQ(last(*back), g.Default) << v;
    EXPECT_EQ(S.ReadInteger(), 0x5A5A5A5A) << v;
    EXPECT_FALSE(S.ErrorReadFromFileToBufer) << v;
  }
}

const TLateField Gates[] = {{"BackEjector", 92, {}, 20.0},
                            {"DirectColumn", 93, {{2, 15.0}, {3, 100.0}}, 70.0},
                            {"InjectPlug", 17, {}, 0.0}};

INSTANTIATE_TEST_SUITE_P(Gates, LateFields, ::testing::ValuesIn(Gates), hxcad::test::CaseNames());

TEST(BackEjectorRecord, WritesItsCornersInItsOwnOrder)
{
  TRecordingModeler M;
  TBackEjector p(1, &M, EmptyDesigner(), 2);
  p.LD = {-50.0, -40.0};
  p.RU = {50.0, 40.0};
  const std::vector<unsigned char> b = Record(p);
  double v[4];
  std::memcpy(v, b.data() + 5, sizeof v);
  EXPECT_EQ((std::vector<double>(v, v + 4)), (std::vector<double>{-50.0, 50.0, 40.0, -40.0}));
}

TEST(MouldConstructors, StartEmptyAndKeepTheirLinks)
{
  TRecordingModeler M;
  TEjectorPlug plug(3, &M, EmptyDesigner());
  TColumnTail tail(5, &M, EmptyDesigner());
  const TEjectorChannel channel(4, &M, EmptyDesigner(), &plug);
  const TCirclePlane plane(7, &M, EmptyDesigner(), &tail, &plug);
  const TLocatingRing ring(8, 9, &M, nullptr, &tail);
  const TBackEjector back(10, &M, EmptyDesigner(), 11);
  EXPECT_EQ(channel.Complement, &plug);
  EXPECT_EQ(plane.Complement, &tail);
  EXPECT_EQ(plane.Complement2, &plug);
  EXPECT_EQ(ring.Complement, &tail);
  EXPECT_EQ((std::vector<int>{ring.Id, ring.Id2, back.Id, back.Id2}), (std::vector<int>{8, 9, 10, 11}));
  EXPECT_EQ(back.PCon, &EmptyDesigner());
  // Every record of a new part: Design false, Code 0, the rectangle and every size 0.
  for (const TRecordCase& c : RecordCases())
    EXPECT_EQ(Record(*c.Make(&M)), std::vector<unsigned char>(std::size_t(c.Size), 0)) << c.Name;
}

// --- Previews and extents ------------------------------------------------------------------------

struct TShown
{
  int Pens = 0;
  std::vector<std::vector<double>> Circles; // x, y, r
};

TShown Shown(const TGImage& G)
{
  TShown s;
  for (int i = 0; i < G.CountLElement; ++i) {
    const TGImage::TGElement& e = G.LElements[i];
    if (e.TE == eColorStyle) {
      EXPECT_EQ(s.Circles.size(), 0u) << "the pen comes first";
      ++s.Pens;
    } else if (e.TE == eCircle)
      s.Circles.push_back({e.xc, e.yc, e.R});
  }
  return s;
}

TEST(MouldPreviews, BackEjectorDrawsItsCornersThroughEitherInterface)
{
  TRecordingModeler M;
  TBackEjector p(1, &M, EmptyDesigner(), 2);
  p.LD = {-50.0, -40.0};
  p.RU = {60.0, 30.0};
  p.Radius = 6.0;
  TGImage G;
  p.Show(G, clRed);
  EXPECT_EQ(G.CountLElement, 0) << "without a size nothing, not even the pen";
  p.Design = true;
  const TDetail& base = p;
  base.Show(G, clRed); // the preview is the part's own whichever way it is called
  const TShown s = Shown(G);
  EXPECT_EQ(s.Pens, 1);
  EXPECT_EQ(s.Circles,
            (std::vector<std::vector<double>>{{-50, 30, 6}, {-50, -40, 6}, {60, 30, 6}, {60, -40, 6}}));
}

TEST(MouldPreviews, CirclesOnTheirCircleAtMostFive)
{
  TRecordingModeler M;
  TColumnTail tail(1, &M, EmptyDesigner());
  tail.Design = true;
  tail.PlaceRadius = 10.0;
  tail.Radius = 2.0;
  for (int i = 0; i < 5; ++i)
    tail.Angle[i] = 90.0 * i;
  const struct
  {
    Integer Count;
    std::size_t Circles;
  } counts[] = {{0, 0}, {2, 2}, {5, 5}, {6, 5}, {1 << 30, 5}, {-1, 0}, {INT32_MIN, 0}};
  for (const auto& c : counts) {
    tail.Count = c.Count;
    TGImage G;
    tail.Show(G, clBlue);
    const TShown s = Shown(G);
    EXPECT_EQ(s.Pens, 1) << c.Count;
    ASSERT_EQ(s.Circles.size(), c.Circles) << c.Count;
    if (c.Circles >= 2) {
      EXPECT_NEAR(s.Circles[1][0], 0.0, 1e-12);
      EXPECT_NEAR(s.Circles[1][1], 10.0, 1e-12);
      EXPECT_EQ(s.Circles[1][2], 2.0);
    }
    // A count beyond the angles still round-trips as it was read.
    TKmfData S;
    Load(S, Record(tail), KmfVersion);
    TColumnTail back(1, &M, EmptyDesigner());
    back.fromStream(S);
    EXPECT_EQ(back.Count, c.Count);
  }

  TLocatingRing ring(1, 2, &M, nullptr, nullptr);
  ring.Design = true;
  ring.CountFix = 1000;
  ring.FixRadius = 40.0;
  ring.FixBoltRadius = 3.0;
  TGImage G;
  ring.Show(G, clBlue);
  EXPECT_EQ(Shown(G).Circles.size(), 5u);
  EXPECT_EQ(ring.FixPositions(), 5);
}

TEST(MouldPreviews, TheOthers)
{
  TRecordingModeler M;
  TReTraction re(1, &M, EmptyDesigner());
  re.Radius = 5.0;
  re.CollarRadius = 8.0;
  TProtectSupport ps(1, &M, EmptyDesigner());
  TRepairBolt rb(1, &M, EmptyDesigner());
  TCirclePlane cp(1, &M, EmptyDesigner(), nullptr, nullptr);
  TGImage G;
  for (TDetail* d : std::initializer_list<TDetail*>{&re, &ps, &rb, &cp})
    d->Show(G, clRed);
  EXPECT_EQ(G.CountLElement, 0) << "nothing without a size";
  for (TDetail* d : std::initializer_list<TDetail*>{&re, &ps, &rb, &cp}) {
    d->Design = true;
    d->Show(G, clRed);
  }
  const TShown s = Shown(G);
  EXPECT_EQ(s.Pens, 0) << "the retraction has no pen of its own, the others draw nothing";
  EXPECT_EQ(s.Circles, (std::vector<std::vector<double>>{{0, 0, 5}, {0, 0, 8}}));
}

TEST(MouldExtent, BackEjectorWidensByItsCornersOnly)
{
  TRecordingModeler M;
  TBackEjector p(1, &M, EmptyDesigner(), 2);
  p.LD = {10.0, -40.0};
  p.RU = {60.0, 40.0};
  p.Radius = 5.0;
  TRect2D G(0.0, 0.0, 0.0, 0.0);
  p.AddGabIn(G, 2.0);
  EXPECT_EQ((std::vector<double>{G.LD.x, G.LD.y, G.RU.x, G.RU.y}), (std::vector<double>{0, 0, 0, 0}))
      << "nothing without a size";
  p.Design = true;
  p.AddGabIn(G, 2.0);
  EXPECT_EQ((std::vector<double>{G.LD.x, G.LD.y, G.RU.x, G.RU.y}), (std::vector<double>{0, -47, 67, 47}));
  TRect2D wide(-100.0, -100.0, 100.0, 100.0);
  p.AddGabIn(wide, cMinDistBackEjectorBorder);
  EXPECT_EQ((std::vector<double>{wide.LD.x, wide.LD.y, wide.RU.x, wide.RU.y}),
            (std::vector<double>{-100, -100, 100, 100}));
}

} // namespace
