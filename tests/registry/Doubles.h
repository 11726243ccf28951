#pragma once
// Recording stand-ins for what the control model and the registry reach above the core: a
// modeller, the host modeller's cells and masses, the running command's bindings and the
// host's message box. Each installs itself for the life of the object.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "hxcadkit/core/Messager.h"
#include "hxcadkit/core/ModelerLink.h"
#include "hxcadkit/core/TPointer.h"
#include "hxcadkit/drawing/drModeler.h"

inline std::string U8(const TString& s)
{
  return s.Utf8Text();
}

// A modeller that only keeps its drawing registry and counts the calls it gets.
class TRecordingModeler : public TModeler3D
{
public:
  TRecordingModeler() : TModeler3D(new TRegistryModeler2D(Constraint), true) {}

  using TModeler2D::drArc;
  void drLine(const double&, const double&, const double&, const double&, int) override { ++Calls; }
  void drArc(const double&, const double&, const double&, const double&, const double&, const double&,
             const double&, int, int) override
  {
    ++Calls;
  }
  void drCircle(const double&, const double&, const double&, int) override { ++Calls; }
  void drEllipse(const double&, const double&, const double&, const double&, const double&, int) override
  {
    ++Calls;
  }
  void drView(int, const double&, const double&, const double&, const double&, const TString&) override
  {
    ++Calls;
  }
  void drAStView7(int, const double&, const double&, const double&, const double&, const TString&,
                  const TString&, const TString&) override
  {
    ++Calls;
  }
  void drSpcObject(TSectionSpc, const TString&, int, int) override { ++Calls; }

  int Calls = 0;

private:
  TConstraint2D Constraint;
};

// The host modeller's title-block cells and part masses.
class TRecordingHost : public THostModelerLink
{
public:
  TRecordingHost() : Previous(THostModelerLink::Set(this)) {}
  ~TRecordingHost() override { THostModelerLink::Set(Previous); }

  double GetMassFile(const TString& path) override
  {
    MassAsked.push_back(U8(path));
    auto it = Mass.find(U8(path));
    return it == Mass.end() ? 0.0 : it->second;
  }
  void drColumnShtamp(int cell) override { Cell = cell; }
  void drStringObj(const TString& text) override { Cells.emplace_back(Cell, U8(text)); }

  std::map<std::string, double> Mass;
  std::vector<std::string> MassAsked;
  std::vector<std::pair<int, std::string>> Cells;

private:
  THostModelerLink* Previous;
  int Cell = -1;
};

// The running command's bindings.
class TRecordingCommand : public TPropertyLink
{
public:
  explicit TRecordingCommand(bool running = true)
      : Previous(TRegistrator::SetPropertyLink(this)), IsRunning(running)
  {
  }
  ~TRecordingCommand() override { TRegistrator::SetPropertyLink(Previous); }

  bool Running() const override { return IsRunning; }
  bool ChangeValue(void* p, bool rebind, bool b, void* newPtr, int skip) override
  {
    EXPECT_TRUE(rebind);
    EXPECT_FALSE(b);
    EXPECT_EQ(newPtr, nullptr);
    EXPECT_EQ(skip, -1);
    Rebound.push_back(p);
    return true;
  }
  void ChangeValue(void* p, int skip) override
  {
    EXPECT_EQ(skip, -1);
    Refreshed.push_back(p);
  }
  void RedrawPhantom() override { ++Phantoms; }

  std::vector<void*> Rebound;
  std::vector<void*> Refreshed;
  int Phantoms = 0;

private:
  TPropertyLink* Previous;
  bool IsRunning;
};

// The host's message box.
class TRecordingBox : public TModelerLink
{
public:
  TRecordingBox() : Previous(TMessager::SetModelerLink(this)) {}
  ~TRecordingBox() override { TMessager::SetModelerLink(Previous); }

  bool Exists() const override { return true; }
  void LiftBox(const TString& text) override { Texts.push_back(U8(text)); }
  int QuestionBox(const TString&, const TString&) override { return 0; }

  std::vector<std::string> Texts;

private:
  TModelerLink* Previous;
};

// Leaves the process-wide registry, log and dependences empty before and after a test.
class TRegistryTest : public ::testing::Test
{
protected:
  void SetUp() override { Reset(); }
  void TearDown() override { Reset(); }
  static void Reset()
  {
    Registrator.Clear();
    Registrator.ClearEdit();
    Registrator.EditedStream.Free();
    Dependences.Clear();
  }
  // The ids in the edit log.
  static std::vector<int> Logged()
  {
    std::vector<int> ids;
    for (Integer i = 0; i < Registrator.EditedId.Count; ++i)
      ids.push_back(Registrator.EditedId[i]);
    return ids;
  }
};
