#include "Duvozadu/CplgGlobal.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <memory>

#include "Duvozadu/ControlModel.h"
#include "Duvozadu/CplgDetails.h"
#include "Duvozadu/CplgShared.h"
#include "hxcadkit/core/Messager.h"
#include "hxcadkit/core/TextBase.h"

#include <sys/stat.h>
#include <unistd.h>

namespace {
const char* const LMUVP[] = {"МУВП ", "МУВП", "МУВП.Палец", nullptr};
const int CMUVP[] = {20, 19};
const int CHinge[] = {4, 18, 7, 7, 7};
const char* const LCouplingFlanec[] = {"Муфта ", "Муфта фланцевая", "Муфта.Болты фланца", nullptr};
const int CCouplingFlanec[] = {21, 6};
const char* const LMUfromSprocket[] = {"Муфта ", "Муфта со звездочкой", "Муфта со звездочкой.Звездочка",
                                       nullptr};
const int CMUfromSprocket[] = {17, 6};
const char* const LPinionTooth[] = {"Муфта-1 ", "Муфта зубчатая", "Муфта.Болты фланца", nullptr};
const char* const LPinionTooth2[] = {"Муфта-2 ", "Муфта зубчатая", "Муфта.Болты фланца", nullptr};
const char* const LToroidalRubber[] = {"Муфта ", "Муфта торообразная", "Муфта.Болты фланца", nullptr};
const int CPinionTooth[] = {21, 6};
const int CToroidalRubber[] = {23, 6};
const char* const LHinge[] = {"Муфта шарнирная-1 ",
                              "Муфта шарнирная",
                              "Муфта шарнирная.Полумуфта",
                              "Муфта шарнирная.Крестовина",
                              "Муфта шарнирная.Палец",
                              "Муфта шарнирная.Втулка",
                              nullptr};
const char* const LHinge2[] = {"Муфта шарнирная-2 ",
                               "Муфта шарнирная",
                               "Муфта шарнирная.Полумуфта",
                               "Муфта шарнирная.Крестовина",
                               "Муфта шарнирная.Палец",
                               "Муфта шарнирная.Втулка",
                               nullptr};
const char* const LJawDisc[] = {"Муфта кулачково-дисковая", "Муфта кулачково-дисковая", nullptr};
const int CJawDisc[] = {16};

// What each coupling's builders read of its tables (TColumnReads, in LTable's order from the main table),
// as their code reads them: a column missing here is one no builder of that coupling reads. Tables two
// couplings share are read apart: the toroidal coupling takes of a flange bolt its thread, head and
// across flats only. The star's teeth are a size (a star has some) and a count (placed round it).
const TColumnReads RMUVP[] = {
    {{2, 3, 4, 5, 7, 10, 11, 14, 17, 18, 19}, {15}, {13, 16}, {0}},
    {{0, 1, 2, 3, 4, 5, 6, 7, 13, 14, 15, 16, 17, 18}, {}, {8, 11}, {}},
};
const TColumnReads RCouplingFlanec[] = {
    {{1, 7, 8, 9, 10, 15, 16, 19, 20}, {6}, {3, 17, 18}, {0}},
    {{0, 2, 3, 4, 5}, {}, {}, {}},
};
// The star's thickness (column 3) is its teeth's extrusion: a size, not a gap.
const TColumnReads RMUfromSprocket[] = {
    {{1, 2, 3, 4, 5, 6, 7, 15, 16}, {}, {8, 9, 10, 11, 13}, {0}},
    {{0, 2, 3, 5}, {5}, {4}, {}},
};
const TColumnReads RPinionTooth[] = {
    {{1, 2, 3, 4, 5, 6, 9, 10, 11, 18, 19}, {20}, {8, 12, 13, 16, 17}, {0}},
    {{0, 2, 3, 4, 5}, {}, {}, {}},
};
// The flanged one's view also places its hub by the offset in column 7.
const TColumnReads RPinionTooth2[] = {
    {{1, 2, 3, 4, 5, 6, 9, 10, 11, 18, 19}, {20}, {7, 8, 12, 13, 16, 17}, {0}},
    {{0, 2, 3, 4, 5}, {}, {}, {}},
};
// The ring b3 (10), the hub d1 (14), the flange's plate b2 (16) and the shell's wall b0 (17) are pieces'
// sizes.
const TColumnReads RToroidalRubber[] = {
    {{1, 2, 5, 6, 7, 8, 9, 10, 14, 16, 17, 19, 20, 21, 22}, {4}, {13, 18}, {0}},
    {{0, 2, 3}, {}, {}, {}},
};
// The sub-tables are read by the main table's row, the cross piece's by its torque. The cross piece's
// chamfer (4) is all its trimming cuts remove, and the pin's flats (5) leave its middle that thick: sizes;
// so is the bushing's core (2), which holds its end rings together.
const TColumnReads RHinge[] = {
    {{1, 3}, {}, {}, {0}},        {{1, 2, 4, 5, 6, 7, 8, 9, 10, 12, 13, 16}, {}, {11, 17}, {}},
    {{1, 2, 3, 4}, {}, {6}, {0}}, {{1, 2, 3, 5}, {}, {4, 6}, {}},
    {{1, 2, 3, 6}, {}, {5}, {}},
};
// The double joint's halves have no second fillet.
const TColumnReads RHinge2[] = {
    {{1, 3}, {}, {}, {0}},        {{1, 2, 4, 5, 6, 7, 8, 9, 10, 12, 13, 16}, {}, {11}, {}},
    {{1, 2, 3, 4}, {}, {6}, {0}}, {{1, 2, 3, 5}, {}, {4, 6}, {}},
    {{1, 2, 3, 6}, {}, {5}, {}},
};
// The insert's tongue s2 (12) and the slot's depth q (13) are sizes of cuts.
const TColumnReads RJawDisc[] = {
    {{1, 3, 4, 5, 6, 7, 10, 11, 12, 13}, {}, {8, 9, 14, 15}, {0}},
};

const char* const KeywayTable = "Шпоночный паз";
constexpr int KeywayColumns = 3;
// The builders read a keyway's width and depth by the bore it is looked up by.
const TColumnReads RKeyway = {{1, 2}, {}, {}, {0}};

TModeler3D* Modeler = nullptr;

// A 3D build is the user's confirmation: why it made nothing goes to the host's message box, never
// into the running command's status bar, which ends with the command. A phantom says nothing.
void Say(const TString& text, int mode)
{
  if (Messager && !Couplings.Quiet)
    Messager->LiftBox(text, mode == 0 ? TMessager::toApi : TMessager::toAlways);
}
void Say(const char* phrase, const TString& what, int mode)
{
  Say(DC(TString(phrase)) + what, mode);
}

// The first row (from 0) holding a value its builders cannot build (see TCoupling::Reads); -1 when none.
Integer UnbuildableRow(const TTable& t, const TColumnReads& reads)
{
  auto within = [&](const double* row, std::initializer_list<int> columns, auto&& fits) {
    return std::all_of(columns.begin(), columns.end(),
                       [&](int c) { return c >= t.CountColumn || fits(row[c]); });
  };
  for (Integer r = 0; r < t.CountRow; ++r) {
    const double* row = t.Row(r);
    if (!within(row, reads.Sizes, [](double v) { return v > 0.0 && v <= LargestValue; }) ||
        !within(row, reads.Others, [](double v) { return v >= 0.0 && v <= LargestValue; }) ||
        !within(row, reads.Counts, [](double v) { return std::fabs(v) <= MostPieces; }) ||
        !within(row, reads.Keys, [](double v) { return std::fabs(v) <= LargestValue; }))
      return r;
  }
  return -1;
}

// A table with no whole row, with fewer columns than its builders read, whose values stop inside a row
// (every row after the cut would be read shifted), with a value that is not a plain number (a hand-written
// "1e308" reads as 1) or with one its builders cannot build (reads) is as good as none. For a row written
// with a value too many or too few and for the last two, badRow gets the row (from 0) of the first such
// fault, so that whoever edited the base can find it, and what says what is wrong there when the row alone
// does not; otherwise -1.
TTable* Load(const char* name, int columns, const TColumnReads* reads = nullptr, Integer* badRow = nullptr,
             TString* what = nullptr)
{
  bool plain = true;
  Integer irregular = -1;
  TTextBase::TOddRow odd;
  TTable* t = TextBase.GetTable(TString(name), &plain, &irregular, &odd);
  Integer bad = t && !plain ? irregular / t->CountColumn : -1;
  // A value's row is counted by the columns, which the rows after an odd one no longer keep.
  if (t && odd.Row >= 0 && (bad < 0 || odd.Row <= bad)) {
    bad = odd.Row;
    if (what)
      *what = Counted(double(odd.Values), "значение", "значения", "значений") + TString(", нужно ") +
              TString(t->CountColumn);
  }
  if (t && (!plain || t->CountRow <= 0 || t->CountColumn < columns ||
            std::int64_t(t->Count) != std::int64_t(t->CountRow) * t->CountColumn)) {
    delete t;
    t = nullptr;
  }
  if (t && reads && (bad = UnbuildableRow(*t, *reads)) >= 0) {
    delete t;
    t = nullptr;
  }
  if (badRow) *badRow = bad;
  return t;
}

// Why the text base gives no table at all, in the words its load used: the file could not be opened, or it
// is no text base. Only looked at, never opened again: the name may stand for a pipe.
TString BaseFault()
{
  const TString file = TextBase.ExecutePath + TextBase.NameTextBase;
  const std::string path = file.Utf8Text();
  struct stat st;
  int e = 0;
  if (::stat(path.c_str(), &st) != 0)
    e = errno;
  else if (!S_ISREG(st.st_mode))
    return TString("Ошибка открытия файла ") + file + TString(": это не файл");
  else if (::access(path.c_str(), R_OK) != 0)
    e = errno;
  if (e != 0)
    return TString("Ошибка открытия файла ") + file + TString(" ") + TString(e) + TString(" ") +
           TString(std::strerror(e));
  return DC(TString("Плохой файл параметров")) + TString(" ") + file;
}

// Why a table is refused: missing (row -1), or the row (from 0) at fault and, when said, what is wrong there.
TString TableFault(const char* table, Integer row, const TString& what)
{
  if (row < 0) return DC(TString("Необнаружена таблица ")) + TString(table);
  const TString at = DC(TString("Неверное значение в таблице ")) + TString(table) + DC(TString(", строка ")) +
                     TString(row + 1);
  return what.Empty() ? at : at + TString(": ") + what;
}

int ColumnsOf(const TCoupling& c, int i)
{
  if (!c.Columns) return 0;
  for (int k = 0; k <= i; ++k)
    if (!c.LTable[k + 1] || (k < i && c.Columns[k] == 0)) return 0;
  return c.Columns[i];
}

const TColumnReads* ReadsOf(const TCoupling& c, int i)
{
  return c.Reads && c.LTable[i + 1] ? &c.Reads[i] : nullptr;
}

// The sizes of the main table that build the model's coupling: both from one torque group,
// every value finite. The diameters are those of real shafts.
bool Fits(const TTable* main)
{
  const double d1 = ControlModel.P1d, d2 = ControlModel.P2d, m = ControlModel.M;
  if (!main || !std::isfinite(m) || !(d1 > 0.0) || !(d2 > 0.0)) return false;
  const TGroupRows g = GroupRows(main, m, d2, d1);
  return Usable(g.R1, main->CountColumn) && Usable(g.R2, main->CountColumn);
}

TString Size(double v)
{
  return TString(v, 2, true);
}
} // namespace

