#pragma once

// Event sources and the scripted modal loop of processes.
//
// An event source keeps its subscriptions on its host object: the key, the event's name and the library's
// callback. Fire calls the callbacks of one event in subscription order; a callback that unsubscribes
// others (a command ending itself) keeps them from being called afterwards.
//
// A process Run plays the host's event script: steps queued beforehand (by a test, or by the scenario's
// "queue" command), each of which fires events at the running process's sources, until the process is
// stopped or the script runs out.

#include "txapi/IEventObjects.h"
#include "txapi/SmartPtr.h"
#include "txhost/lib/Object.h"

#include <any>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace txhost {

class Host;

struct Subscription
{
  std::uint64_t Serial;
  std::wstring Key;
  std::string Event;
  std::any Callback; // the std::function of the event's signature
};

struct EventSubscriptions
{
  std::vector<Subscription> List;
  std::uint64_t NextSerial = 1;
};

// Subscriptions on source under key (all keys when key is empty).
int SubscriptionCount(Object& source, std::wstring_view key = {});
// The keys that hold subscriptions on source, in the order of their first subscription.
std::vector<std::wstring> SubscriptionKeys(Object& source);
// Subscriptions of every object of host under key; all subscriptions for an empty key.
int TotalSubscriptions(Host& host, std::wstring_view key = {});

// Drops every subscription on every object of host (a library that is unloaded leaves none behind: their
// callbacks are its code); the number dropped.
int DropSubscriptions(Host& host);

void Subscribe(Object& source, const std::wstring& key, std::string_view event, std::any callback);
void Unsubscribe(Object& source, const std::wstring& key);

// Calls every callback of event on source with args (F is the callback's std::function type). Returns the
// answers for a bool event, in call order; the number of calls for the others.
template <class F, class... A> auto Fire(Object& source, std::string_view event, A&&... args)
{
  using R = typename F::result_type;
  std::vector<std::uint64_t> serials;
  for (const Subscription& s : source.Extra<EventSubscriptions>().List)
    if (s.Event == event) serials.push_back(s.Serial);
  auto callback = [&](std::uint64_t serial) {
    F f;
    for (const Subscription& s : source.Extra<EventSubscriptions>().List)
      if (s.Serial == serial) f = std::any_cast<const F&>(s.Callback);
    return f; // empty when an earlier callback dropped it
  };
  if constexpr (std::is_void_v<R>) {
    int calls = 0;
    for (std::uint64_t serial : serials)
      if (F f = callback(serial)) {
        ++calls;
        f(args...);
      }
    return calls;
  } else {
    std::vector<R> answers;
    for (std::uint64_t serial : serials)
      if (F f = callback(serial)) answers.push_back(f(args...));
    return answers;
  }
}

// The host's process state, kept on the process object.
struct ProcessState
{
  bool Running = false;
  bool Stopped = false;
  int Runs = 0;
};

// A queued action of the script; it gets the running process.
using ScriptStep = std::function<void(Object& process)>;

// The host's event script (one per host).
class EventScript
{
public:
  static EventScript& Of(Host& host);

  void Queue(ScriptStep step) { Steps.push_back(std::move(step)); }
  bool Empty() const { return Steps.empty(); }
  std::size_t Size() const { return Steps.size(); }
  void Clear() { Steps.clear(); }
  // The next step; empty when none is left.
  ScriptStep Next();

  // Ready-made steps, fired at the running process's sources. A control is found by its caption on the
  // process's panel ("caption#i" is coordinate edit i of a point control); value is read by the control's
  // kind (a number, a text, 0/1 or true/false for a check box, an item text or index for a list).
  void ChangeControl(const std::wstring& caption, const std::string& value);
  void Button(int id); // Enter (1) and Esc (2) end the process after the command has seen them
  void ButtonUpdate(int id);
  void ControlCommand(const std::wstring& caption, int button);
  void PanelActivate(bool active);
  void Mouse(const std::string& what, int x, int y); // move, down, up, dblclick
  void Key(int code, int flags);
  void Place(double x, double y, double angle, bool dynamic);
  void Pick(Object* object); // 3D: filter, then placement
  void Stop();               // the user leaves the process

  // Answers of the last step's bool events, for tests.
  std::vector<bool> LastAnswers;
  // Why a step could not be played (its process ended there); empty when every step played. The script's
  // player takes it.
  std::string Error;

private:
  std::deque<ScriptStep> Steps;
};

// The host objects behind a process: its panel, frame, events and manipulators.
Object* ProcessParamOf(Object& process);
Object* FrameOf(Object& process);
Object* ManipulatorsOf(Object& process);
// The control with the caption on the process's panel ("caption#i": coordinate edit i of a point).
Object* FindControl(Object& param, const std::wstring& caption);
// Sets a control's value from text as the user would (see EventScript::ChangeControl); false when the text
// does not fit the control.
bool SetControlValue(Object& control, const std::string& value);

// A plain object of a pass-through kind ("pressed-keys", "opengl-object", ...).
Object& PassThrough(Host& host, std::string_view kind);

// Scenario support: "queue STEP ..." adds a step; "expect subscriptions KEY N" checks the count.
bool CheckQueueStep(const std::vector<std::string>& words, std::string& error);
bool QueueStep(Host& host, const std::vector<std::string>& words, std::string& error);
bool ExpectSubscriptions(Host& host, const std::vector<std::string>& words, std::string& error);

} // namespace txhost

namespace txhost {

// Makers behind the application's and documents' command operations.
Object& NewProcessParam(Host& host);
Object& DocumentFrame(Host& host, Object& document); // one per document, made on first use
Object& NewProcess(Host& host, Object& document, bool is3D);
Object& NewDrawingGroup(Host& host, Object& document, bool temporary);

// The in-place edit state of a 3D document: on while part is being edited (null switches it off).
void SetEditedPart(Object& document, Object* part);
bool InEditMode(Object& document);
Object* EditedPart(Object& document);

} // namespace txhost
