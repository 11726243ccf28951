// Couplings built on the stand-in host through the host modeller: every part file written,
// the assembly holding every component the coupling names.
#include <filesystem>

#include "../adapter/AdapterSupport.h"
#include "CouplingFixture.h"
#include "txhost/lib/Kinds.h"

namespace {
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
    adaptertest::ResetModeller();
    drApi::PControlModel = nullptr;
    CouplingTest::TearDown();
  }
  txhost::test::TempDir Dir;
  txhost::Host H;
};
} // namespace

// Each row once, the bore-type pairs taken in turn (the recording sweep takes every pair of
// every row; a build on the stand-in writes eight files).
TEST_F(StandInCoupling, EveryRowMakesItsPartsAndAssembly)
{
  std::unique_ptr<TTable> main(TextBase.GetTable(TString("МУВП")));
  ASSERT_TRUE(main);
  for (int i = 0; i < main->CountRow; ++i) {
    const int tt = i % 16;
    const double* A = main->Row(i);
    SCOPED_TRACE(::testing::Message() << "row " << i << " types " << tt % 4 << "," << tt / 4);
    Model(A[0], A[17], A[17], tt % 4, tt / 4);
    ASSERT_TRUE(Couplings.drCoupling(TString(MUVP), 0));
    for (int n = 0; n < 8; ++n)
      ASSERT_TRUE(std::filesystem::exists(ControlModel.Detail3D(n).Utf8Text())) << n;
    const double z = main->GetParam(main->Control, A[17])[15];
    // The saved assembly, reopened, holds its components.
    txhost::Object* doc = H.OpenDocument(ControlModel.Detail3D(0).Utf8Text(), false);
    ASSERT_TRUE(doc);
    EXPECT_EQ(txhost::model::LiveMembers(*H.TopPart(*doc), txhost::kinds::Part).size(),
              std::size_t(5 * z + 2));
    H.CloseDocument(*doc);
    ASSERT_TRUE(H.Documents().empty()) << "every document closed";
  }
}
