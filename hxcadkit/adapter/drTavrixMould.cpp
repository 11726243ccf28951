// The openers of the mould parts' sheets and part documents: left to a link that the product does
// not install.
#include "hxcadkit/adapter/drModelerAPI.h"
#include "hxcadkit/core/KmfData.h"

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
  MouldDetail = Detail, MouldSubDetail = subDetail;
  MouldSheet = MouldLink != nullptr && MouldLink->LeafStamp(*this, Detail, subDetail, Invisible);
  return MouldSheet;
}

void TModelerApi::MouldSheetWritten(const TString& file)
{
  // A detail drawn again replaces its sheet; the ring's two sheets wait for its two parts side by side. A
  // sheet whose part never comes is let go after a few others.
  std::erase_if(MouldSheetsWritten, [&](const TMouldSheetFile& s) {
    return (s.Detail == MouldDetail && s.SubDetail == MouldSubDetail) || s.File == file;
  });
  if (MouldSheetsWritten.size() >= 8) MouldSheetsWritten.erase(MouldSheetsWritten.begin());
  MouldSheetsWritten.push_back({file, MouldDetail, MouldSubDetail});
}

bool TModelerApi::drCreate3DNewPartPlane(int Detail, int subDetail, bool InVisible,
                                         txapi::txObj3dTypeEnum BasePlane, const double& Vidst)
{
  TString sheet;
  for (auto s = MouldSheetsWritten.begin(); s != MouldSheetsWritten.end(); ++s)
    if (s->Detail == Detail && s->SubDetail == subDetail) {
      sheet = s->File;
      MouldSheetsWritten.erase(s);
      break;
    }
  const bool opened =
      MouldLink != nullptr && MouldLink->NewPartPlane(*this, Detail, subDetail, InVisible, BasePlane, Vidst);
  // Opening the part's document let go of whatever sheet the part before it held.
  if (opened) PartSheet = sheet;
  return opened;
}

void TModelerApi::ForgetPartSheet(bool remove)
{
  if (remove && !PartSheet.Empty()) DeleteFile(PartSheet);
  PartSheet = TString();
}

} // namespace drApi
