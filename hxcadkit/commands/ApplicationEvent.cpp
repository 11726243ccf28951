#include "hxcadkit/commands/ApplicationEvent.h"

#include "hxcadkit/commands/pmCommon.h"
#include "hxcadkit/commands/pmHost.h"

using txapi::SmartPtr;

// Every handler is reached through a virtual call, so that the command's override runs.
// A source the host did not hand out takes no subscription.
#define TX_ON(bit, Event, ...)                                                                               \
  if ((mask & (bit)) && events) {                                                                            \
    this->Source = events;                                                                                   \
    events->Subscribe##Event(N, __VA_ARGS__);                                                                \
  }

void TReceiverFrameEvent::Advise(TS events, int mask)
{
  using Paint = const SmartPtr<txapi::IPaintObject>&;
  using Gl = const SmartPtr<txapi::IOpenGLObject>&;
  TX_ON(eBeginPaint, BeginPaint, [this](Paint p) { return BeginPaint(p); });
  TX_ON(eClosePaint, ClosePaint, [this](Paint p) { ClosePaint(p); });
  TX_ON(eMouseDown, MouseDown, [this](const TPressedKeys& k, int x, int y) { return _MouseDown(k, x, y); });
  TX_ON(eMouseUp, MouseUp, [this](const TPressedKeys& k, int x, int y) { return _MouseUp(k, x, y); });
  TX_ON(eMouseDblClick, MouseDblClick,
        [this](const TPressedKeys& k, int x, int y) { return _MouseDblClick(k, x, y); });
  TX_ON(eMouseMove, MouseMove, [this](const TPressedKeys& k, int x, int y) { return _MouseMove(k, x, y); });
  TX_ON(eBeginPaintGl, BeginPaintGl, [this](unsigned m, Gl g) { return _BeginPaintGL(m, g); });
  TX_ON(eClosePaintGl, ClosePaintGl, [this](unsigned m, Gl g) { _ClosePaintGL(m, g); });
  TX_ON(eAddGabarit, AddGabarit, [this](const SmartPtr<txapi::IGabaritObject>& g) { AddGabarit(g); });
  TX_ON(eActivate, Activate, [this] { Activate(); });
  TX_ON(eDeactivate, Deactivate, [this] { Deactivate(); });
  TX_ON(eClose, Close, [this] { CloseFrame(); });
  TX_ON(eBeginPaintTmpObjects, BeginPaintTmpObjects, [this] { return BeginPaintTmpObjects(); });
  TX_ON(eClosePaintTmpObjects, ClosePaintTmpObjects, [this] { ClosePaintTmpObjects(); });
}

bool TReceiverFrameEvent::_MouseMove(const TPressedKeys& keys, int x, int y)
{
  const bool a = Receiver.DispatcherWnd3D.MouseMove(keys, x, y);
  const bool b = MouseMove(keys, x, y);
  if (a || b) Receiver.RefreshWindow();
  return ReturnValue;
}

bool TReceiverFrameEvent::_MouseDown(const TPressedKeys& keys, int x, int y)
{
  const bool a = Receiver.DispatcherWnd3D.MouseDown(keys, x, y);
  const bool b = MouseDown(keys, x, y);
  if (a || b) Receiver.RefreshWindow();
  return ReturnValue;
}

bool TReceiverFrameEvent::_MouseUp(const TPressedKeys& keys, int x, int y)
{
  Receiver.DispatcherWnd3D.MouseUp(keys, x, y);
  MouseUp(keys, x, y);
  return ReturnValue;
}

bool TReceiverFrameEvent::_MouseDblClick(const TPressedKeys& keys, int x, int y)
{
  MouseDblClick(keys, x, y);
  return ReturnValue;
}

bool TReceiverFrameEvent::_BeginPaintGL(unsigned drawMode, const SmartPtr<txapi::IOpenGLObject>& glObject)
{
  return BeginPaintGL(drawMode, glObject);
}

