#include "TestSupport.h"

#include "txapi/txapi.h"
#include "txhost/lib/DocumentFile.h"
#include "txhost/lib/Drawing2D.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Model.h"
#include "txhost/lib/SvgWriter.h"
#include "txhost/lib/Text.h"

#include "tests/PipeWatch.h"
#include "tests/TestNames.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <limits>
#include <ostream>
#include <sstream>

#include <string>
#include <vector>

namespace {

using txapi::SmartPtr;
using txhost::Host;
using txhost::Object;
using txhost::test::ReadFile;
using txhost::test::TempDir;
using txhost::test::WriteFile;

class DocumentTest : public ::testing::Test
{
protected:
  DocumentTest() { H.SetDocumentsFolder(Dir.path()); }

  SmartPtr<txapi::IDocuments> Docs() { return H.Application().GetDocuments(); }
  SmartPtr<txapi::ITavrixDocument> Add(txapi::DocumentTypeEnum type) { return Docs()->Add(type, true); }
  SmartPtr<txapi::ITavrixDocument> Open(const std::filesystem::path& file)
  {
    return Docs()->Open(txhost::FromPath(file), true, false);
  }
  static SmartPtr<txapi::IPart> TopPart(const SmartPtr<txapi::ITavrixDocument>& d)
  {
    SmartPtr<txapi::ITavrixDocument3D> d3 = d;
    return d3 ? d3->GetTopPart() : SmartPtr<txapi::IPart>();
  }
  // The open document of a type and full file name, the last in the list when several match.
  SmartPtr<txapi::ITavrixDocument> Find(txapi::DocumentTypeEnum type, const std::wstring& name)
  {
    SmartPtr<txapi::IDocuments> docs = Docs();
    SmartPtr<txapi::ITavrixDocument> found;
    for (int i = 0; i < docs->GetCount(); ++i) {
      SmartPtr<txapi::ITavrixDocument> d = docs->GetItem(i);
      if (d->GetType() == type && d->GetFullFileName() == name) found = d;
    }
    return found;
  }

