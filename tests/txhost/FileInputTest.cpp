#include "TestSupport.h"

#include "txhost/lib/FileInput.h"
#include "txhost/lib/Text.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <thread>
#include <vector>

namespace {

using txhost::ReadInputFile;

// Scripts and documents were read to the end whatever their size (an endless device until memory ran out),
// and a folder read as an empty script that played.
TEST(FileInputTest, EveryKindOfInputIsBoundedOrRefusedWithAReason)
{
  txhost::test::TempDir dir;
  std::string text, error;
  txhost::test::WriteFile(dir / "f", "12345");
  EXPECT_TRUE(ReadInputFile(dir / "f", 5, text, error));
  EXPECT_EQ(text, "12345");
  const std::pair<std::filesystem::path, std::string> refused[]{
      {dir / "f", ": larger than 4 bytes"},   {dir.path(), ": is a folder, not a file"},
      {"/dev/zero", ": not a regular file"},  {dir / "absent", ": no such file"},
  };
  for (const auto& [file, why] : refused) {
    EXPECT_FALSE(ReadInputFile(file, 4, text, error));
    EXPECT_EQ(error, file.string() + why);
    EXPECT_TRUE(text.empty());
  }
  // A pipe has no size to check first: the limit holds while reading.
  ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
  // The reader stops early: the writer's next write fails rather than killing the test.
  const auto pipeHandler = std::signal(SIGPIPE, SIG_IGN);
  std::thread writer([&] {
    const int fd = ::open((dir / "pipe").c_str(), O_WRONLY);
    const std::string chunk(1000, 'x');
    for (int i = 0; i < 100 && ::write(fd, chunk.data(), chunk.size()) > 0; ++i) {
    }
    ::close(fd);
  });
  EXPECT_FALSE(ReadInputFile(dir / "pipe", 5000, text, error));
  writer.join();
  std::signal(SIGPIPE, pipeHandler);
  EXPECT_EQ(error, (dir / "pipe").string() + ": larger than 5000 bytes");
}

// Checked against an independent decoder: the host's own FromUtf8 marks bad sequences with U+FFFD.
TEST(FileInputTest, PrintableEscapesExactlyTheBytesThatAreNotUtf8Text)
{
  for (const std::string& text : std::vector<std::string>{"plain", "\xd0\x81\xe2\x82\xac\xf0\x9f\x98\x80", "\xff", "a\xc0\xaf", "\xed\xa0\x80",
                                 "\xf4\x90\x80\x80", "\xe2\x82", std::string("a\0b", 3), "tab\there"}) {
    const bool valid = txhost::FromUtf8(text).find(L'\xFFFD') == std::wstring::npos &&
                       text.find('\0') == std::string::npos;
    EXPECT_EQ(txhost::IsUtf8Text(text), valid) << text;
    const std::string shown = txhost::Printable(text);
    EXPECT_TRUE(txhost::IsUtf8Text(shown));
    EXPECT_EQ(shown == text, valid) << shown;
  }
  EXPECT_EQ(txhost::Printable("a\xff\n"), "a\\xFF\\x0A");
}

} // namespace