// Row 7's "c" is the Latin letter, as stored names spell it.
TCoupling iCouplings[] = {
    {"МУВП ГОСТ 21424-93", dr3D_MUVP, dr2D_MUVP, dr2D_MUVPView, LMUVP, CMUVP, RMUVP, FitMUVP},
    {"Фланцевая ГОСТ 20761-96", dr3D_CouplingFlanec, dr2D_CouplingFlanec, dr2D_CouplingFlanecView,
     LCouplingFlanec, CCouplingFlanec, RCouplingFlanec, FitFlanged},
    {"со Звездочкой ГОСТ Р 50894-96", dr3D_MUfromSprocket, dr2D_MUfromSprocket, dr2D_MUfromSprocketView,
     LMUfromSprocket, CMUfromSprocket, RMUfromSprocket, FitStar},
    {"Зубчатая ГОСТ Р 50895-96", dr3D_PinionTooth, dr2D_PinionTooth, dr2D_PinionToothView, LPinionTooth,
     CPinionTooth, RPinionTooth, FitToothed},
    {"Зубчатая МЗП ГОСТ Р 50895-96", dr3D_PinionTooth2, dr2D_PinionTooth2, dr2D_PinionTooth2View,
     LPinionTooth2, CPinionTooth, RPinionTooth2, FitToothedFlanged},
    {"Торообразная ГОСТ Р 50892-96", dr3D_ToroidalRubber, dr2D_ToroidalRubber, dr2D_ToroidalRubberView,
     LToroidalRubber, CToroidalRubber, RToroidalRubber, FitToroidal},
    {"Шарнирная ГОСТ 5147-97", dr3D_HingeCoupling, dr2D_HingeCoupling, dr2D_HingeCouplingView, LHinge, CHinge,
     RHinge, FitHinge},
    {"Шарнирная c втулкой ГОСТ 5147-97", dr3D_HingeCoupling2, dr2D_HingeCoupling2, dr2D_HingeCoupling2View,
     LHinge2, CHinge, RHinge2, FitHinge2},
    {"Муфта кулачково-дисковая ГОСТ 20720-93", dr3D_JawDiscCoupling, dr2D_JawDiscCoupling,
     dr2D_JawDiscCouplingView, LJawDisc, CJawDisc, RJawDisc, FitJawDisc},
};
const int CountCoupling = 9;
TCouplings Couplings(iCouplings, CountCoupling);
TTable* ATable[10] = {};

