#pragma once
// Receivers of the host's six event sources. A receiver carries a name and one virtual handler per event
// of its source; Advise subscribes, under the name, a callback per event selected by the mask, and one
// unsubscribe by the name drops them all. A command derives from all six and overrides what it handles;
// a handler it does not override answers the host with a fixed default, most of them ReturnValue.
#include "txapi/IEventObjects.h"
#include "txapi/IEvents.h"
#include "txapi/IPropertyControl.h"
#include "txapi/IModelObject.h"
#include "txapi/ITavrixAPIObject.h"
#include "txapi/ITavrixDocument.h"
#include "txapi/SmartPtr.h"

#include <string>
#include <utility>
#include <vector>

class TBaseManager;
class THotPointData;
class TMeshDrawObjectParam;

// A host model object, as the selection questions receive it.
using TModelObjectPtr = txapi::SmartPtr<txapi::IModelObject>;

template <class TS, class TI> class TReceiverEvents
{
public:
  TReceiverEvents(std::wstring iN, const bool RV) : N(std::move(iN)), ReturnValue(RV) {}
  virtual ~TReceiverEvents() = default;

  // Drops every subscription filed under the name, at the source they were made at: the host may no longer
  // hand that source out when the command ends.
  virtual void UnAdvie(TS events)
  {
    TS source = Source ? Source : events;
    Source = nullptr;
    if (source) source->Unsubscribe(N);
  }
  virtual void Advise(TS events, int mask) = 0;

  std::wstring N;
  const bool ReturnValue;
  TS Source; // where Advise subscribed
};

template <class TS, class TI> class TBaseManagerReceiverEvent : public TReceiverEvents<TS, TI>
{
public:
  TBaseManagerReceiverEvent(TBaseManager& receiver, std::wstring name, const bool returnValue)
      : TReceiverEvents<TS, TI>(std::move(name), returnValue), Receiver(receiver)
  {
  }

  TBaseManager& Receiver;
};

using TPressedKeys = txapi::SmartPtr<txapi::IPressedKeys>;
using TControlPtr = txapi::SmartPtr<txapi::IPropertyControl>;
using TDocumentPtr = txapi::SmartPtr<txapi::ITavrixDocument>;

class TReceiverFrameEvent
    : public TBaseManagerReceiverEvent<txapi::SmartPtr<txapi::IDocumentFrameEvents>, txapi::IDocumentFrameEvents>
{
public:
  using TS = txapi::SmartPtr<txapi::IDocumentFrameEvents>;
  enum Events : int {
    eBeginPaint = 1,
    eClosePaint = 2,
    eMouseDown = 4,
    eMouseUp = 8,
    eMouseDblClick = 16,
    eBeginPaintGl = 32,
    eClosePaintGl = 64,
    eAddGabarit = 128,
    eActivate = 256,
    eDeactivate = 512,
    eClose = 1024,
    eMouseMove = 2048,
    eBeginPaintTmpObjects = 4096,
    eClosePaintTmpObjects = 8192
  };
  using TBaseManagerReceiverEvent::TBaseManagerReceiverEvent;

  void Advise(TS events, int mask) override;

  // The widgets first, then the command (see the .cpp).
  virtual bool _MouseMove(const TPressedKeys& keys, int x, int y);
  virtual bool _MouseDown(const TPressedKeys& keys, int x, int y);
  virtual bool _MouseUp(const TPressedKeys& keys, int x, int y);
  virtual bool _MouseDblClick(const TPressedKeys& keys, int x, int y);
  virtual bool _BeginPaintGL(unsigned drawMode, const txapi::SmartPtr<txapi::IOpenGLObject>& glObject);
  virtual void _ClosePaintGL(unsigned drawMode, const txapi::SmartPtr<txapi::IOpenGLObject>& glObject);
  virtual void _AddGabarit(txapi::SmartPtr<txapi::IGabaritObject>) {}

  virtual bool BeginPaint(const txapi::SmartPtr<txapi::IPaintObject>&) { return ReturnValue; }
  virtual bool ClosePaint(const txapi::SmartPtr<txapi::IPaintObject>&) { return ReturnValue; }
  virtual bool MouseMove(const TPressedKeys&, int, int) { return ReturnValue; }
  virtual bool MouseDown(const TPressedKeys&, int, int) { return ReturnValue; }
  virtual bool MouseUp(const TPressedKeys&, int, int) { return ReturnValue; }
  virtual bool MouseDblClick(const TPressedKeys&, int, int) { return ReturnValue; }
  virtual bool BeginPaintGL(unsigned, const txapi::SmartPtr<txapi::IOpenGLObject>&) { return ReturnValue; }
  virtual void ClosePaintGL(unsigned, const txapi::SmartPtr<txapi::IOpenGLObject>&) {}
  virtual void AddGabarit(txapi::SmartPtr<txapi::IGabaritObject>) {}
  virtual bool Activate() { return ReturnValue; }
  virtual bool Deactivate() { return ReturnValue; }
  virtual bool CloseFrame() { return ReturnValue; }
  virtual bool BeginPaintTmpObjects() { return ReturnValue; }
  virtual bool ClosePaintTmpObjects() { return ReturnValue; }
};

