#pragma once
// The library loaded into a stand-in host in this process from a folder that holds its data, as
// the built plug-in's folder does; commands run through the callback the library registered.
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "../txhost/TestSupport.h"
#include "Duvozadu/ControlModel.h"
#include "Duvozadu/CplgGlobal.h"
#include "Duvozadu/pmCommands.h"
#include "hxcadkit/adapter/drModelerAPI.h"
#include "hxcadkit/commands/pmCommon.h"
#include "txapi/LibraryEntry.h"
#include "txhost/lib/Events.h"
#include "txhost/lib/Host.h"

class LibraryTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    std::filesystem::create_directories(Lib / "docs");
    for (const char* f : {"VUVudirido.tb", "PhCoupling.tpt"})
      std::filesystem::copy_file(std::filesystem::path(HXCAD_DUVOZADU_DATA) / f, Lib / f);
    H.SetDocumentsFolder(Lib / "docs");
    H.SetCurrentLibraryPath(Lib / "libVUVudirido.so");
    H.SetLibraryRecord(L"VUVudirido", Lib / "libVUVudirido.so", L"#Stamp - Regular");
    ASSERT_TRUE(LoadTavrixLibrary(H.Application(), H.Registrar()));
  }
  void TearDown() override
  {
    H.ClearLibraryCallbacks();
    UnloadTavrixLibrary();
    SetCouplingModeler(nullptr);
    drApi::PControlModel = nullptr;
    EXPECT_EQ(H.Referenced().size(), 0u) << "the library still holds host objects";
  }
  void Run(unsigned int comm) { H.LibraryCallbacks().RunCommand(comm, txapi::txRunCommandNormal); }
  txhost::EventScript& Script() { return txhost::EventScript::Of(H); }

  txhost::test::TempDir Dir;
  // The library's folder, with its data and the documents folder "docs"; set before SetUp.
  std::filesystem::path Lib = Dir.path();
  txhost::Host H;
};
