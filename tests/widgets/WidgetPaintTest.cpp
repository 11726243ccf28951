#include "../commands/CommandTestSupport.h"

#include "hxcadkit/commands/HotPointData.h"
#include "hxcadkit/commands/TPopUpEdit.h"
#include "hxcadkit/commands/WindowOGLControls.h"
#include "hxcadkit/drawing/drModeler.h"
#include "txhost/gl/OffscreenContext.h"
#include "txhost/lib/FrameView.h"

#include <GL/glu.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <random>
#include <vector>

using namespace commands_test;

namespace {

class WidgetPaint : public HostFixture
{
protected:
  void SetUp() override
  {
    Open(txapi::txDocumentAssembly);
    View() = {0, 0, Gl.Width, Gl.Height}; // the view covers the context; the model origin at its centre
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

  txhost::FrameView& View() { return txhost::ViewOf(txhost::DocumentFrame(H, *Document)); }

  hxgl::TOffscreenContext Gl{320, 240};
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
  THintOGL::Hint(&c, TPoint3D(-10, 90, 0), T("Подсказка"), 0, 10, 2000); // at (150, 220)
  int value = 1250;
  auto* edit = new TValidateEdit(&c, TPoint3D(40, -20, 5), TVariablePtr(value), 20000); // at (200, 100)
  edit->SetFocus();
  c.DispatcherWnd3D.ClosePaintGL(0, {});
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(c.FrameRect.RU.x, 320);
  EXPECT_EQ(c.FrameRect.LD.y, 240);
  const hxgl::TImage im = Read();
  EXPECT_GT(Count(im, 20, 20, 140, 45, Dark), 20);      // the status line above the bar's origin
  EXPECT_GT(Count(im, 150, 195, 215, 221, White), 200); // the hint's white ground
  EXPECT_GT(Count(im, 150, 195, 230, 221, Dark), 20);   // and its text
  EXPECT_GT(Count(im, 200, 70, 290, 102, White), 100);  // the focused field's box
  EXPECT_GT(Count(im, 200, 70, 290, 102, Blue), 20);    // its text
  // Nothing else: building the font inside the paint left no glyph in the middle of the view.
  EXPECT_EQ(Count(im, 0, 110, 319, 190, [](int r, int, int) { return r != 127 && r != 128; }), 0);
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
  EXPECT_GT(Count(im, 0, 180, 160, 235, Dark), 20);   // the tree's labels
  EXPECT_GT(Count(im, 0, 180, 30, 235, Blue), 10);    // and its lines
  EXPECT_GT(Count(im, 240, 180, 300, 235, Dark), 5);  // the open group's field
  EXPECT_GT(Count(im, 200, 52, 260, 90, White), 500); // the list's rows below the box
  EXPECT_GT(Count(im, 10, 40, 200, 90, Dark), 20);    // the editor's caption, box, field and label
  EXPECT_GT(Count(im, 165, 119, 235, 121, Blue), 40); // the dimension's radius from the view's centre
}

// A widget anchored at a 3D point is drawn at the point's projection plus its offset however the view is
// turned, panned or zoomed between paints; GLU projects the same camera for the expected place.
TEST_F(WidgetPaint, AnchoredWidgetFollowsTheView)
{
  ASSERT_TRUE(Gl.Ok()) << Gl.Error();
  TWidgetCommand c;
  auto* w = new TWindowOGL(&c, nullptr); // 50 x 24 pixels, right of and below its origin
  w->SetBackClr(0xFFFFFF);
  w->Origin3D = TPoint3D(10, 20, 30);
  w->Dt = {5, -7};
  std::mt19937 rnd(19);
  std::uniform_real_distribution<double> u(-1, 1);
  auto unit = [](TVector3D v) { return v.Normalize(), v; };
  for (int k = 0; k < 20; ++k) {
    const TVector3D z = unit({u(rnd), u(rnd), u(rnd)}), x = unit(z | TVector3D(u(rnd), u(rnd), u(rnd))),
                    y = z | x;
    const TVector3D axes[3] = {x, y, z}, target(10 + 30 * u(rnd), 20 + 30 * u(rnd), 30 + 30 * u(rnd));
    txhost::FrameView& v = View();
    v.Scale = 1 + u(rnd) / 2, v.Target = {target.x, target.y, target.z};
    v.Right = {x.x, x.y, x.z}, v.Up = {y.x, y.y, y.z};
    // The camera as OpenGL matrices (column-major): the target to the origin, then rows x, y, z.
    GLdouble model[16] = {}, proj[16] = {}, wx, wy, wz;
    for (int r = 0; r < 3; ++r) {
      model[r] = axes[r].x, model[4 + r] = axes[r].y, model[8 + r] = axes[r].z;
      model[12 + r] = -(axes[r] * target);
    }
    model[15] = proj[15] = 1;
    proj[0] = 2 * v.Scale / v.Width, proj[5] = 2 * v.Scale / v.Height, proj[10] = 1e-3;
    const GLint port[4] = {v.X0, v.Y0, v.Width, v.Height};
    ASSERT_TRUE(gluProject(10, 20, 30, model, proj, port, &wx, &wy, &wz));
    const int px = int(wx + 0.5) + 5, py = int(wy + 0.5) - 7; // both inside the view
    glClear(GL_COLOR_BUFFER_BIT);
    c.DispatcherWnd3D.ClosePaintGL(0, {});
    const hxgl::TImage im = Read();
    EXPECT_EQ(Count(im, px + 1, py - 23, px + 49, py - 1, White), 49 * 23) << px << ", " << py;
    EXPECT_EQ(Count(im, 0, 0, 319, 239, White), 50 * 24); // and nowhere else
  }
}

// The view command driven by the keys the host reports behaves as when driven by the same three flags: the
// host's queries are read in their roles (drag, switch, pick), and an empty holder holds none.
TEST_F(WidgetPaint, TheViewCommandTakesTheHostsPressedKeysInTheirRoles)
{
  ASSERT_TRUE(Gl.Ok()) << Gl.Error();
  struct TStep
  {
    TGImage::TKeys K;
    int Event, X, Y;
  };
  std::mt19937 rng(23);
  std::vector<TStep> steps;
  for (int i = 0; i < 300; ++i)
    steps.push_back({{rng() % 2 == 0, rng() % 4 == 0, rng() % 8 == 0}, int(rng() % 3), int(rng() % 320),
                     int(rng() % 240)});
  steps.push_back({{}, 2, 0, 0}); // ends any drag, so that both runs leave the matrix stack as found
  // The model-view matrix after every step, starting from the identity.
  auto play = [&](auto&& keysOf) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    TGImage g;
    g.SetCommand(TGImage::cMove);
    std::vector<std::array<double, 16>> after;
    for (const TStep& s : steps) {
      const auto k = keysOf(s.K);
      if (s.Event == 0) g.MouseDown(k, s.X, s.Y);
      if (s.Event == 1) g.MouseMove(k, s.X, s.Y);
      if (s.Event == 2) g.MouseUp(k, s.X, s.Y);
      std::array<double, 16> m;
      std::copy(std::begin(g.mtrMatrix.V), std::end(g.mtrMatrix.V), m.begin());
      after.push_back(m);
    }
    return after;
  };
  const auto byFlags = play([](const TGImage::TKeys& k) { return k; });
  const auto byHost = play([&](const TGImage::TKeys& k) {
    if (!k.Drag && !k.Switch && !k.Pick) return txapi::SmartPtr<txapi::IPressedKeys>();
    txhost::Object& o = H.Create("pressed-keys");
    o.Set("drag", k.Drag);
    o.Set("mode-switch", k.Switch);
    o.Set("pick", k.Pick);
    return txapi::SmartPtr<txapi::IPressedKeys>::Attach(
        static_cast<txapi::IPressedKeys*>(o.QueryInterface(txapi::IPressedKeys::IID)));
  });
  ASSERT_EQ(byHost.size(), byFlags.size());
  for (std::size_t i = 0; i < byFlags.size(); ++i)
    ASSERT_EQ(byHost[i], byFlags[i]) << "step " << i;
  EXPECT_NE(byFlags.back(), byFlags.front()) << "the steps moved the view";
}
