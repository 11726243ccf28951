// What the host opens, it saves again within the file limit, or says at once that it cannot.
#include "TestSupport.h"

#include "txhost/lib/DocumentFile.h"
#include "txhost/lib/Host.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

using txhost::Host;
using txhost::Object;

const std::string FileHead = R"({"format":"txhost-document","version":1,"type":4,"objects":[)"
                             R"({"kind":"part-document","props":{"type":4}})";

// A million empty parts took four times their text once saved (every state, member list, parent and property
// map written out, empty or not): a file that opened could not be saved.
TEST(SaveBack, AMillionEmptyPartsSaveAgain)
{
  txhost::test::TempDir dir;
  std::string text = FileHead;
  for (int i = 0; i < 1000000; ++i)
    text += R"(,{"kind":"part"})";
  txhost::test::WriteFile(dir / "parts.tpt", text + "]}");
  Host host;
  std::string error;
  Object* d = host.OpenDocument(dir / "parts.tpt", false, &error);
  ASSERT_NE(d, nullptr) << error;
  ASSERT_TRUE(host.SaveDocumentAs(*d, dir / "again.tpt", &error)) << error;
  EXPECT_LE(std::filesystem::file_size(dir / "again.tpt"), txhost::MaxDocumentFileBytes);
}

// Numbers the writer gives longer than the file did ("1e14" becomes "100000000000000.0"): a file within
// the limit whose document would not fit it saved is refused when opened, creating nothing, rather than
// opened to fail at its save.
TEST(SaveBack, ADocumentThatWouldNotFitSavedIsRefusedWhenOpened)
{
  txhost::test::TempDir dir;
  const std::size_t values = txhost::MaxDocumentFileBytes / 16;
  std::string numbers;
  numbers.reserve(values * 5);
  for (std::size_t i = 0; i < values; ++i)
    numbers += i != 0 ? ",1e14" : "1e14";
  txhost::test::WriteFile(dir / "numbers.tpt",
                          FileHead + R"(,{"kind":"part","props":{"data":[)" + numbers + "]}}]}");
  Host host;
  const std::size_t before = host.Objects().size();
  std::string error;
  EXPECT_EQ(host.OpenDocument(dir / "numbers.tpt", false, &error), nullptr);
  EXPECT_EQ(error.rfind((dir / "numbers.tpt").string() + ": the document is too large to save again (", 0),
            0u)
      << error;
  EXPECT_EQ(host.Objects().size(), before);
}

} // namespace
