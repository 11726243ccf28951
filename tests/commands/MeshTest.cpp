#include "CommandTestSupport.h"

#include "hxcadkit/commands/MeshDraw.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

using namespace commands_test;

namespace {

TVector3D Vec(const TArrayOf<TPoint3D>& p, int a, int b)
{
  return TVector3D(p[a], p[b]);
}

// Every built-in shape: its counts, the vertices no triangle uses, and each triangle's winding against the
// normals of its own vertices (outward and counter-clockwise for the sphere, clockwise for the others).
TEST(MeshData, BuiltInShapesHaveTheirCountsAndWindings)
{
  struct Case
  {
    void (TMeshData::*Init)();
    int Points, Indices, Unused;
    bool Ccw;
  };
  for (const Case& c : {Case{&TMeshData::InitSphere, 115, 672, 1, true}, Case{&TMeshData::InitCylinder, 34, 84, 0, false},
                        Case{&TMeshData::InitCone, 35, 66, 9, false}, Case{&TMeshData::InitCube, 48, 36, 24, false}}) {
    TMeshData m;
    (m.*c.Init)();
    ASSERT_EQ(m.Points.Count, c.Points);
    ASSERT_EQ(m.Normals.Count, c.Points);
    ASSERT_EQ(m.TI.Count, c.Indices);
    EXPECT_EQ(m.EI.Count, 0);
    std::set<int> used;
    for (int i : m.TI)
      used.insert(i);
    EXPECT_EQ(c.Points - int(used.size()), c.Unused) << c.Points;
    for (int t = 0; t < m.TI.Count; t += 3) {
      const int a = m.TI[t], b = m.TI[t + 1], d = m.TI[t + 2];
      const TVector3D n = Vec(m.Points, a, b) | Vec(m.Points, a, d);
      const TVector3D side = m.Normals[a] + m.Normals[b] + m.Normals[d];
      EXPECT_EQ(n * side > 0, c.Ccw) << c.Points << " triangle " << t / 3;
    }
  }
  TMeshData cube;
  cube.InitCube();
  cube.Scale(2, 2, 2);
  for (const TPoint3D& p : cube.Points)
    EXPECT_EQ(std::fabs(p.x) + std::fabs(p.y) + std::fabs(p.z), 3.0);
}

TEST(MeshData, LoadTwiceShiftsIndicesButNotCountWords)
{
  TMeshData m;
  m.InitCone();
  m.AddLine(TPoint3D(0, 0, 0), TPoint3D(1, 1, 1));
  m.AddLine(TPoint3D(2, 0, 0), TPoint3D(3, 1, 1));
  std::vector<int> groups;
  for (int e : m.EI)
    groups.push_back(e);
  EXPECT_EQ(groups, (std::vector<int>{2, 35, 36, 2, 37, 38}));
  TMeshApi a;
  a.Load(m);
  a.Load(m);
  const int n = m.Points.Count;
  ASSERT_EQ(a.VertexCount(), 2 * n);
  EXPECT_EQ(a.N.size(), 2u * 3 * 35); // the line points carry no normals
  ASSERT_EQ(a.IP.size(), 2u * 66);
  for (int i = 0; i < 66; ++i)
    EXPECT_EQ(a.IP[66 + i], a.IP[i] + n);
  EXPECT_EQ(a.IE, (std::vector<int>{2, 35, 36, 2, 37, 38, 2, 35 + n, 36 + n, 2, 37 + n, 38 + n}));
  EXPECT_EQ(std::vector<float>(a.P.begin(), a.P.begin() + 3 * n), std::vector<float>(a.P.begin() + 3 * n, a.P.end()));
}

// A polyline group whose count runs past the end of the list stops the walk instead of reading beyond it.
TEST(MeshData, LoadStopsAtABrokenPolylineGroup)
{
  TMeshData m;
  m.AddLine(TPoint3D(), TPoint3D(1, 0, 0));
  m.EI.Add(7);
  m.EI.Add(0);
  TMeshApi a;
  a.Load(m);
  EXPECT_EQ(a.IE, (std::vector<int>{2, 0, 1}));
  m.EI[0] = -1;
  a.Clear();
  a.Load(m);
  EXPECT_TRUE(a.IE.empty());
}

TEST(MeshData, AssignmentPicksTheColourByTypeAndKeepsItsOwnFaceColour)
{
  TMeshData m;
  m.AC.Color = TColor(0x123456);
  TMeshApi a;
  a.SetOrigin(TPoint3D(1, 2, 3));
  for (auto type : {TMeshID::otEdge, TMeshID::otFace}) {
    m.Type = type;
    a = TMeshApi();
    a = m;
    EXPECT_EQ(int(a.CE.Color), type == TMeshID::otEdge ? 0x123456 : 0);
    EXPECT_EQ(int(a.CF.Color), type == TMeshID::otEdge ? 0 : 0x123456);
  }
  TMeshApi b(a);
  EXPECT_EQ(&b.CF, &b.AC);
  b.SetOrigin(TPoint3D(1, 2, 3));
  b.Clear();
  EXPECT_EQ(b.Mtr[12], 1.0);
  b.SetPolyLine(TArrayOf<TPoint3D>{TPoint3D(1, 1, 1)}, TArrayOf<int>{1, 0});
  EXPECT_EQ(b.Mtr[12], 0.0);
  EXPECT_EQ(b.IE, (std::vector<int>{1, 0}));
}

std::string Slurp(const std::filesystem::path& p)
{
  std::ifstream f(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), {}};
}