namespace {
// The tables of the last coupling built go with the library, which a host may unload and load again.
struct TATableOwner
{
  ~TATableOwner()
  {
    for (TTable*& t : ATable) {
      delete t;
      t = nullptr;
    }
  }
} ATableOwner;

// What the last build read into ATable and when: a build of the same row while the base stands as it did
// finds there what a read would give again (a read copies and checks every table anew). Tables a caller put
// in ATable itself are other pointers, and are read over.
struct TTablesRead
{
  const TCoupling* Row = nullptr;
  TTextBase::TState State;
  const TTable* Tables[9] = {};
  bool Hold(const TCoupling* row, const TTextBase::TState& state) const
  {
    return row == Row && state == State && std::equal(std::begin(Tables), std::end(Tables), ATable);
  }
} TablesRead;
} // namespace
const double* AS = nullptr;

TModeler3D* CouplingModeler()
{
  return Modeler;
}

TModeler3D* SetCouplingModeler(TModeler3D* m)
{
  TModeler3D* old = Modeler;
  Modeler = m;
  return old;
}

const double* KeywayRow(double d)
{
  const TTable* t = ATable[9];
  AS = t ? t->GetParam(t->Control, d, true) : nullptr;
  return AS;
}

TString TCoupling::NameTable(int i) const
{
  return TString(LTable[i]);
}

