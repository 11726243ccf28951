#include "../commands/CommandTestSupport.h"

#include "hxcadkit/commands/TPopUpEdit.h"
#include "tests/support/gl/GLTestContext.h"

#include <cstdlib>

using namespace commands_test;

namespace {

class WidgetPaint : public HostFixture
{
protected:
  void SetUp() override { Open(txapi::txDocumentAssembly); }
};

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
  hxgl::TGLTestContext gl(320, 240);
  ASSERT_TRUE(gl.Ok()) << gl.Error();
  glClearColor(0.5f, 0.5f, 0.5f, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
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
  const hxgl::TImage im = gl.Read();
  if (const char* out = std::getenv("HXCAD_WIDGET_PNG")) hxgl::WritePng(out, im);
  auto dark = [](int r, int g, int b) { return r < 64 && g < 64 && b < 64; };
  auto white = [](int r, int g, int b) { return r > 240 && g > 240 && b > 240; };
  auto blue = [](int r, int g, int b) { return b > 192 && r < 64 && g < 64; };
  EXPECT_GT(Count(im, 20, 20, 140, 45, dark), 20);   // the status line above the bar's origin
  EXPECT_GT(Count(im, 150, 195, 215, 221, white), 200); // the hint's white ground
  EXPECT_GT(Count(im, 150, 195, 230, 221, dark), 20);   // and its text
  EXPECT_GT(Count(im, 200, 70, 290, 102, white), 100);  // the focused field's box
  EXPECT_GT(Count(im, 200, 70, 290, 102, blue), 20);    // its text
  EXPECT_EQ(Count(im, 0, 120, 140, 180, [](int r, int, int) { return r != 127 && r != 128; }), 0); // nothing else
}
