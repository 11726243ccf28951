// The files of a 3D build that cannot finish: names it may not write are refused before anything of theirs
// is written, and the clean-up of a failed build removes only its own files, however other processes write
// the folder meanwhile, with the host's record of its saves and without it.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <string>

#include "LibraryFixture.h"
#include "StandInFixture.h"
#include "hxcadkit/core/FolderLock.h"
#include "tests/TestNames.h"
#include "txapi/optional/IDocumentSaveRecord.h"
#include "txhost/lib/FileOutput.h"
#include "txhost/lib/Kinds.h"
#include "txhost/lib/Model.h"
#include "txhost/lib/Text.h"

namespace {

namespace fs = std::filesystem;

// Every path under folder.
std::set<std::string> Listing(const fs::path& folder)
{
  std::set<std::string> files;
  for (const auto& e : fs::recursive_directory_iterator(folder))
    files.insert(e.path().string());
  return files;
}

// A host that keeps no record of its saves, as a host without the stand-in's own interface.
void WithoutSaveRecord(txhost::Host& h)
{
  h.GetFaults().RefuseInterface(txhost::Target::Any(), txapi::optional::IDocumentSaveRecord::IID);
}

// A failed build's clean-up looked at a file, found it the one it saved, then deleted it by name: a file that
// another build renamed over the name in between went instead, while that build reported it made. Shown with
// the removal held at that point while another process saves its own file there as a build saves (in its turn
// of the folder): that file stays, and nothing of the removal is left beside it.
class CleanUpRace : public StandInCoupling, public ::testing::WithParamInterface<bool>
{
protected:
  // The build's own save of the fastener file that two sizes of the coupling share.
  TString SaveShared()
  {
    ControlModel.Path = TString(Utf8ToWide(Dir.path().string()) + L"/");
    ControlModel.StandartName = TString("ГОСТ 21424-93");
    Model(250, 40, 40, 0, 0);
    ControlModel.ForgetFiles();
    const TString file = ControlModel.mfDetail3D(7);
    drApi::MA.drCreate3D(true, true, file, TString("Гайка"), TString());
    drApi::MA.drSave3D(true, false);
    return file;
  }
};

TEST_P(CleanUpRace, AFileAnotherProcessPutsThereMeanwhileStays)
{
  if (!GetParam()) WithoutSaveRecord(H);
  // Nothing between: the build's own file goes.
  const fs::path shared = SaveShared().Utf8Text();
  ASSERT_TRUE(fs::exists(shared));
  ControlModel.RemoveMadeFiles();
  EXPECT_FALSE(fs::exists(shared));

  ASSERT_EQ(SaveShared().Utf8Text(), shared.string());
  static pid_t other = 0;
  TControlModelCoupling::BeforeRemoval = [](const TString& file) {
    other = ::fork();
    if (other == 0) {
      const TFolderLock turn(file);
      std::string error;
      ::_exit(txhost::WriteOutputFile(file.Utf8Text(), "another build's", error) ? 0 : 1);
    }
    // Long enough for the other process to have reached the name, were it not to wait for its turn.
    ::usleep(50000);
  };
  ControlModel.RemoveMadeFiles();
  TControlModelCoupling::BeforeRemoval = nullptr;
  int status = 0;
  ASSERT_EQ(::waitpid(other, &status, 0), other);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(txhost::test::ReadFile(shared), "another build's");
  EXPECT_EQ(Listing(Dir.path()), std::set<std::string>{shared.string()});
  ControlModel.ForgetFiles();
}

// The moment the clean-up's look at a name meets another build's save of it, played out: the failing build
// holds its clean-up there while another build saves the name, says so, and 4 ms later checks its file as the
// command does. The clean-up that took the file out of its name to look at it freed the name right then: that
// build's check failed although it had made its file, and a failing build killed in that moment (also played,
// 4 ms after the other's save) left the file hidden beside the name for good. The other build's save now
// waits for its turn of the folder; it reports its file made, and its file stands at the name alone.
TEST_P(CleanUpRace, AnotherBuildsSaveMeetingTheCleanUpIsNeitherLostNorFalselyReported)
{
  if (!GetParam()) WithoutSaveRecord(H);
  ControlModel.Path = TString(Utf8ToWide(Dir.path().string()) + L"/");
  ControlModel.StandartName = TString("ГОСТ 21424-93");
  Model(250, 40, 40, 0, 0);
  ControlModel.ForgetFiles();
  const std::string shared = ControlModel.mfDetail3D(7).Utf8Text();
  ControlModel.ForgetFiles();
  // A byte from a pipe, or 0 when none comes within seconds.
  const auto next = [](int fd) {
    pollfd wait{fd, POLLIN, 0};
    char c = 0;
    return ::poll(&wait, 1, 10000) == 1 && ::read(fd, &c, 1) == 1 ? c : char(0);
  };
  for (const bool kill : {false, true}) {
    SCOPED_TRACE(kill ? "the failing build killed" : "the failing build ends");
    static int saved[2], result[2], told[2];
    ASSERT_EQ(::pipe(saved), 0);
    ASSERT_EQ(::pipe(result), 0);
    ASSERT_EQ(::pipe(told), 0);
    const pid_t failing = ::fork();
    if (failing == 0) {
      SaveShared();
      TControlModelCoupling::BeforeRemoval = [](const TString&) {
        if (::fork() == 0) {
          // The other build, saving the same file as a build does, then checking it.
          ControlModel.ForgetFiles();
          const TString file = ControlModel.mfDetail3D(7);
          drApi::MA.drCreate3D(true, true, file, TString("Гайка"), TString());
          drApi::MA.drSave3D(true, false);
          const char mark = 's';
          const bool sent = ::write(saved[1], &mark, 1) == 1 && ::write(told[1], &mark, 1) == 1;
          ::usleep(4000);
          TString unwritten, why;
          const char made = sent && !ControlModel.Unwritten(unwritten, why) ? 'y' : 'n';
          ::_exit(::write(result[1], &made, 1) == 1 ? 0 : 1);
        }
        // Held until the other build has saved, or for long enough to tell that it waits.
        pollfd wait{saved[0], POLLIN, 0};
        ::poll(&wait, 1, 200);
      };
      ControlModel.RemoveMadeFiles();
      ::_exit(0);
    }
    EXPECT_EQ(next(told[0]), 's') << "the other build did not save";
    if (kill) {
      ::usleep(4000);
      ::kill(failing, SIGKILL);
    }
    EXPECT_EQ(next(result[0]), 'y') << "the other build's check failed";
    int status = 0;
    ::waitpid(failing, &status, 0);
    std::set<std::string> left;
    for (const auto& e : fs::directory_iterator(Dir.path()))
      if (e.path().filename().string().find(".txhost-tmp-") == std::string::npos)
        left.insert(e.path().string());
    EXPECT_EQ(left, std::set<std::string>{shared});
    for (int* p : {saved, result, told})
      for (int end : {0, 1})
        ::close(p[end]);
    for (const auto& e : fs::directory_iterator(Dir.path()))
      fs::remove(e.path());
  }
}

INSTANTIATE_TEST_SUITE_P(HostRecord, CleanUpRace, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& p) {
                           return std::string(p.param ? "WithTheHostsRecord" : "WithoutIt");
                         });

