#pragma once
// The clickable widgets over the 3D view: a button that signals its top-level owner, a drop-down list of a
// choice adapter, and a collapsible tree of labelled values with their edit fields.
#include "hxcadkit/commands/WindowOGL.h"
#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/TPointer.h"

// A widget made without a manager is registered nowhere: its owner adopts it, so that it is drawn, offered
// the mouse and deleted with its owner all the same.
template <class W> W* AdoptChild(TWindowOGL* owner, W* w)
{
  if (w->Editor == nullptr && owner != nullptr) owner->AChildWnd.Add(w);
  return w;
}

class TButton : public TLabelOGL
{
public:
  TButton(TBaseManager* editor, TWindowOGL* owner, const TString& text);
  bool MouseMove(const txapi::SmartPtr<txapi::IPressedKeys>& keys, int x, int y) override;
  // A click signals MainOwner() (which may delete the button: nothing of it is used after the signal).
  bool MouseDown(const txapi::SmartPtr<txapi::IPressedKeys>& keys, int x, int y) override;
};

// The current choice of an adapter with an arrow; a click on the arrow opens the choices below it.
class TComboBox : public TLabelOGL
{
public:
  TComboBox(TBaseManager* editor, TWindowOGL* owner, TAdapter& value);
  // Only the arrow square.
  bool Contain(int x, int y) const override;
  void Draw2D(TGImage& gi) override;
  bool MouseMove(const txapi::SmartPtr<txapi::IPressedKeys>& keys, int x, int y) override;
  bool MouseDown(const txapi::SmartPtr<txapi::IPressedKeys>& keys, int x, int y) override;
  bool Open() const { return State & seFocused; }

  TAdapter& Value;
  std::int32_t SubSelected = 0; // the choice row under the pointer, -1 none
};

class TTreeLabel;

// A tree of named values: a group has children (SubNode), a leaf a bound value (V); siblings chain
// through Next. A node owns its value, its children and its later siblings.
class TTreeNode
{
public:
  TTreeNode(const char* name, TTreeNode* subNode, TTreeNode* next) : Name(name), SubNode(subNode), Next(next) {}
  TTreeNode(const char* name, TVariablePtr* v, TTreeNode* next) : Name(name), V(v), Next(next) {}
  virtual ~TTreeNode();
  TTreeNode(const TTreeNode&) = delete;
  TTreeNode& operator=(const TTreeNode&) = delete;

  TString Name;
  TTreeNode* SubNode = nullptr;
  TVariablePtr* V = nullptr;
  TTreeNode* Next = nullptr;
  bool Expanded = true;
  TLabelOGL* Label = nullptr;
  TWindowOGL* Edit = nullptr;
};

// A node's label: a click opens or closes its group.
class TTreeLabel : public TLabelOGL
{
public:
  TTreeLabel(TBaseManager* editor, TWindowOGL* owner, const TString& text) : TLabelOGL(editor, owner, text) {}
  bool MouseMove(const txapi::SmartPtr<txapi::IPressedKeys>& keys, int x, int y) override;
  bool MouseDown(const txapi::SmartPtr<txapi::IPressedKeys>& keys, int x, int y) override;

  TTreeNode* Node = nullptr;
};

class TTreeListEdit : public TWindowOGL
{
public:
  using TWindowOGL::TWindowOGL;
  ~TTreeListEdit() override;

  // Takes the tree (owned) and builds its labels and edit fields, replacing those of the previous tree.
  virtual void SetTree(TTreeNode* root);
  virtual void SetTreeNode(TTreeNode* node);
  virtual void TreeNodeDraw2D(TGImage& gi, TTreeNode* node);
  virtual bool NodeMouseMove(TTreeNode* node, const txapi::SmartPtr<txapi::IPressedKeys>& keys, int x, int y);
  virtual bool NodeMouseDown(TTreeNode* node, const txapi::SmartPtr<txapi::IPressedKeys>& keys, int x, int y);
  void Draw2D(TGImage& gi) override;
  bool MouseMove(const txapi::SmartPtr<txapi::IPressedKeys>& keys, int x, int y) override;
  bool MouseDown(const txapi::SmartPtr<txapi::IPressedKeys>& keys, int x, int y) override;

  TTreeNode* RootNode = nullptr;
  std::int32_t dY = 25;     // row pitch
  std::int32_t dX = 10;     // indent per level
  std::int32_t cX = 0;      // layout cursor
  std::int32_t cY = 0;
  std::int32_t LWidth = 150; // label width
  std::int32_t EWidth = 40;  // edit width
  std::int32_t EX = 250;     // x of the edit column
  std::int32_t Count = 1024; // widgets made
};
