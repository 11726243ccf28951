#pragma once
// The widgets a command draws over the 3D view: their base, the per-command dispatcher and the status
// bar. The command base relies on the dispatcher for mouse routing and on the status bar for the
// message channel; drawing, the timer and the other widgets build on these classes.
#include <cstdint>

#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/TArray.h"
#include "hxcadkit/geometry/Mathemat3d.h"
#include "txapi/IEventObjects.h"
#include "txapi/SmartPtr.h"

class TBaseManager;
class TDispatcherWnd3D;

class TWindowOGL
{
public:
  TWindowOGL(TBaseManager& manager, int x, int y);
  virtual ~TWindowOGL();
  TWindowOGL(const TWindowOGL&) = delete;
  TWindowOGL& operator=(const TWindowOGL&) = delete;

  // The widget that has the keyboard focus; null when none has.
  static TWindowOGL* Focus();
  virtual bool OnKeyDown(int& keyCode, int keyFlags, const txapi::SmartPtr<txapi::IPressedKeys>& keys);

  TBaseManager& Manager;
  int X, Y; // the widget's origin, pixels from the bottom left of the view
};

// The widgets of one command: it offers them the mouse before the command and paints them over the view.
class TDispatcherWnd3D
{
public:
  explicit TDispatcherWnd3D(TBaseManager& manager) : Manager(manager) {}
  ~TDispatcherWnd3D();
  TDispatcherWnd3D(const TDispatcherWnd3D&) = delete;
  TDispatcherWnd3D& operator=(const TDispatcherWnd3D&) = delete;

  // True when a widget used the event.
  bool MouseMove(const txapi::SmartPtr<txapi::IPressedKeys>& keys, int x, int y);
  bool MouseDown(const txapi::SmartPtr<txapi::IPressedKeys>& keys, int x, int y);
  bool MouseUp(const txapi::SmartPtr<txapi::IPressedKeys>& keys, int x, int y);
  void ClosePaintGL(unsigned drawMode, const txapi::SmartPtr<txapi::IOpenGLObject>& glObject);
  // Whether w is one of this dispatcher's widgets.
  bool Exist(const TWindowOGL* w) const;

  void Register(TWindowOGL* w);
  void Unregister(TWindowOGL* w);

  TBaseManager& Manager;
  TArrayOf<TWindowOGL*> Windows = TArrayOf<TWindowOGL*>(16, 16);
};

// The command's message area: timed lines.
class TStatusBarOGL : public TWindowOGL
{
public:
  using TWindowOGL::TWindowOGL;

  // Appends text as a new line.
  void LiftBox(const TString& text, int time);
  // Replaces the first line with text.
  void StatusBox(const TString& text, int time);

  TArrayOf<TString> Lines = TArrayOf<TString>(16, 16);
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
