#pragma once

// The host's processes: the modal loop in which a command runs with its property panel, and what a
// process shows while it runs (the 3D phantom part, the 2D phantom with its drawing group) and the frame it
// works in.

#include "txapi/IAPIObject.h"
#include "txapi/IDrawingGroup.h"
#include "txapi/IModelObject.h"
#include "txapi/IProgressBar.h"
#include "txapi/SmartPtr.h"

#include <string>
#include <vector>

namespace txapi {

class IApplicationEvents;
class IBaseManipulator;
class IDocumentFrameEvents;
class IMateConstraints3D;
class IPart;
class IPlacement3D;
class IProcess2DEvents;
class IProcess3DEvents;
class IProcess3DManipulatorsEvents;
class IProcessParam;

enum txProcess2DTypeEnum : int {
  txProcess2DCursor = 1,
  txProcess2DPlacement = 2,
};

enum txPhantomTypeEnum : int {
  txUnknownPhantom = 0,
  txMoveGroupPhantom = 1,
  txLineSegPhantom = 2,
  txRectanglePhantom = 3,
  txAngleLineSegPhantom = 4,
  txHalfRectanglePhantom = 5,
  txUserPhantom = 6,
  txCirclePhantom = 7,
};

// A process: Run blocks until the process is stopped; the panel's events arrive meanwhile.
class IProcess : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"95a1340d-6a0a-4949-9db6-260ffd44beb3"};

  virtual void SetParam(const SmartPtr<IProcessParam>& param) = 0;
  virtual void SetPrompt(const std::wstring& text) = 0;
  // The process flag the 2D placement sets; its meaning is the host's.
  virtual void SetFlag(bool value) = 0;
  // Runs the process; returns when it is stopped, with the host's result.
  virtual int Run(bool modal, bool postMessage) = 0;
  // Stop ends Run; End tells the host the process is over and ends nothing by itself.
  virtual void Stop() = 0;
  virtual void End() = 0;

protected:
  ~IProcess() = default;
};

// The collection of a 3D process's manipulators.
class IManipulators : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"5bac593b-6758-4c88-9b0d-bf860ca14a00"};

  virtual SmartPtr<IProcess3DManipulatorsEvents> GetEvents() = 0;
  // A new manipulator of the kind (a txManipulatorTypeEnum value); empty when none was made.
  virtual SmartPtr<IBaseManipulator> Add(int kind) = 0;

protected:
  ~IManipulators() = default;
};

// A process in a 3D document; the phantom is the model object the process shows as the preview.
class IProcess3D : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"8af89fc6-bdfa-4512-bdb4-bc6750faf8e6"};

  virtual SmartPtr<IProcess3DEvents> GetEvents() = 0;
  virtual SmartPtr<IManipulators> GetManipulators() = 0;
  // Loads the part file as the phantom; empty when the file cannot be loaded.
  virtual SmartPtr<IPart> LoadPhantom(const std::wstring& fileName) = 0;
  virtual void SetPhantomObject(const SmartPtr<IModelObject>& object) = 0;
  virtual SmartPtr<IModelObject> GetPhantomObject() = 0;
  // Where the phantom stands now (the user moves it while no object fixes it).
  virtual SmartPtr<IPlacement3D> GetPlacement() = 0;
  // The mates that hold the phantom while the process runs.
  virtual SmartPtr<IMateConstraints3D> GetMateConstraints() = 0;
  // The objects the process shows as picked (empty slots allowed).
  virtual void SetSelectedObjects(const std::vector<SmartPtr<IModelObject>>& objects) = 0;

protected:
  ~IProcess3D() = default;
};

// What a 2D process drags along under the cursor.
class IPhantom2D : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"0e53e245-e427-45a2-9c7e-e17972c1c30f"};

  virtual void SetType(txPhantomTypeEnum type) = 0;
  virtual void SetGroup(const SmartPtr<IDrawingGroup>& group) = 0;
  // Redraws the phantom on the screen.
  virtual void Update() = 0;

protected:
  ~IPhantom2D() = default;
};

class IProcess2D : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"87bfca4b-e085-4ddf-b8d5-dfcfff7b36e0"};

  virtual SmartPtr<IPhantom2D> GetPhantom() = 0;
  virtual SmartPtr<IProcess2DEvents> GetEvents() = 0;

protected:
  ~IProcess2D() = default;
};

// The spaces a point given to IDocumentFrame::ConvertCoord is counted in.
enum ConvertCoordTypeEnum : int {
  kcDocument = 1,
  kcGeoView = 2,
  kcCurrentPlane = 3,
};

// The view window of a document.
class IDocumentFrame : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"b546cc86-5e51-4a07-927f-39eec0a2b12d"};

  virtual SmartPtr<IDocumentFrameEvents> GetEvents() = 0;
  // Marks the view for repainting; RefreshWindow repaints it.
  virtual void Invalidate() = 0;
  virtual void RefreshWindow() = 0;
  // The view's rectangle in window pixels (the viewport query).
  virtual void GetViewport(int& x0, int& y0, int& width, int& height) = 0;
  // Projects a point of the given space into window pixels, y counted up from the bottom (the point
  // conversion); false, leaving px and py, when the view cannot convert from that space.
  virtual bool ConvertCoord(ConvertCoordTypeEnum kind, double x, double y, double z, int& px, int& py) = 0;

protected:
  ~IDocumentFrame() = default;
};

} // namespace txapi
