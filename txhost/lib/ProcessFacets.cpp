// Facets of processes, their panels, phantoms and frames.

#include "txapi/IEvents.h"
#include "txapi/IManipulator.h"
#include "txapi/IMateConstraints3D.h"
#include "txapi/IPart.h"
#include "txapi/IPlacement3D.h"
#include "txapi/IProcess.h"
#include "txapi/IProgressBar.h"
#include "txapi/IPropertyControl.h"
#include "txapi/IPropertyPanel.h"
#include "txhost/lib/Blocks.h"
#include "txhost/lib/DocumentFile.h"
#include "txhost/lib/Drawing2D.h"
#include "txhost/lib/Events.h"
#include "txhost/lib/Facets.h"
#include "txhost/lib/FrameView.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Kinds.h"
#include "txhost/lib/Model.h"
#include "txhost/lib/Text.h"

#include <filesystem>

namespace txhost {

namespace {

struct EditState
{
  Object* Part = nullptr;
  bool On = false;
};

struct FrameHolder
{
  Object* Frame = nullptr;
};

// The object a reference property names, made (with kind, as a member) on first use.
Object& Child(Object& owner, std::string_view prop, std::string_view kind)
{
  if (Object* o = owner.RefProp(prop)) return *o;
  Object& o = owner.GetHost().Create(kind, nullptr, &owner);
  owner.Set(prop, RefValue(&o));
  return o;
}

} // namespace

Object& NewProcessParam(Host& host)
{
  return host.Create("process-param");
}

Object& DocumentFrame(Host& host, Object& document)
{
  auto& h = document.Extra<FrameHolder>();
  if (h.Frame == nullptr) h.Frame = &host.Create("frame", nullptr, &document);
  return *h.Frame;
}

Object& NewProcess(Host& host, Object& document, bool is3D)
{
  Object& p = host.Create(is3D ? "process-3d" : "process-2d", nullptr, &document);
  p.Set("document", RefValue(&document));
  return p;
}

Object& NewDrawingGroup(Host& host, Object& document, bool temporary)
{
  Object& g = host.Create("drawing-group", nullptr, &document);
  g.Set("temporary", temporary);
  return g;
}

void SetEditedPart(Object& document, Object* part)
{
  document.Extra<EditState>() = {part, part != nullptr};
}
bool InEditMode(Object& document)
{
  return document.Extra<EditState>().On;
}
Object* EditedPart(Object& document)
{
  return document.Extra<EditState>().Part;
}

Object* ProcessParamOf(Object& process)
{
  return process.RefProp("param");
}
Object* FrameOf(Object& process)
{
  Object* document = process.RefProp("document");
  return document == nullptr ? nullptr : &DocumentFrame(process.GetHost(), *document);
}
Object* ManipulatorsOf(Object& process)
{
  return process.RefProp("manipulators");
}

namespace facets {

namespace {

class ProcessFacet final : public Facet<txapi::IProcess>
{
public:
  using Facet::Facet;

  void SetParam(const txapi::SmartPtr<txapi::IProcessParam>& param) override
  {
    Log("SetParam", param);
    Model().Set("param", RefValue(param.get()));
  }
  void SetPrompt(const std::wstring& text) override
  {
    Log("SetPrompt", text);
    Model().Set("prompt", ToUtf8(text));
  }
  void SetFlag(bool value) override
  {
    Log("SetFlag", value);
    Model().Set("flag", value);
  }

  // The modal loop: plays the host's script until the process is stopped or the script runs out. The
  // answer is 1 when the process was stopped, 0 when the user left it.
  int Run(bool modal, bool postMessage) override
  {
    Log("Run", modal, postMessage);
    ProcessState& st = Model().Extra<ProcessState>();
    if (st.Running) return 0; // one modal loop per process
    st.Running = true;
    st.Stopped = false;
    ++st.Runs;
    EventScript& script = EventScript::Of(ModelHost());
    Object& self = Model();
    while (!st.Stopped) {
      ScriptStep step = script.Next();
      if (!step) break;
      try {
        step(self);
      } catch (...) {
        st.Running = false;
        Ended(self);
        throw;
      }
    }
    st.Running = false;
    Ended(self);
    return st.Stopped ? 1 : 0;
  }
  void Stop() override
  {
    Log("Stop");
    Model().Extra<ProcessState>().Stopped = true;
  }
  void End() override { Log("End"); }

private:
  // What the process's temporary groups hold goes with it.
  static void Ended(Object& process)
  {
    if (Object* document = process.RefProp("document")) DropTemporaryGroups(*document);
  }
};

class Process3DFacet final : public Facet<txapi::IProcess3D>
{
public:
  using Facet::Facet;

