// Facets of edited blocks: the macro object under edit, a macro object's content replaced, temporary
// groups kept, and position leaders made by the document.

#include "txhost/lib/Blocks.h"

#include "txapi/Enums.h"
#include "txapi/IDocument2DEdit.h"
#include "txapi/IDrawingObject.h"
#include "txapi/IMacroContent.h"
#include "txapi/IMacroObject.h"
#include "txapi/ITavrixAPIObject.h"
#include "txapi/ITemporaryGroup.h"
#include "txhost/lib/Drawing2D.h"
#include "txhost/lib/Events.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Model.h"

namespace txhost {

namespace {

bool IsGroup(const Object& o)
{
  return o.Kind() == model2d::Group;
}

// The live objects of the document that a group holds.
std::vector<Object*> HeldBy(const Object& group)
{
  std::vector<Object*> out = model2d::GroupMembers(group);
  std::erase_if(out, [&group](const Object* o) { return o == &group || model::Deleted(*o); });
  return out;
}

} // namespace

void DropTemporaryGroups(Object& document)
{
  for (Object* g : model::LiveMembers(document, model2d::Group))
    if (g->Prop("temporary") == true && g->Prop("kept") != true) model2d::ResetGroup(*g);
}

namespace facets {

namespace {

class MacroContentFacet final : public Facet<txapi::IMacroContent>
{
public:
  using Facet::Facet;

  bool SetContent(const std::vector<txapi::SmartPtr<txapi::ITavrixAPIObject>>& objects) override
  {
    Log("SetContent", int(objects.size()));
    std::vector<Object*> content;
    for (const auto& p : objects) {
      Object* o = Object::From(p.get());
      if (o == nullptr || model::Deleted(*o) || o == &Model()) continue;
      if (!IsGroup(*o)) {
        content.push_back(o);
        continue;
      }
      for (Object* held : HeldBy(*o))
        content.push_back(held);
    }
    if (content.empty()) return false;
    Object& macro = Model();
    for (Object* old : model::LiveMembers(macro))
      model::DeleteWithMembers(*old);
    for (Object* o : content) {
      if (Object* from = o->Parent()) from->RemoveMember(o);
      o->SetParent(&macro);
      macro.AddMember(o);
      o->Set("group", nullptr);
    }
    return true;
  }
};

class TemporaryGroupFacet final : public Facet<txapi::ITemporaryGroup>
{
public:
  using Facet::Facet;

  bool Keep() override
  {
    Log("Keep");
    Model().Set("kept", true);
    return true;
  }
};

class Document2DEditFacet final : public Facet<txapi::IDocument2DEdit>
{
public:
  using Facet::Facet;

  txapi::SmartPtr<txapi::IMacroObject> GetEditedMacro() override
  {
    Log("GetEditedMacro");
    if (HandOutRefused("GetEditedMacro")) return {};
    Object* edited = EditedPart(Model());
    const bool block = edited != nullptr && edited->Kind() == model2d::Macro && !model::Deleted(*edited);
    return HandOut<txapi::IMacroObject>(block ? edited : nullptr);
  }
  txapi::SmartPtr<txapi::IDrawingObject> NewObject(int type) override
  {
    Log("NewObject", type);
    if (HandOutRefused("NewObject") || type != txapi::txDrLeader) return {};
    const std::vector<Object*> views = model::LiveMembers(Model(), model::View);
    if (views.empty()) return {};
    Object* leader = model2d::NewDrawingObject(ModelHost(), *views.front(), model2d::Leader);
    if (leader != nullptr) leader->Set("position", true);
    return HandOut<txapi::IDrawingObject>(leader);
  }
};

} // namespace

FacetEntry MacroContent()
{
  return Offer<MacroContentFacet>("IMacroContent");
}
FacetEntry TemporaryGroup()
{
  return Offer<TemporaryGroupFacet>("ITemporaryGroup");
}
FacetEntry Document2DEdit()
{
  return Offer<Document2DEditFacet>("IDocument2DEdit");
}

} // namespace facets

} // namespace txhost
