// Every host call of the 3D features fails in turn (FaultSweep.h); besides, an operation whose apply
// the host refused never leaves its object as the last one.
#include <gtest/gtest.h>

#include "Adapter3DSupport.h"
#include "FaultSweep.h"
#include "hxcadkit/core/TPointer.h"
#include "txapi/IFace.h"

namespace {

using namespace adaptertest;
using drApi::MA;
using drApi::TVOfMO;

// After an operation that looks at the host's verdict: the last object, when there is one, was applied.
void Verdict(HostedModeller& m)
{
  const txhost::Object* o = m.Find(MA.R().Obj3D.get());
  EXPECT_TRUE(o == nullptr || o->Applied()) << o->Kind();
}

// The parametric switch and the registered depth, put back however the play ends.
struct Parametric
{
  explicit Parametric(double& depth)
  {
    ADimension3D.IsParametric = true;
    AVariable.AddVar("H", &depth, "");
  }
  ~Parametric()
  {
    AVariable.AVariables.Count = 0;
    ADimension3D.IsParametric = false;
  }
};

void Play3D(HostedModeller& m)
{
  MA.drCreate3D(true, true, T(m.Dir / "p.tpt"), "Деталь", "Д-1");
  MA.drPlaneEskis(txapi::o3d_planeXOY, 0, 0, "Эскиз");
  MA.drLine(-5, 0, 25, 0, 3);
  MA.drLine(0, 0, 20, 10, 1);
  MA.drMacro3D("Макро", true);
  MA.drMacro3D("Внутри", false);
  MA.drBaseRotate(0, 270);
  SmartPtr<txapi::IModelObject> rotation = MA.R().Obj3D;
  MA.drEndMacro3D();
  double depth = 4;
  Parametric parametric(depth);
  MA.drPlaneEskis(txapi::o3d_planeXOY, 0, 0, "");
  MA.drLine(0, 0, 5, 0, 1);
  MA.drLine(5, 0, 5, 5, 1);
  MA.drExtrusion(txapi::dtBoth, txapi::etBlind, depth, -2, true, txapi::txOperationUnion);
  MA.drEvolution(rotation, true, txapi::txOperationUnion);
  SmartPtr<txapi::IFeature> part = MA.R().Part;
  const TVOfMO faces = part ? part->GetModelObjects({txapi::o3d_face}) : TVOfMO();
  const TVOfMO some = faces.empty() ? TVOfMO{rotation} : TVOfMO{faces[0]};
  MA.drSurfacePatchEdges(some);
  Verdict(m);
  MA.drRuledSurface(some, some);
  Verdict(m);
  MA.drCopyObj(some, {}, MA.R().IDoc3D);
  MA.drEquidistSurface(some, true, 1);
  MA.drTrimmSurface(some, some, false);
  MA.drFaceRemove(some);
  MA.drFaceThickness(some, -2);
  MA.drContour3D(some);
  MA.drScalings3D(SmartPtr<txapi::ITavrixAPIObject>(rotation), 2, rotation);
  Verdict(m);
  MA.drAllSurfaceSewer();
  Verdict(m);
  MA.drSplitFaceOutLine(SmartPtr<txapi::IFace>(some[0]), TVector3D(0, 1, 0));
  Verdict(m);
  MA.drDimL3D(rotation, some[0]);
  MA.SetExludedOrColor(rotation, 0xff, 1);
  MA.SetColor(rotation, 0xff, 1);
  MA.SetExcluded(rotation);
  MA.ReSet(rotation);
  SmartPtr<txapi::IPart> p = MA.R().Part;
  MA.drBoolean(txapi::txUnion, p, 0, p, 1);
  MA.drPlugin("{a}", 1);
  MA.drPluginWF("{b}", 2);
  MA.drEndMacro3D();
  MA.drSave3D(true, true);
  MA.drCreate3D(true, true, T(m.Dir / "q.tpt"), "", "");
  TString file = T(m.Dir / "p.tpt");
  MA.drPutStorage(file, false, true);
  MA.drSave3D(true, true);
}

TEST(Adapter3DFaultSweep, EveryHostCallOfTheFeaturesFailsInTurn)
{
  SweepEveryHostCall(Play3D, 120);
}

} // namespace
