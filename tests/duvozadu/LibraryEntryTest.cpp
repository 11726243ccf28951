// The library's face towards the host: what loading registers, and how a command is dispatched by
// the active document's type.
#include "Duvozadu/Duvozadu.h"
#include "Duvozadu/pmCommands.h"
#include "LibraryFixture.h"

namespace {

TEST_F(LibraryTest, LoadingRegistersThreeCallbacksThatAnswerForEveryCommand)
{
  EXPECT_EQ(H.Registrations(), (std::vector<std::string>{"run-command", "command-state", "library-id"}));
  EXPECT_TRUE(H.Messages().empty());
  EXPECT_EQ(H.LibraryCallbacks().LibraryId(), 2000);
  for (int id : {200, 0, -7}) {
    bool enable = false;
    int checked = 5;
    std::wstring reason = L"как было";
    H.LibraryCallbacks().CommandState(id, enable, checked, reason);
    EXPECT_TRUE(enable);
    EXPECT_EQ(checked, 5);
    EXPECT_EQ(reason, L"как было");
    EXPECT_EQ(LibCommandState(id, enable, checked, reason), 1);
  }
  EXPECT_TRUE(EnableCommand(12345));
  EXPECT_EQ(drApi::MA.R().ModuleName.Utf8Text(), "VUVudirido");

  const std::vector<std::string> views{"Разрез ", "Вид "};
  const std::vector<std::string> halves{"Цилиндрическое длинное", "Цилиндрическое короткое", "Коническое длинное",
                                        "Коническое короткое"};
  ASSERT_EQ(LTViews.Count, 2);
  ASSERT_EQ(LTHalf.Count, 4);
  for (int i = 0; i < 2; ++i)
    EXPECT_EQ(LTViews[i].Utf8Text(), views[size_t(i)]);
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(LTHalf[i].Utf8Text(), halves[size_t(i)]);
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
  const Case cases[] = {{0, 200, none},       {0, 7, none},        {txapi::txDocumentPart, 200, wrong},
                        {txapi::txDocumentPart, 201, wrong},       {txapi::txDocumentSpecification, 200, wrong},
                        {txapi::txDocumentDrawing, 201, ""},       {txapi::txDocumentFragment, 201, ""},
                        {txapi::txDocumentAssembly, 201, ""},      {txapi::txDocumentTechnologyAssembly, 0, ""}};
  H.SetHideMessage(txapi::txHideMessageYes);
  int resets = H.ErrorResets();
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "type " << c.Type << " command " << c.Comm);
    const std::size_t before = H.Messages().size();
    H.SetActiveDocument(c.Type == 0 ? nullptr : H.NewDocument(txapi::DocumentTypeEnum(c.Type), true));
    Run(c.Comm);
    const std::vector<std::string> shown = Messages();
    ASSERT_EQ(shown.size(), before + (c.Message.empty() ? 0 : 1));
    if (!c.Message.empty()) {
      EXPECT_EQ(shown.back(), c.Message);
    }
    EXPECT_EQ(H.ErrorResets(), ++resets);
    const std::vector<int> hide = H.HideMessageHistory();
    ASSERT_GE(hide.size(), 2u);
    EXPECT_EQ(hide[hide.size() - 2], txapi::txHideMessageNo);
    EXPECT_EQ(hide.back(), txapi::txHideMessageYes);
    EXPECT_EQ(H.ObjectsOfKind("process-3d").size() + H.ObjectsOfKind("process-2d").size(), 0u);
  }
}

} // namespace
