#include "txhost/lib/Faults.h"

#include "txhost/lib/Object.h"

#include <algorithm>
#include <mutex>
#include <set>

namespace txhost {

Target Target::Of(const Object& o)
{
  return {o.Id(), {}};
}

bool Target::Matches(const Object& o) const
{
  return (Id == 0 || Id == o.Id()) && (Kind.empty() || Kind == o.Kind());
}

void Faults::RefuseHandOut(std::string name)
{
  HandOuts.push_back(std::move(name));
}

void Faults::AllowHandOut(std::string_view name)
{
  std::erase_if(HandOuts, [&](const std::string& s) { return s == name; });
}

bool Faults::HandOutRefused(std::string_view interfaceName, std::string_view op) const
{
  return std::any_of(HandOuts.begin(), HandOuts.end(), [&](const std::string& s) {
    if (s == interfaceName) return true;
    return s.size() == interfaceName.size() + 1 + op.size() && s.starts_with(interfaceName) &&
           s[interfaceName.size()] == '.' && s.ends_with(op);
  });
}

void Faults::RefuseInterface(Target target, std::string_view iid)
{
  Interfaces.push_back({std::move(target), std::string(iid)});
}

bool Faults::InterfaceRefused(const Object& o, std::string_view iid) const
{
  return Any(Interfaces, o, iid, false);
}

void Faults::FailUpdate(Target target)
{
  Updates.push_back({std::move(target), {}});
}

bool Faults::UpdateFails(const Object& o) const
{
  return Any(Updates, o, {}, true);
}

void Faults::ThrowOnCall(Target target, std::string op)
{
  Throws.push_back({std::move(target), std::move(op)});
}

bool Faults::CallThrows(const Object& o, std::string_view op) const
{
  return Any(Throws, o, op, true);
}

namespace {

// The calls known to hand out objects, as "kind.op": learnt from the facets as they check for refusals,
// since the log alone does not tell which calls have a result that can be empty.
std::set<std::string, std::less<>>& HandOutCalls()
{
  static std::set<std::string, std::less<>> calls;
  return calls;
}
std::mutex HandOutCallsLock;

std::string CallName(const Object& o, std::string_view op)
{
  return o.Kind() + "." + std::string(op);
}

} // namespace

void Faults::NoteHandOut(std::string_view kind, std::string_view op)
{
  // Noted at every hand-out, mostly the one or the other noted just before (a collection asked for, then
  // its Add): those are known without the lock, any other is looked up and inserted once.
  thread_local std::string name, recent[2];
  name.assign(kind);
  name += '.';
  name += op;
  if (name == recent[0] || name == recent[1]) return;
  {
    const std::lock_guard lock(HandOutCallsLock);
    auto& calls = HandOutCalls();
    if (calls.find(name) == calls.end()) calls.insert(name);
  }
  recent[1].swap(recent[0]);
  recent[0] = name;
}

void Faults::FailCall(std::size_t count)
{
  FailAt = count;
  Counted = 0;
  Failed.clear();
  AnswerObject = 0;
  AnswerOp.clear();
}

Faults::Failure Faults::CountCall(const Object& o, std::string_view op)
{
  // A call that was to answer nothing and never asked (its facet failed earlier) fails no later call.
  AnswerObject = 0;
  if (++Counted != FailAt || FailAt == 0) return Failure::None;
  Failed = CallName(o, op);
  bool answers = op == "Update";
  if (!answers) {
    const std::lock_guard lock(HandOutCallsLock);
    answers = HandOutCalls().count(Failed) != 0;
  }
  if (!answers) return Failure::Throw;
  AnswerObject = o.Id();
  AnswerOp = op;
  return Failure::Answer;
}

bool Faults::TakeAnswer(const Object& o, std::string_view op)
{
  if (AnswerObject == 0 || AnswerObject != o.Id() || AnswerOp != op) return false;
  AnswerObject = 0;
  return true;
}

void Faults::Clear()
{
  FailCall(0);
  HandOuts.clear();
  Interfaces.clear();
  Updates.clear();
  Throws.clear();
}

bool Faults::Any(const std::vector<Rule>& rules, const Object& o, std::string_view what, bool emptyMatchesAll)
{
  return std::any_of(rules.begin(), rules.end(), [&](const Rule& r) {
    return r.T.Matches(o) && (r.What == what || (emptyMatchesAll && r.What.empty()));
  });
}

} // namespace txhost
