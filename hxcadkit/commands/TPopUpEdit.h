#pragma once
// Typing a value straight into the 3D view: a one-line field bound to a program variable and checked
// character by character.
#include "hxcadkit/commands/TValidator.h"
#include "hxcadkit/commands/WindowOGL.h"
#include "hxcadkit/core/TPointer.h"

class TValidateEdit : public TWindowOGL
{
public:
  TValidateEdit(TBaseManager* editor, TWindowOGL* owner);
  // A top-level field at a model point that closes itself after ms milliseconds.
  TValidateEdit(TBaseManager* editor, const TPoint3D& at, int ms);
  TValidateEdit(TBaseManager* editor, const TPoint3D& at, const TVariablePtr& v, int ms);
  ~TValidateEdit() override;

  // Binds the field to v and shows its value (a number type brings its own validator).
  void SetLink(const TVariablePtr& v);
  // Takes ownership of v, replacing the current validator.
  void SetValidator(TValidator* v);
  TValidator* GetValidator() const { return Validator; }
  const TVariablePtr& GetVariable() const { return V; }

  virtual bool IsValid(bool);
  virtual bool CanClose() { return Owner == nullptr; }
  void SetText(const TString& text, bool moveCaret, bool redraw) override;
  void Draw2D(TGImage& gi) override;
  bool OnKeyDown(int& keyCode, int keyFlags, const txapi::SmartPtr<txapi::IPressedKeys>& keys) override;

  TVariablePtr V;
  TValidator* Validator = nullptr;
  std::int32_t BeginSelect = 0; // the caret: characters before it
  std::int32_t EndSelect = 0;
};

struct TDimension3D;
class THotPointData;

// An edit field at a 3D dimension's text point that also draws the dimension's lines.
class TDimensionWnd3D : public TValidateEdit
{
public:
  TDimensionWnd3D(TDimension3D& dim, TBaseManager* editor, const TMtr3D& mtr, int ms);
  // The field, for linear and radial dimensions only.
  void Draw2D(TGImage& gi) override;
  // The dimension's lines; moves its text point to where the field belongs.
  void Draw(TGImage& gi) override;

  TDimension3D& VD;
  TMtr3D Mtr;
};

// The pop-up over a hot point: its caption, a close box and an edit field with a label per bound value. It
// closes itself after a time, which typing or moving over it puts off.
class THotPointEdit : public TWindowOGL
{
public:
  THotPointEdit(TBaseManager* editor, THotPointData& hp, int ms);
  ~THotPointEdit() override;

  void OnKillFocus() override;
  void OnSetFocus() override {}
  void OnDestroy() override;
  virtual void OnMouseMove(const txapi::SmartPtr<txapi::IPressedKeys>& keys, int x, int y);
  // From the close box: the editor deletes itself.
  void Sygnal(void* sender, int code, void* data) override;

  THotPointData& HP;
  std::int32_t dY = 24; // row height
};
