// Facets of documents.

#include "txapi/IChooseManager.h"
#include "txapi/IMateConstraint3D.h"
#include "txapi/IMateConstraints3D.h"
#include "txapi/IModelObject.h"
#include "txapi/IPart.h"
#include "txapi/IProcess.h"
#include "txapi/ISelectionManager.h"
#include "txapi/ITavrixAPIObject.h"
#include "txapi/ITavrixDocument.h"
#include "txapi/ITavrixDocument2D.h"
#include "txapi/ITavrixDocument3D.h"
#include "txapi/IViewsAndLayersManager.h"
#include "txapi/optional/IDocumentSaveRecord.h"
#include "txhost/lib/ConstraintFacets.h"
#include "txhost/lib/Events.h"
#include "txhost/lib/Facets.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Model.h"
#include "txhost/lib/SymbolFacets.h"
#include "txhost/lib/Text.h"

#include <algorithm>

namespace txhost::facets {

namespace {

class TavrixDocumentFacet final : public Facet<txapi::ITavrixDocument>
{
public:
  using Facet::Facet;

  txapi::DocumentTypeEnum GetType() override
  {
    Log("GetType");
    return txapi::DocumentTypeEnum(Host::DocumentType(Model()));
  }

  std::wstring GetFullFileName() override
  {
    Log("GetFullFileName");
    return Model().Text("path");
  }

  bool Save() override
  {
    Log("Save");
    return ModelHost().SaveDocument(Model());
  }

  bool SaveAs(const std::wstring& fileName) override
  {
    Log("SaveAs", fileName);
    return ModelHost().NameDocument(Model(), ToPath(fileName));
  }

  bool Close(txapi::DocumentCloseOptions option) override
  {
    Log("Close", option);
    Host& host = ModelHost();
    if (!host.IsOpen(Model())) return false;
    bool save = option == txapi::txCloseSaveChanges;
    if (option == txapi::txCloseAskUser) save = host.NextAnswer();
    // A document whose changes cannot be saved stays open, so that nothing is lost.
    if (save && !host.SaveDocument(Model())) return false;
    return host.CloseDocument(Model());
  }

  void SetComment(const std::wstring& comment) override
  {
    Log("SetComment", comment);
    Model().Set("comment", ToUtf8(comment));
  }

  void Activate() override
  {
    Log("Activate");
    ModelHost().SetActiveDocument(&Model());
  }

  txapi::SmartPtr<txapi::IDocumentFrame> GetDocumentFrame() override
  {
    Log("GetDocumentFrame");
    if (HandOutRefused("GetDocumentFrame")) return {};
    return HandOut<txapi::IDocumentFrame>(&DocumentFrame(ModelHost(), Model()));
  }

  txapi::SmartPtr<txapi::ISelectionManager> GetSelectionManager() override
  {
    Log("GetSelectionManager");
    if (HandOutRefused("GetSelectionManager")) return {};
    return HandOut<txapi::ISelectionManager>(&Model());
  }

  txapi::SmartPtr<txapi::IChooseManager> GetChooseManager() override
  {
    Log("GetChooseManager");
    if (HandOutRefused("GetChooseManager")) return {};
    return HandOut<txapi::IChooseManager>(&Model());
  }
};

// The stand-in's own account of a document's saves, which the host API leaves out.
class DocumentSaveRecordFacet final : public Facet<txapi::optional::IDocumentSaveRecord>
{
public:
  using Facet::Facet;

  bool GetSavedFile(std::uint64_t& device, std::uint64_t& inode, std::uint64_t& size, std::int64_t& modified,
                    bool& replaced) override
  {
    Log("GetSavedFile");
    const Value& stamp = Model().Prop("fileStamp");
    if (!stamp.is_array() || stamp.size() != 5) return false;
    replaced = stamp[4].get<bool>();
    device = stamp[0].get<std::uint64_t>();
    inode = stamp[1].get<std::uint64_t>();
    size = stamp[2].get<std::uint64_t>();
    modified = stamp[3].get<std::int64_t>();
    return true;
  }

  int GetSaveError() override
  {
    Log("GetSaveError");
    return Host::SaveError(Model());
  }
};

// What the user selected and what a command highlights: session state of the document, not saved.
struct SelectionState
{
  std::vector<ObjectId> Selected;
  std::vector<std::pair<ObjectId, int>> Chosen; // with the highlight group
  int ChooseType = 0;
};

void Add(Host& host, std::vector<ObjectId>& ids, const std::vector<txapi::SmartPtr<txapi::ITavrixAPIObject>>& objects)
{
  for (const auto& p : objects)
    if (const Object* o = Object::From(p.get()); o != nullptr && host.Find(o->Id()) == o) ids.push_back(o->Id());
}

class SelectionManagerFacet final : public Facet<txapi::ISelectionManager>
{
public:
  using Facet::Facet;

