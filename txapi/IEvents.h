#pragma once

// The host's event sources. A library subscribes a callback per event under a key of its own choosing, and
// drops every subscription filed under a key with one Unsubscribe(key); unsubscribing a key that holds
// nothing does nothing. The host calls each callback on every occurrence of its event while the
// subscription stands; a bool answer goes back to the host.

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/IEventObjects.h"
#include "txapi/ITavrixAPIObject.h"
#include "txapi/SmartPtr.h"

#include <functional>
#include <string>
#include <vector>

namespace txapi {

class IModelObject;
class IPropertyControl;
class ITavrixDocument;

// Every event source: one unsubscribe for all of a key's callbacks.
class IEventSource : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"28d25892-e1e5-4061-9d10-754a4c699566"};

  virtual void Unsubscribe(const std::wstring& key) = 0;

protected:
  ~IEventSource() = default;
};

using MouseCallback = std::function<bool(const SmartPtr<IPressedKeys>&, int x, int y)>;

// The view window of a document: painting and the mouse. x and y are window pixels, y from the top.
class IDocumentFrameEvents : public IEventSource
{
public:
  static constexpr InterfaceId IID{"c795d368-053e-464e-9311-e26a6eb29f2d"};

  virtual void SubscribeBeginPaint(const std::wstring& key, std::function<bool(const SmartPtr<IPaintObject>&)>) = 0;
  virtual void SubscribeClosePaint(const std::wstring& key, std::function<void(const SmartPtr<IPaintObject>&)>) = 0;
  virtual void SubscribeMouseDown(const std::wstring& key, MouseCallback) = 0;
  virtual void SubscribeMouseUp(const std::wstring& key, MouseCallback) = 0;
  virtual void SubscribeMouseDblClick(const std::wstring& key, MouseCallback) = 0;
  virtual void SubscribeMouseMove(const std::wstring& key, MouseCallback) = 0;
  virtual void SubscribeBeginPaintGl(const std::wstring& key,
                                     std::function<bool(unsigned drawMode, const SmartPtr<IOpenGLObject>&)>) = 0;
  virtual void SubscribeClosePaintGl(const std::wstring& key,
                                     std::function<void(unsigned drawMode, const SmartPtr<IOpenGLObject>&)>) = 0;
  virtual void SubscribeAddGabarit(const std::wstring& key, std::function<void(const SmartPtr<IGabaritObject>&)>) = 0;
  virtual void SubscribeActivate(const std::wstring& key, std::function<void()>) = 0;
  virtual void SubscribeDeactivate(const std::wstring& key, std::function<void()>) = 0;
  virtual void SubscribeClose(const std::wstring& key, std::function<void()>) = 0;
  virtual void SubscribeBeginPaintTmpObjects(const std::wstring& key, std::function<bool()>) = 0;
  virtual void SubscribeClosePaintTmpObjects(const std::wstring& key, std::function<void()>) = 0;

protected:
  ~IDocumentFrameEvents() = default;
};

using ManipulatorCallback = std::function<bool(int id, txManipulatorPrimitiveEnum primitive)>;

// The manipulators of a 3D process.
class IProcess3DManipulatorsEvents : public IEventSource
{
public:
  static constexpr InterfaceId IID{"5013718f-6687-44b5-b330-62660e8109f1"};

  virtual void SubscribeMoveManipulator(
      const std::wstring& key, std::function<bool(int id, double vx, double vy, double vz, double delta, bool fromEdit)>) = 0;
  virtual void SubscribeRotateManipulator(const std::wstring& key,
                                          std::function<bool(int id, double ox, double oy, double oz, double ax,
                                                             double ay, double az, double angle, bool fromEdit)>) = 0;
  virtual void SubscribeClickManipulatorPrimitive(
      const std::wstring& key, std::function<bool(int id, txManipulatorPrimitiveEnum primitive, bool dblClick)>) = 0;
  virtual void SubscribeBeginDragManipulator(const std::wstring& key, ManipulatorCallback) = 0;
  virtual void SubscribeEndDragManipulator(const std::wstring& key, ManipulatorCallback) = 0;
  virtual void SubscribeCreateManipulatorEdit(const std::wstring& key, ManipulatorCallback) = 0;
  virtual void SubscribeChangeManipulatorValue(
      const std::wstring& key, std::function<bool(int id, txManipulatorPrimitiveEnum primitive, double value)>) = 0;
  virtual void SubscribeDestroyManipulatorEdit(const std::wstring& key, std::function<bool(int id)>) = 0;

protected:
  ~IProcess3DManipulatorsEvents() = default;
};

