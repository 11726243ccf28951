#include "Duvozadu/pmCoupling3D.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <vector>

#include "Duvozadu/ControlModel.h"
#include "Duvozadu/CplgGlobal.h"
#include "hxcadkit/adapter/drModelerAPI.h"
#include "hxcadkit/commands/pmHost.h"
#include "hxcadkit/core/FolderLock.h"
#include "hxcadkit/core/Messager.h"
#include "hxcadkit/drawing/drBlankModeler.h"
#include "txapi/IDocuments.h"
#include "txapi/IFace.h"
#include "txapi/IMateConstraints3D.h"
#include "txapi/IPartInAssembly.h"
#include "txapi/IPlacement3D.h"
#include "txapi/IUserParameters.h"

namespace {

constexpr int CouplingCommand = 200;

using txapi::SmartPtr;

// Whether the part carries the parameters this library stores with a coupling it placed: only such
// a part is read back and replaced; any other part under edit is left alone.
bool IsOurCoupling(const SmartPtr<txapi::IPart>& part)
{
  const SmartPtr<txapi::IUserParameters> p(part);
  if (!p || p->GetCommand() != CouplingCommand) return false;
  const std::filesystem::path file(WideToUtf8(p->GetLibraryFileName()));
  return TString::Exactly(Utf8ToWide(file.stem().string())) == drApi::MA.R().FileName;
}

// The library's file as the host loaded it, without its folder.
std::wstring LibraryFile()
{
  return Utf8ToWide(std::filesystem::path(drApi::MA.R().PathFileName.Utf8Text()).filename().string());
}

// The mates of the part's assembly; a phantom read from its file has a document of its own, so that
// what the picks mate to it never reaches the user's model.
SmartPtr<txapi::IMateConstraints3D> MatesOf(const SmartPtr<txapi::IPart>& part)
{
  return part ? part->GetMateConstraints() : SmartPtr<txapi::IMateConstraints3D>();
}

// The documents open in the host, in its order.
std::vector<SmartPtr<txapi::ITavrixDocument>> OpenDocuments()
{
  std::vector<SmartPtr<txapi::ITavrixDocument>> out;
  drApi::TRegistryApi& r = drApi::MA.R();
  const SmartPtr<txapi::IDocuments> docs = r.Tavrix7 ? r.Tavrix7->GetDocuments() : nullptr;
  const int n = docs ? docs->GetCount() : 0;
  for (int i = 0; i < n && i < 100000; ++i)
    if (SmartPtr<txapi::ITavrixDocument> d = docs->GetItem(i)) out.push_back(d);
  return out;
}

void Rebuild(const SmartPtr<txapi::IPart>& part)
{
  if (const SmartPtr<txapi::IPartInAssembly> a{part}) a->RebuildModel(true);
}

// The first file the build of the model's coupling would write that is open in the host: building it
// would draw into the user's document, save over it and close the user's window. Empty when none is;
// named tells whether the build named its files (the model's entries then hold them).
TString OpenFileOfBuild(bool& named)
{
  TBlankModeler naming; // a build through it names its files and writes none
  TModeler3D* const host = SetCouplingModeler(&naming);
  named = false;
  try {
    const TQuietCouplings quiet;
    named = Couplings.drCoupling(ControlModel.CouplingName, 0);
  } catch (...) {
    SetCouplingModeler(host);
    throw;
  }
  SetCouplingModeler(host);
  if (!named) return TString();
  // Paths as the file system takes them: the UTF-8 bytes, compared as written and by the file.
  auto path = [](const TString& t) { return std::filesystem::path(t.Utf8Text()).lexically_normal(); };
  for (const SmartPtr<txapi::ITavrixDocument>& d : OpenDocuments()) {
    const std::filesystem::path open = path(TString::Exactly(d->GetFullFileName()));
    if (open.empty()) continue;
    for (int n = 0; n < 10; ++n) {
      if (ControlModel.Detail3D(n).Empty()) continue;
      const std::filesystem::path f = path(ControlModel.Detail3D(n));
      std::error_code e;
      if (f == open || std::filesystem::equivalent(f, open, e)) return ControlModel.Detail3D(n);
    }
  }
  return TString();
}

void SayUnwritten(const TString& file, const TString& why)
{
  Messager->LiftBox(DC(TString("Не удалось записать файл ")) + file + TString(": ") + why, TMessager::toApi);
}

} // namespace

