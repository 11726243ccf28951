#include "hxcadkit/commands/WindowOGLControls.h"

#include "hxcadkit/commands/TPopUpEdit.h"
#include "hxcadkit/commands/pmCommon.h"

#include <cstdlib>

namespace {

using TPressed = txapi::SmartPtr<txapi::IPressedKeys>;

// Offers the press, in w's own coordinates, to w's children in order; true when one took it.
bool ChildrenDown(TWindowOGL& w, const TPressed& keys, int x, int y)
{
  w.InCoordinateSystem(x, y);
  for (int i = 0; i < w.AChildWnd.Count; ++i)
    if (w.AChildWnd[i] != nullptr && w.AChildWnd[i]->MouseDown(keys, x, y)) return true;
  return false;
}

// The press on a button-like widget: it takes the focus as any widget does, keeps its focus and selection
// bits, and gives the two references back to the widgets that held them. True when the widget was
// pressed (the caller then acts on it); Taken tells whether the press was used at all.
struct TPress
{
  bool Taken = false;
  bool Pressed = false;
};

TPress Press(TWindowOGL& w, const TPressed& keys, int x, int y)
{
  TWindowOGL* focus = TWindowOGL::Focus();
  TWindowOGL* select = TWindowOGL::Select();
  const bool child = ChildrenDown(w, keys, x, y);
  if (!child) {
    if (TWindowOGL::Select() != &w) return {};
    if (TWindowOGL::Focus() != nullptr && TWindowOGL::Focus() != &w)
      TWindowOGL::Focus()->State &= ~TypeState(seFocused | seSelected);
    TWindowOGL::Focus() = &w;
    w.State |= seFocused;
  }
  if (!(w.State & seFocused)) return {true, false};
  w.State |= seSelected;
  TWindowOGL::Focus() = focus;
  TWindowOGL::Select() = select;
  return {true, true};
}

void Place(TWindowOGL& w, int x, int y, int height, int width)
{
  w.Origin = {x, y};
  w.Height = height;
  w.Width = width;
}

} // namespace

// ---------------------------------------------------------------------------------------------

TButton::TButton(TBaseManager* editor, TWindowOGL* owner, const TString& text) : TLabelOGL(editor, owner, text)
{
  Mask |= mdSelectable;
}

bool TButton::MouseMove(const TPressed& keys, int x, int y)
{
  return TWindowOGL::MouseMove(keys, x, y);
}

bool TButton::MouseDown(const TPressed& keys, int x, int y)
{
  const TPress p = Press(*this, keys, x, y);
  if (p.Pressed) MainOwner()->Sygnal(this, 0, nullptr);
  return p.Taken;
}

// ---------------------------------------------------------------------------------------------

TComboBox::TComboBox(TBaseManager* editor, TWindowOGL* owner, TAdapter& value)
  : TLabelOGL(editor, owner, TString()), Value(value)
{
}

bool TComboBox::Contain(int x, int y) const
{
  return Origin.x + Width - Height <= x && x <= Origin.x + Width && Origin.y - Height <= y && y <= Origin.y;
}

void TComboBox::Draw2D(TGImage& gi)
{
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_ALWAYS);
  const TArrayOf<TString>& choices = Value.ADef;
  const TString s = Value.Text();
  const double H = Height, h = gi.Font.Height(s, s.Length()) * H, w = gi.Font.Len(s, s.Length()) * H;
  if (Open()) {
    glColor3ub(255, 255, 255);
    gi.giRectAngleFill(Origin.x, Origin.y + 2, Origin.x + w + 2.0, Origin.y - h - 2.0, 0);
  }
  const TColor text = Open() ? TColor(0, 0, 255) : (State & seSelected) ? TColor(255, 0, 0) : TColor(0, 0, 0);
  glColor3ub(text.Red(), text.Green(), text.Blue());
  gi.giTextOut(Origin.x, Origin.y - h, 0, H, s);
  glBegin(GL_TRIANGLES);
  glVertex3d(Origin.x + w + 4.0, Origin.y - 4, -0.01);
  glVertex3d(Origin.x + w + H - 4.0, Origin.y - 4, -0.01);
  glVertex3d(Origin.x + w + 0.5 * H, Origin.y - H + 4, -0.01);
  glEnd();
  if (!Open()) return;
  for (int k = 0; k < choices.Count; ++k) {
    gi.giMtr3D(0, 0, 0.2, 1);
    glColor3ub(255, 255, 255);
    for (double z : {-0.5, 0.5})
      gi.giRectAngleFill(Origin.x, Origin.y - h - k * H, Origin.x + Width, Origin.y - (k + 1) * H, z);
    gi.giDeleteMtr();
    gi.giMtr3D(0, 0, 1.0, 1);
    glColor3ub(0, 0, 0);
    gi.giTextOut(Origin.x + 2, Origin.y - h - (k + 1) * H + 2.0, 0, H, choices[k]);
    gi.giDeleteMtr();
  }
}

