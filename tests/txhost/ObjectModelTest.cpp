#include "txapi/txapi.h"
#include "txhost/lib/Faults.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Kinds.h"
#include "txhost/lib/Value.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

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

namespace {

// A value with the type of every number in it: 1, 1u and 1.0 print alike, and a log or a saved file must
// not turn the one into the other.
std::string Typed(const Value& v)
{
  switch (v.type()) {
  case Value::value_t::number_integer:
    return "i" + v.dump();
  case Value::value_t::number_unsigned:
    return "u" + v.dump();
  case Value::value_t::number_float:
    return "f" + v.dump();
  case Value::value_t::array: {
    std::string out = "[";
    for (const Value& e : v)
      out += Typed(e) + ",";
    return out + "]";
  }
  case Value::value_t::object: {
    std::string out = "{";
    for (const auto& [key, e] : v.items())
      out += key + ":" + Typed(e) + ",";
    return out + "}";
  }
  default:
    return v.dump();
  }
}

template <class I> SmartPtr<I> ViewAs(Object& o)
{
  return SmartPtr<I>::Attach(static_cast<I*>(o.QueryInterface(I::IID)));
}

} // namespace

// A call's arguments and a property are written over what a renewed object held before in their place:
// whatever that was, the result is what a value made anew would be, to the type of every number.
TEST(ObjectModelTest, AValueWrittenOverAnyOtherIsTheOneMadeAnew)
{
  Host h;
  Object& line = h.Create("line-segment");
  Object& arc = h.Create("arc");
  const Value ref = txhost::RefValue(&line);
  const std::vector<Value> before{nullptr,
                                  true,
                                  -3,
                                  7u,
                                  2.5,
                                  "text",
                                  Value::array(),
                                  txhost::Args(1, 2.0, true, 4u),
                                  Value::object(),
                                  ref,
                                  Value{{"$obj", nullptr}},
                                  Value{{"$obj", -1}},
                                  Value{{"$other", 1}},
                                  Value{{"$obj", 1}, {"more", 2}},
                                  Value::array({ref, txhost::RefValue(&arc), nullptr})};
  const auto check = [&](const auto& v, const char* what) {
    using T = std::decay_t<decltype(v)>;
    const Value made = txhost::ToValue(v);
    for (const Value& b : before) {
      Value slot = b;
      txhost::AssignValue(slot, v);
      EXPECT_EQ(Typed(slot), Typed(made)) << what << " over " << Typed(b);
      if constexpr (std::is_arithmetic_v<T>) {
        Object& o = h.Create("arc");
        o.Set("p", b);
        o.Set("p", v);
        EXPECT_EQ(Typed(o.Prop("p")), Typed(Value(v))) << what << " set over " << Typed(b);
      }
    }
  };
  check(true, "true");
  check(false, "false");
  check(-5, "int");
  check(5, "positive int");
  check(5u, "unsigned");
  check(short(-2), "short");
  check(std::int64_t(-1), "int64");
  check(std::uint64_t(1) << 63, "uint64");
  check(std::size_t(3), "size");
  check(2.0, "double");
  check(-0.0, "negative zero");
  check(1.5f, "float");
  check('a', "char");
  check(std::uint8_t(200), "byte");
  check(txapi::txCurveStyleEnum(2), "enumeration");
  check(std::wstring(L"тест"), "text");
  check(std::vector<double>{1, 2}, "numbers");
  check(std::vector<double>{}, "no numbers");
  check(std::vector<std::uint8_t>{1, 2, 255}, "bytes");
  SmartPtr<txapi::IDrawingObject> lineView = ViewAs<txapi::IDrawingObject>(line);
  SmartPtr<txapi::IDrawingObject> arcView = ViewAs<txapi::IDrawingObject>(arc);
  check(SmartPtr<txapi::IDrawingObject>(), "no object");
  check(lineView, "an object");
  check(static_cast<txapi::IAPIObject*>(&arc), "an object's identity");
  check(std::vector<SmartPtr<txapi::IDrawingObject>>{lineView, nullptr, arcView}, "objects");
  check(std::vector<SmartPtr<txapi::IDrawingObject>>{arcView}, "one object");
}

// A query is answered by the identifier's text, wherever the text lies: a library has copies of its own.
TEST(ObjectModelTest, AnInterfaceIsFoundByItsIdentifierWhereverItsTextLies)
{
  Host h;
  for (const std::string& kind : txhost::KindTable::Builtin().Names()) {
    Object& o = h.Create(kind);
    const std::string identity(txapi::IAPIObject::IID.text());
    txapi::IAPIObject* self = o.QueryInterface(identity);
    EXPECT_EQ(self, &o) << kind;
    if (self != nullptr) self->Release();
    bool copyFirst = false;
    for (const txhost::FacetEntry& e : o.Spec().Facets) {
      const std::string copy(e.Iid);
      // The view made on the one query is found by the other, in either order.
      copyFirst = !copyFirst;
      txapi::IAPIObject* first = o.QueryInterface(copyFirst ? std::string_view(copy) : e.Iid);
      txapi::IAPIObject* second = o.QueryInterface(copyFirst ? e.Iid : std::string_view(copy));
      EXPECT_NE(first, nullptr) << kind << " " << e.Name;
      EXPECT_EQ(first, second) << kind << " " << e.Name;
      for (txapi::IAPIObject* p : {first, second})
        if (p != nullptr) p->Release();
    }
    EXPECT_EQ(o.RefCount(), 0) << kind;
  }
}