  TempDir Dir;
  Host H;
};

struct TypeCase
{
  txapi::DocumentTypeEnum Type;
  bool Offers2D;
  bool Offers3D;
};

void PrintTo(const TypeCase& c, std::ostream* os)
{
  *os << "type" << int(c.Type);
}

class DocumentTypeTest : public DocumentTest, public ::testing::WithParamInterface<TypeCase>
{
};

TEST_P(DocumentTypeTest, ANewDocumentHasItsTypeAndTheViewsOfItsType)
{
  const TypeCase& c = GetParam();
  SmartPtr<txapi::ITavrixDocument> d = Add(c.Type);
  ASSERT_TRUE(d);
  EXPECT_EQ(d->GetType(), c.Type);
  EXPECT_EQ(d->GetFullFileName(), L"");
  EXPECT_EQ(bool(SmartPtr<txapi::ITavrixDocument2D>(d)), c.Offers2D);
  EXPECT_EQ(bool(SmartPtr<txapi::ITavrixDocument3D>(d)), c.Offers3D);
  EXPECT_EQ(bool(TopPart(d)), c.Offers3D);
  EXPECT_TRUE(H.Application().GetActiveDocument() == d);
}

INSTANTIATE_TEST_SUITE_P(Types, DocumentTypeTest,
                         ::testing::Values(TypeCase{txapi::txDocumentDrawing, true, false},
                                           TypeCase{txapi::txDocumentFragment, true, false},
                                           TypeCase{txapi::txDocumentSpecification, false, false},
                                           TypeCase{txapi::txDocumentPart, false, true},
                                           TypeCase{txapi::txDocumentAssembly, false, true},
                                           TypeCase{txapi::txDocumentTechnologyAssembly, false, true}),
                         hxcad::test::CaseNames());

TEST_F(DocumentTest, TypesTheHostDoesNotMakeGiveNothing)
{
  for (int type : {0, 6, 8, -1, 1000})
    EXPECT_FALSE(Add(txapi::DocumentTypeEnum(type))) << type;
  EXPECT_EQ(Docs()->GetCount(), 0);
  EXPECT_FALSE(H.Application().GetActiveDocument());
}

TEST_F(DocumentTest, DocumentsAreListedInOrderAndTheNewestIsActive)
{
  SmartPtr<txapi::ITavrixDocument> a = Add(txapi::txDocumentDrawing);
  SmartPtr<txapi::ITavrixDocument> b = Add(txapi::txDocumentPart);
  SmartPtr<txapi::IDocuments> docs = Docs();
  EXPECT_EQ(docs->GetCount(), 2);
  EXPECT_TRUE(docs->GetItem(0) == a);
  EXPECT_TRUE(docs->GetItem(1) == b);
  EXPECT_FALSE(docs->GetItem(2));
  EXPECT_FALSE(docs->GetItem(-1));
  EXPECT_TRUE(H.Application().GetActiveDocument() == b);
  a->Activate();
  EXPECT_TRUE(H.Application().GetActiveDocument() == a);
}

TEST_F(DocumentTest, SavingWritesAFileAtTheDocumentsPath)
{
  SmartPtr<txapi::ITavrixDocument> d = Add(txapi::txDocumentPart);
  EXPECT_FALSE(d->Save()) << "a document that was never saved has no file name";
  ASSERT_TRUE(d->SaveAs(L"вал.tpt"));
  const std::filesystem::path file = Dir / "вал.tpt";
  EXPECT_FALSE(std::filesystem::exists(file)) << "a new document that holds nothing only takes the name";
  EXPECT_EQ(d->GetFullFileName(), txhost::FromPath(file)) << "relative names start at the documents folder";
  EXPECT_TRUE(d->Save());
  EXPECT_TRUE(std::filesystem::is_regular_file(file));
  std::filesystem::remove(file);
  EXPECT_TRUE(d->Save());
  EXPECT_TRUE(std::filesystem::is_regular_file(file));
  EXPECT_NE(ReadFile(file).find("\"txhost-document\""), std::string::npos);
}

TEST_F(DocumentTest, AReopenedDocumentHasTheSameContent)
{
  SmartPtr<txapi::ITavrixDocument> d = Add(txapi::txDocumentAssembly);
  SmartPtr<txapi::IPart> part = TopPart(d);
  part->SetName(L"Муфта «МУВП»");
  part->SetMarking(L"МУВП-250.00.000");
  ASSERT_TRUE(part->Update());
  ASSERT_TRUE(d->SaveAs(txhost::FromPath(Dir / "a.tas")));
  const Object& before = *Object::From(part.get());
  const txhost::Value propsBefore = before.Props();
  part.reset();
  ASSERT_TRUE(d->Close(txapi::txCloseWithoutSaving));

  SmartPtr<txapi::ITavrixDocument> again = Open(Dir / "a.tas");
  ASSERT_TRUE(again);
  EXPECT_EQ(again->GetType(), txapi::txDocumentAssembly);
  EXPECT_EQ(again->GetFullFileName(), txhost::FromPath(Dir / "a.tas"));
  SmartPtr<txapi::IPart> reread = TopPart(again);
  ASSERT_TRUE(reread);
  EXPECT_EQ(reread->GetName(), L"Муфта «МУВП»");
  EXPECT_EQ(reread->GetMarking(), L"МУВП-250.00.000");
  const Object& after = *Object::From(reread.get());
  EXPECT_EQ(after.Props(), propsBefore);
  EXPECT_TRUE(after.Applied());
  EXPECT_EQ(after.Parent(), Object::From(again.get()));
  EXPECT_NE(after.Id(), before.Id());
}

// A file read before is read again as it is now: rewritten with other content of the same length, then damaged.
TEST_F(DocumentTest, AFileReadAgainGivesWhatItHoldsNow)
{
  SmartPtr<txapi::ITavrixDocument> d = Add(txapi::txDocumentPart);
  SmartPtr<txapi::IPart> part = TopPart(d);
  part->SetName(L"Полумуфта 1");
  ASSERT_TRUE(part->Update());
  ASSERT_TRUE(d->SaveAs(txhost::FromPath(Dir / "p.tpt")));
  part.reset();
  ASSERT_TRUE(d->Close(txapi::txCloseWithoutSaving));
  const std::string first = ReadFile(Dir / "p.tpt");
  std::string second = first;
  const std::size_t at = second.find("Полумуфта 1");
  ASSERT_NE(at, std::string::npos);
  second.replace(at, std::string("Полумуфта 1").size(), "Полумуфта 2");

  for (const std::string& text : {first, second, first}) {
    WriteFile(Dir / "p.tpt", text);
    SmartPtr<txapi::ITavrixDocument> again = Open(Dir / "p.tpt");
    ASSERT_TRUE(again);
    EXPECT_EQ(TopPart(again)->GetName(), text == first ? L"Полумуфта 1" : L"Полумуфта 2");
    ASSERT_TRUE(again->Close(txapi::txCloseWithoutSaving));
  }
  WriteFile(Dir / "p.tpt", first.substr(0, first.size() / 2));
  std::string error;
  EXPECT_EQ(H.OpenDocument(Dir / "p.tpt", true, &error), nullptr);
  EXPECT_FALSE(error.empty());
}

TEST_F(DocumentTest, OpenDocumentsAreFoundByTypeAndFullFileNameTheLastMatchWinning)
{
  SmartPtr<txapi::ITavrixDocument> d = Add(txapi::txDocumentPart);
  ASSERT_TRUE(d->SaveAs(L"p.tpt"));
  SmartPtr<txapi::ITavrixDocument> first = Open(Dir / "p.tpt");
  std::filesystem::create_directory(Dir / "sub");
  SmartPtr<txapi::ITavrixDocument> second = Open(Dir / "sub/../p.tpt");
  ASSERT_TRUE(first && second);
  const std::wstring name = txhost::FromPath(Dir / "p.tpt");
  EXPECT_EQ(second->GetFullFileName(), name) << "full file names are normal paths";
  EXPECT_TRUE(Find(txapi::txDocumentPart, name) == second);
  EXPECT_FALSE(Find(txapi::txDocumentAssembly, name));
  EXPECT_FALSE(Find(txapi::txDocumentPart, L"p.tpt"));
  second->Close(txapi::txCloseWithoutSaving);
  EXPECT_TRUE(Find(txapi::txDocumentPart, name) == first);
}

TEST_F(DocumentTest, ClosingTakesTheDocumentOutOfTheHost)
{
  SmartPtr<txapi::ITavrixDocument> a = Add(txapi::txDocumentAssembly);
  SmartPtr<txapi::ITavrixDocument> b = Add(txapi::txDocumentDrawing);
  SmartPtr<txapi::ITavrixDocument> c = Add(txapi::txDocumentPart);
  b->Activate();
  EXPECT_TRUE(b->Close(txapi::txCloseWithoutSaving));
  EXPECT_TRUE(H.Application().GetActiveDocument() == c) << "the last remaining document becomes active";
  EXPECT_EQ(Docs()->GetCount(), 2);
  EXPECT_FALSE(b->Close(txapi::txCloseWithoutSaving));
  EXPECT_FALSE(b->Save());
  b->Activate();
  EXPECT_TRUE(H.Application().GetActiveDocument() == c);
  a->Close(txapi::txCloseWithoutSaving);
  EXPECT_FALSE(TopPart(a)) << "a closed document hands out nothing";
  c->Close(txapi::txCloseWithoutSaving);
  EXPECT_FALSE(H.Application().GetActiveDocument());
  EXPECT_EQ(Docs()->GetCount(), 0);
}

TEST_F(DocumentTest, ClosingWithSaveWritesTheFileOrKeepsTheDocumentOpen)
{
  SmartPtr<txapi::ITavrixDocument> unnamed = Add(txapi::txDocumentFragment);
  EXPECT_FALSE(unnamed->Close(txapi::txCloseSaveChanges)) << "nothing to save under: the document stays";
  EXPECT_EQ(Docs()->GetCount(), 1);

  ASSERT_TRUE(unnamed->SaveAs(L"f.tfg"));
  std::filesystem::remove(Dir / "f.tfg");
  EXPECT_TRUE(unnamed->Close(txapi::txCloseSaveChanges));
  EXPECT_TRUE(std::filesystem::exists(Dir / "f.tfg"));

  SmartPtr<txapi::ITavrixDocument> asked = Add(txapi::txDocumentFragment);
  ASSERT_TRUE(asked->SaveAs(L"g.tfg"));
  std::filesystem::remove(Dir / "g.tfg");
  H.QueueAnswer(false);
  EXPECT_TRUE(asked->Close(txapi::txCloseAskUser));
  EXPECT_FALSE(std::filesystem::exists(Dir / "g.tfg"));
}

TEST_F(DocumentTest, AFailedSaveLeavesTheOldFileAndNoTemporary)
{
  SmartPtr<txapi::ITavrixDocument> d = Add(txapi::txDocumentDrawing);
  ASSERT_TRUE(d->SaveAs(L"s.tdr"));
  const std::string saved = ReadFile(Dir / "s.tdr");
  std::filesystem::create_directory(Dir / "taken.tdr");
  EXPECT_FALSE(d->SaveAs(L"taken.tdr")) << "a directory is in the way";
  EXPECT_FALSE(d->SaveAs(L"missing/s.tdr"));
  EXPECT_EQ(d->GetFullFileName(), txhost::FromPath(Dir / "s.tdr")) << "the file name stays the old one";
  EXPECT_EQ(ReadFile(Dir / "s.tdr"), saved);
  for (const auto& e : std::filesystem::directory_iterator(Dir.path()))
    EXPECT_EQ(e.path().filename().string().find("tmp"), std::string::npos) << e.path();
}

struct BadFile
{
  const char* Name;
  std::string Text;
};

void PrintTo(const BadFile& f, std::ostream* os)
{
  *os << f.Name;
}

class BadDocumentFileTest : public DocumentTest, public ::testing::WithParamInterface<BadFile>
{
};

std::string Nested(int depth)
{
  std::string open(std::size_t(depth), '[');
  std::string close(std::size_t(depth), ']');
  return R"({"format":"txhost-document","version":1,"type":4,"objects":[{"kind":"part-document","props":{"x":)" +
         open + close + "}}]}";
}

const std::string Head = R"({"format":"txhost-document","version":1,"type":4,"objects":)";

// A drawing whose macro 2 holds macro 3 and macro 3 holds macro 2: it opened, and its picture grew without
// end.
std::string MacrosMembersOfEachOther()
{
  return R"({"format":"txhost-document","version":1,"type":1,"objects":[)"
         R"({"kind":"drawing","members":[1],"applied":true,"props":{"type":1}},)"
         R"({"kind":"view","parent":0,"members":[2],"applied":true},)"
         R"({"kind":"macro","parent":1,"members":[3],"applied":true},)"
         R"({"kind":"macro","parent":2,"members":[2],"applied":true}]})";
}

TEST_F(DocumentTest, AMemberCycleIsRefusedAndNamed)
{
  WriteFile(Dir / "c.tdr", MacrosMembersOfEachOther());
  std::string error;
  EXPECT_EQ(H.OpenDocument(Dir / "c.tdr", true, &error), nullptr);
  EXPECT_EQ(error, (Dir / "c.tdr").string() + ": object 2: bad member (a member of its own members)");
}

// Members shared without a cycle are no fault: two objects may list one member.
TEST_F(DocumentTest, AMemberListedByTwoObjectsOpens)
{
  WriteFile(Dir / "s.tpt", Head +
                               R"([{"kind":"part-document","members":[1,2]},{"kind":"part","members":[2]},)"
                               R"({"kind":"part"}]})");
  std::string error;
  EXPECT_NE(H.OpenDocument(Dir / "s.tpt", true, &error), nullptr) << error;
}

// 3D macros that list one object between them open: grouping is no cycle.
TEST_F(DocumentTest, Macros3DSharingWhatTheyGroupOpen)
{
  WriteFile(Dir / "m.tpt",
            Head + R"([{"kind":"part-document","members":[1]},{"kind":"part","members":[2,3,4]},)"
                   R"({"kind":"macro-3d","props":{"members":[{"$obj":4},{"$obj":3}]}},)"
                   R"({"kind":"extrusion"},{"kind":"macro-3d","props":{"members":[{"$obj":3}]}}]})");
  std::string error;
  EXPECT_NE(H.OpenDocument(Dir / "m.tpt", true, &error), nullptr) << error;
}

// A model tree whose macros each list the next one twice, the last listing itself: every way through it
// was printed (2^11 copies of the last), where each object is described once and named where met again.
TEST_F(DocumentTest, APrintDescribesEachModelObjectOnce)
{
  Object& doc = *H.NewDocument(txapi::txDocumentPart, false);
  Object& top = *H.TopPart(doc);
  constexpr int count = 12;
  std::vector<Object*> macros;
  for (int k = 0; k < count; ++k) {
    macros.push_back(&H.Create("macro-3d", &doc, &top));
    macros.back()->Set("type", 1);
  }
  for (int k = 0; k < count; ++k) {
    const Object* next = macros[std::size_t(std::min(k + 1, count - 1))];
    macros[std::size_t(k)]->Set("members",
                                txhost::Value::array({txhost::RefValue(next), txhost::RefValue(next)}));
  }
  std::ostringstream out;
  H.Describe(out, false);
  const std::string text = out.str();
  for (const Object* m : macros) {
    const std::string named = "macro-3d #" + std::to_string(m->Id());
    std::size_t described = 0, again = 0;
    for (std::size_t at = text.find(named + " "); at != std::string::npos;
         at = text.find(named + " ", at + 1))
      ++(text.compare(at + named.size(), 14, " (shown above)") == 0 ? again : described);
    EXPECT_EQ(described, 1u) << named;
    EXPECT_LE(again, 3u) << named;
  }
  EXPECT_LT(text.size(), 10000u);
}

// A print of a chain of 1,000 macros, each a member of the one before, stopped at depth 16 and named nothing
// below it. What it leaves out is counted, so that the objects printed and the ones counted are the whole
// chain, at every length around the limit and far past it, and with the last macro listing the first (a
// loop).
TEST_F(DocumentTest, APrintCountsWhatItLeavesOutBelowItsDeepestLevel)
{
  for (const int count : {1, 16, 17, 18, 19, 1000})
    for (const bool loop : {false, true}) {
      SCOPED_TRACE(std::to_string(count) + (loop ? " in a loop" : ""));
      Host host;
      Object& doc = *host.NewDocument(txapi::txDocumentPart, false);
      Object& top = *host.TopPart(doc);
      std::vector<Object*> macros;
      for (int k = 0; k < count; ++k) {
        macros.push_back(&host.Create("macro-3d", &doc, &top));
        macros.back()->Set("type", 1);
      }
      for (int k = 0; k + 1 < count; ++k)
        macros[std::size_t(k)]->Set("members",
                                    txhost::Value::array({txhost::RefValue(macros[std::size_t(k) + 1])}));
      if (loop && count > 1)
        macros.back()->Set("members", txhost::Value::array({txhost::RefValue(macros[1])}));
      std::ostringstream out;
      host.Describe(out, false);
      const std::string text = out.str();
      std::size_t printed = 0, counted = 0;
      for (const Object* m : macros)
        if (text.find("macro-3d #" + std::to_string(m->Id()) + " ") != std::string::npos) ++printed;
      const std::size_t at = text.find(" nested deeper than 16 levels not shown");
      if (at != std::string::npos) counted = std::stoul(text.substr(text.rfind('\n', at) + 1));
      EXPECT_EQ(printed + counted, std::size_t(count)) << text.substr(0, 4000);
      EXPECT_EQ(printed, std::size_t(std::min(count, 17)));
    }
}

// A macro among its own members, made through the host's calls, is drawn once and the picture ends.
TEST_F(DocumentTest, AMacroInsideItselfIsDrawnOnce)
{
  std::string text = MacrosMembersOfEachOther();
  text.replace(text.rfind("\"members\":[2]"), 13, "\"members\":[]");
  WriteFile(Dir / "c.tdr", text);
  Object* doc = H.OpenDocument(Dir / "c.tdr", true, nullptr);
  ASSERT_NE(doc, nullptr);
  Object* inner = doc->Members()[0]->Members()[0]->Members()[0];
  inner->AddMember(doc->Members()[0]->Members()[0]);
  std::string error;
  ASSERT_TRUE(txhost::SaveSvg(*doc, Dir / "c.svg", &error)) << error;
  const std::string svg = ReadFile(Dir / "c.svg");
  std::size_t groups = 0;
  for (std::size_t at = svg.find("class=\"macro\""); at != std::string::npos;
       at = svg.find("class=\"macro\"", at + 1))
    ++groups;
  EXPECT_EQ(groups, 2u);
}

// A cut line is drawn open: strokes along it at its ends and at its bend, nothing across what it cuts.
TEST_F(DocumentTest, ACutLineIsDrawnAsStrokesAtItsEndsAndBends)
{
  Object* doc = H.NewDocument(txapi::txDocumentDrawing, false);
  ASSERT_NE(doc, nullptr);
  Object& view = H.Create(txhost::model::View, doc, doc);
  Object& cut = H.Create(txhost::model2d::CutLine, doc, &view);
  cut.Set("points", txhost::Value::array({0.0, 0.0, 0.0, 100.0, 60.0, 100.0}));
  std::ostringstream out;
  txhost::WriteSvg(*doc, out);
  const std::string svg = out.str();
  const std::size_t at = svg.find("<path d=\"M");
  ASSERT_NE(at, std::string::npos) << svg;
  const std::string d = svg.substr(at + 9, svg.find('"', at + 9) - at - 9);
  // Pictures turn y downwards.
  EXPECT_EQ(d, "M0,-0 L0,-10 M0,-100 L0,-90 M0,-100 L10,-100 M60,-100 L50,-100");
}

TEST_F(DocumentTest, AnOutOfRangeTypeIsCalledOutOfRange)
{
  for (const char* type : {"1e300", "18446744073709551615", "-9"}) {
    WriteFile(Dir / "t.tpt", std::string(R"({"format":"txhost-document","version":1,"type":)") + type +
                                 R"(,"objects":[{"kind":"part-document"}]})");
    std::string error;
    EXPECT_EQ(H.OpenDocument(Dir / "t.tpt", true, &error), nullptr);
    EXPECT_NE(error.find(type[0] == '-' ? "unsupported document type -9" : "document type out of range"),
              std::string::npos) << error;
  }
}

TEST_P(BadDocumentFileTest, IsRefusedWithoutCreatingAnything)
{
  WriteFile(Dir / "bad.tpt", GetParam().Text);
  const std::size_t objects = H.Objects().size();
  std::string error;
  EXPECT_EQ(H.OpenDocument(Dir / "bad.tpt", true, &error), nullptr);
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(error.find("json"), std::string::npos) << "the JSON library's own text: " << error;
  EXPECT_FALSE(Open(Dir / "bad.tpt"));
  EXPECT_EQ(H.Objects().size(), objects);
  EXPECT_EQ(Docs()->GetCount(), 0);
}

// A text that reads as text does, too large for the host to keep its parse: such a document is read straight
// into its objects, not through a tree of the whole file.
std::string TooLargeToKeep(const std::string& text)
{
  return std::string(txhost::MaxKeptParseBytes + 1, ' ') + text;
}

// The error without the byte it names, which padding moves.
std::string WithoutPosition(std::string error)
{
  const std::size_t at = error.find(" (at byte ");
  return at == std::string::npos ? error : error.substr(0, at);
}

TEST_P(BadDocumentFileTest, IsRefusedAlikeWhenTooLargeToKeep)
{
  std::string small, large;
  WriteFile(Dir / "bad.tpt", GetParam().Text);
  EXPECT_EQ(H.OpenDocument(Dir / "bad.tpt", true, &small), nullptr);
  WriteFile(Dir / "bad.tpt", TooLargeToKeep(GetParam().Text));
  const std::size_t objects = H.Objects().size();
  EXPECT_EQ(H.OpenDocument(Dir / "bad.tpt", true, &large), nullptr);
  EXPECT_EQ(H.Objects().size(), objects);
  EXPECT_EQ(WithoutPosition(large), WithoutPosition(small));
}

INSTANTIATE_TEST_SUITE_P(
    Files, BadDocumentFileTest,
    ::testing::Values(
        BadFile{"Empty", ""}, BadFile{"NotJson", "part: shaft"},
        BadFile{"Truncated", Head + R"([{"kind":"part-doc)"}, BadFile{"NotAnObject", "[1,2,3]"},
        BadFile{"WrongFormat", R"({"format":"other","version":1})"},
        BadFile{"LaterVersion", R"({"format":"txhost-document","version":2,"type":4,"objects":[]})"},
        BadFile{"UnmadeType",
                R"({"format":"txhost-document","version":1,"type":6,"objects":[{"kind":"part"}]})"},
        BadFile{"HugeType", R"({"format":"txhost-document","version":1,"type":1e300,"objects":[]})"},
        BadFile{"InfiniteNumber", Head + R"([{"kind":"part-document","props":{"x":[1,-1e400]}}]})"},
        BadFile{"NoObjects", Head + "[]}"}, BadFile{"UnknownKind", Head + R"([{"kind":"spaceship"}]})"},
        BadFile{"ServiceKind", Head + R"([{"kind":"part-document"},{"kind":"application"}]})"},
        BadFile{"FirstIsNotTheDocument", Head + R"([{"kind":"part"}]})"},
        BadFile{"DocumentOfAnotherType", Head + R"([{"kind":"drawing"}]})"},
        BadFile{"DocumentInside", Head + R"([{"kind":"part-document"},{"kind":"part-document"}]})"},
        BadFile{"ParentAfterChild",
                Head + R"([{"kind":"part-document"},{"kind":"part","parent":2},{"kind":"part"}]})"},
        BadFile{"OwnParent", Head + R"([{"kind":"part-document"},{"kind":"part","parent":1}]})"},
        BadFile{"NegativeParent", Head + R"([{"kind":"part-document"},{"kind":"part","parent":-1}]})"},
        BadFile{"MemberOutOfRange", Head + R"([{"kind":"part-document","members":[5]}]})"},
        BadFile{"OwnMember", Head + R"([{"kind":"part-document","members":[0]}]})"},
        BadFile{"MembersNotAList", Head + R"([{"kind":"part-document","members":3}]})"},
        BadFile{"PropsNotAnObject", Head + R"([{"kind":"part-document","props":[1]}]})"},
        BadFile{"AppliedNotABoolean", Head + R"([{"kind":"part-document","applied":"yes"}]})"},
        BadFile{"TooDeep", Nested(200)},
        BadFile{"NotUtf8", Head + "[{\"kind\":\"part-document\",\"props\":{\"a\":\"\xff\"}}]}"},
        BadFile{"NameNotText", Head + R"([{"kind":"part-document"},{"kind":"part","props":{"name":5}}]})"},
        BadFile{"VisibleNotABoolean", Head + R"([{"kind":"part-document","props":{"visible":"yes"}}]})"},
        BadFile{"TopPartIsTheDocument",
                Head + R"([{"kind":"part-document","props":{"topPart":{"$obj":0}}}]})"},
        BadFile{"TopPartOutside", Head + R"([{"kind":"part-document","props":{"topPart":{"$obj":7}}}]})"},
        BadFile{"TopPartNotAReference", Head + R"([{"kind":"part-document","props":{"topPart":1}}]})"},
        BadFile{"MacrosMembersOfEachOther", MacrosMembersOfEachOther()},
        BadFile{"MemberCycleOfThree",
                Head + R"([{"kind":"part-document","members":[1]},{"kind":"part","members":[2]},)"
                       R"({"kind":"part","members":[3]},{"kind":"part","members":[1]}]})"},
        BadFile{"Macro3DAmongItsOwnMembers",
                Head + R"([{"kind":"part-document","members":[1]},{"kind":"part","members":[2]},)"
                       R"({"kind":"macro-3d","props":{"members":[{"$obj":2}]}}]})"},
        BadFile{"Macros3DListingEachOther",
                Head + R"([{"kind":"part-document","members":[1]},{"kind":"part","members":[2,3,4]},)"
                       R"({"kind":"macro-3d","props":{"members":[{"$obj":4}]}},{"kind":"extrusion"},)"
                       R"({"kind":"macro-3d","props":{"members":[{"$obj":3},{"$obj":2}]}}]})"},
        BadFile{"DrawingWithATopPart",
                R"({"format":"txhost-document","version":1,"type":1,"objects":[{"kind":"drawing","props":)"
                R"({"topPart":{"$obj":1}}},{"kind":"part","parent":0}]})"}),
    [](const ::testing::TestParamInfo<BadFile>& info) { return std::string(info.param.Name); });

TEST_F(DocumentTest, NestingWithinTheLimitIsRead)
{
  WriteFile(Dir / "ok.tpt", Nested(txhost::MaxDocumentFileDepth - 8));
  EXPECT_TRUE(Open(Dir / "ok.tpt"));
}

TEST_F(DocumentTest, ReferencesOutsideTheFileReadAsNothing)
{
  WriteFile(Dir / "r.tpt",
            Head + R"([{"kind":"part-document","props":{"a":{"$obj":7},"b":{"$obj":"x"}}}]})");
  SmartPtr<txapi::ITavrixDocument> d = Open(Dir / "r.tpt");
  ASSERT_TRUE(d);
  EXPECT_FALSE(TopPart(d));
  EXPECT_TRUE(Object::From(d.get())->Prop("a")["$obj"].is_null());
}

// "path" is the document's own file name only there: a feature may keep a list of curves under that name
// (a sweep does), and the file it is saved in opens again.
TEST_F(DocumentTest, APathThatIsNotTheDocumentsIsTheLibrarys)
{
  WriteFile(Dir / "s.tpt", Head + R"([{"kind":"part-document"},{"kind":"part","parent":0,"props":)"
                                  R"({"path":[{"$obj":0},{"$obj":1}]}}]})");
  EXPECT_TRUE(Open(Dir / "s.tpt"));
  WriteFile(Dir / "d.tpt", Head + R"([{"kind":"part-document","props":{"path":[1]}}]})");
  EXPECT_FALSE(Open(Dir / "d.tpt"));
}

// Opening took time quadratic in the size of the file (a callback per value, and linear key lookups).
TEST_F(DocumentTest, ADocumentWithManyObjectsAndPropertiesOpensWhole)
{
  std::string text = Head + R"([{"kind":"part-document","props":{)";
  for (int i = 0; i < 50000; ++i)
    text += (i ? ",\"p" : "\"p") + std::to_string(i) + "\":" + std::to_string(i);
  text += "}}";
  for (int i = 0; i < 50000; ++i)
    text += R"(,{"kind":"part","parent":0,"props":{"name":"n"}})";
  WriteFile(Dir / "big.tpt", text + "]}");
  SmartPtr<txapi::ITavrixDocument> d = Open(Dir / "big.tpt");
  ASSERT_TRUE(d);
  EXPECT_EQ(Object::From(d.get())->Prop("p49999"), 49999);
  EXPECT_EQ(H.ObjectsOf(*Object::From(d.get())).size(), 50001u);
}

// Members used to be added one by one, each searched for in the list first: opening took time quadratic in
// the length of one member list. A member named twice is still kept once, where it first stands.
TEST_F(DocumentTest, ALongMemberListOpensWholeInOrderWithEachMemberOnce)
{
  constexpr int parts = 20000;
  std::string text = Head + R"([{"kind":"part-document","members":[)";
  for (int i = parts; i >= 1; --i)
    text += std::to_string(i) + ",";
  text += "1,2]}";
  for (int i = 0; i < parts; ++i)
    text += R"(,{"kind":"part","parent":0})";
  WriteFile(Dir / "members.tpt", text + "]}");
  SmartPtr<txapi::ITavrixDocument> d = Open(Dir / "members.tpt");
  ASSERT_TRUE(d);
  const std::vector<Object*>& members = Object::From(d.get())->Members();
  const std::vector<Object*> all = H.ObjectsOf(*Object::From(d.get()));
  ASSERT_EQ(members.size(), std::size_t(parts));
  EXPECT_EQ(members.front(), all[parts]);
  EXPECT_EQ(members.back(), all[1]);
}

// Every document of the fuzz target's seeds, and the first wrong entry in each place a file can hold one:
// read straight into its objects, a document too large to keep the parse of opens as it does when small
// (what it saves is the same) or is refused with the same message.
TEST_F(DocumentTest, ADocumentTooLargeToKeepOpensAsWhenSmall)
{
  std::vector<std::string> texts;
  for (const auto& e : std::filesystem::directory_iterator(HXCAD_TEST_DATA "/../../fuzz/corpus/docfile"))
    texts.push_back(ReadFile(e.path()));
  ASSERT_GE(texts.size(), 5u);
  const std::string good = Head + R"([{"kind":"part-document","members":[1,2,1],"props":{"topPart":{"$obj":1}}},)"
                                  R"({"kind":"part","parent":0,"applied":true,"props":{"name":"a"}},)"
                                  R"({"kind":"part","parent":0,"members":[1],"applied":false}]})";
  texts.push_back(good);
  const std::string wrong[]{R"(7)", R"({"kind":1})", R"({"kind":"part","parent":0,"members":[3,"x"]})",
                            R"({"kind":"part","parent":5})", R"({"kind":"part","applied":1})",
                            R"({"kind":"part","props":{"name":[]}})", R"({"kind":"part-document"})"};
  for (const std::string& w : wrong)
    for (const std::string& before : {std::string(), std::string(R"({"kind":"part","members":[9]},)")})
      texts.push_back(Head + R"([{"kind":"part-document"},)" + before + w + "]}");
  for (const std::string& text : texts) {
    std::string saved[2], error[2];
    for (int large = 0; large < 2; ++large) {
      Host host;
      WriteFile(Dir / "d.tpt", large ? TooLargeToKeep(text) : text);
      Object* d = host.OpenDocument(Dir / "d.tpt", false, &error[large]);
      if (d != nullptr) txhost::DocumentFileText(host, *d, saved[large], error[large]);
      if (large) {
        EXPECT_EQ(host.ParsedFiles().count(Dir / "d.tpt"), 0u) << "a large document is held once";
      }
    }
    EXPECT_EQ(saved[1], saved[0]) << text.substr(0, 200);
    EXPECT_EQ(WithoutPosition(error[1]), WithoutPosition(error[0])) << text.substr(0, 200);
  }
}

// The parses the host keeps (of the part files a build saves and reads back) stay within their bound.
TEST_F(DocumentTest, TheParsesKeptOfSavedFilesStayWithinTheirBound)
{
  Object* d = H.NewDocument(txapi::txDocumentPart, false);
  d->Set("text", std::string(txhost::MaxKeptParseBytes - 1000, 'x'));
  const std::size_t files = txhost::MaxKeptParsesBytes / txhost::MaxKeptParseBytes + 2;
  const auto file = [&](std::size_t i) { return Dir / std::filesystem::path(std::to_string(i)).concat(".tpt"); };
  for (std::size_t i = 0; i < files; ++i)
    ASSERT_TRUE(H.SaveDocumentAs(*d, file(i)));
  std::size_t kept = 0;
  for (const auto& [file, parsed] : H.ParsedFiles())
    kept += parsed.Text.size();
  EXPECT_LE(kept, txhost::MaxKeptParsesBytes);
  EXPECT_EQ(H.ParsedFiles().count(file(files - 1)), 1u) << "the last one is kept";
}

// A document with many small values nested deep, so that its indented form (a line per value) is far
// larger than its content.
txhost::Value DeepValues(int depth, std::size_t values)
{
  txhost::Value v = txhost::Value::array();
  for (std::size_t i = 0; i < values; ++i)
    v.push_back(0);
  for (int k = 1; k < depth; ++k)
    v = txhost::Value::array({std::move(v)});
  return v;
}

// The indented form of such a document passed the reader's limit: the host wrote a file it then refused
// to open, and the user's document was lost.
TEST_F(DocumentTest, ADocumentIndentedPastTheLimitIsSavedSoThatItOpensAgain)
{
  SmartPtr<txapi::ITavrixDocument> d = Add(txapi::txDocumentPart);
  const std::size_t values = txhost::MaxDocumentFileBytes / 48;
  Object::From(d.get())->Set("data", DeepValues(48, values));
  std::string error;
  ASSERT_TRUE(H.SaveDocumentAs(*Object::From(d.get()), Dir / "deep.tpt", &error)) << error;
  EXPECT_LE(std::filesystem::file_size(Dir / "deep.tpt"), txhost::MaxDocumentFileBytes);
  Host other;
  Object* again = other.OpenDocument(Dir / "deep.tpt", false, &error);
  ASSERT_NE(again, nullptr) << error;
  const txhost::Value* inner = &again->Prop("data");
  while (inner->is_array() && inner->size() == 1 && (*inner)[0].is_array())
    inner = &(*inner)[0];
  EXPECT_EQ(inner->size(), values);
}

// A document that does not fit the limit in any form is refused with a message before anything is
// written; the file saved before stays.
TEST_F(DocumentTest, ADocumentTooLargeToOpenAgainIsNotSaved)
{
  SmartPtr<txapi::ITavrixDocument> d = Add(txapi::txDocumentPart);
  ASSERT_TRUE(d->SaveAs(L"large.tpt"));
  const std::string saved = ReadFile(Dir / "large.tpt");
  Object::From(d.get())->Set("text", std::string(txhost::MaxDocumentFileBytes, 'x'));
  std::string error;
  EXPECT_FALSE(H.SaveDocumentAs(*Object::From(d.get()), Dir / "large.tpt", &error));
  EXPECT_EQ(error.rfind("cannot write " + (Dir / "large.tpt").string() + ": the document is too large to save (", 0),
            0u) << error;
  EXPECT_EQ(ReadFile(Dir / "large.tpt"), saved);
}

TEST_F(DocumentTest, TextsThatAreNotUtf8PrintEscaped)
{
  SmartPtr<txapi::ITavrixDocument> d = Add(txapi::txDocumentDrawing);
  ASSERT_TRUE(H.SaveDocumentAs(*Object::From(d.get()), Dir / "a\xff.tdr"));
  Object::From(d.get())->Set("note", "b\xfe");
  std::ostringstream out;
  H.Describe(out, true);
  EXPECT_NE(out.str().find("a\\xFF.tdr\""), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("b\\\\xFE"), std::string::npos) << out.str();
}

TEST_F(DocumentTest, AFailedSaveSaysWhyAndNamesTheUsersFile)
{
  SmartPtr<txapi::ITavrixDocument> d = Add(txapi::txDocumentDrawing);
  std::string error;
  EXPECT_FALSE(H.SaveDocumentAs(*Object::From(d.get()), Dir / "missing/s.tdr", &error));
  EXPECT_EQ(error, "cannot write " + (Dir / "missing/s.tdr").string() + ": no such folder");
  WriteFile(Dir / "file", "");
  EXPECT_FALSE(H.SaveDocumentAs(*Object::From(d.get()), Dir / "file/s.tdr", &error));
  EXPECT_EQ(error, "cannot write " + (Dir / "file/s.tdr").string() + ": Not a directory");
}

// The temporary file beside a save was named after the document plus a suffix, so names of 229 to 255 bytes
// could not be saved at all. Every length up to the folder's limit saves and opens again, in letters of one
// to four bytes; past it the save fails naming the user's file, and no temporary file is left.
TEST_F(DocumentTest, EveryNameWithinTheLimitSavesWhateverItsLength)
{
  SmartPtr<txapi::ITavrixDocument> d = Add(txapi::txDocumentDrawing);
  Object& doc = *Object::From(d.get());
  const long limit = ::pathconf(Dir.path().c_str(), _PC_NAME_MAX);
  ASSERT_GT(limit, 8);
  for (const std::string letter : {"a", "é", "数", "😀"}) {
    for (std::size_t length = 5; length <= std::size_t(limit) + letter.size(); ++length) {
      std::string name;
      while (name.size() + letter.size() <= length - 4)
        name += letter;
      name += std::string(length - 4 - name.size(), 'x') + ".tdr";
      SCOPED_TRACE(name);
      std::string error;
      const bool saved = H.SaveDocumentAs(doc, Dir / name, &error);
      EXPECT_EQ(saved, length <= std::size_t(limit)) << error;
      if (saved) {
        EXPECT_NE(H.OpenDocument(Dir / name, false, &error), nullptr) << error;
        std::filesystem::remove(Dir / name);
      } else {
        EXPECT_EQ(error, "cannot write " + (Dir / name).string() + ": File name too long");
      }
      EXPECT_TRUE(std::filesystem::is_empty(Dir.path()));
    }
  }
}

// A named pipe opened as a document waited for ever for a writer. It is refused at once with its reason, and
// neither a save nor a picture replaces or writes into it.
TEST_F(DocumentTest, ANamedPipeIsNoDocument)
{
  const std::filesystem::path pipe = Dir / "p.tpt";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  hxcad::test::PipeWatch watch(pipe);
  std::string error;
  EXPECT_EQ(H.OpenDocument(pipe, true, &error), nullptr);
  EXPECT_EQ(error, pipe.string() + ": not a regular file");
  SmartPtr<txapi::ITavrixDocument> d = Add(txapi::txDocumentDrawing);
  EXPECT_FALSE(H.SaveDocumentAs(*Object::From(d.get()), pipe, &error));
  EXPECT_EQ(error, "cannot write " + pipe.string() + ": not a regular file");
  EXPECT_FALSE(txhost::SaveSvg(*Object::From(d.get()), pipe, &error));
  EXPECT_EQ(error, "cannot write " + pipe.string() + ": not a regular file");
  EXPECT_FALSE(watch.Waited());
  EXPECT_TRUE(std::filesystem::is_fifo(pipe));
}

// JSON would keep a number that is not finite as null: the save is refused and the old file stays.
TEST_F(DocumentTest, ANumberThatIsNotFiniteIsNotSaved)
{
  SmartPtr<txapi::ITavrixDocument> d = Add(txapi::txDocumentDrawing);
  ASSERT_TRUE(d->SaveAs(L"n.tdr"));
  const std::string saved = ReadFile(Dir / "n.tdr");
  Object& doc = *Object::From(d.get());
  for (double bad : {std::numeric_limits<double>::infinity(), std::nan("")}) {
    doc.Set("placement", txhost::Value::array({1.0, bad}));
    std::string error;
    EXPECT_FALSE(H.SaveDocumentAs(doc, Dir / "n.tdr", &error));
    EXPECT_EQ(error, "cannot write " + (Dir / "n.tdr").string() +
                         ": property placement of a drawing is not a finite number");
    EXPECT_EQ(ReadFile(Dir / "n.tdr"), saved);
  }
}

TEST_F(DocumentTest, OpeningAMissingFileGivesNothing)
{
  EXPECT_FALSE(Open(Dir / "absent.tpt"));
  EXPECT_FALSE(Open(Dir.path()));
  EXPECT_FALSE(Docs()->Open(L"", true, false));
  EXPECT_EQ(Docs()->GetCount(), 0);
}

} // namespace
