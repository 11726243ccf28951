// Scenario scripts of the stand-in host: arbitrary bytes are parsed as a script (nothing is played, no
// library is loaded). A refusal names the script and a line of it; a script that parses has only known
// commands, and parses the same way again from its own steps written back as text.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "txhost/lib/Scenario.h"

namespace {

void Check(bool ok)
{
  if (!ok) std::abort();
}

// A word written so that the parser reads it back as it is.
std::string Quoted(const std::string& word)
{
  std::string q = "\"";
  for (char c : word) {
    if (c == '"' || c == '\\') q += '\\';
    q += c;
  }
  return q + '"';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  txhost::Scenario s;
  std::string error;
  if (!txhost::ParseScenario(text, "f.txs", "/scripts", s, error)) {
    Check(error.rfind("f.txs:", 0) == 0 && error.size() > 6);
    return 0;
  }
  Check(s.Name == "f.txs" && s.Folder == "/scripts");
  std::string again;
  int line = 0;
  for (const txhost::ScenarioStep& step : s.Steps) {
    Check(step.Line > line && !step.Command.empty());
    line = step.Line;
    again += step.Command;
    for (const std::string& w : step.Words)
      again += " " + Quoted(w);
    for (const auto& [key, value] : step.Options)
      again += " " + key + (key == "hidden" || key == "norecord" ? std::string() : " " + Quoted(value));
    again += '\n';
  }
  txhost::Scenario t;
  Check(txhost::ParseScenario(again, "g.txs", "/scripts", t, error));
  Check(t.Steps.size() == s.Steps.size());
  for (std::size_t i = 0; i < s.Steps.size(); ++i)
    Check(t.Steps[i].Command == s.Steps[i].Command && t.Steps[i].Words == s.Steps[i].Words &&
          t.Steps[i].Options == s.Steps[i].Options);
  return 0;
}
