#include "hxcadkit/commands/TPopUpEdit.h"

#include <cmath>
#include <cstdio>

#include "hxcadkit/commands/HotPointData.h"
#include "hxcadkit/commands/WindowOGLControls.h"
#include "hxcadkit/commands/pmCommon.h"
#include "hxcadkit/drawing/drModeler.h"

TValidateEdit::TValidateEdit(TBaseManager* editor, TWindowOGL* owner) : TWindowOGL(editor, owner) {}

TValidateEdit::TValidateEdit(TBaseManager* editor, const TPoint3D& at, int ms) : TWindowOGL(editor, nullptr)
{
  Origin3D = at;
  Origin = {0, 0};
  Height = 28;
  Width = 5;
  if (TDispatcherWnd3D* d = Dispatcher()) d->Timer.Start(Id, ms);
}

TValidateEdit::TValidateEdit(TBaseManager* editor, const TPoint3D& at, const TVariablePtr& v, int ms)
  : TValidateEdit(editor, at, ms)
{
  SetLink(v);
}

TValidateEdit::~TValidateEdit()
{
  delete Validator;
}

void TValidateEdit::SetLink(const TVariablePtr& v)
{
  TString text;
  V = TVariablePtr();
  switch (v.Type) {
  case TVariablePtr::pvReal:
    V.Set(v.Type, v.PData);
    SetValidator(new TLowRangeValidator(-2000.0, 2000.0, ""));
    if (v.PData != nullptr) text = TString(*v.PDataReal, 2, true, 7);
    break;
  case TVariablePtr::pvInteger:
    V.Set(v.Type, v.PData);
    SetValidator(new TLowRangeValidator(0, 2000, ""));
    if (v.PData != nullptr) text = TString(*v.PDataInteger);
    break;
  case TVariablePtr::pvStr:
    V.Set(v.Type, v.PData);
    if (v.PData != nullptr) text = *v.PDataStr;
    break;
  case TVariablePtr::pvBoolean:
    V.Set(v.Type, v.PData);
    if (v.PData != nullptr) text = *v.PDataBoolean ? "true" : "false";
    break;
  default: State &= ~TypeState(seEdited); break;
  }
  SetText(text, true, false);
}

void TValidateEdit::SetValidator(TValidator* v)
{
  if (v == Validator) return;
  delete Validator;
  Validator = v;
}

bool TValidateEdit::IsValid(bool)
{
  return Validator == nullptr || Validator->IsValid(GetText().PChar());
}

void TValidateEdit::SetText(const TString& text, bool moveCaret, bool redraw)
{
  Text = text;
  if (moveCaret) BeginSelect = EndSelect = Text.Length();
  if (redraw) Redraw();
}

void TValidateEdit::Draw2D(TGImage& gi)
{
  const TString& s = GetText();
  const double H = Height, h = gi.Font.Height(s, s.Length()) * H, L = gi.Font.Len(s, s.Length());
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_ALWAYS);
  const bool focused = State & seFocused;
  if (focused) {
    glColor3ub(255, 255, 255);
    gi.giRectAngleFill(Origin.x, Origin.y + 0.1 * H, Origin.x + L * H + 0.1 * H, Origin.y - h - 0.1 * H, 0);
  }
  if (focused)
    glColor3ub(0, 0, 255);
  else if (State & seSelected)
    glColor3ub(255, 0, 0);
  else
    glColor3ub(0, 0, 0);
  gi.giTextOut(Origin.x, Origin.y - h, 0, H, s);
  if (!focused) return;
  const double sin15 = 0.25881904510252074, cos15 = 0.9659258262890683;
  const double x0 = Origin.x + gi.Font.Len(s, std::clamp(EndSelect, 0, s.Length())) * H, y0 = Origin.y - h;
  glColor3ub(255, 0, 0);
  glBegin(GL_LINE_LOOP);
  glVertex3d(x0, y0, 0);
  glVertex3d(x0 + 1, y0, 0);
  glVertex3d(x0 + 1 + 0.5 * H * sin15, y0 + 0.5 * H * cos15, 0);
  glVertex3d(x0 + 0.5 * H * sin15, y0 + 0.5 * H * cos15, 0);
  glEnd();
}

namespace {
bool IsNumber(const TString& s)
{
  bool digit = false;
  for (int i = 0; i < s.Length() && !digit; ++i)
    digit = s[i] >= '0' && s[i] <= '9';
  return digit && s.IsNumeric();
}
} // namespace

