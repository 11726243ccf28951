// The library's face towards the host: what loading registers, and how a command is dispatched by
// the active document's type.
#include "Duvozadu/Duvozadu.h"
#include "LibraryFixture.h"

namespace {

TEST_F(LibraryTest, LoadingRegistersThreeCallbacksThatAnswerForEveryCommand)
{
  EXPECT_EQ(H.Registrations(), (std::vector<std::string>{"run-command", "command-state", "library-id"}));
  EXPECT_TRUE(H.Messages().empty());
  EXPECT_EQ(H.LibraryCallbacks().LibraryId(), 2000);
  bool enable = false;
  int checked = 5;
  std::wstring reason = L"как было";
  H.LibraryCallbacks().CommandState(-7, enable, checked, reason);
  EXPECT_TRUE(enable && checked == 5 && reason == L"как было");
  EXPECT_EQ(LibCommandState(200, enable, checked, reason), 1);

  std::string lists;
  for (const TArrayOf<TString>* list : {&LTViews, &LTHalf})
    for (int i = 0; i < list->Count; ++i)
      lists += (*list)[i].Utf8Text() + "|";
  EXPECT_EQ(lists, "Разрез |Вид |Цилиндрическое длинное|Цилиндрическое короткое|Коническое длинное|Коническое короткое|");
}

// The document decides before the command number: every call, whatever it did, resets the host's
// error object once and leaves the hide-message state as it found it.
TEST_F(LibraryTest, CommandsAreDispatchedByTheActiveDocumentsType)
{
  const std::string none = "Документ не активизирован";
  const std::string wrong = "Документ не является Чертежом/Фрагментом/Сборкой";
  struct Case
  {
    int Type; // 0: no document
    unsigned int Comm;
    std::string Message;
  };
  const Case cases[] = {{0, 200, none}, {0, 7, none}, {4, 200, wrong}, {4, 201, wrong}, {3, 200, wrong},
                        {1, 201, ""},     {2, 201, ""},  {5, 201, ""},    {7, 0, ""}};
  H.SetHideMessage(txapi::txHideMessageYes);
  int resets = H.ErrorResets();
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "type " << c.Type << " command " << c.Comm);
    const std::size_t before = H.Messages().size();
    H.SetActiveDocument(c.Type == 0 ? nullptr : H.NewDocument(txapi::DocumentTypeEnum(c.Type), true));
    Run(c.Comm);
    EXPECT_EQ(H.Messages().size() == before ? "" : TString(H.Messages().back()).Utf8Text(), c.Message);
    EXPECT_EQ(H.ErrorResets(), ++resets);
    const std::vector<int> hide = H.HideMessageHistory();
    EXPECT_EQ(std::vector<int>(hide.end() - 2, hide.end()), (std::vector<int>{2, 1}));
    EXPECT_EQ(H.ObjectsOfKind("process-3d").size() + H.ObjectsOfKind("process-2d").size(), 0u);
  }
}

// A host call that throws ends the command: nothing crosses back into the host's caller, and the host's
// message state is restored when the host still answers.
TEST_F(LibraryTest, AFailingHostCallNeverEscapesTheRunCommandCallback)
{
  H.SetActiveDocument(H.NewDocument(txapi::txDocumentAssembly, true));
  H.GetFaults().FailCall(0);
  Run(200);
  const std::size_t calls = H.GetFaults().CallsCounted();
  for (std::size_t n = 1; n <= calls; ++n) {
    SCOPED_TRACE(n);
    H.GetFaults().FailCall(n);
    EXPECT_NO_THROW(Run(200));
  }
  H.GetFaults().Clear();
}

} // namespace
