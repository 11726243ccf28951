// What the host keeps over a session: what a closed document held goes once nothing refers to it, a file
// just saved reads back without a parse and as a parse would give it, a new document the library names
// is written once it holds something, a drawing group empties itself alone, and a phantom's group drawn
// again reuses what it let go unseen.
#include "TestSupport.h"

#include "txapi/txapi.h"
#include "txhost/lib/DocumentFile.h"
#include "txhost/lib/Drawing2D.h"
#include "txhost/lib/Events.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Model.h"
#include "txhost/lib/Text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

using txapi::SmartPtr;
using txhost::Host;
using txhost::Object;
using txhost::Value;

class LifetimeTest : public ::testing::Test
{
protected:
  LifetimeTest() { H.SetDocumentsFolder(Dir.path()); }

  SmartPtr<txapi::ITavrixDocument> Add(txapi::DocumentTypeEnum type)
  {
    return H.Application().GetDocuments()->Add(type, false);
  }
  static SmartPtr<txapi::IPart> Top(const SmartPtr<txapi::ITavrixDocument>& d)
  {
    SmartPtr<txapi::ITavrixDocument3D> d3 = d;
    return d3 ? d3->GetTopPart() : SmartPtr<txapi::IPart>();
  }
  // A part file named "вал" with one sketch, written as a build writes it.
  void WritePart(const std::wstring& file)
  {
    SmartPtr<txapi::ITavrixDocument> part = Add(txapi::txDocumentPart);
    ASSERT_TRUE(part->SaveAs(file));
    Top(part)->SetName(L"вал");
    SmartPtr<txapi::IModelContainer> container = Top(part);
    ASSERT_TRUE(container->GetSketches()->Add());
    ASSERT_TRUE(part->Close(txapi::txCloseSaveChanges));
  }

  txhost::test::TempDir Dir;
  Host H;
};

TEST_F(LifetimeTest, ClosingFreesWhatOnlyTheClosedDocumentHeld)
{
  H.Collect();
  const std::size_t before = txhost::LiveObjectCount();
  SmartPtr<txapi::IPart> held;
  {
    WritePart(L"вал.tpt");
    SmartPtr<txapi::ITavrixDocument> assembly = Add(txapi::txDocumentAssembly);
    SmartPtr<txapi::IPart> component = Top(assembly)->AddComponent(L"вал.tpt", true);
    ASSERT_TRUE(component);
    H.Collect();
    const Object* source = Object::From(component.get())->RefProp("source");
    ASSERT_TRUE(source) << "a component's source stays while the component does";
    EXPECT_TRUE(H.TopPart(*source));
    held = component;
    ASSERT_TRUE(assembly->Close(txapi::txCloseWithoutSaving));
  }
  H.Collect();
  EXPECT_GT(txhost::LiveObjectCount(), before) << "a held object keeps its document";
  EXPECT_EQ(held->GetName(), L"вал") << "and stays whole";
  held = nullptr;
  EXPECT_GT(H.Collect(), 0u);
  EXPECT_EQ(txhost::LiveObjectCount(), before) << "closed documents and their components' sources are gone";

  // The host collects by itself when it makes a document: repeated builds hold no more than one.
  for (int i = 0; i < 3; ++i) {
    WritePart(L"вал.tpt");
    SmartPtr<txapi::ITavrixDocument> assembly = Add(txapi::txDocumentAssembly);
    ASSERT_TRUE(Top(assembly)->AddComponent(L"вал.tpt", true));
    ASSERT_TRUE(assembly->Close(txapi::txCloseWithoutSaving));
  }
  const std::size_t afterThree = txhost::LiveObjectCount();
  for (int i = 0; i < 5; ++i) {
    WritePart(L"вал.tpt");
    SmartPtr<txapi::ITavrixDocument> assembly = Add(txapi::txDocumentAssembly);
    ASSERT_TRUE(Top(assembly)->AddComponent(L"вал.tpt", true));
    ASSERT_TRUE(assembly->Close(txapi::txCloseWithoutSaving));
  }
  EXPECT_EQ(txhost::LiveObjectCount(), afterThree);
}

