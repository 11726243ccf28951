#include "TestSupport.h"

#include "txapi/IApplication.h"
#include "txhost/lib/Drawing2D.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Scenario.h"
#include "txhost/lib/SymbolFacets.h"

#include "tests/TestNames.h"

#include <gtest/gtest.h>

#include <chrono>
#include <iostream>
#include <ostream>
#include <sstream>
#include <thread>

namespace {

using txhost::Host;
using txhost::Scenario;
using txhost::ScenarioPlayer;

Scenario Parse(const std::string& text)
{
  Scenario s;
  std::string error;
  EXPECT_TRUE(txhost::ParseScenario(text, "t.txs", "/scripts", s, error)) << error;
  return s;
}

struct BadLine
{
  std::string Text;
  const char* Error;
};

void PrintTo(const BadLine& b, std::ostream* os)
{
  *os << b.Text;
}

class ScenarioSyntaxTest : public ::testing::TestWithParam<BadLine>
{
};

TEST_P(ScenarioSyntaxTest, IsReportedWithItsLineNumber)
{
  Scenario s;
  std::string error;
  EXPECT_FALSE(txhost::ParseScenario(GetParam().Text, "t.txs", "/scripts", s, error));
  EXPECT_EQ(error, GetParam().Error);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ScenarioSyntaxTest,
    ::testing::Values(
        BadLine{"launch 200", "t.txs:1: unknown command \"launch\""},
        BadLine{"# comment\n\n  new drawing\nrun",
                "t.txs:4: missing arguments; usage: run COMMAND [mode MODE]"},
        BadLine{"run twelve", "t.txs:1: not a command number: \"twelve\""},
        BadLine{"run 99999999999",
                "t.txs:1: a command number out of range (0 to 4294967295): \"99999999999\""},
        BadLine{"run -1", "t.txs:1: a command number out of range (0 to 4294967295): \"-1\""},
        BadLine{"state 2147483648",
                "t.txs:1: a number out of range (-2147483648 to 2147483647): \"2147483648\""},
        BadLine{"run 1 mode", "t.txs:1: \"mode\" needs a value; usage: run COMMAND [mode MODE]"},
        BadLine{"run 1 mode x", "t.txs:1: not a mode: \"x\""},
        BadLine{"new part as \"\"", "t.txs:1: a document name cannot be empty"},
        BadLine{"new part as none", "t.txs:1: \"none\" cannot name a document: it means no document"},
        BadLine{"open p.tpt as active",
                "t.txs:1: \"active\" cannot name a document: it means the active document"},
        BadLine{"new part\nnew part as \"a\xff\"", "t.txs:2: not UTF-8 text (or a NUL byte)"},
        BadLine{std::string("new part as a\0b", 15), "t.txs:1: not UTF-8 text (or a NUL byte)"},
        BadLine{"\xef\xbb\xbf\xc0\xaf", "t.txs:1: not UTF-8 text (or a NUL byte)"},
        BadLine{"new drawing extra", "t.txs:1: unexpected \"extra\"; usage: new TYPE [as NAME] [hidden]"},
        BadLine{"new textual",
                "t.txs:1: unknown document type \"textual\" (drawing, fragment, specification, part, "
                "assembly, technology-assembly or 1-5, 7)"},
        BadLine{"new 6", "t.txs:1: unknown document type \"6\" (drawing, fragment, specification, part, "
                         "assembly, technology-assembly or 1-5, 7)"},
        BadLine{"new part as a as b", "t.txs:1: \"as\" given twice; usage: new TYPE [as NAME] [hidden]"},
        BadLine{"new part hidden as", "t.txs:1: \"as\" needs a value; usage: new TYPE [as NAME] [hidden]"},
        BadLine{"hide-message 3", "t.txs:1: hide-message state must be 0, 1 or 2, not \"3\""},
        BadLine{"answer maybe", "t.txs:1: expected yes or no, not \"maybe\""},
        BadLine{"close d later", "t.txs:1: expected nosave, save or ask, not \"later\""},
        BadLine{"print all", "t.txs:1: print takes only \"objects\", not \"all\""},
        BadLine{"queue place 1e400 0 0", "t.txs:1: not a finite number: \"1e400\""},
        BadLine{"queue place 0 nan 0 final", "t.txs:1: not a finite number: \"nan\""},
        BadLine{"queue place 0 0 -inf", "t.txs:1: not a finite number: \"-inf\""},
        BadLine{"expect", "t.txs:1: expect what?"},
        BadLine{"expect weather sunny", "t.txs:1: unknown command \"expect weather\""},
        BadLine{"expect message \"open", "t.txs:1: unterminated quote"},
        BadLine{"expect message \"a\"b", "t.txs:1: a quoted word must end at a blank"},
        BadLine{"new drawing\r\nload\r\n", "t.txs:2: missing arguments; usage: load PATH [record NAME] [font "
                                           "TEXT] [norecord]"}),
    hxcad::test::CaseNames());

TEST(ScenarioParseTest, WordsQuotesOptionsAndComments)
{
  const Scenario s = Parse("# header\n"
                           "load \"my lib.so\" font \"#Stamp - Regular\" record Lib # trailing\n"
                           "expect message \"say \\\"hi\\\" \\\\ bye\"\n"
                           "expect callbacks run-command command-state library-id\n"
                           "expect message \"\"\n");
  ASSERT_EQ(s.Steps.size(), 4u);
  EXPECT_EQ(s.Steps[0].Line, 2);
  EXPECT_EQ(s.Steps[0].Command, "load");
  EXPECT_EQ(s.Steps[0].Words, std::vector<std::string>{"my lib.so"});
  EXPECT_EQ(s.Steps[0].Options.at("font"), "#Stamp - Regular");
  EXPECT_EQ(s.Steps[0].Options.at("record"), "Lib");
  EXPECT_EQ(s.Steps[1].Words, std::vector<std::string>{"say \"hi\" \\ bye"});
  EXPECT_EQ(s.Steps[2].Words.size(), 3u);
  EXPECT_EQ(s.Steps[3].Words, std::vector<std::string>{""});
}

class ScenarioPlayTest : public ::testing::Test
{
protected:
  ScenarioPlayTest() { H.SetDocumentsFolder(Dir.path()); }

