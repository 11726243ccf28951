// The library's entry unit: what the host finds after loading the library, and the dispatch of
// its one command by the type of the active document.
#include <functional>
#include <string>

#include "Duvozadu/ControlModel.h"
#include "Duvozadu/CplgGlobal.h"
#include "Duvozadu/Duvozadu.h"
#include "Duvozadu/pmCommands.h"
#include "hxcadkit/adapter/drModelerAPI.h"
#include "hxcadkit/commands/pmCommon.h"
#include "hxcadkit/commands/pmHost.h"
#include "hxcadkit/core/Messager.h"
#include "hxcadkit/core/TextBase.h"
#include "txapi/ITavrixLibraryActions.h"
#include "txapi/LibraryEntry.h"

namespace {

constexpr unsigned int CouplingCommand = 200;

} // namespace

bool EnableCommand(unsigned int)
{
  return true;
}

unsigned int LIBRARYID()
{
  return 2000;
}

int LibCommandState(int, bool& enable, int&, std::wstring&)
{
  enable = true;
  return 1;
}

namespace {

// What every command leaves behind it, also one that a host failure ended: the modeller's documents
// and parts let go, the host's error state reset and its message state as it was.
void EndCommand(txapi::IApplication& app, txapi::txHideMessageEnum hide)
{
  Quietly([] { drApi::MA.drEndGetPart(false); });
  Quietly([] {
    if (drApi::MA.R().TavrixError) drApi::MA.R().TavrixError->Reset();
  });
  Quietly([&] { app.SetHideMessage(hide); });
}

void Dispatch(unsigned int comm, txapi::IApplication& app)
{
  txapi::SmartPtr<txapi::ITavrixDocument> doc = app.GetActiveDocument();
  if (!doc) {
    Messager->LiftBox(DC(TString("Документ не активизирован")), TMessager::toAlways);
    return;
  }
  const txapi::DocumentTypeEnum type = doc->GetType();
  switch (type) {
  case txapi::txDocumentDrawing:
  case txapi::txDocumentFragment:
    if (comm == CouplingCommand) PmCouplingBlock2D();
    break;
  case txapi::txDocumentAssembly:
  case txapi::txDocumentTechnologyAssembly:
    // Refreshes the modeller's documents and part before the command looks at them.
    drApi::MA.drGetPart(pTop_Part, type);
    if (comm == CouplingCommand) pmCouplingBlock3D();
    break;
  default:
    Messager->LiftBox(DC(TString("Документ не является Чертежом/Фрагментом/Сборкой")), TMessager::toAlways);
    break;
  }
}

} // namespace

void RunCommand(unsigned int comm, txapi::txRunCommandModeEnum)
{
  txapi::IApplication* app = drApi::MA.R().Tavrix7;
  if (app == nullptr) return; // not loaded: there is no host to answer
  // Nothing a failing host call throws crosses back into the host's caller of this callback.
  txapi::txHideMessageEnum hide = txapi::txShowMessage;
  try {
    hide = app->GetHideMessage();
  } catch (...) {
    return;
  }
  Quietly([&] {
    app->SetHideMessage(txapi::txHideMessageNo);
    Dispatch(comm, *app);
  });
  EndCommand(*app, hide);
}

bool LoadTavrixLibrary(txapi::IApplication& app, txapi::ITavrixLibraryActions& LA)
{
  // The modeller writes the documents folder into the control model, and the builders draw through it.
  drApi::PControlModel = &ControlModel;
  TBaseManager::HelpModel = &ControlModel;
  SetCouplingModeler(&drApi::MA);
  drApi::MA.Init(app, TString("VUVudirido"), TString("#Stamp - Regular"));
  TextBase.Init(drApi::MA.R().Path, TString("VUVudirido.tb"));

  LA.RegisterRunCommand(txapi::RunCommandFunction(
      [](unsigned int comm, txapi::txRunCommandModeEnum mode) { RunCommand(comm, mode); }));
  LA.RegisterCommandState(txapi::CommandStateFunction(
      [](int id, bool& enable, int& checked, std::wstring& reason) { LibCommandState(id, enable, checked, reason); }));
  LA.RegisterLibraryId(txapi::LibraryIdFunction([]() { return int(LIBRARYID()); }));
  return true;
}

// The library's process-wide objects outlive the host's session with it: none may keep a host object.
void UnloadTavrixLibrary()
{
  for (auto* p : {&ControlModel.EditMode, &ControlModel.EditObj, &ControlModel.RefSpcObj, &ControlModel.SpcObj2,
                  &ControlModel.PosLeaderObj})
    p->reset();
  ControlModel.EditPart.reset();
  ControlModel.Place.reset();
  CommandHost.Release();
  drApi::MA.R().TavrixError.reset();
  drApi::MA.R().Tavrix7 = nullptr;
}
