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
  txhost::test::TempDir Dir;
  txhost::Host H;
};
