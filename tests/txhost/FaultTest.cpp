#include "TestSupport.h"
#include "txapi/txapi.h"
#include "txhost/lib/Faults.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Kinds.h"

#include "tests/TestNames.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cstddef>
#include <string>
#include <vector>

namespace {

using txapi::SmartPtr;
using txhost::Host;
using txhost::Object;
using txhost::Target;

struct HandOutCase
{
  const char* Refused;
  bool AddGives;
  bool OpenGives;
};

void PrintTo(const HandOutCase& c, std::ostream* os)
{
  *os << c.Refused;
}

class HandOutFaultTest : public ::testing::TestWithParam<HandOutCase>
{
};

TEST_P(HandOutFaultTest, ARefusedSourceHandsOutNothing)
{
  const HandOutCase& c = GetParam();
  Host h;
  SmartPtr<txapi::IDocuments> docs = h.Application().GetDocuments();
  // A document on disk to open.
  SmartPtr<txapi::ITavrixDocument> saved = docs->Add(txapi::txDocumentPart, true);
  txhost::test::TempDir dir;
  const std::string file = (dir / "fault-test.tpt").string();
  ASSERT_TRUE(saved->SaveAs(std::wstring(file.begin(), file.end())));
  h.GetFaults().RefuseHandOut(c.Refused);

  EXPECT_EQ(bool(docs->Add(txapi::txDocumentDrawing, true)), c.AddGives);
  EXPECT_EQ(bool(docs->Open(std::wstring(file.begin(), file.end()), true, false)), c.OpenGives);
  EXPECT_EQ(h.DocumentsObject().CallCount("Add"), 2u) << "a refused call is still logged";
}

INSTANTIATE_TEST_SUITE_P(Sources, HandOutFaultTest,
                         ::testing::Values(HandOutCase{"IDocuments", false, false},
                                           HandOutCase{"IDocuments.Add", false, true},
                                           HandOutCase{"IDocuments.Open", true, false},
                                           HandOutCase{"IDocumentsX", true, true},
                                           HandOutCase{"IDocuments.Ad", true, true}),
                         hxcad::test::CaseNames());

TEST(FaultTest, ApplicationServicesCanBeWithheld)
{
  Host h;
  txapi::IApplication& app = h.Application();
  for (const char* op : {"GetDocuments", "GetTavrixError", "GetTranslator", "GetLibraryRecord"})
    h.GetFaults().RefuseHandOut(std::string("IApplication.") + op);
  h.SetLibraryRecord(L"Lib", "/lib/libLib.so", L"");
  EXPECT_FALSE(app.GetDocuments());
  EXPECT_FALSE(app.GetTavrixError());
  EXPECT_FALSE(app.GetTranslator());
  EXPECT_FALSE(app.GetLibraryRecord(L"Lib"));
  h.GetFaults().AllowHandOut("IApplication.GetDocuments");
  EXPECT_TRUE(app.GetDocuments());
}

TEST(FaultTest, AnObjectOrAKindCanRefuseAnInterface)
{
  Host h;
  SmartPtr<txapi::IDocuments> docs = h.Application().GetDocuments();
  SmartPtr<txapi::ITavrixDocument> a = docs->Add(txapi::txDocumentAssembly, true);
  SmartPtr<txapi::ITavrixDocument> b = docs->Add(txapi::txDocumentAssembly, true);
  Object& objectA = *Object::From(a.get());

  h.GetFaults().RefuseInterface(Target::Of(objectA), txapi::ITavrixDocument3D::IID);
  EXPECT_FALSE(SmartPtr<txapi::ITavrixDocument3D>(a));
  EXPECT_TRUE(SmartPtr<txapi::ITavrixDocument3D>(b));
  EXPECT_FALSE(objectA.Offers(txapi::ITavrixDocument3D::IID));
  EXPECT_TRUE(SmartPtr<txapi::ITavrixAPIObject>(a)) << "only the named interface is refused";

  h.GetFaults().RefuseInterface(Target::OfKind("assembly"), txapi::ITavrixAPIObject::IID);
  SmartPtr<txapi::ITavrixDocument> c = docs->Add(txapi::txDocumentAssembly, true);
  EXPECT_FALSE(SmartPtr<txapi::ITavrixAPIObject>(c));
  EXPECT_TRUE(SmartPtr<txapi::ITavrixDocument3D>(c));

  h.GetFaults().RefuseInterface(Target::OfKind("part-document"), txapi::ITavrixDocument::IID);
  EXPECT_FALSE(docs->Add(txapi::txDocumentPart, true))
      << "a document that refuses its own view is not handed out";
  EXPECT_EQ(h.Documents().size(), 4u);
}

TEST(FaultTest, AnUpdateCanAnswerFalse)
{
  Host h;
  SmartPtr<txapi::IDocuments> docs = h.Application().GetDocuments();
  SmartPtr<txapi::IPart> p1 =
      SmartPtr<txapi::ITavrixDocument3D>(docs->Add(txapi::txDocumentPart, true))->GetTopPart();
  SmartPtr<txapi::IPart> p2 =
      SmartPtr<txapi::ITavrixDocument3D>(docs->Add(txapi::txDocumentPart, true))->GetTopPart();
  h.GetFaults().FailUpdate(Target::Of(*Object::From(p1.get())));
  EXPECT_FALSE(p1->Update());
  EXPECT_TRUE(p2->Update());
  EXPECT_EQ(Object::From(p1.get())->UpdateCount(), 1);

  h.GetFaults().FailUpdate(Target::OfKind(std::string(txhost::kinds::Part)));
  EXPECT_FALSE(p2->Update());
}

TEST(FaultTest, ACallCanThrowAfterItIsLogged)
{
  Host h;
  SmartPtr<txapi::IDocuments> docs = h.Application().GetDocuments();
  SmartPtr<txapi::ITavrixDocument> d = docs->Add(txapi::txDocumentDrawing, true);
  Object& o = *Object::From(d.get());
  h.GetFaults().ThrowOnCall(Target::Of(o), "SaveAs");
  EXPECT_THROW(d->SaveAs(L"x.tdr"), txhost::HostError);
  EXPECT_EQ(o.CallCount("SaveAs"), 1u);
  EXPECT_NO_THROW(d->GetType());

  h.GetFaults().ThrowOnCall(Target::OfKind("documents"), "");
  EXPECT_THROW(docs->GetCount(), txhost::HostError);
  EXPECT_THROW(docs->Add(txapi::txDocumentDrawing, true), txhost::HostError);
  EXPECT_EQ(h.Documents().size(), 1u) << "a call that throws changes nothing";

  h.GetFaults().Clear();
  EXPECT_NO_THROW(d->GetType());
}

// Each call of a play fails in turn, in the form its result allows, and no other call fails.
TEST(FaultTest, EachCallFailsInTurnTheWayItsResultAllows)
{
  // One host call a step; each step says how it went, and the play stops at the first that failed.
  auto play = [](Host& h) {
    std::vector<std::string> went;
    auto step = [&](auto call) {
      try {
        went.push_back(call() ? "ok" : "empty");
      } catch (const txhost::HostError&) {
        went.push_back("threw");
      }
      return went.back() == "ok";
    };
    SmartPtr<txapi::IDocuments> docs;
    SmartPtr<txapi::ITavrixDocument3D> d;
    SmartPtr<txapi::IModelObject> top;
    (void)(step([&] { return bool(docs = h.Application().GetDocuments()); }) &&
           step([&] { return bool(d = docs->Add(txapi::txDocumentPart, true)); }) &&
           step([&] { return bool(top = d->GetTopPart()); }) && step([&] { return top->Update(); }) &&
           step([&] { return !top->GetHidden(); }));
    return went;
  };
  const std::vector<std::string> clean(5, "ok");
  const std::vector<std::string> failures{"empty", "empty", "empty", "empty", "threw"};
  {
    Host h; // the first play also shows the host which calls hand out objects
    h.GetFaults().FailCall(0);
    EXPECT_EQ(play(h), clean);
    EXPECT_EQ(h.GetFaults().CallsCounted(), clean.size());
  }
  std::size_t n = 1;
  for (;; ++n) {
    Host h;
    h.GetFaults().FailCall(n);
    const std::vector<std::string> went = play(h);
    if (h.GetFaults().CallsCounted() < n) break;
    std::vector<std::string> want(clean.begin(), clean.begin() + std::ptrdiff_t(n - 1));
    want.push_back(failures.at(n - 1));
    EXPECT_EQ(went, want) << h.GetFaults().FailedCall();
  }
  EXPECT_EQ(n, clean.size() + 1);
}

} // namespace
