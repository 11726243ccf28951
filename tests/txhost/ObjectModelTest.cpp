#include "txapi/txapi.h"
#include "txhost/lib/Faults.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Kinds.h"
#include "txhost/lib/Value.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using txapi::SmartPtr;
using txhost::Host;
using txhost::Object;
using txhost::Value;

SmartPtr<txapi::IPart> PartOf(Object& o)
{
  return SmartPtr<txapi::IPart>(SmartPtr<txapi::IAPIObject>(&o));
}

TEST(ObjectModelTest, EveryKindOffersItsGenericViewAndAnswersIdentityWithItself)
{
  Host h;
  for (const std::string& kind : txhost::KindTable::Builtin().Names()) {
    Object& o = h.Create(kind);
    EXPECT_TRUE(o.Offers(txapi::ITavrixAPIObject::IID)) << kind;
    txapi::IAPIObject* identity = o.QueryInterface(txapi::IAPIObject::IID);
    EXPECT_EQ(identity, &o) << kind;
    identity->Release();
    EXPECT_EQ(o.RefCount(), 0);
  }
  EXPECT_THROW(h.Create("no-such-kind"), txhost::HostError);
}

TEST(ObjectModelTest, AllViewsShareOneReferenceCount)
{
  Host h;
  SmartPtr<txapi::ITavrixDocument> doc = h.Application().GetDocuments()->Add(txapi::txDocumentAssembly, true);
  Object& o = *Object::From(doc.get());
  SmartPtr<txapi::ITavrixDocument3D> d3 = doc;
  SmartPtr<txapi::ITavrixAPIObject> generic = d3;
  EXPECT_EQ(o.RefCount(), 3);
  EXPECT_EQ(Object::From(generic.get()), &o);
  EXPECT_EQ(Object::From(nullptr), nullptr);
  doc.reset();
  d3.reset();
  EXPECT_EQ(o.RefCount(), 1);
  EXPECT_EQ(generic->GetTypeCode(), 0);
}

TEST(ObjectModelTest, CallsAreLoggedInOrderWithTheirArguments)
{
  Host h;
  Object& part = h.Create(txhost::kinds::Part);
  {
    SmartPtr<txapi::IPart> p = PartOf(part);
    p->SetName(L"Вал");
    p->SetMarking(L"АБВ.001");
    EXPECT_EQ(p->GetName(), L"Вал");
    p->Update();
  }
  ASSERT_EQ(part.Log().size(), 4u);
  EXPECT_EQ(part.Log()[0].Op, "SetName");
  EXPECT_EQ(part.Log()[0].Arguments, Value::array({"Вал"}));
  EXPECT_EQ(part.Log()[1].Op, "SetMarking");
  EXPECT_EQ(part.Log()[2].Op, "GetName");
  EXPECT_EQ(part.Log()[2].Arguments, Value::array());
  EXPECT_EQ(part.Log()[3].Op, "Update");
  EXPECT_EQ(part.CallCount("SetName"), 1u);
  EXPECT_EQ(part.Text("marking"), L"АБВ.001");
}

TEST(ObjectModelTest, ArgumentsKeepTheirTypesAndObjectsBecomeReferences)
{
  Host h;
  SmartPtr<txapi::ITavrixDocument> doc = h.Application().GetDocuments()->Add(txapi::txDocumentDrawing, true);
  const Object* d = Object::From(doc.get());
  SmartPtr<txapi::IPart> none;
  const Value args = txhost::Args(7, true, 2.5, txapi::txDocumentPart, std::wstring(L"ё"), doc, none,
                                  std::vector<double>{1.0, -2.0});
  EXPECT_EQ(args.dump(), "[7,true,2.5,4,\"ё\",{\"$obj\":" + std::to_string(d->Id()) + "},null,[1.0,-2.0]]");
  EXPECT_EQ(txhost::RefId(args[5]), d->Id());
  EXPECT_EQ(txhost::RefId(args[6]), 0u);
}

TEST(ObjectModelTest, AnObjectExistsWhenHandedOutAndIsAppliedByItsFirstSuccessfulUpdate)
{
  Host h;
  Object& part = h.Create(txhost::kinds::Part);
  EXPECT_FALSE(part.Applied());
  EXPECT_EQ(part.UpdateCount(), 0);
  h.GetFaults().FailUpdate(txhost::Target::Of(part));
  EXPECT_FALSE(part.Update());
  EXPECT_FALSE(part.Applied());
  h.GetFaults().Clear();
  EXPECT_TRUE(part.Update());
  EXPECT_TRUE(part.Applied());
  EXPECT_EQ(part.UpdateCount(), 2);
}