  std::vector<txapi::SmartPtr<txapi::ITavrixAPIObject>> GetSelectedObjects() override
  {
    Log("GetSelectedObjects");
    std::vector<txapi::SmartPtr<txapi::ITavrixAPIObject>> out;
    for (ObjectId id : Model().Extra<SelectionState>().Selected)
      if (Object* o = ModelHost().Find(id); o != nullptr && !model::Deleted(*o))
        out.push_back(HandOut<txapi::ITavrixAPIObject>(o));
    return out;
  }
  void Select(const std::vector<txapi::SmartPtr<txapi::ITavrixAPIObject>>& objects) override
  {
    Log("Select", objects);
    Add(ModelHost(), Model().Extra<SelectionState>().Selected, objects);
  }
  void UnselectAll() override
  {
    Log("UnselectAll");
    Model().Extra<SelectionState>().Selected.clear();
  }
};

class ChooseManagerFacet final : public Facet<txapi::IChooseManager>
{
public:
  using Facet::Facet;

  void Choose(const std::vector<txapi::SmartPtr<txapi::ITavrixAPIObject>>& objects) override
  {
    Log("Choose", objects);
    SelectionState& s = Model().Extra<SelectionState>();
    std::vector<ObjectId> ids;
    Add(ModelHost(), ids, objects);
    for (ObjectId id : ids)
      s.Chosen.emplace_back(id, s.ChooseType);
  }
  void UnChoose(const std::vector<txapi::SmartPtr<txapi::ITavrixAPIObject>>& objects) override
  {
    Log("UnChoose", objects);
    SelectionState& s = Model().Extra<SelectionState>();
    std::vector<ObjectId> ids;
    Add(ModelHost(), ids, objects);
    std::erase_if(s.Chosen, [&](const auto& c) { return std::find(ids.begin(), ids.end(), c.first) != ids.end(); });
  }
  void UnChooseAll() override
  {
    Log("UnChooseAll");
    Model().Extra<SelectionState>().Chosen.clear();
  }
  void SetCurrentManagerType(txapi::txChooseManagerTypeEnum type) override
  {
    Log("SetCurrentManagerType", type);
    Model().Extra<SelectionState>().ChooseType = int(type);
  }
  txapi::txChooseManagerTypeEnum GetCurrentManagerType() override
  {
    Log("GetCurrentManagerType");
    return txapi::txChooseManagerTypeEnum(Model().Extra<SelectionState>().ChooseType);
  }
};

class TavrixDocument2DFacet final : public Facet<txapi::ITavrixDocument2D>
{
public:
  using Facet::Facet;

  txapi::SmartPtr<txapi::IProcess2D> NewProcess2D(txapi::txProcess2DTypeEnum type) override
  {
    Log("NewProcess2D", type);
    if (HandOutRefused("NewProcess2D")) return {};
    return HandOut<txapi::IProcess2D>(&NewProcess(ModelHost(), Model(), false));
  }

  txapi::SmartPtr<txapi::IDrawingGroup> NewDrawingGroup(bool temporary) override
  {
    Log("NewDrawingGroup", temporary);
    if (HandOutRefused("NewDrawingGroup")) return {};
    return HandOut<txapi::IDrawingGroup>(&txhost::NewDrawingGroup(ModelHost(), Model(), temporary));
  }

  txapi::SmartPtr<txapi::IViewsAndLayersManager> GetViewsAndLayersManager() override
  {
    Log("GetViewsAndLayersManager");
    if (HandOutRefused("GetViewsAndLayersManager")) return {};
    return HandOut<txapi::IViewsAndLayersManager>(&Model());
  }

  void PushPlacement(double x, double y, double angle, double scale) override
  {
    Log("PushPlacement", x, y, angle, scale);
    // Taken out and put back, not copied.
    Value stack = Model().TakeProp("placements");
    if (!stack.is_array()) stack = Value::array();
    stack.push_back(Args(x, y, angle, scale));
    Model().Set("placements", std::move(stack));
  }

  bool PopPlacement() override
  {
    Log("PopPlacement");
    if (!Model().Prop("placements").is_array() || Model().Prop("placements").empty()) return false;
    Value stack = Model().TakeProp("placements");
    stack.erase(stack.size() - 1);
    Model().Set("placements", std::move(stack));
    return true;
  }