TEST_F(LifetimeTest, AnOpenDocumentAndItsComponentsStay)
{
  WritePart(L"вал.tpt");
  Object* assembly = H.NewDocument(txapi::txDocumentAssembly, false);
  SmartPtr<txapi::IPart> top = txapi::SmartPtr<txapi::IPart>::Attach(
      static_cast<txapi::IPart*>(H.TopPart(*assembly)->QueryInterface(txapi::IPart::IID)));
  const txhost::ObjectId component = Object::From(top->AddComponent(L"вал.tpt", true).get())->Id();
  top = nullptr;
  for (int i = 0; i < 3; ++i)
    H.NewDocument(txapi::txDocumentPart, false);
  ASSERT_TRUE(H.Find(component));
  const Object* source = H.Find(component)->RefProp("source");
  ASSERT_TRUE(source);
  EXPECT_EQ(H.TopPart(*source)->Text("name"), L"вал");
}

// Whole numbers of every sign, fractions, texts, references and nesting: the tree kept of what was
// written is the tree a parse of the file gives, type for type.
TEST_F(LifetimeTest, AFileJustSavedReadsBackAsItsParse)
{
  Object* d = H.NewDocument(txapi::txDocumentPart, true);
  Object& part = *H.TopPart(*d);
  part.Set("name", "вал");
  part.Set("count", 7);
  part.Set("below", -3);
  part.Set("zero", 0);
  part.Set("ratio", 2.5);
  part.Set("whole", 4.0);
  part.Set("list", Value::array({1, -1, 0.0, "x", true, nullptr, Value::array({2u, -2})}));
  part.Set("self", txhost::RefValue(&part));
  const std::filesystem::path file = Dir / "typed.tpt";
  ASSERT_TRUE(H.SaveDocumentAs(*d, file));

  const Value parsed = Value::parse(txhost::test::ReadFile(file));
  auto it = H.ParsedFiles().find(file);
  ASSERT_NE(it, H.ParsedFiles().end()) << "what was written is kept";
  std::function<void(const Value&, const Value&, const std::string&)> same = [&](const Value& a, const Value& b,
                                                                                  const std::string& at) {
    ASSERT_EQ(a.type_name(), std::string(b.type_name())) << at;
    ASSERT_EQ(a.is_number_unsigned(), b.is_number_unsigned()) << at;
    if (a.is_object())
      for (auto [key, value] : a.items()) {
        ASSERT_TRUE(b.contains(key)) << at << "/" << key;
        same(value, b.at(key), at + "/" + key);
      }
    else if (a.is_array())
      for (std::size_t i = 0; i < a.size(); ++i)
        same(a[i], b.at(i), at + "/" + std::to_string(i));
    ASSERT_EQ(a, b) << at;
  };
  same(it->second.Root, parsed, "");

  Object* again = H.OpenDocument(file, false);
  ASSERT_TRUE(again);
  const Object& read = *H.TopPart(*again);
  EXPECT_EQ(read.Prop("list").dump(), part.Prop("list").dump());
  EXPECT_EQ(read.RefProp("self"), &read);
}

// A value with the type of every number in it (1, 1u and 1.0 print alike).
std::string WithTypes(const Value& v)
{
  if (v.is_number_unsigned()) return "u" + v.dump();
  if (v.is_number_integer()) return "i" + v.dump();
  if (v.is_number_float()) return "f" + v.dump();
  std::string out;
  if (v.is_array())
    for (const Value& e : v)
      out += WithTypes(e) + ",";
  else if (v.is_object())
    for (const auto& [key, e] : v.items())
      out += key + ":" + WithTypes(e) + ",";
  else
    return v.dump();
  return (v.is_array() ? "[" : "{") + out + (v.is_array() ? "]" : "}");
}

