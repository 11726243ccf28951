#pragma once
// What a scenario asks of the solid evaluator. The evaluator is a library of its own (txhost/solid, over a
// solid modeller) that only the txhost program and the tests that ask link; it installs itself on a
// player, and the steps that need it fail with a clear message where none is installed.
#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

namespace txhost {

class Object;

class SolidLink
{
public:
  virtual ~SolidLink() = default;
  // Prints the evaluation of a 3D document: per part its volume, solids and what each feature did; per
  // assembly its components' clashes and fasteners. Sets faults to the number of faults found (a cut or
  // boss that changed nothing or failed, a part that is not one solid, a clash, a bolt or pin in no hole).
  // False with the reason when the document cannot be evaluated.
  virtual bool Check(Object& document, std::ostream& out, int& faults, std::string& error) = 0;
  // Draws the document's solids shaded as PNG (a section at the XOY plane with section) or writes them as
  // STEP, by the file's extension (.png, .step). The components it could not place are left out of the
  // file and named in leftOut, each "NAME: why".
  virtual bool Save(Object& document, const std::filesystem::path& file, bool section,
                    std::vector<std::string>& leftOut, std::string& error) = 0;
  // Counts of an evaluated document: "clashes" between components, "solids" of a part or of an assembly's
  // components together.
  virtual bool Count(Object& document, const std::string& what, long long& n, std::string& error) = 0;
  // What a feature of the document's top part did: "removes", "adds", "nothing" or "failed".
  virtual bool Effect(Object& document, const Object& feature, std::string& effect, std::string& error) = 0;
};

} // namespace txhost