bool pmCouplingBlock3D()
{
  drApi::TRegistryApi& r = drApi::MA.R();
  if (r.Tavrix7 == nullptr) return false;
  SmartPtr<txapi::ITavrixDocument> doc = r.Tavrix7->GetActiveDocument();
  if (TBaseManager::CurrentProcessManager != nullptr || !doc) return false;
  const txapi::DocumentTypeEnum type = doc->GetType();
  if (type != txapi::txDocumentAssembly && type != txapi::txDocumentTechnologyAssembly) {
    Messager->LiftBox(DC(TString("Документ не является Чертежом/Фрагментом/Сборкой")), TMessager::toAlways);
    return false;
  }
  r.IDoc3D = doc;

  // A new command never inherits the part or the placement of an earlier one.
  ControlModel.EditPart.reset();
  ControlModel.Place.reset();
  if (r.IDoc3D && r.IDoc3D->IsEditMode()) {
    SmartPtr<txapi::IPart> edited(r.IDoc3D->GetEditedPart());
    if (IsOurCoupling(edited)) ControlModel.EditPart = edited;
  }
  // However the command ends, also by a host failure, the coupling under edit is shown again when it was
  // hidden, and nothing of it stays held for the next command, which reads its own edit and placement.
  bool hidden = false;
  auto release = [&hidden] {
    if (hidden && ControlModel.EditPart)
      Quietly([] { drApi::MA.SetHidden(SmartPtr<txapi::IModelObject>(ControlModel.EditPart), false); });
    ControlModel.EditPart.reset();
    ControlModel.Place.reset();
  };
  try {
    if (ControlModel.EditPart) {
      const SmartPtr<txapi::IUserParameters> p(ControlModel.EditPart);
      // A block that cannot be read whole, or holds values no size builds, is not edited: the confirmation
      // would replace the user's coupling by one made of whatever the model held before.
      std::vector<std::uint8_t> before;
      ControlModel.to(before);
      if (!ControlModel.from(p->GetUserData()) || Couplings.Damaged(ControlModel.CouplingName)) {
        ControlModel.from(before);
        release();
        r.IDoc3D.reset();
        Messager->LiftBox(DC(TString("Параметры муфты повреждены: блок не изменен")), TMessager::toAlways);
        return true;
      }
      ControlModel.Place = SmartPtr<txapi::ITavrixAPIObject>(ControlModel.EditPart->GetPlacement());
    }
    // Without the modeller's part there is nothing to build into.
    if (!drApi::MA.drGetPart(pNew_Part, type)) {
      release();
      return true;
    }
    if (ControlModel.EditPart) {
      hidden = true;
      drApi::MA.SetHidden(SmartPtr<txapi::IModelObject>(ControlModel.EditPart), true);
    }
    const std::unique_ptr<TpmCoupling3D> command(new TpmCoupling3D());
    command->SetPhantom(r.Path + TString("PhCoupling.tpt"));
    // The phantom is the part the process loaded from that file, or the coupling under edit;
    // without one there is none, never the user's own model.
    if (ControlModel.EditPart)
      command->Phantom = ControlModel.EditPart;
    else if (command->Process3D && !(r.IDoc3D && r.IDoc3D->IsEditMode()))
      command->Phantom = SmartPtr<txapi::IPart>(command->Process3D->GetPhantomObject());
    else
      command->Phantom.reset();
    // The loaded phantom shows its file's sizes until it is given the chosen ones.
    if (command->Table != nullptr) command->SetParam(command->Phantom);
    // A run that neither confirmed nor cancelled the edit (its process could not start) leaves the
    // coupling under edit as the user had it: shown.
    command->Run(true, false);
  } catch (...) {
    release();
    throw;
  }
  release();
  return true;
}

TpmCoupling3D::TpmCoupling3D()
    : TBaseManager3D(DC(TString("Муфты")), DC(TString("Укажите расположение ( или ось, плоскую грань привязок)муфты")),
                     txapi::pnEnterEscHelp, 9, DC(TString("Параметры")), nullptr),
      TCouplingPanel(32)
{
  // The base takes the assembly's own top part as the phantom; the start gives the command its
  // real one, and until then nothing is written anywhere.
  Phantom.reset();
  ActiveDoc = CommandHost.Application() ? CommandHost.Application()->GetActiveDocument() : nullptr;
  FillDetails();
  struct Row
  {
    const char* Caption;
    const char* Hint;
    TAdapter& A;
  };
  const Row rows[] = {{"Муфта", "Тип муфты", ADetails},
                      {"Момент", "Крутящий момент, H*м", ATorque},
                      {"Вал 1", "Диаметр вала полумуфты 1", AD1},
                      {"Тип ", "Тип отверстия полумуфты 1", T1},
                      {"Вал 2", "Диаметр вала полумуфты 2", AD2},
                      {"Тип ", "Тип отверстия полумуфты 2", T2}};
  for (const Row& row : rows)
    AddEditValue(DC(TString(row.Caption)), DC(TString(row.Hint)), row.A);
  AddTab(DC(TString("Спецификация")), true);
  cSpcObj = AddCheckBox(DC(TString("Спецификация")), DC(TString("Создавать объект спецификации")), true, false, false);
  Init = true;
  ChangeControlValue(APropertyVariable.GetControl(&ADetails, false));
  Init = false;
  Advise();
}