// Three builds into one folder at once, each saving the shared fastener files, two of them failing and
// cleaning up, every step of each held for a random moment, and the failing ones killed at random moments.
// The clean-up took another build's file out of its name to look at it: a third build took the free name and
// the successful build's file was deleted, a build killed in that moment left it hidden, and the successful
// build's own check in that moment failed. Random moments met that window rarely, so in every round it is
// met on purpose: the first failing build makes file 7 alone, and while its clean-up holds at that file
// the successful build saves it. Now the successful build always reports its files made, each stands at its
// name when all have ended, and nothing but the builds' files (and temporaries of killed writes) is left.
class ConcurrentBuilds : public CleanUpRace
{
protected:
  enum TRole { Succeeds, FailsHoldingItsCleanUp, Fails };
  // The successful build says it is ready (Saving) and the first failing build's clean-up then tells it to
  // save file 7 (Go); it says it is about to save it and then that it has saved it (Saving), and tells the
  // test too (Told).
  static inline int Go[2], Saving[2], Told[2];

  // A byte from a pipe, or 0 when none comes within ms.
  static char Next(int fd, int ms)
  {
    pollfd wait{fd, POLLIN, 0};
    char c = 0;
    return ::poll(&wait, 1, ms) == 1 && ::read(fd, &c, 1) == 1 ? c : char(0);
  }
  static void Say(int fd, char c)
  {
    if (::write(fd, &c, 1) != 1) ::_exit(3);
  }