TEST(MeshData, PrintMatchesTheGoldenDump)
{
  const auto dir = std::filesystem::temp_directory_path() / "hxcad-mesh-print";
  std::filesystem::create_directories(dir);
  const double p[] = {0, 0, 0, 1.5, -2.25, 1000, 0.0004, 0, -0.0006};
  const double n[] = {0, 0, 1, 0, 0, 1, 0, 0, -1};
  const unsigned t[] = {0, 1, 2};
  TMeshData m;
  m.Init(p, n, 3, t, 3);
  m.AddLine(TPoint3D(), TPoint3D()); // polylines are not dumped
  m.Points.Count = 3;
  m.Print(TString((dir / "mesh.txt").string().c_str()));
  EXPECT_EQ(Slurp(dir / "mesh.txt"), Slurp(HXCAD_TEST_DATA "/commands/mesh-print.txt"));
  TMeshData().Print(TString((dir / "empty.txt").string().c_str()));
  EXPECT_EQ(Slurp(dir / "empty.txt"),
            "// Points\r\n = {\r\n   }; \r\n// Normals\r\n = {\r\n   }; \r\n// TriAngles\r\n = {\r\n   }; \r\n");
  TMeshData().Print(TString((dir / "no-such-dir/x.txt").string().c_str()));
  EXPECT_FALSE(std::filesystem::exists(dir / "no-such-dir"));
}

class MeshDrawHost : public HostFixture
{
protected:
  void SetUp() override
  {
    Open(txapi::txDocumentAssembly);
    CommandHost.RefreshDocument();
  }
  txhost::Object& Manager() { return *Document; }
  txhost::Object& Object(TMeshDraw& d, int i) { return *txhost::Object::From(d[i].get()); }
  std::string Removes() const
  {
    std::string s;
    for (const txhost::Call* c : Document->CallsOf("RemoveObjects"))
      s += c->Arguments.dump();
    return s;
  }
};

TEST_F(MeshDrawHost, EntriesAddSetAndHideThroughTheHost)
{
  TMeshDraw d(CommandHost.ITessellationMng(), 2);
  ASSERT_EQ(d.Count(), 2);
  EXPECT_EQ(d.Id(0), 0);
  TMeshApi edge = d.V;
  edge.Owner = &d;
  const auto face = d.Add(d.V, TMeshID::othotPoint);
  ASSERT_TRUE(face);
  ASSERT_EQ(d.Count(), 3);
  EXPECT_EQ(d.Id(2), face->GetId());
  EXPECT_NE(d.Id(2), 0);
  EXPECT_EQ(Ops(Object(d, 2)), "SetNonPickable SetTriangles SetOption SetColor SetMatrix SetScaleSetting1 "
                               "SetScaleSetting2 SetScaleSetting3 SetDisableDepthTest SetNonPickable SetVisible");
  // An edge mesh without polylines sends nothing and keeps the entry.
  const long id = d.Id(2);
  d.Set(2, edge, TMeshID::otEdge);
  EXPECT_EQ(d.Id(2), id);
  EXPECT_EQ(Object(d, 2).Log().size(), 11u);
  // A face on an entry without an object makes one in place.
  d.Set(0, d.V, TMeshID::otFace);
  EXPECT_NE(d.Id(0), 0);
  EXPECT_EQ(d.Count(), 3);
  d.Add(TPoint3D(1, 2, 3), T("Текст"), TMeshID::otText);
  EXPECT_EQ(Ops(Object(d, 3)), "SetTexts SetTextSetting1 SetTextSetting2 SetTextSetting3 SetVisible");
  EXPECT_EQ(Object(d, 3).Prop("texts").dump(), "[\"Текст\"]");
  // Visibility: out-of-range indexes are ignored, an owner's every entry goes.
  d.Item(0).Owner = d.Item(2).Owner = &d;
  d.Visible(-1, true);
  d.Visible(d.Count(), true);
  d.SetVisible(static_cast<void*>(&d), false);
  EXPECT_FALSE(Object(d, 0).Prop("visible").get<bool>());
  EXPECT_FALSE(Object(d, 2).Prop("visible").get<bool>());
  EXPECT_TRUE(Object(d, 3).Prop("visible").get<bool>());
  d.Clear(0);
}

TEST_F(MeshDrawHost, RemoveAndClearMakeExactlyTheirHostCalls)
{
  TMeshDraw d(CommandHost.ITessellationMng(), 0);
  d.Clear(0);
  EXPECT_EQ(Removes(), "");
  for (int i = 0; i < 3; ++i)
    d.Add(d.V, TMeshID::otFace);
  const long id0 = d.Id(0), id1 = d.Id(1), id2 = d.Id(2);
  txhost::Object& last = Object(d, 2);
  d.Remove(999999);
  d.Remove(0);
  EXPECT_EQ(Removes(), "");
  d.Remove(int(id2));
  EXPECT_EQ(Removes(), "[[" + std::to_string(id2) + "]]");
  EXPECT_EQ(Ops(last).substr(Ops(last).rfind(' ') + 1), "SetVisible");
  EXPECT_EQ(d.Count(), 2);
  d.Add(d.V, TMeshID::otFace);
  const long id3 = d.Id(2);
  d.Clear(1);
  EXPECT_EQ(Removes(), "[[" + std::to_string(id2) + "]][[" + std::to_string(id1) + "," + std::to_string(id3) + "]]");
  ASSERT_EQ(d.Count(), 1);
  EXPECT_EQ(d.Id(0), id0);
  d.Clear(0);
}

TEST_F(MeshDrawHost, WithoutAManagerNothingReachesTheHost)
{
  TMeshDraw::TManager none;
  TMeshDraw d(none, 2);
  EXPECT_EQ(d.Count(), 0);
  EXPECT_FALSE(d.Add(d.V, TMeshID::otFace));
  d.Clear(0);
  EXPECT_EQ(d.Count(), 0);
  EXPECT_TRUE(H.ObjectsOfKind("tessellation-object").empty());
}

} // namespace