  txapi::SmartPtr<txapi::IProcess3DEvents> GetEvents() override
  {
    Log("GetEvents");
    if (HandOutRefused("GetEvents")) return {};
    return HandOut<txapi::IProcess3DEvents>(&Model());
  }
  txapi::SmartPtr<txapi::IManipulators> GetManipulators() override
  {
    Log("GetManipulators");
    if (HandOutRefused("GetManipulators")) return {};
    return HandOut<txapi::IManipulators>(&Child(Model(), "manipulators", "manipulators"));
  }
  txapi::SmartPtr<txapi::IPart> LoadPhantom(const std::wstring& fileName) override
  {
    Log("LoadPhantom", fileName);
    std::error_code ec;
    if (HandOutRefused("LoadPhantom") || !std::filesystem::is_regular_file(ToPath(fileName), ec)) return {};
    // The phantom is the file's top part, read as a document of its own outside the host's list: the
    // preview never touches the user's model. A file that is no part document gives none.
    Host& host = ModelHost();
    std::string error;
    Object* source = ReadDocumentFile(host, host.Resolve(ToPath(fileName)), error);
    Object* part = source != nullptr ? host.TopPart(*source) : nullptr;
    if (part == nullptr) return {};
    part->Set("path", ToUtf8(fileName));
    Model().Set("phantom", RefValue(part));
    host.SetSourceOwner(*source, Model());
    return HandOut<txapi::IPart>(part);
  }
  void SetPhantomObject(const txapi::SmartPtr<txapi::IModelObject>& object) override
  {
    Log("SetPhantomObject", object);
    Model().Set("phantom", RefValue(object.get()));
  }
  txapi::SmartPtr<txapi::IModelObject> GetPhantomObject() override
  {
    Log("GetPhantomObject");
    return HandOut<txapi::IModelObject>(Model().RefProp("phantom"));
  }
  txapi::SmartPtr<txapi::IMateConstraints3D> GetMateConstraints() override
  {
    Log("GetMateConstraints");
    if (HandOutRefused("GetMateConstraints")) return {};
    return HandOut<txapi::IMateConstraints3D>(&Child(Model(), "mates", "process-mates"));
  }
  // Empty slots are kept as null, so that the slot of each pick stays visible.
  void SetSelectedObjects(const std::vector<txapi::SmartPtr<txapi::IModelObject>>& objects) override
  {
    Log("SetSelectedObjects", objects);
    Value list = Value::array();
    for (const auto& o : objects)
      list.push_back(RefValue(Object::From(o.get())));
    Model().Set("selected", list);
  }
  // The process's "placement" (16 doubles, as a part's), the identity until a test sets one.
  txapi::SmartPtr<txapi::IPlacement3D> GetPlacement() override
  {
    Log("GetPlacement");
    if (HandOutRefused("GetPlacement")) return {};
    Object& p = ModelHost().Create(model::Placement);
    const Value& m = Model().Prop("placement");
    Value identity = Value::array();
    for (int i = 0; i < 16; ++i)
      identity.push_back(i % 5 == 0 ? 1.0 : 0.0);
    p.Set("matrix", m.is_array() && m.size() == 16 ? m : identity);
    p.MarkApplied();
    return HandOut<txapi::IPlacement3D>(&p);
  }
};

class Process2DFacet final : public Facet<txapi::IProcess2D>
{
public:
  using Facet::Facet;

