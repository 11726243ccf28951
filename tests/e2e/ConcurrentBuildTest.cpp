// Two processes build couplings into one folder at once. Couplings of one size share part files (shafts 40
// and 38 of the 250 N·m МУВП share the pin and both bushings); a build that fails removes only the files its
// own saves left, never one that the other build put there since.

#include "txhost/lib/Host.h"
#include "txhost/lib/Scenario.h"

#include "tests/txhost/TestSupport.h"

#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

const std::string RaceStandard = "-ГОСТ 21424-93";
// The files the build of shaft 38 makes.
const char* const RaceFiles38[] = {
    "Втулка распорная МУВП- 250.00-250", "Втулка упругая МУВП- 250.00-250", "Палец МУВП- 250.00-250",
    "Полумуфта1-- 250.00-38-1",          "Полумуфта2-- 250.00-38-1",        "Муфта- 250.00-38-1",
};

std::string RaceFile(const std::string& head)
{
  return head + RaceStandard + (head.starts_with("Муфта") ? ".tas" : ".tpt");
}

// A script of rounds of one build each, of the coupling for the shaft, in new assemblies.
std::string RaceScript(int shaft, int rounds, bool checked)
{
  std::string s = "load " + std::string(HXCAD_PLUGIN) + "\n";
  for (int i = 0; i < rounds; ++i) {
    s += "new assembly as a" + std::to_string(i) + "\nqueue change \"Вал 1\" \"  " + std::to_string(shaft) +
         ".00\"\nqueue pick face 0\nqueue button 1\nqueue button 1\nqueue button 2\nrun 200\n";
    if (checked) {
      s += "expect no-message\n";
      for (const char* f : RaceFiles38)
        s += "expect file \"" + RaceFile(f) + "\"\n";
    }
  }
  return s + "unload\n";
}

// Plays the script in a process of its own; its exit status.
pid_t PlayApart(const std::string& script, const fs::path& docs)
{
  const pid_t child = ::fork();
  if (child != 0) return child;
  txhost::Host h;
  h.SetDocumentsFolder(docs);
  std::ostringstream log;
  txhost::Scenario scenario;
  std::string error;
  bool ok = txhost::ParseScenario(script, "race", docs, scenario, error);
  {
    txhost::ScenarioPlayer player(h, log);
    ok = ok && player.Play(scenario, error);
  }
  if (!ok) std::fprintf(stderr, "%s\n%s\n", error.c_str(), log.str().c_str());
  ::_exit(ok ? 0 : 1);
}

TEST(ConcurrentBuilds, AFailedBuildRemovesNoFileOfTheBuildBesideIt)
{
  txhost::test::TempDir dir;
  const fs::path docs = dir / "docs";
  fs::create_directories(docs);
  // On a file system in memory the rounds are quick; on a disk each save waits for it, and fewer are run.
  const bool inMemory = ::mount("tmpfs", docs.c_str(), "tmpfs", 0, "size=64m") == 0;
  const int rounds = inMemory ? 8 : 3;
  // The failing build's assembly has a folder in its way: it fails at its last file.
  fs::create_directories(docs / RaceFile("Муфта- 250.00-40-1"));
  const pid_t failing = PlayApart(RaceScript(40, rounds, false), docs);
  const pid_t building = PlayApart(RaceScript(38, rounds, true), docs);
  int failed = 0, built = 0;
  ::waitpid(failing, &failed, 0);
  ::waitpid(building, &built, 0);
  EXPECT_TRUE(WIFEXITED(failed) && WEXITSTATUS(failed) == 0);
  EXPECT_TRUE(WIFEXITED(built) && WEXITSTATUS(built) == 0) << "the build of shaft 38 lost a file or said so";
  for (const char* f : RaceFiles38)
    EXPECT_TRUE(fs::exists(docs / RaceFile(f))) << f;
  if (inMemory) ::umount2(docs.c_str(), MNT_DETACH);
}

} // namespace