bool TComboBox::MouseMove(const TPressed& keys, int x, int y)
{
  if (!Open()) return TWindowOGL::MouseMove(keys, x, y);
  // The rows are hit where they are drawn: row k fills the band k + 1 heights below the top of the box.
  SubSelected = -1;
  if (x < Origin.x || x > Origin.x + Width) return false;
  for (int k = 0; k < Value.ADef.Count; ++k)
    if (Origin.y - (k + 1) * Height <= y && y < Origin.y - k * Height) {
      SubSelected = k;
      return true;
    }
  return false;
}

bool TComboBox::MouseDown(const TPressed& keys, int x, int y)
{
  if (!Open()) return TWindowOGL::MouseDown(keys, x, y);
  if (SubSelected >= 0 && SubSelected < Value.ADef.Count) {
    Value.Set(TString(Value.ADef[SubSelected]));
    if (TBaseManager* m = TBaseManager::CurrentProcessManager) {
      m->APropertyVariable.ChangeValue(&Value, -1);
      Registrator.MarkEdit(&Value);
    }
  }
  State |= seSelected;
  TWindowOGL::Focus() = nullptr;
  TWindowOGL::Select() = this;
  return false;
}

// ---------------------------------------------------------------------------------------------

TTreeNode::~TTreeNode()
{
  delete V;
  delete SubNode;
  // A long sibling chain goes one by one, not as a recursion as deep as the chain.
  for (TTreeNode* n = std::exchange(Next, nullptr); n != nullptr;) {
    TTreeNode* next = std::exchange(n->Next, nullptr);
    delete n;
    n = next;
  }
}

bool TTreeLabel::MouseMove(const TPressed& keys, int x, int y)
{
  return TWindowOGL::MouseMove(keys, x, y);
}

bool TTreeLabel::MouseDown(const TPressed& keys, int x, int y)
{
  const TPress p = Press(*this, keys, x, y);
  if (p.Pressed && Node != nullptr) Node->Expanded = !Node->Expanded;
  return p.Taken;
}

TTreeListEdit::~TTreeListEdit()
{
  delete RootNode;
}

void TTreeListEdit::SetTree(TTreeNode* root)
{
  // The previous tree's labels point at its nodes: they go with it.
  for (int i = 0; i < AChildWnd.Count; ++i)
    delete std::exchange(AChildWnd[i], nullptr);
  AChildWnd.Clear();
  delete RootNode;
  RootNode = root;
  cX = cY = 0;
  SetTreeNode(root);
}