using ObjectCallback = std::function<bool(const SmartPtr<ITavrixAPIObject>&)>;

// A 3D process: picks, filtering and the process's own life.
class IProcess3DEvents : public IEventSource
{
public:
  static constexpr InterfaceId IID{"00419017-52f3-4aef-97a8-8cb4b6509bbc"};

  virtual void SubscribePlacementChanged(const std::wstring& key, ObjectCallback) = 0;
  virtual void SubscribeFilterObjects(const std::wstring& key, ObjectCallback) = 0;
  virtual void SubscribeExecuteCommand(const std::wstring& key, std::function<bool(int command)>) = 0;
  virtual void SubscribeRun(const std::wstring& key, std::function<bool()>) = 0;
  virtual void SubscribeStop(const std::wstring& key, std::function<bool()>) = 0;
  virtual void SubscribeActivate(const std::wstring& key, std::function<bool()>) = 0;
  virtual void SubscribeDeactivate(const std::wstring& key, std::function<bool()>) = 0;
  virtual void SubscribeEndProcess(const std::wstring& key, std::function<bool()>) = 0;
  virtual void SubscribeCreateTakeObject(const std::wstring& key,
                                         std::function<bool(const SmartPtr<IModelObject>&)>) = 0;
  virtual void SubscribeProcessingGroupObjects(
      const std::wstring& key,
      std::function<bool(const std::vector<SmartPtr<ITavrixAPIObject>>& selected, int selectionType)>) = 0;
  virtual void SubscribeAbortProcess(const std::wstring& key, std::function<bool()>) = 0;

protected:
  ~IProcess3DEvents() = default;
};

// A 2D process. x and y are drawing coordinates, angle in degrees; dynamic while the user still moves.
class IProcess2DEvents : public IEventSource
{
public:
  static constexpr InterfaceId IID{"432138be-27cd-4a72-8b1f-b769905c190b"};

  virtual void SubscribePlacementChanged(const std::wstring& key,
                                         std::function<bool(double x, double y, double angle, bool dynamic)>) = 0;
  virtual void SubscribeExecuteCommand(const std::wstring& key, std::function<bool(int command)>) = 0;
  virtual void SubscribeRun(const std::wstring& key, std::function<bool()>) = 0;
  virtual void SubscribeStop(const std::wstring& key, std::function<bool()>) = 0;
  virtual void SubscribeActivate(const std::wstring& key, std::function<bool()>) = 0;
  virtual void SubscribeDeactivate(const std::wstring& key, std::function<bool()>) = 0;
  virtual void SubscribeEndProcess(const std::wstring& key, std::function<bool()>) = 0;
  virtual void SubscribeGetMouseEnterLeavePoint(
      const std::wstring& key,
      std::function<bool(const SmartPtr<IPropertyControl>&, int, int, SmartPtr<IMouseEnterLeaveParameters>&)>) = 0;
  virtual void SubscribeAbortProcess(const std::wstring& key, std::function<bool()>) = 0;

protected:
  ~IProcess2DEvents() = default;
};

using ControlCallback = std::function<void(const SmartPtr<IPropertyControl>&)>;
using ControlIntCallback = std::function<void(const SmartPtr<IPropertyControl>&, int)>;
using ControlIntBoolCallback = std::function<void(const SmartPtr<IPropertyControl>&, int, bool)>;

// The property panel of a process.
class IPropertiesManagerEvents : public IEventSource
{
public:
  static constexpr InterfaceId IID{"5f1ee359-b303-45e2-85c6-f4b36a463ba4"};