void TReceiverFrameEvent::_ClosePaintGL(unsigned drawMode, const SmartPtr<txapi::IOpenGLObject>& glObject)
{
  Receiver.DispatcherWnd3D.ClosePaintGL(drawMode, glObject);
  ClosePaintGL(drawMode, glObject);
}

void TReceiverProcess3DManipulatorsEvent::Advise(TS events, int mask)
{
  using P = txapi::txManipulatorPrimitiveEnum;
  TX_ON(eMoveManipulator, MoveManipulator, [this](int id, double vx, double vy, double vz, double d, bool e) {
    return MoveManipulator(id, vx, vy, vz, d, e);
  });
  TX_ON(eRotateManipulator, RotateManipulator,
        [this](int id, double ox, double oy, double oz, double ax, double ay, double az, double a, bool e) {
          return RotateManipulator(id, ox, oy, oz, ax, ay, az, a, e);
        });
  TX_ON(eClickManipulatorPrimitive, ClickManipulatorPrimitive,
        [this](int id, P p, bool d) { return ClickManipulatorPrimitive(id, p, d); });
  TX_ON(eBeginDragManipulator, BeginDragManipulator, [this](int id, P p) { return BeginDragManipulator(id, p); });
  TX_ON(eEndDragManipulator, EndDragManipulator, [this](int id, P p) { return EndDragManipulator(id, p); });
  TX_ON(eCreateManipulatorEdit, CreateManipulatorEdit, [this](int id, P p) { return CreateManipulatorEdit(id, p); });
  TX_ON(eChangeManipulatorValue, ChangeManipulatorValue,
        [this](int id, P p, double v) { return ChangeManipulatorValue(id, p, v); });
  TX_ON(eDestroyManipulatorEdit, DestroyManipulatorEdit, [this](int id) { return DestroyManipulatorEdit(id); });
}

void TReceiverProcess3DEvent::Advise(TS events, int mask)
{
  TX_ON(ePlacementChanged, PlacementChanged, [this](const TObj& o) { return PlacementChanged(o); });
  TX_ON(eFilterObjects, FilterObjects, [this](const TObj& o) { return FilterObjects(o); });
  TX_ON(eExecuteCommand, ExecuteCommand, [this](int c) { return ExecuteCommand(c); });
  TX_ON(eRun, Run, [this] { return RunProcess(); });
  TX_ON(eStop, Stop, [this] { return StopProcess(); });
  TX_ON(eActivate, Activate, [this] { return Activate(); });
  TX_ON(eDeactivate, Deactivate, [this] { return Deactivate(); });
  TX_ON(eEndProcess, EndProcess, [this] { return EndProcess(); });
  TX_ON(eCreateTakeObject, CreateTakeObject, [this](const TModelObjectPtr& o) { return CreateTakeObject(o); });
  TX_ON(eProcessingGroupObjects, ProcessingGroupObjects,
        [this](const std::vector<TObj>& s, int t) { return ProcessingGroupObjects(s, t); });
  TX_ON(eAbortProcess, AbortProcess, [this] { return AbortProcess(); });
}

bool TReceiverProcess3DEvent::PlacementChanged(const TObj& obj)
{
  const bool r = Select(obj);
  LastFilterObj = nullptr;
  return r;
}

bool TReceiverProcess3DEvent::FilterObjects(const TObj& obj)
{
  const bool r = CanSelect(obj);
  if (!r || !obj) return r;
  LastFilterObj = obj; // kept when it names the object already held
  return r;
}

void TReceiverProcess2DEvent::Advise(TS events, int mask)
{
  TX_ON(ePlacementChanged, PlacementChanged,
        [this](double x, double y, double a, bool d) { return PlacementChanged(x, y, a, d); });
  TX_ON(eExecuteCommand, ExecuteCommand, [this](int c) { return ExecuteCommand(c); });
  TX_ON(eRun, Run, [this] { return Run(); });
  TX_ON(eStop, Stop, [this] { return Stop2D(); });
  TX_ON(eActivate, Activate, [this] { return Activate(); });
}

