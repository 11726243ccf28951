#include "hxcadkit/commands/pmCommon.h"

#include "hxcadkit/commands/TPopUpEdit.h"

#include "hxcadkit/commands/pmHost.h"
#include "hxcadkit/core/Messager.h"
#include "hxcadkit/core/TPointer.h"

TBaseManager* TBaseManager::CurrentProcessManager = nullptr;
const TControlModel* TBaseManager::HelpModel = nullptr;
double TBaseManager::EmptyValue = 0.0;

namespace {

// The message channel reaches the running command's status bar through this link.
class TCommandBar final : public TCommandLink
{
public:
  bool Running() const override
  {
    const TBaseManager* m = TBaseManager::CurrentProcessManager;
    return m != nullptr && m->HasStatusBar();
  }
  void LiftBox(const TString& text, int time) override
  {
    if (Running()) TBaseManager::CurrentProcessManager->StatusBar.LiftBox(text, time);
  }
  void StatusBox(const TString& text, int time) override
  {
    if (Running()) TBaseManager::CurrentProcessManager->StatusBar.StatusBox(text, time);
  }
};

// The registry reaches the running command's bindings through this link.
class TCommandBindings final : public TPropertyLink
{
public:
  bool Running() const override { return TBaseManager::CurrentProcessManager != nullptr; }
  bool ChangeValue(void* p, bool visible, bool readOnly, void* newPtr, int skip) override
  {
    TBaseManager* m = TBaseManager::CurrentProcessManager;
    return m != nullptr && m->APropertyVariable.ChangeValue(p, visible, readOnly, newPtr, skip);
  }
  void ChangeValue(void* p, int skip) override
  {
    if (TBaseManager* m = TBaseManager::CurrentProcessManager) m->APropertyVariable.ChangeValue(p, skip);
  }
  void RedrawPhantom() override
  {
    if (TBaseManager* m = TBaseManager::CurrentProcessManager) m->RedrawPhantom();
  }
};

// The modeller's long operations report their progress and prompts to the running command.
class TCommandProgress final : public drApi::TCommandProgressLink
{
public:
  void NextProgress(const TString& text) override
  {
    if (TBaseManager* m = TBaseManager::CurrentProcessManager) m->NextProgress(text);
  }
  void SetPrompt(const TString& text) override
  {
    if (TBaseManager* m = TBaseManager::CurrentProcessManager) m->SetPrompt(text);
  }
};

TCommandBar CommandBar;
TCommandBindings CommandBindings;
TCommandProgress CommandProgress;

const std::wstring NFrame = L"ReceiverFrameEvent";

} // namespace

TBaseManager::TBaseManager()
    : TReceiverFrameEvent(*this, NFrame, true),
      TReceiverProcess3DManipulatorsEvent(*this, L"ReceiverProcess3DManipulatorsEvent", true),
      TReceiverProcess3DEvent(*this, L"ReceiverProcess3DEvent", true),
      TReceiverProcess2DEvent(*this, L"ReceiverProcess2DEvent", true),
      TReceiverPropertyManagerEvent(*this, L"ReceiverPropertyManagerEvent", true),
      APropertyVariable(*this),
      DispatcherWnd3D(*new TDispatcherWnd3D(*this)),
      StatusBar(*new TStatusBarOGL(this, 20, 20)),
      MeshDraw(CommandHost.ITessellationMng(), 2)
{
  ProcessHint.SetSize(127);
  ProgressMessage.SetSize(127);
  ProgressMessageCurrent.SetSize(127);
  try {
    if (CommandHost.Application()) ProcessParam = CommandHost.Application()->NewProcessParam();
    CommandHost.RefreshDocument();
    if (CommandHost.IDoc()) Frame = CommandHost.IDoc()->GetDocumentFrame();
  } catch (...) {
    // No destructor runs for a command whose construction failed: the dispatcher goes here.
    delete &DispatcherWnd3D;
    throw;
  }
  TMessager::SetCommandLink(&CommandBar);
  TRegistrator::SetPropertyLink(&CommandBindings);
  drApi::TCommandProgressLink::Set(&CommandProgress);
  CurrentProcessManager = this;
}

