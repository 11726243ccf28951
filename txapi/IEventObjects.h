#pragma once

// Objects and enumerations that the host hands to event callbacks. The command framework only passes them
// on; the stand-in host gives plain objects of these kinds.

#include "txapi/IAPIObject.h"

namespace txapi {

// The keys and mouse buttons held down while a frame event happened. Which buttons or keys each query
// reports is the host's; a view's mouse command reads them in these roles.
class IPressedKeys : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"5c76468c-4ab8-4e06-a80f-4b4b58116058"};

  // Held down: the button that drags the view, the key that switches the view command, the key that
  // picks a point instead.
  virtual bool GetDrag() = 0;
  virtual bool GetModeSwitch() = 0;
  virtual bool GetPick() = 0;

protected:
  ~IPressedKeys() = default;
};

// The OpenGL drawing context of a frame being painted.
class IOpenGLObject : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"d8fd67f8-44e0-4817-b437-c88cc2ac0619"};

protected:
  ~IOpenGLObject() = default;
};

// The 2D painting context of a frame being painted.
class IPaintObject : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"a0ca1b91-59a6-487c-8a66-6dd0a1a20a97"};

protected:
  ~IPaintObject() = default;
};

// The bounding box the host is collecting for a frame.
class IGabaritObject : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"20ddd14e-bf1b-4879-9d26-51eee5f9cd16"};

protected:
  ~IGabaritObject() = default;
};

// The context panel and context icon menu of a running process.
class IProcessContextPanel : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"756fa1b2-9e2c-40b6-8fc4-24fe386fe36d"};

protected:
  ~IProcessContextPanel() = default;
};

class IProcessContextIconMenu : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"725917ee-3615-4670-91ca-d9d4de0b0351"};

protected:
  ~IProcessContextIconMenu() = default;
};

// Where the mouse entered or left a control of a 2D process.
class IMouseEnterLeaveParameters : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"ea774d7f-13d9-4456-89c8-65b6c3eb69d3"};

protected:
  ~IMouseEnterLeaveParameters() = default;
};

// The settings of saving a document for an older host version.
class ISaveToPreviousParam : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"54f77c5b-de2e-4aee-b2c2-302e4994775d"};

protected:
  ~ISaveToPreviousParam() = default;
};

// The part of a manipulator the user works on.
enum txManipulatorPrimitiveEnum : int {
  txManipulatorPrimitiveUnknown = 0,
  txMPNone = 0,
  txMPAxisX = 1,
  txMPAxisY = 2,
  txMPAxisZ = 3,
  txMPPlaceXOY = 4,
  txMPPlaceXOZ = 5,
  txMPPlaceYOZ = 6,
  txMPConturXY = 7,
  txMPConturXZ = 8,
  txMPConturYZ = 9,
  txMPTextX = 10,
  txMPTextY = 11,
  txMPTextZ = 12,
  txMPOriginal = 13,
};

enum txRequestFilesTypeEnum : int {
  txRequestFilesUnknown = 0,
};

enum txMaterialPropertyTypeEnum : int {
  txMaterialPropertyUnknown = 0,
};

enum txSaveDocumentVersionEnum : int {
  txSaveDocumentVersionUnknown = 0,
};

enum txThemeEnum : int {
  txThemeUnknown = 0,
};

} // namespace txapi
