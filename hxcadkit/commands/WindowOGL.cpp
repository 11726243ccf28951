#include "hxcadkit/commands/WindowOGL.h"

#include "hxcadkit/commands/pmCommon.h"

#include <chrono>
#include <utility>

TWindowOGL::TWindowOGL(TBaseManager& manager, int x, int y) : Manager(manager), X(x), Y(y)
{
  Manager.DispatcherWnd3D.Register(this);
}

TWindowOGL::~TWindowOGL()
{
  Manager.DispatcherWnd3D.Unregister(this);
}

TWindowOGL* TWindowOGL::Focus()
{
  return nullptr;
}

bool TWindowOGL::OnKeyDown(int&, int, const txapi::SmartPtr<txapi::IPressedKeys>&)
{
  return false;
}

TDispatcherWnd3D::~TDispatcherWnd3D()
{
  // A widget unregisters itself, so the list shrinks from the end.
  while (Windows.Count > 0)
    delete Windows[Windows.Count - 1];
}

bool TDispatcherWnd3D::MouseMove(const txapi::SmartPtr<txapi::IPressedKeys>&, int, int)
{
  return false;
}

bool TDispatcherWnd3D::MouseDown(const txapi::SmartPtr<txapi::IPressedKeys>&, int, int)
{
  return false;
}

bool TDispatcherWnd3D::MouseUp(const txapi::SmartPtr<txapi::IPressedKeys>&, int, int)
{
  return false;
}

void TDispatcherWnd3D::ClosePaintGL(unsigned, const txapi::SmartPtr<txapi::IOpenGLObject>&) {}

bool TDispatcherWnd3D::Exist(const TWindowOGL* w) const
{
  for (int i = 0; i < Windows.Count; ++i)
    if (Windows[i] == w) return true;
  return false;
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

void TStatusBarOGL::LiftBox(const TString& text, int)
{
  Lines.Add(text);
}

void TStatusBarOGL::StatusBox(const TString& text, int)
{
  if (Lines.Count == 0)
    Lines.Add(text);
  else
    Lines[0] = text;
}

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