TEST(ObjectModelTest, ParentsMembersAndReferenceProperties)
{
  Host h;
  Object& document = h.Create("part-document");
  document.SetDocument(&document);
  Object& a = h.Create(txhost::kinds::Part, &document, &document);
  Object& b = h.Create(txhost::kinds::Part, &document, &a);
  EXPECT_EQ(b.Parent(), &a);
  EXPECT_EQ(a.Members(), std::vector<Object*>{&b});
  EXPECT_EQ(document.Members(), std::vector<Object*>{&a});
  a.AddMember(&b);
  EXPECT_EQ(a.Members().size(), 1u) << "a member is listed once";
  EXPECT_TRUE(a.RemoveMember(&b));
  EXPECT_FALSE(a.RemoveMember(&b));

  document.Set("topPart", txhost::RefValue(&a));
  EXPECT_EQ(document.RefProp("topPart"), &a);
  EXPECT_EQ(document.RefProp("absent"), nullptr);
  EXPECT_TRUE(document.Prop("absent").is_null());
  EXPECT_EQ(h.ObjectsOf(document), (std::vector<Object*>{&document, &a, &b}));
}

TEST(ObjectModelTest, HostSideStateIsOneValuePerTypeAndObject)
{
  Host h;
  Object& a = h.Create(txhost::kinds::Part);
  Object& b = h.Create(txhost::kinds::Part);
  a.Extra<std::vector<int>>().push_back(1);
  a.Extra<std::vector<int>>().push_back(2);
  a.Extra<std::string>() = "queue";
  EXPECT_EQ(a.Extra<std::vector<int>>(), (std::vector<int>{1, 2}));
  EXPECT_EQ(a.Extra<std::string>(), "queue");
  EXPECT_TRUE(b.Extra<std::vector<int>>().empty());
}

TEST(ObjectModelTest, AHeldObjectOutlivesItsHostAndCallsThatNeedTheHostThrow)
{
  SmartPtr<txapi::IPart> part;
  SmartPtr<txapi::IApplication> app;
  {
    Host h;
    SmartPtr<txapi::ITavrixDocument> doc = h.Application().GetDocuments()->Add(txapi::txDocumentPart, true);
    part = SmartPtr<txapi::ITavrixDocument3D>(doc)->GetTopPart();
    app = SmartPtr<txapi::IApplication>(&h.Application());
  }
  ASSERT_TRUE(part);
  EXPECT_EQ(part->GetName(), L"") << "the object's own state is still there";
  EXPECT_THROW(app->GetActiveDocument(), txhost::HostError);
  const auto held = txhost::HeldObjects();
  EXPECT_EQ(held.size(), 2u);
  for (const auto& o : held)
    EXPECT_TRUE(o.Detached);
  part.reset();
  app.reset();
  EXPECT_TRUE(txhost::HeldObjects().empty());
}

TEST(ObjectModelTest, ExtraReleasesAreCountedAndDoNotCorruptTheCount)
{
  Host h;
  Object& o = h.Create(txhost::kinds::Part);
  o.AddRef();
  o.Release();
  EXPECT_EQ(o.Release(), 0);
  EXPECT_EQ(o.RefCount(), 0);
  EXPECT_EQ(txhost::TakeOverReleases(), 1);
  EXPECT_EQ(txhost::TakeOverReleases(), 0);
}

TEST(ObjectModelTest, HeldObjectsNamesEveryStillReferencedObjectOnce)
{
  Host h;
  SmartPtr<txapi::IDocuments> docs = h.Application().GetDocuments();
  auto held = txhost::HeldObjects();
  ASSERT_EQ(held.size(), 1u);
  EXPECT_EQ(held[0].Kind, "documents");
  EXPECT_EQ(held[0].Refs, 1);
  EXPECT_EQ(h.Referenced(), std::vector<Object*>{&h.DocumentsObject()});
  txhost::MarkHeldObjectsReported();
  EXPECT_TRUE(txhost::HeldObjects().empty());
  docs.reset();
}

} // namespace
