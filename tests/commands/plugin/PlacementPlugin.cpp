// A library built only for the scenario tests of the command framework: command 1 places marks in a
// drawing with a 2D command whose panel holds a bound size. Enter places again, Esc leaves; every mark
// placed is reported through the host's message box.

#include "hxcadkit/commands/pmCommon.h"
#include "hxcadkit/commands/pmHost.h"
#include "txapi/LibraryEntry.h"
#include "txapi/txapi.h"

#include <string>

namespace {

class TPlaceMark : public TProcessManager2D
{
public:
  TPlaceMark()
      : TProcessManager2D(TString("Метка"), TString("Укажите точку"), txapi::pnEnterEscHelp, 8, TString("Параметры"),
                          txapi::txProcess2DPlacement)
  {
    AddEditValue(TString("Размер"), TString(""), Size, false);
    SetPhantom(txapi::txMoveGroupPhantom);
  }
  bool ButtonClick(int id) override
  {
    Stop(id == txapi::pbEnter ? 1 : 0);
    return false;
  }
  void RedrawPhantom(double, double, double) override { ++Moves; }
  bool CreateObject(double x, double y, double) override
  {
    CommandHost.Application()->ShowMessage(L"Метка " + std::to_wstring(int(x)) + L" " + std::to_wstring(int(y)) +
                                         L" размер " + std::to_wstring(int(Size)) + L" после " +
                                         std::to_wstring(Moves) + L" движений");
    return true;
  }

  double Size = 5.0;
  int Moves = 0;
};

void RunCommand(unsigned int, txapi::txRunCommandModeEnum)
{
  TPlaceMark command;
  do {
    command.ExitCode = 0;
    command.Run(true, false);
  } while (command.ExitCode != 0);
}

} // namespace

bool LoadTavrixLibrary(txapi::IApplication& app, txapi::ITavrixLibraryActions& actions)
{
  drApi::MA.R().Tavrix7 = &app;
  actions.RegisterRunCommand(RunCommand);
  return true;
}

void UnloadTavrixLibrary()
{
  CommandHost.Release();
  drApi::MA.R().Tavrix7 = nullptr;
}
