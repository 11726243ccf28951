#include "hxcadkit/commands/pmInsertModel.h"

#include "hxcadkit/commands/pmHost.h"
#include "hxcadkit/core/KmfData.h"
#include "hxcadkit/core/Messager.h"
#include "txapi/IFace.h"
#include "txapi/IPlacement3D.h"

#include <vector>

namespace {

using Obj = txapi::SmartPtr<txapi::IModelObject>;

// The three face tests in the host's order: planar, then the two kinds of faces that have an axis.
bool IsPlanarFace(const Obj& o)
{
  txapi::SmartPtr<txapi::IFace> f = o;
  return f && f->IsPlanar();
}

bool IsAxisFace(const Obj& o)
{
  txapi::SmartPtr<txapi::IFace> f = o;
  return f && (f->IsCylindrical() || f->IsConical());
}

} // namespace

txapi::SmartPtr<txapi::IPart> cmInsertModel(const TString& DetNamePath, txapi::SmartPtr<txapi::IPart>& Edit,
                                            TPPreprocessRun Preprocess)
{
  txapi::SmartPtr<txapi::IPart> result;
  if (!drApi::MA.IsActive(txapi::txDocumentAssembly, txapi::txDocumentTechnologyAssembly)) {
    Messager->LiftBox(DC(TString("Вставка возможна только в сборку")), TMessager::toAlways);
    return result;
  }
  if (!FileExists(DetNamePath)) {
    Messager->LiftBox(DC(TString("Отсутствует файл")) + TString(" : ") + DetNamePath, TMessager::toAlways);
    return result;
  }
  txapi::IApplication* app = CommandHost.Application();
  txapi::SmartPtr<txapi::ITavrixDocument> doc = app != nullptr ? app->GetActiveDocument() : nullptr;
  if (!doc) return result;
  drApi::MA.drGetPart(pNew_Part, doc->GetType());
  if (!drApi::MA.GetPart()) return result;
  auto* command = new TpmInsertModel(DetNamePath, Edit);
  if (Preprocess != nullptr) Preprocess(*command);
  command->SetPhantom(DetNamePath);
  command->Run(true, false);
  if (command->Detail) result = command->Detail;
  delete command;
  return result;
}

TpmInsertModel::TpmInsertModel(const TString& DetNamePath, SmartPtr<txapi::IPart>& iEdit)
    : TBaseManager3D(DC(TString("Вставить модель")), DC(TString("Вставить модель")), txapi::pnEnterEscHelp, 38,
                     DC(TString("Параметры")), nullptr),
      NamePath(DetNamePath),
      Edit(iEdit)
{
  txapi::IApplication* app = CommandHost.Application();
  if (app != nullptr) ActiveDoc = app->GetActiveDocument();
  if (!ActiveDoc) {
    Messager->LiftBox(DC(TString(" Нет активного Документа")), TMessager::toAlways);
    return;
  }
  tDoc = ActiveDoc->GetType();
  bDirect = AddRadioButton(DC(TString("Направление ")), DC(TString(" ")), 1,
                           {TButtonData(DC(TString("Прямое")), 8046), TButtonData(DC(TString("Обратное")), 8047)});
  eName = AddEditStr(DC(TString(" Деталь")), DC(TString("Вставляемая деталь")), DetNamePath, 7 * DetNamePath.Length());
  if (eName) eName->SetReadOnly(true);
}

TpmInsertModel::~TpmInsertModel()
{
  M1 = nullptr;
  MC = nullptr;
  Axes = nullptr;
  Plane = nullptr;
  SelPoint = nullptr;
  SelAxes = nullptr;
  SelPlane = nullptr;
  ActiveDoc = nullptr;
  Edit = nullptr;
  Detail = nullptr;
  eName = nullptr;
  bDirect = nullptr;
}

void TpmInsertModel::UpdateRun()
{
  M1 = nullptr;
  Direction = txapi::txMCAlignmentCooriented;
  SelAxes = nullptr;
  SelPlane = nullptr;
  SelPoint = nullptr;
  drApi::MA.drGetPart(pTop_Part, tDoc);
  if (Edit) GetMateConstraint(Edit);
  GetMateConstraintBaseEntity(Phantom);
  // Nothing redraws a phantom before the run starts, and a command that is not subscribed hears no pick.
  Advise();
}

void TpmInsertModel::GetMateConstraintBaseEntity(SmartPtr<txapi::IPart>& Part)
{
  if (!Part) return;
  bool planeXOY = true;
  Axes = drApi::MA.FindEntity(Part, txapi::o3d_unknown, TString("MateAxes"));
  if (!Axes) {
    Axes = drApi::MA.FindEntity(Part, txapi::o3d_unknown, TString("Ось базирования 1"));
    if (Axes)
      planeXOY = false; // a part based on that axis lies on its XOZ plane
    else
      Axes = Part->GetDefaultEntity(txapi::o3d_axisOZ);
  }
  Plane = drApi::MA.FindEntity(Part, txapi::o3d_unknown, TString("MatePlane"));
  if (!Plane) Plane = Part->GetDefaultEntity(planeXOY ? txapi::o3d_planeXOY : txapi::o3d_planeXOZ);
}