TBaseManager::~TBaseManager()
{
  Quietly([this] { TBaseManager::UnAdvise(); });
  CurrentProcessManager = nullptr;
  delete &DispatcherWnd3D;
  PropertyControl = nullptr;
  PropertyControls = nullptr;
  PropertyTab = nullptr;
  PropertyTabs = nullptr;
  Manipulators = nullptr;
  Process = nullptr;
  ProcessParam = nullptr;
  Frame = nullptr;
  MeshDraw.Clear(0);
}

bool TBaseManager::OnStop()
{
  MeshDraw.HideAll();
  return true;
}

void TBaseManager::Advise()
{
  if (IsAdvise) return;
  IsAdvise = true;
  if (ProcessParam) TReceiverPropertyManagerEvent::Advise(ProcessParam->GetEvents(), -1);
  if (CommandHost.Application()) TReceiverApplicationEvent::Advise(CommandHost.Application()->GetApplicationEvents(), -1);
}

void TBaseManager::UnAdvise()
{
  if (!IsAdvise) return;
  IsAdvise = false;
  // Each step on its own: a host call that fails keeps none of the others from ending a subscription.
  Quietly([&] {
    if (Frame) TReceiverFrameEvent::UnAdvie(Frame->GetEvents());
  });
  Quietly([&] {
    if (Manipulators) TReceiverProcess3DManipulatorsEvent::UnAdvie(Manipulators->GetEvents());
  });
  Quietly([&] {
    if (ProcessParam) TReceiverPropertyManagerEvent::UnAdvie(ProcessParam->GetEvents());
  });
  Quietly([&] {
    if (CommandHost.Application())
      TReceiverApplicationEvent::UnAdvie(CommandHost.Application()->GetApplicationEvents());
  });
  Quietly([&] {
    if (PropertyTab) PropertyTab->SetVisible(false);
  });
  Quietly([] { CommandHost.UnSelectAll(); });
  ProcessParam = nullptr;
}

void TBaseManager::Stop(int iExitCode)
{
  if (iExitCode < 0) {
    const int n = MeshDraw.Count();
    for (int i = 0; i < n; ++i)
      MeshDraw.Visible(i, false);
  } else {
    MeshDraw.Clear(0);
  }
  CommandHost.UnSelectAll();
  if (Active) {
    Active = false;
    if (Process) {
      Process->Stop();
      Process->End();
    }
  }
  ExitCode = iExitCode;
  if (iExitCode >= 0) {
    UnAdvise();
    if (ProgressActive && CommandHost.ProgressBar()) {
      CommandHost.ProgressBar()->Stop();
      ProgressActive = false;
    }
    if (CommandHost.Application()) CommandHost.Application()->RefreshDocument({}, 1);
  }
  RefreshWindow();
}

bool TBaseManager::ChangeControlValue(TControlPtr Control)
{
  return APropertyVariable.ChangeControlValue(Control);
}

bool TBaseManager::ChangeValue(void*, int)
{
  return false;
}

bool TBaseManager::EndDragManipulator(int, txapi::txManipulatorPrimitiveEnum)
{
  DragManipulator = false;
  RedrawPhantom();
  return false;
}

bool TBaseManager::KeyDown(int& keyCode, int keyFlags, const TPressedKeys& Keys)
{
  if (keyCode != 0)
    if (TWindowOGL* w = TWindowOGL::Focus()) {
      const bool r = w->OnKeyDown(keyCode, keyFlags, Keys);
      keyCode = 0;
      return r;
    }
  return true;
}

TMeshDrawObjectParam* TBaseManager::MeshOfId(int id)
{
  for (int i = 0; i < MeshDraw.AObjectID.Count; ++i)
    if (MeshDraw.AObjectID[i].Id == id) return &MeshDraw.AObjectID[i];
  return nullptr;
}

namespace {
// The host's type code of its tessellated display objects (the previews).
constexpr int TessellationObjectType = 10704;
} // namespace

int TBaseManager::PreviewDecision(const TObj& iEntity, bool select)
{
  const txapi::SmartPtr<txapi::IExternalTessellationObject> t(iEntity);
  if (!t) return 0;
  const int id = t->GetId();
  TMeshDrawObjectParam* mesh = MeshOfId(id);
  if (mesh == nullptr) return 0;
  if (mesh->Type != TMeshID::othotPoint) return select ? MOSelect(*mesh) : MOCanSelect(*mesh);
  THotPointData* hp = AHotPoint != nullptr && AHotPoint->Count > 0 ? AHotPoint->GetId(id) : nullptr;
  return hp != nullptr && (select ? HPSelect(*hp) : HPCanSelect(*hp));
}

