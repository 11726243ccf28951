#pragma once

#include "txhost/lib/Value.h"

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace txhost {

class Object;
struct KindSpec;

// What the host throws from a call that a test told to fail, and from calls on objects whose host is gone.
class HostError : public std::runtime_error
{
public:
  using std::runtime_error::runtime_error;
};

// The objects a fault applies to: one object, every object of a kind, or every object.
struct Target
{
  ObjectId Id = 0;  // 0: any object
  std::string Kind; // empty: any kind

  static Target Any() { return {}; }
  static Target OfKind(std::string kind) { return {0, std::move(kind)}; }
  static Target Of(const Object& o);
  bool Matches(const Object& o) const;
};

// Failures a test asks the host to produce, so that callers' failure paths can be exercised.
class Faults
{
public:
  // A source of new objects hands out nothing. name is an interface ("IDocuments": all its operations that
  // hand out objects) or an interface and operation ("IDocuments.Add").
  void RefuseHandOut(std::string name);
  void AllowHandOut(std::string_view name);
  // Asked at every hand-out, and mostly with no rule at all: that is seen in line.
  bool HandOutRefused(std::string_view interfaceName, std::string_view op) const
  {
    return !HandOuts.empty() && HandOutNamed(interfaceName, op);
  }

  // The objects do not offer the interface named by iid.
  void RefuseInterface(Target target, std::string_view iid);
  bool InterfaceRefused(const Object& o, std::string_view iid) const
  {
    return !Interfaces.empty() && Any(Interfaces, o, iid, false);
  }

  // Updates of the objects answer false and apply nothing.
  void FailUpdate(Target target);
  bool UpdateFails(const Object& o) const { return !Updates.empty() && Any(Updates, o, {}, true); }

  // The call op (every call when op is empty) on the objects throws HostError after it is logged.
  void ThrowOnCall(Target target, std::string op);
  bool CallThrows(const Object& o, std::string_view op) const
  {
    return !Throws.empty() && Any(Throws, o, op, true);
  }

  // Fail each host call in turn: the count-th call logged from now on (1: the next one) fails the way its
  // contract lets a host call fail. A call that hands out objects hands out nothing, an update answers
  // false, any other call throws HostError after it is logged. 0 counts the calls and fails none.
  void FailCall(std::size_t count);
  // Calls logged since FailCall (or Clear), and the call that failed ("kind.op"; empty while none did).
  std::size_t CallsCounted() const { return Counted; }
  const std::string& FailedCall() const { return Failed; }

  // How one logged call fails under FailCall; Record asks for every call.
  enum class Failure { None, Throw, Answer };
  Failure CountCall(const Object& o, std::string_view op)
  {
    // A call that was to answer nothing and never asked (its facet failed earlier) fails no later call.
    AnswerObject = 0;
    if (++Counted != FailAt || FailAt == 0) return Failure::None;
    return CountedCallFails(o, op);
  }
  // True once, for the call CountCall answered Answer for: its facet then answers nothing or false.
  bool TakeAnswer(const Object& o, std::string_view op) { return AnswerObject != 0 && AnswerTaken(o, op); }
  // Notes that calls op of the objects of the kind hand out objects (and so can answer nothing).
  static void NoteHandOut(const KindSpec& kind, std::string_view op);

  void Clear();

private:
  struct Rule
  {
    Target T;
    std::string What;
  };
  static bool Any(const std::vector<Rule>& rules, const Object& o, std::string_view what,
                  bool emptyMatchesAll);
  bool HandOutNamed(std::string_view interfaceName, std::string_view op) const;
  Failure CountedCallFails(const Object& o, std::string_view op); // the call FailCall counts to
  bool AnswerTaken(const Object& o, std::string_view op);

  std::vector<std::string> HandOuts;
  std::vector<Rule> Interfaces;
  std::vector<Rule> Updates;
  std::vector<Rule> Throws;
  std::size_t FailAt = 0;
  std::size_t Counted = 0;
  std::string Failed;
  ObjectId AnswerObject = 0; // the call that is to answer nothing, until its facet asks
  std::string AnswerOp;
};

} // namespace txhost
