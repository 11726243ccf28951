#include "hxcadkit/commands/pmMeasurer.h"

#include "hxcadkit/commands/pmHost.h"
#include "hxcadkit/core/Messager.h"
#include "txapi/IDistanceAngleMeasurement3D.h"
#include "txapi/IDistanceAngleMeasurements3D.h"
#include "txapi/IEdge.h"
#include "txapi/IEdgeLengthMeasurement3D.h"
#include "txapi/IEdgeLengthMeasurements3D.h"
#include "txapi/IFace.h"
#include "txapi/IMathCurve3D.h"
#include "txapi/IMathSurface3D.h"
#include "txapi/IThread.h"
#include "txapi/IThreadsParameters.h"

namespace {

using Obj = txapi::SmartPtr<txapi::IModelObject>;

// A face with one radius, whose diameter can be measured: a cylinder or a sphere (a cone has none).
bool IsRoundFace(txapi::IFace& f)
{
  return f.IsCylindrical() || f.IsSpherical();
}

// An edge on a circle: the later circular test first.
bool IsRoundEdge(txapi::IEdge& e)
{
  return e.IsArc() || e.IsCircle();
}

void Highlight(const Obj& o)
{
  if (drApi::Selector != nullptr) drApi::Selector->Choose(txapi::SmartPtr<txapi::ITavrixAPIObject>(o));
}

// Item 0 of a measurement collection, added when there is none; empty when neither is offered.
template <class Items> auto FirstItem(txapi::SmartPtr<Items> items) -> decltype(items->Add())
{
  if (!items) return {};
  if (items->GetCount() > 0)
    if (auto item = items->GetItem(0)) return item;
  return items->Add();
}

} // namespace

TString cmMeasurer(const int typeMeasurer)
{
  TString result;
  txapi::SmartPtr<txapi::IPart> part = drApi::MA.drGetPart(pTop_Part, txapi::txDocumentAssembly);
  if (!part) part = drApi::MA.drGetPart(pTop_Part, txapi::txDocumentPart);
  if (!part) return result;
  part = nullptr;
  auto* command = new TpmMeasurer(typeMeasurer);
  command->Run(true, false);
  if (command->EVal) result = TString(command->EVal->GetText());
  delete command;
  return result;
}

TpmMeasurer::TpmMeasurer(const int typeMeasurer)
    : TBaseManager3D(DC(TString("Измерить")), DC(TString("Укажите объект")), txapi::pnEnterEscHelp, 38,
                     DC(TString("Параметры")), nullptr)
{
  Measurer = drApi::MA.GetPart();
  // The tips go as they stand: the radio group translates them itself.
  RBtyp = AddRadioButton(DC(TString("Тип измерения")), DC(TString(" ")), 1,
                         {TButtonData(TString("Длина"), 8041), TButtonData(TString("Растояние"), 8042),
                          TButtonData(TString("Диаметер"), 8043), TButtonData(TString("Угол"), 8044),
                          TButtonData(TString("Резьба"), 8045)});
  EVal = AddEditStr(DC(TString()), DC(TString("Результат измерений")), TString(), 0);
  typMeasurer = typeMeasurer;
}

TpmMeasurer::~TpmMeasurer()
{
  RBtyp = nullptr;
  EVal = nullptr;
  Measurer = nullptr;
  cSelect = nullptr;
  cSelect2 = nullptr;
}

// Without a phantom nothing else subscribes the command, and it would hear no pick.
void TpmMeasurer::UpdateRun()
{
  Advise();
}

bool TpmMeasurer::ControlCommand(SmartPtr<txapi::IPropertyControl> Control, int ButtonID)
{
  if (!RBtyp || !(Control == RBtyp)) return true;
  typMeasurer = ButtonID;
  cSelect = nullptr;
  CommandHost.UnChooseAll();
  return true;
}