  // One build in a process of its own: names and saves the shared files in turn, then checks them as the
  // command does (exit 0 when all were made) or, failing, removes what it made.
  [[noreturn]] static void Build(TRole role, unsigned seed)
  {
    static std::minstd_rand random;
    random.seed(seed);
    TControlModelCoupling::BeforeRemoval = [](const TString& file) {
      if (!file.Utf8Text().ends_with("-7.tpt")) {
        ::usleep(random() % 3000);
        return;
      }
      Say(Go[1], 'g');
      // Held until the other build has saved, or for long enough to tell that it waits for its turn.
      if (Next(Saving[0], 10000) == 'a') Next(Saving[0], 150);
    };
    ControlModel.ForgetFiles();
    for (int n : {5, 6, 7}) {
      if (n == 7 && role == Fails) break;
      // Ready once its other saves are done: the clean-up holds the folder while it waits for this build.
      if (n == 7 && role == Succeeds) Say(Saving[1], 'r');
      if (n == 7 && role == Succeeds && Next(Go[0], 10000) == 'g') Say(Saving[1], 'a');
      const TString file = ControlModel.mfDetail3D(n);
      ::usleep(random() % 1000);
      drApi::MA.drCreate3D(true, true, file, TString("Гайка"), TString());
      ::usleep(random() % 1000);
      drApi::MA.drSave3D(true, false);
      if (n == 7 && role == Succeeds) {
        Say(Saving[1], 's');
        Say(Told[1], 's');
      }
      ::usleep(random() % 1000);
    }
    TString file, why;
    ::usleep(random() % 5000);
    if (role == Succeeds) ::_exit(ControlModel.Unwritten(file, why) ? 1 : 0);
    if (role == FailsHoldingItsCleanUp && Next(Saving[0], 10000) != 'r') ::_exit(4);
    ControlModel.RemoveMadeFiles();
    ::_exit(0);
  }
};

TEST_P(ConcurrentBuilds, NoFileOfASuccessfulBuildIsLostHiddenOrFalselyReported)
{
  if (!GetParam()) WithoutSaveRecord(H);
  ControlModel.Path = TString(Utf8ToWide(Dir.path().string()) + L"/");
  ControlModel.StandartName = TString("ГОСТ 21424-93");
  Model(250, 40, 40, 0, 0);
  ControlModel.ForgetFiles();
  std::set<std::string> names;
  for (int n : {5, 6, 7})
    names.insert(ControlModel.mfDetail3D(n).Utf8Text());
  ControlModel.ForgetFiles();
  std::minstd_rand random(77);
  for (int round = 0; round < 8; ++round) {
    SCOPED_TRACE(round);
    for (const auto& e : fs::directory_iterator(Dir.path()))
      fs::remove(e.path());
    for (int* p : {Go, Saving, Told})
      ASSERT_EQ(::pipe(p), 0);
    pid_t builds[3];
    for (int b = 0; b < 3; ++b)
      if ((builds[b] = ::fork()) == 0) Build(TRole(b), unsigned(random()));
    // Every other round the failing builds are killed, each after its own random moment: the second at
    // any, the first once the successful build has saved the file it holds.
    if (round % 2 == 1) {
      ::usleep(random() % 30000);
      ::kill(builds[Fails], SIGKILL);
      EXPECT_EQ(Next(Told[0], 10000), 's') << "the successful build did not save";
      ::usleep(random() % 4000);
      ::kill(builds[FailsHoldingItsCleanUp], SIGKILL);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(builds[Succeeds], &status, 0), builds[Succeeds]);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the successful build reported a failure";
    for (int b = 1; b < 3; ++b)
      ::waitpid(builds[b], &status, 0);
    for (int* p : {Go, Saving, Told})
      for (int end : {0, 1})
        ::close(p[end]);
    std::set<std::string> left;
    for (const auto& e : fs::directory_iterator(Dir.path()))
      if (e.path().filename().string().find(".txhost-tmp-") == std::string::npos) {
        EXPECT_TRUE(e.is_regular_file() && !e.is_symlink()) << e.path();
        left.insert(e.path().string());
      }
    EXPECT_EQ(left, names);
  }
}

INSTANTIATE_TEST_SUITE_P(HostRecord, ConcurrentBuilds, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& p) {
                           return std::string(p.param ? "WithTheHostsRecord" : "WithoutIt");
                         });