class TReceiverProcess3DManipulatorsEvent
    : public TBaseManagerReceiverEvent<txapi::SmartPtr<txapi::IProcess3DManipulatorsEvents>,
                                       txapi::IProcess3DManipulatorsEvents>
{
public:
  using TS = txapi::SmartPtr<txapi::IProcess3DManipulatorsEvents>;
  enum Events : int {
    eMoveManipulator = 1,
    eRotateManipulator = 2,
    eClickManipulatorPrimitive = 4,
    eBeginDragManipulator = 8,
    eEndDragManipulator = 16,
    eCreateManipulatorEdit = 32,
    eChangeManipulatorValue = 64,
    eDestroyManipulatorEdit = 128
  };
  using TBaseManagerReceiverEvent::TBaseManagerReceiverEvent;

  void Advise(TS events, int mask) override;

  virtual bool MoveManipulator(int Id, double vectorX, double vectorY, double vectorZ, double delta,
                               bool fromEdit) = 0;
  virtual bool RotateManipulator(int Id, double originX, double originY, double originZ, double axisX,
                                 double axisY, double axisZ, double angle, bool fromEdit) = 0;
  virtual bool ClickManipulatorPrimitive(int, txapi::txManipulatorPrimitiveEnum, bool) { return ReturnValue; }
  virtual bool BeginDragManipulator(int, txapi::txManipulatorPrimitiveEnum) { return ReturnValue; }
  virtual bool EndDragManipulator(int Id, txapi::txManipulatorPrimitiveEnum primitiveType) = 0;
  virtual bool CreateManipulatorEdit(int, txapi::txManipulatorPrimitiveEnum) { return ReturnValue; }
  virtual bool ChangeManipulatorValue(int, txapi::txManipulatorPrimitiveEnum, double) { return ReturnValue; }
  virtual bool DestroyManipulatorEdit(int) { return ReturnValue; }

  bool DragManipulator = false;
};

class TReceiverProcess3DEvent
    : public TBaseManagerReceiverEvent<txapi::SmartPtr<txapi::IProcess3DEvents>, txapi::IProcess3DEvents>
{
public:
  using TS = txapi::SmartPtr<txapi::IProcess3DEvents>;
  using TObj = txapi::SmartPtr<txapi::ITavrixAPIObject>;
  enum Events : int {
    ePlacementChanged = 1,
    eExecuteCommand = 2,
    eRun = 4,
    eStop = 8,
    eActivate = 16,
    eDeactivate = 32,
    eEndProcess = 64,
    eFilterObjects = 128,
    eCreateTakeObject = 256,
    eProcessingGroupObjects = 512,
    eAbortProcess = 1024
  };
  using TBaseManagerReceiverEvent::TBaseManagerReceiverEvent;

  void Advise(TS events, int mask) override;

  // The command's pick; the remembered filter object is dropped whatever the answer.
  virtual bool PlacementChanged(const TObj& obj);
  // Whether the command accepts obj; an accepted object is remembered for a pick without one.
  virtual bool FilterObjects(const TObj& obj);
  virtual bool ExecuteCommand(int) { return false; }
  virtual bool RunProcess() { return false; }
  virtual bool StopProcess() { return false; }
  virtual bool Activate() { return false; }
  virtual bool Deactivate() { return false; }
  virtual bool EndProcess() { return false; }
  virtual bool CreateTakeObject(const TModelObjectPtr&) { return false; }
  virtual bool ProcessingGroupObjects(const std::vector<TObj>&, int) { return false; }
  virtual bool AbortProcess() { return false; }
  // The selection questions.
  virtual bool CanSelect(const TObj&) { return false; }
  virtual bool Select(const TObj&) { return true; }
  virtual bool ECanSelect(TModelObjectPtr) { return false; }
  virtual bool ESelect(TModelObjectPtr) { return true; }
  virtual bool HPCanSelect(THotPointData&) { return false; }
  virtual bool HPSelect(THotPointData&) { return true; }
  virtual bool MOCanSelect(TMeshDrawObjectParam&) { return false; }
  virtual bool MOSelect(TMeshDrawObjectParam&) { return true; }

  TObj LastFilterObj;
};

