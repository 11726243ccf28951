// txhost: the stand-in host program. Plays a scenario script: loads a library, makes documents, runs the
// library's commands and shows what the host holds (see txhost/README.md).

#include "txhost/lib/FileInput.h"
#include "txhost/lib/FileOutput.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Scenario.h"
#include "txhost/solid/Evaluator.h"

#include <exception>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace {

constexpr int ExitFailure = 1;
constexpr int ExitUsage = 2;

const char* const Usage =
    "usage: txhost run SCENARIO [--folder DIR] [--define NAME=VALUE]... [--no-modeller] [--budget SECONDS]\n"
    "       txhost check FILE [--budget SECONDS]\n"
    "       txhost render FILE OUT.png [--section] [--budget SECONDS]\n"
    "       txhost export FILE OUT.step [--budget SECONDS]\n"
    "  run plays the scenario script SCENARIO. --folder sets the folder for saved documents (the host's\n"
    "  documents folder; the working directory by default). --define makes {NAME} in the script stand\n"
    "  for VALUE. The host makes every feature with its solid modeller, failing one it cannot make, that\n"
    "  removes or adds nothing or leaves other than one solid; --no-modeller places features without it.\n"
    "  check evaluates the solids of a saved part or assembly and prints what it found (exit 1 when it\n"
    "  found a fault); render draws them shaded (--section: cut at the XOY plane); export writes them as\n"
    "  STEP (exit 1 when a component had to be left out). --budget bounds the processor time one\n"
    "  evaluation of solids may take (60 s by default; 0: no bound): what it leaves is named, as a fault.\n";

// The value of --budget: seconds, not negative; false for anything else.
bool Budget(const std::string& text, double& seconds)
{
  std::size_t used = 0;
  try {
    seconds = std::stod(text, &used);
  } catch (const std::exception&) {
    return false;
  }
  return used == text.size() && seconds >= 0 && seconds <= 1e9;
}

// check, render and export: one saved 3D document through the solid evaluator.
int Solids(std::vector<std::string> args)
{
  const std::string what = args[0];
  std::optional<double> budget;
  bool section = false;
  for (std::size_t i = 1; i < args.size();) {
    if (args[i] == "--budget" && !budget) {
      double seconds = 0;
      if (i + 1 >= args.size() || !Budget(args[i + 1], seconds)) {
        std::cerr << "txhost: --budget needs a number of seconds, 0 or more\n" << Usage;
        return ExitUsage;
      }
      budget = seconds;
      args.erase(args.begin() + std::ptrdiff_t(i), args.begin() + std::ptrdiff_t(i) + 2);
    } else if (args[i] == "--section" && what == "render" && !section && i == 3) {
      section = true;
      args.erase(args.begin() + std::ptrdiff_t(i));
    } else {
      ++i;
    }
  }
  if (args.size() != (what == "check" ? 2u : 3u)) {
    std::cerr << Usage;
    return ExitUsage;
  }
  txhost::Host host;
  std::string error;
  // Read only: these commands never save the document, so one the host could not save again is read too.
  txhost::Object* d = host.OpenDocument(std::filesystem::absolute(args[1]), false, &error, false);
  if (d == nullptr) {
    std::cerr << "txhost: " << txhost::Printable(error) << "\n";
    return ExitFailure;
  }
  txhost::solid::TEvaluator evaluator(host);
  evaluator.SetProgress(&std::cerr); // a check of thousands of components takes minutes
  if (budget) evaluator.SetSeconds(*budget);
  int faults = 0;
  bool ok = false;
  if (what == "check")
    ok = evaluator.Check(*d, std::cout, faults, error);
  else {
    const std::filesystem::path out = std::filesystem::absolute(args[2]);
    const bool picture = what == "render";
    if (out.extension() != (picture ? ".png" : ".step")) {
      std::cerr << "txhost: " << what << " writes a " << (picture ? ".png" : ".step") << " file\n";
      return ExitUsage;
    }
    // Refused before the solids are worked out, which may take minutes.
    if (!txhost::CanWriteOutputFile(out, error)) {
      std::cerr << "txhost: " << txhost::Printable(error) << "\n";
      return ExitFailure;
    }
    std::vector<std::string> leftOut;
    ok = evaluator.Save(*d, out, section, leftOut, error);
    // The file holds what could be placed; what could not is said, and the run is not a success.
    for (const std::string& c : leftOut)
      std::cerr << "txhost: " << txhost::Printable(args[1] + ": left out component " + c) << "\n";
    faults = int(leftOut.size());
  }
  std::cout.flush();
  if (!ok) {
    std::cerr << "txhost: " << txhost::Printable(args[1] + ": " + error) << "\n";
    return ExitFailure;
  }
  return faults == 0 ? 0 : ExitFailure;
}

