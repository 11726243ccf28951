#include "CommandTestSupport.h"

#include "hxcadkit/commands/HotPointData.h"
#include "hxcadkit/commands/TPopUpEdit.h"
#include "hxcadkit/commands/WindowOGLControls.h"

using namespace commands_test;

namespace {

std::int64_t ClockMs = 5000;

class OverlayControls : public HostFixture
{
protected:
  void SetUp() override
  {
    Open(txapi::txDocumentAssembly);
    TTimerClock::Set([] { return ClockMs; });
    C.FrameRect.LD.y = 600; // the host counts y from the top of this view
  }
  void TearDown() override
  {
    TTimerClock::Set(nullptr);
    HostFixture::TearDown();
  }
  // A press at (x, y), y counted from the bottom, after the pointer moved there.
  bool Click(int x, int y)
  {
    D().MouseMove(Keys, x, 600 - y);
    return D().MouseDown(Keys, x, 600 - y);
  }
  TDispatcherWnd3D& D() { return C.DispatcherWnd3D; }

  TWidgetCommand C;
  txapi::SmartPtr<txapi::IPressedKeys> Keys;
};

TEST_F(OverlayControls, HotPointEditorLaysOutItsRowsAndGoesByBoxOrTimer)
{
  double a = 1, b = 2, e = 3;
  THotPointData hp;
  hp.Set(TPoint3D(5, 5, 5), a, T("A"), b, T("B"), e, T("E"));
  hp.Caption = T("Точка");
  ASSERT_TRUE(C.HPCanSelect(hp));
  THotPointEdit* editor = C.HotPointEdit;
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->Height, 102);
  EXPECT_EQ(editor->Dt.x, 50);
  EXPECT_EQ(editor->Dt.y, 20);
  ASSERT_EQ(editor->AChildWnd.Count, 8);
  for (int i = 0; i < 3; ++i) {
    const TWindowOGL* field = editor->AChildWnd[2 + 2 * i];
    EXPECT_EQ(field->Origin.y - field->Height, -52 - 25 * i);
    EXPECT_EQ(field->GetText(), TString(double(i + 1), 2, true, 7));
    EXPECT_EQ(editor->AChildWnd[3 + 2 * i]->GetText(), hp[i].Comment);
  }
  // The same point again leaves the open editor alone.
  EXPECT_TRUE(C.HPCanSelect(hp));
  EXPECT_EQ(C.HotPointEdit, editor);
  // The close box deletes the editor, and the command forgets it.
  editor->Origin = {100, 300};
  EXPECT_TRUE(Click(270, 285));
  EXPECT_EQ(C.HotPointEdit, nullptr);
  EXPECT_FALSE(D().Exist(static_cast<TWindowOGL*>(editor)));
  // So does its timer; a new point's editor replaces the open one.
  ASSERT_TRUE(C.HPCanSelect(hp));
  hp.Origin = TPoint3D(9, 9, 9);
  ASSERT_TRUE(C.HPCanSelect(hp));
  EXPECT_EQ(D().Exist(TPoint3D(5, 5, 5)), nullptr);
  ASSERT_NE(D().Exist(TPoint3D(9, 9, 9)), nullptr);
  ClockMs += 20000;
  EXPECT_TRUE(D().Timer.TimeImpuls());
  EXPECT_EQ(C.HotPointEdit, nullptr);
  EXPECT_EQ(D().Exist(TPoint3D(9, 9, 9)), nullptr);
}

// The open list is hit where it is drawn: row k in the k + 1-th band of the box's height below its top.
TEST_F(OverlayControls, OpenComboBoxPicksTheRowUnderThePointer)
{
  TString value("a");
  TArrayOf<TString> choices{TString("a"), TString("b"), TString("c")};
  TAdapter adapter(T("Выбор"), TAdapter::pvStr, &value, false, choices, false, nullptr);
  auto* box = new TComboBox(&C, nullptr, adapter);
  box->Set(TRect2D(100, 300, 160, 324));
  EXPECT_FALSE(Click(110, 312)); // the text is not the arrow
  EXPECT_TRUE(Click(150, 312));
  ASSERT_TRUE(box->Open());
  EXPECT_FALSE(D().MouseMove(Keys, 110, 600 - 330)); // above the box: no row
  EXPECT_EQ(box->SubSelected, -1);
  EXPECT_TRUE(D().MouseMove(Keys, 110, 600 - 260));
  EXPECT_EQ(box->SubSelected, 2);
  EXPECT_FALSE(D().MouseDown(Keys, 110, 600 - 260));
  EXPECT_EQ(value, T("c"));
  EXPECT_EQ(TWindowOGL::Focus(), nullptr);
  EXPECT_EQ(TWindowOGL::Select(), box);
  choices.Clear();
  EXPECT_FALSE(D().MouseMove(Keys, 110, 600 - 290));
}

