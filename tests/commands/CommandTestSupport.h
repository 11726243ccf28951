#pragma once

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

// A 3D command that only hosts widgets.
class TWidgetCommand : public TBaseManager3D
{
public:
  TWidgetCommand() : TBaseManager3D(T("Муфта"), T("Укажите"), txapi::pnEnterEscHelp, 9, T("Параметры"), nullptr) {}
};

} // namespace commands_test
