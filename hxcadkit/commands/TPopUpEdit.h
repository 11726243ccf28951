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