TEST_F(OverlayControls, TreeBuildsItsFieldsAndOpensGroupsByTheirLabels)
{
  double length = 1.5;
  int number = 7;
  TPoint3D point;
  TString value("a");
  TArrayOf<TString> choices{TString("a"), TString("b")};
  TAdapter adapter(T("Выбор"), TAdapter::pvStr, &value, false, choices, false, nullptr);
  auto* leaves = new TTreeNode("Длина", new TVariablePtr(length),
                               new TTreeNode("Число", new TVariablePtr(number), new TTreeNode("Выбор", new TVariablePtr(adapter), nullptr)));
  auto* root = new TTreeNode("Группа", leaves, new TTreeNode("Точка", new TVariablePtr(TVariablePtr::pvPoint3D, &point), nullptr));
  auto* tree = new TTreeListEdit(&C, nullptr);
  tree->SetTree(root);
  EXPECT_EQ(tree->AChildWnd.Count, 8); // five labels, two fields, one list; a point has no field
  EXPECT_EQ(tree->Count, 1024 + 8);
  EXPECT_FALSE(root->Expanded);
  ASSERT_NE(leaves->Edit, nullptr);
  EXPECT_EQ(leaves->Edit->GetText(), T("   1.50"));
  EXPECT_EQ(leaves->Next->Edit->GetText(), T("7"));
  EXPECT_EQ(root->Next->Edit, nullptr);
  EXPECT_EQ(leaves->Label->Origin.y, 75);
  // The group's label sits at (10, 50) with the tree at the origin.
  EXPECT_TRUE(Click(20, 40));
  EXPECT_TRUE(root->Expanded);
  EXPECT_TRUE(Click(20, 40));
  EXPECT_FALSE(root->Expanded);
  // A new tree takes the place of the old one's widgets.
  tree->SetTree(new TTreeNode("Одна", static_cast<TTreeNode*>(nullptr), nullptr));
  EXPECT_EQ(tree->AChildWnd.Count, 1);
  EXPECT_TRUE(Click(20, 40)); // its own label, on its own node
}

TEST_F(OverlayControls, DimensionFieldBindsItsRegisteredValueOrItsOwn)
{
  static double registered = 12.5;
  Registrator.Announcement(9201, registered, T("L1"), T("Длина"));
  TDimension3D dim;
  dim.Type = TDimension3D::tdLinear;
  dim.V = 40;
  dim.T = TPoint3D(1, 2, 3);
  TDimensionWnd3D own(dim, &C, TMtr3D(), 1000);
  EXPECT_EQ(own.GetTips(), T("* справочно"));
  EXPECT_EQ(own.GetVariable().PDataReal, &dim.V);
  EXPECT_EQ(own.Origin3D.z, 3);
  dim.VId = 9201;
  TDimensionWnd3D bound(dim, &C, TMtr3D(), 1000);
  EXPECT_EQ(bound.GetTips(), T("L1"));
  EXPECT_EQ(bound.GetVariable().PDataReal, &registered);
  EXPECT_EQ(bound.GetText(), T("  12.50"));
}

// The pointer entering a field with tips shows them beside its anchor for two seconds; staying on it shows
// nothing new, and a field without tips or without a command shows none.
TEST_F(OverlayControls, EnteringAFieldWithTipsShowsThemAsAHint)
{
  TDimension3D dim;
  dim.Type = TDimension3D::tdLinear;
  dim.T = TPoint3D(1, 2, 3);
  auto* field = new TDimensionWnd3D(dim, &C, TMtr3D(), 20000);
  field->Origin = {100, 200};
  auto* plain = new TValidateEdit(&C, TPoint3D(4, 5, 6), 20000);
  plain->Origin = {300, 200};
  delete THintOGL::Current;
  const int events = D().Timer.Count;

  EXPECT_TRUE(D().MouseMove(Keys, 102, 600 - 190));
  THintOGL* hint = THintOGL::Current;
  ExpectHint(T("* справочно"), dim.T, 50, -12, D(), events);
  ASSERT_EQ(D().Timer.Count, events + 1);
  EXPECT_EQ(D().Timer[D().Timer.Count - 1].Time.t, (ClockMs + 2000) * 1000);

  EXPECT_TRUE(D().MouseMove(Keys, 103, 600 - 190)); // still on the field
  EXPECT_EQ(THintOGL::Current, hint);
  EXPECT_TRUE(D().MouseMove(Keys, 302, 600 - 190)); // the first move off the field only leaves it
  EXPECT_TRUE(D().MouseMove(Keys, 302, 600 - 190)); // on a field without tips
  EXPECT_EQ(TWindowOGL::Select(), plain);
  EXPECT_EQ(THintOGL::Current, hint);

  ClockMs += 2000;
  D().MouseMove(Keys, 302, 600 - 190); // the hint's time is up
  EXPECT_EQ(THintOGL::Current, nullptr);
  EXPECT_TRUE(D().MouseMove(Keys, 102, 600 - 190)); // back on the field: shown again
  ASSERT_NE(THintOGL::Current, nullptr);
  EXPECT_EQ(THintOGL::Current->GetText(), T("* справочно"));
  delete THintOGL::Current;

  TValidateEdit loose(nullptr, TPoint3D(), 20000);
  loose.SetTips(T("подсказка"));
  EXPECT_TRUE(loose.MouseMove(Keys, 2, -2));
  EXPECT_EQ(THintOGL::Current, nullptr);
  ClockMs -= 2000;
}

} // namespace
