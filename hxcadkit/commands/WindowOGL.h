#pragma once
// The widgets a command draws over the 3D view: their display properties, their base, the per-command
// dispatcher that routes the mouse to them, and the timer that makes hints and pop-ups go away.
#include <chrono>
#include <cstdint>

#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/TArray.h"
#include "hxcadkit/geometry/GImage.h"
#include "hxcadkit/geometry/Mathemat.h"
#include "hxcadkit/geometry/Mathemat3d.h"
#include "txapi/IEventObjects.h"
#include "txapi/SmartPtr.h"

class TBaseManager;
class TDispatcherWnd3D;
class TEvent;

using TypeState = std::uint32_t;

enum EState : TypeState {
  seFocused = 1, seSelected = 2, seDrophilited = 4, seReadOnly = 8, seFixed = 16, seFixedRow = 32,
  seFixedColumn = 64, seEdited = 128
};
enum EMask : TypeState {
  mdText = 1, mdImage = 2, mdParam = 4, mdState = 8, mdBackground = 16, mdForground = 32, mdFormat = 64,
  mdFont = 128, mdMargin = 256, mdTips = 512, mdSelectable = 1024
};
enum ColorState : std::uint32_t { cUnSelected = 16711680, cSelected = 255, cFocused = 0 };

class TPropertyOGLWnd
{
public:
  TPropertyOGLWnd() = default;
  TPropertyOGLWnd(const TPropertyOGLWnd&) = delete;
  TPropertyOGLWnd& operator=(const TPropertyOGLWnd& p);
  virtual ~TPropertyOGLWnd() = default;

  virtual void Reset() { State = 0; }
  virtual void SetText(const TString& text, bool moveCaret, bool redraw);
  virtual void SetTips(const TString& tips) { Tips = tips; }
  virtual void SetImage(int image) { IImage = image; }
  virtual void SetState(unsigned state) { State = state; }
  virtual void SetFormat(int format) { Format = format; }
  virtual void SetTextClr(TColor c) { Forground = c; }
  virtual void SetBackClr(TColor c);
  virtual void SetMargin(unsigned margin) { Margin = margin; }
  virtual const TString& GetText() const { return Text; }
  virtual const TString& GetTips() const { return Tips; }
  virtual int GetImage() const { return IImage; }
  virtual unsigned GetState() const { return State; }
  virtual int GetFormat() const { return Format; }
  virtual TColor GetTextClr() const { return Forground; }
  virtual TColor GetBackClr() const { return Background; }
  virtual unsigned GetMargin() const { return Margin; }

  TypeState Mask = 0;
  TypeState State = 0;
  std::int32_t Format = 0;
  std::int32_t IImage = 0;
  TColor Background, Forground;
  std::uint32_t Margin = 0;
  TString Text;
  TString Tips;
};

// What a widget is told by its surroundings; every handler does nothing by default.
class TReceiverWindowOGLEnets
{
public:
  virtual ~TReceiverWindowOGLEnets() = default;
  virtual void OnTimer(int) {}
  virtual void OnKillFocus() {}
  virtual void OnChar(int, int, int) {}
  virtual void OnSetFocus() {}
  virtual bool OnKeyDown(int&, int, const txapi::SmartPtr<txapi::IPressedKeys>&) { return true; }
  virtual void OnUpdatePaste(void*) {}
  virtual bool OnChange() { return false; }
  virtual void OnDestroy() {}
  virtual void OnSetSel(int, int, bool) {}
  virtual void OnPaint() {}
  virtual void Sygnal(void*, int, void*) {}
};

class TWindowOGL : public TPropertyOGLWnd, public TReceiverWindowOGLEnets
{
public:
  enum TKeys : std::uint8_t { wk_BACK = 8, wk_RETURN = 13, wk_ESCAPE = 27, wk_LEFT = 37, wk_RIGHT = 39, wk_DELETE = 46 };

  // With a manager the widget is registered: a child in its owner's list, a top-level widget in the
  // dispatcher's; without one it stays unregistered (id 0).
  TWindowOGL(TBaseManager* editor, TWindowOGL* owner);
  ~TWindowOGL() override;

  // The focused widget and the widget under the pointer, across all commands; null when none.
  static TWindowOGL*& Focus();
  static TWindowOGL*& Select();

  virtual TWindowOGL* MainOwner();
  virtual void SetFocus();
  virtual void SetNotFocus();
  virtual void SetSelect();
  virtual void SetNotSelect();
  virtual bool IsMate3D() const { return Mate3D; }
  virtual void EvaluateMate3D();
  virtual void InCoordinateSystem(int& x, int& y) const;
  virtual void Set(const TRect2D& r);
  virtual void Draw2D(TGImage& gi);
  virtual void Draw(TGImage&) {}
  virtual bool Contain(int x, int y) const;
  virtual bool HandleEnent(TEvent&) { return false; }
  virtual bool MouseMove(const txapi::SmartPtr<txapi::IPressedKeys>& keys, int x, int y);
  virtual bool MouseDown(const txapi::SmartPtr<txapi::IPressedKeys>& keys, int x, int y);
  void OnTimer(int timeId) override;
  bool OnKeyDown(int& keyCode, int keyFlags, const txapi::SmartPtr<txapi::IPressedKeys>& keys) override;

  // The manager's dispatcher; null without a manager.
  TDispatcherWnd3D* Dispatcher() const;
  // Asks the manager to redraw the view; nothing without one.
  void Redraw() const;