bool TpmMeasurer::ECanSelect(SmartPtr<txapi::IModelObject> Entity)
{
  if (!Entity) return false;
  const txapi::txObj3dTypeEnum type = Entity->GetType();
  SmartPtr<txapi::IEdge> edge = type == txapi::o3d_edge ? SmartPtr<txapi::IEdge>(Entity) : nullptr;
  SmartPtr<txapi::IFace> face = type == txapi::o3d_face ? SmartPtr<txapi::IFace>(Entity) : nullptr;
  switch (typMeasurer) {
  case 1:
    return type == txapi::o3d_edge;
  case 2:
    return type == txapi::o3d_face || type == txapi::o3d_edge || type == txapi::o3d_vertex;
  case 3:
    if (edge) return IsRoundEdge(*edge);
    if (face) return IsRoundFace(*face);
    return false;
  case 4:
    if (edge) return edge->IsStraight();
    if (face) return face->IsPlanar();
    return false;
  case 5:
    return type == txapi::o3d_thread;
  default:
    return false;
  }
}

bool TpmMeasurer::ESelect(SmartPtr<txapi::IModelObject> Entity)
{
  if (!Entity) return false;
  cSelect2 = cSelect;
  cSelect = Entity;
  const txapi::txObj3dTypeEnum type = Entity->GetType();
  CommandHost.UnChooseAll();
  switch (typMeasurer) {
  case 1:
    Highlight(Entity);
    if (type == txapi::o3d_edge)
      if (SmartPtr<txapi::IEdge> edge = Entity; edge && EVal) EVal->SetRealValue(edge->GetLength(1));
    break;
  case 2: {
    Highlight(Entity);
    Highlight(cSelect2);
    auto item = FirstItem(Measurer ? Measurer->GetEdgeLengthMeasurements() : nullptr);
    if (!item) break;
    item->SetObjects({Entity});
    if (EVal) EVal->SetRealValue(item->GetResult());
    break;
  }
  case 3:
    Highlight(Entity);
    MeasureDiameter(Entity);
    break;
  case 4: {
    Highlight(Entity);
    Highlight(cSelect2);
    auto item = FirstItem(Measurer ? Measurer->GetDistanceAngleMeasurements() : nullptr);
    if (!item) break;
    item->SetFirstObject(Entity);
    item->SetSecondObject(cSelect2);
    if (EVal) EVal->SetRealValue(item->GetAngle());
    break;
  }
  case 5:
    MeasureThread(Entity);
    break;
  default:
    break;
  }
  return false;
}

void TpmMeasurer::MeasureDiameter(SmartPtr<txapi::IModelObject>& Entity)
{
  if (!EVal) return;
  if (SmartPtr<txapi::IFace> face = Entity) {
    if (!IsRoundFace(*face)) return;
    if (SmartPtr<txapi::IMathSurface3D> surface = face->GetMathSurface()) EVal->SetRealValue(2 * surface->GetRadius());
  } else if (SmartPtr<txapi::IEdge> edge = Entity) {
    SmartPtr<txapi::IMathCurve3D> curve = edge->GetMathCurve();
    if (curve && curve->GetType() == txapi::txArc3D) EVal->SetRealValue(2 * curve->GetRadius());
  }
}

void TpmMeasurer::MeasureThread(SmartPtr<txapi::IModelObject>& Entity)
{
  SmartPtr<txapi::IThread> thread = Entity;
  SmartPtr<txapi::IThreadsParameters> sizes = thread;
  if (!thread || !sizes || !EVal) return;
  // Each number right-aligned in seven characters, as the host's thread designations are.
  TString designation = TString("M") + TString(sizes->GetNominalDiameter(), 2, true, 7) + TString("*") +
                        TString(thread->GetPitch(), 2, true, 7);
  EVal->SetText(designation.toWideChar());
}

bool TpmMeasurer::ButtonClick(int ButtonID)
{
  switch (ButtonID) {
  case txapi::pbEnter:
    return true;
  case txapi::pbEsc:
    if (EVal) EVal->SetText(L" ");
    return true;
  default:
    return false;
  }
}
