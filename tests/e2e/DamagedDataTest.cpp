// The built plug-in played beside a hand-damaged text base: a table with fewer columns than its builders
// read, or whose values stop inside a row, is missing with its message, one with a value that is not a
// number is refused with a message naming the table and the row, and nothing is placed or read past its
// end.

#include "txhost/lib/Host.h"
#include "txhost/lib/Model.h"
#include "txhost/lib/Object.h"
#include "txhost/lib/Scenario.h"
#include "txhost/lib/Text.h"

#include "tests/PipeWatch.h"
#include "tests/TestNames.h"
#include "tests/txhost/TestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

std::u16string ReadUtf16(const fs::path& file)
{
  std::ifstream in(file, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), {}};
  std::u16string text(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < text.size(); ++i)
    text[i] = char16_t(std::uint8_t(bytes[2 * i]) | std::uint8_t(bytes[2 * i + 1]) << 8);
  return text;
}

void WriteUtf16(const fs::path& file, const std::u16string& text)
{
  std::string bytes;
  for (char16_t c : text) {
    bytes += char(c & 0xFF);
    bytes += char(c >> 8);
  }
  std::ofstream(file, std::ios::binary) << bytes;
}

struct Damage
{
  const char* Name;
  std::u16string From, To;       // the first From in the base becomes To
  const char* Missing;           // the table then missing; null: the coupling is still placed
  const char* Message = nullptr; // what the user is told, when not that the table is missing
};

void PrintTo(const Damage& d, std::ostream* os)
{
  *os << d.Name;
}

// The library and its phantom copied into dir, where the test puts the text base; answers the
// library's path.
fs::path CopyLibrary(const fs::path& dir)
{
  const fs::path plugin(HXCAD_PLUGIN), lib = dir / plugin.filename();
  fs::copy_file(plugin, lib);
  fs::copy_file(plugin.parent_path() / "PhCoupling.tpt", dir / "PhCoupling.tpt");
  return lib;
}

// A host playing the library's command once in a new drawing: a block placed at (100, 50).
struct TPlacing
{
  TPlacing(const fs::path& lib, const fs::path& dir, const char* name)
  {
    const std::string text = "load " + lib.string() +
                             "\nnew drawing as sheet\nqueue place 10 10 0\nqueue place 100 50 0 final\n"
                             "queue button 2\nrun 200\n";
    Parsed = txhost::ParseScenario(text, name, dir, Scenario, Error);
    H.SetDocumentsFolder(dir);
  }
  bool Play() { return Player.Play(Scenario, Error); }

  txhost::Host H;
  std::ostringstream Log;
  txhost::ScenarioPlayer Player{H, Log};
  txhost::Scenario Scenario;
  std::string Error;
  bool Parsed = false;
};

class DamagedTextBase : public ::testing::TestWithParam<Damage>
{
};

TEST_P(DamagedTextBase, ATableThatCannotBeReadWholeIsMissing)
{
  const Damage& d = GetParam();
  txhost::test::TempDir dir;
  const fs::path lib = CopyLibrary(dir.path());
  std::u16string base = ReadUtf16(fs::path(HXCAD_PLUGIN).parent_path() / "VUVudirido.tb");
  const std::size_t at = base.find(d.From);
  ASSERT_NE(at, std::u16string::npos);
  base.replace(at, d.From.size(), d.To);
  WriteUtf16(dir.path() / "VUVudirido.tb", base);

  TPlacing p(lib, dir.path(), "damaged");
  ASSERT_TRUE(p.Parsed) << p.Error;
  ASSERT_TRUE(p.Play()) << p.Error << "\n" << p.Log.str();
  txhost::Host& h = p.H;
  std::size_t blocks = 0;
  for (const txhost::Object* o : h.ObjectsOfKind("macro"))
    if (o->Prop("command") == 200 && !txhost::model::Deleted(*o)) ++blocks;
  if (!d.Missing) {
    EXPECT_EQ(blocks, 1u);
    return;
  }
  EXPECT_EQ(blocks, 0u) << "nothing placed";
  EXPECT_TRUE(h.ObjectsOfKind("spec-object").empty());
  const auto messages = h.Messages();
  ASSERT_FALSE(messages.empty());
  for (const std::wstring& m : messages)
    EXPECT_EQ(txhost::ToUtf8(m),
              d.Message ? std::string(d.Message) : std::string("Необнаружена таблица ") + d.Missing);
  p.Player.Unload();
}

