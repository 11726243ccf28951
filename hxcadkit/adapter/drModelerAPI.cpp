#include "hxcadkit/adapter/drModelerAPI.h"
#include "hxcadkit/drawing/ContourDraw.h"

#include <dlfcn.h>

#include <filesystem>
#include <mutex>
#include <string>

#include "hxcadkit/core/Dictionary.h"
#include "hxcadkit/core/Messager.h"
#include "hxcadkit/core/ModelerLink.h"
#include "hxcadkit/geometry/Elements.h"
#include "txapi/IArc.h"
#include "txapi/IArcs.h"
#include "txapi/ILibraryRecord.h"
#include "txapi/ILineSegment.h"
#include "txapi/ILineSegments.h"
#include "txapi/ITranslator.h"

namespace drApi {

TModelerApi* TModelerApi::Last = nullptr;
TTransf2D* Transf2D = nullptr;
TControlModel* PControlModel = nullptr;

void InstallVariableLink();

namespace {

TCommandProgressLink* ProgressLink = nullptr;

// The file of the shared object that holds this code: the library's path when the host does not
// report it.
std::wstring OwnModulePath()
{
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&OwnModulePath), &info) == 0 || info.dli_fname == nullptr) return {};
  return Utf8ToWide(info.dli_fname);
}

} // namespace

TCommandProgressLink* TCommandProgressLink::Set(TCommandProgressLink* link)
{
  TCommandProgressLink* previous = ProgressLink;
  ProgressLink = link;
  return previous;
}

TCommandProgressLink* TCommandProgressLink::Get()
{
  return ProgressLink;
}

// ---------------------------------------------------------------------------------------------
// TNestedArrayOf

void TNestedArrayOf::Add(txapi::SmartPtr<txapi::ITavrixAPIObject> Obj)
{
  if (!Obj || Count < 1) return;
  AObjects.Add(TMember(Count, Obj));
}

std::vector<txapi::SmartPtr<txapi::IModelObject>> TNestedArrayOf::Objects()
{
  std::vector<txapi::SmartPtr<txapi::IModelObject>> out;
  if (Count < 1) return out;
  Integer first = -1;
  for (Integer i = 0; i < AObjects.Count; ++i)
    if (AObjects[i].V1 == Count) {
      if (first < 0) first = i;
      out.emplace_back(AObjects[i].V2);
    }
  if (first < 0) return out;
  for (Integer i = AObjects.Count - 1; i >= first; --i)
    AObjects[i].V2.reset();
  AObjects.Count = first;
  if (!Last()) out.clear();
  return out;
}

// ---------------------------------------------------------------------------------------------
// TConstraintApi: the switched-off builder keeps only its bookkeeping.

void TConstraintApi::DoLine(double, double, double, double, int Attr)
{
  if (!Active || Attr < 1) return;
  M.R2D().PrevDrawingObject = M.R2D().CurDrawingObject;
  M.R2D().PrevIndex = 1;
}

void TConstraintApi::DoArc(double, double, double, double, double, double, double, int, int)
{
  if (!Active) return;
  M.R2D().PrevDrawingObject = M.R2D().CurDrawingObject;
  M.R2D().PrevIndex = 2;
}

void TConstraintApi::DoCircle(double, double, double, int)
{
  if (Active) M.R2D().PrevDrawingObject.reset();
}

void TConstraintApi::DoEllipse(double, double, double, double, double, int)
{
  if (Active) M.R2D().PrevDrawingObject.reset();
}

// ---------------------------------------------------------------------------------------------
// TModelerApi: construction, initialisation, messages

TModelerApi::TModelerApi()
  : TModeler3D(new TRegistryModeler2D(Constraint), true), Constraint(*this), Registry(new TRegistryApi, true)
{
  Last = this;
  Transf2D = &R2D().Transf2D;
}

TModelerApi::~TModelerApi()
{
  if (Last == this) Last = nullptr;
  if (Transf2D == &R2D().Transf2D) Transf2D = nullptr;
  HostPushes.clear();
  Registry.Set(nullptr, false);
  Constraint.FreeMemory();
}

