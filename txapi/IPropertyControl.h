#pragma once

// The property controls of a panel. Every control offers IPropertyControl; the typed interfaces below
// are offered by the controls of the matching kind (ControlTypeEnum).

#include "txapi/IAPIObject.h"
#include "txapi/IPropertyPanel.h"
#include "txapi/SmartPtr.h"

#include <string>
#include <vector>

namespace txapi {

class IDrawingGroup;

class IPropertyControl : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"09f5157f-01e8-41e5-937b-6a41804f2b68"};

  virtual ControlTypeEnum GetKind() = 0;
  virtual void SetCaption(const std::wstring& caption) = 0;
  virtual std::wstring GetCaption() = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual bool GetEnabled() = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual bool GetVisible() = 0;
  // Shows the caption as a hyperlink.
  virtual void SetHyperLinkName(bool value) = 0;
  // A button beside the control: number, image, tool tip and the font of the image.
  virtual void AddButton(int id, int image, const std::wstring& tip, const std::wstring& font) = 0;
  // A two-state button beside the control, with an image per state.
  virtual void AddCheckButton(int id, int imageChecked, int imageUnchecked, const std::wstring& tip,
                              const std::wstring& font) = 0;
  virtual void SetButtonChecked(int id, bool checked) = 0;

protected:
  ~IPropertyControl() = default;
};

class IPropertyCheckBox : public IPropertyControl
{
public:
  static constexpr InterfaceId IID{"fce83623-c439-464f-a696-716cc9c0acb0"};

  virtual void SetChecked(bool checked) = 0;
  virtual bool GetChecked() = 0;
  // The look of the box (0 or 1); its meaning is the host's.
  virtual void SetStyle(int style) = 0;

protected:
  ~IPropertyCheckBox() = default;
};

class IPropertyEdit : public IPropertyControl
{
public:
  static constexpr InterfaceId IID{"27b844bd-d03a-4799-a2e1-7e588b20e931"};

  virtual void SetRealValue(double value) = 0;
  virtual double GetRealValue() = 0;
  virtual void SetIntValue(int value) = 0;
  virtual int GetIntValue() = 0;
  virtual void SetText(const std::wstring& text) = 0;
  virtual std::wstring GetText() = 0;
  virtual void SetReadOnly(bool value) = 0;
  virtual void SetWidth(int width) = 0;
  // The selection-target mark of the edit.
  virtual void SetCheckState(CheckStateEnum state) = 0;
  virtual CheckStateEnum GetCheckState() = 0;

protected:
  ~IPropertyEdit() = default;
};

class IPropertySpinEdit : public IPropertyControl
{
public:
  static constexpr InterfaceId IID{"b59aef2a-3253-4945-b66e-d14e5fc421c4"};

  virtual void SetIntValue(int value) = 0;
  virtual int GetIntValue() = 0;
  virtual void SetRange(double min, double max) = 0;

protected:
  ~IPropertySpinEdit() = default;
};

class IPropertyPoint3D : public IPropertyControl
{
public:
  static constexpr InterfaceId IID{"1ed90171-b711-42c8-816a-0a5ad5c59ad6"};

  // The state of coordinate index (0 to 2); its values are the host's.
  virtual void SetCoordinateState(int index, int state) = 0;
  // The edit of coordinate index (0 to 2); empty when the host gives none.
  virtual SmartPtr<IPropertyEdit> GetCoordinateEdit(int index) = 0;

protected:
  ~IPropertyPoint3D() = default;
};

// A list of rows the user picks objects into.
class IPropertyEditList : public IPropertyControl
{
public:
  static constexpr InterfaceId IID{"7c462e78-a8b9-4d0b-ac7a-84b0a5d270a9"};

  virtual void SetIntOption(int value) = 0;
  virtual void SetBoolOption(bool value) = 0;
  virtual void SetCheckState(CheckStateEnum state) = 0;
  virtual CheckStateEnum GetCheckState() = 0;
  virtual void ClearRows() = 0;
  virtual void AddRow(const std::wstring& text) = 0;
  virtual int GetRowCount() = 0;
  virtual void RemoveRow(int index) = 0;
  virtual bool IsRowSelected(int index) = 0;

protected:
  ~IPropertyEditList() = default;
};

