#pragma once
// The library loaded into a stand-in host in this process, from a folder that holds its data as the
// built plug-in's folder does; commands run through the callbacks the library registered.
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "../txhost/TestSupport.h"
#include "Duvozadu/ControlModel.h"
#include "Duvozadu/CplgGlobal.h"
#include "hxcadkit/adapter/drModelerAPI.h"
#include "hxcadkit/commands/pmCommon.h"
#include "hxcadkit/commands/pmHost.h"
#include "txapi/LibraryEntry.h"
#include "txhost/lib/Events.h"
#include "txhost/lib/Host.h"

class LibraryTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    namespace fs = std::filesystem;
    for (const char* f : {"VUVudirido.tb", "PhCoupling.tpt"})
      fs::copy_file(fs::path(HXCAD_DUVOZADU_DATA) / f, Dir / f);
    fs::create_directory(Dir / "docs");
    H.SetDocumentsFolder(Dir / "docs");
    H.SetCurrentLibraryPath(Dir / "libVUVudirido.so");
    H.SetLibraryRecord(L"VUVudirido", Dir / "libVUVudirido.so", L"#Stamp - Regular");
    ASSERT_TRUE(LoadTavrixLibrary(H.Application(), H.Registrar()));
  }
  void TearDown() override
  {
    // The control model outlives the host: it must not keep the host's objects.
    ControlModel.EditPart.reset();
    ControlModel.Place.reset();
    H.ClearLibraryCallbacks();
    CommandHost.Release();
    drApi::MA.R().TavrixError.reset();
    drApi::MA.R().Tavrix7 = nullptr;
    SetCouplingModeler(nullptr);
    drApi::PControlModel = nullptr;
    EXPECT_EQ(H.Referenced().size(), 0u) << "the library still holds host objects";
  }

  void Run(unsigned int comm) { H.LibraryCallbacks().RunCommand(comm, txapi::txRunCommandNormal); }
  txhost::EventScript& Script() { return txhost::EventScript::Of(H); }
  std::vector<std::string> Messages() const
  {
    std::vector<std::string> out;
    for (const std::wstring& m : H.Messages())
      out.push_back(TString(m).Utf8Text());
    return out;
  }

  txhost::test::TempDir Dir;
  txhost::Host H;
};
