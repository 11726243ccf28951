// What the host opens, it saves again within the file limit, or says at once that it cannot.
#include "TestSupport.h"

#include "txhost/lib/DocumentFile.h"
#include "txhost/lib/Host.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using txhost::Host;
using txhost::Object;

const std::string FileHead = R"({"format":"txhost-document","version":1,"type":4,"objects":[)"
                             R"({"kind":"part-document","props":{"type":4}})";

// The text of a JSON document in the writer's form without indentation: what it holds, whatever its layout.
std::size_t ContentSize(const std::string& text)
{
  return txhost::Value::parse(text).dump().size();
}

// Every object's state, member list, parent and property map were written out, empty or not: a document of
// many small objects took four times its file once saved, and one of a million empty parts that opened could
// not be saved. Over every document file the project holds and one of empty objects, what is saved holds no
// more than what was read.
TEST(SaveBack, WhatIsSavedHoldsNoMoreThanWhatWasRead)
{
  std::string empty = FileHead;
  for (int i = 0; i < 1000; ++i)
    empty += R"(,{"kind":"part"},{"kind":"part","parent":0,"members":[1]})";
  std::vector<std::string> texts{empty + "]}"};
  for (const char* folder : {"/txhost", "/duvozadu", "/../../Duvozadu/data", "/../../fuzz/corpus/docfile"})
    for (const auto& e : std::filesystem::directory_iterator(HXCAD_TEST_DATA + std::string(folder))) {
      const std::string ext = e.path().extension().string();
      if (ext == ".tpt" || ext == ".tas" || ext == ".tdr") texts.push_back(txhost::test::ReadFile(e.path()));
    }
  txhost::test::TempDir dir;
  std::size_t opened = 0;
  for (const std::string& text : texts) {
    txhost::test::WriteFile(dir / "read.tpt", text);
    Host host;
    std::string error, saved;
    Object* d = host.OpenDocument(dir / "read.tpt", false, &error);
    if (d == nullptr) continue; // a seed cut short
    ++opened;
    ASSERT_TRUE(txhost::DocumentFileText(host, *d, saved, error)) << error;
    EXPECT_LE(ContentSize(saved), ContentSize(text)) << text.substr(0, 200);
  }
  EXPECT_GE(opened, 8u);
}

// At the size of the limit, where HXCAD_LARGE_DOCUMENTS asks for it (each reads and writes tens of MB).
class LargeDocument : public ::testing::Test
{
protected:
  void SetUp() override
  {
    if (std::getenv("HXCAD_LARGE_DOCUMENTS") == nullptr) GTEST_SKIP() << "set HXCAD_LARGE_DOCUMENTS to run";
  }
  txhost::test::TempDir Dir;
};

TEST_F(LargeDocument, AMillionEmptyPartsSaveAgain)
{
  std::string text = FileHead;
  for (int i = 0; i < 1000000; ++i)
    text += R"(,{"kind":"part"})";
  txhost::test::WriteFile(Dir / "parts.tpt", text + "]}");
  Host host;
  std::string error;
  Object* d = host.OpenDocument(Dir / "parts.tpt", false, &error);
  ASSERT_NE(d, nullptr) << error;
  ASSERT_TRUE(host.SaveDocumentAs(*d, Dir / "again.tpt", &error)) << error;
  EXPECT_LE(std::filesystem::file_size(Dir / "again.tpt"), txhost::MaxDocumentFileBytes);
}

// Numbers the writer gives longer than the file did ("1e14" becomes "100000000000000.0"): a file within
// the limit whose document would not fit it saved is refused when opened, creating nothing, rather than
// opened to fail at its save.
void WriteGrowingDocument(const std::filesystem::path& file)
{
  const std::size_t values = txhost::MaxDocumentFileBytes / 16;
  std::string numbers;
  numbers.reserve(values * 5);
  for (std::size_t i = 0; i < values; ++i)
    numbers += i != 0 ? ",1e14" : "1e14";
  txhost::test::WriteFile(file, FileHead + R"(,{"kind":"part","props":{"data":[)" + numbers + "]}}]}");
}

TEST_F(LargeDocument, ADocumentThatWouldNotFitSavedIsRefusedWhenOpened)
{
  WriteGrowingDocument(Dir / "numbers.tpt");
  Host host;
  const std::size_t before = host.Objects().size();
  std::string error;
  EXPECT_EQ(host.OpenDocument(Dir / "numbers.tpt", false, &error), nullptr);
  EXPECT_EQ(error.rfind((Dir / "numbers.tpt").string() + ": the document is too large to save again (", 0),
            0u)
      << error;
  EXPECT_EQ(host.Objects().size(), before);
}

// Checking, drawing and exporting never save: they open such a document as the reader takes it (they once
// refused it as too large to save again). Cheap enough to run always.
TEST(SaveBack, ADocumentOnlyReadOpensWhateverItsSavedSize)
{
  txhost::test::TempDir dir;
  WriteGrowingDocument(dir / "numbers.tpt");
  Host host;
  std::string error;
  Object* d = host.OpenDocument(dir / "numbers.tpt", false, &error, false);
  ASSERT_NE(d, nullptr) << error;
  EXPECT_TRUE(host.IsOpen(*d));
  EXPECT_EQ(Host::DocumentPath(*d), dir / "numbers.tpt");
}

} // namespace