bool TModelerApi::Init(txapi::IApplication& app, const TString& name, const TString& font)
{
  TRegistryApi& r = R();
  // Bound here rather than at construction: the list belongs to another unit, whose globals may
  // not be built yet while this one's are.
  ADimension3D.Bind(this);
  InstallVariableLink();
  r.Tavrix7 = &app;
  std::wstring path = app.GetCurrentLibraryPath();
  if (path.empty()) path = OwnModulePath();
  const std::filesystem::path p(WideToUtf8(path));
  r.PathFileName = TString::Exactly(path);
  r.FileName = TString::Exactly(Utf8ToWide(p.stem().string()));
  r.ModuleName = r.FileName.Length() > 3 ? r.FileName.SubStr(3, r.FileName.Length() - 3) : TString();
  r.Path = path.empty() ? TString() : TString::Exactly(Utf8ToWide(p.parent_path().string()) + L"/");
  Dictionary.Init(r.FileName, r.Path, TString());

  r.LibFont = font;
  txapi::SmartPtr<txapi::ILibraryRecord> record = app.GetLibraryRecord(W(name));
  if (record) {
    const std::wstring f = record->GetFontName();
    if (!f.empty()) r.LibFont = TString(f);
  } else {
    Messager->LiftBox(DC("Не подключена библиотека ") + r.FileName, TMessager::toAlways);
  }
  if (PControlModel != nullptr) PControlModel->Path = TString::Exactly(app.GetFolder(2) + L"/");
  r.TavrixError = app.GetTavrixError();
  return !path.empty();
}

void TModelerApi::LiftBox(const TString& text)
{
  if (R().Tavrix7 != nullptr) R().Tavrix7->ShowMessage(W(text));
}

int TModelerApi::QuestionBox(const TString& text, const TString& caption)
{
  if (R().Tavrix7 == nullptr) return 0;
  return R().Tavrix7->AskQuestion(W(text), W(caption)) ? 1 : 0;
}

void TModelerApi::OpenHelp(const TString&, int, int context)
{
  if (R().Tavrix7 != nullptr) R().Tavrix7->ShowHelp(context);
}

void TModelerApi::Progress(const TString& text)
{
  if (TCommandProgressLink* link = TCommandProgressLink::Get()) link->NextProgress(text);
}

void TModelerApi::Prompt(const TString& text)
{
  if (TCommandProgressLink* link = TCommandProgressLink::Get()) link->SetPrompt(text);
}


// ---------------------------------------------------------------------------------------------
// TSelectorAPI

TSelectorAPI& TSelectorAPI::Instance()
{
  static TSelectorAPI selector;
  return selector;
}

TSelectorAPI::~TSelectorAPI()
{
  Choose7.reset();
  Selection7.reset();
}

void TSelectorAPI::Begin()
{
  txapi::IApplication* app = TModelerApi::Last != nullptr ? TModelerApi::Last->R().Tavrix7 : nullptr;
  txapi::SmartPtr<txapi::ITavrixDocument> d = app != nullptr ? app->GetActiveDocument()
                                                             : txapi::SmartPtr<txapi::ITavrixDocument>();
  Selection7 = d ? d->GetSelectionManager() : txapi::SmartPtr<txapi::ISelectionManager>();
  Choose7 = d ? d->GetChooseManager() : txapi::SmartPtr<txapi::IChooseManager>();
}

void TSelectorAPI::End()
{
  Choose7.reset();
  Selection7.reset();
}

void TSelectorAPI::Choose(txapi::SmartPtr<txapi::ITavrixAPIObject> Object)
{
  if (Choose7 && Object) Choose7->Choose({Object});
}

void TSelectorAPI::UnChooseAll()
{
  if (Choose7) Choose7->UnChooseAll();
}

void TSelectorAPI::UnSelectAll()
{
  if (Selection7) Selection7->UnselectAll();
}

void TSelectorAPI::SetCurrentManagerType(txapi::txChooseManagerTypeEnum Type)
{
  if (Choose7) Choose7->SetCurrentManagerType(Type);
}

bool ErrorEntity(txapi::SmartPtr<txapi::IModelObject> Entity)
{
  txapi::SmartPtr<txapi::IFeature> f = Entity;
  return f && f->GetStatus() == 0;
}

// ---------------------------------------------------------------------------------------------
// The global modeller and the links through which the lower subsystems reach it.

TModelerApi MA;

} // namespace drApi

// The hole object draws through the global modeller.
THole3DParam HH(drApi::MA);

namespace drApi {

THole3DParam* H = &HH;

namespace {

class TAdapterLinks final : public TModelerLink, public TTranslatorLink, public TCurveTransform
{
public:
  TAdapterLinks()
  {
    PreviousModeler = TMessager::SetModelerLink(this);
    PreviousTranslator = TMessager::SetTranslatorLink(this);
    PreviousTransform = GetCurveTransform();
    SetCurveTransform(this);
    // Contours reach the modeller's primitives through the drawing model's link.
    InstallContourDrawing();
  }
  ~TAdapterLinks() override
  {
    TMessager::SetModelerLink(PreviousModeler);
    TMessager::SetTranslatorLink(PreviousTranslator);
    SetCurveTransform(PreviousTransform);
  }

