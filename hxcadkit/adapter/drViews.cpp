// Views of the current sheet, views the host builds from a model, the title block filled from the
// drawing state, and specification documents.

#include <cmath>
#include <cstdio>

#include "hxcadkit/adapter/drModelerAPI.h"
#include "hxcadkit/core/KmfData.h"
#include "hxcadkit/geometry/Mathemat.h"
#include "txapi/IAssociationView.h"
#include "txapi/IAssociationViewElements.h"
#include "txapi/IDocuments.h"
#include "txapi/ISpecificationDescription.h"
#include "txapi/ISpecificationDescriptions.h"
#include "txapi/ISpecificationDocument.h"
#include "txapi/IViews.h"
#include "txapi/IViewsAndLayersManager.h"

namespace drApi {

namespace {

// Every view the adapter makes carries this attribute.
constexpr int ViewAttribute = 0x0A140A;

txapi::SmartPtr<txapi::IViews> ViewsOf(const txapi::SmartPtr<txapi::ITavrixDocument2D>& doc)
{
  txapi::SmartPtr<txapi::IViewsAndLayersManager> m = doc ? doc->GetViewsAndLayersManager() : nullptr;
  return m ? m->GetViews() : nullptr;
}

template <class V>
void Place(V& view, const double& x, const double& y, const double& Alf, const double& Scale,
           const TString& Comment)
{
  view->SetX(x);
  view->SetY(y);
  view->SetScale(Scale);
  view->SetAngle(Alf);
  view->SetColor(ViewAttribute);
  view->SetName(W(Comment));
}

// The element switches of a model view on: the first three, or all six.
void SwitchOn(const txapi::SmartPtr<txapi::IAssociationView>& view, bool all)
{
  txapi::SmartPtr<txapi::IAssociationViewElements> e = view;
  if (!e) return;
  e->SetVisibleLines(true);
  e->SetHiddenLines(true);
  e->SetTangentEdges(true);
  if (!all) return;
  e->SetThreads(true);
  e->SetAxes(true);
  e->SetDesignations(true);
}

// "%d" of the integer part, the int range kept (NaN gives 0).
TString IntText(double v)
{
  return TString(int(SaturatingToInt(v)));
}

// A scale's ratio as the title block writes it: whole, or to a tenth with a decimal comma (2,5:1).
TString RatioText(double v)
{
  if (!(std::fabs(v - std::round(v)) > 1e-6)) return IntText(v);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.1f", v);
  for (char* c = buf; *c != 0; ++c)
    if (*c == '.') *c = ',';
  return TString(buf);
}

} // namespace

void TModelerApi::drView(int N, const double& x, const double& y, const double& Alf, const double& Scale,
                         const TString& Comment)
{
  TRegistryModeler2D& r2 = R2D();
  if (Collector() != nullptr) {
    drMtr(x, y, Alf, Scale);
    r2.CurDrawingObject.reset();
    return;
  }
  TRegistryApi& r = R();
  txapi::SmartPtr<txapi::IViews> views = ViewsOf(r.IDoc2D);
  r.View = views ? views->Add(txapi::vt_Normal) : nullptr;
  if (r.View) {
    Place(r.View, x, y, Alf, Scale, Comment);
    r.View->SetNumber(N);
    r.DrawingContainer = r.View;
    r.Symbols2DContainer = r.View;
    const TLeafSelector& sel = TLeafSelector::Instance();
    const int at = SheetAt();
    if (MouldSheet && at >= 0 && at < sel.ASize.Count)
      Layout.Begin(sel.ASize[at].x, sel.ASize[at].y, x, y, Alf, Scale);
  } else {
    // The containers of an earlier view would take what is meant for this one.
    r.DrawingContainer.reset();
    r.Symbols2DContainer.reset();
  }
  r2.Constraint2D.Count = 0;
  ADimension3D.Clear2D(TDetailCode::Of(r2.DI));
  r2.CurDrawingObject = r.View;
}

bool TModelerApi::ModelViewInCollector(const double& x, const double& y, const double& Alf,
                                       const double& Scale)
{
  if (Collector() == nullptr) return false;
  drMtr(x, y, Alf, Scale);
  R2D().CurDrawingObject.reset();
  return true;
}

txapi::SmartPtr<txapi::IAssociationView> TModelerApi::NewModelView(txapi::LtViewType Type, const double& x,
                                                                   const double& y, const double& Alf,
                                                                   const double& Scale,
                                                                   const TString& Comment)
{
  txapi::SmartPtr<txapi::ITavrixDocument2D> doc =
      R().Tavrix7 != nullptr ? R().Tavrix7->GetActiveDocument() : txapi::SmartPtr<txapi::ITavrixDocument>();
  txapi::SmartPtr<txapi::IViews> views = ViewsOf(doc);
  txapi::SmartPtr<txapi::IAssociationView> view = views ? views->Add(Type) : nullptr;
  if (view) Place(view, x, y, Alf, Scale, Comment);
  return view;
}

void TModelerApi::EndModelView(txapi::SmartPtr<txapi::IAssociationView> View)
{
  txapi::SmartPtr<txapi::IDrawingObject> result = View;
  View.reset();
  ADimension3D.Clear2D(TDetailCode::Of(R2D().DI));
  R2D().CurDrawingObject = result;
}

void TModelerApi::drAStView7(int, const double& x, const double& y, const double& Alf, const double& Scale,
                             const TString& Comment, const TString& FName, const TString& tView)
{
  if (ModelViewInCollector(x, y, Alf, Scale)) return;
  txapi::SmartPtr<txapi::IAssociationView> view;
  if (FileExists(FName)) view = NewModelView(txapi::vt_Standart, x, y, Alf, Scale, Comment);
  if (view) {
    view->SetSourceFileName(W(FName));
    view->SetProjectionName(W(tView));
    SwitchOn(view, false);
    if (view->Update()) SwitchOn(view, false);
    view->Update();
  }
  EndModelView(view);
}

void TModelerApi::drAStView7(const double& x, const double& y, const double& Alf, const double& Scale,
                             const TString& Comment, const TString& FName, const TString& tView)
{
  if (ModelViewInCollector(x, y, Alf, Scale)) return;
  txapi::SmartPtr<txapi::IAssociationView> view = NewModelView(txapi::vt_Standart, x, y, Alf, Scale, Comment);
  if (view) {
    view->SetProjectionName(W(tView));
    view->SetSourceFileName(W(FName));
    SetProjectionParam(view);
  }
  EndModelView(view);
}

void TModelerApi::drAStView7(const double& x, const double& y, const double& Alf, const double& Scale,
                             const TString& Comment, const TString& FName, const TMtr3D& M)
{
  if (ModelViewInCollector(x, y, Alf, Scale)) return;
  txapi::SmartPtr<txapi::IAssociationView> view =
      NewModelView(txapi::vt_Arbitrary, x, y, Alf, Scale, Comment);
  if (view) {
    view->SetSourceFileName(W(FName));
    std::vector<double> m;
    view->SetOrientation(M.to(m));
    SetProjectionParam(view);
  }
  EndModelView(view);
}

void TModelerApi::drACutView7(const double& x, const double& y, const double& Alf, const double& Scale,
                              const TString& Comment, txapi::SmartPtr<txapi::IDrawingObject> pCut) const
{
  // The interface keeps this operation const, yet it places a view and sets the drawing registry.
  TModelerApi& m = const_cast<TModelerApi&>(*this);
  if (m.ModelViewInCollector(x, y, Alf, Scale)) return;
  txapi::SmartPtr<txapi::IAssociationView> view =
      m.NewModelView(txapi::vt_Section, x, y, Alf, Scale, Comment);
  if (view) {
    if (pCut) view->SetCutLine(pCut);
    SetProjectionParam(view);
    view->Update();
  }
  m.EndModelView(view);
}

void TModelerApi::SetProjectionParam(txapi::SmartPtr<txapi::IAssociationView>& AView) const
{
  SwitchOn(AView, true);
}

// ---------------------------------------------------------------------------------------------
// The title block from the drawing state

void TModelerApi::drShtamp()
{
  if (Collector() != nullptr) return;
  const TDetailInfo& di = R2D().DI;
  auto cell = [this](txapi::txStampEnum n, const TString& text) {
    drColumnShtamp(n);
    drStringObj(text);
  };
  drOpenShtamp();
  if (!di.comment.Empty()) cell(txapi::txStPartNumber, di.comment);
  if (!di.fileName.Empty()) cell(txapi::txStDescription, di.designation);
  if (!di.material.Empty()) cell(txapi::txStMaterial, di.material);
  if (di.Scale != 0.0)
    cell(txapi::txStScale,
         di.Scale > 1.0 ? RatioText(di.Scale) + TString(":1") : TString("1:") + RatioText(1.0 / di.Scale));
  cell(txapi::txStNumberOfSheets, TString("1"));
  if (PControlModel != nullptr) PControlModel->SP.dr2D();
  if (di.Weight != 0.0) cell(txapi::txStMass, TString(di.Weight, 3, true, 7));
  drCloseShtamp();
}

// ---------------------------------------------------------------------------------------------
// Specification documents

void TModelerApi::drCreateLeafSpw(TString& iName, TString& Comment)
{
  if (Collector() != nullptr) return;
  TRegistryApi& r = R();
  r.IDoc.reset();
  const TString file = iName + TString(".tsp");
  // A generated specification replaces the one open under its name, unsaved.
  if (txapi::SmartPtr<txapi::ITavrixDocument> open = GetOpenDocument(txapi::txDocumentSpecification, file))
    open->Close(txapi::DocumentCloseOptions(0));
  txapi::SmartPtr<txapi::IDocuments> docs = r.Tavrix7 != nullptr ? r.Tavrix7->GetDocuments() : nullptr;
  txapi::SmartPtr<txapi::ITavrixDocument> made =
      docs ? docs->Create(txapi::txDocumentSpecification, false) : nullptr;
  txapi::SmartPtr<txapi::ISpecificationDocument> spec = made;
  made.reset();
  r.IDoc = spec;
  txapi::SmartPtr<txapi::ITavrixDocument> doc = spec;
  if (!doc) return;
  doc->SetComment(W(Comment));
  if (txapi::SmartPtr<txapi::ISpecificationDescriptions> styles = r.IDoc) {
    const std::wstring library = L"graphic.tsl";
    if (!styles->Find(library, 1)) styles->Add(library, 1, W(file));
  }
  doc->SaveAs(W(file));
}

void TModelerApi::drCloseLeafSpw(bool Close)
{
  if (Collector() != nullptr) return;
  TRegistryApi& r = R();
  if (!r.IDoc) return;
  r.IDoc->Save();
  if (!Close) return;
  r.IDoc->Close(txapi::DocumentCloseOptions(0));
  // A closed document is no current document for what follows.
  r.IDoc.reset();
}

} // namespace drApi