  std::int32_t Id = 0;
  TPoint3D Origin3D;
  TPoint2DOf<int> Dt;
  TPoint2DOf<int> Origin; // top left, pixels from the bottom left of the owner
  bool Mate3D = true;
  TBaseManager* Editor;
  TWindowOGL* Owner;
  std::int32_t Height = 24;
  std::int32_t Width = 50;
  TArrayOf<TWindowOGL*> AChildWnd = TArrayOf<TWindowOGL*>(128, 128);
};

// A moment of the widgets' clock, in microseconds.
class TTime
{
public:
  TTime();
  void AddMS(unsigned ms) { t += std::int64_t(ms) * 1000; }
  TString toStr() const;
  auto operator<=>(const TTime&) const = default;

  std::int64_t t; // microseconds since the epoch
};

class TTimerEvent
{
public:
  TTime Time;
  std::int32_t WndId = 0;
  std::int32_t TimeId = 0;
};

// One-shot events of a dispatcher's widgets. There is no timer thread: due events fire while the
// view is painted or the pointer moves.
class TTimer : public TArrayOf<TTimerEvent>
{
public:
  explicit TTimer(TDispatcherWnd3D& dispatcher) : TArrayOf<TTimerEvent>(32, 32), DispatcherWnd3D(dispatcher) {}

  // The new event's id; 0 (nothing added) for window id 0 or a delay below 26 ms.
  int Start(int wndId, int ms);
  void Delete(int wndId);
  // Every event of the widget, as Delete(wndId): nothing needs a single event removed.
  void Delete(int wndId, int timeId);
  // Fires the due events; true when one fired.
  bool TimeImpuls();

  TDispatcherWnd3D& DispatcherWnd3D;
  static inline int EventId = 0;
};

// The widgets of one command: it offers them the mouse before the command and paints them over the view.
class TDispatcherWnd3D
{
public:
  explicit TDispatcherWnd3D(TBaseManager& manager);
  virtual ~TDispatcherWnd3D();
  TDispatcherWnd3D(const TDispatcherWnd3D&) = delete;
  TDispatcherWnd3D& operator=(const TDispatcherWnd3D&) = delete;

  // True when a widget used the event. y is counted from the top of the view, as the host gives it.
  virtual bool MouseMove(const txapi::SmartPtr<txapi::IPressedKeys>& keys, int x, int y);
  virtual bool MouseDown(const txapi::SmartPtr<txapi::IPressedKeys>& keys, int x, int y);
  virtual bool MouseUp(const txapi::SmartPtr<txapi::IPressedKeys>& keys, int x, int y);
  // Fires due events, then draws every widget over the view the host has just drawn.
  virtual void ClosePaintGL(unsigned drawMode, const txapi::SmartPtr<txapi::IOpenGLObject>& glObject);
  // Reads the view's size into the manager's FrameRect and sets up one unit per pixel, y up; false
  // without a host frame.
  virtual bool InitOGL();

  TWindowOGL* Exist(int id) const;
  // The first anchored top-level widget within 1e-5 of p in each coordinate.
  TWindowOGL* Exist(const TPoint3D& p) const;
  // Whether w is one of the top-level widgets.
  bool Exist(const TWindowOGL* w) const;
  // Every edit widget bound to variable, at any depth, shows its value again.
  virtual void ChangeValue(void* variable);

  void Register(TWindowOGL* w);
  void Unregister(TWindowOGL* w);

  TBaseManager& Manager;
  TArrayOf<TWindowOGL*> Windows = TArrayOf<TWindowOGL*>(64, 64); // the top-level widgets
  std::int32_t BaseId = 8192;
  TTimer Timer;
  TGImage GI;
};

// A text on a white ground; a plain label never takes the selection.
class TLabelOGL : public TWindowOGL
{
public:
  TLabelOGL(TBaseManager* editor, TWindowOGL* owner, const TString& text);
  void Draw2D(TGImage& gi) override;
  bool MouseMove(const txapi::SmartPtr<txapi::IPressedKeys>&, int, int) override { return false; }
};

// The one hint on screen, shown at a model point for a while.
class THintOGL : public TLabelOGL
{
public:
  THintOGL(TBaseManager* editor, const TPoint3D& at, const TString& text, int dx, int dy);
  ~THintOGL() override;
  // Replaces the current hint with text at at + (dx, dy) pixels, for ms milliseconds.
  static void Hint(TBaseManager* editor, const TPoint3D& at, const TString& text, int dx, int dy, int ms);

  static inline THintOGL* Current = nullptr;
};

// The command's message area: timed lines, the oldest at the bottom.
class TStatusBarOGL : public TLabelOGL
{
public:
  struct TIdStr
  {
    std::int32_t Id = 0; // the timer event that removes the message; 0: it stays
    TString T;
  };

  TStatusBarOGL(TBaseManager* editor, int x, int y);

  // Appends text as a new line.
  virtual void LiftBox(const TString& text, int ms);
  // Replaces the first line with text.
  virtual void StatusBox(const TString& text, int ms);
  void OnTimer(int timeId) override;
  void Draw2D(TGImage& gi) override;

  TArrayOf<TIdStr> M = TArrayOf<TIdStr>(1024, 1024);
};

// The clock of the widgets' timer: milliseconds of the system clock, unless a test has put its own clock in
// place (timers then expire when the test says, without sleeping).
class TTimerClock
{
public:
  using TClock = std::int64_t (*)();
  static std::int64_t Now();
  // Installs clock (null restores the system clock); returns the one it replaces.
  static TClock Set(TClock clock);
};