// The 3D command in a new assembly with a planar face, into a documents folder of the test's choice.
class BuildFiles : public LibraryTest
{
protected:
  void SetUp() override
  {
    LibraryTest::SetUp();
    Assembly = H.NewDocument(txapi::txDocumentAssembly, true);
    Top = H.TopPart(*Assembly);
    txhost::model::NewObject(H, txhost::model::Face, *Top, txapi::o3d_face).Set("surface", "plane");
    ControlModel.CouplingName = TString("МУВП ГОСТ 21424-93");
    ControlModel.M = ControlModel.P1d = ControlModel.P2d = 0;
  }
  void Documents(const fs::path& folder)
  {
    fs::create_directories(folder);
    H.SetDocumentsFolder(folder);
    ControlModel.Path = TString(Utf8ToWide(folder.string()) + L"/");
  }
  std::size_t Parts() const { return txhost::model::LiveMembers(*Top, txhost::kinds::Part).size(); }
  // Confirms one build; what the host's message box said last (empty when nothing).
  std::string Confirm()
  {
    std::string error;
    const std::size_t said = H.Messages().size();
    EXPECT_TRUE(txhost::QueueStep(H, {"button", "1"}, error)) << error;
    EXPECT_TRUE(txhost::QueueStep(H, {"button", "2"}, error)) << error;
    Run(200);
    return H.Messages().size() > said ? txhost::ToUtf8(H.Messages().back()) : std::string();
  }
  txhost::Object* Assembly = nullptr;
  txhost::Object* Top = nullptr;
};

// Into a folder whose files' paths pass the system's limit the host wrote every file, but the library looked
// at them and cleaned up by whole paths, which the system refuses: it said "слишком длинное имя" and left
// them. Such a name is refused before anything of it is written, and nothing is left. Just below the limit
// the build works.
TEST_F(BuildFiles, AFolderWhoseFilesPassThePathLimitIsRefusedAndLeftEmpty)
{
  fs::path folder = Dir / "docs";
  while (folder.string().size() + 201 <= 4030)
    folder /= std::string(200, 'f');
  folder /= std::string(4030 - folder.string().size() - 1, 'g');
  ASSERT_EQ(folder.string().size(), 4030u);
  Documents(folder);
  const std::size_t documents = H.Documents().size();
  const std::string shown = Confirm();
  EXPECT_TRUE(shown.starts_with("Не удалось записать файл " + folder.string() + "/") &&
              shown.ends_with(": слишком длинное имя"))
      << shown;
  EXPECT_TRUE(fs::is_empty(folder)) << "files left behind";
  EXPECT_EQ(Parts(), 0u);
  EXPECT_EQ(H.Documents().size(), documents) << "documents left open";

  // The longest file of the build is the assembly: a folder that leaves it within the limit builds.
  Documents(Dir / "short");
  ASSERT_EQ(Confirm(), "");
  ASSERT_EQ(Parts(), 1u);
  std::size_t longest = 0;
  for (const auto& e : fs::directory_iterator(Dir / "short"))
    longest = std::max(longest, e.path().filename().string().size());
  fs::path near = Dir / "near";
  while (near.string().size() + 201 + longest + 1 < PATH_MAX)
    near /= std::string(200, 'n');
  near /= std::string(PATH_MAX - 1 - longest - 1 - near.string().size() - 1, 'm');
  Documents(near);
  EXPECT_EQ(Confirm(), "");
  EXPECT_EQ(Parts(), 2u);
  EXPECT_FALSE(fs::is_empty(near));
}

// A part name translated by the host to "../../esc" wrote the pin two folders above the documents folder,
// without a message. Every name that becomes a file name is refused with its reason, whatever its source, and
// nothing is written anywhere.
TEST_F(BuildFiles, ATranslatedNameWithAFolderSeparatorIsRefusedAndWritesNothing)
{
  const fs::path docs = Dir / "a" / "b" / "docs";
  Documents(docs);
  H.SetTranslation(L"Палец МУВП", L"../../esc");
  const auto before = Listing(Dir.path());
  const std::size_t documents = H.Documents().size();
  const std::string shown = Confirm();
  EXPECT_TRUE(shown.starts_with("Не удалось записать файл " + docs.string() + "/../../esc") &&
              shown.ends_with(": знак \"/\" недопустим в имени файла"))
      << shown;
  EXPECT_EQ(Listing(Dir.path()), before);
  EXPECT_EQ(Parts(), 0u);
  EXPECT_EQ(H.Documents().size(), documents) << "documents left open";
}

