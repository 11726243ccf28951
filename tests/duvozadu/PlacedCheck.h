#pragma once
// The cheap checks of a built coupling's saved assembly, by where its features lie.
#include <string>
#include <vector>

#include "txhost/lib/Host.h"
#include "txhost/lib/PlacementChecks.h"

// The assembly's components, and what the checks find in them: every part's cuts and bosses, every fastener
// off the coupling's axis (x) on the axis of the holes it passes, and every bolt and pin through two parts.
inline std::vector<std::string> PlacedFindings(txhost::Host& host, const txhost::Object& assembly,
                                               std::vector<txhost::place::PlacedComponent>& parts)
{
  using namespace txhost::place;
  parts = ComponentsOf(host, *host.TopPart(assembly));
  std::vector<int> met;
  std::vector<std::string> findings = CheckAssembly(parts, {0, 0, 0}, {1, 0, 0}, &met);
  for (std::size_t k = 0; k < parts.size(); ++k)
    if ((parts[k].Name.rfind("Болт", 0) == 0 || parts[k].Name.rfind("Палец", 0) == 0) && met[k] < 2)
      findings.push_back(parts[k].Name + " meets the holes of " + std::to_string(met[k]) + " parts");
  return findings;
}

inline std::string FindingsText(const std::vector<std::string>& findings)
{
  std::string s;
  for (const std::string& f : findings)
    s += f + "\n";
  return s;
}
