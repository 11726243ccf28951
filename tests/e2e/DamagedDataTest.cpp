// The built plug-in played beside a hand-damaged text base: a table with fewer columns than its builders
// read, or whose values stop inside a row, is missing with its message, one with a value that is not a
// number or a size that is not positive is refused with a message naming the table and the row, and nothing
// is placed or read past its end. The panel says so as soon as such a coupling is chosen and offers nothing,
// and each refusal is said once.

#include "txhost/lib/Events.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Model.h"
#include "txhost/lib/Object.h"
#include "txhost/lib/Scenario.h"
#include "txhost/lib/Text.h"

#include "tests/PipeWatch.h"
#include "tests/TestNames.h"
#include "tests/duvozadu/EditCheck.h"
#include "tests/txhost/TestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

using txhost::test::ReadUtf16;
using txhost::test::WriteUtf16;

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

// The shipped text base as the library reads it.
std::u16string ShippedBase()
{
  return ReadUtf16(fs::path(HXCAD_PLUGIN).parent_path() / "VUVudirido.tb");
}

// Sets the value in the column of every row of the named table, or of row `only` (from 0), to text.
void SetColumn(std::u16string& base, const std::u16string& table, int column, const std::u16string& text,
               int only = -1)
{
  const std::size_t head = base.find(u"# \"" + table + u"\"");
  ASSERT_NE(head, std::u16string::npos);
  const std::size_t from = base.find(u'{', head) + 1, to = base.find(u'}', from);
  std::u16string body, line;
  int row = 0;
  for (std::size_t i = from; i <= to; ++i) {
    if (i < to && base[i] != u'\n') {
      line += base[i];
      continue;
    }
    // A row is a tab before each value.
    std::vector<std::u16string> fields{u""};
    for (char16_t c : line)
      c == u'\t' ? fields.push_back(u"") : void(fields.back() += c);
    if (fields.size() > std::size_t(column + 1)) {
      if (only < 0 || only == row) fields[std::size_t(column + 1)] = text;
      ++row;
    }
    for (std::size_t f = 0; f < fields.size(); ++f)
      body += (f ? u"\t" : u"") + fields[f];
    body += i < to ? u"\n" : u"";
    line.clear();
  }
  base.replace(from, to - from, body);
}

// The library copied into a folder of its own beside a text base made for the test, played by a host whose
// documents go there too.
struct TLibraryHost
{
  explicit TLibraryHost(const fs::path& dir) : Dir(dir), Lib(CopyLibrary(dir)) { H.SetDocumentsFolder(dir); }
  ~TLibraryHost() { Player.Unload(); }
  // Plays the scenario lines; the steps queued in Script() go to the first command they run.
  bool Play(const std::string& lines)
  {
    txhost::Scenario s;
    return txhost::ParseScenario(lines, "damaged", Dir, s, Error) && Player.Play(s, Error);
  }
  txhost::EventScript& Script() { return txhost::EventScript::Of(H); }
  // Loads the library and plays its command once in a new drawing: a block placed at (100, 50).
  bool PlaceOnce()
  {
    Script().Place(10, 10, 0, true);
    Script().Place(100, 50, 0, false);
    Script().Button(2);
    return Play("load " + Lib.string() + "\nnew drawing as sheet\nrun 200\n");
  }
  std::vector<std::string> Said() const
  {
    std::vector<std::string> out;
    for (const std::wstring& m : H.Messages())
      out.push_back(txhost::ToUtf8(m));
    return out;
  }
  // The part and assembly files of coupling builds in the folder.
  std::vector<std::string> Built() const
  {
    std::vector<std::string> out;
    for (const fs::directory_entry& e : fs::directory_iterator(Dir))
      if ((e.path().extension() == ".tas" || e.path().extension() == ".tpt") &&
          e.path().filename() != "PhCoupling.tpt")
        out.push_back(e.path().filename().string());
    return out;
  }
  std::size_t Live(const char* kind) const
  {
    std::size_t n = 0;
    for (const txhost::Object* o : H.ObjectsOfKind(kind))
      n += !txhost::model::Deleted(*o) && (std::string(kind) != "macro" || o->Prop("command") == 200);
    return n;
  }

  fs::path Dir, Lib;
  txhost::Host H;
  std::ostringstream Log;
  txhost::ScenarioPlayer Player{H, Log};
  std::string Error;
};

