// The host's event script: what a user does while a process runs, played by the process's modal Run.

#include "txapi/IEvents.h"
#include "txapi/IPropertyControl.h"
#include "txhost/lib/Events.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Model.h"
#include "txhost/lib/Text.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace txhost {

namespace {

template <class I> txapi::SmartPtr<I> InterfaceOf(Object* o)
{
  if (o == nullptr) return {};
  return txapi::SmartPtr<I>::Attach(static_cast<I*>(o->QueryInterface(I::IID)));
}

bool ParseInt(const std::string& s, int& v)
{
  const char* end = s.data() + s.size();
  auto [p, ec] = std::from_chars(s.data(), end, v);
  return ec == std::errc() && p == end;
}

// A finite number only: a host hands out no infinity or NaN, and none could be saved.
bool ParseReal(const std::string& s, double& v)
{
  if (s.empty()) return false;
  char* end = nullptr;
  v = std::strtod(s.c_str(), &end);
  return end == s.c_str() + s.size() && std::isfinite(v);
}

// "[N]": entry N (from 0) of a list, the explicit form of an index.
bool ParseIndex(const std::string& s, int& i)
{
  return s.size() > 2 && s.front() == '[' && s.back() == ']' && ParseInt(s.substr(1, s.size() - 2), i) &&
         i >= 0;
}

// Whether a list entry is the value typed: the same text, or the same number however it is written
// ("16" is the entry "  16.00").
bool SameEntry(const Value& item, const std::string& value)
{
  if (item.is_string() && item.get_ref<const std::string&>() == value) return true;
  double want = 0.0, have = 0.0;
  if (!ParseReal(value, want)) return false;
  if (item.is_number()) return item.get<double>() == want;
  if (!item.is_string()) return false;
  std::string text = item.get<std::string>();
  const auto first = text.find_first_not_of(' '), last = text.find_last_not_of(' ');
  if (first == std::string::npos) return false;
  return ParseReal(text.substr(first, last - first + 1), have) && have == want;
}

// The step's bool answers are kept for the caller.
template <class F, class... A> void FireInto(EventScript& script, Object* source, std::string_view event, A&&... args)
{
  if (source == nullptr) return;
  if constexpr (std::is_same_v<typename F::result_type, bool>) {
    for (bool a : Fire<F>(*source, event, args...))
      script.LastAnswers.push_back(a);
  } else {
    Fire<F>(*source, event, args...);
  }
}

} // namespace

EventScript& EventScript::Of(Host& host)
{
  return host.ApplicationObject().Extra<EventScript>();
}

ScriptStep EventScript::Next()
{
  if (Steps.empty()) return {};
  ScriptStep s = std::move(Steps.front());
  Steps.pop_front();
  LastAnswers.clear();
  return s;
}

Object* FindControl(Object& param, const std::wstring& caption)
{
  std::wstring name = caption;
  int coordinate = -1;
  if (auto hash = name.rfind(L'#'); hash != std::wstring::npos && hash + 2 == name.size() &&
                                    name[hash + 1] >= L'0' && name[hash + 1] <= L'2') {
    coordinate = name[hash + 1] - L'0';
    name.resize(hash);
  }
  // "CAPTION@N": the N-th control (from 1) of that caption, for panels that give two controls one caption.
  int ordinal = 1;
  if (auto at = name.rfind(L'@'); at != std::wstring::npos && at + 1 < name.size() && name.size() - at <= 4 &&
                                  name.find_first_not_of(L"0123456789", at + 1) == std::wstring::npos) {
    ordinal = std::stoi(name.substr(at + 1));
    if (ordinal < 1) return nullptr;
    name.resize(at);
  }
  Object* tabs = param.RefProp("tabs");
  if (tabs == nullptr) return nullptr;
  for (Object* tab : tabs->Members()) {
    Object* controls = tab->RefProp("controls");
    if (controls == nullptr) continue;
    for (Object* c : controls->Members()) {
      if (c->Text("caption") != name || --ordinal > 0) continue;
      if (coordinate < 0) return c;
      if (std::size_t(coordinate) < c->Members().size()) return c->Members()[std::size_t(coordinate)];
    }
  }
  return nullptr;
}

