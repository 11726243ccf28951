#include "hxcadkit/core/ModelerLink.h"

namespace {

constinit TDrawingLink* InstalledDrawingLink = nullptr;
constinit THostModelerLink* InstalledHostLink = nullptr;

} // namespace

TDrawingLink* TDrawingLink::Set(TDrawingLink* link)
{
  TDrawingLink* old = InstalledDrawingLink;
  InstalledDrawingLink = link;
  return old;
}

TDrawingLink* TDrawingLink::Get()
{
  return InstalledDrawingLink;
}

THostModelerLink* THostModelerLink::Set(THostModelerLink* link)
{
  THostModelerLink* old = InstalledHostLink;
  InstalledHostLink = link;
  return old;
}

THostModelerLink* THostModelerLink::Get()
{
  return InstalledHostLink;
}