class DamagedTextBase : public ::testing::TestWithParam<Damage>
{
};

TEST_P(DamagedTextBase, ATableThatCannotBeReadWholeIsMissing)
{
  const Damage& d = GetParam();
  txhost::test::TempDir dir;
  std::u16string base = ShippedBase();
  const std::size_t at = base.find(d.From);
  ASSERT_NE(at, std::u16string::npos);
  base.replace(at, d.From.size(), d.To);
  WriteUtf16(dir.path() / "VUVudirido.tb", base);

  TLibraryHost l(dir.path());
  ASSERT_TRUE(l.PlaceOnce()) << l.Error << "\n" << l.Log.str();
  if (!d.Missing) {
    EXPECT_EQ(l.Live("macro"), 1u);
    return;
  }
  EXPECT_EQ(l.Live("macro"), 0u) << "nothing placed";
  EXPECT_TRUE(l.H.ObjectsOfKind("spec-object").empty());
  ASSERT_FALSE(l.Said().empty());
  for (const std::string& m : l.Said())
    EXPECT_EQ(m, d.Message ? std::string(d.Message) : std::string("Необнаружена таблица ") + d.Missing);
}

INSTANTIATE_TEST_SUITE_P(Damages, DamagedTextBase,
                         ::testing::Values(Damage{"main_columns", u"\"Муфты\" 20 17", u"\"Муфты\" 1 0",
                                                  "МУВП"},
                                           // The table is there: its row is named with its count.
                                           Damage{"main_row_cut", u"\t8800\t71\t", u"\t71\t", "МУВП",
                                                  "Неверное значение в таблице МУВП, строка 1: 19 значений, "
                                                  "нужно 20"},
                                           // The tokeniser knows no exponent: this would read as 1.
                                           Damage{"main_exponent", u"\t8800\t71\t", u"\t8800\t1e308\t",
                                                  "МУВП", "Неверное значение в таблице МУВП, строка 1"},
                                           Damage{"pin_unit", u"\t94\t12\t", u"\t94\t12мм\t", "МУВП.Палец",
                                                  "Неверное значение в таблице МУВП.Палец, строка 3"},
                                           Damage{"pin_columns", u"\"Вспомогательный\" 19 0",
                                                  u"\"Вспомогательный\" 1 0", "МУВП.Палец"},
                                           // Every coupling cuts keyways: without their table it is refused.
                                           Damage{"keyway_columns", u"\"Вспомогательный\" 6 0",
                                                  u"\"Вспомогательный\" 2 0", "Шпоночный паз"}),
                         hxcad::test::CaseNames());

// A text base that is a named pipe kept the library waiting for ever as it loaded. It is refused at once with
// its reason, and the library's commands then place nothing.
TEST(TextBaseKinds, APipeIsRefusedAtOnceWithItsReason)
{
  txhost::test::TempDir dir;
  const fs::path base = dir.path() / "VUVudirido.tb";
  ASSERT_EQ(::mkfifo(base.c_str(), 0600), 0);
  hxcad::test::PipeWatch watch(base, 5000);
  TLibraryHost l(dir.path());
  EXPECT_TRUE(l.PlaceOnce()) << l.Error << "\n" << l.Log.str();
  EXPECT_FALSE(watch.Waited()) << "the library waited for the pipe";
  ASSERT_FALSE(l.Said().empty());
  EXPECT_EQ(l.Said().front(), "Ошибка открытия файла " + base.string() + ": это не файл");
  EXPECT_EQ(l.Live("macro"), 0u);
  EXPECT_TRUE(fs::is_fifo(base));
}

struct PanelDamage
{
  const char* Name;
  const char* Type; // the coupling chosen; the panel opens on the МУВП
  std::function<void(std::u16string&)> Damage;
  const char* Said;
};

void PrintTo(const PanelDamage& d, std::ostream* os)
{
  *os << d.Name;
}

std::function<void(std::u16string&)> Replace(std::u16string from, std::u16string to)
{
  return [from, to](std::u16string& base) {
    const std::size_t at = base.find(from);
    ASSERT_NE(at, std::u16string::npos);
    base.replace(at, from.size(), to);
  };
}