  // TModelerLink
  bool Exists() const override { return TModelerApi::Last != nullptr; }
  void LiftBox(const TString& text) override
  {
    if (TModelerApi::Last != nullptr) TModelerApi::Last->LiftBox(text);
  }
  int QuestionBox(const TString& text, const TString& caption) override
  {
    return TModelerApi::Last != nullptr ? TModelerApi::Last->QuestionBox(text, caption) : 0;
  }

  // TTranslatorLink
  bool Available() const override
  {
    return TModelerApi::Last != nullptr && TModelerApi::Last->R().Tavrix7 != nullptr;
  }
  std::wstring Translate(const std::wstring& text) override
  {
    if (!Available()) return text;
    txapi::SmartPtr<txapi::ITranslator> t = TModelerApi::Last->R().Tavrix7->GetTranslator();
    return t ? t->Translate(text) : text;
  }

  // TCurveTransform
  void xyMtr(const double& x, const double& y, double& X, double& Y) const override
  {
    if (Transf2D != nullptr) {
      Transf2D->xyMtr(x, y, X, Y);
    } else {
      X = x;
      Y = y;
    }
  }
  double ScaleMtr() const override { return Transf2D != nullptr ? Transf2D->ScaleMtr() : 1.0; }

private:
  TModelerLink* PreviousModeler = nullptr;
  TTranslatorLink* PreviousTranslator = nullptr;
  const TCurveTransform* PreviousTransform = nullptr;
};

TAdapterLinks AdapterLinks;

// The control model's ties to the host: the mass of a part file and the title-block texts.
class THostLink final : public THostModelerLink
{
public:
  THostLink() { Previous = THostModelerLink::Set(this); }
  ~THostLink() override
  {
    if (THostModelerLink::Get() == this) THostModelerLink::Set(Previous);
  }

  double GetMassFile(const TString& path) override
  {
    return TModelerApi::Last != nullptr ? TModelerApi::Last->GetMassFile(path) : 0.0;
  }
  void drColumnShtamp(int cell) override
  {
    if (TModelerApi::Last != nullptr) TModelerApi::Last->drColumnShtamp(txapi::txStampEnum(cell));
  }
  void drStringObj(const TString& text) override
  {
    if (TModelerApi::Last != nullptr) TModelerApi::Last->drStringObj(text);
  }

private:
  THostModelerLink* Previous = nullptr;
};

THostLink HostLink;

// The drawing model's link, with host model variables made through the host modeller: each is
// linked to the variable of its name in the variable document when one is named.
class TVariableLink final : public TDrawingLink
{
public:
  explicit TVariableLink(TDrawingLink* next) : Next(next) {}
  // At unload the place goes back to the link it was taken from, when this one still holds it.
  ~TVariableLink() override
  {
    if (TDrawingLink::Get() == this) TDrawingLink::Set(Next);
  }

  void SetCurrent(TModeler3D& m, const TCurrentDetail& d) override
  {
    if (Next != nullptr) Next->SetCurrent(m, d);
  }
  void ClearOnlySizes2D(TModeler3D& m) override
  {
    if (Next != nullptr) Next->ClearOnlySizes2D(m);
  }
  TString MaterialName(int index) const override { return Next != nullptr ? Next->MaterialName(index) : TString(); }
  void GetLeafLeftUp(int format, int orientation, double& x, double& y) const override
  {
    if (Next != nullptr) Next->GetLeafLeftUp(format, orientation, x, y);
  }
  void dr2D(const TDetail& d) override
  {
    if (Next != nullptr) Next->dr2D(d);
  }
  void dr3D(const TDetail& d, int n) override
  {
    if (Next != nullptr) Next->dr3D(d, n);
  }
  void AddLinkedVariable(TModeler3D& m, const TString& name, double value, const TString& comment,
                         const TString& linkDoc) override
  {
    txapi::SmartPtr<txapi::IVariable> v = m.drAddVariable(name, value, comment);
    if (v && !linkDoc.Empty()) v->SetLink(W(linkDoc), W(name));
  }

  TDrawingLink* Next;
};

} // namespace

void InstallVariableLink()
{
  // Installed over the drawing model's own link once every global exists. It lives as long as the
  // library: a library unloaded by its host leaves nothing allocated behind.
  static bool installed = false;
  if (installed) return;
  installed = true;
  static TVariableLink link(TDrawingLink::Get());
  TDrawingLink::Set(&link);
}

} // namespace drApi
