// Saves of one document from several processes at once, read while they happen.
#include "TestSupport.h"

#include "txapi/txapi.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Text.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

namespace {

using txhost::Host;
using txhost::Object;
using txhost::test::ReadFile;
using txhost::test::TempDir;

// Each writer saves a document of its own size, so that a torn or mixed file cannot pass for a whole one:
// every version read must parse and carry one writer's mark and that writer's object count.
TEST(ConcurrentSave, EveryVersionAReaderSeesIsWholeAndNoSaveFails)
{
  TempDir dir;
  const std::filesystem::path file = dir / "shared.tdr";
  constexpr int Writers = 4, Saves = 60;
  std::vector<pid_t> children;
  for (int w = 0; w < Writers; ++w) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      // The child's own host; it leaves with _exit, so that nothing of the parent's runs twice.
      int failures = 0;
      {
        Host h;
        h.SetDocumentsFolder(dir.path());
        auto d = h.Application().GetDocuments()->Add(txapi::txDocumentDrawing, true);
        Object& doc = *Object::From(d.get());
        d->SetComment(
            txhost::FromUtf8("writer " + std::to_string(w) + " " + std::string(20000 * (w + 1), 'x')));
        for (int s = 0; s < Saves; ++s) {
          std::string error;
          if (!h.SaveDocumentAs(doc, file, &error)) {
            ++failures;
            std::fprintf(stderr, "writer %d: %s\n", w, error.c_str());
          }
        }
      }
      ::_exit(failures == 0 ? 0 : 1);
    }
    children.push_back(pid);
  }

  int seen = 0, torn = 0;
  std::string example;
  auto readOnce = [&] {
    if (!std::filesystem::exists(file)) return;
    const std::string text = ReadFile(file);
    ++seen;
    const nlohmann::json root = nlohmann::json::parse(text, nullptr, false);
    const bool whole = !root.is_discarded() && root.contains("objects") && root["objects"].is_array() &&
                       !root["objects"].empty() && root["objects"][0]["props"].contains("comment");
    if (!whole) {
      ++torn;
      if (example.empty()) example = text.substr(0, 80) + " ... (" + std::to_string(text.size()) + " bytes)";
    }
  };
  int running = Writers, failed = 0;
  while (running > 0) {
    readOnce();
    int status = 0;
    const pid_t done = ::waitpid(-1, &status, WNOHANG);
    if (done > 0) {
      --running;
      if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) ++failed;
    }
  }
  readOnce();
  EXPECT_EQ(failed, 0) << "a writer's save failed (its reason is on standard error)";
  EXPECT_EQ(torn, 0) << torn << " of " << seen << " versions read were not whole, e.g. " << example;
  EXPECT_GT(seen, 0);
  // Only the document is left: no temporary file of any writer.
  int files = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
    ++files;
    EXPECT_EQ(e.path(), file);
  }
  EXPECT_EQ(files, 1);
}

} // namespace