class TReceiverProcess2DEvent
    : public TBaseManagerReceiverEvent<txapi::SmartPtr<txapi::IProcess2DEvents>, txapi::IProcess2DEvents>
{
public:
  using TS = txapi::SmartPtr<txapi::IProcess2DEvents>;
  enum Events : int {
    ePlacementChanged = 1,
    eExecuteCommand = 2,
    eRun = 4,
    eStop = 8,
    eActivate = 16,
    eDeactivate = 32,
    eEndProcess = 64,
    eGetMouseEnterLeavePoint = 128,
    eAbortProcess = 256
  };
  using TBaseManagerReceiverEvent::TBaseManagerReceiverEvent;

  // Subscribes the first five events only.
  void Advise(TS events, int mask) override;

  virtual bool PlacementChanged(double, double, double, bool) { return ReturnValue; }
  virtual bool ExecuteCommand(int) { return ReturnValue; }
  virtual bool Run() { return ReturnValue; }
  virtual bool Stop2D() { return ReturnValue; }
  virtual bool Activate() { return ReturnValue; }
  virtual bool Deactivate() { return ReturnValue; }
  virtual bool EndProcess() { return ReturnValue; }
  virtual bool GetMouseEnterLeavePoint(const TControlPtr&, int, int,
                                       txapi::SmartPtr<txapi::IMouseEnterLeaveParameters>&)
  {
    return ReturnValue;
  }
  virtual bool AbortProcess2D() { return ReturnValue; }
};

class TReceiverPropertyManagerEvent
    : public TBaseManagerReceiverEvent<txapi::SmartPtr<txapi::IPropertiesManagerEvents>,
                                       txapi::IPropertiesManagerEvents>
{
public:
  using TS = txapi::SmartPtr<txapi::IPropertiesManagerEvents>;
  enum Events : int {
    eButtonClick = 1,
    eChangeControlValue = 2,
    eControlCommand = 4,
    eButtonUpdate = 8,
    eProcessActivate = 16,
    eProcessDeactivate = 32,
    eSelectItem = 64,
    eCheckItem = 128,
    eSelectCell = 256,
    eEditFocus = 512,
    eUserMenuCommand = 1024,
    eGetContextMenuType = 2048,
    eFillContextPanel = 4096,
    eFillContextIconMenu = 8192,
    eEndEditItem = 16384,
    eChangeTabExpanded = 32768,
    eDoubleClickItem = 65536
  };
  using TBaseManagerReceiverEvent::TBaseManagerReceiverEvent;

  // Never subscribes eGetContextMenuType.
  void Advise(TS events, int mask) override;

  // The framework's share first, then the command (see the .cpp).
  virtual bool _ButtonClick(int buttonId);
  virtual void _ChangeControlValue(TControlPtr control);
  virtual void _ControlCommand(TControlPtr control, int buttonId);
  virtual bool _ButtonUpdate(int buttonId, bool& enable, int& checked);
  virtual void _ProcessActivate();
  virtual void _ProcessDeactivate();
  virtual void _SelectItem(TControlPtr control, int index, bool select);
  virtual void _CheckItem(TControlPtr control, int index, bool check);
  virtual void _EditFocus(TControlPtr control, bool setFocus);
  virtual void _UserMenuCommand(TControlPtr control, int menuId);

  virtual bool ButtonClick(int) { return false; }
  virtual bool ChangeControlValue(TControlPtr) { return false; }
  virtual bool ControlCommand(TControlPtr, int) { return false; }
  virtual bool ButtonUpdate(int, bool&, int&) { return false; }
  virtual void ProcessActivate() {}
  virtual void ProcessDeactivate() {}
  virtual bool SelectItem(TControlPtr, int, bool) { return false; }
  virtual bool CheckItem(TControlPtr, int, bool) { return false; }
  virtual void SelectCell(TControlPtr, int, int) {}
  virtual bool EditFocus(TControlPtr, bool) { return false; }
  virtual bool UserMenuCommand(TControlPtr, int) { return false; }
  virtual void FillContextPanel(txapi::SmartPtr<txapi::IProcessContextPanel>) {}
  virtual void FillContextIconMenu(txapi::SmartPtr<txapi::IProcessContextIconMenu>) {}
  virtual void EndEditItem(TControlPtr, int) {}
  virtual void ChangeTabExpanded(int) {}
  virtual void DoubleClickItem(TControlPtr, int) {}
};

