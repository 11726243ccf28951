// Panel controls bound to a command's fields: a change in any control reaches the field, the field's
// other controls and the command; a change of the field reaches every control bound to it.

#include "CommandTestSupport.h"

#include "hxcadkit/core/TPointer.h"

#include <cmath>

using namespace commands_test;
using txapi::SmartPtr;

namespace {

// Every value kind, each bound to two controls ("x1" and "x2").
class TBound3D : public TBaseManager3D
{
public:
  TBound3D() : TBaseManager3D(T("Команда"), T(""), txapi::pnEnterEscHelp, 1, T("Параметры"), nullptr)
  {
    for (const char* n : {"1", "2"}) {
      const TString s(n);
      AddEditValue(T("b") + s, T(""), B, false, false);
      AddEditValue(T("r") + s, T(""), R, false);
      AddEditValue(T("k") + s, T(""), RK, 10.0, false);
      AddEditValue(T("i") + s, T(""), I, false);
      AddEditValue(T("d") + s, T(""), D, 0, 10, true);
      AddEditValue(T("s") + s, T(""), S, 0);
      AddEditValue(T("p") + s, T(""), P);
      AddEditValue(T("q") + s, T(""), Q);
      AddEditValue(T("a") + s, T(""), A);
    }
  }
  bool ChangeValue(void* Pointer, int Sender) override
  {
    Told.emplace_back(Pointer, Sender);
    return true;
  }

  bool B = false;
  double R = 0.0, RK = 0.0;
  int I = 0, D = 0;
  TString S;
  TPoint3D P;
  TPoint2D Q;
  TEnum A{T("a"), 0, {T("один"), T("второй"), T("третий")}};
  std::vector<std::pair<void*, int>> Told;
};

class Bindings : public HostFixture
{
protected:
  void SetUp() override
  {
    Open(txapi::txDocumentAssembly);
    C = std::make_unique<TBound3D>();
    C->RedrawPhantom();
  }
  void TearDown() override
  {
    C.reset();
    HostFixture::TearDown();
  }
  txhost::Object& Control(const char* caption)
  {
    txhost::Object* c = txhost::FindControl(Only("process-param"), txhost::FromUtf8(caption));
    EXPECT_NE(c, nullptr) << caption;
    return *c;
  }
  // The user types value into the control, then leaves the panel.
  void Type(const char* caption, const char* value)
  {
    Script().ChangeControl(txhost::FromUtf8(caption), value);
    Script().Stop();
    C->Run(true, false);
    C->Active = true;
  }

  std::unique_ptr<TBound3D> C;
};

TEST_F(Bindings, EveryKindRoundTripsThroughControlFieldOtherControlsAndCommand)
{
  struct Case
  {
    const char* Caption;
    const char* Typed;
    std::function<bool(TBound3D&)> FieldIs;
    void* Address;
    const char* Other; // the field's other control and what it shows
    const char* Prop;
    txhost::Value Shown;
  };
  TBound3D& c = *C;
  const Case cases[] = {
      {"b1", "true", [](TBound3D& m) { return m.B; }, &c.B, "b2", "checked", true},
      {"r1", "2.5", [](TBound3D& m) { return m.R == 2.5; }, &c.R, "r2", "realValue", 2.5},
      {"k1", "25", [](TBound3D& m) { return m.RK == 2.5; }, &c.RK, "k2", "realValue", 25.0},
      {"i1", "7", [](TBound3D& m) { return m.I == 7; }, &c.I, "i2", "intValue", 7},
      {"d1", "3", [](TBound3D& m) { return m.D == 2; }, &c.D, "d2", "intValue", 3},
      {"s2", "вал", [](TBound3D& m) { return m.S == T("вал"); }, &c.S, "s1", "text", "вал"},
      {"p1#1", "4", [](TBound3D& m) { return m.P.y == 4.0; }, &c.P.y, "p2#1", "realValue", 4.0},
      {"q1#2", "9", [](TBound3D& m) { return m.Q.x == 0 && m.Q.y == 0; }, &TBaseManager::EmptyValue, "q2#2",
       "realValue", 9.0},
      {"a1", "третий", [](TBound3D& m) { return *m.A.PInt == 2; }, &c.A, "a2", "currentIndex", 2},
  };
  for (const Case& k : cases) {
    c.Told.clear();
    Type(k.Caption, k.Typed);
    EXPECT_TRUE(k.FieldIs(c)) << k.Caption;
    EXPECT_EQ(Control(k.Other).Prop(k.Prop), k.Shown) << k.Caption;
    ASSERT_EQ(c.Told.size(), 1u) << k.Caption;
    EXPECT_EQ(c.Told[0].first, k.Address) << k.Caption;
    EXPECT_EQ(c.Told[0].second, c.APropertyVariable.Sender(SmartPtr<txapi::IAPIObject>(
                                    SmartPtr<txapi::IPropertyControl>::Attach(static_cast<txapi::IPropertyControl*>(
                                        Control(k.Caption).QueryInterface(txapi::IPropertyControl::IID))))))
        << k.Caption;
  }
  TBaseManager::EmptyValue = 0.0;
}

TEST_F(Bindings, ARegistryLetShowsTheNewValueInEveryBoundControl)
{
  TVariablePtr r(C->R);
  EXPECT_TRUE(r.Let(T("3.5")));
  EXPECT_EQ(Control("r1").Prop("realValue"), 3.5);
  EXPECT_EQ(Control("r2").Prop("realValue"), 3.5);
  ASSERT_FALSE(C->Told.empty());
  EXPECT_EQ(C->Told[0], std::make_pair(static_cast<void*>(&C->R), -1));
}

TEST_F(Bindings, ScaledAndShiftedFieldsAreShownAsTheirAddersShowThem)
{
  C->RK = 0.25;
  C->D = 4;
  C->APropertyVariable.ChangeValue(&C->RK, -1);
  C->APropertyVariable.ChangeValue(&C->D, -2);
  EXPECT_EQ(Control("k2").Prop("realValue"), 2.5);
  EXPECT_EQ(Control("d1").Prop("intValue"), 5);
  EXPECT_EQ(C->Told.size(), 1u); // -2 tells the command nothing
}

TEST_F(Bindings, OwnerGroupsStillRefreshTogetherAfterTheSetGrew)
{
  const int before = C->APropertyVariable.Count;
  std::vector<double> more(70);
  for (double& d : more)
    C->AddEditValue(T("more"), T(""), d, false);
  ASSERT_GT(C->APropertyVariable.Count, 64);
  ASSERT_EQ(C->APropertyVariable.Count, before + 70);
  C->P = TPoint3D(7, 8, 9);
  C->APropertyVariable.ChangeValue(&C->P.x, -1);
  for (const char* edit : {"p1#0", "p1#1", "p1#2", "p2#0", "p2#1", "p2#2"})
    EXPECT_EQ(Control(edit).Prop("realValue"), 7.0 + (edit[3] - '0')) << edit;
  EXPECT_TRUE(C->APropertyVariable.SetVisible(&C->P.z, false));
  EXPECT_EQ(Control("p1").Prop("visible"), false);
}

} // namespace
