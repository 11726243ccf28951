#include "CommandTestSupport.h"

#include "hxcadkit/commands/TPopUpEdit.h"

using namespace commands_test;

namespace {

class EditField : public HostFixture
{
protected:
  void SetUp() override { Open(txapi::txDocumentAssembly); }
  // Types the keys into f and gives its text.
  static std::string Type(TValidateEdit& f, std::initializer_list<int> keys)
  {
    for (int k : keys)
      f.OnKeyDown(k, 0, {});
    return f.GetText().PChar();
  }
};

} // namespace

TEST_F(EditField, KeysMoveTheCaretEditAndCheckTheText)
{
  TWidgetCommand c;
  int value = 12;
  auto* f = new TValidateEdit(&c, TPoint3D(0, 0, 0), TVariablePtr(value), 20000);
  EXPECT_EQ(c.DispatcherWnd3D.Timer.Count, 1);
  EXPECT_EQ(std::string(f->GetText().PChar()), "12");
  EXPECT_EQ(f->BeginSelect, 2);
  EXPECT_EQ(Type(*f, {39}), "12"); // Right at the end
  EXPECT_EQ(c.DispatcherWnd3D.Timer.Count, 0); // typing keeps the field open
  EXPECT_EQ(Type(*f, {46}), "12"); // Delete at the end
  EXPECT_EQ(Type(*f, {37, 37, 8}), "12"); // Backspace at 0
  EXPECT_EQ(Type(*f, {51, 190, 189}), "312"); // '.' and '-' are not in a (0, 2000) integer field
  EXPECT_NE(THintOGL::Current, nullptr);
  EXPECT_EQ(f->BeginSelect, 1);
  EXPECT_EQ(Type(*f, {46}), "32");
  EXPECT_EQ(Type(*f, {27}), "12"); // Escape shows the variable again
  EXPECT_EQ(Type(*f, {52, 13}), "142"); // the caret stayed where it was
  EXPECT_EQ(value, 142);
  EXPECT_EQ(f->GetState() & (seFocused | seEdited), 0u);
  double real = 1.5;
  f->SetLink(TVariablePtr(real));
  EXPECT_EQ(std::string(f->GetText().PChar()), "   1.50");
  EXPECT_EQ(Type(*f, {37, 37, 37, 37, 189}), "   -1.50");
  EXPECT_EQ(Type(*f, {13}), "   -1.50");
  EXPECT_DOUBLE_EQ(real, -1.5);
  // Enter leaves the variable alone for a text that is not a number as a whole
  EXPECT_EQ(Type(*f, {39, 189, 50, 13}), "   -1-2.50");
  EXPECT_DOUBLE_EQ(real, -1.5);
  TPoint3D p;
  f->SetLink(TVariablePtr(TVariablePtr::pvPoint3D, &p));
  EXPECT_TRUE(f->GetText().Empty());
  EXPECT_FALSE(f->GetVariable().Bound());
  EXPECT_NE(f->GetValidator(), nullptr); // an unbound field keeps its validator
}

TEST_F(EditField, WithoutAManagerKeysAreIgnored)
{
  TString s("ab");
  TValidateEdit f(nullptr, TPoint3D(), TVariablePtr(s), 20000);
  EXPECT_EQ(f.Id, 0);
  EXPECT_EQ(Type(f, {8, 65}), "ab");
}

// A value changed elsewhere shows in every field bound to it, however deep it sits; others keep theirs.
TEST_F(EditField, TheDispatcherShowsAChangedValueInEveryFieldBoundToIt)
{
  TWidgetCommand c;
  int value = 12, other = 5;
  auto* top = new TValidateEdit(&c, TPoint3D(0, 0, 0), TVariablePtr(value), 20000);
  auto* child = new TValidateEdit(&c, top);
  child->SetLink(TVariablePtr(value));
  auto* grandchild = new TValidateEdit(&c, child);
  grandchild->SetLink(TVariablePtr(value));
  auto* unrelated = new TValidateEdit(&c, TPoint3D(1, 0, 0), TVariablePtr(other), 20000);
  value = 77;
  other = 6;
  c.DispatcherWnd3D.ChangeValue(&value);
  for (TValidateEdit* f : {top, child, grandchild})
    EXPECT_EQ(std::string(f->GetText().PChar()), "77");
  EXPECT_EQ(std::string(unrelated->GetText().PChar()), "5");
  c.DispatcherWnd3D.ChangeValue(nullptr); // nothing is bound to nothing
  EXPECT_EQ(std::string(unrelated->GetText().PChar()), "5");
}

// A refused text is shown as a hint beside its field, which takes the keys again; without a field or a
// text nothing is shown.
TEST_F(EditField, AValidatorShowsItsMessageAtItsFieldAndFocusesIt)
{
  TWidgetCommand c;
  int value = 12;
  auto* f = new TValidateEdit(&c, TPoint3D(1, 2, 3), TVariablePtr(value), 20000);
  delete THintOGL::Current;
  TWindowOGL::Focus() = nullptr;
  TValidator v;
  v.ShowMessage(T("Ошибка")); // no window
  EXPECT_EQ(THintOGL::Current, nullptr);
  v.Wnd = f;
  v.ShowMessage(T(""));
  EXPECT_EQ(THintOGL::Current, nullptr);
  const unsigned state = f->GetState();
  const int events = c.DispatcherWnd3D.Timer.Count;
  v.ShowMessage(T("Ошибка диапозона"));
  ExpectHint(T("Ошибка диапозона"), TPoint3D(1, 2, 3), 20, 20, c.DispatcherWnd3D, events);
  EXPECT_EQ(TWindowOGL::Focus(), f);
  EXPECT_EQ(f->GetState(), state);
  delete THintOGL::Current;
}
