// The openers of the mould parts' sheets and part documents: left to a link that the product does
// not install.
#include "hxcadkit/adapter/drModelerAPI.h"

namespace drApi {

namespace {
TMouldDocumentLink* MouldLink = nullptr;
}

TMouldDocumentLink* TMouldDocumentLink::Set(TMouldDocumentLink* link)
{
  TMouldDocumentLink* previous = MouldLink;
  MouldLink = link;
  return previous;
}

TMouldDocumentLink* TMouldDocumentLink::Get()
{
  return MouldLink;
}

bool TModelerApi::drLeafStamp(int Detail, int subDetail, bool Invisible)
{
  SheetGrown = 0;
  MouldSheet = MouldLink != nullptr && MouldLink->LeafStamp(*this, Detail, subDetail, Invisible);
  return MouldSheet;
}

bool TModelerApi::drCreate3DNewPartPlane(int Detail, int subDetail, bool InVisible,
                                         txapi::txObj3dTypeEnum BasePlane, const double& Vidst)
{
  return MouldLink != nullptr &&
         MouldLink->NewPartPlane(*this, Detail, subDetail, InVisible, BasePlane, Vidst);
}

} // namespace drApi
