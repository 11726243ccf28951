// Names, the parameter block and the generated files of the coupling model.
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include <unistd.h>

#include "../txhost/TestSupport.h"
#include "CouplingFixture.h"

namespace {
struct TNamed
{
  double M, P1d, P2d;
  int T1, T2;
  const char *Main, *Code, *Part3, *Assembly;
};

void Use(const TNamed& n)
{
  ControlModel.Path = TString("/tmp/c/");
  ControlModel.PrefixName = TString("МУВП ");
  ControlModel.StandartName = TString("ГОСТ 21424-93");
  ControlModel.M = n.M, ControlModel.P1d = n.P1d, ControlModel.P2d = n.P2d;
  ControlModel.T1 = n.T1, ControlModel.T2 = n.T2;
}

// The block of the model as written by hand: the documented layout.
std::vector<std::uint8_t> Layout(const TControlModelCoupling& c)
{
  std::vector<std::uint8_t> v(256, 0);
  const std::uint8_t head[8] = {0xDD, 0xDE, 0x7E, 0x01, 97, 0, 0, 0};
  std::memcpy(v.data(), head, 8);
  auto put = [&](const void* p, std::size_t n) {
    v.insert(v.end(), (const std::uint8_t*)p, (const std::uint8_t*)p + n);
  };
  auto str = [&](const TString& s) {
    std::int32_t n = s.Length();
    put(&n, 4);
    put(s.PChar(), n + 1);
  };
  put(&c.M, 8), put(&c.P1d, 8), put(&c.P2d, 8);
  str(c.CouplingName), str(c.StandartName);
  put(&c.pX, 8), put(&c.pY, 8), put(&c.pAngle, 8);
  put(&c.TView, 4), put(&c.T1, 4), put(&c.T2, 4);
  return v;
}
} // namespace

TEST(ControlModelNames, FollowTheSizesAndBoreTypes)
{
  const TNamed cases[] = {
      {31.5, 40, 40, 0, 0, "МУВП   31.50-40-1-ГОСТ 21424-93", "Муфта-  31.50-40-1-ГОСТ 21424-93",
       "/tmp/c/МУВП      40-3ГОСТ 21424-93.tpt", "/tmp/c/МУВП      40ГОСТ 21424-93.tas"},
      // Within 2e-6 the file names agree, the designations do not.
      {250, 40, 40.000001, 0, 0, "МУВП  250.00-40-1-40-1-ГОСТ 21424-93",
       "Муфта- 250.00-40-1-40-1-ГОСТ 21424-93", "/tmp/c/МУВП      40-3ГОСТ 21424-93.tpt", nullptr},
      {1000, 31.9, 45, 1, 2, "МУВП 1000.00-31-2-45-3-ГОСТ 21424-93", "Муфта-1000.00-31-2-45-3-ГОСТ 21424-93",
       "/tmp/c/МУВП      45=  31.90-3ГОСТ 21424-93.tpt", nullptr},
      // Sizes beyond the integers saturate instead of overflowing.
      {6.3, std::nan(""), 1e300, 0, 0, "МУВП    6.30-0-1-2147483647-1-ГОСТ 21424-93", nullptr, nullptr,
       nullptr},
  };
  for (const auto& n : cases) {
    Use(n);
    const std::pair<TString, const char*> names[] = {{ControlModel.MainName(), n.Main},
                                                     {ControlModel.CodeDet(), n.Code},
                                                     {ControlModel.sfDetail(3, true), n.Part3},
                                                     {ControlModel.sfDetail(0, false), n.Assembly}};
    for (const auto& [got, want] : names)
      if (want) {
        EXPECT_EQ(got.Utf8Text(), want);
      }
  }
}

