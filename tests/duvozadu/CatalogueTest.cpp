// The catalogue: rows, table slots, refusals.
#include <cmath>
#include <iterator>

#include "CouplingFixture.h"

TEST_F(CouplingTest, CatalogueListsItsRowsAndRefusesWhatItCannotBuild)
{
  TArrayOf<TString> names(4, 4);
  names.Add(TString("a"));
  names.Add(TString("b"));
  Couplings.GetNames(names);
  ASSERT_EQ(names.Count, 11);
  EXPECT_EQ(names[2].Utf8Text(), MUVP);
  EXPECT_EQ(names[9].Utf8Text(), "Шарнирная c втулкой ГОСТ 5147-97");
  EXPECT_EQ(Couplings.GetNameTable(TString("Муфта кулачково-дисковая ГОСТ 20720-93"), 0).Utf8Text(),
            Couplings.GetNameTable(TString("Муфта кулачково-дисковая ГОСТ 20720-93"), 1).Utf8Text());
  EXPECT_EQ(Couplings.GetNameTable(TString(MUVP), 2).Utf8Text(), "МУВП.Палец");

  // The Cyrillic "с" names no row.
  EXPECT_FALSE(Couplings.drCoupling(TString("Шарнирная с втулкой ГОСТ 5147-97"), 1));
  EXPECT_TRUE(Log.Texts.empty());

  ControlModel.PrefixName = TString("before");
  for (int mode : {-1, 3})
    EXPECT_FALSE(Couplings.drCoupling(TString(MUVP), mode));
  // The rows whose builders are still to come.
  const int unbuilt[] = {6, 7};
  for (int row : unbuilt)
    EXPECT_FALSE(iCouplings[row].Make(row % 3));
  ASSERT_EQ(Log.Texts.size(), 2 + std::size(unbuilt));
  EXPECT_EQ(Log.Texts[0], std::string("Извините! Пока не реализовано построение ") + MUVP);
  EXPECT_EQ(ControlModel.PrefixName.Utf8Text(), "before");
  EXPECT_TRUE(M.Calls.empty());
}

TEST_F(CouplingTest, MissingTablesAreReportedWhileTheOthersLoad)
{
  static int runs = 0;
  const char* const list[] = {"П ", "МУВП", "Нет такой", "МУВП.Палец", nullptr};
  TCoupling row{"test", nullptr, [] { ++runs; }, nullptr, list};
  delete ATable[9];
  ATable[9] = nullptr;
  EXPECT_FALSE(row.Make(1));
  EXPECT_EQ(runs, 0);
  ASSERT_EQ(Log.Texts.size(), 1u);
  EXPECT_EQ(Log.Texts[0], "Необнаружена таблица Нет такой");
  EXPECT_TRUE(ATable[0] && !ATable[1] && ATable[2] && ATable[9]);
  // A row with fewer tables leaves the later slots as they were.
  Model(31.5, 16, 16, 0, 0);
  EXPECT_TRUE(Couplings.drCoupling(TString(MUVP), 1));
  EXPECT_EQ(ATable[1]->Name.Utf8Text(), "МУВП.Палец");
  EXPECT_EQ(ATable[2]->Name.Utf8Text(), "МУВП.Палец");
  EXPECT_EQ(ControlModel.StandartName.Utf8Text(), "ГОСТ 21424-93");
  EXPECT_EQ(ControlModel.PrefixName.Utf8Text(), "МУВП ");
}

// A build names the size it makes or makes nothing: shafts no size holds, values that are not numbers, and
// tables with fewer columns than the builders read are refused before anything is drawn, and a 3D build
// never leaves the files of the one before for the command to insert.
TEST_F(CouplingTest, NothingIsBuiltThatNoSizeHolds)
{
  Model(63, 1e4, 20, 0, 0);
  ControlModel.ANameFile[0] = TString("before.tas");
  for (int mode : {0, 1, 2})
    EXPECT_FALSE(Couplings.drCoupling(TString(MUVP), mode));
  ASSERT_EQ(Log.Texts.size(), 3u);
  EXPECT_EQ(Log.Texts[0], "Нет размера муфты для валов 10000.00 / 20.00");
  EXPECT_TRUE(M.Calls.empty());
  EXPECT_EQ(ControlModel.Detail3D(0).Utf8Text(), "before.tas") << "refused before the build";
  for (double bad : {double(NAN), -1.0, 0.0}) {
    Model(63, bad, 20, 0, 0);
    EXPECT_FALSE(Couplings.drCoupling(TString(MUVP), 1)) << bad;
    EXPECT_TRUE(Couplings.Damaged(TString(MUVP))) << bad;
  }
  Model(INFINITY, 20, 20, 0, 0);
  EXPECT_FALSE(Couplings.drCoupling(TString(MUVP), 1));
  // A build that draws nothing (no modeller) names no assembly, not the one of the build before.
  Model(250, 32, 32, 0, 0);
  ASSERT_TRUE(Couplings.drCoupling(TString(MUVP), 0));
  ASSERT_FALSE(ControlModel.Detail3D(0).Empty());
  SetCouplingModeler(nullptr);
  EXPECT_FALSE(Couplings.drCoupling(TString(MUVP), 0));
  EXPECT_TRUE(ControlModel.Detail3D(0).Empty());
  SetCouplingModeler(&M);
  Model(250, 32, 32, 0, 0);
  EXPECT_FALSE(Couplings.Damaged(TString(MUVP)));
  EXPECT_TRUE(Couplings.Buildable(TString(MUVP)));
  {
    // A row whose main table is missing.
    const char* const missing[] = {"Муфта ", "Муфта без таблицы", nullptr};
    const char* const* kept = iCouplings[1].LTable;
    iCouplings[1].LTable = missing;
    EXPECT_FALSE(Couplings.Buildable(TString("Фланцевая ГОСТ 20761-96")));
    EXPECT_FALSE(Couplings.Damaged(TString("Фланцевая ГОСТ 20761-96"))) << "no table to judge by";
    iCouplings[1].LTable = kept;
  }

  // A row that asks for more columns than its table has finds the table missing and builds nothing.
  static int runs = 0;
  const char* const list[] = {"П ", "МУВП", nullptr};
  const int wide[] = {21};
  TCoupling row{"test", nullptr, [] { ++runs; }, nullptr, list, wide};
  Log.Texts.clear();
  EXPECT_FALSE(row.Make(1));
  EXPECT_EQ(runs, 0);
  EXPECT_EQ(Log.Texts, std::vector<std::string>{"Необнаружена таблица МУВП"});
}