  bool Play(const std::string& text)
  {
    Scenario s;
    if (!txhost::ParseScenario(text, "t.txs", Dir.path(), s, Error)) return false;
    return Player.Play(s, Error);
  }

  txhost::test::TempDir Dir;
  Host H;
  std::string Error;
  std::ostringstream Out;
  ScenarioPlayer Player{H, Out};
};

TEST_F(ScenarioPlayTest, DocumentsAreMadeSavedReopenedAndClosed)
{
  ASSERT_TRUE(Play("new part as p\n"
                   "new drawing\n"
                   "expect active drawing\n"
                   "save p {folder}/p.tpt\n"
                   "save doc2 d.tdr\n"
                   "expect file p.tpt\n"
                   "expect file {folder}/d.tdr\n"
                   "close p\n"
                   "expect documents 1\n"
                   "open p.tpt as again\n"
                   "expect active part\n"
                   "activate doc2\n"
                   "expect active 1\n"
                   "activate none\n"
                   "expect active none\n"
                   "close again\n"
                   "expect active none\n"
                   "expect documents 1\n"))
      << Error;
  EXPECT_FALSE(Play("activate none\nclose active"));
  EXPECT_EQ(Error, "t.txs:2: close: no active document");
  EXPECT_FALSE(Play("close p"));
  EXPECT_EQ(Error, "t.txs:1: close: document \"p\" is closed");
}

TEST_F(ScenarioPlayTest, TheFirstFailingStepStopsTheScriptWithItsLine)
{
  EXPECT_FALSE(Play("new drawing\n"
                    "expect documents 2\n"
                    "new part\n"));
  EXPECT_EQ(Error, "t.txs:2: expect documents: 1 documents are open");
  EXPECT_EQ(H.Documents().size(), 1u);
}

struct FailingStep
{
  const char* Text;
  const char* Error;
};

void PrintTo(const FailingStep& f, std::ostream* os)
{
  *os << f.Text;
}

class ScenarioStepFailureTest : public ScenarioPlayTest, public ::testing::WithParamInterface<FailingStep>
{
};

TEST_P(ScenarioStepFailureTest, NamesWhatWentWrong)
{
  EXPECT_FALSE(Play(GetParam().Text));
  EXPECT_EQ(Error, GetParam().Error);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ScenarioStepFailureTest,
    ::testing::Values(
        FailingStep{"run 200", "t.txs:1: run: the library registered no run-command callback"},
        FailingStep{"state 200", "t.txs:1: state: the library registered no command-state callback"},
        FailingStep{"library-id", "t.txs:1: library-id: the library registered no library-id callback"},
        FailingStep{"unload", "t.txs:1: unload: no library is loaded"},
        FailingStep{"save nothing", "t.txs:1: save: no document named \"nothing\""},
        FailingStep{"new drawing\nsave doc1", "t.txs:2: save: cannot save: the document has no file name"},
        FailingStep{"expect message hello", "t.txs:1: expect message: no further message was shown"},
        FailingStep{"expect callbacks run-command",
                    "t.txs:1: expect callbacks: the library registered (none)"},
        FailingStep{"expect hide-message 2", "t.txs:1: expect hide-message: the hide-message state is 0"},
        FailingStep{"expect error-resets 1",
                    "t.txs:1: expect error-resets: the error object was reset 0 times"},
        FailingStep{"new part\nqueue change x 1\nqueue stop\nprint",
                    "t.txs:2: queue: 2 queued steps were never played: no command ran after them"}),
    hxcad::test::CaseNames());

TEST_F(ScenarioPlayTest, PathsAreNamedInFailures)
{
  EXPECT_FALSE(Play("open absent.tdr"));
  EXPECT_EQ(Error, "t.txs:1: open: " + (Dir / "absent.tdr").string() + ": no such file");
  EXPECT_FALSE(Play("expect file nothing.tdr"));
  EXPECT_EQ(Error, "t.txs:1: expect file: no file " + (Dir / "nothing.tdr").string());
  // Wide text carries no name that is not UTF-8: such a folder would reach a library as another's name.
  Player.Define("latin", "caf\xe9");
  EXPECT_FALSE(Play("folder {latin}"));
  EXPECT_EQ(Error, "t.txs:1: folder: cannot use the folder " + (Dir / "caf").string() +
                       "\\xE9: its name is not UTF-8");
  EXPECT_FALSE(Play("load {latin}/libx.so"));
  EXPECT_EQ(Error, "t.txs:1: load: cannot load library " + (Dir / "caf").string() +
                       "\\xE9/libx.so: its path is not UTF-8");
  EXPECT_FALSE(std::filesystem::exists(Dir / "caf\xe9"));
}

TEST_F(ScenarioPlayTest, DefinedNamesAndTheFolderAreExpanded)
{
  Player.Define("name", "s");
  ASSERT_TRUE(
      Play("new drawing\nsave doc1 {folder}/{name}.tdr\nexpect file {name}.tdr\nfolder sub\nexpect file "
           "../{name}.tdr\n"))
      << Error;
  EXPECT_EQ(H.DocumentsFolder(), Dir / "sub");
  EXPECT_TRUE(std::filesystem::is_directory(Dir / "sub"));
}

TEST_F(ScenarioPlayTest, PrintShowsWhatTheHostHolds)
{
  ASSERT_TRUE(Play("hide-message 1\nnew assembly as a\nnew drawing\nprint\n")) << Error;
  const std::string out = Out.str();
  EXPECT_NE(out.find("documents: 2"), std::string::npos) << out;
  EXPECT_NE(out.find("1. assembly"), std::string::npos) << out;
  EXPECT_NE(out.find("2. drawing"), std::string::npos) << out;
  EXPECT_NE(out.find("(not saved) active"), std::string::npos) << out;
  EXPECT_NE(out.find("hide-message: 1"), std::string::npos) << out;
  EXPECT_NE(out.find("objects the library still holds: 0"), std::string::npos) << out;
}

// What a library placed in a drawing is listed: its blocks and the specification entries made with them.
TEST_F(ScenarioPlayTest, PrintListsADrawingsBlocksAndSpecificationEntries)
{
  ASSERT_TRUE(Play("new drawing as d\n")) << Error;
  txhost::Object* d = H.Documents().at(0);
  txhost::Object& block = H.Create(txhost::model2d::Macro, d, d);
  block.Set("command", 200);
  block.Set("library-file", "libVUVudirido");
  block.Set("x", 60.0);
  block.Set("y", 100.5);
  block.Set("angle", 0.0);
  block.MarkApplied();
  H.Create(txhost::model2d::Macro, d, d).MarkApplied(); // a piece of a block, not a block
  txhost::Object& entry = H.Create(txhost::spec::Entry, d, d);
  entry.Set("section", 15);
  entry.Set("columns", txhost::Value{{"5", "Муфта 16"}});
  entry.MarkApplied();
  ASSERT_TRUE(Play("print\n")) << Error;
  const std::string out = Out.str();
  EXPECT_NE(out.find("    blocks: 1\n      block #" + std::to_string(block.Id()) +
                     " command 200 of \"libVUVudirido\" at (60, 100.5) angle 0\n"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find("    specification entries: 1\n      entry #" + std::to_string(entry.Id()) +
                     " section 15 [5] \"Муфта 16\"\n"),
            std::string::npos)
      << out;
}

// A message box the library shows well into a step (a build waiting for another build's folder) is said at
// once on the error stream, not only in the transcript when the step ends; a quick step's messages are not
// said twice.
TEST_F(ScenarioPlayTest, AMessageShownWellIntoAStepIsSaidAtOnce)
{
  std::ostringstream said;
  std::streambuf* const was = std::cerr.rdbuf(said.rdbuf());
  ASSERT_TRUE(Play("new part")) << Error; // a step starts: its clock is the one the watch reads
  H.Application().ShowMessage(L"Сразу");
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  H.Application().ShowMessage(L"Ожидание другой сборки");
  std::cerr.rdbuf(was);
  EXPECT_EQ(said.str().find("Сразу"), std::string::npos) << said.str();
  EXPECT_NE(said.str().find("s into the step: \"Ожидание другой сборки\""), std::string::npos) << said.str();
}

} // namespace
