#pragma once
// The size of a catalogue row that the coupling benchmarks build (the first or the last of its main table),
// and a stand-in host that the library builds into.
#include <filesystem>
#include <memory>
#include <string>

#include "Duvozadu/ControlModel.h"
#include "Duvozadu/CplgGlobal.h"
#include "hxcadkit/adapter/drModelerAPI.h"
#include "hxcadkit/core/TextBase.h"
#include "txhost/lib/Host.h"

// False when the row's table is missing or empty; the sizes are then left as they were.
inline bool RowSize(int row, bool last)
{
  std::unique_ptr<TTable> t(TextBase.GetTable(TString(iCouplings[row].LTable[1])));
  const double* A = t && t->CountRow > 0 ? t->Row(last ? t->CountRow - 1 : 0) : nullptr;
  if (!A) return false;
  ControlModel.M = A[0];
  ControlModel.P1d = ControlModel.P2d = A[t->Control];
  ControlModel.T1 = ControlModel.T2 = 0;
  return true;
}

// Runs body(host) with the library's modeller drawing into a stand-in host whose documents go to a temporary
// folder of the given name, removed afterwards.
template <class F> void OnStandInHost(const std::string& folder, F&& body)
{
  const auto dir = std::filesystem::temp_directory_path() / folder;
  std::filesystem::create_directories(dir);
  {
    txhost::Host host;
    host.SetDocumentsFolder(dir);
    drApi::PControlModel = &ControlModel;
    drApi::MA.Init(host.Application(), "VUVudirido", "#Stamp - Regular");
    SetCouplingModeler(&drApi::MA);
    body(host);
    SetCouplingModeler(nullptr);
    drApi::PControlModel = nullptr;
  }
  std::filesystem::remove_all(dir);
}