INSTANTIATE_TEST_SUITE_P(Damages, DamagedTextBase,
                         ::testing::Values(Damage{"main_columns", u"\"Муфты\" 20 17", u"\"Муфты\" 1 0",
                                                  "МУВП"},
                                           Damage{"main_row_cut", u"\t8800\t71\t", u"\t71\t", "МУВП"},
                                           // The tokeniser knows no exponent: this would read as 1.
                                           Damage{"main_exponent", u"\t8800\t71\t", u"\t8800\t1e308\t",
                                                  "МУВП", "Неверное значение в таблице МУВП, строка 1"},
                                           Damage{"pin_unit", u"\t94\t12\t", u"\t94\t12мм\t", "МУВП.Палец",
                                                  "Неверное значение в таблице МУВП.Палец, строка 3"},
                                           Damage{"pin_columns", u"\"Вспомогательный\" 19 0",
                                                  u"\"Вспомогательный\" 1 0", "МУВП.Палец"},
                                           Damage{"keyway_columns", u"\"Вспомогательный\" 6 0",
                                                  u"\"Вспомогательный\" 2 0", nullptr}),
                         hxcad::test::CaseNames());

// A text base that is a named pipe kept the library waiting for ever as it loaded. It is refused at once with
// its reason, and the library's commands then place nothing.
TEST(TextBaseKinds, APipeIsRefusedAtOnceWithItsReason)
{
  txhost::test::TempDir dir;
  const fs::path lib = CopyLibrary(dir.path()), base = dir.path() / "VUVudirido.tb";
  ASSERT_EQ(::mkfifo(base.c_str(), 0600), 0);
  hxcad::test::PipeWatch watch(base, 5000);
  TPlacing p(lib, dir.path(), "pipe");
  ASSERT_TRUE(p.Parsed) << p.Error;
  EXPECT_TRUE(p.Play()) << p.Error << "\n" << p.Log.str();
  txhost::Host& h = p.H;
  EXPECT_FALSE(watch.Waited()) << "the library waited for the pipe";
  const auto messages = h.Messages();
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(txhost::ToUtf8(messages.front()), "Ошибка открытия файла " + base.string() + ": это не файл");
  for (const txhost::Object* o : h.ObjectsOfKind("macro"))
    EXPECT_TRUE(o->Prop("command") != 200 || txhost::model::Deleted(*o));
  EXPECT_TRUE(fs::is_fifo(base));
  p.Player.Unload();
}

// A standard's name in the text base that holds a folder separator went into the names of the files a 3D
// build writes: "ГОСТ 21424-93/../../esc" wrote them into the documents folder's parent, and a plain "/"
// aimed at a subfolder. Such a name is refused with its reason before anything is written, and nothing
// appears outside the documents folder or in it.
TEST(TextBaseNames, AStandardNameWithAFolderSeparatorWritesNothing)
{
  for (const std::u16string& standard :
       {std::u16string(u"ГОСТ 21424-93/../../esc"), std::u16string(u"ГОСТ 21424/93")}) {
    txhost::test::TempDir dir;
    const fs::path lib = CopyLibrary(dir.path()), docs = dir / "user" / "docs";
    fs::create_directories(docs / "ГОСТ 21424");
    std::u16string base = ReadUtf16(fs::path(HXCAD_PLUGIN).parent_path() / "VUVudirido.tb");
    const std::u16string from = u"\"МУВП\" \"ГОСТ 21424-93\"";
    const std::size_t at = base.find(from);
    ASSERT_NE(at, std::u16string::npos);
    base.replace(at, from.size(), u"\"МУВП\" \"" + standard + u"\"");
    WriteUtf16(dir / "VUVudirido.tb", base);
    const auto listing = [&] {
      std::vector<std::string> files;
      for (const auto& e : fs::recursive_directory_iterator(dir.path()))
        files.push_back(e.path().string());
      std::sort(files.begin(), files.end());
      return files;
    };
    const auto before = listing();
    txhost::Host h;
    h.SetDocumentsFolder(docs);
    std::ostringstream log;
    txhost::ScenarioPlayer player(h, log);
    txhost::Scenario scenario;
    std::string error;
    ASSERT_TRUE(
        txhost::ParseScenario("load " + lib.string() +
                                  "\nnew assembly as asm\nqueue change \"Вал 1\" \"  40.00\"\n"
                                  "queue pick face 0\nqueue button 1\nqueue button 1\nqueue button 2\n"
                                  "run 200\n",
                              "climbing", dir.path(), scenario, error))
        << error;
    EXPECT_TRUE(player.Play(scenario, error)) << error << "\n" << log.str();
    EXPECT_EQ(listing(), before) << log.str();
    ASSERT_FALSE(h.Messages().empty());
    EXPECT_EQ(txhost::ToUtf8(h.Messages().front()),
              "Знак \"/\" недопустим в имени файла: " +
                  txhost::ToUtf8(std::wstring(standard.begin(), standard.end())));
    player.Unload();
  }
}

} // namespace