bool TBaseManager::CanSelect(const TObj& iEntity)
{
  if (!Pick.Moved || !iEntity) return false;
  bool r;
  if (iEntity->GetTypeCode() == TessellationObjectType) {
    r = PreviewDecision(iEntity, false);
  } else {
    const TModelObjectPtr object(iEntity);
    r = object && ECanSelect(object);
  }
  if (r) Pick.Moved = false;
  return r;
}

bool TBaseManager::Select(const TObj& iEntity)
{
  bool r = false;
  if (iEntity) {
    const TModelObjectPtr object(iEntity);
    r = object && ESelect(object);
  } else if (LastFilterObj) {
    if (LastFilterObj->GetTypeCode() == TessellationObjectType) {
      r = PreviewDecision(LastFilterObj, true);
    } else {
      const TModelObjectPtr object(LastFilterObj);
      r = object && ESelect(object);
    }
  }
  if (r) RedrawPhantom();
  return r;
}

bool TBaseManager::HPCanSelect(THotPointData& HP)
{
  if (DispatcherWnd3D.Exist(HP.Origin) != nullptr) return true;
  if (HotPointEdit != nullptr && DispatcherWnd3D.Exist(HotPointEdit)) delete HotPointEdit;
  HotPointEdit = new THotPointEdit(this, HP, 20000);
  HotPointEdit->Dt = {50, 20};
  RefreshWindow();
  return true;
}

bool TBaseManager::MouseMove(const TPressedKeys&, int, int)
{
  Pick.Moved = true;
  LastFilterObj = nullptr;
  return false;
}

bool TBaseManager::MouseDown(const TPressedKeys&, int, int)
{
  Pick.Moved = false;
  return false;
}

bool TBaseManager::MouseUp(const TPressedKeys&, int, int)
{
  Pick.Valid = false;
  return false;
}

void TBaseManager::RedrawPhantom()
{
  Advise();
  if (AHotPoint != nullptr)
    for (int i = 0; i < AHotPoint->Count; ++i)
      MeshDraw.Remove((*AHotPoint)[i].Id3);
  BeginPhantom();
  PreparePhantom();
  EndPhantom();
  if (AHotPoint != nullptr)
    for (THotPointData& hp : *AHotPoint) {
      MeshDraw.V.SetOrigin(hp.Origin);
      MeshDraw.V.NonScaleble = true;
      const txapi::SmartPtr<txapi::IExternalTessellationObject> t(MeshDraw.Add(TMeshID::othotPoint));
      if (t) MeshDraw.Set(MeshDraw.Count() - 1, MeshDraw.V, TMeshID::othotPoint);
      hp.Obj = t;
      if (t) hp.Id3 = t->GetId();
    }
  RefreshWindow();
}

void TBaseManager::RefreshWindow()
{
  if (!Frame) return;
  Frame->Invalidate();
  Frame->RefreshWindow();
}

void TBaseManager::StartProgress(const TString& CommonMessage, int MaxCount)
{
  if (!CommandHost.ProgressBar()) return;
  ProgressActive = true;
  ProgressMessage = CommonMessage;
  ProgressMaxCount = MaxCount;
  ProgressCount = 0;
  CommandHost.ProgressBar()->Start(0, MaxCount);
}

void TBaseManager::NextProgress(const TString& Message)
{
  if (!ProgressActive || !CommandHost.ProgressBar()) return;
  ProgressMessageCurrent = ProgressMessage + TString(" ") + Message;
  ++ProgressCount;
  CommandHost.ProgressBar()->SetPosition(ProgressCount);
}

void TBaseManager::UpdateProgress(const TString&)
{
  if (!ProgressActive || !CommandHost.ProgressBar()) return;
  ++ProgressCount;
  CommandHost.ProgressBar()->SetPosition(ProgressCount);
}

void TBaseManager::StopProgress()
{
  if (!ProgressActive || !CommandHost.ProgressBar()) return;
  CommandHost.ProgressBar()->Stop();
  ProgressActive = false;
}

