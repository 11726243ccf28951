#pragma once
// Couplings built on a stand-in host through the host modeller, into a folder of their own.
#include "../adapter/Drawing2DSupport.h"
#include "CouplingFixture.h"

class StandInCoupling : public CouplingTest
{
protected:
  void SetUp() override
  {
    CouplingTest::SetUp();
    H.SetDocumentsFolder(Dir.path());
    drApi::PControlModel = &ControlModel;
    drApi::MA.Init(H.Application(), "VUVudirido", "#Stamp - Regular");
    SetCouplingModeler(&drApi::MA);
  }
  void TearDown() override
  {
    adaptertest::Reset2D();
    adaptertest::ResetModeller();
    drApi::PControlModel = nullptr;
    CouplingTest::TearDown();
  }
  // Runs coupling k's builder of a mode (0 3D, 1 section, 2 view) on its tables as the base holds them,
  // read without the catalogue's check: what a row the rules refuse would have built.
  static void MakeUnchecked(int k, int mode = 0)
  {
    const TCoupling& c = iCouplings[k];
    for (int i = 0; c.LTable[i + 1]; ++i) {
      delete ATable[i];
      ATable[i] = TextBase.GetTable(TString(c.LTable[i + 1]));
    }
    delete ATable[9];
    ATable[9] = TextBase.GetTable(TString("Шпоночный паз"));
    ControlModel.PrefixName = TString(c.LTable[0]);
    ControlModel.StandartName = ATable[0]->GOST;
    ControlModel.ForgetFiles();
    (mode == 0 ? c.Make3D : mode == 1 ? c.Make2D : c.Make2DView)();
  }
  txhost::test::TempDir Dir;
  txhost::Host H;
};
