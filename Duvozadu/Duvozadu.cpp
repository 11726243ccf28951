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

void RunCommand(unsigned int comm, txapi::txRunCommandModeEnum)
{
  drApi::TRegistryApi& r = drApi::MA.R();
  txapi::IApplication* app = r.Tavrix7;
  if (app == nullptr) return; // not loaded: there is no host to answer
  const txapi::txHideMessageEnum hide = app->GetHideMessage();
  app->SetHideMessage(txapi::txHideMessageNo);
  {
    txapi::SmartPtr<txapi::ITavrixDocument> doc = app->GetActiveDocument();
    if (!doc) {
      Messager->LiftBox(DC(TString("Документ не активизирован")), TMessager::toAlways);
    } else {
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
    drApi::MA.drEndGetPart(false);
    if (r.TavrixError) r.TavrixError->Reset();
    app->SetHideMessage(hide);
  }
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

void UnloadTavrixLibrary() {}
