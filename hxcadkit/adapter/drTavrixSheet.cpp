// Drawing and fragment documents: making, opening, saving and letting go of the current sheet.

#include <algorithm>

#include "hxcadkit/adapter/drModelerAPI.h"
#include "txapi/IDocuments.h"
#include "txapi/IDrawingDocument.h"
#include "txapi/ILayoutSheet.h"
#include "txapi/ILayoutSheets.h"
#include "txapi/ISheetFormat.h"
#include "txapi/IStamp.h"
#include "txapi/ITechnicalDemand.h"
#include "txapi/IText.h"

namespace drApi {

namespace {

// Drawings are ".tdr"; every other type is taken for a fragment.
TString SheetFile(const TString& Name, txapi::DocumentTypeEnum tDoc)
{
  return Name + TString(tDoc == txapi::txDocumentDrawing ? ".tdr" : ".tfg");
}

// At most one host document per file name is in use: an open one is let go unsaved.
void CloseOpen(TModelerApi& m, txapi::DocumentTypeEnum type, const TString& file)
{
  if (txapi::SmartPtr<txapi::ITavrixDocument> open = m.GetOpenDocument(type, file)) open->Close(txapi::DocumentCloseOptions(0));
}

void MakeCurrent(TRegistryApi& r, const txapi::SmartPtr<txapi::ITavrixDocument>& doc)
{
  r.IDoc = doc;
  r.IDoc2D.reset();
  r.IDoc2D = r.IDoc;
}

} // namespace

void TModelerApi::drCreateLeaf(TString& Name, txapi::DocumentTypeEnum tDoc, int iFormat, int Krat, int Tips,
                               int Pros, TString&, bool Invisible)
{
  if (Collector() != nullptr) return;
  TRegistryApi& r = R();
  LeafOpened = {Name, tDoc, iFormat, Krat, Tips, Pros, Invisible};
  const TString file = SheetFile(Name, tDoc);
  const txapi::DocumentTypeEnum type = tDoc == txapi::txDocumentDrawing ? txapi::txDocumentDrawing : txapi::txDocumentFragment;
  CloseOpen(*this, type, file);
  txapi::SmartPtr<txapi::IDocuments> docs = r.Tavrix7 != nullptr ? r.Tavrix7->GetDocuments() : nullptr;
  // Without a new document there is nothing to set up, save or count.
  txapi::SmartPtr<txapi::ITavrixDocument> doc = docs ? docs->Add(type, !Invisible) : nullptr;
  if (!doc) return;
  MakeCurrent(r, doc);
  r.HiddenLeaf = Invisible;
  if (txapi::SmartPtr<txapi::ILayoutSheets> sheets = r.IDoc) {
    txapi::SmartPtr<txapi::ILayoutSheet> sheet = sheets->GetCount() == 0 ? sheets->Add() : sheets->GetItem(0);
    if (sheet) {
      sheet->SetSheetType(txapi::txDocumentSheet);
      sheet->SetLayoutStyleNumber(Tips);
      if (txapi::SmartPtr<txapi::ISheetFormat> format = sheet->GetFormat()) {
        format->SetFormat(txapi::txDocumentFormatEnum(iFormat));
        format->SetMultiplicity(Pros);
        format->SetOrientation(Krat != 0);
      }
    }
    r.IDoc->SaveAs(file.toWideChar());
  }
  if (r.ProgressBar) r.ProgressBar->SetPosition(r.CountDrawing);
  ++r.CountDrawing;
}

bool TModelerApi::drOpenLeaf(TString& Name, txapi::DocumentTypeEnum tDoc, bool Invisible)
{
  if (Collector() != nullptr) return false;
  TRegistryApi& r = R();
  const TString file = SheetFile(Name, tDoc);
  CloseOpen(*this, tDoc, file);
  txapi::SmartPtr<txapi::IDocuments> docs = r.Tavrix7 != nullptr ? r.Tavrix7->GetDocuments() : nullptr;
  txapi::SmartPtr<txapi::ITavrixDocument> doc = docs ? docs->Open(file.toWideChar(), !Invisible, false) : nullptr;
  if (!doc) return false;
  MakeCurrent(r, doc);
  r.HiddenLeaf = Invisible;
  return true;
}

void TModelerApi::drSaveLeaf()
{
  if (Collector() != nullptr) return;
  if (txapi::SmartPtr<txapi::ITavrixDocument> doc = R().IDoc2D) doc->Save();
}

void TModelerApi::drCloseView()
{
  if (Collector() != nullptr) {
    drDeleteMtr();
    return;
  }
  TRegistryApi& r = R();
  // A sign's own extension line goes into the view, which no placement of the part's shifts any more.
  std::function<void(double, double, double, double)> carry;
  if (R2D().Transf2D.AMtr.Count == 0 && r.DrawingContainer)
    carry = [this](double X1, double Y1, double X2, double Y2) {
      double x1, y1, x2, y2;
      Layout.FromSheet(X1, Y1, x1, y1), Layout.FromSheet(X2, Y2, x2, y2);
      drawLine(x1, y1, x2, y2, txapi::txCSThin);
    };
  // A cut line left open is drawn between its ends as asked.
  OccupyCut();
  FitViewToSheet();
  Layout.Settle(carry);
  R2D().Constraint2D.Count = 0;
  r.View.reset();
  r.DrawingContainer.reset();
  r.Symbols2DContainer.reset();
}

bool TModelerApi::FitViewToSheet(bool apply)
{
  TRegistryApi& r = R();
  const TLeafSelector& sel = TLeafSelector::Instance();
  const int at = SheetAt();
  if (!MouldSheet || !r.View || at < 0 || at >= sel.ASize.Count) return true;
  // The view and all it holds moved by (dx, dy) on a sheet width x height.
  const auto move = [&](double width, double height, double dx, double dy) {
    if (!apply) return;
    r.View->SetX(Layout.ViewX() + dx);
    r.View->SetY(Layout.ViewY() + dy);
    Layout.Enlarge(width, height, dx, dy);
  };
  // A view that leaves an angle beside it no room inside the frame moves right (or left) on its sheet where
  // it stays inside the frame and its outlines off the title block, else takes that room on the larger sheet.
  const double angles = Layout.AngleRoom();
  if (angles != 0 && !Layout.Cramped(0, 0, true) && !Layout.Cramped(angles)) {
    move(sel.ASize[at].x, sel.ASize[at].y, angles, 0);
    return true;
  }
  // A view whose outlines fit the frame while an axis runs on past it moves back by as much as the axis
  // overhangs, where that keeps its outlines off the title block: the sheet stays as chosen. Where that
  // would take an angle's room beside it, the sheet grows instead, while there is a larger one.
  double dx = 0, dy = 0;
  if (angles == 0 && Layout.Cramped() && !Layout.Cramped(0, 0, true) && Layout.ViewIntoFrame(dx, dy) &&
      !Layout.Cramped(dx, dy) && (at < 2 || Layout.AnglesKeepRoom(dx))) {
    move(sel.ASize[at].x, sel.ASize[at].y, dx, dy);
    return true;
  }
  if (!Layout.Cramped() && angles == 0) return true;
  // A part too large for the sheet opened runs into its title block or off its frame: the sheet takes the
  // next larger format, the view as far below its top as before and, where it ran across the binding
  // margin, moved right to leave room beside it; where that leaves it off the frame still, moved into it.
  // It grows before what the view holds settles, so that all of it settles inside the larger frame. One
  // format at most: a part the larger one does not hold either is drawn reduced (drMouldSheet).
  if (at < 2) return false;
  const TPoint2D& larger = sel.ASize[at - 2];
  dx = std::max(Layout.RoomLeft(larger.x), angles), dy = larger.y - sel.ASize[at].y;
  const bool holds = Layout.HoldsOn(larger.x, larger.y, dx, dy);
  if (apply)
    if (txapi::SmartPtr<txapi::ILayoutSheets> sheets = r.IDoc)
      if (txapi::SmartPtr<txapi::ILayoutSheet> sheet = sheets->GetCount() > 0 ? sheets->GetItem(0) : nullptr)
        if (txapi::SmartPtr<txapi::ISheetFormat> format = sheet->GetFormat()) {
          // The user's choice of format stays as it is for the sheets to come: only this one grows.
          format->SetFormat(txapi::txDocumentFormatEnum(sel.Format - ++SheetGrown));
          move(larger.x, larger.y, dx, dy);
        }
  return holds;
}

bool TModelerApi::drViewHolds()
{
  return Collector() != nullptr || FitViewToSheet(false);
}

void TModelerApi::drRestartLeaf()
{
  TRegistryApi& r = R();
  if (Collector() != nullptr || !r.IDoc) return;
  // What the view drew goes with the document, unsaved; a new one takes its file and its format.
  r.View.reset();
  r.DrawingContainer.reset();
  r.Symbols2DContainer.reset();
  R2D().Constraint2D.Count = 0;
  PendingCut = {};
  SettledLast = {};
  Layout.End();
  SheetGrown = 0;
  r.IDoc->Close(txapi::txCloseWithoutSaving);
  r.IDoc2D.reset();
  r.IDoc.reset();
  --r.CountDrawing;
  TLeafOpened leaf = LeafOpened;
  TString comment;
  drCreateLeaf(leaf.Name, leaf.Type, leaf.Format, leaf.Orientation, leaf.Style, leaf.Multiplicity, comment,
               leaf.Invisible);
  if (r.IDoc2D) drShtamp();
}

void TModelerApi::drCloseLeaf()
{
  if (Collector() != nullptr) return;
  TRegistryApi& r = R();
  TLeafSelector::Instance().drUpdateLeafFormat();
  Layout.End();
  const bool mould = MouldSheet;
  MouldSheet = false;
  SheetGrown = 0;
  const TString file = r.IDoc ? TString::Exactly(r.IDoc->GetFullFileName()) : TString();
  bool written = false;
  if (r.IDoc && r.HiddenLeaf) {
    // Nobody else can reach a hidden sheet: once written it is closed, and one the host cannot
    // write is not left behind either.
    written = r.IDoc->Close(txapi::txCloseSaveChanges);
    if (!written) r.IDoc->Close(txapi::txCloseWithoutSaving);
  } else if (r.IDoc) {
    written = r.IDoc->Save();
  }
  if (mould && written && !file.Empty()) MouldSheetWritten(file);
  r.HiddenLeaf = false;
  r.IDoc2D.reset();
  r.IDoc.reset();
  R2D().Constraint2D.Count = 0;
}

} // namespace drApi