// The check-box part of an edit with a check box; the same control offers IPropertyEdit.
class IPropertyEditCheckBox : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"eb445443-6353-487f-8be6-983d1565de49"};

  virtual void SetOption1(bool value) = 0;
  virtual void SetOption2(bool value) = 0;
  virtual void SetCheckText(const std::wstring& text) = 0;

protected:
  ~IPropertyEditCheckBox() = default;
};

class IPropertyList : public IPropertyControl
{
public:
  static constexpr InterfaceId IID{"318825af-a232-4bb3-98fc-2381f01184a5"};

  // The list's option (whether the user may type); its meaning is the host's.
  virtual void SetListOption(bool value) = 0;
  virtual void SetItems(const std::vector<std::wstring>& items) = 0;
  virtual void SetIntItems(const std::vector<int>& items) = 0;
  virtual void SetRealItems(const std::vector<double>& items) = 0;
  virtual void ClearItems() = 0;
  virtual int GetItemCount() = 0;
  // The current index is kept as given, even outside the items.
  virtual void SetCurrentIndex(int index) = 0;
  virtual int GetCurrentIndex() = 0;
  // The current item's text; empty when the index is outside the items.
  virtual std::wstring GetCurrentText() = 0;
  // The index of the first item with the text; -1 when none.
  virtual int IndexOf(const std::wstring& text) = 0;
  virtual void SetReadOnly(bool value) = 0;
  virtual void SetWidth(int width) = 0;

protected:
  ~IPropertyList() = default;
};

class IPropertySeparator : public IPropertyControl
{
public:
  static constexpr InterfaceId IID{"56302918-c3ba-4dd4-9bf5-6ac72b71b7e7"};

protected:
  ~IPropertySeparator() = default;
};

class IPropertyFileName : public IPropertyControl
{
public:
  static constexpr InterfaceId IID{"5a903974-9289-44b4-ae4b-1ad131b8eac6"};

  virtual void SetFileName(const std::wstring& name) = 0;
  virtual std::wstring GetFileName() = 0;

protected:
  ~IPropertyFileName() = default;
};

class IPropertyColor : public IPropertyControl
{
public:
  static constexpr InterfaceId IID{"b89d4035-e65c-4277-b5d8-0b419f7eef48"};

protected:
  ~IPropertyColor() = default;
};

class IPropertyGrid : public IPropertyControl
{
public:
  static constexpr InterfaceId IID{"dd673417-9c82-4676-86a7-1afac6bbebe6"};

  virtual void SetColumnCount(int n) = 0;
  virtual void SetFixedColumnCount(int n) = 0;
  virtual void SetRowCount(int n) = 0;
  virtual void SetFixedRowCount(int n) = 0;
  virtual void SetReadOnly(bool value) = 0;
  // The grid's height in the host's units.
  virtual void SetSize(int size) = 0;

protected:
  ~IPropertyGrid() = default;
};

class IPropertySlideBox : public IPropertyControl
{
public:
  static constexpr InterfaceId IID{"1677bbe8-b724-4234-9230-5de7081ba42a"};

  virtual void SetPicture(const SmartPtr<IDrawingGroup>& group) = 0;
  // The slide box's option; its meaning is the host's.
  virtual void SetOption(bool value) = 0;

protected:
  ~IPropertySlideBox() = default;
};

// A row of buttons, numbered by the caller.
class IPropertyToolBar : public IPropertyControl
{
public:
  static constexpr InterfaceId IID{"3c72688a-7bed-4898-8db0-49a99781a39e"};

  virtual void AddBarButton(int id, int image, int image2) = 0;
  virtual void SetBarButtonEnabled(int id, bool enabled) = 0;
  virtual void SetBarButtonChecked(int id, bool checked) = 0;
  virtual bool GetBarButtonChecked(int id) = 0;
  virtual void SetBarButtonTip(int id, const std::wstring& tip) = 0;
  virtual void SetBarButtonFont(int id, const std::wstring& font) = 0;

protected:
  ~IPropertyToolBar() = default;
};

// A group of buttons of one kind.
class IPropertyMultiButton : public IPropertyToolBar
{
public:
  static constexpr InterfaceId IID{"6e3fca9f-2e31-47bd-8286-b01dac09fbda"};

  virtual void SetButtonKind(ButtonTypeEnum kind) = 0;

protected:
  ~IPropertyMultiButton() = default;
};

} // namespace txapi
