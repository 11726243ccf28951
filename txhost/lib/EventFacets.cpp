// Facets of the host's event sources and of the plain objects events carry.

#include "txapi/IEvents.h"
#include "txapi/IModelObject.h"
#include "txapi/ITavrixDocument.h"
#include "txapi/IPropertyControl.h"
#include "txhost/lib/Events.h"
#include "txhost/lib/Facets.h"
#include "txhost/lib/Host.h"

#include <algorithm>

namespace txhost {

void Subscribe(Object& source, const std::wstring& key, std::string_view event, std::any callback)
{
  auto& s = source.Extra<EventSubscriptions>();
  s.List.push_back({s.NextSerial++, key, std::string(event), std::move(callback)});
}

void Unsubscribe(Object& source, const std::wstring& key)
{
  auto* s = source.FindExtra<EventSubscriptions>();
  if (s == nullptr) return;
  auto& list = s->List;
  list.erase(std::remove_if(list.begin(), list.end(), [&](const Subscription& s) { return s.Key == key; }),
             list.end());
}

int SubscriptionCount(Object& source, std::wstring_view key)
{
  const auto* s = source.FindExtra<EventSubscriptions>();
  if (s == nullptr) return 0;
  const auto& list = s->List;
  return int(std::count_if(list.begin(), list.end(),
                           [&](const Subscription& s) { return key.empty() || s.Key == key; }));
}

std::vector<std::wstring> SubscriptionKeys(Object& source)
{
  std::vector<std::wstring> keys;
  const auto* list = source.FindExtra<EventSubscriptions>();
  if (list == nullptr) return keys;
  for (const Subscription& s : list->List)
    if (std::find(keys.begin(), keys.end(), s.Key) == keys.end()) keys.push_back(s.Key);
  return keys;
}

int TotalSubscriptions(Host& host, std::wstring_view key)
{
  int n = 0;
  for (Object* o : host.Objects())
    n += SubscriptionCount(*o, key);
  return n;
}

int DropSubscriptions(Host& host)
{
  int n = 0;
  for (Object* o : host.Objects()) {
    n += SubscriptionCount(*o);
    if (auto* s = o->FindExtra<EventSubscriptions>()) s->List.clear();
  }
  return n;
}

Object& PassThrough(Host& host, std::string_view kind)
{
  return host.Create(kind);
}

namespace facets {

namespace {

// The one unsubscribe of every source, and the filing of a subscription.
template <class I> class SourceFacet : public Facet<I>
{
public:
  using Facet<I>::Facet;

  void Unsubscribe(const std::wstring& key) override
  {
    this->Log("Unsubscribe", key);
    txhost::Unsubscribe(this->Model(), key);
  }

protected:
  template <class F> void Sub(const std::wstring& key, std::string_view event, F f)
  {
    this->Log("Subscribe" + std::string(event), key);
    txhost::Subscribe(this->Model(), key, event, std::any(std::move(f)));
  }
};

#define TXHOST_EVENT(Name, ...)                                                                              \
  void Subscribe##Name(const std::wstring& key, __VA_ARGS__ f) override { Sub(key, #Name, std::move(f)); }

using txapi::SmartPtr;

class FrameEventsFacet final : public SourceFacet<txapi::IDocumentFrameEvents>
{
public:
  using SourceFacet::SourceFacet;
  TXHOST_EVENT(BeginPaint, std::function<bool(const SmartPtr<txapi::IPaintObject>&)>)
  TXHOST_EVENT(ClosePaint, std::function<void(const SmartPtr<txapi::IPaintObject>&)>)
  TXHOST_EVENT(MouseDown, txapi::MouseCallback)
  TXHOST_EVENT(MouseUp, txapi::MouseCallback)
  TXHOST_EVENT(MouseDblClick, txapi::MouseCallback)
  TXHOST_EVENT(MouseMove, txapi::MouseCallback)
  TXHOST_EVENT(BeginPaintGl, std::function<bool(unsigned, const SmartPtr<txapi::IOpenGLObject>&)>)
  TXHOST_EVENT(ClosePaintGl, std::function<void(unsigned, const SmartPtr<txapi::IOpenGLObject>&)>)
  TXHOST_EVENT(AddGabarit, std::function<void(const SmartPtr<txapi::IGabaritObject>&)>)
  TXHOST_EVENT(Activate, std::function<void()>)
  TXHOST_EVENT(Deactivate, std::function<void()>)
  TXHOST_EVENT(Close, std::function<void()>)
  TXHOST_EVENT(BeginPaintTmpObjects, std::function<bool()>)
  TXHOST_EVENT(ClosePaintTmpObjects, std::function<void()>)
};

class ManipulatorsEventsFacet final : public SourceFacet<txapi::IProcess3DManipulatorsEvents>
{
public:
  using SourceFacet::SourceFacet;
  TXHOST_EVENT(MoveManipulator, std::function<bool(int, double, double, double, double, bool)>)
  TXHOST_EVENT(RotateManipulator,
               std::function<bool(int, double, double, double, double, double, double, double, bool)>)
  TXHOST_EVENT(ClickManipulatorPrimitive, std::function<bool(int, txapi::txManipulatorPrimitiveEnum, bool)>)
  TXHOST_EVENT(BeginDragManipulator, txapi::ManipulatorCallback)
  TXHOST_EVENT(EndDragManipulator, txapi::ManipulatorCallback)
  TXHOST_EVENT(CreateManipulatorEdit, txapi::ManipulatorCallback)
  TXHOST_EVENT(ChangeManipulatorValue, std::function<bool(int, txapi::txManipulatorPrimitiveEnum, double)>)
  TXHOST_EVENT(DestroyManipulatorEdit, std::function<bool(int)>)
};

class Process3DEventsFacet final : public SourceFacet<txapi::IProcess3DEvents>
{
public:
  using SourceFacet::SourceFacet;
  TXHOST_EVENT(PlacementChanged, txapi::ObjectCallback)
  TXHOST_EVENT(FilterObjects, txapi::ObjectCallback)
  TXHOST_EVENT(ExecuteCommand, std::function<bool(int)>)
  TXHOST_EVENT(Run, std::function<bool()>)
  TXHOST_EVENT(Stop, std::function<bool()>)
  TXHOST_EVENT(Activate, std::function<bool()>)
  TXHOST_EVENT(Deactivate, std::function<bool()>)
  TXHOST_EVENT(EndProcess, std::function<bool()>)
  TXHOST_EVENT(CreateTakeObject, std::function<bool(const SmartPtr<txapi::IModelObject>&)>)
  TXHOST_EVENT(ProcessingGroupObjects,
               std::function<bool(const std::vector<SmartPtr<txapi::ITavrixAPIObject>>&, int)>)
  TXHOST_EVENT(AbortProcess, std::function<bool()>)
};

class Process2DEventsFacet final : public SourceFacet<txapi::IProcess2DEvents>
{
public:
  using SourceFacet::SourceFacet;
  TXHOST_EVENT(PlacementChanged, std::function<bool(double, double, double, bool)>)
  TXHOST_EVENT(ExecuteCommand, std::function<bool(int)>)
  TXHOST_EVENT(Run, std::function<bool()>)
  TXHOST_EVENT(Stop, std::function<bool()>)
  TXHOST_EVENT(Activate, std::function<bool()>)
  TXHOST_EVENT(Deactivate, std::function<bool()>)
  TXHOST_EVENT(EndProcess, std::function<bool()>)
  TXHOST_EVENT(GetMouseEnterLeavePoint,
               std::function<bool(const SmartPtr<txapi::IPropertyControl>&, int, int,
                                  SmartPtr<txapi::IMouseEnterLeaveParameters>&)>)
  TXHOST_EVENT(AbortProcess, std::function<bool()>)
};

class PropertiesManagerEventsFacet final : public SourceFacet<txapi::IPropertiesManagerEvents>
{
public:
  using SourceFacet::SourceFacet;
  TXHOST_EVENT(ButtonClick, std::function<bool(int)>)
  TXHOST_EVENT(ChangeControlValue, txapi::ControlCallback)
  TXHOST_EVENT(ControlCommand, txapi::ControlIntCallback)
  TXHOST_EVENT(ButtonUpdate, std::function<bool(int, bool&, int&)>)
  TXHOST_EVENT(ProcessActivate, std::function<void()>)
  TXHOST_EVENT(ProcessDeactivate, std::function<void()>)
  TXHOST_EVENT(SelectItem, txapi::ControlIntBoolCallback)
  TXHOST_EVENT(CheckItem, txapi::ControlIntBoolCallback)
  TXHOST_EVENT(SelectCell, std::function<void(const SmartPtr<txapi::IPropertyControl>&, int, int)>)
  TXHOST_EVENT(EditFocus, std::function<void(const SmartPtr<txapi::IPropertyControl>&, bool)>)
  TXHOST_EVENT(UserMenuCommand, txapi::ControlIntCallback)
  TXHOST_EVENT(GetContextMenuType, std::function<int(int, int, int)>)
  TXHOST_EVENT(FillContextPanel, std::function<void(const SmartPtr<txapi::IProcessContextPanel>&)>)
  TXHOST_EVENT(FillContextIconMenu, std::function<void(const SmartPtr<txapi::IProcessContextIconMenu>&)>)
  TXHOST_EVENT(EndEditItem, txapi::ControlIntCallback)
  TXHOST_EVENT(ChangeTabExpanded, std::function<void(int)>)
  TXHOST_EVENT(DoubleClickItem, txapi::ControlIntCallback)
};

class ApplicationEventsFacet final : public SourceFacet<txapi::IApplicationEvents>
{
public:
  using SourceFacet::SourceFacet;
  TXHOST_EVENT(BeginCreate, std::function<bool(txapi::DocumentTypeEnum)>)
  TXHOST_EVENT(CreateDocument, txapi::DocumentCallback)
  TXHOST_EVENT(BeginOpenDocument, std::function<bool(const std::wstring&)>)
  TXHOST_EVENT(OpenDocument, txapi::DocumentCallback)
  TXHOST_EVENT(BeginOpenFile, std::function<bool()>)
  TXHOST_EVENT(BeginDragOpenFiles, std::function<bool(std::vector<std::wstring>&, bool)>)
  TXHOST_EVENT(BeginRequestFiles, std::function<bool(txapi::txRequestFilesTypeEnum, std::vector<std::wstring>&)>)
  TXHOST_EVENT(ChangeActiveDocument, txapi::DocumentCallback)
  TXHOST_EVENT(ApplicationDestroy, std::function<void()>)
  TXHOST_EVENT(BeginCloseAllDocument, std::function<bool()>)
  TXHOST_EVENT(KeyDown, txapi::KeyCallback)
  TXHOST_EVENT(KeyUp, txapi::KeyCallback)
  TXHOST_EVENT(KeyPressed, txapi::KeyCallback)
  TXHOST_EVENT(BeginChoiceMaterial, std::function<bool(txapi::txMaterialPropertyTypeEnum)>)
  TXHOST_EVENT(ChoiceMaterial, std::function<void(txapi::txMaterialPropertyTypeEnum, const std::wstring&, double)>)
  TXHOST_EVENT(IsNeedConvertToSavePrevious,
               std::function<bool(const SmartPtr<txapi::ITavrixDocument>&, txapi::txSaveDocumentVersionEnum,
                                  const SmartPtr<txapi::ISaveToPreviousParam>&, bool&)>)
  TXHOST_EVENT(BeginConvertToSavePrevious, txapi::SavePreviousCallback)
  TXHOST_EVENT(EndConvertToSavePrevious, txapi::SavePreviousCallback)
  TXHOST_EVENT(ChangeTheme, std::function<bool(txapi::txThemeEnum)>)
};

#undef TXHOST_EVENT

// The plain objects that events carry.
template <class I> class PlainFacet final : public Facet<I>
{
public:
  using Facet<I>::Facet;
};

// The keys held during an event: the properties "drag", "mode-switch" and "pick" of the object, none when
// unset.
class PressedKeysFacet final : public Facet<txapi::IPressedKeys>
{
public:
  using Facet::Facet;

