#pragma once

#include "txhost/lib/Facet.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace txhost {

// A kind of host object: its name, the host's type code and the interfaces its objects offer.
struct KindSpec
{
  std::string Name;
  int TypeCode = 0;
  std::vector<FacetEntry> Facets;

  const FacetEntry* Find(std::string_view iid) const;
};

// Every kind of object the host knows. Each kind offers ITavrixAPIObject besides its own interfaces.
class KindTable
{
public:
  static const KindTable& Builtin();

  const KindSpec* Find(std::string_view name) const;
  // The kind; throws HostError for an unknown name.
  const KindSpec& Get(std::string_view name) const;
  std::vector<std::string> Names() const;

  void Add(std::string name, int typeCode, std::vector<FacetEntry> facets);

private:
  std::map<std::string, KindSpec, std::less<>> Kinds;
};

// Kind names used by the host itself.
namespace kinds {
inline constexpr std::string_view Application = "application";
inline constexpr std::string_view Registrar = "registrar";
inline constexpr std::string_view Documents = "documents";
inline constexpr std::string_view Error = "error";
inline constexpr std::string_view Translator = "translator";
inline constexpr std::string_view LibraryRecord = "library-record";
inline constexpr std::string_view Part = "part";
inline constexpr std::string_view ProgressBar = "progress-bar";
} // namespace kinds

} // namespace txhost

#include "txapi/Enums.h"

namespace txhost {

// The kind of the documents of type t ("drawing", "part-document", ...); empty for a type the host does not
// make.
std::string_view DocumentKind(txapi::DocumentTypeEnum t);
// The document type of a document kind; 0 for any other kind.
int DocumentTypeOfKind(std::string_view kind);
// The name of a document type as scenarios and reports use it ("drawing", "part", ...); the number for a
// type the host does not make.
std::string DocumentTypeName(int type);
// The document type of such a name; 0 for an unknown name.
int DocumentTypeOfName(std::string_view name);

} // namespace txhost
