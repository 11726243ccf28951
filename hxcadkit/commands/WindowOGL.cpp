#include "hxcadkit/commands/WindowOGL.h"

#include "hxcadkit/commands/TPopUpEdit.h"
#include "hxcadkit/commands/pmCommon.h"
#include "hxcadkit/core/Messager.h"
#include "txapi/IProcess.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <cwchar>
#include <limits>
#include <utility>
#include <vector>

TPropertyOGLWnd& TPropertyOGLWnd::operator=(const TPropertyOGLWnd& p)
{
  Mask = p.Mask;
  SetState(p.GetState());
  SetFormat(p.GetFormat());
  SetImage(p.GetImage());
  SetBackClr(p.GetBackClr());
  Mask = p.Mask; // a background copied from a widget that does not fill stays unfilled
  SetTextClr(p.GetTextClr());
  SetMargin(p.GetMargin());
  SetText(p.GetText(), false, false);
  SetTips(p.GetTips());
  return *this;
}

void TPropertyOGLWnd::SetText(const TString& text, bool, bool)
{
  Text = text;
}

void TPropertyOGLWnd::SetBackClr(TColor c)
{
  Background = c;
  Mask |= mdBackground;
}

namespace {
// A projected anchor far outside the view plus its offset stays far outside instead of wrapping round.
int SaturatingAdd(int a, int b)
{
  const long long s = static_cast<long long>(a) + b;
  return int(std::clamp<long long>(s, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}
} // namespace

// ---------------------------------------------------------------------------------------------

TWindowOGL::TWindowOGL(TBaseManager* editor, TWindowOGL* owner) : Editor(editor), Owner(owner)
{
  if (Editor == nullptr) return;
  TDispatcherWnd3D& d = Editor->DispatcherWnd3D;
  if (Owner != nullptr) {
    Id = ++d.BaseId;
    Owner->AChildWnd.Add(this);
  } else {
    d.Register(this);
    Id = ++d.BaseId;
  }
}

TWindowOGL::~TWindowOGL()
{
  for (int i = 0; i < AChildWnd.Count; ++i)
    delete std::exchange(AChildWnd[i], nullptr);
  if (TDispatcherWnd3D* d = Dispatcher()) {
    d->Timer.Delete(Id);
    if (d->Exist(this)) {
      Id = 0;
      d->Unregister(this);
    }
    // A widget can go while the host is being torn down; a failed redraw must not end the program.
    try {
      Redraw();
    } catch (...) {
    }
  }
  if (Owner != nullptr)
    for (int i = 0; i < Owner->AChildWnd.Count; ++i)
      if (Owner->AChildWnd[i] == this) Owner->AChildWnd[i] = nullptr;
  if (Focus() == this) Focus() = nullptr;
  if (Select() == this) Select() = nullptr;
}

TWindowOGL*& TWindowOGL::Focus()
{
  static TWindowOGL* focus = nullptr;
  return focus;
}

TWindowOGL*& TWindowOGL::Select()
{
  static TWindowOGL* select = nullptr;
  return select;
}

TDispatcherWnd3D* TWindowOGL::Dispatcher() const
{
  return Editor != nullptr ? &Editor->DispatcherWnd3D : nullptr;
}

void TWindowOGL::Redraw() const
{
  if (Editor != nullptr) Editor->RefreshWindow();
}

TWindowOGL* TWindowOGL::MainOwner()
{
  TWindowOGL* w = this;
  while (w->Owner != nullptr)
    w = w->Owner;
  return w;
}

namespace {
// Focus and selection work alike: one process-wide reference and the widget's own state bit.
void Take(TWindowOGL*& ref, TWindowOGL* w, TypeState bit)
{
  if (ref != nullptr) ref->State &= ~bit;
  ref = w;
  w->State |= bit;
}
void Give(TWindowOGL*& ref, TWindowOGL* w, TypeState bit)
{
  w->State &= ~bit;
  if (ref == w) ref = nullptr;
}
} // namespace

void TWindowOGL::SetFocus()
{
  Take(Focus(), this, seFocused);
}

void TWindowOGL::SetNotFocus()
{
  Give(Focus(), this, seFocused);
}

void TWindowOGL::SetSelect()
{
  Take(Select(), this, seSelected);
}

void TWindowOGL::SetNotSelect()
{
  Give(Select(), this, seSelected);
}

void TWindowOGL::EvaluateMate3D()
{
  if (!IsMate3D() || Editor == nullptr || !Editor->Frame) return;
  int x = 0, y = 0;
  // A point the view cannot place, or a host failure while painting, leaves the widget where it was.
  try {
    if (!Editor->Frame->ConvertCoord(txapi::kcDocument, Origin3D.x, Origin3D.y, Origin3D.z, x, y)) return;
  } catch (...) {
    return;
  }
  Origin.x = SaturatingAdd(x, Dt.x);
  Origin.y = SaturatingAdd(y, Dt.y);
}

void TWindowOGL::InCoordinateSystem(int& x, int& y) const
{
  x -= Origin.x;
  y -= Origin.y;
}

void TWindowOGL::Set(const TRect2D& r)
{
  Origin = {int(r.LD.x), int(r.RU.y)};
  Width = int(r.RU.x - r.LD.x);
  Height = int(std::fabs(r.RU.y - r.LD.y));
}

void TWindowOGL::Draw2D(TGImage& gi)
{
  gi.giMtr(Origin.x, Origin.y, 0, 1);
  if (Mask & mdBackground) {
    const TColor c = GetBackClr();
    glColor3ub(c.Red(), c.Green(), c.Blue());
    gi.giRectAngleFill(0, -Height, Width, 0, 0);
  }
  for (int i = 0; i < AChildWnd.Count; ++i)
    if (AChildWnd[i] != nullptr) AChildWnd[i]->Draw2D(gi);
  gi.giDeleteMtr();
}

bool TWindowOGL::Contain(int x, int y) const
{
  return Origin.x <= x && x <= Origin.x + Width && Origin.y - Height <= y && y <= Origin.y;
}

bool TWindowOGL::MouseMove(const txapi::SmartPtr<txapi::IPressedKeys>& keys, int x, int y)
{
  int cx = x, cy = y;
  InCoordinateSystem(cx, cy);
  for (int i = 0; i < AChildWnd.Count; ++i)
    if (AChildWnd[i] != nullptr && AChildWnd[i]->MouseMove(keys, cx, cy)) return true;
  if (!Contain(x, y)) {
    if ((State & (seFocused | seSelected)) != seSelected) return false;
    SetNotSelect();
    return true;
  }
  if (State & seFocused) return false;
  if (State & seSelected) return true;
  SetSelect();
  if (Editor != nullptr && !GetTips().Empty()) THintOGL::Hint(Editor, Origin3D, GetTips(), 50, -12, 2000);
  return true;
}

bool TWindowOGL::MouseDown(const txapi::SmartPtr<txapi::IPressedKeys>& keys, int x, int y)
{
  int cx = x, cy = y;
  InCoordinateSystem(cx, cy);
  for (int i = 0; i < AChildWnd.Count; ++i)
    if (AChildWnd[i] != nullptr && AChildWnd[i]->MouseDown(keys, cx, cy)) return true;
  if (Select() != this) return false;
  if (Focus() != nullptr && Focus() != this) Focus()->State &= ~TypeState(seFocused | seSelected);
  Focus() = this;
  State |= seFocused;
  return true;
}

void TWindowOGL::OnTimer(int)
{
  if (Owner == nullptr) delete this;
}

bool TWindowOGL::OnKeyDown(int& keyCode, int keyFlags, const txapi::SmartPtr<txapi::IPressedKeys>&)
{
  if (keyCode == 0) return true;
  if (keyCode != wk_ESCAPE) {
    OnChar(keyCode, 0, keyFlags);
    return true;
  }
  if (State & seFocused) {
    SetNotFocus();
    State &= ~TypeState(seSelected);
    MainOwner()->Sygnal(this, 0, nullptr);
    Redraw();
  }
  return false;
}

// ---------------------------------------------------------------------------------------------

namespace {
TTimerClock::TClock InstalledClock = nullptr;
} // namespace

std::int64_t TTimerClock::Now()
{
  if (InstalledClock != nullptr) return InstalledClock();
  using namespace std::chrono;
  return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

TTimerClock::TClock TTimerClock::Set(TClock clock)
{
  return std::exchange(InstalledClock, clock);
}

TTime::TTime() : t(TTimerClock::Now() * 1000) {}

TString TTime::toStr() const
{
  const std::time_t s = std::time_t(t / 1000000);
  std::tm local{};
  localtime_r(&s, &local);
  wchar_t text[400];
  if (std::wcsftime(text, 400, L"%Y-%m-%d %H:%M:%S", &local) == 0) text[0] = 0;
  return TString(std::wstring(text));
}

int TTimer::Start(int wndId, int ms)
{
  if (wndId == 0 || ms < 26) return 0;
  TTimerEvent e;
  e.Time.AddMS(unsigned(ms));
  e.WndId = wndId;
  e.TimeId = ++EventId;
  Add(e);
  return e.TimeId;
}

void TTimer::Delete(int wndId)
{
  for (int i = Count - 1; i >= 0; --i)
    if ((*this)[i].WndId == wndId) TArrayOf<TTimerEvent>::Delete(i);
}

void TTimer::Delete(int wndId, int)
{
  Delete(wndId);
}

bool TTimer::TimeImpuls()
{
  const TTime now;
  // The handlers delete widgets, and with them their other events: the due events are taken first and
  // each is looked up again by its ids before it fires and before it is removed, so that no event
  // that moved into a fired one's place is lost.
  std::vector<std::pair<int, int>> due;
  for (int i = Count - 1; i >= 0; --i)
    if ((*this)[i].WndId != 0 && !(now < (*this)[i].Time)) due.emplace_back((*this)[i].WndId, (*this)[i].TimeId);
  auto find = [this](std::pair<int, int> e) {
    for (int i = 0; i < Count; ++i)
      if ((*this)[i].WndId == e.first && (*this)[i].TimeId == e.second) return i;
    return -1;
  };
  bool fired = false;
  for (auto e : due) {
    if (find(e) < 0) continue;
    if (TWindowOGL* w = DispatcherWnd3D.Exist(e.first)) w->OnTimer(e.second);
    if (int i = find(e); i >= 0) TArrayOf<TTimerEvent>::Delete(i);
    fired = true;
  }
  return fired;
}

// ---------------------------------------------------------------------------------------------

TDispatcherWnd3D::TDispatcherWnd3D(TBaseManager& manager) : Manager(manager), Timer(*this)
{
  TTimer::EventId = 0;
  TWindowOGL::Focus() = nullptr;
  TWindowOGL::Select() = nullptr;
}

TDispatcherWnd3D::~TDispatcherWnd3D()
{
  // A widget unregisters itself, so the list shrinks from the end.
  while (Windows.Count > 0)
    delete Windows[Windows.Count - 1];
}

bool TDispatcherWnd3D::MouseMove(const txapi::SmartPtr<txapi::IPressedKeys>& keys, int x, int y)
{
  if (Windows.Count == 0) return false;
  if (Timer.TimeImpuls()) Manager.RefreshWindow();
  y = Manager.FrameRect.LD.y - y;
  for (int i = 0; i < Windows.Count; ++i)
    if (Windows[i] != nullptr && Windows[i]->MouseMove(keys, x, y)) return true;
  return false;
}

bool TDispatcherWnd3D::MouseDown(const txapi::SmartPtr<txapi::IPressedKeys>& keys, int x, int y)
{
  if (Windows.Count == 0) return false;
  y = Manager.FrameRect.LD.y - y;
  for (int i = 0; i < Windows.Count; ++i)
    if (Windows[i] != nullptr && Windows[i]->MouseDown(keys, x, y)) return true;
  return false;
}

bool TDispatcherWnd3D::MouseUp(const txapi::SmartPtr<txapi::IPressedKeys>&, int, int)
{
  return false;
}

namespace {
// The widgets' 3D drawing leaves the host's OpenGL state as it found it, even when it throws.
struct TSavedAttributes
{
  TSavedAttributes()
  {
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
  }
  ~TSavedAttributes()
  {
    glPopClientAttrib();
    glPopAttrib();
  }
  TSavedAttributes(const TSavedAttributes&) = delete;
  TSavedAttributes& operator=(const TSavedAttributes&) = delete;
};
} // namespace

void TDispatcherWnd3D::ClosePaintGL(unsigned, const txapi::SmartPtr<txapi::IOpenGLObject>&)
{
  try {
    Timer.TimeImpuls();
    for (int i = 0; i < Windows.Count; ++i)
      if (Windows[i] != nullptr) {
        TSavedAttributes saved;
        if (Windows[i]->Id != 0) Windows[i]->Draw(GI);
      }
  } catch (...) {
    Messager->LiftBox(TString(u8"Ошибка отрисовки DispWnd3D"), TMessager::toAlways);
  }
  if (!InitOGL()) return;
  for (int i = 0; i < Windows.Count; ++i)
    if (TWindowOGL* w = Windows[i]; w != nullptr && w->Owner == nullptr) {
      w->EvaluateMate3D();
      w->Draw2D(GI);
    }
  GI.giPopState();
}

bool TDispatcherWnd3D::InitOGL()
{
  if (!Manager.Frame) return false;
  TRect2DOf<int>& r = Manager.FrameRect;
  // A host failure here leaves the GL state untouched: nothing is drawn over this frame.
  try {
    Manager.Frame->GetViewport(r.LD.x, r.RU.y, r.RU.x, r.LD.y);
  } catch (...) {
    return false;
  }
  GI.InitFont(TString("GOST type B"), 6);
  GI.giPushState(true);
  glMatrixMode(GL_MODELVIEW);
  glOrtho(0, r.RU.x, 0, r.LD.y, -1, 1);
  glDisable(GL_LIGHTING);
  glDisable(GL_DEPTH_TEST);
  glLineWidth(1.0);
  return true;
}

TWindowOGL* TDispatcherWnd3D::Exist(int id) const
{
  for (int i = 0; i < Windows.Count; ++i)
    if (Windows[i] != nullptr && Windows[i]->Id == id) return Windows[i];
  return nullptr;
}

TWindowOGL* TDispatcherWnd3D::Exist(const TPoint3D& p) const
{
  for (int i = 0; i < Windows.Count; ++i) {
    const TWindowOGL* w = Windows[i];
    if (w != nullptr && w->Mate3D && std::fabs(w->Origin3D.x - p.x) <= 1e-5 && std::fabs(w->Origin3D.y - p.y) <= 1e-5 &&
        std::fabs(w->Origin3D.z - p.z) <= 1e-5)
      return Windows[i];
  }
  return nullptr;
}

bool TDispatcherWnd3D::Exist(const TWindowOGL* w) const
{
  for (int i = 0; i < Windows.Count; ++i)
    if (Windows[i] == w) return true;
  return false;
}

namespace {

void ShowAgain(TWindowOGL& w, const void* variable, int depth)
{
  if (auto* e = dynamic_cast<TValidateEdit*>(&w); e != nullptr && e->V.PData == variable) {
    const TVariablePtr link = e->V;
    e->SetLink(link);
  }
  // Widgets nest a few levels; a depth no widget tree reaches stops a list that holds its own owner.
  if (depth > 64) return;
  for (int i = 0; i < w.AChildWnd.Count; ++i)
    if (w.AChildWnd[i] != nullptr) ShowAgain(*w.AChildWnd[i], variable, depth + 1);
}

} // namespace

void TDispatcherWnd3D::ChangeValue(void* variable)
{
  if (variable == nullptr) return;
  for (int i = 0; i < Windows.Count; ++i)
    if (Windows[i] != nullptr) ShowAgain(*Windows[i], variable, 0);
}

void TDispatcherWnd3D::Register(TWindowOGL* w)
{
  Windows.Add(w);
}

void TDispatcherWnd3D::Unregister(TWindowOGL* w)
{
  for (int i = Windows.Count - 1; i >= 0; --i)
    if (Windows[i] == w) Windows.Delete(i);
}

// ---------------------------------------------------------------------------------------------

TLabelOGL::TLabelOGL(TBaseManager* editor, TWindowOGL* owner, const TString& text) : TWindowOGL(editor, owner)
{
  Height = 24;
  SetBackClr(TColor(0xFFFFFF));
  Text = text;
}

void TLabelOGL::Draw2D(TGImage& gi)
{
  const TString& s = GetText();
  const double H = Height, h = gi.Font.Height(s, s.Length()) * H + 2.0, w = gi.Font.Len(s, s.Length());
  if (Mask & mdBackground) {
    glColor3ub(255, 255, 255);
    gi.giRectAngleFill(Origin.x, Origin.y - 1 - h, w * H + 2.0 + Origin.x + 1.0, Origin.y + 1, 0);
  }
  if ((Mask & mdSelectable) && (State & seSelected))
    glColor3ub(255, 0, 0);
  else
    glColor3ub(0, 0, 0);
  gi.giTextOut(Origin.x, Origin.y - h, 0, H, s);
}

THintOGL::THintOGL(TBaseManager* editor, const TPoint3D& at, const TString& text, int dx, int dy)
  : TLabelOGL(editor, nullptr, TString())
{
  Height = 24;
  Width = std::max(5 * text.Length(), 60) + 5;
  Origin3D = at;
  Dt = {dx, dy};
  Text = text;
}

THintOGL::~THintOGL()
{
  if (Current == this) Current = nullptr;
}

void THintOGL::Hint(TBaseManager* editor, const TPoint3D& at, const TString& text, int dx, int dy, int ms)
{
  delete Current;
  Current = new THintOGL(editor, at, text, dx, dy);
  if (editor == nullptr) return;
  if (Current->Id != 0) editor->DispatcherWnd3D.Timer.Start(Current->Id, ms);
  editor->RefreshWindow();
}

TStatusBarOGL::TStatusBarOGL(TBaseManager* editor, int x, int y) : TLabelOGL(editor, nullptr, TString())
{
  Height = 24;
  Mate3D = false;
  Origin = {x, y};
}

void TStatusBarOGL::LiftBox(const TString& text, int ms)
{
  if (TDispatcherWnd3D* d = Dispatcher()) {
    M.Add(TIdStr{d->Timer.Start(Id, ms), text});
    Redraw();
  }
}

void TStatusBarOGL::StatusBox(const TString& text, int ms)
{
  if (TDispatcherWnd3D* d = Dispatcher()) {
    if (M.Count == 0) M.Add();
    M[0] = TIdStr{d->Timer.Start(Id, ms), text};
    Redraw();
  }
}

void TStatusBarOGL::OnTimer(int timeId)
{
  for (int i = 0; i < M.Count; ++i)
    if (M[i].Id == timeId) {
      M.Delete(i);
      return;
    }
}

void TStatusBarOGL::Draw2D(TGImage& gi)
{
  if (M.Count == 0 || Editor == nullptr) return;
  gi.giMtr(Editor->FrameRect.LD.x + Origin.x, Origin.y, 0, 1);
  const double step = gi.Font.Height(TString("0123456789"), 10) * Height * 1.2;
  glColor3ub(0, 0, 0);
  for (int i = 0; i < M.Count; ++i)
    gi.giTextOut(0, i * step + 0.0 + 2.0, 0, Height, M[i].T);
  gi.giDeleteMtr();
}