  txapi::SmartPtr<txapi::IPhantom2D> GetPhantom() override
  {
    Log("GetPhantom");
    if (HandOutRefused("GetPhantom")) return {};
    return HandOut<txapi::IPhantom2D>(&Child(Model(), "phantom", "phantom-2d"));
  }
  txapi::SmartPtr<txapi::IProcess2DEvents> GetEvents() override
  {
    Log("GetEvents");
    if (HandOutRefused("GetEvents")) return {};
    return HandOut<txapi::IProcess2DEvents>(&Model());
  }
};

class ManipulatorsFacet final : public Facet<txapi::IManipulators>
{
public:
  using Facet::Facet;

  txapi::SmartPtr<txapi::IProcess3DManipulatorsEvents> GetEvents() override
  {
    Log("GetEvents");
    if (HandOutRefused("GetEvents")) return {};
    return HandOut<txapi::IProcess3DManipulatorsEvents>(&Model());
  }
  txapi::SmartPtr<txapi::IBaseManipulator> Add(int kind) override
  {
    Log("Add", kind);
    return AddManipulator(Model(), kind);
  }
};

class Phantom2DFacet final : public Facet<txapi::IPhantom2D>
{
public:
  using Facet::Facet;

  void SetType(txapi::txPhantomTypeEnum type) override
  {
    Log("SetType", type);
    Model().Set("type", int(type));
  }
  void SetGroup(const txapi::SmartPtr<txapi::IDrawingGroup>& group) override
  {
    Log("SetGroup", group);
    Model().Set("group", RefValue(group.get()));
  }
  void Update() override { Log("Update"); }
};

class DrawingGroupFacet final : public Facet<txapi::IDrawingGroup>
{
public:
  using Facet::Facet;

  bool Open(int mode) override
  {
    Log("Open", mode);
    model2d::OpenGroup(Model(), true);
    return true;
  }
  bool Reset() override
  {
    Log("Reset");
    model2d::ResetGroup(Model());
    return true;
  }
  bool Close() override
  {
    Log("Close");
    model2d::OpenGroup(Model(), false);
    return true;
  }
};

class DocumentFrameFacet final : public Facet<txapi::IDocumentFrame>
{
public:
  using Facet::Facet;

  txapi::SmartPtr<txapi::IDocumentFrameEvents> GetEvents() override
  {
    Log("GetEvents");
    if (HandOutRefused("GetEvents")) return {};
    return HandOut<txapi::IDocumentFrameEvents>(&Model());
  }
  void Invalidate() override { Log("Invalidate"); }
  void RefreshWindow() override { Log("RefreshWindow"); }
  void GetViewport(int& x0, int& y0, int& width, int& height) override
  {
    Log("GetViewport");
    const FrameView& v = ViewOf(Model());
    x0 = v.X0;
    y0 = v.Y0;
    width = v.Width;
    height = v.Height;
  }
  bool ConvertCoord(txapi::ConvertCoordTypeEnum kind, double x, double y, double z, int& px, int& py) override
  {
    Log("ConvertCoord", kind, x, y, z);
    return ProjectPoint(ViewOf(Model()), kind, x, y, z, px, py);
  }
};

class ProgressBarFacet final : public Facet<txapi::IProgressBar>
{
public:
  using Facet::Facet;

  void Start(int low, int high) override
  {
    Log("Start", low, high);
    Model().Set("position", low);
  }
  void SetPosition(int position) override
  {
    Log("SetPosition", position);
    Model().Set("position", position);
  }
  void Stop() override { Log("Stop"); }
};

class ProcessParamFacet final : public Facet<txapi::IProcessParam>
{
public:
  using Facet::Facet;

