#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace txhost {

struct FileStamp;

class Host;
class Object;

// Document files are JSON:
//   {"format": "txhost-document", "version": 1, "type": <DocumentTypeEnum>,
//    "objects": [{"kind": k, "parent": i|null, "members": [i...], "applied": b, "props": {...}}, ...]}
// objects[0] is the document itself; parents come before their children; a reference inside the properties
// is {"$obj": i} with i an index into objects, or null when it led outside the document. An object's entry
// leaves out what it does not have: "applied" when false, "members" when none, "parent" when none, "props"
// when empty.
inline constexpr int DocumentFileVersion = 1;
// The largest document file, for reading and writing alike: a document too large for it is refused when
// saved, with a message, rather than written as a file that would not open; a file whose document would not
// fit it saved is refused when opened.
inline constexpr std::size_t MaxDocumentFileBytes = std::size_t(64) << 20;
inline constexpr int MaxDocumentFileDepth = 64;
// The host keeps the parse of document files up to this size (Host::ParsedFiles), and of this many bytes of
// them in all; a larger document is read straight into its objects.
inline constexpr std::size_t MaxKeptParseBytes = std::size_t(1) << 20;
inline constexpr std::size_t MaxKeptParsesBytes = std::size_t(8) << 20;

// Writes the document and its objects to file, through a temporary file beside it (WriteOutputFile), so
// that a failed write leaves an existing file as it was; code as there. Indented, unless only the form
// without indentation fits the limit. The host keeps the tree written, as if the file had been read.
bool WriteDocumentFile(Host& host, const Object& document, const std::filesystem::path& file,
                       std::string& error, int* code = nullptr, FileStamp* stamp = nullptr);
// The text WriteDocumentFile would write for the document.
bool DocumentFileText(const Host& host, const Object& document, std::string& text, std::string& error);
// Writes text as file, the way WriteDocumentFile does.
bool WriteDocumentText(const std::filesystem::path& file, const std::string& text, std::string& error,
                       int* code = nullptr);

// Reads a document file into the host: the new document object (not yet in the document list), or nullptr
// and a message in error. A file that fails any check creates nothing. With mayNotSave, says whether the
// document's saved form might not fit a document file (only then is it worth measuring).
Object* ReadDocumentFile(Host& host, const std::filesystem::path& file, std::string& error,
                         bool* mayNotSave = nullptr);

} // namespace txhost
