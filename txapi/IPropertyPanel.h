#pragma once

// The property panel of a process: its parameters (caption, button bar, buttons), tabs and the controls
// collection of each tab.

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

#include <string>

namespace txapi {

class IPropertiesManagerEvents;
class IPropertyControl;

// The kinds of property controls.
enum ControlTypeEnum : int {
  txControlSeparator = 1,
  txControlEditInt = 2,
  txControlEditReal = 3,
  txControlEditStr = 4,
  txControlListInt = 5,
  txControlListReal = 6,
  txControlListStr = 7,
  txControlCheckBox = 8,
  txControlMultiButton = 9,
  txControlGrid = 10,
  txControlSlideBox = 11,
  txControlSpinInt = 14,
  txControlFileName = 16,
  txControlColor = 17,
  txControlEditList = 18,
  txControlEditCheckBox = 29,
  txControlPoint3D = 37,
};

enum CheckStateEnum : int {
  txCheckUndefined = 0,
  txCheckCurrent = 1,
  txCheckFixed = 2,
  txCheckVariable = 3,
};

// The standard buttons of a panel.
enum SpecPropertyButtonEnum : int {
  pbEnter = 1,
  pbEsc = 2,
  pbAutoCreate = 3,
  pbSaveState = 4,
  pbNewSearch = 5,
  pbPrevObj = 6,
  pbNextObj = 7,
  pbHelp = 8,
  pbCopyProps = 9,
};

// The standard button bars of a panel.
enum SpecPropertyToolBarEnum : int {
  pnUnknown = 0,
  pnEmpty = 1,
  pnEscHelp = 2,
  pnEnterEscHelp = 3,
  pnEnterEscCreateHelp = 4,
  pnEnterEscCreateSaveHelp = 5,
  pnEnterEscCreateSaveSearchHelp = 6,
  pnEnterEscSaveSearchPrevNextHelp = 7,
  pnEnterEscSearchHelp = 8,
  pnEscSaveSearchHelp = 9,
  pnEnterEscCreateSearchHelp = 10,
  pnEnterEscSaveSearchHelp = 11,
  pnEscSaveStateHelp = 12,
  pnEnterEscSearchPrevNextHelp = 13,
};

enum ButtonTypeEnum : int {
  txPushButton = 0,
  txCheckButton = 1,
  txRadioButton = 2,
};

enum SeparatorTypeEnum : int {
  txSeparatorDownName = 0,
  txSeparatorUpName = 1,
  txSeparatorWithoutLine = 2,
  txSeparatorBMPLeftName = 3,
  txSeparatorBMPRightName = 4,
};

enum SlideTypeEnum : int {
  txSlide = -1,
  txBitmap = 1,
  txGroup = 2,
  txTavrixDocument = 3,
  txTavrixText = 4,
};

// The controls of one tab.
class IPropertyControls : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"9142e416-a401-4750-ada1-09bef660cf6b"};

  // A new control of the kind at the end of the tab; empty when the host makes none.
  virtual SmartPtr<IPropertyControl> Add(ControlTypeEnum kind) = 0;
  virtual int GetCount() = 0;

protected:
  ~IPropertyControls() = default;
};

class IPropertyTab : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"48ae7889-2cb2-410d-971c-ca4923bc38d3"};

  virtual void SetVisible(bool visible) = 0;
  virtual bool GetVisible() = 0;
  // The tab's second option (whether it starts expanded); its meaning is the host's.
  virtual void SetExpanded(bool value) = 0;
  virtual SmartPtr<IPropertyControls> GetControls() = 0;

protected:
  ~IPropertyTab() = default;
};

class IPropertyTabs : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"484c21d2-7646-4e89-ac0b-25ca26b152b2"};

  virtual void SetHeaderVisible(bool visible) = 0;
  virtual void SetHeaderCaption(const std::wstring& caption) = 0;
  virtual SmartPtr<IPropertyTab> Add(const std::wstring& caption) = 0;
  // The tab at index, counted from 0 in the order of adding; empty outside.
  virtual SmartPtr<IPropertyTab> GetItem(int index) = 0;
  virtual int GetCount() = 0;

protected:
  ~IPropertyTabs() = default;
};

// The parameters of a process: the panel's caption, its standard button bar, extra buttons and tabs.
class IProcessParam : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"bccc9c7d-0254-42bb-9cae-5ac9b91ed45a"};

  virtual void SetCaption(const std::wstring& caption) = 0;
  // The parameters' flag; its meaning is the host's.
  virtual void SetFlag(bool value) = 0;
  virtual void SetToolBar(SpecPropertyToolBarEnum kind) = 0;
  virtual void AddButton(int id, int image, const std::wstring& tip, const std::wstring& font) = 0;
  virtual SmartPtr<IPropertyTabs> GetTabs() = 0;
  virtual SmartPtr<IPropertiesManagerEvents> GetEvents() = 0;

protected:
  ~IProcessParam() = default;
};

} // namespace txapi