  txapi::SmartPtr<txapi::IDrawingObject>
  PointAt(double x, double y, double tolerance, const txapi::SmartPtr<txapi::IDrawingObject>& except) override
  {
    Log("PointAt", x, y, tolerance, except);
    if (HandOutRefused("PointAt")) return {};
    return HandOut<txapi::IDrawingObject>(
        constraints::PointAt(ModelHost(), Model(), x, y, tolerance, Object::From(except.get())));
  }
};

class TavrixDocument3DFacet final : public Facet<txapi::ITavrixDocument3D>
{
public:
  using Facet::Facet;

  txapi::SmartPtr<txapi::IPart> GetTopPart() override
  {
    Log("GetTopPart");
    Host& host = ModelHost();
    if (!host.IsOpen(Model()) || HandOutRefused("GetTopPart")) return {};
    return HandOut<txapi::IPart>(host.TopPart(Model()));
  }

  bool IsEditMode() override
  {
    Log("IsEditMode");
    return InEditMode(Model());
  }

  txapi::SmartPtr<txapi::ITavrixAPIObject> GetEditedPart() override
  {
    Log("GetEditedPart");
    return HandOut<txapi::ITavrixAPIObject>(EditedPart(Model()));
  }

  txapi::SmartPtr<txapi::IProcess3D> NewProcess3D(int mode) override
  {
    Log("NewProcess3D", mode);
    if (HandOutRefused("NewProcess3D")) return {};
    return HandOut<txapi::IProcess3D>(&NewProcess(ModelHost(), Model(), true));
  }

  txapi::SmartPtr<txapi::IMateConstraints3D> GetMateConstraints() override
  {
    Log("GetMateConstraints");
    if (HandOutRefused("GetMateConstraints")) return {};
    return HandOut<txapi::IMateConstraints3D>(&Model());
  }

  bool DeleteObjects(const std::vector<txapi::SmartPtr<txapi::IModelObject>>& objects) override
  {
    Log("DeleteObjects", objects);
    std::vector<Object*> doomed;
    for (const auto& p : objects) {
      Object* o = Object::From(p.get());
      // Nothing is deleted unless every object is a live object of this model other than its top part.
      if (o == nullptr || o->Document() != &Model() || o == ModelHost().TopPart(Model()) || model::Deleted(*o))
        return false;
      doomed.push_back(o);
    }
    // A mate holding anything inside a deleted object has nothing left to hold: it goes with it.
    auto within = [&](const Object* end) {
      for (const Object* p = end; p != nullptr; p = p->Parent())
        if (std::find(doomed.begin(), doomed.end(), p) != doomed.end()) return true;
      return false;
    };
    for (Object* m : model::Mates(ModelHost(), Model()))
      if (within(m->RefProp("first")) || within(m->RefProp("second"))) doomed.push_back(m);
    // A specification entry lets go of what is deleted; one left linked to nothing goes with it, as the
    // bill of materials would otherwise list a component the model no longer has.
    for (Object* e : ModelHost().ObjectsOf(Model())) {
      if (e->Kind() != spec::Entry || model::Deleted(*e)) continue;
      const Value& linked = e->Prop("linked");
      if (!linked.is_array() || linked.empty()) continue;
      Value kept = Value::array();
      for (const Value& l : linked)
        if (!within(ModelHost().Find(RefId(l)))) kept.push_back(l);
      if (kept.size() == linked.size()) continue;
      if (kept.empty()) doomed.push_back(e);
      e->Set("linked", kept);
    }
    for (Object* o : doomed)
      o->Set("deleted", true);
    return true;
  }

  void RebuildModel() override { Log("RebuildModel"); }

  void UpdateModel(bool full) override { Log("UpdateModel", full); }
};

class MateConstraints3DFacet final : public Facet<txapi::IMateConstraints3D>
{
public:
  using Facet::Facet;

  int GetCount() override
  {
    Log("GetCount");
    return int(model::Mates(ModelHost(), Model()).size());
  }

  txapi::SmartPtr<txapi::IMateConstraint3D> GetItem(int index) override
  {
    Log("GetItem", index);
    const auto mates = model::Mates(ModelHost(), Model());
    if (index < 0 || std::size_t(index) >= mates.size()) return {};
    return HandOut<txapi::IMateConstraint3D>(mates[std::size_t(index)]);
  }