// ---------------------------------------------------------------------------------------------
// Title block and technical requirements

namespace drApi {

void TModelerApi::drOpenShtamp()
{
  if (Collector() != nullptr) return;
  TRegistryApi& r = R();
  r.Stamp.reset();
  txapi::SmartPtr<txapi::ILayoutSheets> sheets = r.IDoc;
  txapi::SmartPtr<txapi::ILayoutSheet> sheet = sheets ? sheets->GetItem(0) : nullptr;
  if (!sheet) return;
  r.Stamp = sheet->GetStamp();
  // The mark goes on the pending stack only with a block to close, so that drCloseShtamp always
  // finds its own mark and never leaves one behind.
  if (r.Stamp) R2D().APrevCommand.Push(cmOpenShtamp);
}

void TModelerApi::drColumnShtamp(txapi::txStampEnum N)
{
  if (Collector() != nullptr) return;
  TRegistryApi& r = R();
  txapi::SmartPtr<txapi::IText> t = r.Stamp ? r.Stamp->GetText(N) : nullptr;
  r.Text = t;
}

void TModelerApi::drStringObj(const TString& S)
{
  if (Collector() != nullptr) return;
  TRegistryApi& r = R();
  if (r.Stamp) {
    if (r.Text) r.Text->SetString(S.toWideChar());
    return;
  }
  AddLineText(r.Text, S, 0.0);
}

void TModelerApi::drCloseShtamp()
{
  if (Collector() != nullptr) return;
  TRegistryApi& r = R();
  if (!r.Stamp) return;
  TArrayOf<TCommand>& pending = R2D().APrevCommand;
  if (pending.Count > 0 && pending.Last() == cmOpenShtamp) pending.Pop();
  r.Stamp->Update();
  r.Stamp.reset();
}

void TModelerApi::drOpenTDem()
{
  if (Collector() != nullptr) return;
  TRegistryApi& r = R();
  txapi::SmartPtr<txapi::IDrawingDocument> doc = r.IDoc2D;
  txapi::SmartPtr<txapi::ITechnicalDemand> demand = doc ? doc->GetTechnicalDemand() : nullptr;
  r.TechnicalDemand = demand;
  // Without a requirements object the lines go nowhere: not into the title-block cell written last.
  if (!r.TechnicalDemand) {
    r.Text.reset();
    return;
  }
  const TLeafSelector& sel = TLeafSelector::Instance();
  const int at = SheetAt();
  // A format the selector does not know keeps the host's own placement.
  if (at >= 0 && at < sel.ASize.Count) {
    const double W = sel.ASize[at].x;
    double x1 = W - 10, y1 = 65, x2 = W - 185, y2 = 165;
    // Each line 7 below the one before, the first 7 under the top; 0.6 of the 3.5 height a character.
    Layout.Requirements(x1, y1, x2, y2, 0.6 * 3.5 * double(DemandChars) + 1.0,
                        7.0 * double(DemandLines) + 1.0);
    r.TechnicalDemand->SetBox({x1, y1, x2, y2});
  }
  // The lines written until drCloseTDem are the requirements, not the last title-block cell.
  r.Text = r.TechnicalDemand->GetText();
}

void TModelerApi::drCloseTDem()
{
  if (Collector() != nullptr) return;
  TRegistryApi& r = R();
  if (!r.TechnicalDemand) return;
  r.TechnicalDemand->Update();
  r.TechnicalDemand.reset();
  r.Text.reset();
}

// The modeller's composition already goes through the virtual steps above, which are this adapter's.
void TModelerApi::drCloseViewTDemCloseLeaf(const TString& S1, const TString& S2, const TString& S3,
                                           const TString& S4)
{
  // What the requirements' lines take, for a sheet that has no room for the whole box (the
  // lines numbered "1." on when more than one).
  DemandLines = 0, DemandChars = 0;
  for (const TString* s : {&S1, &S2, &S3, &S4})
    if (!s->Empty()) ++DemandLines, DemandChars = std::max(DemandChars, std::size_t(s->Length()));
  if (DemandLines > 1) DemandChars += 2;
  TModeler2D::drCloseViewTDemCloseLeaf(S1, S2, S3, S4);
  DemandLines = 0, DemandChars = 0;
}

} // namespace drApi