bool SetControlValue(Object& c, const std::string& value)
{
  const int kind = c.Prop("kind").is_number_integer() ? c.Prop("kind").get<int>() : 0;
  int i = 0;
  double r = 0.0;
  switch (kind) {
  case txapi::txControlEditInt:
  case txapi::txControlSpinInt:
    if (!ParseInt(value, i)) return false;
    c.Set("intValue", i);
    return true;
  case txapi::txControlEditReal:
    if (!ParseReal(value, r)) return false;
    c.Set("realValue", r);
    return true;
  case txapi::txControlEditStr:
  case txapi::txControlEditCheckBox:
    c.Set("text", value);
    return true;
  case txapi::txControlCheckBox:
    if (value != "0" && value != "1" && value != "true" && value != "false") return false;
    c.Set("checked", value == "1" || value == "true");
    return true;
  case txapi::txControlListInt:
  case txapi::txControlListReal:
  case txapi::txControlListStr: {
    // A list takes one of its values; an index only in its explicit form, so that a number typed as a
    // value never silently picks the entry at that place.
    const Value& items = c.Prop("items");
    if (!items.is_array()) return false;
    for (std::size_t k = 0; k < items.size(); ++k)
      if (SameEntry(items[k], value)) {
        c.Set("currentIndex", int(k));
        return true;
      }
    if (!ParseIndex(value, i) || std::size_t(i) >= items.size()) return false;
    c.Set("currentIndex", i);
    return true;
  }
  default:
    return false;
  }
}

void EventScript::ChangeControl(const std::wstring& caption, const std::string& value)
{
  Queue([this, caption, value](Object& process) {
    Object* param = ProcessParamOf(process);
    Object* control = param == nullptr ? nullptr : FindControl(*param, caption);
    if (control == nullptr || !SetControlValue(*control, value)) {
      Error = control == nullptr ? "no control \"" + ToUtf8(caption) + "\" on the running panel"
                                 : "\"" + value + "\" does not fit control \"" + ToUtf8(caption) + "\"";
      process.Extra<ProcessState>().Stopped = true;
      return;
    }
    FireInto<txapi::ControlCallback>(*this, param, "ChangeControlValue",
                                     InterfaceOf<txapi::IPropertyControl>(control));
  });
}

void EventScript::Button(int id)
{
  Queue([this, id](Object& process) {
    // The command decides what a button does: the process ends only when the command stops it.
    FireInto<std::function<bool(int)>>(*this, ProcessParamOf(process), "ButtonClick", id);
  });
}

void EventScript::ButtonUpdate(int id)
{
  Queue([this, id](Object& process) {
    bool enable = true;
    int checked = 0;
    FireInto<std::function<bool(int, bool&, int&)>>(*this, ProcessParamOf(process), "ButtonUpdate", id, enable,
                                                   checked);
  });
}

void EventScript::ControlCommand(const std::wstring& caption, int button)
{
  Queue([this, caption, button](Object& process) {
    Object* param = ProcessParamOf(process);
    Object* control = param == nullptr ? nullptr : FindControl(*param, caption);
    FireInto<txapi::ControlIntCallback>(*this, param, "ControlCommand",
                                        InterfaceOf<txapi::IPropertyControl>(control), button);
  });
}

void EventScript::PanelActivate(bool active)
{
  Queue([this, active](Object& process) {
    FireInto<std::function<void()>>(*this, ProcessParamOf(process), active ? "ProcessActivate" : "ProcessDeactivate");
  });
}

void EventScript::Mouse(const std::string& what, int x, int y)
{
  const std::string event = what == "move"   ? "MouseMove"
                            : what == "down" ? "MouseDown"
                            : what == "up"   ? "MouseUp"
                                             : "MouseDblClick";
  Queue([this, event, x, y](Object& process) {
    Object* frame = FrameOf(process);
    auto keys = InterfaceOf<txapi::IPressedKeys>(&PassThrough(process.GetHost(), "pressed-keys"));
    FireInto<txapi::MouseCallback>(*this, frame, event, keys, x, y);
  });
}

void EventScript::Key(int code, int flags)
{
  Queue([this, code, flags](Object& process) {
    int keyCode = code;
    auto keys = InterfaceOf<txapi::IPressedKeys>(&PassThrough(process.GetHost(), "pressed-keys"));
    FireInto<txapi::KeyCallback>(*this, &process.GetHost().ApplicationObject(), "KeyDown", keyCode, flags, keys);
  });
}

void EventScript::Place(double x, double y, double angle, bool dynamic)
{
  Queue([this, x, y, angle, dynamic](Object& process) {
    FireInto<std::function<bool(double, double, double, bool)>>(*this, &process, "PlacementChanged", x, y, angle,
                                                                dynamic);
  });
}

void EventScript::Pick(Object* object)
{
  // By identifier: the object's document may be closed and freed before the step is played.
  const ObjectId id = object != nullptr ? object->Id() : 0;
  Queue([this, id](Object& process) {
    auto o = InterfaceOf<txapi::ITavrixAPIObject>(id != 0 ? process.GetHost().Find(id) : nullptr);
    FireInto<txapi::ObjectCallback>(*this, &process, "FilterObjects", o);
    FireInto<txapi::ObjectCallback>(*this, &process, "PlacementChanged", o);
  });
}

void EventScript::Stop()
{
  Queue([](Object& process) { process.Extra<ProcessState>().Stopped = true; });
}