// A document saved again and again as it changes shape: the tree kept of each save, written over the one
// before, is the tree a parse of the file gives, type for type, and the file is what a first save writes; a
// save that fails leaves the file and nothing stale of it.
TEST_F(LifetimeTest, AFileSavedAgainReadsBackAsItsParse)
{
  Object* d = H.NewDocument(txapi::txDocumentPart, true);
  Object& part = *H.TopPart(*d);
  Object* sketch = nullptr;
  const std::vector<std::function<void()>> changes{
      [&] {
        part.Set("name", "вал");
        part.Set("list", Value::array({1, 2.5, "x", Value::array({1, 2})}));
      },
      [&] {
        part.Set("list", Value::array({1, 2.5}));
        part.Set("count", 3);
      },
      [&] {
        part.Set("list",
                 Value::array({-1, 2u, Value::array({true}), nullptr, "yy", Value::object({{"a", 1}})}));
        part.Set("count", 3.5);
      },
      [&] {
        sketch = &H.Create("sketch", d, &part);
        sketch->Set("angle", -0.0);
        part.Set("count", txhost::RefValue(sketch));
      },
      [&] {
        part.Set("list", Value::array({Value::object({{"a", 2}, {"b", false}}), "x"}));
        sketch->Set("angle", 7);
        H.Create("sketch", d, &part).Set("plane", txhost::RefValue(&part));
      },
      [&] { part.TakeProp("count"); },
      [&] { part.Set("name", "вал длинный, длиннее прежнего"); },
  };
  const std::filesystem::path file = Dir / "again.tpt";
  for (std::size_t i = 0; i < changes.size(); ++i) {
    changes[i]();
    ASSERT_TRUE(H.SaveDocumentAs(*d, file)) << i;
    const std::string text = txhost::test::ReadFile(file);
    std::string fresh, error;
    ASSERT_TRUE(txhost::DocumentFileText(H, *d, fresh, error)) << error;
    EXPECT_EQ(text, fresh) << i;
    auto it = H.ParsedFiles().find(file);
    ASSERT_NE(it, H.ParsedFiles().end()) << i;
    EXPECT_EQ(WithTypes(it->second.Root), WithTypes(Value::parse(text))) << i;
  }

  const std::string before = txhost::test::ReadFile(file);
  part.Set("bad", std::nan(""));
  EXPECT_FALSE(H.SaveDocumentAs(*d, file));
  EXPECT_EQ(txhost::test::ReadFile(file), before);
  Object* again = H.OpenDocument(file, false);
  ASSERT_TRUE(again);
  std::string text, error;
  ASSERT_TRUE(txhost::DocumentFileText(H, *again, text, error)) << error;
  EXPECT_EQ(text, before) << "read as the file holds it";
}

TEST_F(LifetimeTest, ANewDocumentTheLibraryNamesIsWrittenOnceItHoldsSomething)
{
  const std::filesystem::path file = Dir / "p.tpt";
  {
    SmartPtr<txapi::ITavrixDocument> d = Add(txapi::txDocumentPart);
    ASSERT_TRUE(d->SaveAs(L"p.tpt"));
    EXPECT_FALSE(std::filesystem::exists(file)) << "named, not written";
    EXPECT_EQ(d->GetFullFileName(), txhost::FromPath(file));
    // A reader of the name finds the document on disk.
    SmartPtr<txapi::ITavrixDocument> assembly = Add(txapi::txDocumentAssembly);
    EXPECT_TRUE(Top(assembly)->AddComponent(L"p.tpt", true));
    EXPECT_TRUE(std::filesystem::exists(file));
    assembly->Close(txapi::txCloseWithoutSaving);
    d->Close(txapi::txCloseWithoutSaving);
  }
  std::filesystem::remove(file);
  {
    SmartPtr<txapi::ITavrixDocument> d = Add(txapi::txDocumentPart);
    ASSERT_TRUE(d->SaveAs(L"p.tpt"));
    ASSERT_TRUE(d->Close(txapi::txCloseWithoutSaving));
    EXPECT_FALSE(std::filesystem::exists(file)) << "named and never filled: no file";
  }
  {
    SmartPtr<txapi::ITavrixDocument> d = Add(txapi::txDocumentPart);
    ASSERT_TRUE(d->SaveAs(L"p.tpt"));
    Top(d)->SetName(L"вал");
    ASSERT_TRUE(d->SaveAs(L"p.tpt")) << "filled, it is written";
    EXPECT_NE(txhost::test::ReadFile(file).find("\"вал\""), std::string::npos);
    ASSERT_TRUE(d->Close(txapi::txCloseWithoutSaving));
  }
  {
    SmartPtr<txapi::ITavrixDocument> d = Add(txapi::txDocumentPart);
    EXPECT_FALSE(d->SaveAs(L"no-such-folder/p.tpt")) << "a name that cannot be written fails at once";
    EXPECT_TRUE(d->GetFullFileName().empty());
    d->Close(txapi::txCloseWithoutSaving);
  }
}

