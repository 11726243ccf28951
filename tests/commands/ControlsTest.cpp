// What the panel adders hand to the host, by kind, and what they do without a tab.

#include "CommandTestSupport.h"

using namespace commands_test;
using txapi::SmartPtr;
using txhost::Value;

namespace {

class TPanel : public TBaseManager3D
{
public:
  TPanel() : TBaseManager3D(T("Команда"), T(""), txapi::pnEnterEscHelp, 1, T("Параметры"), nullptr) {}
};

class Controls : public HostFixture
{
protected:
  void SetUp() override
  {
    Open(txapi::txDocumentAssembly);
    C = std::make_unique<TPanel>();
  }
  void TearDown() override
  {
    C.reset();
    HostFixture::TearDown();
  }
  // The host object behind a control the adders returned.
  template <class I> static txhost::Object& Of(const SmartPtr<I>& c) { return *txhost::Object::From(c.get()); }
  // The arguments of every call op on o.
  static Value Calls(const txhost::Object& o, std::string_view op)
  {
    Value v = Value::array();
    for (const auto* c : o.CallsOf(op))
      v.push_back(c->Arguments);
    return v;
  }

  std::unique_ptr<TPanel> C;
};

TEST_F(Controls, SettingsByKind)
{
  double r = 2.5;
  int i = 0;
  TString s;
  bool b = false;
  auto box = C->AddEditValue(T("b"), T("hint"), b, true, true);
  EXPECT_EQ(Of(box).Prop("enabled"), false);
  EXPECT_EQ(Of(box).Prop("style"), 1);
  EXPECT_EQ(Of(C->AddCheckBox(T("c"), T(""), true, false, false)).Prop("style"), 0);
  auto real = C->AddEditValue(T("r"), T("hint"), r, 10.0, true);
  EXPECT_EQ(Of(real).Prop("realValue"), 25.0);
  EXPECT_EQ(Of(real).Prop("enabled"), false);
  EXPECT_EQ(C->APropertyVariable.Last().Type, TVariablePtr::pvRealMultiply);
  EXPECT_EQ(C->APropertyVariable.Last().Data.Multiply, 10.0);
  auto integer = C->AddEditValue(T("i"), T(""), i, true);
  EXPECT_EQ(Of(integer).Prop("readOnly"), true);
  EXPECT_EQ(Of(integer).Prop("enabled"), true);
  auto spin = C->AddEditValue(T("d"), T(""), i, 1, 9, true);
  EXPECT_EQ(Of(spin).Prop("intValue"), 1);
  EXPECT_EQ(Calls(Of(spin), "SetRange"), Value::parse("[[1.0, 9.0]]"));
  EXPECT_EQ(Of(C->AddEditValue(T("s"), T(""), s, 0)).CallCount("SetWidth"), 0u);
  EXPECT_EQ(Of(C->AddEditStr(T("s"), T(""), s, -3)).Prop("width"), -3);
  TPoint2D q(1, 2);
  auto point = C->AddEditValue(T("q"), T(""), q);
  EXPECT_EQ(Calls(Of(point), "SetCoordinateState"), Value::parse("[[0, 3], [1, 3], [2, 2]]"));
  EXPECT_EQ(C->APropertyVariable.Last().PDataReal, &TBaseManager::EmptyValue);
  auto check = C->AddEditCheckBox(T("e"), T(""), true);
  ASSERT_TRUE(check);
  EXPECT_EQ(Of(check).Prop("option1"), true);
  EXPECT_EQ(Of(check).Prop("hyperLink"), true);
  EXPECT_EQ(C->APropertyVariable.Count, 8);
}

TEST_F(Controls, ListsButtonsAndTabs)
{
  TArrayOf<TString> none(4, 4);
  auto hidden = C->AddListStr(T("l"), T(""), none);
  EXPECT_EQ(Of(hidden).Prop("visible"), false);
  EXPECT_FALSE(Of(hidden).Has("items"));
  TEnum choice(T("a"), 1, {T("x"), T("y")});
  auto list = C->AddEditValue(T("a"), T(""), choice);
  EXPECT_EQ(Of(list).Prop("items"), Value::parse(R"(["x", "y"])"));
  EXPECT_EQ(Of(list).Prop("width"), 6);
  EXPECT_FALSE(C->SetValue(list, T("z")));
  EXPECT_EQ(Of(list).Prop("currentIndex"), 0);
  EXPECT_TRUE(C->SetValue(list, T("y")));
  C->APropertyVariable.Reset(&choice, choice.ADef, -1, T(""));
  EXPECT_EQ(Of(list).Prop("currentIndex"), 0);
  C->Reset(list, choice.ADef, 9, T("новое"));
  EXPECT_EQ(Of(list).Prop("currentIndex"), 9);
  EXPECT_EQ(Of(list).Text("caption"), L"новое");

  auto radio = C->AddRadioButton(T("r"), T(""), 2, {TButtonData(5, 11, T("a")), TButtonData(6, -12, T("b"))});
  EXPECT_EQ(Calls(Of(radio), "AddBarButton"), Value::parse("[[1, 11, -1], [2, -12, -1]]"));
  EXPECT_EQ(Of(radio).Prop("button2"), true);
  auto push = C->AddPushButton(T("p"), 1, {TButtonData(T("a"), -5)});
  EXPECT_EQ(Calls(Of(push), "AddBarButton"), Value::parse("[[1, 5, -1]]"));
  EXPECT_EQ(Calls(Of(push), "SetBarButtonFont"), Value::parse(R"([[1, "#Stamp - Regular"]])"));
  SmartPtr<txapi::IPropertyControl> any(list);
  C->AddCheckButtonTo(any, -3, 1, 2, T("t"), true);
  C->AddCheckButtonTo(any, 4, -1, 2, T("t"), false);
  EXPECT_EQ(Of(list).Prop("button3"), false);
  EXPECT_EQ(Of(list).Prop("button4"), true);
  EXPECT_EQ(Calls(Of(list), "AddCheckButton"),
            Value::parse(R"([[3, 1, 2, "t", ""], [4, -1, 2, "t", "#Stamp - Regular"]])"));

  auto second = C->AddTab(T("Спецификация"), true);
  auto sep = C->AddSeparator(nullptr, txapi::txSeparatorDownName);
  EXPECT_EQ(Of(sep).Parent(), Of(second).RefProp("controls"));
  EXPECT_EQ(Of(C->Tab(0)).Text("caption"), L"Параметры");
  EXPECT_EQ(C->Tab(1), second);
  EXPECT_EQ(C->PropertyTab, second);
  EXPECT_EQ(Of(C->AddGrid(T("g"), T(""), 3, 4, true, 1, 1)).Prop("size"), 80);
}

TEST_F(Controls, WithoutATabNothingIsAddedOrBound)
{
  C->PropertyControls = nullptr;
  double r = 0;
  bool b = false;
  TPoint3D p;
  EXPECT_FALSE(C->AddEditValue(T("r"), T(""), r, false));
  EXPECT_FALSE(C->AddEditValue(T("b"), T(""), b, false, false));
  EXPECT_FALSE(C->AddEditValue(T("p"), T(""), p));
  EXPECT_FALSE(C->AddSeparator(L"x", txapi::txSeparatorDownName));
  EXPECT_EQ(C->APropertyVariable.Count, 0);
  H.GetFaults().RefuseHandOut("IPropertyTabs.Add");
  EXPECT_FALSE(C->AddTab(T("x"), true));
  EXPECT_FALSE(C->PropertyControls);
}

} // namespace