  void SetCaption(const std::wstring& caption) override
  {
    Log("SetCaption", caption);
    Model().Set("caption", ToUtf8(caption));
  }
  void SetFlag(bool value) override
  {
    Log("SetFlag", value);
    Model().Set("flag", value);
  }
  void SetToolBar(txapi::SpecPropertyToolBarEnum kind) override
  {
    Log("SetToolBar", kind);
    Model().Set("toolBar", int(kind));
  }
  void AddButton(int id, int image, const std::wstring& tip, const std::wstring& font) override
  {
    Log("AddButton", id, image, tip, font);
  }
  txapi::SmartPtr<txapi::IPropertyTabs> GetTabs() override
  {
    Log("GetTabs");
    if (HandOutRefused("GetTabs")) return {};
    return HandOut<txapi::IPropertyTabs>(&Child(Model(), "tabs", "property-tabs"));
  }
  txapi::SmartPtr<txapi::IPropertiesManagerEvents> GetEvents() override
  {
    Log("GetEvents");
    if (HandOutRefused("GetEvents")) return {};
    return HandOut<txapi::IPropertiesManagerEvents>(&Model());
  }
};

class PropertyTabsFacet final : public Facet<txapi::IPropertyTabs>
{
public:
  using Facet::Facet;

  void SetHeaderVisible(bool visible) override
  {
    Log("SetHeaderVisible", visible);
    Model().Set("headerVisible", visible);
  }
  void SetHeaderCaption(const std::wstring& caption) override
  {
    Log("SetHeaderCaption", caption);
    Model().Set("caption", ToUtf8(caption));
  }
  txapi::SmartPtr<txapi::IPropertyTab> Add(const std::wstring& caption) override
  {
    Log("Add", caption);
    if (HandOutRefused("Add")) return {};
    Object& tab = ModelHost().Create("property-tab", nullptr, &Model());
    tab.Set("caption", ToUtf8(caption));
    Model().AddMember(&tab);
    return HandOut<txapi::IPropertyTab>(&tab);
  }
  txapi::SmartPtr<txapi::IPropertyTab> GetItem(int index) override
  {
    Log("GetItem", index);
    const auto& tabs = Model().Members();
    if (index < 0 || std::size_t(index) >= tabs.size()) return {};
    return HandOut<txapi::IPropertyTab>(tabs[std::size_t(index)]);
  }
  int GetCount() override
  {
    Log("GetCount");
    return int(Model().Members().size());
  }
};

class PropertyTabFacet final : public Facet<txapi::IPropertyTab>
{
public:
  using Facet::Facet;

  void SetVisible(bool visible) override
  {
    Log("SetVisible", visible);
    Model().Set("visible", visible);
  }
  bool GetVisible() override
  {
    Log("GetVisible");
    return Model().Prop("visible").is_boolean() && Model().Prop("visible").get<bool>();
  }
  void SetExpanded(bool value) override
  {
    Log("SetExpanded", value);
    Model().Set("expanded", value);
  }
  txapi::SmartPtr<txapi::IPropertyControls> GetControls() override
  {
    Log("GetControls");
    if (HandOutRefused("GetControls")) return {};
    return HandOut<txapi::IPropertyControls>(&Child(Model(), "controls", "property-controls"));
  }
};

} // namespace

FacetEntry Process()
{
  return Offer<ProcessFacet>("IProcess");
}
FacetEntry Process3D()
{
  return Offer<Process3DFacet>("IProcess3D");
}
FacetEntry Process2D()
{
  return Offer<Process2DFacet>("IProcess2D");
}
FacetEntry Manipulators()
{
  return Offer<ManipulatorsFacet>("IManipulators");
}
FacetEntry Phantom2D()
{
  return Offer<Phantom2DFacet>("IPhantom2D");
}
FacetEntry DrawingGroup()
{
  return Offer<DrawingGroupFacet>("IDrawingGroup");
}
FacetEntry DocumentFrame()
{
  return Offer<DocumentFrameFacet>("IDocumentFrame");
}
FacetEntry ProgressBar()
{
  return Offer<ProgressBarFacet>("IProgressBar");
}
FacetEntry ProcessParam()
{
  return Offer<ProcessParamFacet>("IProcessParam");
}
FacetEntry PropertyTabs()
{
  return Offer<PropertyTabsFacet>("IPropertyTabs");
}
FacetEntry PropertyTab()
{
  return Offer<PropertyTabFacet>("IPropertyTab");
}

} // namespace facets

} // namespace txhost
