// The requirement and tolerance texts byte for byte, and the frame that opens a mould part's
// sheet or part document, draws into it and closes it with its texts.
#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "../adapter/AdapterSupport.h"
#include "RecordingModeler.h"
#include "hxcadkit/stdparts/MathDetailsl.h"

namespace {

// FNV-1a of the Windows-1251 bytes.
std::uint64_t Hash(const TString& s)
{
  std::uint64_t h = 0xcbf29ce484222325u;
  for (int i = 0; i < s.Length(); ++i) {
    h ^= static_cast<unsigned char>(s[i]);
    h *= 0x100000001b3u;
  }
  return h;
}

struct TTextHash
{
  int Length;
  std::uint64_t Hash;
};

// Lengths and hashes of the texts as a drawing writes them (one blank between words, a decimal comma, no
// trailing blank), encoded in Windows-1251.
const TTextHash DemHashes[41] = {
    {0, 0xcbf29ce484222325u},  {25, 0x0efa1a170b87d371u}, {13, 0xc205b4108c692adau},
    {49, 0xcf59723fd67970e8u}, {13, 0xa0d5d95646aad22bu}, {13, 0x46482bf0fc6813f0u},
    {13, 0xe910ed8df6ee0589u}, {49, 0xd78e51da7b730f4bu}, {52, 0x30b93bd0ce62e0ddu},
    {13, 0xc6e7635d49cb6257u}, {50, 0x9bd1d840c86e984fu}, {45, 0x1bcfc9b682d43289u},
    {39, 0xd3ee505772e9cd04u}, {23, 0xf3fb7fe4545869f6u}, {52, 0x671289d3b8d53808u},
    {40, 0x8dd05d05406f3a1au}, {13, 0xc4705c2e02a2b2d3u}, {13, 0xa3575f2119812ddeu},
    {39, 0x8aeddef983ed9f70u}, {47, 0x97124dd92d814d27u}, {47, 0xc680d8a70732d173u},
    {13, 0x516c19fa7c5afc48u}, {33, 0x8046891da4f0beafu}, {48, 0x99e392a6dfa7add4u},
    {14, 0xe10fd8fd0405f291u}, {52, 0xf0017b2740b6b304u}, {52, 0x41317ebef98c2286u},
    {13, 0x1aa24fa471f5e3bdu}, {13, 0xdb88541c862e3b85u}, {13, 0xe46370602fba1f9eu},
    {38, 0xc95890890126021eu}, {13, 0x81a76e31c2dd1e83u}, {57, 0x7c1f5014f9f3dae6u},
    {15, 0x060e05b0dede2138u}, {19, 0x55e36d0cda7a7bb0u}, {43, 0x8b3d9a3c842c0eb1u},
    {33, 0x618c3e4a253a54b8u}, {42, 0xfabc791a64256764u}, {56, 0x0f49f568c5c0e2e1u},
    {27, 0x53e5751624263b84u}, {13, 0x01af3fb2f79e1381u}};
const TTextHash QualHashes[6] = {{0, 0xcbf29ce484222325u}, {8, 0xa96c176ef98d5bf1u},
                                 {7, 0x7ac9d928460473adu}, {7, 0x7ac9d62846046e94u},
                                 {8, 0xa96c1a6ef98d610au}, {8, 0xa96c146ef98d56d8u}};

TEST(RequirementTexts, EveryEntryByteForByte)
{
  ASSERT_EQ(std::size(TDemStr), 41u);
  ASSERT_EQ(std::size(Qual), 6u);
  for (int i = 0; i < 41; ++i) {
    EXPECT_EQ(TDemStr[i].Length(), DemHashes[i].Length) << i;
    EXPECT_EQ(Hash(TDemStr[i]), DemHashes[i].Hash) << i << ": \"" << TDemStr[i].Utf8Text() << "\"";
  }
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(Qual[i].Length(), QualHashes[i].Length) << i;
    EXPECT_EQ(Hash(Qual[i]), QualHashes[i].Hash) << i;
  }
}

// --- The frame ---------------------------------------------------------------------------------

std::vector<std::string> Lines(const TRecordingModeler& m)
{
  std::vector<std::string> lines;
  for (const auto& c : m.Of("drStringObj"))
    lines.push_back(c.S[0].Utf8Text());
  return lines;
}