// With a host that keeps no record of its saves, a full disk is said as the library can tell it by looking at
// the folder afterwards, and the files written are still removed; with the record, the reason is the failed
// write's own (the concurrent builds rely on the record's identities).
TEST_F(BuildFiles, WithoutTheHostsRecordAFullDiskFailsWithWhatTheLibraryCanTellAndLeavesNothing)
{
  const fs::path docs = Dir / "small";
  Documents(docs);
  ASSERT_EQ(Confirm(), "");
  WithoutSaveRecord(H);
  for (int kib : {24, 40, 64, 96}) {
    SCOPED_TRACE(kib);
    fs::remove_all(docs);
    fs::create_directories(docs);
    const std::string size = "size=" + std::to_string(kib) + "k";
    if (::mount("tmpfs", docs.c_str(), "tmpfs", 0, size.c_str()) != 0)
      GTEST_SKIP() << "cannot mount a small file system here: " << std::strerror(errno);
    const std::string shown = Confirm();
    EXPECT_TRUE(shown.starts_with("Не удалось записать файл " + docs.string()) &&
                (shown.ends_with(": нет места на диске") || shown.ends_with(": файл не записан")))
        << shown;
    EXPECT_TRUE(fs::is_empty(docs)) << "files left behind";
    EXPECT_EQ(Parts(), 1u);
    ::umount2(docs.c_str(), MNT_DETACH);
  }
}

// The messages the host's box showed since the n-th, as UTF-8.
std::vector<std::string> ShownSince(const txhost::Host& h, std::size_t n)
{
  std::vector<std::string> out;
  const std::vector<std::wstring> all = h.Messages();
  for (std::size_t i = n; i < all.size(); ++i)
    out.push_back(txhost::ToUtf8(all[i]));
  return out;
}

// While another process held the folder's lock (a build stopped in its save), a build into the folder waited
// without a word until that process ended. It now says at once that it waits, gives up after the wait's bound
// with that reason, writing nothing, and the stopped build, going on, finds its file whole; once the folder
// is free, the build works.
TEST_F(BuildFiles, ABuildWaitingForAnotherBuildsFolderSaysSoAndGivesUpWritingNothing)
{
  const fs::path docs = Dir / "held";
  Documents(docs);
  int held[2], resume[2];
  ASSERT_EQ(::pipe(held), 0);
  ASSERT_EQ(::pipe(resume), 0);
  const pid_t other = ::fork();
  if (other == 0) {
    const int fd = ::open(docs.c_str(), O_RDONLY | O_DIRECTORY);
    char c = 'h';
    if (fd < 0 || ::flock(fd, LOCK_EX) != 0 || ::write(held[1], &c, 1) != 1 || ::read(resume[0], &c, 1) != 1)
      ::_exit(1);
    std::string error;
    ::_exit(txhost::WriteOutputFile(docs / "other.tpt", "another build's", error) ? 0 : 1);
  }
  char c = 0;
  ASSERT_EQ(::read(held[0], &c, 1), 1);
  const auto limit = TFolderLock::WaitLimit();
  TFolderLock::SetWaitLimit(std::chrono::milliseconds(700));
  const std::size_t said = H.Messages().size();
  const auto start = std::chrono::steady_clock::now();
  Confirm();
  const auto took = std::chrono::steady_clock::now() - start;
  TFolderLock::SetWaitLimit(limit);
  // Said before the refusal, which comes at the bound, itself under a second.
  const std::vector<std::string> shown = ShownSince(H, said);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0], "Ожидание другой сборки в папке " + docs.string());
  EXPECT_TRUE(shown[1].starts_with("Не удалось записать файл " + docs.string() + "/") &&
              shown[1].ends_with(": в папку пишет другая сборка, ожидание прервано"))
      << shown[1];
  EXPECT_GE(took, std::chrono::milliseconds(700));
  EXPECT_LT(took, std::chrono::milliseconds(3000));
  EXPECT_TRUE(fs::is_empty(docs)) << "files written";
  EXPECT_EQ(Parts(), 0u);

  ASSERT_EQ(::write(resume[1], &c, 1), 1);
  int status = 0;
  ASSERT_EQ(::waitpid(other, &status, 0), other);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(txhost::test::ReadFile(docs / "other.tpt"), "another build's");
  for (int* p : {held, resume})
    for (int end : {0, 1})
      ::close(p[end]);
  EXPECT_EQ(Confirm(), "");
  EXPECT_EQ(Parts(), 1u);
}

