// Document files of the stand-in host: arbitrary bytes are opened as a document; whatever
// opens must be pictured, save and reopen, and closing
// must leave no object referenced; read the way a large document is read, it opens or is refused alike.
#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>

#include "fuzz/FuzzScratch.h"
#include "txhost/lib/DocumentFile.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/SvgWriter.h"

namespace {

const std::filesystem::path& Scratch()
{
  static const hxcad::fuzz::Scratch dir("fuzz_docfile");
  return dir.Path();
}

// The error without the byte it names.
std::string WithoutPosition(const std::string& error)
{
  return error.substr(0, error.find(" (at byte "));
}

// Set when libFuzzer runs the target; a replay program reads every input both ways.
bool Fuzzing = false;

// Whether this input is also read the way a large document is. The padded copy, over a mebibyte of blanks,
// takes a hundred times as long to read as the rest: read for every input, it held the fuzzer to some ten
// inputs a second. While fuzzing, one input in 32 is, chosen by its bytes, so that an input found failing
// fails again when it is run alone.
bool ReadAsLarge(const uint8_t* data, size_t size)
{
  if (!Fuzzing) return true;
  std::uint32_t h = 2166136261u;
  for (size_t i = 0; i < size; ++i)
    h = (h ^ data[i]) * 16777619u;
  return h % 32 == 0;
}

// A document too large for the host to keep its parse of is read straight into its objects: the same bytes
// behind leading blanks that make them so must open to the same document, or be refused with the same
// message. The file is written again under its name, so that the messages name the same file.
void OpensAlikeWhenTooLargeToKeep(const std::filesystem::path& file, const uint8_t* data, size_t size,
                                  txhost::Object* document, const std::string& error)
{
  if (size > txhost::MaxKeptParseBytes || !ReadAsLarge(data, size)) return;
  std::string padded(txhost::MaxKeptParseBytes + 1, ' ');
  padded.append(reinterpret_cast<const char*>(data), size);
  hxcad::fuzz::WriteInput(file, reinterpret_cast<const uint8_t*>(padded.data()), padded.size());
  txhost::Host other;
  std::string otherError, text, otherText;
  txhost::Object* again = other.OpenDocument(file, false, &otherError);
  if ((again == nullptr) != (document == nullptr)) __builtin_trap();
  if (again == nullptr) {
    if (WithoutPosition(otherError) != WithoutPosition(error)) __builtin_trap();
    return;
  }
  std::string ignored;
  if (txhost::DocumentFileText(other, *again, otherText, ignored) !=
          txhost::DocumentFileText(document->GetHost(), *document, text, ignored) ||
      text != otherText)
    __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
  Fuzzing = true;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  const auto in = hxcad::fuzz::WriteInput(Scratch() / "in.tpt", data, size);
  txhost::Host host;
  host.SetDocumentsFolder(Scratch());
  std::string error;
  txhost::Object* document = host.OpenDocument(in, false, &error);
  OpensAlikeWhenTooLargeToKeep(in, data, size, document, error);
  if (document == nullptr) {
    if (error.empty()) __builtin_trap(); // a refusal always says why
    return 0;
  }
  std::ostringstream picture;
  txhost::WriteSvg(*document, picture);
  const auto again = Scratch() / "again.tpt";
  // What opens, saves: a document that would not fit a file once saved is refused when opened.
  if (!host.SaveDocumentAs(*document, again, &error)) __builtin_trap();
  host.CloseDocument(*document);
  txhost::Object* reopened = host.OpenDocument(again, false, &error);
  if (reopened == nullptr) __builtin_trap(); // what this host wrote, it reads back
  host.CloseDocument(*reopened);
  return 0;
}
