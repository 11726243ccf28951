// Message channel routing and the DC translation ring.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "hxcadkit/core/Dictionary.h"
#include "hxcadkit/core/Messager.h"
#include "tests/core/MessageRecorder.h"

namespace {

const TString Notice("Повідомлення");

struct TRoute
{
  const char* Name;
  std::function<void()> Call;
  // Where the text lands with a command running and without one ("" for nowhere).
  std::string WithCommand;
  int TimeWithCommand;
  std::string WithoutCommand;
};

std::vector<TRoute> Routes()
{
  return {
      {"LiftBox toApi", [] { Messager->LiftBox(Notice, TMessager::toApi); }, "host.box", 0, "host.box"},
      {"LiftBox toProcess", [] { Messager->LiftBox(Notice, TMessager::toProcess); }, "bar.lift", 12000, ""},
      {"LiftBox toAlways", [] { Messager->LiftBox(Notice, TMessager::toAlways); }, "bar.lift", 12000,
       "host.box"},
      {"LiftBox other kind", [] { Messager->LiftBox(Notice, TMessager::TOut(8)); }, "bar.lift", 12000,
       "host.box"},
      {"DebugBox", [] { Messager->DebugBox(Notice); }, "bar.lift", 8000, "host.box"},
      {"WarningBox", [] { Messager->WarningBox(Notice); }, "bar.status", 8000, "host.box"},
      {"StatusBox", [] { Messager->StatusBox(Notice, 25); }, "bar.status", 25, ""},
      {"BreakLiftBox", [] { Messager->BreakLiftBox(Notice); }, "host.box", 0, "host.box"},
  };
}

} // namespace

TEST(MessagerRouting, FollowsTheTableWithAndWithoutARunningCommand)
{
  for (bool running : {true, false}) {
    for (const TRoute& r : Routes()) {
      SCOPED_TRACE(std::string(r.Name) + (running ? " / command running" : " / no command"));
      TMessageRecorder rec;
      rec.Modeler.IsThere = true;
      rec.Command.IsRunning = running;
      r.Call();
      const std::string& where = running ? r.WithCommand : r.WithoutCommand;
      if (where.empty()) {
        EXPECT_TRUE(rec.Log.empty());
        continue;
      }
      ASSERT_EQ(rec.Log.size(), 1u);
      EXPECT_EQ(rec.Log[0].Where, where);
      EXPECT_TRUE(rec.Log[0].Text == Notice);
      if (where != "host.box") {
        EXPECT_EQ(rec.Log[0].Time, r.TimeWithCommand);
      }
    }
  }
}

TEST(MessagerRouting, HostBoxesAreDroppedWithoutAModeller)
{
  for (const TRoute& r : Routes()) {
    SCOPED_TRACE(r.Name);
    TMessageRecorder rec;
    rec.Modeler.IsThere = false;
    r.Call();
    EXPECT_TRUE(rec.Log.empty());
  }
}

TEST(MessagerRouting, NothingInstalledIsSilent)
{
  TCommandLink* c = TMessager::SetCommandLink(nullptr);
  TModelerLink* m = TMessager::SetModelerLink(nullptr);
  for (const TRoute& r : Routes())
    r.Call();
  EXPECT_TRUE(Messager->QuestionBox(Notice, true));
  TMessager::SetCommandLink(c);
  TMessager::SetModelerLink(m);
}

TEST(MessagerQuestion, WithoutAModellerTheAnswerIsYes)
{
  TMessageRecorder rec;
  rec.Modeler.IsThere = false;
  rec.Modeler.Answer = 0;
  EXPECT_TRUE(Messager->QuestionBox(Notice, true));
  EXPECT_TRUE(rec.Log.empty());
}

TEST(MessagerQuestion, AsksTheHostWithAnEmptyCaption)
{
  for (int answer : {0, 1, 7}) {
    TMessageRecorder rec;
    rec.Modeler.IsThere = true;
    rec.Command.IsRunning = true; // a running command does not take questions
    rec.Modeler.Answer = answer;
    EXPECT_EQ(Messager->QuestionBox(Notice, true), answer != 0);
    ASSERT_EQ(rec.Log.size(), 1u);
    EXPECT_EQ(rec.Log[0].Where, "host.question");
    EXPECT_TRUE(rec.Log[0].Text == Notice);
    EXPECT_TRUE(rec.Log[0].Caption.Empty());
  }
}

TEST(DCRing, The65thCallReusesTheSlotOfThe1st)
{
  TMessageRecorder rec;
  const TString& first = DC(TString("перший"));
  const TString* firstSlot = &first;
  for (int i = 2; i <= 64; ++i) {
    const TString& r = DC(TString(i));
    EXPECT_NE(&r, firstSlot);
  }
  EXPECT_TRUE(first == TString("перший"));
  const TString& last = DC(TString("шістдесят п'ятий"));
  EXPECT_EQ(&last, firstSlot);
  EXPECT_TRUE(first == TString("шістдесят п'ятий"));
}

TEST(DCTranslation, WithoutAServiceTheTextComesBackByteForByte)
{
  TMessageRecorder rec;
  rec.Translator.Offered = false;
  rec.Translator.Phrases[L"abc"] = L"xyz";
  unsigned char bytes[255];
  for (int i = 0; i < 255; ++i)
    bytes[i] = static_cast<unsigned char>(i + 1);
  TString all;
  all.Set(bytes, sizeof bytes);
  const TString& r = DC(all);
  ASSERT_EQ(r.Length(), 255);
  EXPECT_EQ(std::memcmp(r.PChar(), bytes, sizeof bytes), 0);
  EXPECT_TRUE(DC(TString("abc")) == TString("abc"));
  EXPECT_TRUE(rec.Translator.Asked.empty());
}

TEST(DCTranslation, TheHostTranslatesTheWideForm)
{
  TMessageRecorder rec;
  rec.Translator.Offered = true;
  rec.Translator.Phrases[L"Вал"] = L"Shaft";
  EXPECT_TRUE(DC(TString("Вал")) == TString("Shaft"));
  ASSERT_EQ(rec.Translator.Asked.size(), 1u);
  EXPECT_EQ(rec.Translator.Asked[0], L"Вал");
}

TEST(DCTranslation, CharactersTheCodePageLacksBecomeQuestionMarks)
{
  TMessageRecorder rec;
  rec.Translator.Offered = true;
  rec.Translator.Phrases[L"Вал"] = L"Ва\u4E00л€";
  const TString& r = DC(TString("Вал"));
  ASSERT_EQ(r.Length(), 5);
  const unsigned char expect[] = {0xC2, 0xE0, '?', 0xEB, 0x88};
  EXPECT_EQ(std::memcmp(r.PChar(), expect, sizeof expect), 0);
}

TEST(DCTranslation, ATranslationOfAnEarlierResultIsSafe)
{
  TMessageRecorder rec;
  rec.Translator.Offered = true;
  rec.Translator.Phrases[L"a"] = L"b";
  rec.Translator.Phrases[L"b"] = L"c";
  EXPECT_TRUE(DC(DC(TString("a"))) == TString("c"));
  // A result passed back in just as its own slot comes round again.
  const TString& kept = DC(TString("b"));
  for (int i = 0; i < 63; ++i)
    DC(TString("z"));
  EXPECT_TRUE(DC(kept) == TString("c"));
}
