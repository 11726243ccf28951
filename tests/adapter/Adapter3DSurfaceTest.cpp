// Operations on the faces, surfaces and curves that already exist in a part, and the faces the stand-in
// derives for them.
#include <gtest/gtest.h>

#include <functional>

#include "Adapter3DSupport.h"
#include "txapi/IBody.h"
#include "txapi/IFace.h"

namespace {

using namespace adaptertest;
using drApi::MA;
using drApi::TVOfMO;

class Adapter3DSurfaceTest : public ::testing::Test, public PartModeller
{
protected:
  void SetUp() override
  {
    NewPartWithSketch();
    MA.drBaseExtrusion(txapi::dtNormal, txapi::etBlind, 5, 0);
    Solid = MA.R().Obj3D;
    Faces = SmartPtr<txapi::IFeature>(MA.R().Part)->GetModelObjects({txapi::o3d_face});
  }

  SmartPtr<txapi::IModelObject> Solid;
  TVOfMO Faces;
};

// Each operation on a non-empty list, with the kind it makes; the ones marked clear forget the last object
// before they start.
struct Operation
{
  const char* Name;
  std::string_view Kind;
  bool Clears;
  std::function<void(const TVOfMO&)> Run;
};

std::vector<Operation> Operations()
{
  namespace m = txhost::model;
  return {
      {"patch", m::SurfacePatch, false, [](const TVOfMO& f) { MA.drSurfacePatchEdges(f); }},
      {"ruled", m::RuledSurface, false, [](const TVOfMO& f) { MA.drRuledSurface(f, f); }},
      {"copy", m::CopyGeometry, false, [](const TVOfMO& f) { MA.drCopyObj(f, {}, {}); }},
      {"equidistant", m::Equidistant, true, [](const TVOfMO& f) { MA.drEquidistSurface(f, true, 2); }},
      {"trimmed", m::Trimmed, false, [](const TVOfMO& f) { MA.drTrimmSurface(f, f, true); }},
      {"remover", m::FaceRemover, false, [](const TVOfMO& f) { MA.drFaceRemove(f); }},
      {"sewer", m::Sewer, false, [](const TVOfMO& f) { MA.drFaceSewer(f, false); }},
      {"thickening", m::Thickening, false, [](const TVOfMO& f) { MA.drFaceThickness(f, 1); }},
      {"outline", m::CurveOutLine, false, [](const TVOfMO& f) { MA.drCurveOutLine(f, TVector3D(0, 0, 1)); }},
      {"contour", m::Contour3D, false, [](const TVOfMO& f) { MA.drContour3D(f); }},
      {"scaling", m::Scaling, false,
       [](const TVOfMO& f) { MA.drScalings3D(SmartPtr<txapi::ITavrixAPIObject>(f[0]), 2, {}); }},
      {"split", m::SplitLine, true,
       [](const TVOfMO& f) { MA.drSplitFaceObjects({SmartPtr<txapi::IFace>(f[0])}, f, txapi::dtBoth); }},
  };
}

// A refused apply leaves the last object empty and records nothing, whatever it held before; a made one is
// the last object and a member of the open macro.
TEST_F(Adapter3DSurfaceTest, ARefusedApplyLeavesNothingAndAMadeOneIsRecorded)
{
  for (const Operation& op : Operations()) {
    SCOPED_TRACE(op.Name);
    MA.drMacro3D("M", true);
    H.GetFaults().FailUpdate(txhost::Target::OfKind(std::string(op.Kind)));
    MA.R().Obj3D = Solid;
    op.Run(Faces);
    EXPECT_FALSE(MA.R().Obj3D);
    EXPECT_EQ(Recorded(), 0);
    H.GetFaults().Clear();
    op.Run(Faces);
    ASSERT_TRUE(MA.R().Obj3D);
    EXPECT_EQ(Last().Kind(), op.Kind);
    EXPECT_EQ(Recorded(), 1);
    MA.drEndMacro3D();
    // With no part nothing is made: the last object is kept or, for those that clear first, forgotten.
    MA.drEndGetPart(false);
    MA.R().Obj3D = Solid;
    const std::size_t made = H.Objects().size();
    op.Run(Faces);
    EXPECT_EQ(bool(MA.R().Obj3D), !op.Clears);
    EXPECT_EQ(H.Objects().size(), made);
    NewPartWithSketch(std::string(op.Name) + ".tpt");
    MA.drBaseExtrusion(txapi::dtNormal, txapi::etBlind, 5, 0);
  }
  EXPECT_EQ(H.ErrorResets(), 1); // the refused scaling's error is cleared
}

TEST_F(Adapter3DSurfaceTest, EmptyListsChangeNothingAndThicknessTakesItsSideFromTheSign)
{
  MA.R().Obj3D = Solid;
  MA.drFaceRemove({});
  MA.drFaceSewer({}, true);
  MA.drFaceThickness({}, 1);
  MA.drCurveOutLine({}, TVector3D(1, 0, 0));
  MA.drContour3D({});
  EXPECT_EQ(MA.R().Obj3D.get(), Solid.get());
  for (auto [t, calls] : {std::pair{-2.0, "[1][1,2.0][0,2.0]"}, std::pair{0.0, "[1][1,0.0][0,0.0]"},
                          std::pair{3.0, "[0][1,3.0][0,3.0]"}}) {
    MA.drFaceThickness(Faces, t);
    EXPECT_EQ(Calls(Last(), "SetThinType") + Calls(Last(), "SetThickness"), calls) << t;
  }
  MA.drTrimmSurface(Faces, Faces, false);
  EXPECT_EQ(Last().UpdateCount(), 2);
  MA.drCopyObj(Faces, {}, MA.R().IDoc3D);
  EXPECT_EQ(Calls(Last(), "SetObjects"), "");
  EXPECT_EQ(Last().Prop("source")[0], txhost::RefValue(MA.R().IDoc3D.get()));
  EXPECT_EQ(Calls(Last(), "SetLocalCoordinateSystem"), "[null]");
  MA.drRuledSurface(Faces, {});
  EXPECT_EQ(Calls(Last(), "SetBuildingType"), "[0]");
  MA.drAllSurfaceSewer();
  EXPECT_EQ(Last().Prop("faces").size(), Faces.size());
  EXPECT_EQ(Last().Prop("create-body"), true);
}

// The outline of a face along a direction, and the face split by it.
TEST_F(Adapter3DSurfaceTest, AFaceIsSplitAlongItsOutline)
{
  MA.drMacro3D("M", true);
  MA.drSplitFaceOutLine(SmartPtr<txapi::IFace>(Faces[0]), TVector3D(0, 0, 1));
  txhost::Object& split = Last();
  EXPECT_EQ(split.Kind(), txhost::model::SplitLine);
  const txhost::Object* outline = txhost::model::LiveMembers(PartObject(), txhost::model::CurveOutLine).at(0);
  EXPECT_EQ(Calls(*outline, "SetDirectionType"), "[4]");
  EXPECT_EQ(split.Prop("cutting").dump(), "[" + txhost::RefValue(outline).dump() + "]");
  EXPECT_EQ(split.Prop("direction"), 2);
  EXPECT_EQ(Recorded(), 2);
  MA.drEndMacro3D();
  H.GetFaults().FailUpdate(txhost::Target::OfKind(std::string(txhost::model::CurveOutLine)));
  MA.drSplitFaceOutLine(SmartPtr<txapi::IFace>(Faces[0]), TVector3D(0, 0, 1));
  EXPECT_FALSE(MA.R().Obj3D);
  EXPECT_EQ(Count(txhost::model::SplitLine), 1u);
}

// The faces of a box against the box itself: four planar sides with outward normals and two caps; each
// side meets its neighbours and both caps, the caps do not meet.
TEST_F(Adapter3DSurfaceTest, TheFacesOfAnExtrudedRectangleAreThoseOfABox)
{
  ASSERT_EQ(Faces.size(), 6u);
  std::vector<std::array<double, 3>> normals;
  for (const auto& f : Faces) {
    SmartPtr<txapi::IFace> face = f;
    ASSERT_TRUE(face->IsPlanar());
    EXPECT_FALSE(face->IsCylindrical() || face->IsConical());
    std::array<double, 3> n{};
    ASSERT_TRUE(face->GetNormal(n[0], n[1], n[2]));
    normals.push_back(n);
  }
  const std::vector<std::array<double, 3>> box{{0, -1, 0}, {1, 0, 0}, {0, 1, 0},
                                               {-1, 0, 0}, {0, 0, 1}, {0, 0, -1}};
  for (std::size_t i = 0; i < box.size(); ++i)
    for (int k = 0; k < 3; ++k)
      EXPECT_NEAR(normals[i][std::size_t(k)], box[i][std::size_t(k)], 1e-12) << i;
  auto adjacent = [&](std::size_t a, std::size_t b) {
    for (const auto& e : SmartPtr<txapi::IFace>(Faces[a])->GetEdges())
      for (const auto& g : SmartPtr<txapi::IFace>(Faces[b])->GetEdges())
        if (e.get() == g.get()) return true;
    return false;
  };
  for (std::size_t a = 0; a < 6; ++a)
    for (std::size_t b = a + 1; b < 6; ++b) {
      // Opposite sides (0-2, 1-3) and the two caps are the only pairs apart.
      const bool apart = (a < 4 && b < 4 && b - a == 2) || (a == 4 && b == 5);
      EXPECT_EQ(adjacent(a, b), !apart) << a << "-" << b;
    }
  // A quarter turn of the same rectangle: a cylinder, two rings and two caps, which a full turn lacks.
  Sketch();
  MA.drBaseRotate(0, 90);
  const auto& body = *txhost::model::LiveMembers(Last(), txhost::model::Body).at(0);
  std::string surfaces;
  for (const txhost::Object* f : txhost::model::LiveMembers(body, txhost::model::Face))
    surfaces += f->Prop("surface").get<std::string>() + " ";
  EXPECT_EQ(surfaces, "plane cylinder plane plane plane ");
}

} // namespace
