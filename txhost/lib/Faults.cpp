#include "txhost/lib/Faults.h"

#include "txhost/lib/Kinds.h"
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

bool Faults::HandOutNamed(std::string_view interfaceName, std::string_view op) const
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

void Faults::FailUpdate(Target target)
{
  Updates.push_back({std::move(target), {}});
}

void Faults::ThrowOnCall(Target target, std::string op)
{
  Throws.push_back({std::move(target), std::move(op)});
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

void Faults::NoteHandOut(const KindSpec& kind, std::string_view op)
{
  // Noted at every hand-out, mostly one of the few noted just before (a collection asked for, then its
  // Add): those are known by their kind's entry in the kind table, which lives as long as the process,
  // without the lock or a name put together; any other is looked up and inserted once.
  struct Recent
  {
    const KindSpec* Kind = nullptr;
    std::size_t Size = 0;
    char Op[40] = {};
  };
  thread_local Recent recent[4];
  for (const Recent& r : recent)
    if (r.Kind == &kind && r.Size == op.size() && std::equal(op.begin(), op.end(), r.Op)) return;
  {
    const std::string name = kind.Name + "." + std::string(op);
    const std::lock_guard lock(HandOutCallsLock);
    auto& calls = HandOutCalls();
    if (calls.find(name) == calls.end()) calls.insert(name);
  }
  if (op.size() > sizeof(Recent::Op)) return;
  std::copy_backward(recent, recent + 3, recent + 4);
  recent[0].Kind = &kind;
  recent[0].Size = op.size();
  std::copy(op.begin(), op.end(), recent[0].Op);
}

void Faults::FailCall(std::size_t count)
{
  FailAt = count;
  Counted = 0;
  Failed.clear();
  AnswerObject = 0;
  AnswerOp.clear();
}

Faults::Failure Faults::CountedCallFails(const Object& o, std::string_view op)
{
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

bool Faults::AnswerTaken(const Object& o, std::string_view op)
{
  if (AnswerObject != o.Id() || AnswerOp != op) return false;
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