void TReceiverPropertyManagerEvent::Advise(TS events, int mask)
{
  TX_ON(eButtonClick, ButtonClick, [this](int id) { return _ButtonClick(id); });
  TX_ON(eChangeControlValue, ChangeControlValue, [this](const TControlPtr& c) { _ChangeControlValue(c); });
  TX_ON(eControlCommand, ControlCommand, [this](const TControlPtr& c, int id) { _ControlCommand(c, id); });
  TX_ON(eButtonUpdate, ButtonUpdate, [this](int id, bool& e, int& c) { return _ButtonUpdate(id, e, c); });
  TX_ON(eProcessActivate, ProcessActivate, [this] { _ProcessActivate(); });
  TX_ON(eProcessDeactivate, ProcessDeactivate, [this] { _ProcessDeactivate(); });
  TX_ON(eSelectItem, SelectItem, [this](const TControlPtr& c, int i, bool s) { _SelectItem(c, i, s); });
  TX_ON(eCheckItem, CheckItem, [this](const TControlPtr& c, int i, bool s) { _CheckItem(c, i, s); });
  TX_ON(eSelectCell, SelectCell, [this](const TControlPtr& c, int r, int k) { SelectCell(c, r, k); });
  TX_ON(eEditFocus, EditFocus, [this](const TControlPtr& c, bool f) { _EditFocus(c, f); });
  TX_ON(eUserMenuCommand, UserMenuCommand, [this](const TControlPtr& c, int m) { _UserMenuCommand(c, m); });
  TX_ON(eFillContextPanel, FillContextPanel,
        [this](const SmartPtr<txapi::IProcessContextPanel>& p) { FillContextPanel(p); });
  TX_ON(eFillContextIconMenu, FillContextIconMenu,
        [this](const SmartPtr<txapi::IProcessContextIconMenu>& m) { FillContextIconMenu(m); });
  TX_ON(eEndEditItem, EndEditItem, [this](const TControlPtr& c, int i) { EndEditItem(c, i); });
  TX_ON(eChangeTabExpanded, ChangeTabExpanded, [this](int t) { ChangeTabExpanded(t); });
  TX_ON(eDoubleClickItem, DoubleClickItem, [this](const TControlPtr& c, int i) { DoubleClickItem(c, i); });
}

bool TReceiverPropertyManagerEvent::_ButtonClick(int buttonId)
{
  if (!Receiver.Active) return true;
  if (buttonId == txapi::pbHelp) {
    const TControlModel* model = TBaseManager::HelpModel;
    CommandHost.OpenHelp(model != nullptr ? model->HelpFile : TString(), 1001, Receiver.HelpContext);
    return false;
  }
  return ButtonClick(buttonId);
}

void TReceiverPropertyManagerEvent::_ChangeControlValue(TControlPtr control)
{
  if (control && ChangeControlValue(control)) Receiver.RedrawPhantom();
}

void TReceiverPropertyManagerEvent::_ControlCommand(TControlPtr control, int buttonId)
{
  if (ControlCommand(control, buttonId)) Receiver.RedrawPhantom();
}

bool TReceiverPropertyManagerEvent::_ButtonUpdate(int buttonId, bool& enable, int& checked)
{
  if (!Receiver.Active) {
    Receiver.Active = true;
    TAPropertylVariable& bindings = Receiver.APropertyVariable;
    if (bindings.Selected != -1) bindings.SetCheckState(bindings.Selected, true, txapi::txCheckCurrent);
    ProcessActivate();
  }
  return ButtonUpdate(buttonId, enable, checked);
}

void TReceiverPropertyManagerEvent::_ProcessActivate()
{
  Receiver.Active = true;
  ProcessActivate();
}

void TReceiverPropertyManagerEvent::_ProcessDeactivate()
{
  Receiver.Active = false;
  ProcessDeactivate();
}

void TReceiverPropertyManagerEvent::_SelectItem(TControlPtr control, int index, bool select)
{
  if (SelectItem(control, index, select)) Receiver.RedrawPhantom();
}