TEST(MouldSheet, OpensDrawsAndClosesWithItsTexts)
{
  TRecordingModeler M;
  M.LeafStampAnswer = true;
  bool drawn = false;
  ASSERT_TRUE(drMouldSheet(
      M, 12, 13.0, -13.0,
      [&](TModeler3D& m) {
        drawn = true;
        m.drLine(0, 0, 10, 0, 1);
      },
      6, 3, 36, 37));
  EXPECT_TRUE(drawn);
  const auto open = M.Of("drLeafStampView1");
  ASSERT_EQ(open.size(), 1u);
  EXPECT_EQ(open[0].A, (std::vector<double>{12, 0, 13, -13, 1}));
  EXPECT_EQ(M.Ops().find("drLeafStampView1"), 0u);
  EXPECT_LT(M.Ops().find("drLine"), M.Ops().find("drCloseViewTDemCloseLeaf"));
  const std::string t6 = TDemStr[6].Utf8Text(), t3 = TDemStr[3].Utf8Text(), t36 = TDemStr[36].Utf8Text(),
                    t37 = TDemStr[37].Utf8Text();
  EXPECT_EQ(Lines(M), (std::vector<std::string>{"1." + t6, "2." + t3, "3." + t36, "4." + t37}));
  EXPECT_EQ(Lines(M)[0].substr(0, 3), "1. ") << "one blank between the number and the text";

  M.Reset();
  ASSERT_TRUE(drMouldSheet(M, 12, 0.0, 0.0, nullptr, 28));
  EXPECT_EQ(Lines(M), (std::vector<std::string>{TDemStr[28].Utf8Text().substr(1)}))
      << "a single text is not numbered, nor does it start with the blank after a number";
  const auto close = M.Of("drCloseViewTDemCloseLeaf");
  ASSERT_EQ(close.size(), 1u);
  for (int k = 1; k < 4; ++k)
    EXPECT_TRUE(close[0].S[k].Empty()) << k;

  M.Reset();
  ASSERT_TRUE(drMouldSheet(M, 12, 0.0, 0.0, nullptr, 6, 3, 37));
  EXPECT_EQ(Lines(M).size(), 3u);
  M.Reset();
  ASSERT_TRUE(drMouldSheet(M, 12, 0.0, 0.0, nullptr, 0, 0, 0, 0));
  EXPECT_EQ(M.Count("drOpenTDem"), 0) << "no requirements block without a first text";
  EXPECT_EQ(M.Count("drCloseLeaf"), 1);
}

TEST(MouldSheet, NoSheetNoDrawing)
{
  TRecordingModeler M;
  bool drawn = false;
  EXPECT_FALSE(drMouldSheet(
      M, 12, 0.0, 0.0, [&](TModeler3D&) { drawn = true; }, 6, 3));
  EXPECT_FALSE(drawn);
  EXPECT_EQ(M.Count("drCloseViewTDemCloseLeaf"), 0);
  EXPECT_EQ(M.Ops(), "drLeafStampView1 drLeafStamp");
}

TEST(MouldModel, RevolvesTheProfileThenCutsColoursAndCloses)
{
  TRecordingModeler M;
  std::string order;
  EXPECT_FALSE(drMouldModel(
      M, 7, [&](TModeler3D&) { order += "p"; }, [&](TModeler3D&) { order += "c"; }));
  EXPECT_EQ(order, "");
  EXPECT_EQ(M.Ops(), "drCreate3DNewPartPlane");

  M.Reset();
  M.NewPartPlaneAnswer = true;
  ASSERT_TRUE(drMouldModel(
      M, 7, [&](TModeler3D&) { order += "p"; },
      [&](TModeler3D& m) {
        order += "c";
        EXPECT_EQ(M.Count("drBaseRotate"), 1) << "cuts come after the body";
        EXPECT_EQ(M.Count("drColor3D"), 0);
        m.drCutExtrusion(txapi::dtNormal, txapi::etBlind, 5.0, 0.0);
      }));
  EXPECT_EQ(order, "pc");
  EXPECT_EQ(M.Of("drCreate3DNewPartPlane")[0].A, (std::vector<double>{7, 0, 1, 3, 0}));
  EXPECT_EQ(M.Of("drBaseRotate")[0].A, (std::vector<double>{0, 360}));
  EXPECT_EQ(M.Of("drColor3D")[0].A, (std::vector<double>{0x909090, 0.8, 0.6, 0.95, 0.95, 1.0, 0.8}));
  EXPECT_EQ(M.Of("drClose3D")[0].A, (std::vector<double>{1, 0}));
  EXPECT_EQ(M.Ops(), "drCreate3DNewPartPlane drBaseRotate drCutExtrusion drColor3D drClose3D");
}

// The host's modeller opens neither a sheet nor a part without the link a test installs: the
// frame then stops at its opening call and asks the host for nothing.
TEST(MouldFrameOnTheHost, UnlinkedOnlyTheOpeningCall)
{
  adaptertest::HostedModeller host;
  ASSERT_EQ(drApi::TMouldDocumentLink::Get(), nullptr);
  const std::size_t calls = host.H.ApplicationObject().Log().size();
  int drawn = 0;
  const auto draw = [&](TModeler3D&) { ++drawn; };
  EXPECT_FALSE(drMouldSheet(drApi::MA, 12, 10.0, 10.0, draw, 6, 3, 36, 37));
  EXPECT_FALSE(drMouldModel(drApi::MA, 12, draw, draw));
  EXPECT_EQ(drawn, 0);
  EXPECT_TRUE(host.H.Documents().empty());
  EXPECT_EQ(host.H.ApplicationObject().Log().size(), calls);
}

TEST(MouldWhole, HalvesAwayFromZeroAndSaturates)
{
  EXPECT_EQ(MouldWhole(12.5), 13);
  EXPECT_EQ(MouldWhole(-12.5), -13);
  EXPECT_EQ(MouldWhole(12.49), 12);
  EXPECT_EQ(MouldWhole(-0.5), -1);
  EXPECT_EQ(MouldWhole(1e-7), 0);
  EXPECT_EQ(MouldWhole(std::numeric_limits<double>::quiet_NaN()), 0);
  EXPECT_EQ(MouldWhole(1e300), INT_MAX);
  EXPECT_EQ(MouldWhole(-1e300), INT_MIN);
  EXPECT_EQ(MouldWhole(-std::numeric_limits<double>::infinity()), INT_MIN);
}

} // namespace