bool TCoupling::Make(int mode)
{
  PAction build = mode == 0 ? Make3D : mode == 1 ? Make2D : mode == 2 ? Make2DView : nullptr;
  if (!build) {
    Say("Извините! Пока не реализовано построение ", Name, mode);
    return false;
  }
  ControlModel.PrefixName = TString(LTable[0]);
  ControlModel.FilePrefix = TString();
  for (int k = 0; k < CountCoupling; ++k)
    if (&iCouplings[k] != this && LTable[1] && iCouplings[k].LTable[1] &&
        std::strcmp(iCouplings[k].LTable[1], LTable[1]) == 0)
      ControlModel.FilePrefix = ControlModel.PrefixName;
  const TTextBase::TTogether together(TextBase);
  const TTextBase::TState state = TextBase.State();
  bool complete = true;
  TString why;
  if (!TablesRead.Hold(this, state)) {
    TablesRead = {};
    TTable* read[9] = {};
    complete = ReadTables(read, why);
    for (int i = 0; i < 9 && LTable[i + 1]; ++i) {
      delete ATable[i];
      ATable[i] = read[i];
    }
    if (complete) {
      TablesRead.Row = this, TablesRead.State = state;
      std::copy(ATable, ATable + 9, TablesRead.Tables);
    }
  }
  if (!ATable[9]) ATable[9] = Load(KeywayTable, KeywayColumns, &RKeyway);
  if (!complete) {
    Say(why, mode);
    return false;
  }
  if (!Fits(ATable[0])) {
    const TString shafts = Size(ControlModel.P1d) + TString(" / ") + Size(ControlModel.P2d);
    Say("Нет размера муфты для валов ", shafts, mode);
    return false;
  }
  ControlModel.StandartName = ATable[0]->GOST;
  // The standard's name and the prefix come from the text base and go into the names of the files a 3D
  // build writes: a folder separator in them would put a file somewhere other than the documents folder.
  // Such a build is refused before anything is written.
  if (mode == 0)
    for (const TString* name : {&ControlModel.StandartName, &ControlModel.PrefixName})
      if (name->Find('/') != 0) {
        Say("Знак \"/\" недопустим в имени файла: ", *name, mode);
        return false;
      }
  // A build that makes nothing must not leave the files of the one before for the command to take.
  if (mode == 0) ControlModel.ForgetFiles();
  build();
  return mode != 0 || !ControlModel.Detail3D(0).Empty();
}

