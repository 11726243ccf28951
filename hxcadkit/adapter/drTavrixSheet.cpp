// Drawing and fragment documents: making, opening, saving and letting go of the current sheet.

#include "hxcadkit/adapter/drModelerAPI.h"
#include "txapi/IDocuments.h"
#include "txapi/ILayoutSheet.h"
#include "txapi/ILayoutSheets.h"
#include "txapi/ISheetFormat.h"

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
  const TString file = SheetFile(Name, tDoc);
  const txapi::DocumentTypeEnum type = tDoc == txapi::txDocumentDrawing ? txapi::txDocumentDrawing : txapi::txDocumentFragment;
  CloseOpen(*this, type, file);
  txapi::SmartPtr<txapi::IDocuments> docs = r.Tavrix7 != nullptr ? r.Tavrix7->GetDocuments() : nullptr;
  // Without a new document there is nothing to set up, save or count.
  txapi::SmartPtr<txapi::ITavrixDocument> doc = docs ? docs->Add(type, !Invisible) : nullptr;
  if (!doc) return;
  MakeCurrent(r, doc);
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
  R2D().Constraint2D.Count = 0;
  r.View.reset();
  r.DrawingContainer.reset();
  r.Symbols2DContainer.reset();
}

void TModelerApi::drCloseLeaf()
{
  if (Collector() != nullptr) return;
  TRegistryApi& r = R();
  TLeafSelector::Instance().drUpdateLeafFormat();
  if (r.IDoc) r.IDoc->Save();
  r.IDoc2D.reset();
  r.IDoc.reset();
  R2D().Constraint2D.Count = 0;
}

} // namespace drApi
