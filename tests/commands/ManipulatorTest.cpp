// Manipulators of a 3D command: the host's events, found by the manipulator's identifier, carry its frame
// or its number into the bound field and the controls bound to it; bad host data changes nothing.

#include "CommandTestSupport.h"

#include "txapi/IEvents.h"

#include <cmath>
#include <limits>

using namespace commands_test;
using txapi::SmartPtr;

namespace {

using Move = std::function<bool(int, double, double, double, double, bool)>;
using Rotate = std::function<bool(int, double, double, double, double, double, double, double, bool)>;
using Typed = std::function<bool(int, txapi::txManipulatorPrimitiveEnum, double)>;

std::vector<double> Shifted(double x)
{
  return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, 0, 0, 1};
}

class TManipulated : public TBaseManager3D
{
public:
  TManipulated() : TBaseManager3D(T("Команда"), T(""), txapi::pnEnterEscHelp, 1, T("Параметры"), nullptr)
  {
    for (const char* n : {"a", "b", "c", "d", "e"})
      AddEditValue(T(n), T(""), Other, false);
    AddEditValue(T("x"), T(""), M.V[12], false); // the frame's origin x
    txapi::txManipulatorPrimitiveEnum list[] = {txapi::txMPAxisX, txapi::txMPPlaceXOY, txapi::txMPNone};
    AddManipulator(true, M, list);
    AddManipulatorEdit(true, D, TMtr3D());
    AddEditValue(T("dv"), T(""), D, false);
  }
  void RedrawPhantom() override { ++Redraws; }
  bool RotateManipulatorAxisZ(long, const double& angle) override
  {
    M.V[12] = angle; // a command that turns its frame itself
    return TurnsItself;
  }

  TMtr3D M;
  double D = 1.5, Other = 0.0;
  int Redraws = 0;
  bool TurnsItself = false;
};

class Manipulators : public HostFixture
{
protected:
  void SetUp() override
  {
    Open(txapi::txDocumentAssembly);
    C = std::make_unique<TManipulated>();
    C->TBaseManager::RedrawPhantom(); // subscribes
    Events = &Only("manipulators");
    Frame = Only("manipulator-placement").RefProp("placement");
  }
  void TearDown() override
  {
    C.reset();
    HostFixture::TearDown();
  }
  txhost::Value Shown(const char* caption)
  {
    return txhost::FindControl(Only("process-param"), txhost::FromUtf8(caption))->Prop("realValue");
  }

  std::unique_ptr<TManipulated> C;
  txhost::Object* Events = nullptr;
  txhost::Object* Frame = nullptr;
};

TEST_F(Manipulators, MovesTurnsAndTypedValuesReachTheBoundFields)
{
  EXPECT_EQ(Only("manipulator-placement").Prop("id"), 6);
  EXPECT_EQ(Only("manipulator-edit").Prop("id"), 7);
  EXPECT_EQ(Only("manipulator-edit").Prop("value"), 1.5);
  const txhost::Value shown = Only("manipulator-placement").Prop("primitives");
  for (int k = 1; k <= 13; ++k)
    EXPECT_EQ(shown[std::size_t(k)], k == 1 || k == 4) << k;

  Frame->Set("matrix", txhost::ToValue(Shifted(5.0)));
  EXPECT_EQ(txhost::Fire<Move>(*Events, "MoveManipulator", 6, 1.0, 0.0, 0.0, 5.0, false),
            std::vector<bool>{false});
  EXPECT_EQ(C->M.V[12], 5.0);
  EXPECT_EQ(Shown("x"), 5.0);
  EXPECT_EQ(C->Redraws, 1);

  C->D = 4.0; // an edit manipulator's move shows the field's value
  EXPECT_EQ(txhost::Fire<Move>(*Events, "MoveManipulator", 7, 0.0, 0.0, 0.0, 0.0, false),
            std::vector<bool>{true});
  EXPECT_EQ(Only("manipulator-edit").Prop("value"), 4.0);

  // The value the user types reaches the field and its control.
  Only("manipulator-edit").Set("value", 8.25);
  EXPECT_EQ(txhost::Fire<Typed>(*Events, "ChangeManipulatorValue", 7, txapi::txMPNone, 99.0),
            std::vector<bool>{true});
  EXPECT_EQ(C->D, 8.25);
  EXPECT_EQ(Shown("dv"), 8.25);

  // A turn about z the command does not handle reads the frame; one it handles writes its frame back.
  Frame->Set("matrix", txhost::ToValue(Shifted(7.0)));
  EXPECT_EQ(txhost::Fire<Rotate>(*Events, "RotateManipulator", 6, 0.0, 0.0, 0.0, 0.0, 0.0, 1.0, 30.0, false),
            std::vector<bool>{false});
  EXPECT_EQ(C->M.V[12], 7.0);
  C->TurnsItself = true;
  txhost::Fire<Rotate>(*Events, "RotateManipulator", 6, 0.0, 0.0, 0.0, 0.0, 0.0, 1.0, 45.0, false);
  EXPECT_EQ(Frame->Prop("matrix")[12], 45.0);
}

