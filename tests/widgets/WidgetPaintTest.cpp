#include "../commands/CommandTestSupport.h"

#include "hxcadkit/commands/HotPointData.h"
#include "hxcadkit/commands/TPopUpEdit.h"
#include "hxcadkit/commands/WindowOGLControls.h"
#include "hxcadkit/drawing/drModeler.h"
#include "tests/support/gl/GLTestContext.h"

#include <cstdlib>

using namespace commands_test;

namespace {

class WidgetPaint : public HostFixture
{
protected:
  void SetUp() override
  {
    Open(txapi::txDocumentAssembly);
    glClearColor(0.5f, 0.5f, 0.5f, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  }
  // The frame read back, also written to $HXCAD_WIDGET_PNG when set (to look at).
  hxgl::TImage Read()
  {
    const hxgl::TImage im = Gl.Read();
    if (const char* out = std::getenv("HXCAD_WIDGET_PNG")) hxgl::WritePng(out, im);
    return im;
  }

  hxgl::TGLTestContext Gl{320, 240};
};

bool Dark(int r, int g, int b)
{
  return r < 64 && g < 64 && b < 64;
}
bool White(int r, int g, int b)
{
  return r > 240 && g > 240 && b > 240;
}
bool Blue(int r, int g, int b)
{
  return b > 192 && r < 64 && g < 64;
}

// Pixels of the box (x0, y0)-(x1, y1), y counted from the bottom, whose colour passes the test.
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

TEST_F(WidgetPaint, StatusBarHintAndEditorDrawWhereTheyAre)
{
  ASSERT_TRUE(Gl.Ok()) << Gl.Error();
  TWidgetCommand c;
  Messager->LiftBox(T("Деталь 12"), TMessager::toAlways);
  THintOGL::Hint(&c, TPoint3D(), T("Подсказка"), 0, 0, 2000);
  THintOGL::Current->Origin = {150, 220};
  int value = 1250;
  auto* edit = new TValidateEdit(&c, TPoint3D(), TVariablePtr(value), 20000);
  edit->Origin = {200, 100};
  edit->SetFocus();
  c.DispatcherWnd3D.ClosePaintGL(0, {});
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(c.FrameRect.RU.x, 320);
  EXPECT_EQ(c.FrameRect.LD.y, 240);
  const hxgl::TImage im = Read();
  EXPECT_GT(Count(im, 20, 20, 140, 45, Dark), 20);   // the status line above the bar's origin
  EXPECT_GT(Count(im, 150, 195, 215, 221, White), 200); // the hint's white ground
  EXPECT_GT(Count(im, 150, 195, 230, 221, Dark), 20);   // and its text
  EXPECT_GT(Count(im, 200, 70, 290, 102, White), 100);  // the focused field's box
  EXPECT_GT(Count(im, 200, 70, 290, 102, Blue), 20);    // its text
  EXPECT_EQ(Count(im, 0, 120, 140, 180, [](int r, int, int) { return r != 127 && r != 128; }), 0); // nothing else
}

// A tree with an open group, an open list, a hot-point editor and a radial dimension, painted in one frame.
TEST_F(WidgetPaint, TreeListEditorAndDimensionDrawWhereTheyAre)
{
  ASSERT_TRUE(Gl.Ok()) << Gl.Error();
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
  const hxgl::TImage im = Read();
  EXPECT_GT(Count(im, 0, 180, 160, 235, Dark), 20);  // the tree's labels
  EXPECT_GT(Count(im, 0, 180, 30, 235, Blue), 10);   // and its lines
  EXPECT_GT(Count(im, 240, 180, 300, 235, Dark), 5); // the open group's field
  EXPECT_GT(Count(im, 200, 52, 260, 90, White), 500); // the list's rows below the box
  EXPECT_GT(Count(im, 10, 40, 200, 90, Dark), 20);   // the editor's caption, box, field and label
  EXPECT_GT(Count(im, 165, 119, 235, 121, Blue), 40); // the dimension's radius from the view's centre
}