bool TValidateEdit::OnKeyDown(int& keyCode, int, const txapi::SmartPtr<txapi::IPressedKeys>&)
{
  TDispatcherWnd3D* d = Dispatcher();
  if (d == nullptr) return true;
  // Typing keeps a timed pop-up open.
  d->Timer.Delete(MainOwner()->Id);
  TString text = GetText();
  // The caret stays within the text whatever happened to it since the last key.
  BeginSelect = std::clamp(BeginSelect, 0, text.Length());
  EndSelect = std::clamp(EndSelect, BeginSelect, text.Length());
  switch (keyCode) {
  case wk_BACK:
    if (BeginSelect == 0) return true;
    text.Remove(BeginSelect - 1, 1);
    --BeginSelect;
    EndSelect = BeginSelect;
    SetText(text, false, true);
    return true;
  case wk_RETURN:
    State &= ~TypeState(seFocused | seEdited);
    Redraw();
    // The variable's reader takes the longest number at the front of a text ("1-2" as 1, blanks as 0):
    // a number field writes only a text that is a number as a whole.
    if ((V.Type != TVariablePtr::pvReal && V.Type != TVariablePtr::pvInteger) || IsNumber(GetText())) V.Let(GetText());
    return false;
  case wk_ESCAPE:
    SetText(V.GetText(), false, true);
    BeginSelect = std::min(BeginSelect, Text.Length());
    EndSelect = BeginSelect;
    State &= ~TypeState(seFocused | seEdited);
    return false;
  case wk_LEFT:
    if (BeginSelect > 0) --BeginSelect;
    EndSelect = BeginSelect;
    Redraw();
    return true;
  case wk_RIGHT:
    if (BeginSelect < text.Length()) ++BeginSelect;
    EndSelect = BeginSelect;
    Redraw();
    return true;
  case wk_DELETE:
    if (BeginSelect < text.Length()) text.Remove(BeginSelect, std::min(EndSelect - BeginSelect + 1, text.Length() - BeginSelect));
    EndSelect = BeginSelect;
    SetText(text, false, true);
    return true;
  default: break;
  }
  d->Timer.Delete(Id);
  const char c = keyCode == 189 ? '-' : keyCode == 16 ? '+' : char(keyCode & 0xFF);
  State |= seEdited;
  if (c != 0) text.Insert(BeginSelect, c);
  if (c != 0 && (Validator == nullptr || Validator->IsValidInput(text.PChar(), true))) {
    ++BeginSelect;
    EndSelect = BeginSelect;
    SetText(text, false, true);
  } else {
    THintOGL::Hint(Editor, Origin3D, TString(u8"Недопустимый символ"), 50, -12, 2000);
  }
  return true;
}

// ---------------------------------------------------------------------------------------------

TDimensionWnd3D::TDimensionWnd3D(TDimension3D& dim, TBaseManager* editor, const TMtr3D& mtr, int ms)
  : TValidateEdit(editor, dim.T, ms), VD(dim), Mtr(mtr)
{
  if (TIdVariable* v = Registrator.Get(dim.VId)) {
    SetTips(v->Comment);
    SetLink(*v);
  } else {
    SetTips(TString(u8"* справочно"));
    SetLink(TVariablePtr(TVariablePtr::pvReal, &dim.V));
  }
}

void TDimensionWnd3D::Draw2D(TGImage& gi)
{
  if (VD.Type == TDimension3D::tdLinear || VD.Type == TDimension3D::tdRadial) TValidateEdit::Draw2D(gi);
}

void TDimensionWnd3D::Draw(TGImage& gi)
{
  glColor3ub(0, 0, 255);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_ALWAYS);
  auto line = [&gi](const TPoint3D& a, const TPoint3D& b) { gi.giLine3D(a.x, a.y, a.z, b.x, b.y, b.z); };
  if (VD.Type == TDimension3D::tdRadial) {
    TPoint3D p, e;
    Mtr.Trans2(VD.P11, p);
    e = p;
    e.Move(VD.AX, VD.V);
    line(p, e);
    VD.T = p;
    VD.T.Move(VD.AX, 2.0);
  } else if (VD.Type == TDimension3D::tdLinear) {
    TPoint3D p1, p2;
    Mtr.Trans2(VD.P11, p1);
    Mtr.Trans2(VD.P12, p2);
    TPoint3D a = p1, b = p2;
    a.Move(VD.AY, 25.0);
    b.Move(VD.AY, 25.0);
    line(p1, a);
    line(p2, b);
    line(a, b);
    VD.T = TPoint3D((a.x + b.x) / 2, (a.y + b.y) / 2, (a.z + b.z) / 2);
  }
}

// ---------------------------------------------------------------------------------------------

THotPointEdit::THotPointEdit(TBaseManager* editor, THotPointData& hp, int ms) : TWindowOGL(editor, nullptr), HP(hp)
{
  const int d = dY;
  Height = 185;
  Width = 204;
  auto label = [this](const TString& text, double x1, double y1, double x2, double y2) {
    auto* l = AdoptChild(this, new TLabelOGL(Editor, this, text));
    l->Set(TRect2D(x1, y1, x2, y2));
    l->Mask &= ~TypeState(mdBackground);
  };
  label(hp.Caption, 21, -3 - d, 162, -3);
  AdoptChild(this, new TButton(Editor, this, TString("[X]")))->Set(TRect2D(163, -3 - d, 182, -3));
  for (int i = 0; i < hp.Count; ++i) {
    const double bottom = -4 - 2 * d - i * (d + 1), top = -4 - d - i * (d + 1);
    auto* edit = AdoptChild(this, new TValidateEdit(Editor, this));
    edit->SetLink(hp[i]);
    edit->Set(TRect2D(1, bottom, 61, top));
    label(hp[i].Comment, 62, bottom, 182, top);
  }
  Height = (hp.Count + 1) * (d + 1) + 2;
  Mask &= ~TypeState(mdBackground);
  if (TDispatcherWnd3D* w = Dispatcher()) {
    w->Timer.Start(Id, ms);
    Origin3D = hp.Origin;
  }
}

THotPointEdit::~THotPointEdit()
{
  // The command must not keep the address of an editor that closed itself (by its timer or close box).
  if (Editor != nullptr && Editor->HotPointEdit == this) Editor->HotPointEdit = nullptr;
}

void THotPointEdit::OnKillFocus()
{
  if (TDispatcherWnd3D* w = Dispatcher()) w->Timer.Delete(Id);
}

void THotPointEdit::OnDestroy()
{
  if (TDispatcherWnd3D* w = Dispatcher()) w->Timer.Delete(Id);
}

void THotPointEdit::OnMouseMove(const txapi::SmartPtr<txapi::IPressedKeys>&, int, int)
{
  if (TDispatcherWnd3D* w = Dispatcher(); w != nullptr && Id != 0) w->Timer.Start(Id, 4000);
}

void THotPointEdit::Sygnal(void* sender, int, void*)
{
  if (AChildWnd.Count > 1 && sender == AChildWnd[1]) delete this;
}
