#pragma once
// The host's documents as solids: a part's placed features built in order, an assembly's components (and
// their sub-assemblies' components) placed in space and checked against each other. Evaluated only when
// asked, and kept per part and per assembly by what they are made of, so that asking again after no change
// costs no modelling, and equal components (four pins of one file) are built once.
#include "txhost/lib/SolidLink.h"
#include "txhost/solid/Solid.h"

#include <memory>

namespace txhost {
class Host;
class Object;
}

namespace txhost::solid {

// One evaluated 3D document.
struct TDocumentResult
{
  bool Assembly = false;
  std::string Name;
  // A part: itself; an assembly: its leaf components in world space, each with its part's evaluation.
  std::vector<TPlaced> Placed;
  std::vector<std::shared_ptr<const TPartResult>> Parts;
  std::shared_ptr<const TAssemblyResult> Checked; // assemblies only
  // Components left out, each "NAME: why": a part that cannot be read, an assembly that holds itself, a
  // placement that is no rigid motion.
  std::vector<std::string> LeftOut;
};

class TEvaluator final : public SolidLink
{
public:
  explicit TEvaluator(Host& host);
  ~TEvaluator() override;
  TEvaluator(const TEvaluator&) = delete;
  TEvaluator& operator=(const TEvaluator&) = delete;

  // The document's solids; false with the reason for a document that is no part or assembly. Without
  // components, an assembly's components are placed but not checked against each other.
  bool Evaluate(Object& document, TDocumentResult& out, std::string& error, bool components = true);
  // The faults of an evaluation, one line each (see SolidLink::Check).
  static std::vector<std::string> Faults(const TDocumentResult& r);

  bool Check(Object& document, std::ostream& out, int& faults, std::string& error) override;
  bool Save(Object& document, const std::filesystem::path& file, bool section,
            std::vector<std::string>& leftOut, std::string& error) override;
  bool Count(Object& document, const std::string& what, long long& n, std::string& error) override;
  bool Effect(Object& document, const Object& feature, std::string& effect, std::string& error) override;

  // How many parts and assemblies were modelled (not taken from the cache) so far.
  int Modelled() const;
  // Where a long evaluation says how far it has come, every few seconds; nowhere by default.
  void SetProgress(std::ostream* out);
  // How many seconds of processor time the check of an assembly's components may take (0: as long as it
  // takes); a minute by default. What it leaves is said as not checked.
  void SetSeconds(double seconds);

private:
  bool Evaluated(Object& document, TDocumentResult& out, std::string& error, bool components);
  struct TState;
  std::unique_ptr<TState> S;
};

// Whether a part must stand in holes of the parts it joins: the library that built it marked it so (its
// bolts, screws, pins and the bushings that take a pin's place), whatever its name.
bool MustBeSeated(const Object& part);
// Whether a part travels with a fastener and joins nothing (a nut, a washer, the bushes on a pin): the
// library that built it marked it so.
bool TravelsWithFastener(const Object& part);

} // namespace txhost::solid