int Play(const std::filesystem::path& script, const std::filesystem::path& folder,
         const std::vector<std::pair<std::string, std::string>>& defines, bool modeller,
         std::optional<double> budget)
{
  std::string error;
  txhost::Scenario scenario;
  if (!txhost::LoadScenario(script, scenario, error)) {
    std::cerr << "txhost: " << txhost::Printable(error) << "\n";
    return ExitFailure;
  }
  txhost::Host host;
  if (!folder.empty()) {
    // The host hands paths to a library as wide text, which holds UTF-8 names only: another name would reach
    // the library as some other folder's.
    if (!txhost::IsUtf8Text(folder.string())) {
      std::cerr << "txhost: cannot use the folder " << txhost::Printable(folder.string())
                << ": its name is not UTF-8\n";
      return ExitFailure;
    }
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    const std::error_code made = ec;
    if (!std::filesystem::is_directory(folder, ec)) {
      std::cerr << "txhost: cannot make the folder " << txhost::Printable(folder.string())
                << (made ? ": " + made.message() : "") << "\n";
      return ExitFailure;
    }
    host.SetDocumentsFolder(folder);
  }
  txhost::solid::TEvaluator solids(host);
  solids.SetProgress(&std::cerr);
  if (budget) solids.SetSeconds(*budget);
  // As a host with its modeller: a library told that a feature failed answers as it would there. Only the
  // runs that fail every host call in turn leave it off, to keep their thousands of plays cheap.
  if (modeller) host.SetSolidModeller(&solids);
  // The evaluator goes before the host, which must not reach it then, however the play ends.
  struct Detach
  {
    txhost::Host& H;
    ~Detach() { H.SetSolidModeller(nullptr); }
  } detach{host};
  // The player owns the library, so it goes before the host.
  txhost::ScenarioPlayer player(host, std::cout);
  player.SetSolids(&solids);
  for (const auto& [name, value] : defines)
    player.Define(name, value);
  const bool ok = player.Play(scenario, error);
  std::cout.flush();
  if (!ok) {
    std::cerr << "txhost: " << txhost::Printable(error) << "\n";
    return ExitFailure;
  }
  return 0;
}

} // namespace

int main(int argc, char** argv)
{
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    std::cout << Usage;
    return 0;
  }
  if (!args.empty() && (args[0] == "check" || args[0] == "render" || args[0] == "export")) {
    if (args.size() < 2) {
      std::cerr << Usage;
      return ExitUsage;
    }
    try {
      return Solids(args);
    } catch (const std::exception& e) {
      std::cerr << "txhost: " << txhost::Printable(e.what()) << "\n";
      return ExitFailure;
    }
  }
  if (args.empty() || args[0] != "run" || args.size() < 2) {
    std::cerr << Usage;
    return ExitUsage;
  }
  std::filesystem::path script;
  std::filesystem::path folder;
  std::vector<std::pair<std::string, std::string>> defines;
  bool modeller = true;
  std::optional<double> budget;
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--no-modeller") {
      modeller = false;
    } else if (args[i] == "--budget") {
      double seconds = 0;
      if (budget || i + 1 >= args.size() || !Budget(args[i + 1], seconds)) {
        std::cerr << "txhost: --budget needs a number of seconds, 0 or more, once\n" << Usage;
        return ExitUsage;
      }
      budget = seconds;
      ++i;
    } else if (args[i] == "--folder") {
      if (i + 1 >= args.size()) {
        std::cerr << "txhost: --folder needs a directory\n" << Usage;
        return ExitUsage;
      }
      folder = args[++i];
    } else if (args[i] == "--define") {
      const std::size_t eq = i + 1 < args.size() ? args[i + 1].find('=') : std::string::npos;
      if (eq == std::string::npos || eq == 0) {
        std::cerr << "txhost: --define needs NAME=VALUE\n" << Usage;
        return ExitUsage;
      }
      ++i;
      defines.emplace_back(args[i].substr(0, eq), args[i].substr(eq + 1));
    } else if (script.empty() && !args[i].starts_with("--")) {
      script = args[i];
    } else {
      std::cerr << "txhost: unexpected argument \"" << args[i] << "\"\n" << Usage;
      return ExitUsage;
    }
  }
  if (script.empty()) {
    std::cerr << Usage;
    return ExitUsage;
  }
  try {
    return Play(script, folder, defines, modeller, budget);
  } catch (const std::exception& e) {
    std::cerr << "txhost: " << txhost::Printable(e.what()) << "\n";
  } catch (...) {
    std::cerr << "txhost: unknown failure\n";
  }
  return ExitFailure;
}
