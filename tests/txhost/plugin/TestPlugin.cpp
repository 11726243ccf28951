// A library built only for the stand-in host's tests. It talks to the host through txapi alone, as a real
// library does, so that the loading road and the callbacks can be tested before the real library exists.
//
// Command 1: in the active document, make a part document with a named top part and a body (a disc drawn
// in a sketch and extruded), save it into the documents folder, close it, make the user's document active
// again and report through the message box; a 3D active document also gets its top part renamed.
// Command 2: throws, as a broken library would.
// Any command without an active document: the message "Документ не активизирован".

#include "txapi/txapi.h"

#include <stdexcept>
#include <string>

namespace {

constexpr unsigned int MakePartCommand = 1;
constexpr unsigned int ThrowingCommand = 2;
constexpr int LibraryId = 2000;
constexpr int DocumentsFolder = 2;

txapi::IApplication* App = nullptr;
int PartsMade = 0;

std::wstring Translate(const std::wstring& phrase)
{
  txapi::SmartPtr<txapi::ITranslator> translator = App->GetTranslator();
  return translator ? translator->Translate(phrase) : phrase;
}

// A disc 20 mm across and 10 mm thick on the part's XOY plane: the part a check reads as one solid.
void MakeBody(const txapi::SmartPtr<txapi::IPart>& part)
{
  txapi::SmartPtr<txapi::IModelContainer> container = part;
  txapi::SmartPtr<txapi::ISketches> sketches = container ? container->GetSketches() : nullptr;
  txapi::SmartPtr<txapi::ISketch> sketch = sketches ? sketches->Add() : nullptr;
  if (!sketch) return;
  sketch->SetPlane(part->GetDefaultEntity(txapi::o3d_planeXOY));
  txapi::SmartPtr<txapi::IModelObject>(sketch)->Update();
  txapi::SmartPtr<txapi::ITavrixDocument2D> drawing = sketch->BeginEdit();
  txapi::SmartPtr<txapi::IViewsAndLayersManager> manager =
      drawing ? drawing->GetViewsAndLayersManager() : nullptr;
  txapi::SmartPtr<txapi::IViews> views = manager ? manager->GetViews() : nullptr;
  txapi::SmartPtr<txapi::ICircles> circles = views ? views->GetViewByNumber(0) : nullptr;
  if (txapi::SmartPtr<txapi::ICircle> circle = circles ? circles->Add() : nullptr) {
    circle->SetCircle(0, 0, 10);
    circle->Update();
  }
  sketch->EndEdit();
  txapi::SmartPtr<txapi::IExtrusions> extrusions = container->GetExtrusions();
  txapi::SmartPtr<txapi::IExtrusion> extrusion =
      extrusions ? extrusions->Add(txapi::o3d_bossExtrusion) : nullptr;
  if (!extrusion) return;
  extrusion->SetProfiles({txapi::SmartPtr<txapi::IModelObject>(sketch)});
  extrusion->SetSideDepth(0, 10);
  extrusion->SetDirectionType(txapi::dtNormal);
  extrusion->SetSideParameters(0, txapi::etBlind, 10, 0, false, {});
  txapi::SmartPtr<txapi::IModelObject>(extrusion)->Update();
}

void MakePart(const txapi::SmartPtr<txapi::ITavrixDocument>& userDocument)
{
  txapi::SmartPtr<txapi::IDocuments> documents = App->GetDocuments();
  if (!documents) return;
  txapi::SmartPtr<txapi::ITavrixDocument> partDocument = documents->Add(txapi::txDocumentPart, false);
  if (!partDocument) {
    App->ShowMessage(Translate(L"Не создан документ детали"));
    return;
  }
  txapi::SmartPtr<txapi::ITavrixDocument3D> part3D = partDocument;
  txapi::SmartPtr<txapi::IPart> part;
  if (part3D) part = part3D->GetTopPart();
  if (part) {
    part->SetName(L"Тестовая деталь");
    part->SetMarking(L"ТСТ.001");
    part->Update();
    MakeBody(part);
  }
  const std::wstring path =
      App->GetFolder(DocumentsFolder) + L"/test-part-" + std::to_wstring(++PartsMade) + L".tpt";
  const bool saved = partDocument->SaveAs(path);
  partDocument->Close(txapi::txCloseWithoutSaving);
  userDocument->Activate();

  txapi::SmartPtr<txapi::ITavrixDocument3D> user3D = userDocument;
  if (user3D) {
    txapi::SmartPtr<txapi::IPart> top = user3D->GetTopPart();
    if (top) {
      top->SetName(L"Изменено командой 1");
      top->Update();
    }
  }
  App->ShowMessage(Translate(saved ? L"Деталь сохранена: " : L"Деталь не сохранена: ") + path);
}

void RunCommand(unsigned int comm, txapi::txRunCommandModeEnum)
{
  const txapi::txHideMessageEnum hide = App->GetHideMessage();
  App->SetHideMessage(txapi::txHideMessageNo);
  {
    txapi::SmartPtr<txapi::ITavrixDocument> document = App->GetActiveDocument();
    if (!document) {
      App->ShowMessage(Translate(L"Документ не активизирован"));
    } else if (comm == MakePartCommand) {
      MakePart(document);
    } else if (comm == ThrowingCommand) {
      throw std::runtime_error("command 2 always fails");
    }
  }
  txapi::SmartPtr<txapi::ITavrixError> error = App->GetTavrixError();
  if (error) error->Reset();
  App->SetHideMessage(hide);
}

void CommandState(int, bool& enable, int&, std::wstring&)
{
  enable = true;
}

} // namespace

bool LoadTavrixLibrary(txapi::IApplication& app, txapi::ITavrixLibraryActions& actions)
{
  App = &app;
  const std::wstring path = app.GetCurrentLibraryPath();
  const std::wstring file = path.substr(path.find_last_of(L'/') + 1);
  txapi::SmartPtr<txapi::ILibraryRecord> record = app.GetLibraryRecord(L"TestTxLib");
  if (!record) app.ShowMessage(Translate(L"Не подключена библиотека ") + file);

  actions.RegisterRunCommand(RunCommand);
  actions.RegisterCommandState(CommandState);
  actions.RegisterLibraryId([] { return LibraryId; });
  return true;
}

void UnloadTavrixLibrary()
{
  App = nullptr;
}
