#pragma once
// Shared set-up of the coupling tests: the shipped text base, a recording modeller installed
// as the builders' modeller, and the messages the catalogue shows.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Duvozadu/ControlModel.h"
#include "Duvozadu/CplgGlobal.h"
#include "RecordingModeler.h"
#include "hxcadkit/core/Messager.h"
#include "hxcadkit/core/TextBase.h"

// Records file insertions (plain and with axes) too, so that an assembly's components can be checked.
class TCouplingModeler : public TRecordingModeler
{
public:
  using TRecordingModeler::AddDetail;
  void AddDetail(const double& x, const double& y, const double& z, const TString& DetailName, bool ReverseZ,
                 bool ExternalFile) override
  {
    Calls.push_back({"AddDetailFile", {x, y, z, double(ReverseZ), double(ExternalFile)}, {DetailName}});
  }
  using TRecordingModeler::AddDetailAxle;
  void AddDetailAxle(const double& x, const double& y, const double& z, const TString& DetailName,
                     const double& xDx, const double& xDy, const double& xDz, const double& yDx,
                     const double& yDy, const double& yDz, bool ExternalFile) override
  {
    Calls.push_back(
        {"AddDetailAxleFile", {x, y, z, xDx, xDy, xDz, yDx, yDy, yDz, double(ExternalFile)}, {DetailName}});
  }
};

class TMessageLog : public TModelerLink
{
public:
  bool Exists() const override { return true; }
  void LiftBox(const TString& text) override { Texts.push_back(text.Utf8Text()); }
  int QuestionBox(const TString&, const TString&) override { return 1; }
  std::vector<std::string> Texts;
};

class CouplingTest : public ::testing::Test
{
protected:
  static void SetUpTestSuite()
  {
    ASSERT_TRUE(TextBase.Init(TString(HXCAD_DUVOZADU_DATA), TString("VUVudirido.tb")));
  }
  void SetUp() override
  {
    OldModeler = SetCouplingModeler(&M);
    OldLink = TMessager::SetModelerLink(&Log);
  }
  void TearDown() override
  {
    SetCouplingModeler(OldModeler);
    TMessager::SetModelerLink(OldLink);
  }
  // Sets the model for a coupling of one size and both bore types.
  static void Model(double m, double d1, double d2, int t1, int t2)
  {
    ControlModel.M = m;
    ControlModel.P1d = d1;
    ControlModel.P2d = d2;
    ControlModel.T1 = t1;
    ControlModel.T2 = t2;
  }

  TCouplingModeler M;
  TMessageLog Log;
  TModeler3D* OldModeler = nullptr;
  TModelerLink* OldLink = nullptr;
};

inline const char* const MUVP = "МУВП ГОСТ 21424-93";
