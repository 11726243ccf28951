// The stand-in host's event sources, processes and panel controls.

#include "CommandTestSupport.h"

#include "txapi/IEvents.h"
#include "txapi/IPart.h"
#include "txapi/IPropertyControl.h"

#include <set>

using namespace commands_test;
using txapi::SmartPtr;

namespace {

class StandIn : public HostFixture
{
protected:
  void SetUp() override { Open(txapi::txDocumentAssembly); }
};

TEST_F(StandIn, OneUnsubscribeDropsEveryEventOfItsKeyAndAnUnknownKeyNothing)
{
  auto frame = CommandHost.Application()->GetActiveDocument()->GetDocumentFrame();
  auto events = frame->GetEvents();
  int calls = 0;
  auto count = [&calls](const SmartPtr<txapi::IPressedKeys>&, int, int) { return ++calls > 0; };
  events->SubscribeMouseDown(L"a", count);
  events->SubscribeMouseMove(L"a", count);
  events->SubscribeMouseMove(L"b", count);
  txhost::Object& f = *txhost::Object::From(frame.get());
  EXPECT_EQ(txhost::SubscriptionCount(f, L"a"), 2);
  events->Unsubscribe(L"nobody");
  EXPECT_EQ(txhost::SubscriptionCount(f), 3);
  events->Unsubscribe(L"a");
  EXPECT_EQ(txhost::SubscriptionCount(f), 1);
  EXPECT_EQ(txhost::SubscriptionKeys(f), std::vector<std::wstring>{L"b"});
  auto answers = txhost::Fire<txapi::MouseCallback>(f, "MouseMove", SmartPtr<txapi::IPressedKeys>(), 1, 2);
  EXPECT_EQ(answers, std::vector<bool>{true});
  EXPECT_EQ(calls, 1);
  events->Unsubscribe(L"b");
}

TEST_F(StandIn, RunPlaysTheScriptUntilStoppedAndCanBeMadeToThrow)
{
  auto process = txapi::SmartPtr<txapi::ITavrixDocument3D>(CommandHost.Application()->GetActiveDocument())->NewProcess3D(1);
  SmartPtr<txapi::IProcess> p(process);
  int played = 0;
  for (int i = 0; i < 3; ++i)
    Script().Queue([&](txhost::Object&) { ++played; });
  Script().Queue([&](txhost::Object&) { p->Stop(); });
  Script().Queue([&](txhost::Object&) { ++played; });
  EXPECT_EQ(p->Run(true, false), 1);
  EXPECT_EQ(played, 3);
  EXPECT_EQ(Script().Size(), 1u); // the rest waits for the next run
  EXPECT_EQ(p->Run(true, false), 0);
  EXPECT_EQ(played, 4);
  txhost::Object& o = *txhost::Object::From(p.get());
  H.GetFaults().ThrowOnCall(txhost::Target::Of(o), "Run");
  EXPECT_THROW(p->Run(true, false), txhost::HostError);
  p->End(); // recorded, ends nothing
  EXPECT_EQ(Ops(o), "Run Stop Run Run End");
}

TEST_F(StandIn, ControlsKeepEveryValueSetAndRefusalsGiveNothing)
{
  auto param = CommandHost.Application()->NewProcessParam();
  auto tab = param->GetTabs()->Add(L"tab");
  auto controls = tab->GetControls();
  SmartPtr<txapi::IPropertyEdit> edit(controls->Add(txapi::txControlEditReal));
  edit->SetRealValue(2.5);
  edit->SetIntValue(-3);
  edit->SetText(L"ω");
  edit->SetCheckState(txapi::txCheckVariable);
  EXPECT_EQ(edit->GetRealValue(), 2.5);
  EXPECT_EQ(edit->GetIntValue(), -3);
  EXPECT_EQ(edit->GetText(), L"ω");
  EXPECT_EQ(edit->GetCheckState(), txapi::txCheckVariable);
  SmartPtr<txapi::IPropertyList> list(controls->Add(txapi::txControlListStr));
  list->SetItems({L"a", L"b"});
  list->SetCurrentIndex(7); // kept as given
  EXPECT_EQ(list->GetCurrentIndex(), 7);
  EXPECT_EQ(list->GetCurrentText(), L"");
  EXPECT_EQ(list->IndexOf(L"b"), 1);
  SmartPtr<txapi::IPropertyPoint3D> point(controls->Add(txapi::txControlPoint3D));
  point->GetCoordinateEdit(2)->SetRealValue(4.0);
  EXPECT_EQ(point->GetCoordinateEdit(2)->GetRealValue(), 4.0);
  EXPECT_FALSE(point->GetCoordinateEdit(3));
  SmartPtr<txapi::IPropertyCheckBox> box(controls->Add(txapi::txControlCheckBox));
  box->SetChecked(true);
  EXPECT_TRUE(box->GetChecked());
  EXPECT_FALSE(SmartPtr<txapi::IPropertyEdit>(box)); // a check box is no edit
  H.GetFaults().RefuseHandOut("IPropertyControls.Add8");
  EXPECT_FALSE(controls->Add(txapi::txControlCheckBox));
  EXPECT_TRUE(controls->Add(txapi::txControlEditInt));
  H.GetFaults().RefuseHandOut("IPropertyPoint3D.GetCoordinateEdit1");
  EXPECT_FALSE(point->GetCoordinateEdit(1));
  EXPECT_EQ(controls->GetCount(), 5);
}

// What a script types reaches the control a user would mean: a list takes a value (an index only as
// "[N]"), two controls of one caption are told apart by "@N", and no number that is not finite is taken.
TEST_F(StandIn, ScriptedValuesReachTheMeantControlAsAUserWouldSetThem)
{
  auto param = CommandHost.Application()->NewProcessParam();
  auto controls = param->GetTabs()->Add(L"tab")->GetControls();
  SmartPtr<txapi::IPropertyList> torque(controls->Add(txapi::txControlListStr));
  torque->SetCaption(L"Момент");
  torque->SetItems({L"   8.00", L"  16.00", L"  31.50"});
  SmartPtr<txapi::IPropertyList> type1(controls->Add(txapi::txControlListStr)),
      type2(controls->Add(txapi::txControlListStr));
  for (auto& t : {type1, type2}) {
    t->SetCaption(L"Тип ");
    t->SetItems({L"1", L"2"});
  }
  SmartPtr<txapi::IPropertyEdit> length(controls->Add(txapi::txControlEditReal));
  length->SetCaption(L"Длина");
  txhost::Object& p = *txhost::Object::From(param.get());
  auto set = [&](const wchar_t* caption, const std::string& value) {
    txhost::Object* c = txhost::FindControl(p, caption);
    return c != nullptr && txhost::SetControlValue(*c, value);
  };

  EXPECT_TRUE(set(L"Момент", "16"));
  EXPECT_EQ(torque->GetCurrentIndex(), 1) << "16 is the entry \"  16.00\", not entry 16";
  EXPECT_TRUE(set(L"Момент", "   8.00"));
  EXPECT_EQ(torque->GetCurrentIndex(), 0);
  EXPECT_TRUE(set(L"Момент", "[2]"));
  EXPECT_EQ(torque->GetCurrentIndex(), 2);
  for (const char* refused : {"2", "[3]", "[-1]", "[x]", "nan"})
    EXPECT_FALSE(set(L"Момент", refused)) << refused;
  EXPECT_EQ(torque->GetCurrentIndex(), 2);

  EXPECT_TRUE(set(L"Тип @2", "2"));
  EXPECT_TRUE(set(L"Тип ", "1"));
  EXPECT_EQ(type1->GetCurrentIndex(), 0);
  EXPECT_EQ(type2->GetCurrentIndex(), 1);
  EXPECT_EQ(txhost::FindControl(p, L"Тип @1"), txhost::Object::From(type1.get()));
  EXPECT_EQ(txhost::FindControl(p, L"Тип @3"), nullptr);
  EXPECT_EQ(txhost::FindControl(p, L"Тип @0"), nullptr);

  EXPECT_TRUE(set(L"Длина", "2.5"));
  for (const char* refused : {"1e400", "-1e400", "nan", "inf", "2.5x"})
    EXPECT_FALSE(set(L"Длина", refused)) << refused;
  EXPECT_EQ(length->GetRealValue(), 2.5);
}

} // namespace