// Scenario words: the step's name, then its arguments.
bool CheckQueueStep(const std::vector<std::string>& w, std::string& error)
{
  int i = 0;
  double r = 0.0;
  auto need = [&](std::size_t n, const char* usage) {
    if (w.size() == n || (w[0] == "key" && w.size() == 3) || (w[0] == "place" && w.size() == 5)) return true;
    error = std::string("usage: queue ") + usage;
    return false;
  };
  auto ints = [&](std::size_t from, std::size_t to) {
    for (std::size_t k = from; k < to && k < w.size(); ++k)
      if (!ParseInt(w[k], i)) {
        error = "not a number: \"" + w[k] + "\"";
        return false;
      }
    return true;
  };
  const std::string& s = w[0];
  if (s == "change") return need(3, "change CAPTION VALUE");
  if (s == "button" || s == "button-update") return need(2, "button ID") && ints(1, 2);
  if (s == "control-button") return need(3, "control-button CAPTION N") && ints(2, 3);
  if (s == "panel") {
    if (w.size() == 2 && (w[1] == "activate" || w[1] == "deactivate")) return true;
    error = "usage: queue panel activate|deactivate";
    return false;
  }
  if (s == "mouse") {
    if (w.size() == 4 && (w[1] == "move" || w[1] == "down" || w[1] == "up" || w[1] == "dblclick"))
      return ints(2, 4);
    error = "usage: queue mouse move|down|up|dblclick X Y";
    return false;
  }
  if (s == "key") return need(2, "key CODE [FLAGS]") && ints(1, 3);
  if (s == "place") {
    if (!need(4, "place X Y ANGLE [final]")) return false;
    for (std::size_t k = 1; k < 4; ++k)
      if (!ParseReal(w[k], r)) {
        error = "not a finite number: \"" + w[k] + "\"";
        return false;
      }
    if (w.size() == 5 && w[4] != "final") {
      error = "usage: queue place X Y ANGLE [final]";
      return false;
    }
    return true;
  }
  if (s == "pick") {
    if (w.size() == 2 && (w[1] == "none" || w[1] == "top-part")) return true;
    if (w.size() == 3 && w[1] == "face") return ints(2, 3);
    error = "usage: queue pick none|top-part|face N";
    return false;
  }
  if (s == "stop") return need(1, "stop");
  error = "unknown step \"" + s + "\"";
  return false;
}

bool QueueStep(Host& host, const std::vector<std::string>& w, std::string& error)
{
  if (!CheckQueueStep(w, error)) return false;
  EventScript& script = EventScript::Of(host);
  auto n = [&](std::size_t k) {
    int v = 0;
    ParseInt(w[k], v);
    return v;
  };
  auto real = [&](std::size_t k) {
    double v = 0.0;
    ParseReal(w[k], v);
    return v;
  };
  const std::string& s = w[0];
  if (s == "change") script.ChangeControl(FromUtf8(w[1]), w[2]);
  if (s == "button") script.Button(n(1));
  if (s == "button-update") script.ButtonUpdate(n(1));
  if (s == "control-button") script.ControlCommand(FromUtf8(w[1]), n(2));
  if (s == "panel") script.PanelActivate(w[1] == "activate");
  if (s == "mouse") script.Mouse(w[1], n(2), n(3));
  if (s == "key") script.Key(n(1), w.size() > 2 ? n(2) : 0);
  if (s == "place") script.Place(real(1), real(2), real(3), w.size() < 5);
  if (s == "stop") script.Stop();
  if (s == "pick") {
    if (w[1] == "none") {
      script.Pick(nullptr);
    } else {
      // The top part itself, or face N of its model (none past the last).
      const int face = w[1] == "face" ? n(2) : -1;
      script.Queue([&script, &host, face](Object& process) {
        Object* document = process.RefProp("document");
        Object* part = document == nullptr ? nullptr : host.TopPart(*document);
        if (part != nullptr && face >= 0) {
          const std::vector<Object*> faces = model::ModelObjects(*part, {txapi::o3d_face});
          part = std::size_t(face) < faces.size() ? faces[std::size_t(face)] : nullptr;
        }
        auto o = InterfaceOf<txapi::ITavrixAPIObject>(part);
        FireInto<txapi::ObjectCallback>(script, &process, "FilterObjects", o);
        FireInto<txapi::ObjectCallback>(script, &process, "PlacementChanged", o);
      });
    }
  }
  return true;
}

bool ExpectSubscriptions(Host& host, const std::vector<std::string>& w, std::string& error)
{
  int want = 0;
  ParseInt(w[0], want);
  const std::wstring key = w.size() > 1 ? FromUtf8(w[1]) : std::wstring();
  const int got = TotalSubscriptions(host, key);
  if (got == want) return true;
  error = std::to_string(got) + " subscriptions stand";
  return false;
}

} // namespace txhost
