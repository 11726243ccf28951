// The adapter's documents and parts, planes and sketches, 2D placement and model objects.
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <fcntl.h>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "hxcadkit/adapter/drModelerAPI.h"
#include "hxcadkit/core/FolderLock.h"
#include "hxcadkit/core/KmfData.h"
#include "txapi/IAuxiliaryGeomContainer.h"
#include "txapi/IBody.h"
#include "txapi/IColorParam.h"
#include "txapi/ICylindricalSpiral.h"
#include "txapi/IDocuments.h"
#include "txapi/IFeature.h"
#include "txapi/ILineSegment3D.h"
#include "txapi/IModelContainer.h"
#include "txapi/IPoint3D.h"
#include "txapi/ISketches.h"
#include "txapi/ISplitLine.h"
#include "txapi/IViews.h"
#include "txapi/IViewsAndLayersManager.h"
#include "txapi/optional/IDocumentSaveRecord.h"

namespace drApi {

namespace {

// A new object of the kind in the part's auxiliary geometry; empty without a part or container.
txapi::SmartPtr<txapi::IModelObject> NewAuxiliary(const txapi::SmartPtr<txapi::IPart>& part,
                                                  txapi::txObj3dTypeEnum kind)
{
  txapi::SmartPtr<txapi::IAuxiliaryGeomContainer> aux = part;
  return aux ? aux->Add(kind) : txapi::SmartPtr<txapi::IModelObject>();
}

} // namespace

void TModelerApi::Made(const txapi::SmartPtr<txapi::IModelObject>& o)
{
  R().Obj3D = o;
  R().AMacroObject3D.Add(txapi::SmartPtr<txapi::ITavrixAPIObject>(o));
}

void TModelerApi::ForgetSketch()
{
  drEndEskis();
  R().Sketch.reset();
  R().Plane.reset();
}

// ---------------------------------------------------------------------------------------------
// Documents and parts

txapi::SmartPtr<txapi::IPart> TModelerApi::drGetPart(Part_Type, txapi::DocumentTypeEnum Type_Doc)
{
  TRegistryApi& r = R();
  ForgetSketch();
  r.IDoc = r.Tavrix7 != nullptr ? r.Tavrix7->GetActiveDocument() : txapi::SmartPtr<txapi::ITavrixDocument>();
  r.IDoc3D = r.IDoc;
  r.ProgressBar = r.Tavrix7 != nullptr ? r.Tavrix7->GetProgressBar() : txapi::SmartPtr<txapi::IProgressBar>();
  Selector->Begin();
  // Another type of document has no part for the caller: a caller that wants either asks twice.
  if (r.IDoc3D && r.IDoc->GetType() == Type_Doc)
    r.Part = r.IDoc3D->GetTopPart();
  else
    r.Part.reset();
  return r.Part;
}

namespace {

void Release(TNestedArrayOf& a)
{
  for (auto& e : a)
    e.reset();
  a.Count = 0;
  for (auto& m : a.AObjects)
    m.V2.reset();
  a.AObjects.Count = 0;
}

} // namespace

void TModelerApi::drEndGetPart(bool)
{
  TRegistryApi& r = R();
  // The command is over: nothing it left current may steer the next one, and no object of its
  // documents stays held (one that threw may have left macros and pending objects open).
  // Placements it left pushed are popped, the host's too, so that the user's drawing is not left
  // transformed; a pop the host refuses leaves nothing held.
  while (R2D().Transf2D.AMtr.Count > 0)
    try {
      drDeleteMtr();
    } catch (...) {
    }
  HostPushes.clear();
  ForgetSketch();
  auto reset = [](auto&... p) { (p.reset(), ...); };
  reset(r.IDoc, r.IDoc3D, r.IDoc2D, r.Part, r.Obj3D, r.View, r.DrawingContainer, r.Symbols2DContainer, r.Obj,
        r.Entity2D, r.LastObj, r.MacroObj, r.CutLine, r.Leader, r.Polyline3D, r.Tolerance, r.Hatch, r.Colouring,
        r.BoundariesObject, r.Stamp, r.Text, r.TechnicalDemand, r.ProgressBar, r.ITessellationMng);
  Release(r.AMacroObj);
  Release(r.AMacroObject3D);
  TRegistryModeler2D& r2 = R2D();
  r2.CurDrawingObject.reset();
  r2.PrevDrawingObject.reset();
  for (auto& g : r2.AGroup)
    g.reset();
  r2.AGroup.Count = 0;
  Selector->End();
}

txapi::SmartPtr<txapi::IPart> TModelerApi::GetPart() const
{
  return R().Part;
}

bool TModelerApi::IsActive(txapi::DocumentTypeEnum DocumentType, txapi::DocumentTypeEnum orDocumentType)
{
  if (R().Tavrix7 == nullptr) return false;
  txapi::SmartPtr<txapi::ITavrixDocument> d = R().Tavrix7->GetActiveDocument();
  if (!d) return false;
  const txapi::DocumentTypeEnum t = d->GetType();
  return t == DocumentType || t == orDocumentType;
}

txapi::SmartPtr<txapi::ITavrixDocument> TModelerApi::GetOpenDocument(txapi::DocumentTypeEnum T,
                                                                     const TString& Name)
{
  txapi::SmartPtr<txapi::ITavrixDocument> found;
  if (R().Tavrix7 == nullptr) return found;
  txapi::SmartPtr<txapi::IDocuments> docs = R().Tavrix7->GetDocuments();
  if (!docs) return found;
  const std::wstring name = W(Name);
  const int n = docs->GetCount();
  for (int i = 0; i < n; ++i) {
    txapi::SmartPtr<txapi::ITavrixDocument> d = docs->GetItem(i);
    if (!d || d->GetType() != T) continue;
    const std::wstring file = d->GetFullFileName();
    if (!file.empty() && file == name) found = d;
  }
  return found;
}

txapi::SmartPtr<txapi::ITavrixDocument> TModelerApi::drOpen3D(const TString& Path, bool Flag)
{
  txapi::SmartPtr<txapi::ITavrixDocument> d = Open3D(Path, Flag);
  if (d) {
    // The sketch belonged to the document that was current.
    ForgetSketch();
  }
  return d;
}

double TModelerApi::GetMassFile(const TString& FName)
{
  if (!FileExists(FName)) return 0.0;
  if (txapi::SmartPtr<txapi::ITavrixDocument> open = GetOpenDocument(txapi::txDocumentPart, FName)) {
    txapi::SmartPtr<txapi::ITavrixDocument3D> d3 = open;
    txapi::SmartPtr<txapi::IPart> top = d3 ? d3->GetTopPart() : txapi::SmartPtr<txapi::IPart>();
    return top ? top->GetMass() : 0.0;
  }
  // Asked for while a drawing or part is being built: what is current must survive the visit.
  TRegistryApi& r = R();
  const txapi::SmartPtr<txapi::ITavrixDocument> doc = r.IDoc;
  const txapi::SmartPtr<txapi::ITavrixDocument3D> doc3D = r.IDoc3D;
  const txapi::SmartPtr<txapi::IPart> part = r.Part;
  const txapi::SmartPtr<txapi::IModelObject> obj3D = r.Obj3D;
  double mass = 0.0;
  if (Open3D(FName, true)) {
    if (r.Part) mass = r.Part->GetMass();
    r.IDoc->Close(txapi::txCloseWithoutSaving);
  }
  r.IDoc = doc;
  r.IDoc3D = doc3D;
  r.Part = part;
  r.Obj3D = obj3D;
  return mass;
}

txapi::SmartPtr<txapi::ITavrixDocument> TModelerApi::Open3D(const TString& Path, bool Flag)
{
  TRegistryApi& r = R();
  if (r.Tavrix7 == nullptr) return {};
  txapi::SmartPtr<txapi::IDocuments> docs = r.Tavrix7->GetDocuments();
  txapi::SmartPtr<txapi::ITavrixDocument> d = docs ? docs->Open(W(Path), !Flag, false)
                                                   : txapi::SmartPtr<txapi::ITavrixDocument>();
  if (!d) return d;
  r.IDoc = d;
  r.IDoc3D = d;
  r.Hidden3D = false;
  r.Part = r.IDoc3D ? r.IDoc3D->GetTopPart() : txapi::SmartPtr<txapi::IPart>();
  r.Obj3D.reset();
  return d;
}

void TModelerApi::drCreate3D(bool Invisible, bool isDetail, const TString& FileName, const TString& Name,
                             const TString& Marking)
{
  TRegistryApi& r = R();
  ForgetSketch();
  ForgetPartSheet(false);
  r.Obj3D.reset();
  r.IDoc.reset();
  r.IDoc3D.reset();
  r.Part.reset();
  r.Hidden3D = false;
  if (r.Tavrix7 == nullptr) return;
  const txapi::DocumentTypeEnum type = isDetail ? txapi::txDocumentPart : txapi::txDocumentAssembly;
  r.IDoc = GetOpenDocument(type, FileName);
  if (!r.IDoc) {
    txapi::SmartPtr<txapi::IDocuments> docs = r.Tavrix7->GetDocuments();
    if (docs) r.IDoc = docs->Add(type, !Invisible);
    r.Hidden3D = Invisible && r.IDoc;
    // Named at once: closing saves it under this name, and callers look for the file. Not where another
    // build kept the folder past the wait: the save that closes it is refused the same way.
    if (r.IDoc && !FileName.Empty()) {
      const TFolderLock turn(FileName);
      if (!turn.Refused()) r.IDoc->SaveAs(W(FileName));
    }
  }
  r.IDoc3D = r.IDoc;
  // A document opened under the name now has no save of its own yet.
  r.File3D = FileName;
  r.File3DDoc = r.IDoc.get();
  std::erase_if(r.SavedFiles, [&](const auto& s) { return s.first == FileName; });
  if (r.IDoc3D) r.Part = r.IDoc3D->GetTopPart();
  if (!r.Part) return;
  r.Part->SetName(W(Name));
  r.Part->SetMarking(W(Marking));
  r.Part->Update();
  Progress(Name);
}

namespace {
// What stands at a file's name itself, looked at in its folder (a link is not followed, and a path past the
// system's limit is looked at as any other); false when nothing does.
bool LookAt(const TString& file, struct stat& st)
{
  const std::string path = file.Utf8Text();
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
  const int fd = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool found = ::fstatat(fd, path.c_str() + (slash == std::string::npos ? 0 : slash + 1), &st,
                               AT_SYMLINK_NOFOLLOW) == 0;
  ::close(fd);
  return found;
}

// The stand-in host's own account of the current document's saves; empty where the host gives none.
txapi::SmartPtr<txapi::optional::IDocumentSaveRecord> SaveRecord(const TRegistryApi& r)
{
  return r.IDoc;
}

// Whether a file stands at the name of the document opened under a file name, as the library can tell
// before its save: asked only where the host keeps no record of its saves.
bool StandsBeforeSave(const TRegistryApi& r)
{
  struct stat st;
  return !r.File3D.Empty() && r.IDoc.get() == r.File3DDoc && !SaveRecord(r) && LookAt(r.File3D, st);
}

// Keeps what a save of the current document did, as it stands right after it, under the name it was
// opened by drCreate3D. The host's own record says which file the save wrote and why one failed; where the
// host keeps none, the file is looked at afterwards (when another process may have put its own there), a
// file that stood at the name before the save counts as replaced, and a failure has no number.
void RecordSave(TRegistryApi& r, bool written, bool stood, int refused = 0)
{
  if (r.File3D.Empty() || r.IDoc.get() != r.File3DDoc) return;
  const TString file = r.File3D;
  TModeler3D::TSavedFile saved;
  saved.Written = written;
  const txapi::SmartPtr<txapi::optional::IDocumentSaveRecord> record = SaveRecord(r);
  struct stat st;
  if (refused != 0) {
    saved.Error = refused;
  } else if (!written) {
    saved.Error = record ? record->GetSaveError() : 0;
  } else if (!(record &&
               record->GetSavedFile(saved.Device, saved.Inode, saved.Size, saved.Modified, saved.Replaced)) &&
             LookAt(file, st)) {
    saved.Device = std::uint64_t(st.st_dev);
    saved.Inode = std::uint64_t(st.st_ino);
    saved.Size = std::uint64_t(st.st_size);
    saved.Modified = std::int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    saved.Replaced = stood;
  }
  auto& saves = r.SavedFiles;
  std::erase_if(saves, [&](const auto& s) { return s.first == file; });
  // A build saves about ten files; a session of builds keeps only the latest.
  if (saves.size() >= 64) saves.erase(saves.begin());
  saves.emplace_back(file, saved);
}
} // namespace

bool TModelerApi::drSavedFile3D(const TString& File, TSavedFile& Saved) const
{
  for (const auto& [file, saved] : R().SavedFiles)
    if (file == File) {
      Saved = saved;
      return true;
    }
  return false;
}

void TModelerApi::drSave3D(bool Close, bool)
{
  TRegistryApi& r = R();
  r.Saved3D = false;
  if (!r.IDoc) return;
  // The save and the record of what it wrote are one step for every other build (see TFolderLock).
  std::optional<TFolderLock> turn;
  if (!r.File3D.Empty() && r.IDoc.get() == r.File3DDoc) turn.emplace(r.File3D);
  // Another build kept the folder past the wait: nothing is written, and the failure says why.
  const int refused = turn && turn->Refused() ? EWOULDBLOCK : 0;
  const bool stood = refused == 0 && StandsBeforeSave(r);
  if (!Close) {
    r.Saved3D = refused == 0 && r.IDoc->Save();
    RecordSave(r, r.Saved3D, stood, refused);
    ForgetPartSheet(!r.Saved3D);
    return;
  }
  ForgetSketch();
  if (r.IDoc3D) r.IDoc3D->UpdateModel(true);
  r.Obj3D.reset();
  r.Obj.reset();
  r.Saved3D = refused == 0 && r.IDoc->Close(txapi::txCloseSaveChanges);
  RecordSave(r, r.Saved3D, stood, refused);
  // A part not written takes its sheet with it.
  ForgetPartSheet(!r.Saved3D);
  r.File3DDoc = nullptr;
  // A hidden document the host could not write stays open unseen for good: it is let go. A
  // visible one stays for the user to save elsewhere.
  if (!r.Saved3D && r.Hidden3D) r.IDoc->Close(txapi::txCloseWithoutSaving);
  r.IDoc.reset();
  r.IDoc3D.reset();
  r.Part.reset();
}

bool TModelerApi::drHasBody3D() const
{
  const txapi::SmartPtr<txapi::IFeature> f = R().Part;
  return f && !f->GetBodies().empty();
}

void TModelerApi::drDiscard3D()
{
  TRegistryApi& r = R();
  r.Saved3D = false;
  if (!r.IDoc) return;
  ForgetSketch();
  ForgetPartSheet(false);
  r.Obj3D.reset();
  r.Obj.reset();
  r.IDoc->Close(txapi::txCloseWithoutSaving);
  r.IDoc.reset();
  r.IDoc3D.reset();
  r.Part.reset();
}

TString TModelerApi::drFileName3D() const
{
  const txapi::SmartPtr<txapi::ITavrixDocument> doc = R().IDoc3D;
  return doc ? TString::Exactly(doc->GetFullFileName()) : TString();
}

void TModelerApi::drFastener3D()
{
  // Kept with the library's own data of the part's document, so that it travels with the part's file
  // into every assembly that takes it.
  txapi::SmartPtr<txapi::ITavrixDocument> doc = R().IDoc3D;
  if (doc) drSetUserData(doc, TString("Fastener"), std::vector<std::uint8_t>{1}, false, nullptr);
}

void TModelerApi::drFastenerPiece3D()
{
  txapi::SmartPtr<txapi::ITavrixDocument> doc = R().IDoc3D;
  if (doc) drSetUserData(doc, TString("FastenerPiece"), std::vector<std::uint8_t>{1}, false, nullptr);
}

void TModelerApi::drColor3D(int Color, const double& ambient, const double& diffuse, const double& specularity,
                            const double& shininess, const double& transparency, const double& emission)
{
  txapi::SmartPtr<txapi::IColorParam> c = R().Part;
  if (!c) return;
  c->SetColorParams(Color, ambient, diffuse, specularity, shininess, transparency, emission);
  R().Part->Update();
}

// ---------------------------------------------------------------------------------------------
// Planes and sketches

void TModelerApi::drPlane(txapi::txObj3dTypeEnum BasePlane, const double& Distance)
{
  TRegistryApi& r = R();
  txapi::SmartPtr<txapi::IModelObject> base =
      r.Part ? r.Part->GetDefaultEntity(BasePlane) : txapi::SmartPtr<txapi::IModelObject>();
  if (!base || Distance == 0.0) {
    r.Plane = base;
    return;
  }
  txapi::SmartPtr<txapi::IModelObject> o = NewAuxiliary(r.Part, txapi::o3d_planeOffset);
  txapi::SmartPtr<txapi::IPlane3D> p = o;
  if (!p) {
    r.Plane.reset();
    return;
  }
  p->SetBasePlane(base);
  p->SetOffset(Distance);
  o->Update();
  r.Plane = o;
  Made(o);
}

txapi::SmartPtr<txapi::IPlane3D> TModelerApi::GetPlane()
{
  return txapi::SmartPtr<txapi::IPlane3D>(R().Plane);
}

void TModelerApi::drCreateEskis(double Angle, const TString& Name)
{
  TRegistryApi& r = R();
  drEndEskis();
  r.Sketch.reset();
  txapi::SmartPtr<txapi::IModelContainer> mc = r.Part;
  if (!mc || !r.Plane) return;
  txapi::SmartPtr<txapi::ISketches> sketches = mc->GetSketches();
  txapi::SmartPtr<txapi::ISketch> s = sketches ? sketches->Add() : txapi::SmartPtr<txapi::ISketch>();
  txapi::SmartPtr<txapi::IModelObject> o = s;
  if (!o) return;
  s->SetPlane(r.Plane);
  s->SetAngle(Angle);
  if (!Name.Empty()) o->SetName(W(Name));
  o->Update();
  r.Sketch = s;
  Made(o);
  r.IDoc2D = s->BeginEdit();
  drOpenView(0);
}

void TModelerApi::drPlaneEskis(txapi::txObj3dTypeEnum BasePlane, double Distance, double Angle,
                               const TString& Name)
{
  drEndEskis();
  drPlane(BasePlane, Distance);
  drCreateEskis(Angle, Name);
}

void TModelerApi::drEndEskis()
{
  TRegistryApi& r = R();
  if (!r.IDoc2D || !r.Sketch) return;
  r.Sketch->EndEdit();
  r.IDoc2D.reset();
  r.DrawingContainer.reset();
  r.Symbols2DContainer.reset();
}

void TModelerApi::drOpenView(int N)
{
  TRegistryApi& r = R();
  r.View.reset();
  r.DrawingContainer.reset();
  r.Symbols2DContainer.reset();
  R2D().Constraint2D.Count = 0;
  if (!r.IDoc2D) return;
  txapi::SmartPtr<txapi::IViewsAndLayersManager> m = r.IDoc2D->GetViewsAndLayersManager();
  txapi::SmartPtr<txapi::IViews> views = m ? m->GetViews() : txapi::SmartPtr<txapi::IViews>();
  r.View = views ? views->GetViewByNumber(N) : txapi::SmartPtr<txapi::IView>();
  r.DrawingContainer = r.View;
  r.Symbols2DContainer = r.View;
}

void TModelerApi::drPlanePerpendEdgeVertex(txapi::SmartPtr<txapi::IModelObject> Edge,
                                           txapi::SmartPtr<txapi::IModelObject> Point)
{
  if (!R().Part || !Edge || !Point) return;
  txapi::SmartPtr<txapi::IModelObject> o = NewAuxiliary(R().Part, txapi::o3d_planePerpendicular);
  txapi::SmartPtr<txapi::IPlane3D> p = o;
  if (!p) return;
  p->SetEdgeAndPoint(Edge, Point);
  o->Update();
  R().Plane = o;
  Made(o);
}

void TModelerApi::drLine3D(const TPoint3D& P1, const TPoint3D& P2, const TString& Name, bool Hidden)
{
  R().Obj3D.reset();
  txapi::SmartPtr<txapi::IModelObject> o = NewAuxiliary(R().Part, txapi::o3d_lineSegment3D);
  txapi::SmartPtr<txapi::ILineSegment3D> l = o;
  if (!l) return;
  l->SetPoints(P1.x, P1.y, P1.z, P2.x, P2.y, P2.z);
  if (!Name.Empty()) o->SetName(W(Name));
  o->SetHidden(Hidden);
  o->Update();
  Made(o);
}

void TModelerApi::drPoint3D(const double& x, const double& y, const double& z,
                            txapi::txAnnotationSymbolEnum symbol, const TString& name, bool Hidden)
{
  R().Obj3D.reset();
  txapi::SmartPtr<txapi::IModelObject> o = NewAuxiliary(R().Part, txapi::o3d_point3D);
  txapi::SmartPtr<txapi::IPoint3D> p = o;
  if (!p) return;
  p->SetPoint(x, y, z);
  p->SetSymbol(symbol);
  if (!name.Empty()) o->SetName(W(name));
  o->SetHidden(Hidden);
  o->Update();
  Made(o);
}

void TModelerApi::drSpiral3D(txapi::SmartPtr<txapi::IPlane3D> Plane, const double& Height, const double& Turns,
                             const double& D)
{
  R().Obj3D.reset();
  if (!(Turns > 0.0)) return;
  txapi::SmartPtr<txapi::IModelObject> o = NewAuxiliary(R().Part, txapi::o3d_cylindricalSpiral);
  txapi::SmartPtr<txapi::ICylindricalSpiral> s = o;
  if (!s) return;
  const double h = std::fabs(Height);
  s->SetPlane(txapi::SmartPtr<txapi::IModelObject>(Plane));
  s->SetStep(Turns);
  s->SetBuildingDirection(Height > 0.0);
  s->SetHeight(h);
  s->SetTurnsNumber(h / Turns);
  s->SetDiameter(D);
  o->Update();
  Made(o);
}

// ---------------------------------------------------------------------------------------------
// 2D placement

void TModelerApi::drMtr(double x, double y, double Angle, double Scale)
{
  TTransf2D& t = R2D().Transf2D;
  // Entries pushed past this modeller (straight onto the stack) were never handed to a host.
  HostPushes.resize(std::size_t(std::max<Integer>(t.AMtr.Count, 0)));
  t.drMtr(x, y, Angle, Scale);
  if (R().IDoc2D) R().IDoc2D->PushPlacement(x, y, Angle, Scale);
  HostPushes.push_back(R().IDoc2D);
}

void TModelerApi::drDeleteMtr()
{
  TTransf2D& t = R2D().Transf2D;
  if (t.AMtr.Count <= 0) return;
  const std::size_t top = std::size_t(t.AMtr.Count);
  t.drDeleteMtr();
  if (HostPushes.size() != top) {
    HostPushes.resize(std::size_t(t.AMtr.Count));
    return;
  }
  txapi::SmartPtr<txapi::ITavrixDocument2D> d = std::move(HostPushes.back());
  HostPushes.pop_back();
  // Only the document the entry went to, and only while it is still the one drawn into.
  if (d && d == R().IDoc2D) R().IDoc2D->PopPlacement();
}

// ---------------------------------------------------------------------------------------------
// Model objects

void TModelerApi::drSplitFaceObjects(const std::vector<txapi::SmartPtr<txapi::IFace>>& Faces,
                                     const TVOfMO& CutObjects, txapi::txDirectionTypeEnum TypeSplit)
{
  R().Obj3D.reset();
  txapi::SmartPtr<txapi::IModelObject> o = NewAuxiliary(R().Part, txapi::o3d_splitLine);
  txapi::SmartPtr<txapi::ISplitLine> s = o;
  if (!s) return;
  s->SetFaces(Faces);
  s->SetCuttingObjects(CutObjects);
  s->SetDirection(TypeSplit);
  if (o->Update()) Made(o);
}

txapi::SmartPtr<txapi::IEdge> GetLinkEdge(txapi::SmartPtr<txapi::IFace> F1, txapi::SmartPtr<txapi::IFace> F2, int n)
{
  if (!F1 || !F2) return {};
  for (const auto& e : F1->GetEdges()) {
    if (!e) continue;
    for (const auto& f : e->GetFaces())
      if (f == F2 && n-- == 0) return e;
  }
  return {};
}

int TAOfComEntity::IndexOfByEqu(txapi::SmartPtr<txapi::IModelObject>& Object) const
{
  for (Integer i = 0; i < Count; ++i)
    if ((*this)[i] == Object) return i;
  return -1;
}

bool TAOfComEntity::IsLinked(txapi::SmartPtr<txapi::IFace>& Face) const
{
  for (Integer i = 0; i < Count; ++i)
    if (GetLinkEdge(txapi::SmartPtr<txapi::IFace>((*this)[i]), Face, 0)) return true;
  return false;
}

TVOfMO TModelerApi::GetObjects(txapi::SmartPtr<txapi::IModelObject> owner, txapi::txObj3dTypeEnum kind)
{
  txapi::SmartPtr<txapi::IFeature> f = owner;
  return f ? f->GetModelObjects({kind}) : TVOfMO();
}

txapi::SmartPtr<txapi::IModelObject> TModelerApi::FindEntity(txapi::SmartPtr<txapi::IPart>& Part,
                                                             txapi::txObj3dTypeEnum EType, const TString& EName)
{
  txapi::SmartPtr<txapi::IFeature> f = Part;
  if (!f) return {};
  const std::wstring name = W(EName);
  for (const auto& o : f->GetModelObjects({EType}))
    if (o && o->GetName() == name) return o;
  return {};
}

void TModelerApi::SetHidden(txapi::SmartPtr<txapi::IModelObject> Object, bool Hidden)
{
  if (!Object) return;
  Object->SetHidden(Hidden);
  Object->Update();
}

void TModelerApi::DeleteEntity(txapi::SmartPtr<txapi::IModelObject> Object)
{
  if (!Object || !R().IDoc3D) return;
  R().IDoc3D->DeleteObjects({Object});
}

void TModelerApi::drDeleteObj(txapi::SmartPtr<txapi::IModelObject> Object)
{
  DeleteEntity(std::move(Object));
}

} // namespace drApi