TEST_F(LifetimeTest, AGroupEmptiesItsOwnObjectsOnly)
{
  Object* d = H.NewDocument(txapi::txDocumentDrawing, true);
  // The drawing's system view, as its views hand it out.
  Object* view = &H.Create(txhost::model::View, d, d);
  view->Set("number", 0);
  Object* kept = txhost::model2d::NewDrawingObject(H, *view, txhost::model::LineSegment);
  Object& group = txhost::NewDrawingGroup(H, *d, true);
  txhost::model2d::OpenGroup(group, true);
  std::vector<txhost::ObjectId> drawn;
  for (int i = 0; i < 3; ++i)
    drawn.push_back(txhost::model2d::NewDrawingObject(H, *view, txhost::model::LineSegment)->Id());
  txhost::model2d::OpenGroup(group, false);
  EXPECT_EQ(txhost::model2d::GroupMembers(group).size(), 3u);
  // One of them still held by a library: it goes at a later emptying.
  SmartPtr<txapi::IAPIObject> held = SmartPtr<txapi::IAPIObject>::Attach(
      H.Find(drawn[1])->QueryInterface(txapi::IAPIObject::IID));
  txhost::model2d::ResetGroup(group);
  EXPECT_FALSE(H.Find(drawn[0]));
  EXPECT_TRUE(H.Find(drawn[1]));
  EXPECT_FALSE(H.Find(drawn[2]));
  EXPECT_TRUE(H.Find(kept->Id())) << "the drawing's own objects stay";
  held = nullptr;
  txhost::model2d::ResetGroup(group);
  EXPECT_FALSE(H.Find(drawn[1]));
  EXPECT_EQ(view->Members(), std::vector<Object*>{kept});
  EXPECT_EQ(H.ObjectsOf(*d).size(), 3u) << "the document, its view and the kept line";
}