void TTreeListEdit::SetTreeNode(TTreeNode* node)
{
  cX += dX;
  const int h = std::abs(dY);
  for (TTreeNode* n = node; n != nullptr; n = n->Next) {
    cY += dY;
    auto* label = AdoptChild(this, new TTreeLabel(Editor, this, n->Name));
    label->Node = n;
    n->Label = label;
    ++Count;
    Place(*label, cX, cY + dY, h, LWidth);
    label->Mask &= ~TypeState(mdBackground);
    if (n->V == nullptr) {
      n->Expanded = false;
      SetTreeNode(n->SubNode);
      continue;
    }
    switch (n->V->Type) {
    case TVariablePtr::pvReal:
    case TVariablePtr::pvInteger:
    case TVariablePtr::pvStr:
    case TVariablePtr::pvBoolean: {
      auto* edit = AdoptChild(this, new TValidateEdit(Editor, this));
      n->Edit = edit;
      ++Count;
      Place(*edit, EX, cY + dY, h, EWidth);
      edit->SetLink(*n->V);
      break;
    }
    case TVariablePtr::pvAdapter:
      if (n->V->PAdapter != nullptr) {
        auto* combo = AdoptChild(this, new TComboBox(Editor, this, *n->V->PAdapter));
        n->Edit = combo;
        ++Count;
        combo->Set(TRect2D(EX, cY, EX + EWidth, cY + dY));
      }
      break;
    default: break;
    }
  }
  cX -= dX;
}

void TTreeListEdit::TreeNodeDraw2D(TGImage& gi, TTreeNode* node)
{
  const int rememberedX = cX, rememberedY = cY;
  cX += dX;
  int lastY = 0;
  for (TTreeNode* n = node; n != nullptr; n = n->Next) {
    cY -= dY;
    lastY = cY;
    if (n->Label != nullptr) {
      n->Label->Origin = {cX, cY};
      n->Label->Draw2D(gi);
    }
    glColor3ub(0, 0, 255);
    gi.giMtr(cX - 5, cY - 5, 0, 1);
    gi.giLine(-2, 0, dX, 0);
    if (n->V == nullptr) {
      gi.giRectAngle(-3, -3, 3, 3);
      if (!n->Expanded) {
        gi.giLine(-3, 0, 3, 0);
        gi.giLine(0, -3, 0, 3);
      }
    }
    gi.giDeleteMtr();
    if (n->V != nullptr) {
      if (n->Edit != nullptr) {
        n->Edit->Origin.y = cY;
        n->Edit->Draw2D(gi);
      }
    } else if (n->Expanded) {
      TreeNodeDraw2D(gi, n->SubNode);
    }
  }
  glColor3ub(0, 0, 255);
  gi.giLine(cX - 5, rememberedY - (rememberedX == 0 ? dY : 0) - 5, cX - 5, lastY - 5);
  cX -= dX;
}

void TTreeListEdit::Draw2D(TGImage& gi)
{
  gi.giMtr(Origin.x, Origin.y, 0, 1);
  cX = cY = 0;
  glDisable(GL_DEPTH_TEST);
  TreeNodeDraw2D(gi, RootNode);
  glEnable(GL_DEPTH_TEST);
  gi.giDeleteMtr();
}

bool TTreeListEdit::MouseMove(const TPressed& keys, int x, int y)
{
  InCoordinateSystem(x, y);
  return NodeMouseMove(RootNode, keys, x, y);
}

bool TTreeListEdit::MouseDown(const TPressed& keys, int x, int y)
{
  InCoordinateSystem(x, y);
  return NodeMouseDown(RootNode, keys, x, y);
}

bool TTreeListEdit::NodeMouseMove(TTreeNode* node, const TPressed& keys, int x, int y)
{
  for (TTreeNode* n = node; n != nullptr; n = n->Next)
    if (n->V != nullptr) {
      if (n->Edit != nullptr && n->Edit->MouseMove(keys, x, y)) return true;
    } else {
      if (n->Label != nullptr && n->Label->MouseMove(keys, x, y)) return true;
      if (n->Expanded && NodeMouseMove(n->SubNode, keys, x, y)) return true;
    }
  return false;
}

bool TTreeListEdit::NodeMouseDown(TTreeNode* node, const TPressed& keys, int x, int y)
{
  for (TTreeNode* n = node; n != nullptr; n = n->Next) {
    const bool took = n->Label != nullptr && n->Label->MouseDown(keys, x, y);
    if (n->V != nullptr) {
      if (took || (n->Edit != nullptr && n->Edit->MouseDown(keys, x, y))) return true;
    } else if (n->Expanded && !took) {
      if (NodeMouseDown(n->SubNode, keys, x, y)) return true;
    } else if (took) {
      return true;
    }
  }
  return false;
}