// A prefix without its closing blank is kept apart from a torque that fills its field; rows that share a
// main table tell their assemblies apart by their prefix.
TEST(ControlModelNames, PrefixesStandApartAndTellSharedTablesApart)
{
  Use({1000, 50, 50, 0, 0, nullptr, nullptr, nullptr, nullptr});
  ControlModel.PrefixName = TString("Муфта кулачково-дисковая");
  ControlModel.StandartName = TString("ГОСТ 20720-93");
  EXPECT_EQ(ControlModel.MainName().Utf8Text(), "Муфта кулачково-дисковая 1000.00-50-1-ГОСТ 20720-93");
  ControlModel.M = 500;
  EXPECT_EQ(ControlModel.MainName().Utf8Text(), "Муфта кулачково-дисковая 500.00-50-1-ГОСТ 20720-93");
  std::string codes[2];
  for (int row : {0, 1}) {
    ControlModel.FilePrefix = TString(row == 0 ? "Муфта шарнирная-1 " : "Муфта шарнирная-2 ");
    codes[row] = ControlModel.CodeDet().Utf8Text();
    ControlModel.mkAssembly3D(0, 0, 0, 0, true);
    EXPECT_EQ(ControlModel.Detail3D(0).Utf8Text(), "/tmp/c/" + codes[row] + ".tas");
  }
  EXPECT_EQ(codes[0], "Муфта шарнирная-1 Муфта- 500.00-50-1-ГОСТ 20720-93");
  EXPECT_NE(codes[0], codes[1]);
  ControlModel.FilePrefix = TString();
}

TEST(ControlModelNames, FastenerFilesOfDifferentCouplingsNeverCollide)
{
  Use({31.5, 16, 16, 0, 0, nullptr, nullptr, nullptr, nullptr});
  const TString small = ControlModel.mfDetail3D(7);
  EXPECT_EQ(ControlModel.Detail3D(7).Utf8Text(), small.Utf8Text());
  EXPECT_EQ(ControlModel.mfDetail3D(7).Utf8Text(), small.Utf8Text()) << "one coupling shares its file";
  Use({125, 28, 28, 0, 0, nullptr, nullptr, nullptr, nullptr});
  EXPECT_NE(ControlModel.mfDetail3D(7).Utf8Text(), small.Utf8Text());
  EXPECT_NE(ControlModel.mfDetail3D(6).Utf8Text(), ControlModel.mfDetail3D(7).Utf8Text());
}

// Finding why a file of a build was not written opened its name for writing: where the name in the documents
// folder was a dangling link, a file of zeros appeared where it pointed, outside the folder. Finding out only
// looks: nothing appears anywhere and each link stays as it was.
TEST(ControlModelFiles, FindingWhyAFileWasNotWrittenCreatesNothing)
{
  txhost::test::TempDir dir;
  const std::filesystem::path docs = dir / "docs", outside = dir / "outside";
  std::filesystem::create_directories(docs);
  std::filesystem::create_directories(outside);
  Use({250, 40, 40, 0, 0, nullptr, nullptr, nullptr, nullptr});
  ControlModel.Path = TString(Utf8ToWide(docs.string()) + L"/");
  ControlModel.ForgetFiles();
  ControlModel.mkAssembly3D(40, 0, 40, 0, true);
  ControlModel.mfDetail3D(7);
  for (int n : {0, 7}) {
    const std::filesystem::path name = std::filesystem::path(ControlModel.Detail3D(n).Utf8Text()).filename();
    ASSERT_EQ(::symlink((outside / name).c_str(), (docs / name).c_str()), 0);
  }
  TString file, reason;
  ASSERT_TRUE(ControlModel.Unwritten(file, reason));
  EXPECT_EQ(file.Utf8Text(), ControlModel.Detail3D(0).Utf8Text());
  EXPECT_EQ(reason.Utf8Text(), "файл не записан");
  EXPECT_TRUE(std::filesystem::is_empty(outside));
  for (const auto& e : std::filesystem::directory_iterator(docs))
    EXPECT_TRUE(e.is_symlink() && !std::filesystem::exists(e.path())) << e.path();
  ControlModel.RemoveMadeFiles();
  EXPECT_TRUE(std::filesystem::is_empty(outside));
  ControlModel.ForgetFiles();
}

TEST(ControlModelBlock, HasTheDocumentedLayoutAndRoundTrips)
{
  std::mt19937 rnd(7);
  std::uniform_real_distribution<double> num(-1e6, 1e6);
  const char* names[] = {"", "МУВП ГОСТ 21424-93", "Шарнирная c втулкой ГОСТ 5147-97", "x"};
  for (int k = 0; k < 200; ++k) {
    TControlModelCoupling a;
    a.M = num(rnd), a.P1d = num(rnd), a.P2d = num(rnd), a.pX = num(rnd), a.pY = num(rnd), a.pAngle = num(rnd);
    a.CouplingName = TString(names[k % 4]);
    a.StandartName = TString(names[(k / 4) % 4]);
    a.TView = k % 2, a.T1 = k % 4, a.T2 = (k / 2) % 4;
    std::vector<std::uint8_t> v;
    a.to(v);
    ASSERT_EQ(v, Layout(a));
    TControlModelCoupling b;
    ASSERT_TRUE(b.from(v));
    std::vector<std::uint8_t> w;
    b.to(w);
    ASSERT_EQ(v, w);
  }
}