// One move of a phantom drawn into a view: what it draws changes from move to move (how many lines, an arc
// left out, the order, a text with lines of its own), and now and then the library keeps one of its lines
// over the next move.
void DrawPhantom(const SmartPtr<txapi::IDrawingContainer>& view, int move, SmartPtr<txapi::ILineSegment>& held)
{
  SmartPtr<txapi::ICircles> circles = view;
  const auto circle = [&] {
    SmartPtr<txapi::ICircle> c = circles->Add();
    c->SetCircle(move, 1, 2 + move % 3);
    c->Update();
  };
  if (move == 7) circle();
  std::vector<SmartPtr<txapi::IDrawingObject>> lines;
  for (int i = 0; i < 3 + move % 4; ++i) {
    SmartPtr<txapi::ILineSegment> l = view->GetLineSegments()->Add();
    l->SetPoints(move, i, move + 10, i * 2);
    if (i == 1 && move % 3 == 0) l->SetStyle(txapi::txCurveStyleEnum(2));
    l->Update();
    lines.push_back(l);
    if (i == 0 && move % 5 == 2) held = l;
  }
  if (move % 5 == 4) held = nullptr;
  if (move % 3 != 1) {
    SmartPtr<txapi::IArc> a = view->GetArcs()->Add();
    a->SetArc(0, 0, 1, 0, 0, 1, 1, move % 2 == 0);
    a->Update();
  }
  if (move != 7) circle();
  SmartPtr<txapi::IMacroObjects> macros = view;
  SmartPtr<txapi::IMacroObject> macro = macros->Add(1);
  SmartPtr<txapi::IDrawingContainer> inside = macro;
  for (int i = 0; i <= move % 2; ++i)
    inside->GetLineSegments()->Add()->SetPoints(i, move, i + 1, move);
  macro->SetPlacement(move, 2 * move, 0, 0, 0);
  macro->Update();
  SmartPtr<txapi::IHatches> hatches = view;
  SmartPtr<txapi::IHatch> hatch = hatches->Add();
  SmartPtr<txapi::IBoundariesObject> boundary = hatch;
  for (const auto& l : lines)
    boundary->AddBoundaries({l}, false);
  hatch->Update();
  if (move % 2 == 0) {
    SmartPtr<txapi::IDrawingTexts> texts = view;
    SmartPtr<txapi::IDrawingText> t = texts->Add();
    t->SetPosition(move, 0);
    t->GetText()->AddLine()->AddItem()->SetText(std::to_wstring(move));
    t->Update();
  }
}

// Everything the host shows of itself and its objects, with their identifiers counted from base.
std::string Seen(const Host& h, const Object& document, const Object& group, txhost::ObjectId base)
{
  std::ostringstream out;
  h.Describe(out, true);
  for (const Object* o : h.Objects())
    if (o != &group) // its log has the emptying and the opening in the order each host had them
      for (const txhost::Call& c : o->Log())
        out << "#" << o->Id() << "." << c.Op << c.Arguments.dump() << "\n";
  std::string text, error;
  EXPECT_TRUE(txhost::DocumentFileText(h, document, text, error)) << error;
  out << text;
  static const std::regex id(R"((#|"\$obj":)(\d+))");
  std::string seen = out.str(), counted;
  auto at = seen.cbegin();
  for (std::sregex_iterator m(seen.begin(), seen.end(), id), end; m != end; ++m) {
    counted.append(at, (*m)[0].first);
    counted += (*m)[1].str() + std::to_string(std::stoull((*m)[2].str()) - base);
    at = (*m)[0].second;
  }
  return counted.append(at, seen.cend());
}

// A phantom's group emptied while open is drawn again with objects made of those it let go: to every observer
// the objects made anew when the group is emptied before it opens (identifiers, states, properties,
// references, logs, the description and the saved text, the objects alive), move after move, whatever changes
// in what is drawn.
TEST(SpareObjects, AGroupDrawnAgainOpenShowsWhatObjectsMadeAnewShow)
{
  const auto play = [](bool emptiedOpen) {
    std::vector<std::string> seen;
    txhost::test::TempDir dir;
    Host h;
    h.SetDocumentsFolder(dir.path());
    const txhost::ObjectId base = h.ApplicationObject().Id();
    const std::size_t live = txhost::LiveObjectCount();
    SmartPtr<txapi::ITavrixDocument2D> doc = h.Application().GetDocuments()->Add(txapi::txDocumentDrawing, true);
    SmartPtr<txapi::IDrawingContainer> view = doc->GetViewsAndLayersManager()->GetViews()->GetViewByNumber(0);
    SmartPtr<txapi::IDrawingGroup> group = doc->NewDrawingGroup(true);
    SmartPtr<txapi::ILineSegment> held;
    for (int move = 0; move < 12; ++move) {
      if (!emptiedOpen) group->Reset();
      group->Open(1);
      if (emptiedOpen) group->Reset();
      DrawPhantom(view, move, held);
      group->Close();
      // What was kept and not drawn again goes when the group closes.
      seen.push_back(Seen(h, *Object::From(doc.get()), *Object::From(group.get()), base) + "live " +
                     std::to_string(txhost::LiveObjectCount() - live));
    }
    return seen;
  };
  const std::vector<std::string> reused = play(true), made = play(false);
  ASSERT_EQ(reused.size(), made.size());
  for (std::size_t move = 0; move < made.size(); ++move)
    EXPECT_EQ(reused[move], made[move]) << "move " << move;
}

} // namespace

