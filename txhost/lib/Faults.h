#pragma once

#include "txhost/lib/Value.h"

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace txhost {

class Object;

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
  bool HandOutRefused(std::string_view interfaceName, std::string_view op) const;

  // The objects do not offer the interface named by iid.
  void RefuseInterface(Target target, std::string_view iid);
  bool InterfaceRefused(const Object& o, std::string_view iid) const;

  // Updates of the objects answer false and apply nothing.
  void FailUpdate(Target target);
  bool UpdateFails(const Object& o) const;

  // The call op (every call when op is empty) on the objects throws HostError after it is logged.
  void ThrowOnCall(Target target, std::string op);
  bool CallThrows(const Object& o, std::string_view op) const;

  void Clear();

private:
  struct Rule
  {
    Target T;
    std::string What;
  };
  static bool Any(const std::vector<Rule>& rules, const Object& o, std::string_view what,
                  bool emptyMatchesAll);

  std::vector<std::string> HandOuts;
  std::vector<Rule> Interfaces;
  std::vector<Rule> Updates;
  std::vector<Rule> Throws;
};

} // namespace txhost