TEST_F(Manipulators, BadHostDataChangesNothing)
{
  const double nan = std::numeric_limits<double>::quiet_NaN();
  std::vector<double> withNaN = Shifted(3.0);
  withNaN[5] = nan;
  C->M.V[12] = 2.0;
  for (txhost::Value m : {txhost::ToValue(std::vector<double>(15, 1.0)), txhost::ToValue(withNaN),
                          txhost::Value::array(), txhost::Value("text")}) {
    Frame->Set("matrix", m);
    txhost::Fire<Move>(*Events, "MoveManipulator", 6, 0.0, 0.0, 0.0, 0.0, false);
    EXPECT_EQ(C->M.V[12], 2.0);
    EXPECT_EQ(C->M.V[5], 1.0);
  }
  Frame->Set("matrix", txhost::ToValue(Shifted(9.0)));
  for (int id : {-1, 0, 5, 8, 1 << 30})
    EXPECT_EQ(txhost::Fire<Move>(*Events, "MoveManipulator", id, 0.0, 0.0, 0.0, 0.0, false),
              std::vector<bool>{false});
  C->TurnsItself = true; // a zero axis calls no hook: the frame is read, not written
  txhost::Fire<Rotate>(*Events, "RotateManipulator", 6, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 45.0, false);
  EXPECT_EQ(C->M.V[12], 9.0);
  Only("manipulator-edit").Set("value", nan);
  C->D = 1.0;
  txhost::Fire<Typed>(*Events, "ChangeManipulatorValue", 7, txapi::txMPNone, 2.0);
  EXPECT_EQ(C->D, 1.0);
}

} // namespace

namespace {

// Two placement manipulators and an edit bound to one frame (its origin x).
class TTwoFrames : public TBaseManager3D
{
public:
  TTwoFrames() : TBaseManager3D(T("Команда"), T(""), txapi::pnEnterEscHelp, 1, T("Параметры"), nullptr)
  {
    AddManipulator(true, M, nullptr);
    AddManipulator(true, M, nullptr);
    AddEditValue(T("x"), T(""), M.V[12], false);
  }
  void RedrawPhantom() override {}
  TMtr3D M;
};

class TwoFrames : public HostFixture
{
protected:
  void SetUp() override
  {
    Open(txapi::txDocumentAssembly);
    C = std::make_unique<TTwoFrames>();
    C->TBaseManager::RedrawPhantom(); // subscribes
  }
  void TearDown() override
  {
    C.reset();
    HostFixture::TearDown();
  }
  std::unique_ptr<TTwoFrames> C;
};

// A frame changed elsewhere (a typed origin, the command's own code, a drag of the other manipulator)
// moves every manipulator bound to it, whole, and each is told to update.
TEST_F(TwoFrames, EveryManipulatorOfAFrameFollowsItsChanges)
{
  std::vector<txhost::Object*> manipulators = H.ObjectsOfKind("manipulator-placement");
  ASSERT_EQ(manipulators.size(), 2u);
  auto matrix = [&](int k) { return manipulators[std::size_t(k)]->RefProp("placement")->Prop("matrix"); };
  auto updates = [&](int k) { return manipulators[std::size_t(k)]->CallsOf("Update"); };
  const std::size_t before0 = updates(0).size(), before1 = updates(1).size();

  // The registry's notice of a typed or computed value: an element's address refreshes the whole frame.
  C->M.V[12] = 3.0;
  C->M.V[0] = -1.0;
  C->APropertyVariable.ChangeValue(&C->M.V[12], true, false, nullptr, -1);
  for (int k : {0, 1}) {
    EXPECT_EQ(matrix(k)[12], 3.0) << k;
    EXPECT_EQ(matrix(k)[0], -1.0) << k;
  }
  ASSERT_GT(updates(0).size(), before0);
  EXPECT_GT(updates(1).size(), before1);
  EXPECT_EQ(updates(0).back()->Arguments, txhost::Value::array({true}));

  // A drag of the first: the second follows, and the typed origin shows it.
  manipulators[0]->RefProp("placement")->Set("matrix", txhost::ToValue(Shifted(6.0)));
  txhost::Fire<Move>(Only("manipulators"), "MoveManipulator", 0, 1.0, 0.0, 0.0, 3.0, false);
  EXPECT_EQ(C->M.V[12], 6.0);
  EXPECT_EQ(matrix(1), txhost::ToValue(Shifted(6.0)));
  EXPECT_EQ(txhost::FindControl(Only("process-param"), L"x")->Prop("realValue"), 6.0);
}

} // namespace