void TpmInsertModel::GetMateConstraint(SmartPtr<txapi::IPart>& Part)
{
  SmartPtr<txapi::IMateConstraints3D> mates = Part ? Part->GetMateConstraints() : nullptr;
  GetMateConstraintBaseEntity(Part);
  Direction = txapi::txMCAlignmentCooriented;
  SelPlane = drApi::MA.FindMate(mates, txapi::mc_Coincidence, Plane);
  SelPoint = drApi::MA.FindMate(mates, txapi::mc_Coincidence, Axes);
  SelAxes = drApi::MA.FindMate(mates, txapi::mc_Concentric, Axes);
}

bool TpmInsertModel::ButtonUpdate(int, bool&, int&)
{
  if (!Activate) {
    SetStartMateConstraint();
    Activate = true;
  }
  return false;
}

void TpmInsertModel::ProcessMate(txapi::MateConstraintType Kind, SmartPtr<txapi::IModelObject>& Own,
                                 SmartPtr<txapi::IModelObject>& Picked, int Fixed)
{
  SmartPtr<txapi::IMateConstraint3D> mate = MC ? MC->Add(Kind) : nullptr;
  drApi::MA.drSetMate(mate, Own, Picked, Direction, Fixed, 0.0);
}

void TpmInsertModel::ShowSelected(SmartPtr<txapi::IModelObject> Slot1, SmartPtr<txapi::IModelObject> Slot2,
                                  SmartPtr<txapi::IModelObject> Slot3)
{
  if (Process3D) Process3D->SetSelectedObjects({Slot1, Slot2, Slot3});
}

bool TpmInsertModel::SetStartMateConstraint()
{
  MC = Process3D ? Process3D->GetMateConstraints() : nullptr;
  if (SelPlane) ProcessMate(txapi::mc_Coincidence, Plane, SelPlane, 1);
  if (SelAxes) ProcessMate(txapi::mc_Concentric, Axes, SelAxes, 1);
  ShowSelected(SelPlane, SelAxes, nullptr);
  if (Process) Process->End();
  return true;
}

bool TpmInsertModel::ECanSelect(SmartPtr<txapi::IModelObject> Entity)
{
  if (!Entity) return false;
  const txapi::txObj3dTypeEnum type = Entity->GetType();
  if (type == txapi::o3d_pointCS || (type >= txapi::o3d_vertex && type <= txapi::o3d_axisOperation)) return true;
  if (type == txapi::o3d_face) return IsPlanarFace(Entity) || IsAxisFace(Entity);
  return false;
}

bool TpmInsertModel::ESelect(SmartPtr<txapi::IModelObject> Entity)
{
  if (!Entity) return true;
  MC = Process3D ? Process3D->GetMateConstraints() : nullptr;
  Obj slots[3];
  const txapi::txObj3dTypeEnum type = Entity->GetType();
  if (type == txapi::o3d_vertex) {
    ProcessMate(txapi::mc_Coincidence, Axes, Entity, 0);
    SelPoint = Entity;
    slots[2] = SelPoint;
  } else if (type == txapi::o3d_face) {
    if (IsPlanarFace(Entity)) {
      ProcessMate(txapi::mc_Coincidence, Plane, Entity, 1);
      SelPlane = Entity;
      slots[0] = SelPlane;
    } else if (IsAxisFace(Entity)) {
      ProcessMate(txapi::mc_Concentric, Axes, Entity, 1);
      SelAxes = Entity;
      slots[1] = SelAxes;
    }
  }
  ShowSelected(slots[0], slots[1], slots[2]);
  return true;
}

bool TpmInsertModel::ControlCommand(SmartPtr<txapi::IPropertyControl> Control, int ButtonID)
{
  if (!bDirect || !(Control == bDirect)) return true;
  if (!MC) return true;
  Direction = ButtonID == 1 ? txapi::txMCAlignmentCooriented : txapi::txMCAlignmentOpposite;
  if (!M1) return true;
  MC = Process3D ? Process3D->GetMateConstraints() : nullptr;
  drApi::MA.drClear(MC);
  M1 = MC ? MC->Add(txapi::mc_Coincidence) : nullptr;
  drApi::MA.drSetMate(M1, Plane, SelPlane, Direction, 0, 0.0);
  if (Process) Process->End();
  return false;
}

bool TpmInsertModel::ButtonClick(int ButtonID)
{
  switch (ButtonID) {
  case txapi::pbEnter: {
    SmartPtr<txapi::IPlacement3D> placement = Process3D ? Process3D->GetPlacement() : nullptr;
    drApi::MA.drCreatePartFromFile(NamePath, true);
    drApi::MA.drPartSetPlacement(placement);
    Detail = drApi::MA.GetPart();
    if (MakeMate) SetMateConstraint();
    return true;
  }
  case txapi::pbEsc:
    return true;
  case 32:
    if (txapi::IApplication* app = CommandHost.Application()) app->RefreshDocument(app->GetActiveDocument(), 1);
    ExitCode = 2;
    return true;
  default:
    return false;
  }
}

void TpmInsertModel::SetMateConstraint()
{
  SmartPtr<txapi::IPart> part = drApi::MA.GetPart();
  GetMateConstraintBaseEntity(part);
  if (SelPlane) drApi::MA.drMate(txapi::mc_Coincidence, SelPlane, Plane, Direction, 1, 0.0, TString());
  if (SelPoint) drApi::MA.drMate(txapi::mc_Coincidence, SelPoint, Axes, Direction, 1, 0.0, TString());
  // A concentric mate keeps the closest alignment whatever the direction buttons say.
  if (SelAxes) drApi::MA.drMate(txapi::mc_Concentric, SelAxes, Axes, txapi::txMCAlignmentClosest, 1, 0.0, TString());
  if (part) part->Update();
}