namespace {

// A phantom's group drawn again open, its lines made of the spares of the move before.
struct Phantom
{
  Host H;
  SmartPtr<txapi::IDrawingContainer> View;
  SmartPtr<txapi::IDrawingGroup> Group;

  explicit Phantom(const std::filesystem::path& folder)
  {
    H.SetDocumentsFolder(folder);
    SmartPtr<txapi::ITavrixDocument2D> doc =
        H.Application().GetDocuments()->Add(txapi::txDocumentDrawing, true);
    View = doc->GetViewsAndLayersManager()->GetViews()->GetViewByNumber(0);
    Group = doc->NewDrawingGroup(true);
  }
  // How a move went: "drawn" with every line drawn and applied, or where it stopped.
  std::string Move(int move)
  {
    Group->Open(1);
    Group->Reset();
    std::string went = "drawn";
    try {
      for (int i = 0; i < 3 && went == "drawn"; ++i) {
        SmartPtr<txapi::ILineSegments> lines = View->GetLineSegments();
        SmartPtr<txapi::ILineSegment> l = lines ? lines->Add() : nullptr;
        if (!l) {
          went = "nothing handed out";
          break;
        }
        l->SetPoints(move, i, move + 1, i);
        if (!l->Update()) went = "not applied";
      }
    } catch (const txhost::HostError&) {
      went = "thrown";
    }
    Group->Close();
    return went;
  }
};

} // namespace

// Rules set in the middle of a session take effect at the next call, on objects made of spares (whose views
// and calls the host knows from their former lives) as on any other; cleared, they are gone as soon.
TEST(SpareObjects, FaultsSetMidSessionApplyToObjectsMadeOfSpares)
{
  txhost::test::TempDir dir;
  Phantom p(dir.path());
  txhost::Faults& faults = p.H.GetFaults();
  int move = 0;
  for (; move < 3; ++move)
    ASSERT_EQ(p.Move(move), "drawn");
  faults.RefuseInterface(txhost::Target::OfKind("line-segment"), txapi::ILineSegment::IID);
  EXPECT_EQ(p.Move(move++), "nothing handed out");
  faults.Clear();
  EXPECT_EQ(p.Move(move++), "drawn");
  faults.RefuseHandOut("ILineSegments.Add");
  EXPECT_EQ(p.Move(move++), "nothing handed out");
  faults.AllowHandOut("ILineSegments.Add");
  EXPECT_EQ(p.Move(move++), "drawn");
  faults.FailUpdate(txhost::Target::OfKind("line-segment"));
  EXPECT_EQ(p.Move(move++), "not applied");
  faults.Clear();
  faults.ThrowOnCall(txhost::Target::OfKind("line-segment"), "SetPoints");
  EXPECT_EQ(p.Move(move++), "thrown");
  faults.Clear();
  EXPECT_EQ(p.Move(move++), "drawn");
  // The collection's hand-out was seen at every move before: the call that fails answers nothing.
  faults.FailCall(3); // the group's opening, its emptying, then the collection asked for
  EXPECT_EQ(p.Move(move++), "nothing handed out");
  EXPECT_EQ(faults.FailedCall(), "view.GetLineSegments");
  faults.FailCall(4); // then the line asked for
  EXPECT_EQ(p.Move(move++), "nothing handed out");
  EXPECT_EQ(faults.FailedCall(), "view.Add");
  faults.Clear();
  EXPECT_EQ(p.Move(move++), "drawn");
}
