// Every host call the base makes fails in turn (FaultSweep.h).
#include <gtest/gtest.h>

#include "FaultSweep.h"

namespace {

using namespace adaptertest;
using drApi::MA;

// The base's operations on one host: a part with a sketch and 3D geometry, saved; its mass; an
// assembly of it with placements and mates; a phantom's variables; the end of the command.
void Play(HostedModeller& m)
{
  const std::filesystem::path part = m.Dir / "p.tpt";
  MA.drCreate3D(true, true, T(part), "Вал", "В-1");
  MA.drPlaneEskis(txapi::o3d_planeXOZ, -3, 15, "Эскиз");
  MA.drMtr(1, 2, 30, 1);
  MA.drLine(0, 0, 10, 0, 3);
  MA.drArc(5, 0, 5, 10, 0, 0, 0, 1, 1);
  MA.drDeleteMtr();
  MA.drPlaneEskis(txapi::o3d_planeXOY, 0, 0, "");
  MA.drEndEskis();
  MA.drLine3D(TPoint3D(0, 0, 0), TPoint3D(1, 1, 1), "Ось", false);
  SmartPtr<txapi::IModelObject> line = MA.R().Obj3D;
  MA.drPoint3D(1, 0, 0, txapi::txAnnotationSymbolPoint, "Т", true);
  MA.drPlanePerpendEdgeVertex(line, MA.R().Obj3D);
  MA.drSpiral3D(MA.GetPlane(), 10, 2, 5);
  MA.drSplitFaceObjects({}, {MA.R().Plane}, txapi::dtBoth);
  MA.drColor3D(0x909090, 0.8, 0.6, 0.95, 0.95, 1.0, 0.8);
  MA.drSave3D(false, true);
  MA.drSave3D(true, true);
  MA.GetMassFile(T(part));
  MA.drOpen3D(T(part), true);
  MA.FindEntity(MA.R().Part, txapi::o3d_unknown, "Ось");
  MA.drSave3D(true, true);

  MA.drCreate3D(false, false, T(m.Dir / "a.tas"), "Сборка", "СБ");
  MA.AddDetail(0, 0, 0, T(part), true, true);
  SmartPtr<txapi::IPart> a = MA.R().Obj3D;
  MA.AddDetailAxle(50, 0, 0, T(part), 1, 0, 0, 0, 1, 0, true);
  SmartPtr<txapi::IPart> b = MA.R().Obj3D;
  SmartPtr<txapi::IModelObject> pa = a ? a->GetDefaultEntity(txapi::o3d_planeYOZ) : SmartPtr<txapi::IModelObject>();
  SmartPtr<txapi::IModelObject> pb = b ? b->GetDefaultEntity(txapi::o3d_planeYOZ) : SmartPtr<txapi::IModelObject>();
  MA.drMate(txapi::mc_Distance, pa, pb, 0, 1, 2.0, "-(L)");
  SmartPtr<txapi::IMateConstraints3D> mates = MA.R().IDoc3D ? MA.R().IDoc3D->GetMateConstraints()
                                                            : SmartPtr<txapi::IMateConstraints3D>();
  MA.FindMate(mates, txapi::mc_Distance, pa);
  MA.drClear(mates);
  SmartPtr<txapi::IPart> c = MA.drCreatePartFromFile(T(part), true);
  SmartPtr<txapi::IPlacement3D> place = c ? c->GetPlacement() : SmartPtr<txapi::IPlacement3D>();
  MA.drPartSetPlacement(place);
  MA.SetHidden(SmartPtr<txapi::IModelObject>(a), true);
  MA.DeleteEntity(SmartPtr<txapi::IModelObject>(b));
  MA.drSetValue(c, "D", 40);
  MA.drSetValue("L1", 80);
  MA.drGetPart(pTop_Part, txapi::txDocumentAssembly);
  drApi::Selector->SetCurrentManagerType(txapi::txChooseManagerFirst);
  drApi::Selector->Choose(SmartPtr<txapi::ITavrixAPIObject>(MA.R().Part));
  drApi::Selector->UnChooseAll();
  drApi::Selector->UnSelectAll();
  MA.IsActive(txapi::txDocumentPart, txapi::txDocumentAssembly);
  MA.drEndGetPart(false);
}

TEST(FaultSweep, EveryHostCallOfTheBaseFailsInTurn)
{
  SweepEveryHostCall(Play, 60);
}

} // namespace
