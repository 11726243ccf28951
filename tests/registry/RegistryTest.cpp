#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Doubles.h"
#include "hxcadkit/core/TPointer.h"

namespace {

// The bytes of a memory stream, read back as a fresh stream.
struct TRoundTrip
{
  TKmfData W;
  TKmfData R;
  void Flip()
  {
    std::vector<unsigned char> v;
    W.to(v);
    ASSERT_TRUE(R.from(v));
  }
};

TEST(VariableText, EachKindAsText)
{
  bool b = false;
  double r = 3.14159;
  int i = -42;
  TString s("Вал");
  EXPECT_EQ(U8(TVariablePtr(b).GetText()), "false");
  b = true;
  EXPECT_EQ(U8(TVariablePtr(b).GetText()), "true");
  EXPECT_EQ(U8(TVariablePtr(r).GetText()), "   3.14");
  EXPECT_EQ(U8(TVariablePtr(i).GetText()), "-42");
  EXPECT_EQ(U8(TVariablePtr(s).GetText()), "Вал");
  EXPECT_EQ(U8(TVariablePtr(TVariablePtr::pvReal, nullptr).GetText()), "");
  EXPECT_EQ(U8(TVariablePtr(TVariablePtr::pvExpresionReal, &r).GetText()), "");
}

class LetTest : public TRegistryTest
{
};

TEST_F(LetTest, AnEqualValueChangesNothing)
{
  TRecordingCommand command;
  double v = 1.5;
  Registrator.Announcement(1, v, "v", "");
  EXPECT_FALSE(TVariablePtr(v).Let("1,5"));
  EXPECT_TRUE(Logged().empty());
  EXPECT_TRUE(command.Rebound.empty());
  EXPECT_EQ(command.Phantoms, 0);
}

TEST_F(LetTest, ANewValueIsLoggedOnceAndShownByTheCommand)
{
  TRecordingCommand command;
  double v = 2.0;
  int n = 0;
  Registrator.Announcement(1, v, "v", "");
  Registrator.Announcement(2, n, "n", "");
  EXPECT_TRUE(TVariablePtr(v).Let("1,5"));
  EXPECT_DOUBLE_EQ(v, 1.5);
  EXPECT_TRUE(TVariablePtr(n).Let("12"));
  EXPECT_TRUE(TVariablePtr(v).Let("3"));
  EXPECT_EQ(n, 12);
  EXPECT_EQ(Logged(), (std::vector<int>{1, 2}));
  EXPECT_EQ(command.Rebound, (std::vector<void*>{&v, &n, &v}));
  EXPECT_EQ(command.Phantoms, 3);
}

TEST_F(LetTest, WithoutARunningCommandNothingIsShown)
{
  TRecordingCommand idle(false);
  double v = 0.0;
  EXPECT_TRUE(TVariablePtr(v).Let("7")); // not registered: changed, not logged
  EXPECT_TRUE(Logged().empty());
  EXPECT_TRUE(idle.Rebound.empty());
  EXPECT_EQ(idle.Phantoms, 0);
}

TEST_F(LetTest, OnlyIntsAndRealsAreParsed)
{
  TString s("a");
  bool b = false;
  EXPECT_FALSE(TVariablePtr(s).Let("b"));
  EXPECT_FALSE(TVariablePtr(b).Let("1"));
  EXPECT_FALSE(TVariablePtr(TVariablePtr::pvReal, nullptr).Let("1"));
  EXPECT_EQ(U8(s), "a");
  EXPECT_FALSE(b);
}

class AnnouncementTest : public TRegistryTest
{
};

TEST_F(AnnouncementTest, RegistersUnderPositiveIdsOnce)
{
  TRecordingBox box;
  double a = 1.0, b = 2.0;
  int n = 3;
  Registrator.Announcement(0, a, "zero", "");
  Registrator.Announcement(-4, a, "negative", "");
  EXPECT_EQ(Registrator.Count, 0);
  Registrator.Announcement(5, a, "A", "Длина");
  Registrator.Announcement(5, b, "B", "");
  Registrator.Announcement(6, n, "N", "Число");
  EXPECT_EQ(box.Texts, std::vector<std::string>{"Ошибка регистрации "});
  EXPECT_EQ(Registrator.Count, 2);

  EXPECT_EQ(Registrator.GetPReal(5), &a);
  EXPECT_EQ(Registrator.GetPInteger(5), nullptr);
  EXPECT_EQ(Registrator.GetPInteger(6), &n);
  EXPECT_EQ(Registrator.GetPReal(6), nullptr);
  EXPECT_EQ(Registrator.Get(0), nullptr);
  EXPECT_EQ(Registrator.Get(7), nullptr);
  EXPECT_EQ(Registrator.GetId(&a), 5);
  EXPECT_EQ(Registrator.GetId(&b), 0);
  EXPECT_EQ(Registrator.GetId(nullptr), 0);
  EXPECT_EQ(U8(Registrator.GetComment(&a)), "A");
  EXPECT_EQ(U8(Registrator.GetTitul(&a)), "Длина");
  EXPECT_EQ(U8(Registrator.GetTitul(&b)), "");
  EXPECT_FALSE(Registrator.CheckId(5));
  EXPECT_FALSE(Registrator.CheckId(0));
  EXPECT_TRUE(Registrator.CheckId(8));
}

class EditLogTest : public TRegistryTest
{
};

TEST_F(EditLogTest, TheLogTravelsWithTheStreamAndReplays)
{
  double d = 1.0;
  int n = 1;
  TString unused;
  Registrator.Announcement(1, d, "d", "");
  Registrator.Announcement(2, n, "n", "");
  TVariablePtr(d).Let("4,25");
  TVariablePtr(n).Let("9");
  TRoundTrip io;
  Registrator.toStream(io.W);
  io.Flip();

  Reset();
  double d2 = 0.0;
  int n2 = 0;
  Registrator.Announcement(1, d2, "d", "");
  Registrator.Announcement(2, n2, "n", "");
  ASSERT_TRUE(Registrator.fromStream(io.R));
  EXPECT_EQ(Logged(), (std::vector<int>{1, 2}));
  Registrator.MakeEdit(&n2);
  EXPECT_EQ(n2, 9);
  EXPECT_DOUBLE_EQ(d2, 0.0);
  Registrator.MakeEdit();
  EXPECT_DOUBLE_EQ(d2, 4.25);
}

TEST_F(EditLogTest, ARecordOfAnotherTypeIsPassedOver)
{
  double d = 1.0, e = 2.0;
  Registrator.Announcement(1, d, "d", "");
  Registrator.Announcement(2, e, "e", "");
  TVariablePtr(d).Let("5");
  TVariablePtr(e).Let("6");
  TRoundTrip io;
  Registrator.toStream(io.W);
  io.Flip();

  // The parameter with id 1 has become an int since the log was stored.
  Reset();
  int k = 9;
  double e2 = 0.0;
  Registrator.Announcement(1, k, "k", "");
  Registrator.Announcement(2, e2, "e", "");
  ASSERT_TRUE(Registrator.fromStream(io.R));
  Registrator.MakeEdit();
  EXPECT_EQ(k, 9);
  EXPECT_DOUBLE_EQ(e2, 6.0);
  e2 = 0.0;
  Registrator.MakeEdit(&e2);
  EXPECT_DOUBLE_EQ(e2, 6.0);
}

TEST_F(EditLogTest, ARecordOfAnIdNoLongerRegisteredIsPassedOver)
{
  double a = 0.0, b = 0.0, c = 0.0;
  TString t("x");
  Registrator.Announcement(1, a, "a", "");
  Registrator.Announcement(2, b, "b", "");
  Registrator.Announcement(3, c, "c", "");
  TVariablePtr(a).Let("1");
  TVariablePtr(b).Let("2");
  TVariablePtr(c).Let("3");
  TRoundTrip io;
  Registrator.toStream(io.W);
  io.Flip();

  Reset();
  double a2 = 0.0, c2 = 0.0;
  Registrator.Announcement(1, a2, "a", "");
  Registrator.Announcement(3, c2, "c", "");
  ASSERT_TRUE(Registrator.fromStream(io.R));
  Registrator.MakeEdit();
  EXPECT_DOUBLE_EQ(a2, 1.0);
  EXPECT_DOUBLE_EQ(c2, 3.0);
  c2 = 0.0;
  Registrator.MakeEdit(&c2);
  EXPECT_DOUBLE_EQ(c2, 3.0);
}

TEST_F(EditLogTest, StoringALogWithAnUnregisteredIdKeepsItsRecordsInStep)
{
  double a = 0.0, c = 0.0;
  Registrator.Announcement(1, a, "a", "");
  Registrator.Announcement(3, c, "c", "");
  Registrator.EditedId.Add(2); // logged in another session
  TVariablePtr(a).Let("1");
  TVariablePtr(c).Let("3");
  EXPECT_EQ(Logged(), (std::vector<int>{2, 1, 3}));
  a = c = 0.0;
  Registrator.MakeEdit();
  EXPECT_DOUBLE_EQ(a, 1.0);
  EXPECT_DOUBLE_EQ(c, 3.0);
}

TEST_F(EditLogTest, ARecordThatCannotBePassedOverStopsTheReplay)
{
  double a = 1.0, b = 2.0;
  Registrator.Announcement(1, a, "a", "");
  Registrator.Announcement(2, b, "b", "");
  for (std::int32_t type : {13, 99, -1}) {
    TKmfData S;
    S.Write(type); // a record of an adapter, of no known type
    S.Write(std::int32_t(TVariablePtr::pvReal));
    S.Write(7.0);
    std::vector<unsigned char> v;
    S.to(v);
    Registrator.EditedStream = v;
    Registrator.ClearEdit();
    Registrator.EditedId.Add(1);
    Registrator.EditedId.Add(2);
    Registrator.MakeEdit();
    Registrator.MakeEdit(&b);
    EXPECT_DOUBLE_EQ(a, 1.0) << type;
    EXPECT_DOUBLE_EQ(b, 2.0) << type;
  }
}

TEST_F(EditLogTest, ATruncatedLogReplaysWhatItHolds)
{
  double a = 0.0, b = 0.0;
  Registrator.Announcement(1, a, "a", "");
  Registrator.Announcement(2, b, "b", "");
  TVariablePtr(a).Let("1");
  TVariablePtr(b).Let("2");
  Registrator.EditedStream.Size -= 3; // the last record loses part of its value
  a = b = 0.0;
  Registrator.MakeEdit();
  EXPECT_DOUBLE_EQ(a, 1.0);
  EXPECT_DOUBLE_EQ(b, 0.0);
}

TEST_F(EditLogTest, MalformedStoredDataKeepsTheLog)
{
  double a = 0.0;
  Registrator.Announcement(1, a, "a", "");
  TVariablePtr(a).Let("1");
  TKmfData S;
  S.Write(std::int32_t(256));
  S.Write(std::int32_t(256));
  S.Write(std::int32_t(1));
  S.Write(std::int32_t(0));
  S.Write(std::int32_t(1));
  S.Write(std::int32_t(100000)); // the stream block claims more than there is
  std::vector<unsigned char> v;
  S.to(v);
  TKmfData R;
  ASSERT_TRUE(R.from(v));
  EXPECT_FALSE(Registrator.fromStream(R));
  EXPECT_EQ(Logged(), std::vector<int>{1});
  a = 0.0;
  Registrator.MakeEdit();
  EXPECT_DOUBLE_EQ(a, 1.0);
}

TEST(VariableStream, EveryRecordCanBePassedOverByItsType)
{
  double r = 2.5;
  int i = 7;
  TString s("текст");
  TRoundTrip io;
  TVariablePtr(r).toStream(io.W);
  TVariablePtr(s).toStream(io.W);
  TVariablePtr(i).toStream(io.W);
  TVariablePtr(TVariablePtr::pvReal, nullptr).toStream(io.W); // unbound: carries 0.0
  TVariablePtr(TVariablePtr::pvBoolean, nullptr).toStream(io.W);
  io.W.Write(std::int32_t(0x5EED));
  io.Flip();

  // Read by variables of other types: each record is passed over whole.
  int wrongInt = -1;
  double wrongReal = -1.0;
  TString wrongStr("keep");
  EXPECT_TRUE(TVariablePtr(wrongInt).fromStream(io.R));
  EXPECT_TRUE(TVariablePtr(wrongReal).fromStream(io.R));
  EXPECT_TRUE(TVariablePtr(wrongStr).fromStream(io.R));
  double r2 = -1.0;
  EXPECT_TRUE(TVariablePtr(r2).fromStream(io.R));
  EXPECT_TRUE(TVariablePtr(wrongInt).fromStream(io.R));
  EXPECT_EQ(wrongInt, -1);
  EXPECT_DOUBLE_EQ(wrongReal, -1.0);
  EXPECT_EQ(U8(wrongStr), "keep");
  EXPECT_DOUBLE_EQ(r2, 0.0);
  EXPECT_EQ(io.R.ReadInteger(), 0x5EED);
}

TEST(VariableStream, RegisteredVariableFormDependsOnTheVersion)
{
  double v = 0.0;
  TIdVariable a;
  a.Set(TVariablePtr::pvReal, &v);
  v = 1.25;
  a.Id = 4;
  a.Comment = "L";
  a.Hint = "Длина";
  TRoundTrip io;
  a.toStream(io.W);
  io.Flip();
  double w = 0.0;
  TIdVariable b;
  b.Set(TVariablePtr::pvReal, &w);
  ASSERT_TRUE(b.fromStream(io.R));
  EXPECT_DOUBLE_EQ(w, 1.25);
  EXPECT_EQ(b.Id, 4);
  EXPECT_EQ(U8(b.Hint), "Длина");

  // Before version 86 a record has no id, comment and hint.
  TRoundTrip old;
  old.W.FileHeader.Version = 85;
  TVariablePtr(v).toStream(old.W);
  old.Flip();
  TIdVariable c;
  c.Set(TVariablePtr::pvReal, &w);
  c.Id = 9;
  c.Comment = "kept";
  c.Hint = "kept too";
  w = 0.0;
  ASSERT_TRUE(c.fromStream(old.R));
  EXPECT_DOUBLE_EQ(w, 1.25);
  EXPECT_EQ(c.Id, 9);
  EXPECT_EQ(U8(c.Comment), "kept");
  EXPECT_EQ(U8(c.Hint), "kept too");
}

TEST(RegisteredVariable, DimensionTextAndExpression)
{
  TIdVariable e;
  e.SetExp(-2.0, "L");
  EXPECT_EQ(U8(e.GetDim()), "-(L)");
  EXPECT_EQ(e.Id, -1);
  EXPECT_EQ(e.Type, TVariablePtr::pvExpresionReal);
  EXPECT_EQ(e.PDataReal, &e.Value);
  e.Value = 3.0;
  EXPECT_EQ(U8(e.GetDim()), "L");
}

TEST(LinkedVariables, ExpressionValuesStayWhereTheyAre)
{
  TAVariable list;
  double& first = list.AddExp(1.5, "D1");
  for (int i = 0; i < 6000; ++i)
    list.AddExp(double(i), "x"); // grows past the preallocated entries
  first = 2.5;
  TIdVariable* e = list.GetVariable(first);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(U8(e->Comment), "D1");
  EXPECT_DOUBLE_EQ(*e->PDataReal, 2.5);
  EXPECT_EQ(U8(list.GetExp(first)), "D1");
}

TEST(LinkedVariables, APlainEntryComesBeforeAnExpression)
{
  TAVariable list;
  double x = 2.5;
  list.AddVar("ignored", nullptr, "");
  EXPECT_EQ(list.AVariables.Count, 0);
  EXPECT_EQ(U8(list.GetExp(x)), "   2.50");
  list.AVariables.Add().SetExp(0.0, "expr");
  list.AVariables.Last().PDataReal = &x;
  list.AddVar("plain", &x, "hint");
  EXPECT_EQ(U8(list.GetExp(x)), "plain");
  EXPECT_EQ(list.GetVariable(x)->Type, TVariablePtr::pvReal);
}

// The drawing model's part of handing the list to a modeller.
class TRecordingVariables : public TDrawingLink
{
public:
  TRecordingVariables() : Previous(TDrawingLink::Set(this)) {}
  ~TRecordingVariables() override { TDrawingLink::Set(Previous); }
  void SetCurrent(TModeler3D&, const TCurrentDetail&) override {}
  void ClearOnlySizes2D(TModeler3D&) override {}
  TString MaterialName(int) const override { return TString(); }
  void GetLeafLeftUp(int, int, double&, double&) const override {}
  void dr2D(const TDetail&) override {}
  void dr3D(const TDetail&, int) override {}
  void AddLinkedVariable(TModeler3D& m, const TString& name, double value, const TString& comment,
                         const TString& linkDoc) override
  {
    EXPECT_EQ(&m, Modeler);
    Made.push_back(U8(name) + "=" + std::to_string(value) + " " + U8(comment) + " @" + U8(linkDoc));
  }
  TModeler3D* Modeler = nullptr;
  std::vector<std::string> Made;

private:
  TDrawingLink* Previous;
};

TEST(LinkedVariables, EachEntryBecomesAHostVariable)
{
  TRecordingVariables link;
  TRecordingModeler modeler;
  link.Modeler = &modeler;
  TAVariable list;
  double d = 40.0;
  list.AddVar("D", &d, "Диаметр");
  list.AddExp(2.0, "D/20");
  d = 50.0;
  list.drAddLinkedVariables(nullptr, true);
  list.drAddLinkedVariables(&modeler, false);
  EXPECT_TRUE(link.Made.empty());
  list.LinkDocName = "vars";
  list.drAddLinkedVariables(&modeler, true);
  EXPECT_EQ(link.Made, (std::vector<std::string>{"D=50.000000 Диаметр @vars", "D/20=2.000000  @vars"}));
}

} // namespace