void TBaseManager::SetPrompt(const TString& Prompt)
{
  if (Process) Process->SetPrompt(Prompt.toWideChar());
}

// ---------------------------------------------------------------------------------------------
// TBaseManager3D

TBaseManager3D::TBaseManager3D(const TString& Name, const TString& Hint, SpecPropertyToolBarEnum Stb, int HC,
                               const TString& NameTab, std::initializer_list<TButtonData>* pAB)
{
  ExitCode = 0;
  HelpContext = HC;
  ProcessHint = Hint;
  if (ProcessParam) {
    ProcessParam->SetCaption(Name.toWideChar());
    ProcessParam->SetFlag(false);
    if (Stb <= txapi::pnEnterEscSearchPrevNextHelp) ProcessParam->SetToolBar(Stb);
    if (pAB != nullptr)
      for (const TButtonData& b : *pAB)
        ProcessParam->AddButton(b.Id, b.Icon < 0 ? -b.Icon : b.Icon, b.Tips.toWideChar(),
                                CommandHost.LibFont().toWideChar());
    PropertyTabs = ProcessParam->GetTabs();
  }
  if (PropertyTabs) {
    PropertyTabs->SetHeaderCaption(Name.toWideChar());
    PropertyTab = PropertyTabs->Add(NameTab.toWideChar());
  }
  if (PropertyTab) {
    PropertyTab->SetVisible(true);
    PropertyControls = PropertyTab->GetControls();
  }
  CommandHost.RefreshDocument();
  if (!CommandHost.IDoc3D()) return;
  if (CommandHost.IDoc3D()->IsEditMode())
    Phantom = CommandHost.IDoc3D()->GetEditedPart();
  else
    Phantom = CommandHost.IDoc3D()->GetTopPart();
  Process3D = CommandHost.IDoc3D()->NewProcess3D(1);
  Process = Process3D;
  if (Process3D) Manipulators = Process3D->GetManipulators();
}

TBaseManager3D::~TBaseManager3D()
{
  Quietly([this] { TBaseManager3D::UnAdvise(); });
  PropertyControls = nullptr;
  PropertyTabs = nullptr;
  PropertyTab = nullptr;
  ProcessParam = nullptr;
  MeshDraw.Clear(0);
  Quietly([] { CommandHost.UnChooseAll(); });
  CurrentProcessManager = nullptr;
  Phantom = nullptr;
  Process3D = nullptr;
}

void TBaseManager3D::Advise()
{
  if (IsAdvise) return;
  TBaseManager::Advise();
  // A command built without a 3D document has no frame, process or manipulators to listen to.
  if (Frame) TReceiverFrameEvent::Advise(Frame->GetEvents(), -1);
  if (Process3D) TReceiverProcess3DEvent::Advise(Process3D->GetEvents(), -1);
  if (Manipulators) TReceiverProcess3DManipulatorsEvent::Advise(Manipulators->GetEvents(), -1);
}

void TBaseManager3D::UnAdvise()
{
  if (!IsAdvise) return;
  TBaseManager::UnAdvise();
  Quietly([&] {
    if (Frame) TReceiverFrameEvent::UnAdvie(Frame->GetEvents());
  });
  Quietly([&] {
    if (Process3D) TReceiverProcess3DEvent::UnAdvie(Process3D->GetEvents());
  });
  Quietly([&] {
    if (Manipulators) TReceiverProcess3DManipulatorsEvent::UnAdvie(Manipulators->GetEvents());
  });
}

bool TBaseManager3D::SetPhantom(const TString& FileName)
{
  if (!CommandHost.IDoc3D() || !Process3D) return false;
  if (!CommandHost.IDoc3D()->IsEditMode()) {
    // The part loaded into the process is the phantom, so that the preview never touches the user's model.
    Process3D->LoadPhantom(FileName.toWideChar());
    if (SmartPtr<txapi::IPart> loaded{Process3D->GetPhantomObject()}) Phantom = loaded;
  } else {
    Phantom = CommandHost.IDoc3D()->GetEditedPart();
    Process3D->SetPhantomObject(SmartPtr<txapi::IModelObject>(Phantom));
  }
  return bool(Process3D->GetPhantomObject());
}

