// Every host call the base makes is made to fail in turn: it throws, hands out nothing, refuses
// an interface or refuses an update. The adapter must neither crash nor keep a reference, and a
// thrown host error must reach the caller.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <utility>

#include "AdapterSupport.h"
#include "txhost/lib/Faults.h"
#include "txhost/lib/Kinds.h"

namespace {

using namespace adaptertest;
using drApi::MA;
using txhost::Target;

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

// One play with a fault set; the number of host errors that reached the caller.
template <class Arm> int PlayWith(Arm arm, const std::string& what)
{
  SCOPED_TRACE(what);
  HostedModeller m;
  arm(m.H.GetFaults());
  int thrown = 0;
  try {
    Play(m);
  } catch (const txhost::HostError&) {
    ++thrown;
  }
  m.H.GetFaults().Clear();
  ResetModeller();
  std::string held;
  for (const txhost::Object* o : m.H.Referenced())
    held += " " + o->Kind();
  EXPECT_EQ(held, "");
  return thrown;
}

TEST(FaultSweep, EveryHostCallOfTheBaseFailsInTurn)
{
  std::set<std::pair<std::string, std::string>> calls;
  std::set<std::string> kinds;
  {
    HostedModeller m;
    // Calls made while the modeller came up are not the play's.
    std::map<txhost::ObjectId, std::size_t> before;
    for (const txhost::Object* o : m.H.Objects())
      before[o->Id()] = o->Log().size();
    Play(m);
    ResetModeller();
    for (const txhost::Object* o : m.H.Objects()) {
      kinds.insert(o->Kind());
      for (std::size_t i = before[o->Id()]; i < o->Log().size(); ++i)
        calls.emplace(o->Kind(), o->Log()[i].Op);
    }
  }
  ASSERT_GT(calls.size(), 60u);
  int thrown = 0;
  for (const auto& [kind, op] : calls)
    thrown += PlayWith([&](txhost::Faults& f) { f.ThrowOnCall(Target::OfKind(kind), op); }, kind + "." + op);
  EXPECT_EQ(thrown, int(calls.size())); // never swallowed
  std::set<std::string> interfaces;
  for (const std::string& kind : kinds) {
    PlayWith([&](txhost::Faults& f) { f.FailUpdate(Target::OfKind(kind)); }, "update of " + kind);
    for (const txhost::FacetEntry& e : txhost::KindTable::Builtin().Get(kind).Facets) {
      interfaces.insert(std::string(e.Name));
      PlayWith([&](txhost::Faults& f) { f.RefuseInterface(Target::OfKind(kind), e.Iid); },
               kind + " without " + std::string(e.Name));
    }
  }
  for (const std::string& name : interfaces)
    PlayWith([&](txhost::Faults& f) { f.RefuseHandOut(name); }, name + " hands out nothing");
}

} // namespace
