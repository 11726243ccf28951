#pragma once
// The size of a catalogue row that the coupling benchmarks build: the first or the last of its main table.
#include <memory>

#include "Duvozadu/ControlModel.h"
#include "Duvozadu/CplgGlobal.h"
#include "hxcadkit/core/TextBase.h"

inline void RowSize(int row, bool last)
{
  std::unique_ptr<TTable> t(TextBase.GetTable(TString(iCouplings[row].LTable[1])));
  const double* A = t ? t->Row(last ? t->CountRow - 1 : 0) : nullptr;
  if (!A) return;
  ControlModel.M = A[0];
  ControlModel.P1d = ControlModel.P2d = A[t->Control];
  ControlModel.T1 = ControlModel.T2 = 0;
}