TEST(ControlModelBlock, CorruptBlocksAreRefusedAndChangeNothing)
{
  TControlModelCoupling a;
  a.M = 250, a.P1d = 40, a.P2d = 45, a.T1 = 1, a.T2 = 2, a.TView = 1;
  a.CouplingName = TString("МУВП ГОСТ 21424-93");
  a.StandartName = TString("ГОСТ 21424-93");
  std::vector<std::uint8_t> good;
  a.to(good);
  std::vector<std::vector<std::uint8_t>> bad;
  for (std::size_t n = 0; n < good.size(); ++n)
    bad.emplace_back(good.begin(), good.begin() + n); // truncated
  for (std::int32_t len : {-1, -1000, 1 << 30, std::numeric_limits<std::int32_t>::max(), 400}) {
    auto v = good;
    std::memcpy(v.data() + 280, &len, 4); // the first name's length
    bad.push_back(v);
  }
  bad.push_back(std::vector<std::uint8_t>(20, 0xFF)); // garbage without the magic
  for (const auto& v : bad) {
    TControlModelCoupling b;
    b.M = 1, b.T1 = 3, b.CouplingName = TString("keep");
    EXPECT_TRUE(!b.from(v) && b.M == 1 && b.T1 == 3 && b.CouplingName.Utf8Text() == "keep") << v.size();
  }
  // A block without the magic is read from its first byte; bore types outside 0..3 are pulled in.
  std::vector<std::uint8_t> raw(good.begin() + 256, good.end());
  std::int32_t t = -7, t2 = 1 << 20;
  std::memcpy(raw.data() + raw.size() - 8, &t, 4);
  std::memcpy(raw.data() + raw.size() - 4, &t2, 4);
  TControlModelCoupling c;
  ASSERT_TRUE(c.from(raw));
  EXPECT_EQ(c.P2d, 45);
  EXPECT_EQ(c.T1, 0);
  EXPECT_EQ(c.T2, 3);
}

// The stream form: what Write puts, Read gives back field by field, also after other data and twice in a
// row; a stream that ends early is refused and changes nothing.
TEST(ControlModelBlock, ReadGivesBackWhatWriteWrote)
{
  TControlModelCoupling a;
  a.M = 500, a.P1d = 45, a.P2d = 40, a.pX = -1.5, a.pY = 2.25, a.pAngle = 30;
  a.CouplingName = TString("МУВП ГОСТ 21424-93");
  a.StandartName = TString("ГОСТ 21424-93");
  a.TView = 1, a.T1 = 2, a.T2 = 3;
  TKmfData s;
  s.Write(7);
  a.Write(s);
  a.P1d = 46;
  a.Write(s);
  std::vector<unsigned char> bytes;
  s.to(bytes);
  TKmfData in;
  ASSERT_TRUE(in.from(bytes));
  int seven = 0;
  in.Read(seven);
  ASSERT_EQ(seven, 7);
  TControlModelCoupling b;
  for (double d1 : {45.0, 46.0}) {
    ASSERT_TRUE(b.Read(in));
    a.P1d = d1;
    std::vector<std::uint8_t> want, got;
    a.to(want);
    b.to(got);
    EXPECT_EQ(got, want);
  }
  b.M = 1;
  EXPECT_FALSE(b.Read(in)) << "nothing left";
  EXPECT_EQ(b.M, 1);
  const std::size_t one = (bytes.size() - 256 - 4) / 2; // the bytes of one block
  for (std::size_t cut = 1; cut <= one; cut += 3) {
    std::vector<unsigned char> part(bytes.begin(), bytes.end() - std::ptrdiff_t(cut));
    TKmfData t;
    ASSERT_TRUE(t.from(part));
    t.Read(seven);
    TControlModelCoupling c;
    c.M = 1;
    ASSERT_TRUE(c.Read(t)); // the first block is whole
    c.M = 1;
    EXPECT_FALSE(c.Read(t)) << cut;
    EXPECT_EQ(c.M, 1);
  }
}
