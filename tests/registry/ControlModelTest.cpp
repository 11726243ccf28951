#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "Doubles.h"
#include "hxcadkit/core/ControlModel.h"
#include "hxcadkit/drawing/BaseDetail.h"

namespace {

using dcDetail = TControlModel::dcDetail;

// A model over a table of four details: the assembly and three parts, given out of order.
class TModel : public TControlModel
{
public:
  TModel() : TControlModel("state", "help")
  {
    Table[0] = {2, "Полумуфта", 0, 0.0, 1.0, nullptr, {}};
    Table[1] = {0, "Муфта", 0, 0.0, 1.0, nullptr, {}};
    Table[2] = {3, "Вал", 1, 3.2, 1.0, nullptr, {}};
    Table[3] = {1, "Шпонка", 0, 0.0, 1.0, nullptr, {}};
    SetDetails(Table, 4);
    prFileName = "cplg";
  }
  dcDetail Table[4];
};

TEST(ControlModelDetails, SetDetailsPutsEachRecordAtItsIndexAndMarksNoneUsed)
{
  TModel m;
  const char* names[] = {"Муфта", "Шпонка", "Полумуфта", "Вал"};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(U8(m.DataDetail[i].Name), names[i]) << i;
    EXPECT_EQ(m.NumberDet(i), 0) << i;
  }
  EXPECT_TRUE(m.ExistDetail(0));
  EXPECT_FALSE(m.ExistDetail(1));
  m.SetExistDet(3, 5);
  EXPECT_TRUE(m.ExistDet(3));
  EXPECT_EQ(m.DetailByNumber(5), 3);
  EXPECT_EQ(m.DetailByNumber(7), -1);
  EXPECT_EQ(m.MaterialDet(3), 1);
}

TEST(ControlModelDetails, SetDetailsWithAnIndexNoRecordNamesKeepsThatRecordInPlace)
{
  dcDetail t[3] = {
      {0, "a", 0, 0, 0, nullptr, {}}, {7, "b", 0, 0, 0, nullptr, {}}, {1, "c", 0, 0, 0, nullptr, {}}};
  TControlModel m("s", "h");
  m.SetDetails(t, 3);
  EXPECT_EQ(U8(t[0].Name), "a");
  EXPECT_EQ(U8(t[1].Name), "c");
  EXPECT_EQ(U8(t[2].Name), "b");
  for (const dcDetail& d : t)
    EXPECT_EQ(d.Number, 0);
}

TEST(ControlModelDetails, IndexesOutsideTheTableAnswerEmpty)
{
  TModel m;
  EXPECT_EQ(U8(m.NameDet(-1, 0)), "");
  EXPECT_EQ(U8(m.NameDet(4, 0)), "");
  EXPECT_EQ(U8(m.MarkingDet(9, 0)), "");
  EXPECT_FALSE(m.ExistDetail(9));
  m.SetExistDet(9, 1); // ignored
  m.SetCodeDet(-2, 1, 2, 3);
  EXPECT_EQ(m.GetCodeDet(9).ID, 0);
}

