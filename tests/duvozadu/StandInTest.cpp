// Couplings built on the stand-in host through the host modeller: every part file written,
// the assembly holding every component the coupling names.
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "PlacedCheck.h"
#include "StandInFixture.h"
#include "txhost/lib/Kinds.h"
#include "txhost/lib/Object.h"
#include "txhost/lib/SvgWriter.h"

// Each row once, the bore-type pairs taken in turn (the recording sweep takes every pair of
// every row; a build on the stand-in writes eight files); the assembly sound in space.
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
    const double z = A[15]; // the row chosen, torque and bore alike
    // The saved assembly, reopened, holds its components.
    txhost::Object* doc = H.OpenDocument(ControlModel.Detail3D(0).Utf8Text(), false);
    ASSERT_TRUE(doc);
    EXPECT_EQ(txhost::model::LiveMembers(*H.TopPart(*doc), txhost::kinds::Part).size(),
              std::size_t(5 * z + 2));
    std::vector<txhost::place::PlacedComponent> parts;
    const std::vector<std::string> findings = PlacedFindings(H, *doc, parts);
    EXPECT_TRUE(findings.empty()) << FindingsText(findings);
    H.CloseDocument(*doc);
    ASSERT_TRUE(H.Documents().empty()) << "every document closed";
  }
}

// A session of builds holds what one build holds: every document a build closes is freed with the
// sources of its components.
TEST_F(StandInCoupling, RepeatedBuildsHoldNoMoreThanTheFirst)
{
  std::unique_ptr<TTable> main(TextBase.GetTable(TString("МУВП")));
  ASSERT_TRUE(main);
  const double* A = main->Row(main->CountRow - 1);
  Model(A[0], A[17], A[17], 0, 0);
  std::size_t afterTwo = 0;
  for (int i = 1; i <= 6; ++i) {
    ASSERT_TRUE(Couplings.drCoupling(TString(MUVP), 0));
    H.Collect();
    if (i == 2) afterTwo = txhost::LiveObjectCount();
  }
  EXPECT_EQ(txhost::LiveObjectCount(), afterTwo);
}

// Sections and views of every row drawn into one drawing, the way the 2D command places them:
// every hatch bounded, every macro closed, and a picture of one coupling to look at
// (HXCAD_COUPLING_SVG names a folder to keep it in).
TEST_F(StandInCoupling, SectionsAndViewsDrawIntoADrawing)
{
  txhost::Object* doc = H.NewDocument(txapi::txDocumentDrawing, true);
  drApi::MA.R().IDoc2D = txapi::SmartPtr<txapi::ITavrixDocument2D>::Attach(
      static_cast<txapi::ITavrixDocument2D*>(doc->QueryInterface(txapi::ITavrixDocument2D::IID)));
  drApi::MA.drOpenView(0);
  std::unique_ptr<TTable> main(TextBase.GetTable(TString("МУВП")));
  for (int i = 0; i < main->CountRow; ++i)
    for (int mode = 1; mode < 3; ++mode) {
      const double* A = main->Row(i);
      Model(A[0], A[17], A[17], i % 4, (i / 4) % 4);
      drApi::MA.drMtr(mode * 600.0, i * 600.0, 0.0, 1.0);
      ASSERT_TRUE(Couplings.drCoupling(TString(MUVP), mode));
      drApi::MA.drDeleteMtr();
    }
  EXPECT_EQ(drApi::MA.R().AMacroObj.Count, 0);
  const auto hatches = H.ObjectsOfKind(txhost::model2d::Hatch);
  EXPECT_GE(hatches.size(), std::size_t(4 * main->CountRow));
  for (const txhost::Object* h : hatches)
    ASSERT_FALSE(h->Prop("boundaries").empty());
  std::ostringstream svg;
  txhost::WriteSvg(*doc, svg);
  EXPECT_EQ(svg.str().find("nan"), std::string::npos);
  if (const char* keep = std::getenv("HXCAD_COUPLING_SVG")) {
    txhost::Object* one = H.NewDocument(txapi::txDocumentDrawing, true);
    drApi::MA.R().IDoc2D = txapi::SmartPtr<txapi::ITavrixDocument2D>::Attach(
        static_cast<txapi::ITavrixDocument2D*>(one->QueryInterface(txapi::ITavrixDocument2D::IID)));
    drApi::MA.drOpenView(0);
    Model(250, 35, 35, 0, 2);
    for (int mode = 1; mode < 3; ++mode) {
      drApi::MA.drMtr(0.0, mode * 250.0, 0.0, 1.0);
      Couplings.drCoupling(TString(MUVP), mode);
      drApi::MA.drDeleteMtr();
    }
    txhost::SaveSvg(*one, std::filesystem::path(keep) / "coupling.svg");
  }
}