TpmCoupling3D::~TpmCoupling3D()
{
  PickMates.clear();
  SelPlane.reset();
  SelAxes.reset();
  SelPoint.reset();
  Plane.reset();
  Axes.reset();
  cSpcObj.reset();
  ActiveDoc.reset();
}

void TpmCoupling3D::UpdateRun()
{
  Direction = 1;
  if (Phantom) {
    Axes = Phantom->GetDefaultEntity(txapi::o3d_axisOX);
    Plane = Phantom->GetDefaultEntity(txapi::o3d_planeYOZ);
  }
  SelAxes.reset();
  SelPlane.reset();
  SelPoint.reset();
}

bool TpmCoupling3D::SetParam(SmartPtr<txapi::IPart>& Part)
{
  // The coupling under edit is a component of the user's assembly: variables written on it would stay there
  // when the edit is cancelled or refused, and its replacement is built from the panel anyway.
  if (!Part || (ControlModel.EditPart && Part == ControlModel.EditPart)) return false;
  const double d1 = ControlModel.P1d;
  const double d2 = ControlModel.P2d;
  const std::pair<const char*, double> values[] = {{"D", 1.5 * d1}, {"D1", d1}, {"L1", d1}, {"L2", d2}};
  for (const auto& [name, value] : values)
    drApi::MA.drSetValue(Part, TString(name), value);
  Rebuild(Part);
  Part->Update();
  return false;
}

bool TpmCoupling3D::Is(const TControlPtr& Control, TAdapter& A) const
{
  const TControlPtr c = APropertyVariable.GetControl(&A, false);
  return c && Control && c == Control;
}

void TpmCoupling3D::Cascade(TAdapter& Next)
{
  const TControlPtr c = APropertyVariable.GetControl(&Next, false);
  if (c) ChangeControlValue(c);
}

bool TpmCoupling3D::ChangeControlValue(TControlPtr Control)
{
  const bool r = TBaseManager3D::ChangeControlValue(Control);
  if (Is(Control, T1)) {
    // The second half takes the first half's bore type, as in the 2D command, and its list shows it:
    // one panel input is one coupling in 2D and 3D.
    ControlModel.T2 = ControlModel.T1;
    APropertyVariable.ChangeValue(&T2, -1);
  } else if (Is(Control, ADetails)) {
    TString why;
    if (!LoadMainTable(APropertyVariable, why)) {
      if (!why.Empty()) Messager->LiftBox(why, TMessager::toApi);
      return r;
    }
    FillTorque();
    // As in the 2D command: never the list entry that shows the torque built last, which would turn "*"
    // into that size and build another coupling than the same input does in 2D.
    APropertyVariable.Reset(&ATorque, LTorque, OpeningTorque(Init && ControlModel.EditPart), TString());
    Cascade(ATorque);
  } else if (Is(Control, ATorque)) {
    if (Table == nullptr || FillD1() == 0) return r;
    const int i = IndexOf(AD1, ControlModel.P1d);
    LD1.Current = i >= 0 ? i : 0;
    AD1.SetI(0);
    APropertyVariable.ChangeValue(&AD1, -1);
    Cascade(AD1);
  } else if (Is(Control, AD1)) {
    if (Table == nullptr) return r;
    if (!Init) ControlModel.P2d = ControlModel.P1d;
    if (FillD2() == 0) return r;
    int i = IndexOf(AD2, ControlModel.P2d);
    if (i < 0) {
      i = 0;
      ControlModel.P2d = LD2[0].toReal();
    }
    APropertyVariable.Reset(&AD2, LD2, i, TString());
    LD2.Current = i;
    Cascade(AD2);
  } else if (Is(Control, AD2)) {
    if (Table != nullptr) {
      ResolveTorque();
      SetParam(Phantom);
    }
  }
  return r;
}

