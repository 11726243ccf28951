// A library that builds through the global modeller when the stand-in host runs its commands:
// 1 makes a turned shaft part, 2 an assembly of two shafts mated by their end planes. After each
// command the modeller lets go of the command's host objects, as the real library's run loop does.
#include "hxcadkit/adapter/drModelerAPI.h"
#include "hxcadkit/adapter/maTavrixAssembly.h"
#include "txapi/IModelContainer.h"
#include "txapi/IRotated.h"
#include "txapi/IRotateds.h"
#include "txapi/ITavrixLibraryActions.h"
#include "txapi/LibraryEntry.h"

namespace {

using drApi::MA;

TString InFolder(const char* name)
{
  return TString(MA.R().Tavrix7->GetFolder(2) + L"/") + name;
}

void Shaft()
{
  MA.drCreate3D(true, true, InFolder("shaft.tpt"), "Вал", "ВЛ-01");
  MA.drPlaneEskis(txapi::o3d_planeXOY, -5, 0, "");
  MA.drMtr(0, 0, 0, 1);
  MA.drLine(-1, 0, 41, 0, 3);
  const double p[][2] = {{0, 0}, {40, 0}, {40, 10}, {0, 10}, {0, 0}};
  for (int i = 0; i < 4; ++i)
    MA.drLine(p[i][0], p[i][1], p[i + 1][0], p[i + 1][1], 1);
  MA.drDeleteMtr();
  MA.drEndEskis();
  txapi::SmartPtr<txapi::IModelContainer> mc = MA.R().Part;
  txapi::SmartPtr<txapi::IRotateds> rotateds = mc ? mc->GetRotateds() : txapi::SmartPtr<txapi::IRotateds>();
  txapi::SmartPtr<txapi::IRotated> r = rotateds ? rotateds->Add(txapi::o3d_bossRotated)
                                                : txapi::SmartPtr<txapi::IRotated>();
  if (r) {
    r->SetProfile(txapi::SmartPtr<txapi::IModelObject>(MA.R().Sketch));
    r->SetSideAngle(0, 360);
    txapi::SmartPtr<txapi::IModelObject>(r)->Update();
  }
  MA.drSave3D(true, true);
}

void Assembly()
{
  MA.drCreate3D(false, false, InFolder("pair.tas"), "Пара", "П-01");
  MA.AddDetail(0, 0, 0, InFolder("shaft.tpt"), false, true);
  txapi::SmartPtr<txapi::IPart> a = MA.R().Obj3D;
  MA.AddDetailAxle(85, 0, 0, InFolder("shaft.tpt"), -1, 0, 0, 0, -1, 0, true);
  txapi::SmartPtr<txapi::IPart> b = MA.R().Obj3D;
  if (a && b)
    MA.drMate(txapi::mc_Distance, a->GetDefaultEntity(txapi::o3d_planeYOZ), b->GetDefaultEntity(txapi::o3d_planeYOZ),
              0, 1, 5.0, "");
  // The components stay listed, and the selection held, until the library is unloaded: its globals
  // let go of them then.
  drApi::ADP.Add(a, 1, 0);
  drApi::ADP.Add(b, 1, 0);
  drApi::Selector->Begin();
  MA.drSave3D(false, true);
}

} // namespace

extern "C" TXAPI_EXPORT bool LoadTavrixLibrary(txapi::IApplication& app, txapi::ITavrixLibraryActions& actions)
{
  MA.Init(app, "TestAdapter", "#Stamp - Regular");
  actions.RegisterRunCommand([](unsigned int command, txapi::txRunCommandModeEnum) {
    if (command == 1) Shaft();
    if (command == 2) Assembly();
    MA.drEndGetPart(false);
    if (MA.R().TavrixError) MA.R().TavrixError->Reset();
  });
  return true;
}

// Built without unique symbols, the library is unmapped at dlclose and its static destructors run
// then; the host references outside the unit's globals are let go here.
extern "C" TXAPI_EXPORT void UnloadTavrixLibrary()
{
  MA.R().TavrixError.reset();
  MA.R().Tavrix7 = nullptr;
}