  virtual void SubscribeButtonClick(const std::wstring& key, std::function<bool(int buttonId)>) = 0;
  virtual void SubscribeChangeControlValue(const std::wstring& key, ControlCallback) = 0;
  virtual void SubscribeControlCommand(const std::wstring& key, ControlIntCallback) = 0;
  virtual void SubscribeButtonUpdate(const std::wstring& key,
                                     std::function<bool(int buttonId, bool& enable, int& checked)>) = 0;
  virtual void SubscribeProcessActivate(const std::wstring& key, std::function<void()>) = 0;
  virtual void SubscribeProcessDeactivate(const std::wstring& key, std::function<void()>) = 0;
  virtual void SubscribeSelectItem(const std::wstring& key, ControlIntBoolCallback) = 0;
  virtual void SubscribeCheckItem(const std::wstring& key, ControlIntBoolCallback) = 0;
  virtual void SubscribeSelectCell(const std::wstring& key,
                                   std::function<void(const SmartPtr<IPropertyControl>&, int row, int column)>) = 0;
  virtual void SubscribeEditFocus(const std::wstring& key,
                                  std::function<void(const SmartPtr<IPropertyControl>&, bool setFocus)>) = 0;
  virtual void SubscribeUserMenuCommand(const std::wstring& key, ControlIntCallback) = 0;
  virtual void SubscribeGetContextMenuType(const std::wstring& key, std::function<int(int, int, int)>) = 0;
  virtual void SubscribeFillContextPanel(const std::wstring& key,
                                         std::function<void(const SmartPtr<IProcessContextPanel>&)>) = 0;
  virtual void SubscribeFillContextIconMenu(const std::wstring& key,
                                            std::function<void(const SmartPtr<IProcessContextIconMenu>&)>) = 0;
  virtual void SubscribeEndEditItem(const std::wstring& key, ControlIntCallback) = 0;
  virtual void SubscribeChangeTabExpanded(const std::wstring& key, std::function<void(int tabIndex)>) = 0;
  virtual void SubscribeDoubleClickItem(const std::wstring& key, ControlIntCallback) = 0;

protected:
  ~IPropertiesManagerEvents() = default;
};

using DocumentCallback = std::function<void(const SmartPtr<ITavrixDocument>&)>;
using KeyCallback = std::function<bool(int& keyCode, int keyFlags, const SmartPtr<IPressedKeys>&)>;
using SavePreviousCallback =
    std::function<void(const SmartPtr<ITavrixDocument>&, txSaveDocumentVersionEnum, const SmartPtr<ISaveToPreviousParam>&)>;

// The application: documents, keys, materials, themes.
class IApplicationEvents : public IEventSource
{
public:
  static constexpr InterfaceId IID{"78f5e077-c849-4c73-933f-3ae88b54295d"};

  virtual void SubscribeBeginCreate(const std::wstring& key, std::function<bool(DocumentTypeEnum)>) = 0;
  virtual void SubscribeCreateDocument(const std::wstring& key, DocumentCallback) = 0;
  virtual void SubscribeBeginOpenDocument(const std::wstring& key, std::function<bool(const std::wstring&)>) = 0;
  virtual void SubscribeOpenDocument(const std::wstring& key, DocumentCallback) = 0;
  virtual void SubscribeBeginOpenFile(const std::wstring& key, std::function<bool()>) = 0;
  virtual void SubscribeBeginDragOpenFiles(const std::wstring& key,
                                           std::function<bool(std::vector<std::wstring>&, bool)>) = 0;
  virtual void SubscribeBeginRequestFiles(const std::wstring& key,
                                          std::function<bool(txRequestFilesTypeEnum, std::vector<std::wstring>&)>) = 0;
  virtual void SubscribeChangeActiveDocument(const std::wstring& key, DocumentCallback) = 0;
  virtual void SubscribeApplicationDestroy(const std::wstring& key, std::function<void()>) = 0;
  virtual void SubscribeBeginCloseAllDocument(const std::wstring& key, std::function<bool()>) = 0;
  virtual void SubscribeKeyDown(const std::wstring& key, KeyCallback) = 0;
  virtual void SubscribeKeyUp(const std::wstring& key, KeyCallback) = 0;
  virtual void SubscribeKeyPressed(const std::wstring& key, KeyCallback) = 0;
  virtual void SubscribeBeginChoiceMaterial(const std::wstring& key, std::function<bool(txMaterialPropertyTypeEnum)>) = 0;
  virtual void SubscribeChoiceMaterial(const std::wstring& key,
                                       std::function<void(txMaterialPropertyTypeEnum, const std::wstring&, double)>) = 0;
  virtual void SubscribeIsNeedConvertToSavePrevious(
      const std::wstring& key,
      std::function<bool(const SmartPtr<ITavrixDocument>&, txSaveDocumentVersionEnum,
                         const SmartPtr<ISaveToPreviousParam>&, bool&)>) = 0;
  virtual void SubscribeBeginConvertToSavePrevious(const std::wstring& key, SavePreviousCallback) = 0;
  virtual void SubscribeEndConvertToSavePrevious(const std::wstring& key, SavePreviousCallback) = 0;
  virtual void SubscribeChangeTheme(const std::wstring& key, std::function<bool(txThemeEnum)>) = 0;

protected:
  ~IApplicationEvents() = default;
};

} // namespace txapi