bool TpmCoupling3D::ControlCommand(TControlPtr Control, int ButtonID)
{
  return APropertyVariable.ControlCommand(Control, ButtonID);
}

bool TpmCoupling3D::CanSelect(const TObj& iEntity)
{
  const SmartPtr<txapi::IModelObject> o(iEntity);
  if (!o) return false;
  switch (o->GetType()) {
  case txapi::o3d_pointCS:
  case txapi::o3d_vertex:
    return true;
  case txapi::o3d_face: {
    const SmartPtr<txapi::IFace> f(o);
    return f && (f->IsPlanar() || f->IsCylindrical() || f->IsConical());
  }
  default:
    return false;
  }
}

bool TpmCoupling3D::Select(const TObj& iEntity)
{
  const SmartPtr<txapi::IModelObject> o(iEntity);
  if (!o) {
    if (!ControlModel.EditPart && Process3D)
      ControlModel.Place = SmartPtr<txapi::ITavrixAPIObject>(Process3D->GetPlacement());
    return true;
  }
  // The preview's picks mate the phantom itself, never the user's assembly; without a phantom the
  // pick is still remembered for the component the confirmation inserts.
  auto mate = [&](txapi::MateConstraintType kind, SmartPtr<txapi::IModelObject>& element) {
    // Without a phantom there is nothing to read the picks back from: the earlier picks stay.
    if (!element && Phantom) GetConstraint(Phantom);
    SmartPtr<txapi::IMateConstraints3D> mates = MatesOf(Phantom);
    SmartPtr<txapi::IMateConstraint3D> m = mates && element ? mates->Add(kind) : nullptr;
    if (m) drApi::MA.drSetMate(m, element, o, Direction, 1, 0.0);
    if (m) PickMates.push_back(m);
  };
  switch (o->GetType()) {
  case txapi::o3d_face: {
    const SmartPtr<txapi::IFace> f(o);
    if (!f) break;
    if (f->IsPlanar()) {
      mate(txapi::mc_Coincidence, Plane);
      SelPlane = o;
    } else if (f->IsCylindrical() || f->IsConical()) {
      mate(txapi::mc_Concentric, Axes);
      SelAxes = o;
    }
    break;
  }
  case txapi::o3d_vertex:
    mate(txapi::mc_Coincidence, Axes);
    SelPoint = o;
    break;
  default:
    break;
  }
  return true;
}

void TpmCoupling3D::GetConstraint(SmartPtr<txapi::IPart>& Part)
{
  Direction = 1;
  SmartPtr<txapi::IMateConstraints3D> mates = MatesOf(Part);
  Plane = Part ? Part->GetDefaultEntity(txapi::o3d_planeYOZ) : nullptr;
  Axes = Part ? Part->GetDefaultEntity(txapi::o3d_axisOX) : nullptr;
  SelPlane = drApi::MA.FindMate(mates, txapi::mc_Coincidence, Plane);
  SelPoint = drApi::MA.FindMate(mates, txapi::mc_Coincidence, Axes);
  SelAxes = drApi::MA.FindMate(mates, txapi::mc_Concentric, Axes);
}

void TpmCoupling3D::SetConstraint()
{
  const SmartPtr<txapi::IPart> part = drApi::MA.GetPart();
  Plane = part ? part->GetDefaultEntity(txapi::o3d_planeYOZ) : nullptr;
  Axes = part ? part->GetDefaultEntity(txapi::o3d_axisOX) : nullptr;
  drApi::MA.drMate(txapi::mc_Coincidence, SelPlane, Plane, Direction, 1, 0.0, TString());
  drApi::MA.drMate(txapi::mc_Coincidence, SelPoint, Axes, Direction, 1, 0.0, TString());
  drApi::MA.drMate(txapi::mc_Concentric, SelAxes, Axes, 0, 1, 0.0, TString());
  Rebuild(drApi::MA.GetPart());
}

bool TpmCoupling3D::ButtonClick(int ButtonID)
{
  if (ButtonID == txapi::pbEnter)
    Confirm();
  else if (ButtonID == txapi::pbEsc)
    Cancel();
  return false;
}