TEST(ControlModelNames, FileNamesCarryNumberVersionAndExtension)
{
  TModel m;
  m.SetExistDet(3, 3);
  struct
  {
    int n, exec;
    const char *file, *file2D, *file3D;
  } cases[] = {
      {0, 0, "cplg0", "cplg0.tdr", "cplg0.tas"},
      {3, 0, "cplg3", "cplg3.tdr", "cplg3.tpt"},
      {3, 2, "cplg3-2", "cplg3-2.tdr", "cplg3-2.tpt"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(U8(m.sfDetail(c.n, c.exec)), c.file);
    EXPECT_EQ(U8(m.sfDetail2D(c.n, c.exec)), c.file2D);
    EXPECT_EQ(U8(m.sfDetail3D(c.n, c.exec)), c.file3D);
  }
}

TEST(ControlModelNames, NameAndDesignation)
{
  TModel m;
  m.SetExistDet(3, 3);
  EXPECT_EQ(U8(m.NameDet(3, 0)), "Вал");
  EXPECT_EQ(U8(m.NameDet(3, 2)), "Вал 2");
  EXPECT_EQ(U8(m.MarkingDet(3, 0)), ""); // no marking prefix, no catalogue
  m.NameMarking = "МВ.01";
  EXPECT_EQ(U8(m.MarkingDet(3, 0)), "МВ.01-3");
  EXPECT_EQ(U8(m.MarkingDet(3, 2)), "МВ.01-3-2");
}

TEST(ControlModelNames, DesignationNamesTheStandardElementOnlyFromALoadedCatalogue)
{
  TModel m;
  m.SetCodeDet(3, 7, 1, -1);
  EXPECT_EQ(U8(m.MarkingDet(3, 0)), "");
  EXPECT_EQ(U8(m.NoteDet(3)), "");
  ABaseDetail.Active = true;
  // The catalogue has no entry 7: its name is empty, the brackets stay.
  EXPECT_EQ(U8(m.MarkingDet(3, 0)), " (  ) ");
  m.SetCodeDet(3, TBaseDetail());
  EXPECT_EQ(U8(m.MarkingDet(3, 0)), "");
  ABaseDetail.Active = false;
}

TEST(ControlModelCurrent, SetCurrentFillsTheModellersDetailInformation)
{
  TRecordingHost host;
  host.Mass["cplg3-2.tpt"] = 12.5;
  TRecordingModeler modeler;
  TModel m;
  m.SetExistDet(3, 3);
  m.NameMarking = "МВ.01";

  ASSERT_TRUE(m.SetCurrent(modeler, 3, 2));
  const TDetailInfo& di = modeler.R2D().DI;
  EXPECT_EQ(di.cDetail, 3);
  EXPECT_EQ(di.cSuffics, 2);
  EXPECT_DOUBLE_EQ(di.Weight, 12.5);
  EXPECT_EQ(U8(di.comment), "Вал2");
  EXPECT_EQ(U8(di.designation), "МВ.01-3-2");
  EXPECT_EQ(U8(di.fileName), "cplg3-2");
  ASSERT_TRUE(AMaterial.ValidIndex(1));
  EXPECT_EQ(U8(di.material), U8(AMaterial[1].Name));
  EXPECT_FALSE(di.material.Empty());
  EXPECT_DOUBLE_EQ(di.Left, 105.0);
  EXPECT_DOUBLE_EQ(di.Top, 740.0);
  EXPECT_EQ(modeler.Calls, 0);
}

TEST(ControlModelCurrent, SetCurrentOfTheAssemblyAndWithoutAMass)
{
  TRecordingHost host;
  TRecordingModeler modeler;
  TModel m;
  ASSERT_TRUE(m.SetCurrent(modeler, 0, 0));
  const TDetailInfo& di = modeler.R2D().DI;
  EXPECT_EQ(U8(di.fileName), "cplg0");
  EXPECT_EQ(U8(di.comment), "Муфта");
  EXPECT_DOUBLE_EQ(di.Weight, 0.0);
  EXPECT_EQ(host.MassAsked, std::vector<std::string>{"cplg0.tas"});
}

TEST(ControlModelCurrent, SetCurrentOfADetailNotInUseChangesNothing)
{
  TRecordingHost host;
  TRecordingModeler modeler;
  TDetailInfo& di = modeler.R2D().DI;
  di.cDetail = 77;
  di.fileName = "kept";
  TModel m;
  for (int n : {2, -1, 4}) {
    EXPECT_FALSE(m.SetCurrent(modeler, n, 0)) << n;
    EXPECT_EQ(di.cDetail, 77);
    EXPECT_EQ(U8(di.fileName), "kept");
  }
  EXPECT_TRUE(host.MassAsked.empty());
}

// A part that logs its drawing steps into a shared list.
class TLoggingPart : public TDetail
{
public:
  TLoggingPart(int kind, TModeler3D* m, std::vector<std::string>& log, bool fail = false)
      : TDetail(kind, m, nullptr), Log(log), Fail(fail)
  {
  }
  void dr2D() const override
  {
    Log.push_back("2D " + std::to_string(Id));
    if (Fail) throw std::runtime_error("part");
  }
  void dr3D(int n) const override
  {
    Log.push_back("3D " + std::to_string(Id) + " " + std::to_string(n));
    if (Fail) throw 1;
  }
  std::vector<std::string>& Log;
  bool Fail;
};

TEST(ControlModelBuild, Make2DDrawsUsedPartsLastFirstAndSurvivesAFailingPart)
{
  TRecordingModeler modeler;
  modeler.R2D().OnlySizes2D = true;
  std::vector<std::string> log;
  TLoggingPart p0(10, &modeler, log), p1(11, &modeler, log, true), p2(12, &modeler, log),
      p3(13, &modeler, log);
  TModel m;
  TDetail* parts[] = {&p0, &p1, &p2, &p3};
  for (int i = 0; i < 4; ++i)
    m.DataDetail[i].PD = parts[i];
  m.SetExistDet(0, 1);
  m.SetExistDet(1, 1);
  m.SetExistDet(3, 2); // detail 2 is not used

  m.Make2D(modeler);
  EXPECT_FALSE(modeler.R2D().OnlySizes2D);
  EXPECT_EQ(log, (std::vector<std::string>{"2D 13", "2D 11"}));

  log.clear();
  m.SetExistDet(2, 4);
  m.Make3D(modeler, 2, false);
  EXPECT_EQ(log, (std::vector<std::string>{"3D 12 10", "3D 11 10"}));
}

TEST(ControlModelStream, WrittenModelReadsBack)
{
  TModel a;
  a.NameMarking = "МВ.01";
  a.SP.sPlant = "Завод";
  a.SP.sDesign = "Иванов";
  a.SP.sChecked = "Петров";
  a.SP.sTechChecked = "t";
  a.SP.sNormoChecked = "n";
  a.SP.sHasRatified = "Сидоров";
  std::vector<std::uint8_t> v;
  a.to(v);
  ASSERT_GE(v.size(), 256u);
  EXPECT_EQ(v[4], 0x61);

  TModel b;
  ASSERT_TRUE(b.from(v));
  EXPECT_EQ(U8(b.NameMarking), "МВ.01");
  EXPECT_EQ(U8(b.SP.sPlant), "Завод");
  EXPECT_EQ(U8(b.SP.sDesign), "Иванов");
  EXPECT_EQ(U8(b.SP.sChecked), "Петров");
  EXPECT_EQ(U8(b.SP.sTechChecked), "t");
  EXPECT_EQ(U8(b.SP.sNormoChecked), "n");
  EXPECT_EQ(U8(b.SP.sHasRatified), "Сидоров");
}

TEST(ControlModelStream, StreamsBeforeVersion33HaveNoMarking)
{
  TKmfData S;
  S.FileHeader.Version = 32;
  for (const char* t : {"p", "d", "c", "t", "n", "r"})
    S.Write(TString(t));
  std::vector<unsigned char> v;
  S.to(v);
  TModel m;
  m.NameMarking = "kept";
  ASSERT_TRUE(m.from(v));
  EXPECT_EQ(U8(m.NameMarking), "kept");
  EXPECT_EQ(U8(m.SP.sPlant), "p");
  EXPECT_EQ(U8(m.SP.sHasRatified), "r");
}

TEST(ControlModelStream, ATruncatedStreamLeavesTheModelAsItWas)
{
  TModel a;
  a.NameMarking = "new";
  a.SP.sHasRatified = "new";
  std::vector<std::uint8_t> v;
  a.to(v);
  v.resize(v.size() - 3);
  TModel b;
  b.NameMarking = "old";
  b.SP.sDesign = "old";
  EXPECT_FALSE(b.from(v));
  EXPECT_EQ(U8(b.NameMarking), "old");
  EXPECT_EQ(U8(b.SP.sDesign), "old");
}

TEST(ControlModelStream, DetailRecordRoundTrip)
{
  dcDetail a{4, "Вал", 2, 1.6, 0.5, nullptr, {7, 1, 2}}, b;
  TKmfData S;
  a.Write(S);
  std::vector<unsigned char> v;
  S.to(v);
  TKmfData R;
  ASSERT_TRUE(R.from(v));
  ASSERT_TRUE(b.Read(R));
  EXPECT_EQ(b.Number, 4);
  EXPECT_EQ(U8(b.Name), "Вал");
  EXPECT_EQ(b.Material, 2);
  EXPECT_DOUBLE_EQ(b.Shoroh, 1.6);
  EXPECT_DOUBLE_EQ(b.Scale2, 0.5);
  EXPECT_EQ(b.DC.ID, 7);
  EXPECT_EQ(b.DC.Index2, 2);
  EXPECT_FALSE(b.Read(R)); // nothing left
  EXPECT_EQ(b.Number, 4);
}

TEST(TitleBlock, WritesOnlyTheNonEmptyCells)
{
  struct
  {
    const char* field;
    int cell;
  } cases[] = {{"plant", 32}, {"design", 110}, {"checked", 111},
               {"tech", 112}, {"normo", 114},  {"ratified", 115}};
  for (const auto& c : cases) {
    TRecordingHost host;
    TStampParam sp;
    TString* fields[] = {&sp.sPlant,       &sp.sDesign,       &sp.sChecked,
                         &sp.sTechChecked, &sp.sNormoChecked, &sp.sHasRatified};
    *fields[&c - cases] = "Текст";
    sp.dr2D();
    EXPECT_EQ(host.Cells, (std::vector<std::pair<int, std::string>>{{c.cell, "Текст"}})) << c.field;
  }
}

// A designer that records what a part hands it.
class TRecordingDesigner : public TConstruktor
{
public:
  bool Design(void* part, void* data, bool flag) const override
  {
    Seen = part;
    Data = data;
    return flag;
  }
  int Set(void* part, int code, double a, double b) const override
  {
    Seen = part;
    return code + int(a + b);
  }
  int Set(void* part, int code, double a, double b, double c) const override
  {
    Seen = part;
    return code + int(a + b + c);
  }
  bool Evaluate(void* part) const override
  {
    Seen = part;
    return true;
  }
  mutable void* Seen = nullptr;
  mutable void* Data = nullptr;
};

TEST(StandardPart, ConstructedEmptyAndForwardsToItsDesigner)
{
  TRecordingModeler modeler;
  TDetail bare(5, &modeler, nullptr);
  EXPECT_EQ(bare.Id, 5);
  EXPECT_EQ(bare.Id2, 0);
  EXPECT_EQ(bare.State, TDetail::stUndefined);
  EXPECT_EQ(bare.DC.ID, 0);
  EXPECT_EQ(bare.DC.Index, -1);
  EXPECT_EQ(bare.DC.Index2, -1);
  EXPECT_EQ(bare.Code, 0);
  EXPECT_EQ(bare.Complement2, nullptr);
  EXPECT_FALSE(bare.NeedPhantom);
  EXPECT_EQ(&bare.M(), &modeler);
  EXPECT_FALSE(bare.toDesign(nullptr, true));
  EXPECT_EQ(bare.Set(1, 2.0, 3.0), 0);
  EXPECT_EQ(bare.CountTread3D(), 1);

  TRecordingDesigner designer;
  TDetail part(6, &modeler, &bare, 9, &designer);
  EXPECT_EQ(part.Complement, &bare);
  EXPECT_EQ(part.Id2, 9);
  int data = 0;
  EXPECT_TRUE(part.toDesign(&data, true));
  EXPECT_EQ(designer.Seen, &part);
  EXPECT_EQ(designer.Data, &data);
  EXPECT_EQ(part.Set(1, 2.0, 3.0), 6);
  EXPECT_EQ(part.Set(1, 2.0, 3.0, 4.0), 10);
  designer.Seen = nullptr;
  part.Evaluate();
  EXPECT_EQ(designer.Seen, &part);
  EXPECT_FALSE(TConstruktor::Empty().Design(&part, nullptr, true));

  TRecordingModeler other;
  part.Code = 3;
  TDetail copy(part, &other);
  EXPECT_EQ(copy.Code, 3);
  EXPECT_EQ(copy.PCon, &designer);
  EXPECT_EQ(&copy.M(), &other);
}

TEST(StandardPart, DeletingThroughTheBaseRunsTheDerivedDestructor)
{
  static int destroyed = 0;
  struct TPart : TDetail
  {
    TPart() : TDetail(1, nullptr, nullptr) {}
    ~TPart() override { ++destroyed; }
  };
  TDetail* p = new TPart;
  delete p;
  EXPECT_EQ(destroyed, 1);
}

} // namespace
