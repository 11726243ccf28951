// Document files of the stand-in host: arbitrary bytes are opened as a document; whatever
// opens must be pictured, save (unless too large for any file, which is said) and reopen, and closing
// must leave no object referenced.
#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>

#include "fuzz/FuzzScratch.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/SvgWriter.h"

namespace {

const std::filesystem::path& Scratch()
{
  static const hxcad::fuzz::Scratch dir("fuzz_docfile");
  return dir.Path();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  const auto in = hxcad::fuzz::WriteInput(Scratch() / "in.tpt", data, size);
  txhost::Host host;
  host.SetDocumentsFolder(Scratch());
  std::string error;
  txhost::Object* document = host.OpenDocument(in, false, &error);
  if (document == nullptr) {
    if (error.empty()) __builtin_trap(); // a refusal always says why
    return 0;
  }
  std::ostringstream picture;
  txhost::WriteSvg(*document, picture);
  const auto again = Scratch() / "again.tpt";
  if (!host.SaveDocumentAs(*document, again, &error)) {
    // Only a document that no form of the file can hold within the limit is refused (a number written
    // longer than it was read may push one at the limit past it), and then with a message.
    if (error.find("too large to save") == std::string::npos) __builtin_trap();
    host.CloseDocument(*document);
    return 0;
  }
  host.CloseDocument(*document);
  txhost::Object* reopened = host.OpenDocument(again, false, &error);
  if (reopened == nullptr) __builtin_trap(); // what this host wrote, it reads back
  host.CloseDocument(*reopened);
  return 0;
}
