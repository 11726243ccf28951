// Specification entries of the current document and the closing of a part document.
#include "hxcadkit/adapter/drModelerAPI.h"
#include "hxcadkit/core/KmfData.h"
#include "txapi/IAttachedDocument.h"
#include "txapi/IAttachedDocuments.h"
#include "txapi/ISpecificationBaseObject.h"
#include "txapi/ISpecificationBaseObjects.h"
#include "txapi/ISpecificationColumn.h"
#include "txapi/ISpecificationColumns.h"
#include "txapi/ISpecificationDescription.h"
#include "txapi/ISpecificationDescriptions.h"

namespace drApi {

namespace {

// The attribute type of every entry the library makes.
constexpr std::int64_t NumberAttr = 81764182256;
const wchar_t* const StyleLibrary = L"graphic.tsl";
const char* const FileExtension[] = {".tdr", ".tpt", ".tas"};

// The document's description of the style library, added when it has none yet.
txapi::SmartPtr<txapi::ISpecificationDescription> Description(const txapi::SmartPtr<txapi::ITavrixDocument>& doc)
{
  const txapi::SmartPtr<txapi::ISpecificationDescriptions> all = doc;
  if (!all) return {};
  txapi::SmartPtr<txapi::ISpecificationDescription> d = all->Find(StyleLibrary, 1);
  return d ? d : all->Add(StyleLibrary, 1, L"");
}

txapi::SmartPtr<txapi::ISpecificationBaseObject> NewEntry(const txapi::SmartPtr<txapi::ISpecificationDescription>& d,
                                                          TSectionSpc section)
{
  const txapi::SmartPtr<txapi::ISpecificationBaseObjects> entries = d->GetBaseObjects();
  return entries ? entries->Add(int(section), NumberAttr) : txapi::SmartPtr<txapi::ISpecificationBaseObject>();
}

void Column(const txapi::SmartPtr<txapi::ISpecificationBaseObject>& e, int type, const TString& text)
{
  const txapi::SmartPtr<txapi::ISpecificationColumns> columns = e->GetColumns();
  const txapi::SmartPtr<txapi::ISpecificationColumn> c = columns ? columns->GetColumn(type, 1, 0) : nullptr;
  if (const txapi::SmartPtr<txapi::IText> t = c ? c->GetText() : nullptr) t->SetString(W(text));
}

} // namespace

void TModelerApi::drSpcObj3D(TSectionSpc TypeObj, const TString& Note, txapi::SmartPtr<txapi::IPart> Part)
{
  // A part that is not there gets no entry, as a document that is not there.
  const txapi::SmartPtr<txapi::ISpecificationDescription> d =
      R().IDoc3D && R().IDoc && Part ? Description(R().IDoc) : nullptr;
  const txapi::SmartPtr<txapi::ISpecificationBaseObject> e = d ? NewEntry(d, TypeObj) : nullptr;
  if (!e) {
    R2D().CurDrawingObject.reset();
    return;
  }
  Column(e, 5, TString(Part->GetName()));
  Column(e, 4, TString(Part->GetMarking()));
  Column(e, 7, Note);
  e->LinkObjects({txapi::SmartPtr<txapi::ITavrixAPIObject>(Part)}, false);
  e->Update();
  R().Obj = txapi::SmartPtr<txapi::ITavrixAPIObject>(e);
  R2D().CurDrawingObject = txapi::SmartPtr<txapi::IDrawingObject>(e);
}

void TModelerApi::drSpcObj(const TString& Name, TSectionSpc TypeObj, txapi::SmartPtr<txapi::IDrawingObject>)
{
  const txapi::SmartPtr<txapi::ISpecificationDescription> d = R().IDoc ? Description(R().IDoc) : nullptr;
  const txapi::SmartPtr<txapi::ISpecificationBaseObject> e = d ? NewEntry(d, TypeObj) : nullptr;
  if (!e) return;
  Column(e, 5, Name);
  Column(e, 6, "1");
  e->Update();
  R().Obj = txapi::SmartPtr<txapi::ITavrixAPIObject>(e);
}

void TModelerApi::drSpcObject(TSectionSpc TypeObj, const TString& NameFileObject, int Pos, int Count)
{
  const txapi::SmartPtr<txapi::ISpecificationDescription> d = R().IDoc ? Description(R().IDoc) : nullptr;
  const txapi::SmartPtr<txapi::ISpecificationBaseObject> e = d ? NewEntry(d, TypeObj) : nullptr;
  if (!e) {
    R2D().CurDrawingObject.reset();
    return;
  }
  Column(e, 3, TString(Pos));
  Column(e, 6, TString(Count));
  if (TypeObj != tStandart) {
    std::vector<TString> files;
    for (const char* ext : FileExtension)
      if (FileExists(NameFileObject + TString(ext))) files.push_back(NameFileObject + TString(ext));
    if (const txapi::SmartPtr<txapi::IAttachedDocuments> a = files.empty() ? nullptr : e->GetAttachedDocuments())
      for (const TString& f : files)
        a->Add(W(f), 1);
  }
  e->Update();
  R().Obj = txapi::SmartPtr<txapi::ITavrixAPIObject>(e);
  R2D().CurDrawingObject = txapi::SmartPtr<txapi::IDrawingObject>(e);
}

void TModelerApi::drClose3D(bool SaveDocument3D, TSectionSpc Section)
{
  if (!R().IDoc) return;
  if (SaveDocument3D && R().IDoc3D) {
    R().IDoc3D->RebuildModel();
    R().IDoc3D->UpdateModel(true);
    if (Section != tNotExist && !R2D().DI.Note.Empty()) drSpcObj3D(tDetail, R2D().DI.Note, R().Part);
    drSave3D(false, true);
  }
  R().IDoc->Close(txapi::txCloseWithoutSaving);
  R().File3DDoc = nullptr;
  ForgetPartSheet(false);
}

} // namespace drApi