bool TCoupling::ReadTables(TTable* (&tables)[9], TString& why) const
{
  // Without the text base every table is missing: the cause is the file, said as its load said it.
  if (!TextBase.IsActive()) why = BaseFault();
  // A coupling's tables come from one state of the file, looked at once.
  const TTextBase::TTogether together(TextBase);
  bool complete = true;
  for (TTable*& t : tables)
    t = nullptr;
  for (int i = 0; i < 9 && LTable[i + 1]; ++i) {
    Integer bad = -1;
    TString what;
    tables[i] = Load(LTable[i + 1], ColumnsOf(*this, i), ReadsOf(*this, i), &bad, &what);
    if (tables[i]) continue;
    if (why.Empty()) why = TableFault(LTable[i + 1], bad, what);
    complete = false;
  }
  if (!complete || !Fit) return complete;
  // Every coupling with fit rules cuts keyways: without its table it would be built without them (and the
  // sleeve-and-pin one without its pins), so it is refused as for a table of its own.
  Integer bad = -1;
  TFitFault fault;
  const std::unique_ptr<TTable> keyways(Load(KeywayTable, KeywayColumns, &RKeyway, &bad, &fault.What));
  if (!keyways) {
    fault.Table = FitKeyway, fault.Row = bad;
  } else if (FitKeywayTable(*keyways, fault) && Fit({tables, keyways.get()}, fault)) {
    return true;
  }
  why = TableFault(fault.Table == FitKeyway ? KeywayTable : LTable[fault.Table + 1], fault.Row, fault.What);
  return false;
}

TTable* TCouplings::ReadMain(const TString& type, TString& why) const
{
  why = TString();
  for (int k = 0; k < CountCoupling; ++k) {
    if (!(Couplings[k].Name == type)) continue;
    TTable* tables[9];
    const bool complete = Couplings[k].ReadTables(tables, why);
    for (int i = 1; i < 9; ++i)
      delete tables[i];
    if (complete) return tables[0];
    delete tables[0];
    return nullptr;
  }
  return nullptr;
}

void TCouplings::GetNames(TArrayOf<TString>& names) const
{
  for (int i = 0; i < CountCoupling; ++i)
    names.Add(Couplings[i].Name);
}

TString TCouplings::GetNameTable(const TString& type, int i) const
{
  for (int k = 0; k < CountCoupling; ++k)
    if (Couplings[k].Name == type) return Couplings[k].NameTable(i);
  return TString();
}

bool TCouplings::Buildable(const TString& type) const
{
  TString why;
  const std::unique_ptr<TTable> main(ReadMain(type, why));
  return Fits(main.get());
}

bool TCouplings::Damaged(const TString& type) const
{
  const double m = ControlModel.M, d1 = ControlModel.P1d, d2 = ControlModel.P2d;
  if (!std::isfinite(m) || !std::isfinite(d1) || !std::isfinite(d2) || !(m > 0.0) || !(d1 > 0.0) ||
      !(d2 > 0.0))
    return true;
  for (int k = 0; k < CountCoupling; ++k) {
    if (!(Couplings[k].Name == type)) continue;
    const TCoupling& c = Couplings[k];
    std::unique_ptr<TTable> main(c.LTable[1] ? Load(c.LTable[1], ColumnsOf(c, 0), ReadsOf(c, 0)) : nullptr);
    return main && !Fits(main.get());
  }
  return false;
}

bool TCouplings::drCoupling(const TString& type, int mode)
{
  for (int k = 0; k < CountCoupling; ++k)
    if (Couplings[k].Name == type) return Couplings[k].Make(mode);
  return false;
}