  bool GetDrag() override { return Held("GetDrag", "drag"); }
  bool GetModeSwitch() override { return Held("GetModeSwitch", "mode-switch"); }
  bool GetPick() override { return Held("GetPick", "pick"); }

private:
  bool Held(std::string_view op, std::string_view key)
  {
    Log(op);
    return Model().Prop(key) == true;
  }
};

} // namespace

FacetEntry DocumentFrameEvents()
{
  return Offer<FrameEventsFacet>("IDocumentFrameEvents");
}
FacetEntry Process3DManipulatorsEvents()
{
  return Offer<ManipulatorsEventsFacet>("IProcess3DManipulatorsEvents");
}
FacetEntry Process3DEvents()
{
  return Offer<Process3DEventsFacet>("IProcess3DEvents");
}
FacetEntry Process2DEvents()
{
  return Offer<Process2DEventsFacet>("IProcess2DEvents");
}
FacetEntry PropertiesManagerEvents()
{
  return Offer<PropertiesManagerEventsFacet>("IPropertiesManagerEvents");
}
FacetEntry ApplicationEvents()
{
  return Offer<ApplicationEventsFacet>("IApplicationEvents");
}
FacetEntry PressedKeys()
{
  return Offer<PressedKeysFacet>("IPressedKeys");
}
FacetEntry OpenGLObject()
{
  return Offer<PlainFacet<txapi::IOpenGLObject>>("IOpenGLObject");
}
FacetEntry PaintObject()
{
  return Offer<PlainFacet<txapi::IPaintObject>>("IPaintObject");
}

} // namespace facets

} // namespace txhost
