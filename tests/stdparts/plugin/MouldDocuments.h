#pragma once
// The openers of the mould parts' sheets and part documents on the stand-in host, as the tests and
// the test plug-in install them (the product installs none): a sheet is an A3 landscape drawing
// with its title block, its first view 50 mm right of and 40 mm below the frame's upper left
// corner (the parts draw to the left of and above it); a part is a part document with a sketch on
// the standard plane. Files go to Folder, named by their kind, the detail and a counter.
#include <string>
#include <vector>

#include "hxcadkit/adapter/drModelerAPI.h"

namespace stdtest {

class TMouldDocuments : public drApi::TMouldDocumentLink
{
public:
  // The frame of an A3 landscape sheet: 20 mm binding margin on the left, 5 mm elsewhere.
  static constexpr double FrameLeft = 20.0, FrameTop = 297.0 - 5.0;

  explicit TMouldDocuments(const TString& folder) : Folder(folder)
  {
    Old = Set(this);
    const TLeafSelector& sel = TLeafSelector::Instance();
    OldFormat = sel.Format;
    OldOrientation = sel.Orientation;
  }
  ~TMouldDocuments() override
  {
    Set(Old);
    TLeafSelector& sel = TLeafSelector::Instance();
    sel.Format = OldFormat;
    sel.Orientation = OldOrientation;
  }
  TMouldDocuments(const TMouldDocuments&) = delete;
  TMouldDocuments& operator=(const TMouldDocuments&) = delete;

  bool LeafStamp(drApi::TModelerApi& M, int Detail, int subDetail, bool Invisible) override
  {
    TString name = Folder + Name("sheet", Detail, subDetail, ++Sheets), comment;
    // The sheet selector knows the format opened, so that what the library places by the format
    // (the requirements' box) lands on this sheet.
    TLeafSelector& sel = TLeafSelector::Instance();
    sel.Format = 3;
    sel.Orientation = 1;
    M.drCreateLeaf(name, txapi::txDocumentDrawing, sel.Format, sel.Orientation, 0, 0, comment, Invisible);
    if (!M.R().IDoc2D) return false;
    M.drShtamp();
    TDetailInfo& di = M.R2D().DI;
    di.Left = FrameLeft + 50.0;
    di.Top = FrameTop - 40.0;
    LastSheet = name + TString(".tdr");
    AllSheets.push_back(LastSheet);
    return true;
  }

  bool NewPartPlane(drApi::TModelerApi& M, int Detail, int subDetail, bool InVisible,
                    txapi::txObj3dTypeEnum BasePlane, const double& Vidst) override
  {
    const TString file = Folder + Name("part", Detail, subDetail, ++Parts) + TString(".tpt");
    M.drCreate3D(InVisible, true, file, TString(), TString());
    if (!M.R().Part) return false;
    M.drPlaneEskis(BasePlane, Vidst, 0.0, TString());
    LastPart = file;
    AllParts.push_back(LastPart);
    return true;
  }

  TString Folder; // ends in the separator
  int Sheets = 0, Parts = 0;
  TString LastSheet, LastPart;
  std::vector<TString> AllSheets, AllParts; // every file opened, in order

private:
  static TString Name(const char* kind, int detail, int sub, int n)
  {
    return TString((std::string(kind) + "-" + std::to_string(detail) + "-" + std::to_string(sub) + "-" +
                    std::to_string(n))
                       .c_str());
  }
  drApi::TMouldDocumentLink* Old = nullptr;
  Integer OldFormat = 0, OldOrientation = 0;
};

} // namespace stdtest
