#pragma once
// Every host call a play makes is made to fail in turn: it throws, hands out nothing, refuses an interface
// or refuses an update. The adapter must neither crash nor keep a reference, and a thrown host error must
// reach the caller.

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>

#include "AdapterSupport.h"
#include "txhost/lib/Faults.h"
#include "txhost/lib/Kinds.h"

namespace adaptertest {

using PlayFunction = std::function<void(HostedModeller&)>;

// One play with a fault set; the number of host errors that reached the caller.
template <class Arm> int PlayWith(const PlayFunction& play, Arm arm, const std::string& what)
{
  SCOPED_TRACE(what);
  HostedModeller m;
  arm(m.H.GetFaults());
  int thrown = 0;
  try {
    play(m);
  } catch (const txhost::HostError&) {
    ++thrown;
  }
  m.H.GetFaults().Clear();
  ResetModeller();
  std::string held;
  for (const txhost::Object* o : m.H.Referenced())
    held += " " + o->Kind();
  EXPECT_EQ(held, "");
  return thrown;
}

// Plays once to learn the calls made and the kinds met, then once per fault; at least minCalls distinct
// calls must have been made.
inline void SweepEveryHostCall(const PlayFunction& play, std::size_t minCalls)
{
  using txhost::Target;
  std::set<std::pair<std::string, std::string>> calls;
  std::set<std::string> kinds;
  {
    HostedModeller m;
    // Calls made while the modeller came up are not the play's.
    std::map<txhost::ObjectId, std::size_t> before;
    for (const txhost::Object* o : m.H.Objects())
      before[o->Id()] = o->Log().size();
    play(m);
    ResetModeller();
    for (const txhost::Object* o : m.H.Objects()) {
      kinds.insert(o->Kind());
      for (std::size_t i = before[o->Id()]; i < o->Log().size(); ++i)
        calls.emplace(o->Kind(), o->Log()[i].Op);
    }
  }
  ASSERT_GT(calls.size(), minCalls);
  int thrown = 0;
  for (const auto& call : calls) {
    const std::string &kind = call.first, &op = call.second; // lambdas may not capture bindings in clang 14
    thrown += PlayWith(
        play, [&](txhost::Faults& f) { f.ThrowOnCall(Target::OfKind(kind), op); }, kind + "." + op);
  }
  EXPECT_EQ(thrown, int(calls.size())); // never swallowed
  std::set<std::string> interfaces;
  for (const std::string& kind : kinds) {
    PlayWith(
        play, [&](txhost::Faults& f) { f.FailUpdate(Target::OfKind(kind)); }, "update of " + kind);
    for (const txhost::FacetEntry& e : txhost::KindTable::Builtin().Get(kind).Facets) {
      interfaces.insert(std::string(e.Name));
      PlayWith(
          play, [&](txhost::Faults& f) { f.RefuseInterface(Target::OfKind(kind), e.Iid); },
          kind + " without " + std::string(e.Name));
    }
  }
  for (const std::string& name : interfaces)
    PlayWith(
        play, [&](txhost::Faults& f) { f.RefuseHandOut(name); }, name + " hands out nothing");
}

} // namespace adaptertest
