#pragma once

#include "hxcadkit/commands/WindowOGL.h"
#include "hxcadkit/commands/pmCommon.h"
#include "hxcadkit/commands/pmHost.h"
#include "txhost/lib/Events.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/LeakCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <string_view>

namespace commands_test {

inline const bool LeakCheckInstalled = txhost::InstallLeakCheck();

// A host with one active document of the type, handed to the command framework.
class HostFixture : public ::testing::Test
{
protected:
  void Open(txapi::DocumentTypeEnum type)
  {
    Document = H.NewDocument(type, true);
    drApi::MA.R().Tavrix7 = &H.Application();
    drApi::MA.R().LibFont = TString("#Stamp - Regular");
  }
  void TearDown() override
  {
    CommandHost.Release();
    drApi::MA.R().Tavrix7 = nullptr;
  }

  txhost::EventScript& Script() { return txhost::EventScript::Of(H); }
  // The one object of kind the command made.
  txhost::Object& Only(std::string_view kind)
  {
    auto all = H.ObjectsOfKind(kind);
    EXPECT_EQ(all.size(), 1u) << kind;
    return *all.back();
  }
  int Subscriptions(const wchar_t* key = L"") { return txhost::TotalSubscriptions(H, key); }
  // The ops logged on o, in order, joined by blanks; only those named in only when it is not empty.
  static std::string Ops(const txhost::Object& o, std::initializer_list<std::string_view> only = {})
  {
    std::string s;
    for (const auto& c : o.Log())
      if (only.size() == 0 || std::find(only.begin(), only.end(), c.Op) != only.end())
        s += (s.empty() ? "" : " ") + c.Op;
    return s;
  }

  txhost::Host H;
  txhost::Object* Document = nullptr;
};

inline TString T(const char* utf8)
{
  return TString(utf8);
}

// The hint on screen shows text at the model point at, moved by (dx, dy) pixels, and is one of the command's
// widgets with one timer event of its own more than the events counted before it came.
inline void ExpectHint(const TString& text, const TPoint3D& at, int dx, int dy, const TDispatcherWnd3D& d,
                       int eventsBefore)
{
  const THintOGL* hint = THintOGL::Current;
  ASSERT_NE(hint, nullptr);
  EXPECT_EQ(hint->GetText(), text);
  EXPECT_EQ(hint->Origin3D.x, at.x);
  EXPECT_EQ(hint->Origin3D.y, at.y);
  EXPECT_EQ(hint->Origin3D.z, at.z);
  EXPECT_EQ(hint->Dt.x, dx);
  EXPECT_EQ(hint->Dt.y, dy);
  EXPECT_TRUE(d.Exist(hint));
  EXPECT_EQ(d.Timer.Count, eventsBefore + 1);
}

// A 3D command that only hosts widgets.
class TWidgetCommand : public TBaseManager3D
{
public:
  TWidgetCommand() : TBaseManager3D(T("Муфта"), T("Укажите"), txapi::pnEnterEscHelp, 9, T("Параметры"), nullptr) {}
};

} // namespace commands_test
