#include "../commands/CommandTestSupport.h"

#include "hxcadkit/commands/HotPointData.h"
#include "hxcadkit/commands/TPopUpEdit.h"
#include "hxcadkit/commands/WindowOGLControls.h"
#include "hxcadkit/drawing/drModeler.h"
#include "tests/support/gl/GLTestContext.h"

#include <cstdlib>

using namespace commands_test;

namespace {

class ControlsPaint : public HostFixture
{
protected:
  void SetUp() override { Open(txapi::txDocumentAssembly); }
};

template <class F> int Count(const hxgl::TImage& im, int x0, int y0, int x1, int y1, F test)
{
  int n = 0;
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) {
      const unsigned char* p = im.At(x, im.Height - 1 - y);
      n += test(p[0], p[1], p[2]);
    }
  return n;
}

} // namespace

// A tree with an open group, an open list, a hot-point editor and a radial dimension, painted in one frame.
TEST_F(ControlsPaint, TreeListEditorAndDimensionDrawWhereTheyAre)
{
  hxgl::TGLTestContext gl(320, 240);
  ASSERT_TRUE(gl.Ok()) << gl.Error();
  glClearColor(0.5f, 0.5f, 0.5f, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  TWidgetCommand c;
  double length = 12.5;
  auto* tree = new TTreeListEdit(&c, nullptr);
  tree->Mate3D = false;
  tree->Origin = {0, 235};
  tree->SetTree(new TTreeNode("Group", new TTreeNode("Length", new TVariablePtr(length), nullptr), nullptr));
  tree->RootNode->Expanded = true;
  TString value("a");
  TArrayOf<TString> choices{TString("a"), TString("b")};
  TAdapter adapter(T("x"), TAdapter::pvStr, &value, false, choices, false, nullptr);
  auto* box = new TComboBox(&c, nullptr, adapter);
  box->Mate3D = false;
  box->Set(TRect2D(200, 100, 260, 124));
  box->State |= seFocused;
  double a = 1;
  THotPointData hp;
  hp.Set(TPoint3D(), a, T("A"));
  auto* editor = new THotPointEdit(&c, hp, 20000);
  editor->Mate3D = false;
  editor->Origin = {10, 90};
  TDimension3D dim;
  dim.Type = TDimension3D::tdRadial;
  dim.AX = TVector3D(1, 0, 0);
  dim.V = 0.5;
  auto* field = new TDimensionWnd3D(dim, &c, TMtr3D(), 20000);
  field->Mate3D = false;
  field->Origin = {250, 230};
  c.DispatcherWnd3D.ClosePaintGL(0, {});
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(dim.T.x, 2.0); // the text point follows the drawn radius
  const hxgl::TImage im = gl.Read();
  if (const char* out = std::getenv("HXCAD_WIDGET_PNG")) hxgl::WritePng(out, im);
  auto dark = [](int r, int g, int b) { return r < 64 && g < 64 && b < 64; };
  auto white = [](int r, int g, int b) { return r > 240 && g > 240 && b > 240; };
  auto blue = [](int r, int g, int b) { return b > 192 && r < 64 && g < 64; };
  EXPECT_GT(Count(im, 0, 180, 160, 235, dark), 20);  // the tree's labels
  EXPECT_GT(Count(im, 0, 180, 30, 235, blue), 10);   // and its lines
  EXPECT_GT(Count(im, 240, 180, 300, 235, dark), 5); // the open group's field
  EXPECT_GT(Count(im, 200, 52, 260, 90, white), 500); // the list's rows below the box
  EXPECT_GT(Count(im, 10, 40, 200, 90, dark), 20);   // the editor's caption, box, field and label
  EXPECT_GT(Count(im, 165, 119, 235, 121, blue), 40); // the dimension's radius from the view's centre
}