// Where the file system keeps no locks the build went on without a word: it still builds, and says once that
// builds in the folder are not protected from each other, whichever way the lock was refused.
TEST_F(BuildFiles, AFolderThatCannotBeLockedIsSaidOncePerBuild)
{
  static int refusal = 0;
  const auto flock = TFolderLock::Flock;
  TFolderLock::Flock = [](int, int) {
    errno = refusal;
    return -1;
  };
  std::size_t parts = 0;
  for (const int e : {ENOLCK, EOPNOTSUPP, EBADF, EINVAL}) {
    SCOPED_TRACE(std::strerror(e));
    refusal = e;
    const fs::path docs = Dir / std::to_string(e);
    Documents(docs);
    for (int build = 0; build < 2; ++build) {
      const std::size_t said = H.Messages().size();
      Confirm();
      EXPECT_EQ(ShownSince(H, said), std::vector<std::string>{"Сборки в папке " + docs.string() +
                                                              " не защищены друг от друга: папка не "
                                                              "поддерживает блокировку"});
      EXPECT_EQ(Parts(), ++parts);
    }
    EXPECT_FALSE(fs::is_empty(docs));
  }
  TFolderLock::Flock = flock;
}

} // namespace

namespace {

// What stands in a folder: each name with what it is and holds (a link's target, a file's bytes).
std::map<std::string, std::string> Contents(const fs::path& folder)
{
  std::map<std::string, std::string> out;
  for (const auto& e : fs::directory_iterator(folder)) {
    const std::string name = e.path().filename().string();
    if (e.is_symlink())
      out[name] = "link to " + fs::read_symlink(e.path()).string();
    else if (e.is_directory())
      out[name] = "folder";
    else if (e.is_fifo())
      out[name] = "pipe";
    else
      out[name] = txhost::test::ReadFile(e.path());
  }
  return out;
}

} // namespace

// A build whose assembly name was taken by a folder wrote its parts first (a link at one part's name became a
// file, a user's file at another's was overwritten) and only then failed; taken by a pipe, it did the same
// and gave no reason. Any name of the build that cannot be written (a folder, a read-only file or a pipe
// there), each name in turn, is found before anything is written: the folder is left exactly as it was, and
// the refusal names the file and why.
TEST_F(BuildFiles, ANameThatCannotBeWrittenIsFoundBeforeAnythingIsWritten)
{
  Documents(Dir / "first");
  ASSERT_EQ(Confirm(), "");
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(Dir / "first"))
    names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  ASSERT_GE(names.size(), 5u);
  const std::size_t parts = Parts();
  struct Taken
  {
    const char* Kind;
    void (*Make)(const fs::path&);
    const char* Why;
  };
  const Taken takers[] = {
      {"folder", [](const fs::path& p) { fs::create_directory(p); }, "на месте файла папка"},
      {"read-only file",
       [](const fs::path& p) {
         txhost::test::WriteFile(p, "the user's");
         fs::permissions(p, fs::perms::owner_read | fs::perms::group_read);
       },
       "нет прав на запись"},
      {"pipe", [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0644), 0); },
       "на месте файла канал, сокет или устройство"},
  };
  txhost::test::WriteFile(Dir / "outside", "outside");
  int round = 0;
  for (const Taken& t : takers)
    for (const std::string& taken : names) {
      SCOPED_TRACE(std::string(t.Kind) + " at " + taken);
      const fs::path docs = Dir / std::to_string(++round);
      Documents(docs);
      // Every other name holds the user's own: a link to a file outside, or a file.
      for (const std::string& n : names)
        if (n == taken)
          t.Make(docs / n);
        else if ((&n - names.data()) % 2 == 0)
          txhost::test::WriteFile(docs / n, "the user's " + n);
        else
          fs::create_symlink(Dir / "outside", docs / n);
      const auto before = Contents(docs);
      EXPECT_EQ(Confirm(), "Не удалось записать файл " + (docs / taken).string() + ": " + t.Why);
      EXPECT_EQ(Contents(docs), before);
      EXPECT_EQ(txhost::test::ReadFile(Dir / "outside"), "outside");
      EXPECT_EQ(Parts(), parts);
    }
}