bool TpmCoupling3D::Confirm()
{
  drApi::TRegistryApi& r = drApi::MA.R();
  SmartPtr<txapi::ITavrixDocument> user = r.Tavrix7 ? r.Tavrix7->GetActiveDocument() : nullptr;
  // The panel has said why the chosen coupling's data cannot be read: nothing is built, and it is not said
  // again.
  if (!user || Unreadable()) return false;
  ResolveTorque();
  // A build never writes into a document the user has open: it stops before it changes anything.
  bool named = false;
  if (const TString open = OpenFileOfBuild(named); !open.Empty()) {
    Messager->LiftBox(DC(TString("Файл муфты открыт, закройте его: ")) + open, TMessager::toApi);
    return false;
  }
  // Every file the build would write, as the pass above named them, is looked at before any is written: a
  // build that could not write one of them stops before it writes or replaces any file.
  TFolderLock::NewBuild();
  if (TString file, why; named && ControlModel.Unwritable(file, why)) {
    ControlModel.ForgetFiles();
    SayUnwritten(file, why);
    return false;
  }
  // The build makes its parts and assembly in documents of its own, out of sight. Whatever ends it, those
  // still open are closed unsaved rather than left open and unreachable, the files it made are removed
  // when it has not made them all, and the user's assembly is made active again for the next command.
  const std::vector<SmartPtr<txapi::ITavrixDocument>> open = OpenDocuments();
  auto undo = [&](bool removeFiles) {
    Quietly([&] {
      for (const SmartPtr<txapi::ITavrixDocument>& d : OpenDocuments())
        if (std::find(open.begin(), open.end(), d) == open.end()) d->Close(txapi::txCloseWithoutSaving);
    });
    if (removeFiles) ControlModel.RemoveMadeFiles();
    r.IDoc.reset();
    r.IDoc3D.reset();
    r.Part.reset();
    r.Obj3D.reset();
    Quietly([&] { user->Activate(); });
  };
  // What undo removes is this build's own: a build refused before it names a file must not leave the files
  // of the coupling placed before it on record, to be removed with the placed component still reading them.
  ControlModel.ForgetFiles();
  bool built = false;
  try {
    built = Couplings.drCoupling(ControlModel.CouplingName, 0);
  } catch (...) {
    undo(true);
    throw;
  }
  TString file, reason;
  if (built && ControlModel.Unwritten(file, reason)) {
    SayUnwritten(file, reason);
    built = false;
  }
  if (!built) {
    undo(true);
    return false;
  }
  const TString assembly = ControlModel.Detail3D(0);
  user->Activate();
  drApi::MA.drGetPart(pNew_Part, user->GetType());
  const SmartPtr<txapi::IPart> top = drApi::MA.GetPart();
  drApi::MA.drCreatePartFromFile(assembly, false);
  const SmartPtr<txapi::IPart> component = drApi::MA.GetPart();
  // Nothing inserted: what follows would rename, move and mate the user's own assembly.
  if (!component || component == top) {
    r.Part = nullptr;
    Messager->LiftBox(DC(TString("Не удалось вставить сборку муфты ")) + assembly, TMessager::toApi);
    return false;
  }
  if (ControlModel.EditPart) GetConstraint(ControlModel.EditPart);
  SmartPtr<txapi::IPlacement3D> place(ControlModel.Place);
  drApi::MA.drPartSetPlacement(place);
  if (const SmartPtr<txapi::IPartInAssembly> a{drApi::MA.GetPart()}) a->SetStandardComponent(true);
  if (cSpcObj && cSpcObj->GetChecked()) {
    component->SetName(component->GetMarking());
    component->SetMarking(std::wstring());
    drApi::MA.drSpcObj3D(tStandart, TString(), drApi::MA.GetPart());
  }
  std::vector<std::uint8_t> block;
  ControlModel.to(block);
  if (const SmartPtr<txapi::IUserParameters> p{component}) {
    p->SetUserData(block);
    p->SetCommand(CouplingCommand);
    p->SetSecondText(L"VUVudirido");
    p->SetLibraryFileName(LibraryFile());
    component->Update();
  }
  SetConstraint();
  if (ControlModel.EditPart) {
    drApi::MA.DeleteEntity(SmartPtr<txapi::IModelObject>(ControlModel.EditPart));
    ControlModel.EditPart.reset();
    Stop(0);
  }
  return false;
}

void TpmCoupling3D::Cancel()
{
  // The old instance was hidden while its replacement was previewed: it comes back, mated as it was.
  if (ControlModel.EditPart) {
    drApi::MA.SetHidden(SmartPtr<txapi::IModelObject>(ControlModel.EditPart), false);
    if (SmartPtr<txapi::IMateConstraints3D> mates = MatesOf(ControlModel.EditPart))
      for (auto& m : PickMates)
        mates->Remove(m);
    PickMates.clear();
  }
  if (ExitCode >= 0)
    Stop(0);
  else
    ++ExitCode;
}
