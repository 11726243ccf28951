// The coupling scenarios played against the built plug-in with the host failing each of its calls in turn.
// Whatever call fails, the play must end without a crash, a kept host reference or the library left loaded
// (its statics would meet its next load), and the user's own assembly must keep its name, marking, placement
// and parameters. The host is in-process, so one failure is one play, not one program start.

#include "txhost/lib/Events.h"
#include "txhost/lib/Faults.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Kinds.h"
#include "txhost/lib/Model.h"
#include "txhost/lib/Object.h"
#include "txhost/lib/Scenario.h"

#include "tests/TestNames.h"
#include "tests/txhost/TestSupport.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <ostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using txhost::Host;
using txhost::Object;

// What a play leaves that the sweep compares: references and subscriptions the library still holds; per
// visible 3D document of the user, its top part as the user made it; components left hidden.
struct Outcome
{
  std::vector<std::string> Errors, UserTops, HiddenComponents;
  std::set<std::string> Files;  // in the documents folder, relative to it
  std::set<std::string> Strays; // files there that no component of an open document reaches
  int Held = 0, Subscriptions = 0, HeldAfterUnload = 0, HiddenDocuments = 0;
  bool MappedAfterUnload = false; // the library still in the process: its statics would meet the next load
  std::size_t Calls = 0;
  std::string Failed;
};

std::string TopOf(const Host& h, const Object& document)
{
  const Object* top = h.TopPart(document);
  if (top == nullptr) return "no top part";
  std::ostringstream s;
  s << Host::DocumentPath(document).filename().string() << ": " << top->Prop("name") << " "
    << top->Prop("marking") << " " << top->Prop("placement") << " " << top->Prop("user-data") << " "
    << top->Prop("command") << " " << top->Prop("hidden") << " " << top->Prop("deleted");
  for (const Object* m : top->Members())
    if (m->Kind() == txhost::model::Variable) s << " " << m->Prop("name") << "=" << m->Prop("value");
  return s.str();
}