// Sets the column's value in every row of the table, or in row `only` (from 0), to text.
std::function<void(std::u16string&)> Column(std::u16string table, int column, std::u16string text,
                                            int only = -1)
{
  return [=](std::u16string& base) { SetColumn(base, table, column, text, only); };
}

class DamagedPanel : public ::testing::TestWithParam<PanelDamage>
{
};

// A coupling whose tables cannot be read is said so as soon as it is chosen, naming the table and the row,
// and the panel lists no torque and no shaft: nothing that every click would refuse, never another coupling's
// values. A click and an Enter on it then build nothing and say nothing more, in 2D and in 3D.
TEST_P(DamagedPanel, ACouplingWhoseTablesCannotBeReadIsSaidAtOnceAndOffersNothing)
{
  const PanelDamage& d = GetParam();
  txhost::test::TempDir dir;
  std::u16string base = ShippedBase();
  d.Damage(base);
  WriteUtf16(dir.path() / "VUVudirido.tb", base);
  TLibraryHost l(dir.path());
  ASSERT_TRUE(l.Play("load " + l.Lib.string() + "\nnew drawing as sheet\n")) << l.Error;

  if (std::string(d.Type) != "МУВП ГОСТ 21424-93") l.Script().ChangeControl(L"Муфта", d.Type);
  txhost::Value lists;
  std::vector<std::string> saidOnChoice;
  l.Script().Queue([&](txhost::Object& process) {
    saidOnChoice = l.Said();
    txhost::Object& panel = *txhost::ProcessParamOf(process);
    for (const wchar_t* list : {L"Момент", L"Вал 1", L"Вал 2"})
      lists.push_back(txhost::FindControl(panel, list)->Prop("items"));
  });
  l.Script().Place(100, 50, 0, true);
  l.Script().Place(100, 50, 0, false);
  l.Script().Button(2);
  ASSERT_TRUE(l.Play("run 200\n")) << l.Error;
  EXPECT_EQ(saidOnChoice, std::vector<std::string>{d.Said}) << "said when chosen";
  EXPECT_EQ(lists, txhost::Value({txhost::Value::array(), txhost::Value::array(), txhost::Value::array()}));
  EXPECT_EQ(l.Live("macro") + l.Live("spec-object"), 0u) << "nothing placed";
  EXPECT_EQ(l.Said(), std::vector<std::string>{d.Said}) << "the click says it no more";

  // The 3D command opens on the same coupling: said once, and Enter builds nothing.
  l.Script().Button(1);
  l.Script().Button(2);
  ASSERT_TRUE(l.Play("new assembly as asm\nrun 200\nexpect objects asm part 1\n")) << l.Error;
  EXPECT_EQ(l.Said(), (std::vector<std::string>{d.Said, d.Said}));
  EXPECT_EQ(l.Built(), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(
    Damages, DamagedPanel,
    ::testing::Values(PanelDamage{"pin_row_unit", "МУВП ГОСТ 21424-93",
                                  Replace(u"\t94\t12\t", u"\t94\t12мм\t"),
                                  "Неверное значение в таблице МУВП.Палец, строка 3"},
                      // The tokeniser knows no exponent: the shaft would be listed as 1.
                      PanelDamage{"bore_exponent", "МУВП ГОСТ 21424-93",
                                  Replace(u"\t1\t10\t50\t23", u"\t1\t1e1\t50\t23"),
                                  "Неверное значение в таблице МУВП, строка 1"},
                      PanelDamage{"outer_diameter_zero_every_row", "МУВП ГОСТ 21424-93",
                                  Column(u"МУВП", 2, u"0"), "Неверное значение в таблице МУВП, строка 1"},
                      PanelDamage{"outer_diameter_minus_zero", "МУВП ГОСТ 21424-93",
                                  Column(u"МУВП", 2, u"-0", 4), "Неверное значение в таблице МУВП, строка 5"},
                      PanelDamage{"shared_bolt_row_unit", "Фланцевая ГОСТ 20761-96",
                                  Replace(u"\t13\t24\t3\t30", u"\t13\t24\t3\t30мм"),
                                  "Неверное значение в таблице Муфта.Болты фланца, строка 6"},
                      PanelDamage{"shared_bolt_across_flats_zero", "Торообразная ГОСТ Р 50892-96",
                                  Column(u"Муфта.Болты фланца", 3, u"0", 3),
                                  "Неверное значение в таблице Муфта.Болты фланца, строка 4"},
                      PanelDamage{"flanged_main_missing", "Фланцевая ГОСТ 20761-96",
                                  Replace(u"# \"Муфта фланцевая\"", u"# \"Муфта фланцевая 2\""),
                                  "Необнаружена таблица Муфта фланцевая"}),
    hxcad::test::CaseNames());

// A block whose coupling's tables were damaged after it was placed is edited as itself: the panel says why
// once, and Enter leaves the drawing as it was without saying it again.
TEST(DamagedEdit, AnEditOfABlockWhoseTablesCannotBeReadSaysWhyOnceAndChangesNothing)
{
  txhost::test::TempDir placedDir;
  WriteUtf16(placedDir.path() / "VUVudirido.tb", ShippedBase());
  {
    TLibraryHost placing(placedDir.path());
    placing.Script().ChangeControl(L"Муфта", "Фланцевая ГОСТ 20761-96");
    placing.Script().Place(100, 50, 0, false);
    placing.Script().Button(2);
    ASSERT_TRUE(
        placing.Play("load " + placing.Lib.string() +
                     "\nnew drawing as sheet\nrun 200\nexpect objects sheet macro[command=200] 1\nsave "
                     "sheet placed.tdr\n"))
        << placing.Error;
  }
  const std::pair<std::function<void(std::u16string&)>, const char*> damages[] = {
      {Replace(u"# \"Муфта фланцевая\"", u"# \"Муфта фланцевая 2\""), "Необнаружена таблица Муфта фланцевая"},
      {Column(u"Муфта фланцевая", 7, u"0", 1), "Неверное значение в таблице Муфта фланцевая, строка 2"}};
  for (const auto& [damage, said] : damages) {
    SCOPED_TRACE(said);
    txhost::test::TempDir dir;
    std::u16string base = ShippedBase();
    damage(base);
    WriteUtf16(dir.path() / "VUVudirido.tb", base);
    TLibraryHost l(dir.path());
    ASSERT_TRUE(l.Play("load " + l.Lib.string() + "\nopen " + (placedDir.path() / "placed.tdr").string() +
                       " as sheet\n"))
        << l.Error;
    const txhost::Object& sheet = *l.H.Documents().back();
    const std::string before = DocumentState(l.H, sheet);
    l.Script().Button(1);
    ASSERT_TRUE(l.Play("edit sheet macro[command=200] 0\nrun 200\nedit sheet none\n")) << l.Error;
    EXPECT_EQ(DocumentState(l.H, sheet), before);
    EXPECT_EQ(l.Said(), std::vector<std::string>{said});
  }
}

// A text base that cannot be read is named as the cause, as its load named it, once per command: never the
// tables it was looked up for, one message per table and click.
TEST(TextBaseKinds, ABaseThatCannotBeReadIsTheCauseSaidOncePerCommand)
{
  const std::function<void(const fs::path&)> bases[] = {
      [](const fs::path&) {},                                     // missing
      [](const fs::path& b) { fs::create_directory(b); },         // a folder
      [](const fs::path& b) { std::ofstream(b) << "plain text"; } // no byte-order mark
  };
  for (const auto& make : bases) {
    txhost::test::TempDir dir;
    make(dir.path() / "VUVudirido.tb");
    TLibraryHost l(dir.path());
    ASSERT_TRUE(l.Play("load " + l.Lib.string() + "\n")) << l.Error;
    ASSERT_EQ(l.Said().size(), 1u) << "said at load";
    const std::string cause = l.Said()[0];
    l.Script().Place(100, 50, 0, false);
    l.Script().Place(200, 50, 0, false);
    l.Script().Button(2);
    ASSERT_TRUE(l.Play("new drawing as sheet\nrun 200\nexpect objects sheet macro 0\n")) << l.Error;
    EXPECT_EQ(l.Said(), std::vector<std::string>(2, cause));
    l.Script().Button(1);
    l.Script().Button(2);
    ASSERT_TRUE(l.Play("new assembly as asm\nrun 200\nexpect objects asm part 1\n")) << l.Error;
    EXPECT_EQ(l.Said(), std::vector<std::string>(3, cause));
  }
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