  txapi::SmartPtr<txapi::IMateConstraint3D> Add(txapi::MateConstraintType kind) override
  {
    Log("Add", kind);
    if (HandOutRefused("Add")) return {};
    Host& host = ModelHost();
    Object& mate = host.Create(model::Mate, &Model());
    mate.Set("kind", int(kind));
    mate.Set("first", nullptr);
    mate.Set("second", nullptr);
    mate.Set("fixing", 1);
    mate.Set("direction", 0);
    mate.Set("value", 0.0);
    Object& distance = host.Create(model::Variable, &Model(), &mate);
    distance.Set("name", "Расстояние");
    distance.Set("value", 0.0);
    distance.Set("expression", "");
    distance.MarkApplied();
    return HandOut<txapi::IMateConstraint3D>(&mate);
  }

  bool Remove(const txapi::SmartPtr<txapi::IMateConstraint3D>& mate) override
  {
    Log("Remove", mate);
    Object* m = Object::From(mate.get());
    if (m == nullptr || m->Kind() != model::Mate || m->Document() != &Model() || model::Deleted(*m)) return false;
    m->Set("deleted", true);
    return true;
  }
};

class MateConstraint3DFacet final : public Facet<txapi::IMateConstraint3D>
{
public:
  using Facet::Facet;

  txapi::MateConstraintType GetKind() override
  {
    Log("GetKind");
    return txapi::MateConstraintType(Int("kind"));
  }
  void SetFirstObject(const txapi::SmartPtr<txapi::IModelObject>& object) override
  {
    Log("SetFirstObject", object);
    Model().Set("first", RefValue(object.get()));
  }
  txapi::SmartPtr<txapi::IModelObject> GetFirstObject() override
  {
    Log("GetFirstObject");
    return HandOut<txapi::IModelObject>(Model().RefProp("first"));
  }
  void SetSecondObject(const txapi::SmartPtr<txapi::IModelObject>& object) override
  {
    Log("SetSecondObject", object);
    Model().Set("second", RefValue(object.get()));
  }
  txapi::SmartPtr<txapi::IModelObject> GetSecondObject() override
  {
    Log("GetSecondObject");
    return HandOut<txapi::IModelObject>(Model().RefProp("second"));
  }
  void SetFixing(int fixing) override
  {
    Log("SetFixing", fixing);
    Model().Set("fixing", fixing);
  }
  int GetFixing() override
  {
    Log("GetFixing");
    return Int("fixing");
  }
  void SetDirection(int direction) override
  {
    Log("SetDirection", direction);
    Model().Set("direction", direction);
  }
  int GetDirection() override
  {
    Log("GetDirection");
    return Int("direction");
  }
  void SetValue(double value) override
  {
    Log("SetValue", value);
    Model().Set("value", value);
  }
  double GetValue() override
  {
    Log("GetValue");
    const Value& v = Model().Prop("value");
    return v.is_number() ? v.get<double>() : 0.0;
  }
  bool Update() override
  {
    // A mate needs both of its objects.
    if (Model().RefProp("first") == nullptr || Model().RefProp("second") == nullptr) {
      Log("Update");
      return false;
    }
    if (!Model().Update()) return false;
    for (Object* v : model::LiveMembers(Model(), model::Variable))
      if (v->Text("name") == L"Расстояние") v->Set("value", Model().Prop("value"));
    return true;
  }

private:
  int Int(const char* key) const
  {
    const Value& v = Model().Prop(key);
    return v.is_number_integer() ? v.get<int>() : 0;
  }
};

} // namespace

FacetEntry TavrixDocument()
{
  return Offer<TavrixDocumentFacet>("ITavrixDocument");
}
FacetEntry DocumentSaveRecord()
{
  return Offer<DocumentSaveRecordFacet>("IDocumentSaveRecord");
}
FacetEntry TavrixDocument2D()
{
  return Offer<TavrixDocument2DFacet>("ITavrixDocument2D");
}
FacetEntry TavrixDocument3D()
{
  return Offer<TavrixDocument3DFacet>("ITavrixDocument3D");
}
FacetEntry SelectionManager()
{
  return Offer<SelectionManagerFacet>("ISelectionManager");
}
FacetEntry ChooseManager()
{
  return Offer<ChooseManagerFacet>("IChooseManager");
}
FacetEntry MateConstraints3D()
{
  return Offer<MateConstraints3DFacet>("IMateConstraints3D");
}
FacetEntry MateConstraint3D()
{
  return Offer<MateConstraint3DFacet>("IMateConstraint3D");
}

} // namespace txhost::facets
