#include "TestSupport.h"

#include "txapi/txapi.h"
#include "txhost/lib/Faults.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Plugin.h"
#include "txhost/lib/Text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

namespace {

using txhost::Host;
using txhost::LoadedLibrary;

class LoaderTest : public ::testing::Test
{
protected:
  LoaderTest() { H.SetDocumentsFolder(Dir.path()); }

  // Loads the test library with the record the host keeps for it.
  void Load(bool withRecord = true)
  {
    std::string error;
    Library = LoadedLibrary::Open(TXHOST_TEST_PLUGIN, error);
    ASSERT_TRUE(Library) << error;
    if (withRecord) H.SetLibraryRecord(L"TestTxLib", Library->Path(), L"");
    ASSERT_TRUE(Library->Load(H, error)) << error;
  }

  void Run(unsigned int command) { H.LibraryCallbacks().RunCommand(command, txapi::txRunCommandNormal); }

  txhost::test::TempDir Dir;
  Host H;
  std::unique_ptr<LoadedLibrary> Library; // goes before the host
};

TEST_F(LoaderTest, RefusesAMissingFileAFileThatIsNoLibraryAndALibraryWithoutTheEntryPoint)
{
  std::string error;
  EXPECT_FALSE(LoadedLibrary::Open(Dir / "absent.so", error));
  EXPECT_NE(error.find("no library file"), std::string::npos) << error;
  EXPECT_FALSE(LoadedLibrary::Open(Dir.path(), error));
  EXPECT_NE(error.find("no library file"), std::string::npos) << error;

  txhost::test::WriteFile(Dir / "text.so", "not a library");
  EXPECT_FALSE(LoadedLibrary::Open(Dir / "text.so", error));
  EXPECT_NE(error.find("cannot load library"), std::string::npos) << error;

  EXPECT_FALSE(LoadedLibrary::Open(TXHOST_NOENTRY_PLUGIN, error));
  EXPECT_NE(error.find("has no entry point LoadTavrixLibrary"), std::string::npos) << error;
}

TEST_F(LoaderTest, TheLibraryRegistersItsThreeCallbacksInOrder)
{
  Load();
  EXPECT_EQ(H.Registrations(), (std::vector<std::string>{"run-command", "command-state", "library-id"}));
  ASSERT_TRUE(H.LibraryCallbacks().LibraryId);
  EXPECT_EQ(H.LibraryCallbacks().LibraryId(), 2000);
  EXPECT_EQ(H.LibraryCallbacks().LibraryId(), 2000);

  bool enable = false;
  int checked = 7;
  std::wstring reason = L"как было";
  H.LibraryCallbacks().CommandState(200, enable, checked, reason);
  EXPECT_TRUE(enable);
  EXPECT_EQ(checked, 7);
  EXPECT_EQ(reason, L"как было");
  EXPECT_TRUE(H.Messages().empty());
  EXPECT_EQ(txhost::FromPath(Library->Path()), H.Application().GetCurrentLibraryPath());
}

TEST_F(LoaderTest, ACommandInANewDrawingMakesAndSavesAPart)
{
  Load();
  H.NewDocument(txapi::txDocumentDrawing, true);
  txhost::Object* drawing = H.ActiveDocument();
  H.SetHideMessage(txapi::txHideMessageYes);
  Run(1);

  ASSERT_EQ(H.Messages().size(), 1u);
  const std::wstring prefix = L"Деталь сохранена: ";
  const std::wstring message = H.Messages()[0];
  ASSERT_EQ(message.rfind(prefix, 0), 0u) << txhost::ToUtf8(message);
  const std::filesystem::path file = txhost::ToPath(message.substr(prefix.size()));
  EXPECT_EQ(file.parent_path(), Dir.path());
  ASSERT_TRUE(std::filesystem::is_regular_file(file));
  EXPECT_EQ(H.ActiveDocument(), drawing) << "the user's document is active again";
  EXPECT_EQ(H.Documents().size(), 1u) << "the part document was closed";
  EXPECT_EQ(H.HideMessageHistory(), (std::vector<int>{2, 1}));
  EXPECT_EQ(H.ErrorResets(), 1);

  txhost::Object* part = H.OpenDocument(file, true);
  ASSERT_NE(part, nullptr);
  EXPECT_EQ(H.TopPart(*part)->Text("name"), L"Тестовая деталь");
  EXPECT_EQ(H.TopPart(*part)->Text("marking"), L"ТСТ.001");
}

TEST_F(LoaderTest, WithoutADocumentTheCommandRefusesInTheTranslatedText)
{
  Load();
  H.SetTranslation(L"Документ не активизирован", L"No active document");
  Run(1);
  EXPECT_EQ(H.Messages(), std::vector<std::wstring>{L"No active document"});
  EXPECT_EQ(H.ErrorResets(), 1);
}

TEST_F(LoaderTest, AWithheldDocumentCollectionAddIsReported)
{
  Load();
  H.NewDocument(txapi::txDocumentAssembly, true);
  H.GetFaults().RefuseHandOut("IDocuments.Add");
  Run(1);
  EXPECT_EQ(H.Messages(), std::vector<std::wstring>{L"Не создан документ детали"});
}

TEST_F(LoaderTest, AnExceptionFromTheLibraryReachesTheHostAndLeavesNoReference)
{
  Load();
  H.NewDocument(txapi::txDocumentPart, true);
  EXPECT_THROW(Run(2), std::runtime_error);
  EXPECT_TRUE(H.Referenced().empty());
}

TEST_F(LoaderTest, ALibraryWithoutARecordIsToldSo)
{
  Load(false);
  EXPECT_EQ(H.Messages(), std::vector<std::wstring>{L"Не подключена библиотека libTestTxLib.so"});
}

TEST_F(LoaderTest, UnloadingDropsTheCallbacksAndEveryReference)
{
  Load();
  H.NewDocument(txapi::txDocumentDrawing, true);
  Run(1);
  Library->Unload();
  EXPECT_FALSE(H.LibraryCallbacks().RunCommand);
  EXPECT_FALSE(H.LibraryCallbacks().CommandState);
  EXPECT_FALSE(H.LibraryCallbacks().LibraryId);
  EXPECT_TRUE(H.CurrentLibraryPath().empty());
  EXPECT_TRUE(H.Referenced().empty());
  EXPECT_TRUE(H.Registrations().empty());
  std::string error;
  EXPECT_FALSE(Library->Load(H, error));
  Library->Unload();
  // Loaded again, the library's registrations are its three, not six.
  Load();
  EXPECT_EQ(H.Registrations(), (std::vector<std::string>{"run-command", "command-state", "library-id"}));
}

#ifdef TXHOST_ASAN_PLUGIN
// The sanitizer runtime used to end the process inside dlopen, naming neither the library nor the line.
TEST_F(LoaderTest, ALibraryThatNeedsASanitizerRuntimeTheProcessLacksIsRefused)
{
  const auto needed = txhost::NeededLibraries(TXHOST_ASAN_PLUGIN);
  EXPECT_TRUE(std::any_of(needed.begin(), needed.end(), [](const std::string& n) { return n.rfind("libasan.so", 0) == 0; }));
  const std::string why = txhost::SanitizerMismatch(TXHOST_ASAN_PLUGIN, {});
  EXPECT_EQ(why.rfind("the library was built with AddressSanitizer (it needs libasan.so", 0), 0u) << why;
  EXPECT_EQ(txhost::SanitizerMismatch(TXHOST_ASAN_PLUGIN, {"AddressSanitizer"}), "");
  EXPECT_EQ(txhost::SanitizerMismatch(TXHOST_NOENTRY_PLUGIN, {}).empty(),
            txhost::ProcessSanitizers().empty()) << "a library of this build needs what this process has";
  txhost::test::WriteFile(Dir / "short.so", "\x7f" "ELF\x02\x01");
  EXPECT_TRUE(txhost::NeededLibraries(Dir / "short.so").empty());
}
#endif

} // namespace
