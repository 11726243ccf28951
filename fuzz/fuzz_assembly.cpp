// Assemblies through the solid evaluator's walk of their components: arbitrary bytes are an assembly (and,
// after a line "--", a second document beside it) whose components name files of a scratch folder: the
// documents themselves, a part, a missing file, a pipe and a folder ("{scratch}" in the input stands for the
// folder). Components that hold their own assembly, cannot be read or stand by no rigid motion are left
// out, each with its reason; the walk always ends, and nothing aborts.
#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "fuzz/FuzzScratch.h"
#include "txhost/lib/Host.h"
#include "txhost/solid/Evaluator.h"

namespace {

// A part with no solid feature: components reach a readable part without the modeller's time.
const char* const PlainPart = R"({"format":"txhost-document","version":1,"type":4,"objects":[)"
                              R"({"kind":"part-document","props":{"type":4,"topPart":{"$obj":1}}},)"
                              R"({"kind":"part","parent":0,"props":{"name":"plain"}}]})";

struct TFolder
{
  hxcad::fuzz::Scratch Dir{"fuzz_assembly"};
  TFolder()
  {
    const std::string part(PlainPart);
    hxcad::fuzz::WriteInput(Dir / "part.tpt", reinterpret_cast<const std::uint8_t*>(part.data()),
                            part.size());
    std::filesystem::create_directory(Dir / "folder.tpt");
    ::mkfifo((Dir / "pipe.tpt").c_str(), 0600);
  }
};

const hxcad::fuzz::Scratch& Scratch()
{
  static const TFolder folder;
  return folder.Dir;
}

void Write(const std::filesystem::path& file, std::string text)
{
  const std::string folder = Scratch().Path().string();
  for (std::size_t at = text.find("{scratch}"); at != std::string::npos;
       at = text.find("{scratch}", at + folder.size()))
    text.replace(at, 9, folder);
  hxcad::fuzz::WriteInput(file, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::size_t cut = input.find("\n--\n");
  const auto in = Scratch() / "in.tas";
  Write(in, input.substr(0, cut));
  Write(Scratch() / "sub.tas", cut == std::string::npos ? std::string() : input.substr(cut + 4));
  txhost::Host host;
  std::string error;
  txhost::Object* document = host.OpenDocument(in, false, &error, false);
  if (document == nullptr) return 0;
  txhost::solid::TEvaluator evaluator(host);
  txhost::solid::TDocumentResult r;
  // The components placed, not checked against each other: the walk is what is fuzzed here.
  if (evaluator.Evaluate(*document, r, error, false)) {
    for (const std::string& left : r.LeftOut)
      if (left.find(": ") == std::string::npos) __builtin_trap(); // every component left out says why
    if (r.Placed.size() != r.Parts.size()) __builtin_trap();
  } else if (error.empty()) {
    __builtin_trap(); // a refusal always says why
  }
  host.CloseDocument(*document);
  return 0;
}
