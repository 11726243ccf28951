#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Doubles.h"
#include "hxcadkit/core/TPointer.h"

namespace {

TEST(Adapter, ATextNotAmongTheChoicesAppliesTheFirst)
{
  TArrayOf<TString> choices(8, 8);
  for (const char* c : {"Муфта А", "Муфта Б"})
    choices.Add(c);
  TString value("Муфта Б");
  TAdapterOf<TString, TAdapter::pvStr> a("Муфта", &value, false, choices, false);
  EXPECT_EQ(choices.Current, 1);
  a.Set("нет такой");
  EXPECT_EQ(choices.Current, 0);
  EXPECT_EQ(U8(value), "Муфта А");
  EXPECT_EQ(U8(a.Text()), "Муфта А");
  EXPECT_TRUE(a.IsSpecified());
}

TEST(Adapter, TheNotSpecifiedChoiceIsNeverApplied)
{
  TArrayOf<TString> choices(8, 8);
  for (const char* c : {"*", "10", "20"})
    choices.Add(c);
  double v = 5.0;
  TAdapterOf<double, TAdapter::pvReal> a("Момент", &v, false, choices, false);
  a.Set("*");
  EXPECT_DOUBLE_EQ(v, 5.0);
  EXPECT_FALSE(a.IsSpecified());
  a.Set("20");
  EXPECT_DOUBLE_EQ(v, 20.0);
}

TEST(Adapter, PerChoiceValues)
{
  TArrayOf<TString> choices(4, 4);
  for (const char* c : {"малый", "большой"})
    choices.Add(c);
  TArrayOf<double> values(4, 4);
  values.Add(1.25);
  values.Add(2.5);
  double v = 0.0;
  TAdapter a("Размер", TAdapter::pvReal, &v, false, choices, false, &values);
  a.Set("большой");
  EXPECT_DOUBLE_EQ(v, 2.5);
  values.Clear(); // a choice without a value applies nothing
  a.Set("малый");
  EXPECT_DOUBLE_EQ(v, 2.5);
}

TEST(Adapter, CurrentChoiceShowsTheBoundValue)
{
  TArrayOf<TString> reals(4, 4);
  for (double d : {1.5, 2.5})
    reals.Add(TString(d, 2, true, 7));
  double v = 2.5;
  TAdapter r("Вал", TAdapter::pvReal, &v, false, reals, false, nullptr);
  EXPECT_EQ(r.GetCurrent(), 1);
  v = 9.0;
  EXPECT_EQ(r.GetCurrent(), 0);

  TArrayOf<TString> ints(4, 4);
  for (const char* c : {"8", "12", "16"})
    ints.Add(c);
  int n = 12;
  TAdapter i("Число", TAdapter::pvInteger, &n, false, ints, false, nullptr);
  EXPECT_EQ(ints.Current, 1);
  n = 16;
  EXPECT_EQ(i.GetCurrent(), 2);
  i.Set("8");
  EXPECT_EQ(n, 8);

  TAdapter unbound("Пусто", TAdapter::pvInteger, nullptr, false, ints, false, nullptr);
  EXPECT_EQ(unbound.GetCurrent(), 0);
}

TEST(Adapter, EnumerationOwnsItsValueAndChoices)
{
  TEnum t("Тип ", 1, {"цилиндрический", "конический", "шлицевой"});
  EXPECT_EQ(t.Count(), 3);
  EXPECT_EQ(static_cast<TArrayOf<TString>&>(t).Current, 1);
  EXPECT_EQ(*t.PInt, 1);
  t.Set("шлицевой");
  EXPECT_EQ(*t.PInt, 2);
  *t.PInt = 0;
  EXPECT_EQ(t.GetCurrent(), 0);
  EXPECT_EQ(U8(t), "цилиндрический");

  TEnum out("Тип ", 5, {"a", "b"});
  EXPECT_EQ(static_cast<TArrayOf<TString>&>(out).Current, -1);
  EXPECT_EQ(U8(out.Text()), "");
}

TEST(Adapter, AnEmptyChoiceListAppliesNothing)
{
  TArrayOf<TString> none(4, 4);
  int n = 3;
  TAdapter a("x", TAdapter::pvEnumInteger, &n, false, none, false, nullptr);
  a.Set("anything");
  a.SetI(0);
  EXPECT_EQ(n, 3);
  EXPECT_EQ(a.GetCurrent(), -1);
  EXPECT_FALSE(a.IsSpecified());
}

TEST(Adapter, StreamsItsValueAndReportsAMissingOne)
{
  TRecordingBox box;
  TArrayOf<TString> choices(4, 4);
  choices.Add("a");
  int n = 42;
  TAdapter a("n", TAdapter::pvInteger, &n, false, choices, false, nullptr);
  TAdapter unbound("u", TAdapter::pvInteger, nullptr, false, choices, false, nullptr);
  TKmfData W;
  a.toStream(W);
  unbound.toStream(W);
  W.Write(std::int32_t(TVariablePtr::pvAdapter));
  a.toStream(W);
  std::vector<unsigned char> v;
  W.to(v);
  EXPECT_EQ(v.size(), 256u + 4 + 4 + 4);
  EXPECT_EQ(box.Texts, std::vector<std::string>{"Ошибка переменной TAdapter::toStream"});

  TKmfData R;
  ASSERT_TRUE(R.from(v));
  n = 0;
  a.fromStream(R);
  EXPECT_EQ(n, 42);
  n = 0;
  EXPECT_TRUE(TVariablePtr(a).fromStream(R)); // a record read by its adapter
  EXPECT_EQ(n, 42);
  unbound.fromStream(R);
  EXPECT_EQ(box.Texts.back(), "Ошибка переменной TAdapter::fromStream");
}

} // namespace