Outcome Play(const txhost::Scenario& scenario, std::size_t failCall)
{
  Outcome out;
  // A fresh documents folder per play, so that no file of an earlier play satisfies a later one.
  txhost::test::TempDir folder;
  Host h;
  h.SetDocumentsFolder(folder.path());
  h.GetFaults().FailCall(failCall);
  std::ostringstream log;
  {
    txhost::ScenarioPlayer player(h, log);
    player.Define("plugin", HXCAD_PLUGIN);
    player.PlayThrough(scenario, out.Errors);
    out.Calls = h.GetFaults().CallsCounted();
    out.Failed = h.GetFaults().FailedCall();
    h.GetFaults().Clear();
    for (const Object* o : h.Referenced())
      out.Held += o->RefCount();
    out.Subscriptions = txhost::TotalSubscriptions(h);
    for (const Object* d : h.Documents()) {
      if (d->Prop("visible") == false) ++out.HiddenDocuments;
      if (d->Prop("visible") == false || h.TopPart(*d) == nullptr) continue;
      out.UserTops.push_back(TopOf(h, *d));
      for (const Object* o : h.ObjectsOf(*d))
        if (o->Kind() == txhost::kinds::Part && o != h.TopPart(*d) && o->Prop("hidden") == true &&
            !txhost::model::Deleted(*o))
          out.HiddenComponents.push_back("#" + std::to_string(o->Id()));
    }
    // The files components read: those of the open documents' parts, then those their assemblies name.
    std::set<std::string> reached;
    for (const Object* d : h.Documents())
      for (const Object* o : h.ObjectsOf(*d))
        if (o->Kind() == txhost::kinds::Part && !txhost::model::Deleted(*o) && o->Prop("file").is_string())
          reached.insert(std::filesystem::path(o->Prop("file").get<std::string>()).filename().string());
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(folder.path(), ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
      out.Files.insert(std::filesystem::relative(it->path(), folder.path()).string());
    for (std::size_t before = 0; before != reached.size();) {
      before = reached.size();
      for (const std::string& f : std::set<std::string>(reached)) {
        std::ifstream in(folder.path() / f, std::ios::binary);
        const std::string text{std::istreambuf_iterator<char>(in), {}};
        for (const std::string& other : out.Files)
          if (text.find("/" + other + "\"") != std::string::npos) reached.insert(other);
      }
    }
    for (const std::string& f : out.Files)
      if (!reached.count(f)) out.Strays.insert(f);
    player.Unload();
  }
  out.HeldAfterUnload = int(h.Referenced().size());
  if (void* still = ::dlopen(HXCAD_PLUGIN, RTLD_LAZY | RTLD_NOLOAD)) {
    out.MappedAfterUnload = true;
    ::dlclose(still);
  }
  return out;
}

struct SweepCase
{
  const char* Scenario;
  std::size_t MaxPlays; // at most this many faulty plays: beyond as many calls, every k-th call fails
};

void PrintTo(const SweepCase& c, std::ostream* os)
{
  *os << c.Scenario;
}

class ScenarioSweep : public ::testing::TestWithParam<SweepCase>
{
};

TEST_P(ScenarioSweep, EveryHostCallFailsInTurn)
{
  const SweepCase& c = GetParam();
  txhost::Scenario scenario;
  std::string error;
  ASSERT_TRUE(
      txhost::LoadScenario(std::filesystem::path(HXCAD_TEST_DATA) / "duvozadu" / c.Scenario, scenario, error))
      << error;
  // The clean play passes, and shows the host which of its calls hand out objects.
  const Outcome clean = Play(scenario, 0);
  for (const std::string& e : clean.Errors)
    ADD_FAILURE() << e;
  ASSERT_GT(clean.Calls, 10u);
  EXPECT_TRUE(clean.HiddenComponents.empty());
  EXPECT_FALSE(clean.MappedAfterUnload) << "the library stays loaded after its unload";

  const std::size_t stride = clean.Calls <= c.MaxPlays ? 1 : (clean.Calls + c.MaxPlays - 1) / c.MaxPlays;
  int plays = 0;
  for (std::size_t n = 1;; n += stride) {
    const Outcome o = Play(scenario, n);
    if (o.Calls < n) break; // the play made fewer calls: none failed
    ++plays;
    SCOPED_TRACE("call " + std::to_string(n) + " failing: " + o.Failed);
    ASSERT_FALSE(o.Failed.empty());
    EXPECT_EQ(o.HeldAfterUnload, 0);
    EXPECT_FALSE(o.MappedAfterUnload) << "the library stays loaded after its unload";
    EXPECT_LE(o.Held, clean.Held) << "host references kept";
    // Subscriptions end with the command, unless ending them was the call that failed.
    if (!o.Failed.ends_with(".Unsubscribe")) {
      EXPECT_LE(o.Subscriptions, clean.Subscriptions) << "event subscriptions left standing";
    }
    EXPECT_EQ(o.UserTops, clean.UserTops);
    // A failed build takes back what it wrote: nothing is left that the clean play did not make, but for
    // the files of couplings the play did place (a failure early on changes what the later runs build).
    for (const std::string& f : o.Strays)
      EXPECT_TRUE(clean.Files.count(f)) << "left behind: " << f;
    // The documents a build opens out of sight close with it, however it ends.
    if (!o.Failed.ends_with(".Close")) {
      EXPECT_LE(o.HiddenDocuments, clean.HiddenDocuments) << "documents left open out of sight";
    }
    // A component the command hid while the user edited it is shown again, unless showing it was the call
    // that failed.
    if (o.Failed != "part.SetHidden" && o.Failed != "part.Update") {
      EXPECT_EQ(o.HiddenComponents, std::vector<std::string>{});
    }
  }
  // What the sweep covered, for the log: a change that multiplies the calls shows here first.
  std::cout << c.Scenario << ": " << clean.Calls << " host calls, " << plays << " plays with one failing\n";
}

INSTANTIATE_TEST_SUITE_P(Scenarios, ScenarioSweep,
                         ::testing::Values(SweepCase{"load.txs", 80}, SweepCase{"new3d.txs", 80},
                                           SweepCase{"edit3d.txs", 80}, SweepCase{"new2d.txs", 40},
                                           SweepCase{"edit2d.txs", 50}, SweepCase{"flanged.txs", 60},
                                           SweepCase{"star.txs", 60}, SweepCase{"jawdisc.txs", 60},
                                           SweepCase{"hinge2d.txs", 40}, SweepCase{"hinge3d.txs", 60},
                                           SweepCase{"toothed.txs", 12}, SweepCase{"toroidal.txs", 12}),
                         hxcad::test::CaseNames());

} // namespace