bool TBaseManager3D::Run(bool Modal, bool iPostMessage)
{
  if (!Process || !Active) return false;
  Process->SetPrompt(ProcessHint.toWideChar());
  ExitCode = 0;
  Process->SetParam(ProcessParam);
  UpdateRun();
  CurrentProcessManager = this;
  for (;;) {
    int r = 0;
    try {
      r = Process->Run(Modal, iPostMessage);
    } catch (...) {
      static_cast<TReceiverPropertyManagerEvent*>(this)->ButtonClick(2); // the command's own reaction
      r = 0;
    }
    if (OnExitRun()) return r != 0;
  }
}

// ---------------------------------------------------------------------------------------------
// TProcessManager2D

TProcessManager2D::TProcessManager2D(const TString& Name, const TString& Hint, SpecPropertyToolBarEnum Stb, int HC,
                                     const TString& NameTab, txapi::txProcess2DTypeEnum T)
{
  if (!CommandHost.IDoc2D()) return;
  Process2D = CommandHost.IDoc2D()->NewProcess2D(T);
  Process = Process2D;
  if (Process2D) Phantom2D = Process2D->GetPhantom();
  ExitCode = 0;
  HelpContext = HC;
  if (ProcessParam) {
    ProcessParam->SetCaption(Name.toWideChar());
    ProcessParam->SetToolBar(Stb);
    ProcessParam->SetFlag(false);
    PropertyTabs = ProcessParam->GetTabs();
  }
  if (PropertyTabs) {
    PropertyTabs->SetHeaderVisible(true);
    PropertyTabs->SetHeaderCaption(Name.toWideChar());
    PropertyTab = PropertyTabs->Add(NameTab.toWideChar());
  }
  if (PropertyTab) {
    PropertyTab->SetVisible(true);
    PropertyControls = PropertyTab->GetControls();
  }
  if (Process) {
    Process->SetParam(ProcessParam);
    Process->SetPrompt(Hint.toWideChar());
    Process->SetFlag(true);
  }
  Advise();
}

TProcessManager2D::~TProcessManager2D()
{
  Quietly([this] { TProcessManager2D::UnAdvise(); });
  CurrentProcessManager = nullptr;
  PhantomGroup = nullptr;
  Phantom2D = nullptr;
  Process2D = nullptr;
}

void TProcessManager2D::Advise()
{
  if (IsAdvise) return;
  TBaseManager::Advise();
  if (Process2D) TReceiverProcess2DEvent::Advise(Process2D->GetEvents(), -1);
}

void TProcessManager2D::UnAdvise()
{
  if (!IsAdvise) return;
  Quietly([&] {
    if (Process2D) TReceiverProcess2DEvent::UnAdvie(Process2D->GetEvents());
  });
  // The panel stays with the command: a stopped placement may be run again, and its events must reach it.
  SmartPtr<txapi::IProcessParam> param = ProcessParam;
  TBaseManager::UnAdvise();
  ProcessParam = param;
}

void TProcessManager2D::SetPhantom(txapi::txPhantomTypeEnum T)
{
  if (!Phantom2D || PhantomGroup) return;
  Phantom2D->SetType(T);
  PhantomGroup = CommandHost.NewGroup();
  Phantom2D->SetGroup(PhantomGroup);
  Phantom2D->Update();
}

bool TProcessManager2D::PlacementChanged(double x, double y, double angle, bool dynamic)
{
  if (!PhantomGroup) return TReceiverProcess2DEvent::ReturnValue;
  if (!dynamic) return CreateObject(x, y, angle);
  PhantomGroup->Open(1);
  PhantomGroup->Reset();
  RedrawPhantom(x, y, angle);
  PhantomGroup->Close();
  if (Phantom2D) Phantom2D->Update();
  return TReceiverProcess2DEvent::ReturnValue;
}

bool TProcessManager2D::Run(bool Modal, bool PostMessage)
{
  if (!Process) return false;
  ExitCode = 0;
  if (!IsAdvise) {
    Advise();
    if (PropertyTab) PropertyTab->SetVisible(true);
  }
  const bool old = Active;
  Active = true;
  try {
    Process->Run(Modal, PostMessage);
  } catch (...) {
    return false;
  }
  Active = old;
  return true;
}

void TProcessManager2D::UpdateProcess()
{
  if (Phantom2D) Phantom2D->Update();
}