class TReceiverApplicationEvent
    : public TReceiverEvents<txapi::SmartPtr<txapi::IApplicationEvents>, txapi::IApplicationEvents>
{
public:
  using TS = txapi::SmartPtr<txapi::IApplicationEvents>;
  using TSave = txapi::SmartPtr<txapi::ISaveToPreviousParam>;
  enum TEEvents : int {
    eBeginCreate,
    eCreateDocument,
    eBeginOpenDocument,
    eOpenDocument,
    eBeginOpenFile,
    eBeginDragOpenFiles,
    eBeginRequestFiles,
    eChangeActiveDocument,
    eApplicationDestroy,
    eBeginCloseAllDocument,
    eKeyDown,
    eKeyUp,
    eKeyPressed,
    eBeginChoiceMaterial,
    eChoiceMaterial,
    eIsNeedConvertToSavePrevious,
    eBeginConvertToSavePrevious,
    eEndConvertToSavePrevious,
    eChangeTheme
  };
  TReceiverApplicationEvent() : TReceiverEvents(L"ReceiverApplicationEvent", true) {}

  // Event n is selected by bit n of the mask.
  void Advise(TS events, int mask) override;

  virtual bool BeginCreate(txapi::DocumentTypeEnum) { return ReturnValue; }
  virtual void CreateDocument(TDocumentPtr) {}
  virtual bool BeginOpenDocument(const std::wstring&) { return ReturnValue; }
  virtual void OpenDocument(TDocumentPtr) {}
  virtual bool BeginOpenFile() { return ReturnValue; }
  virtual bool BeginDragOpenFiles(std::vector<std::wstring>&, bool) { return ReturnValue; }
  virtual bool BeginRequestFiles(txapi::txRequestFilesTypeEnum, std::vector<std::wstring>&) { return ReturnValue; }
  virtual void ChangeActiveDocument(TDocumentPtr) {}
  virtual void ApplicationDestroy() {}
  virtual bool BeginCloseAllDocument() { return ReturnValue; }
  virtual bool KeyDown(int& keyCode, int keyFlags, const TPressedKeys& Keys) = 0;
  virtual bool KeyUp(int&, int, const TPressedKeys&) { return ReturnValue; }
  virtual bool KeyPressed(int&, int, const TPressedKeys&) { return ReturnValue; }
  virtual bool BeginChoiceMaterial(txapi::txMaterialPropertyTypeEnum) { return ReturnValue; }
  virtual void ChoiceMaterial(txapi::txMaterialPropertyTypeEnum, const std::wstring&, double) {}
  virtual bool IsNeedConvertToSavePrevious(TDocumentPtr, txapi::txSaveDocumentVersionEnum, TSave, bool&)
  {
    return ReturnValue;
  }
  virtual void BeginConvertToSavePrevious(TDocumentPtr, txapi::txSaveDocumentVersionEnum, TSave) {}
  virtual void EndConvertToSavePrevious(TDocumentPtr, txapi::txSaveDocumentVersionEnum, TSave) {}
  virtual bool ChangeTheme(txapi::txThemeEnum) { return ReturnValue; }
};