void TReceiverPropertyManagerEvent::_CheckItem(TControlPtr control, int index, bool check)
{
  if (CheckItem(control, index, check)) Receiver.RedrawPhantom();
}

void TReceiverPropertyManagerEvent::_EditFocus(TControlPtr control, bool setFocus)
{
  if (EditFocus(control, setFocus)) Receiver.RedrawPhantom();
}

void TReceiverPropertyManagerEvent::_UserMenuCommand(TControlPtr control, int menuId)
{
  if (UserMenuCommand(control, menuId)) Receiver.RedrawPhantom();
}

void TReceiverApplicationEvent::Advise(TS events, int mask)
{
  using Doc = const TDocumentPtr&;
  using Ver = txapi::txSaveDocumentVersionEnum;
  using Save = const TSave&;
  auto bit = [](TEEvents e) { return 1 << int(e); };
  TX_ON(bit(eBeginCreate), BeginCreate, [this](txapi::DocumentTypeEnum t) { return BeginCreate(t); });
  TX_ON(bit(eCreateDocument), CreateDocument, [this](Doc d) { CreateDocument(d); });
  TX_ON(bit(eBeginOpenDocument), BeginOpenDocument, [this](const std::wstring& f) { return BeginOpenDocument(f); });
  TX_ON(bit(eOpenDocument), OpenDocument, [this](Doc d) { OpenDocument(d); });
  TX_ON(bit(eBeginOpenFile), BeginOpenFile, [this] { return BeginOpenFile(); });
  TX_ON(bit(eBeginDragOpenFiles), BeginDragOpenFiles,
        [this](std::vector<std::wstring>& f, bool b) { return BeginDragOpenFiles(f, b); });
  TX_ON(bit(eBeginRequestFiles), BeginRequestFiles,
        [this](txapi::txRequestFilesTypeEnum r, std::vector<std::wstring>& f) { return BeginRequestFiles(r, f); });
  TX_ON(bit(eChangeActiveDocument), ChangeActiveDocument, [this](Doc d) { ChangeActiveDocument(d); });
  TX_ON(bit(eApplicationDestroy), ApplicationDestroy, [this] { ApplicationDestroy(); });
  TX_ON(bit(eBeginCloseAllDocument), BeginCloseAllDocument, [this] { return BeginCloseAllDocument(); });
  TX_ON(bit(eKeyDown), KeyDown, [this](int& k, int f, const TPressedKeys& p) { return KeyDown(k, f, p); });
  TX_ON(bit(eKeyUp), KeyUp, [this](int& k, int f, const TPressedKeys& p) { return KeyUp(k, f, p); });
  TX_ON(bit(eKeyPressed), KeyPressed, [this](int& k, int f, const TPressedKeys& p) { return KeyPressed(k, f, p); });
  TX_ON(bit(eBeginChoiceMaterial), BeginChoiceMaterial,
        [this](txapi::txMaterialPropertyTypeEnum m) { return BeginChoiceMaterial(m); });
  TX_ON(bit(eChoiceMaterial), ChoiceMaterial,
        [this](txapi::txMaterialPropertyTypeEnum m, const std::wstring& n, double d) { ChoiceMaterial(m, n, d); });
  TX_ON(bit(eIsNeedConvertToSavePrevious), IsNeedConvertToSavePrevious,
        [this](Doc d, Ver v, Save s, bool& b) { return IsNeedConvertToSavePrevious(d, v, s, b); });
  TX_ON(bit(eBeginConvertToSavePrevious), BeginConvertToSavePrevious,
        [this](Doc d, Ver v, Save s) { BeginConvertToSavePrevious(d, v, s); });
  TX_ON(bit(eEndConvertToSavePrevious), EndConvertToSavePrevious,
        [this](Doc d, Ver v, Save s) { EndConvertToSavePrevious(d, v, s); });
  TX_ON(bit(eChangeTheme), ChangeTheme, [this](txapi::txThemeEnum t) { return ChangeTheme(t); });
}

#undef TX_ON