namespace {

TEST(CommandInterfaceIds, EveryInterfaceHasItsOwnIdentifier)
{
  const std::vector<std::string_view> ids{
      txapi::IAPIObject::IID, txapi::ITavrixAPIObject::IID, txapi::IApplication::IID, txapi::ITavrixDocument::IID,
      txapi::ITavrixDocument2D::IID, txapi::ITavrixDocument3D::IID, txapi::IPart::IID,
      // events
      txapi::IPressedKeys::IID, txapi::IOpenGLObject::IID, txapi::IPaintObject::IID, txapi::IGabaritObject::IID,
      txapi::IProcessContextPanel::IID, txapi::IProcessContextIconMenu::IID, txapi::IMouseEnterLeaveParameters::IID,
      txapi::ISaveToPreviousParam::IID, txapi::IEventSource::IID, txapi::IDocumentFrameEvents::IID,
      txapi::IProcess3DManipulatorsEvents::IID, txapi::IProcess3DEvents::IID, txapi::IProcess2DEvents::IID,
      txapi::IPropertiesManagerEvents::IID, txapi::IApplicationEvents::IID,
      // processes and panels
      txapi::IProcess::IID, txapi::IManipulators::IID, txapi::IProcess3D::IID, txapi::IDrawingGroup::IID,
      txapi::IPhantom2D::IID, txapi::IProcess2D::IID, txapi::IDocumentFrame::IID, txapi::IProgressBar::IID,
      txapi::IPropertyControls::IID, txapi::IPropertyTab::IID, txapi::IPropertyTabs::IID, txapi::IProcessParam::IID,
      // controls
      txapi::IPropertyControl::IID, txapi::IPropertyCheckBox::IID, txapi::IPropertyEdit::IID,
      txapi::IPropertySpinEdit::IID, txapi::IPropertyPoint3D::IID, txapi::IPropertyEditList::IID,
      txapi::IPropertyEditCheckBox::IID, txapi::IPropertyList::IID, txapi::IPropertySeparator::IID,
      txapi::IPropertyFileName::IID, txapi::IPropertyColor::IID, txapi::IPropertyGrid::IID,
      txapi::IPropertySlideBox::IID, txapi::IPropertyToolBar::IID, txapi::IPropertyMultiButton::IID};
  EXPECT_EQ(std::set<std::string_view>(ids.begin(), ids.end()).size(), ids.size());
}

} // namespace

namespace {

TEST(TimerClock, ATestClockStandsInForTheSystemClockUntilRemoved)
{
  const std::int64_t before = TTimerClock::Now();
  EXPECT_GT(before, 1'600'000'000'000); // milliseconds since the epoch
  EXPECT_EQ(TTimerClock::Set([]() -> std::int64_t { return 26; }), nullptr);
  EXPECT_EQ(TTimerClock::Now(), 26);
  TTimerClock::Set(nullptr);
  EXPECT_GE(TTimerClock::Now(), before);
}

} // namespace
