#include "Duvozadu/CplgGlobal.h"

#include <cstring>

#include "Duvozadu/ControlModel.h"
#include "Duvozadu/CplgDetails.h"
#include "hxcadkit/core/Messager.h"
#include "hxcadkit/core/TextBase.h"

namespace {
const char* const LMUVP[] = {"МУВП ", "МУВП", "МУВП.Палец", nullptr};
const char* const LCouplingFlanec[] = {"Муфта ", "Муфта фланцевая", "Муфта.Болты фланца", nullptr};
const char* const LMUfromSprocket[] = {"Муфта ", "Муфта со звездочкой", "Муфта со звездочкой.Звездочка",
                                       nullptr};
const char* const LPinionTooth[] = {"Муфта-1 ", "Муфта зубчатая", "Муфта.Болты фланца", nullptr};
const char* const LPinionTooth2[] = {"Муфта-2 ", "Муфта зубчатая", "Муфта.Болты фланца", nullptr};
const char* const LToroidalRubber[] = {"Муфта ", "Муфта торообразная", "Муфта.Болты фланца", nullptr};
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

const char* const KeywayTable = "Шпоночный паз";

TModeler3D* Modeler = nullptr;

void Say(const char* phrase, const TString& what)
{
  if (Messager) Messager->LiftBox(DC(TString(phrase)) + what, TMessager::toAlways);
}

// A table with no whole row is as good as none.
TTable* Load(const char* name)
{
  TTable* t = TextBase.GetTable(TString(name));
  if (t && t->CountRow <= 0) {
    delete t;
    t = nullptr;
  }
  return t;
}
} // namespace

// Row 7's "c" is the Latin letter, as stored names spell it.
TCoupling iCouplings[] = {
    {"МУВП ГОСТ 21424-93", dr3D_MUVP, dr2D_MUVP, dr2D_MUVPView, LMUVP},
    {"Фланцевая ГОСТ 20761-96", nullptr, nullptr, nullptr, LCouplingFlanec},
    {"со Звездочкой ГОСТ Р 50894-96", nullptr, nullptr, nullptr, LMUfromSprocket},
    {"Зубчатая ГОСТ Р 50895-96", nullptr, nullptr, nullptr, LPinionTooth},
    {"Зубчатая МЗП ГОСТ Р 50895-96", nullptr, nullptr, nullptr, LPinionTooth2},
    {"Торообразная ГОСТ Р 50892-96", nullptr, nullptr, nullptr, LToroidalRubber},
    {"Шарнирная ГОСТ 5147-97", dr3D_HingeCoupling, dr2D_HingeCoupling, dr2D_HingeCouplingView, LHinge},
    {"Шарнирная c втулкой ГОСТ 5147-97", dr3D_HingeCoupling2, dr2D_HingeCoupling2, dr2D_HingeCoupling2View,
     LHinge2},
    {"Муфта кулачково-дисковая ГОСТ 20720-93", nullptr, nullptr, nullptr, LJawDisc},
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
    Say("Извините! Пока не реализовано построение ", Name);
    return false;
  }
  ControlModel.PrefixName = TString(LTable[0]);
  ControlModel.FilePrefix = TString();
  for (int k = 0; k < CountCoupling; ++k)
    if (&iCouplings[k] != this && LTable[1] && iCouplings[k].LTable[1] &&
        std::strcmp(iCouplings[k].LTable[1], LTable[1]) == 0)
      ControlModel.FilePrefix = ControlModel.PrefixName;
  bool complete = true;
  for (int i = 0; LTable[i + 1] && i < 9; ++i) {
    delete ATable[i];
    ATable[i] = Load(LTable[i + 1]);
    if (!ATable[i]) {
      Say("Необнаружена таблица ", TString(LTable[i + 1]));
      complete = false;
    }
  }
  if (!ATable[9]) ATable[9] = Load(KeywayTable);
  if (!complete) return false;
  ControlModel.StandartName = ATable[0]->GOST;
  build();
  return true;
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

bool TCouplings::drCoupling(const TString& type, int mode)
{
  for (int k = 0; k < CountCoupling; ++k)
    if (Couplings[k].Name == type) return Couplings[k].Make(mode);
  return false;
}
