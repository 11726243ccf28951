#include "TestSupport.h"

#include "txapi/txapi.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Text.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using txapi::SmartPtr;
using txhost::Host;
using txhost::Object;

class ApplicationTest : public ::testing::Test
{
protected:
  Host H;
  txapi::IApplication& App = H.Application();
};

TEST_F(ApplicationTest, HideMessageStateIsKeptAndEveryChangeIsLogged)
{
  EXPECT_EQ(App.GetHideMessage(), txapi::txShowMessage);
  H.SetHideMessage(txapi::txHideMessageYes);
  const txapi::txHideMessageEnum before = App.GetHideMessage();
  App.SetHideMessage(txapi::txHideMessageNo);
  EXPECT_EQ(App.GetHideMessage(), txapi::txHideMessageNo);
  App.SetHideMessage(before);
  EXPECT_EQ(H.HideMessage(), txapi::txHideMessageYes);
  EXPECT_EQ(H.HideMessageHistory(), (std::vector<int>{2, 1})) << "the user's own change is not the library's";
}

TEST_F(ApplicationTest, TheErrorObjectIsOneObjectWhoseResetsAreCounted)
{
  SmartPtr<txapi::ITavrixError> a = App.GetTavrixError();
  SmartPtr<txapi::ITavrixError> b = App.GetTavrixError();
  ASSERT_TRUE(a);
  EXPECT_TRUE(a == b);
  EXPECT_EQ(H.ErrorResets(), 0);
  a->Reset();
  b->Reset();
  EXPECT_EQ(H.ErrorResets(), 2);
}

// The summary after a good run shows the error record a library clears and keeps; worded so that a newcomer
// does not read it as errors.
TEST_F(ApplicationTest, TheSummarySaysWhatTheKeptErrorRecordIs)
{
  SmartPtr<txapi::ITavrixError> e = App.GetTavrixError();
  e->Reset();
  std::ostringstream out;
  H.Describe(out, false);
  const std::string text = out.str();
  EXPECT_NE(text.find("last-error record cleared by the library: 1 time\n"), std::string::npos) << text;
  EXPECT_NE(text.find("objects the library still holds: 1\n"), std::string::npos) << text;
  EXPECT_NE(
      text.find(", 1 reference (the host's last-error record: a library keeps it until it is unloaded)"),
      std::string::npos)
      << text;
  for (const char* alarming : {"error resets", "referenced objects", " error x1"})
    EXPECT_EQ(text.find(alarming), std::string::npos) << alarming;
}

TEST_F(ApplicationTest, FolderKindTwoIsTheDocumentsFolder)
{
  txhost::test::TempDir dir;
  H.SetDocumentsFolder(dir.path() / "");
  EXPECT_EQ(App.GetFolder(2), txhost::FromPath(dir.path())) << "no trailing separator";
  for (int kind : {0, 1, 3, -2})
    EXPECT_EQ(App.GetFolder(kind), L"") << kind;
  H.SetDocumentsFolder("relative");
  EXPECT_TRUE(H.DocumentsFolder().is_absolute());
}

TEST_F(ApplicationTest, TranslationReturnsThePhraseUnlessTaughtOtherwise)
{
  SmartPtr<txapi::ITranslator> t = App.GetTranslator();
  ASSERT_TRUE(t);
  EXPECT_EQ(t->Translate(L"Документ не активизирован"), L"Документ не активизирован");
  H.SetTranslation(L"Документ не активизирован", L"Документ не активовано");
  EXPECT_EQ(t->Translate(L"Документ не активизирован"), L"Документ не активовано");
  EXPECT_EQ(t->Translate(L""), L"");
  H.OfferTranslator(false);
  EXPECT_FALSE(App.GetTranslator());
}

TEST_F(ApplicationTest, MessagesAreRecordedAndQuestionsAnsweredFromTheQueueThenTheDefault)
{
  App.ShowMessage(L"Первое");
  App.ShowMessage(L"");
  EXPECT_EQ(H.Messages(), (std::vector<std::wstring>{L"Первое", L""}));
  H.QueueAnswer(false);
  EXPECT_FALSE(App.AskQuestion(L"Сохранить?", L"Вопрос"));
  EXPECT_TRUE(App.AskQuestion(L"Сохранить?", L""));
  H.SetDefaultAnswer(false);
  EXPECT_FALSE(App.AskQuestion(L"Сохранить?", L""));
  const auto questions = H.ApplicationObject().CallsOf("AskQuestion");
  ASSERT_EQ(questions.size(), 3u);
  EXPECT_EQ(questions[0]->Arguments, txhost::Value::array({"Сохранить?", "Вопрос"}));
}

TEST_F(ApplicationTest, TheLibraryFindsItsPathAndItsRecord)
{
  EXPECT_EQ(App.GetCurrentLibraryPath(), L"");
  H.SetCurrentLibraryPath("/opt/libs/libVUVudirido.so");
  EXPECT_EQ(App.GetCurrentLibraryPath(), L"/opt/libs/libVUVudirido.so");
  EXPECT_FALSE(App.GetLibraryRecord(L"VUVudirido"));
  H.SetLibraryRecord(L"VUVudirido", "/opt/libs/libVUVudirido.so", L"#Stamp - Regular");
  SmartPtr<txapi::ILibraryRecord> record = App.GetLibraryRecord(L"VUVudirido");
  ASSERT_TRUE(record);
  EXPECT_EQ(record->GetFullFileName(), L"/opt/libs/libVUVudirido.so");
  EXPECT_EQ(record->GetFontName(), L"#Stamp - Regular");
  EXPECT_FALSE(App.GetLibraryRecord(L"vuvudirido")) << "names are exact";
  H.RemoveLibraryRecord(L"VUVudirido");
  EXPECT_FALSE(App.GetLibraryRecord(L"VUVudirido"));
}

TEST_F(ApplicationTest, WithoutDocumentsThereIsNoActiveDocument)
{
  EXPECT_FALSE(App.GetActiveDocument());
  EXPECT_TRUE(H.SetActiveDocument(nullptr));
  Object& closed = *H.NewDocument(txapi::txDocumentDrawing, true);
  H.CloseDocument(closed);
  EXPECT_FALSE(H.SetActiveDocument(&closed));
  EXPECT_FALSE(App.GetActiveDocument());
}

} // namespace
