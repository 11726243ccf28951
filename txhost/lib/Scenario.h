#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace txhost {

class Host;
class LoadedLibrary;
class Object;
class SolidLink;

// One line of a scenario: its number in the file, the command and its words (quotes removed).
struct ScenarioStep
{
  int Line = 0;
  std::string Command;                        // "expect" commands carry their check: "expect documents"
  std::vector<std::string> Words;             // positional words
  std::map<std::string, std::string> Options; // keywords, with their value when they take one
};

// A parsed scenario script (the format is described in Scenario.cpp and txhost/README.md).
struct Scenario
{
  std::string Name;             // for messages: the file name as given
  std::filesystem::path Folder; // the script's folder: relative input paths start there
  std::vector<ScenarioStep> Steps;
};

// Parses script text; false and "name:line: message" in error for the first bad line.
bool ParseScenario(std::string_view text, const std::string& name, const std::filesystem::path& folder,
                   Scenario& out, std::string& error);
// Reads and parses a script file.
bool LoadScenario(const std::filesystem::path& file, Scenario& out, std::string& error);

// Plays scenarios on a host: loads the library, drives documents and commands, prints and checks what the
// host holds. Owns the loaded library and unloads it before the host goes.
class ScenarioPlayer
{
public:
  ScenarioPlayer(Host& host, std::ostream& out);
  ~ScenarioPlayer();
  ScenarioPlayer(const ScenarioPlayer&) = delete;
  ScenarioPlayer& operator=(const ScenarioPlayer&) = delete;

  // Plays every step; false and "name:line: message" in error at the first step that fails.
  bool Play(const Scenario& scenario, std::string& error);
  // Plays every step, also after steps that fail ("name:line: message" for each in errors): a play with
  // injected faults goes on to its end.
  void PlayThrough(const Scenario& scenario, std::vector<std::string>& errors);

  // Unloads the library, if one is loaded.
  void Unload();

  // In every word, {name} stands for value from now on.
  void Define(const std::string& name, const std::string& value) { Variables[name] = value; }

  // The solid evaluator that the steps check, expect clashes|solids|feature and saving as .png or .step use
  // (none by default). The player does not own it.
  void SetSolids(SolidLink* solids) { Solids = solids; }

private:
  struct Context;
  void PlaySteps(const Scenario& scenario, std::vector<std::string>& errors, bool stopAtFailure);
  bool Run(const ScenarioStep& step, Context& c, std::string& error);
  Object* Document(const std::string& handle, std::string& error) const;

  Host& H;
  std::ostream& Out;
  std::unique_ptr<LoadedLibrary> Library;
  SolidLink* Solids = nullptr;
  std::map<std::string, std::uint64_t> Handles; // by identifier: a closed document is freed in time
  std::map<std::string, std::string> Variables;
  int NextHandle = 1;
  std::size_t MessagesSeen = 0;    // messages already echoed after a command
  std::chrono::steady_clock::time_point StepStart = std::chrono::steady_clock::now();
  std::size_t MessagesMatched = 0; // messages already matched by "expect message"
};

} // namespace txhost
