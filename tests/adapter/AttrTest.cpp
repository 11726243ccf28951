#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "AdapterSupport.h"

namespace {

using namespace adaptertest;
using drApi::MA;

class AttrTest : public ::testing::Test, public HostedModeller
{
protected:
  void SetUp() override
  {
    MA.drCreate3D(false, true, T(Dir / "work.tpt"), "", "");
    ASSERT_TRUE(MA.R().IDoc && MA.R().Part);
    Obj = MA.R().Part;
  }
  std::string Read(double type)
  {
    TString s("unchanged");
    MA.drGetObjectAttr(Obj, type, s);
    return U8(s.toWideChar());
  }
  SmartPtr<txapi::ITavrixAPIObject> Obj;
};

TEST_F(AttrTest, TypesAreMadeOnlyWhenTheNumberNamesNone)
{
  const double first = MA.drCreateAttrStr(0);
  const double second = MA.drCreateAttrStr(0);
  EXPECT_GT(first, 0);
  EXPECT_NE(first, second);
  EXPECT_EQ(MA.drCreateAttrStr(first), first);
  EXPECT_EQ(H.ObjectsOfKind("AttributeType").size(), 2u);
  EXPECT_EQ(H.ObjectsOfKind("AttributeType")[0]->Prop("name"), "Reference Object");
  EXPECT_GT(MA.drCreateAttrStr(99), second); // no type 99: a new one, numbered by the host
  MA.R().IDoc.reset();
  EXPECT_EQ(MA.drCreateAttrStr(first), 0.0);
}

// An object's text round-trips; the first write attaches an attribute and says so, and with two
// attributes the later one is read and both are written.
TEST_F(AttrTest, TextsRoundTripAndTheLaterOfTwoWins)
{
  const double type = MA.drCreateAttrStr(0);
  EXPECT_EQ(Read(type), "unchanged");
  EXPECT_TRUE(MA.drSetObjectAttr(Obj, type, "первый"));
  EXPECT_EQ(Read(type), "первый");
  SmartPtr<txapi::IAttributeKeeper> keeper = MA.R().IDoc;
  keeper->NewAttribute(static_cast<std::uint64_t>(type), L"", {Obj})
    ->SetValue(L"", 0, 0, txapi::AttributeValue(txapi::PropertyValue(L"второй")));
  EXPECT_EQ(Read(type), "второй");
  EXPECT_TRUE(MA.drSetObjectAttr(Obj, type, ""));
  for (txhost::Object* a : H.ObjectsOfKind("Attribute"))
    EXPECT_EQ(a->Prop("cells")["0,0"], "");
  EXPECT_EQ(H.ObjectsOfKind("Attribute").size(), 2u);
  EXPECT_FALSE(MA.drSetObjectAttr(nullptr, type, "x"));
}

// Type numbers that name nothing (negative, NaN, infinite) ask for type 0 instead of converting
// out of range; numbers past the host's range clamp.
TEST_F(AttrTest, TypeNumbersOutOfRangeNameNoType)
{
  for (double bad : {-5.0, 0.5, std::nan(""), std::numeric_limits<double>::infinity(), 1e30}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(MA.drSetObjectAttr(Obj, bad, "x"));
    EXPECT_EQ(Read(bad), "unchanged");
  }
  const auto& calls = Find(MA.R().IDoc.get())->CallsOf("GetAttributes");
  ASSERT_EQ(calls.size(), 10u);
  EXPECT_EQ(calls[0]->Arguments[0], 0u);
  EXPECT_EQ(calls.back()->Arguments[0], std::numeric_limits<std::uint64_t>::max());
}

TEST_F(AttrTest, MaterialAndDensityLandOnTheActiveDocument)
{
  MA.drSetMaterial(0, "Сталь 45", "", 0.0);
  const txhost::Object* doc = Find(MA.R().IDoc.get());
  EXPECT_EQ(doc->Prop("material"), "Сталь 45");
  EXPECT_EQ(doc->Prop("materialLocation"), "");
  EXPECT_EQ(doc->Prop("density"), 0.0);
}

} // namespace
