// How the host writes the files it is asked for: documents and pictures alike go through one routine that
// never writes through a link, keeps the old file when the write fails and says why, removes its
// temporaries when stopped, and writes any path the system takes.
#include "TestSupport.h"

#include "txapi/optional/IDocumentSaveRecord.h"
#include "txapi/txapi.h"
#include "txhost/lib/FileOutput.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/SvgWriter.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <functional>
#include <string>
#include <thread>

namespace {

using txapi::SmartPtr;
using txhost::Host;
using txhost::Object;
using txhost::test::ReadFile;
using txhost::test::TempDir;
using txhost::test::WriteFile;

// The names in a folder that are temporaries of the host.
std::vector<std::string> Temporaries(const std::filesystem::path& folder)
{
  std::vector<std::string> found;
  for (const auto& e : std::filesystem::directory_iterator(folder))
    if (e.path().filename().string().find(".txhost-tmp-") != std::string::npos)
      found.push_back(e.path().filename().string());
  return found;
}

class FileOutputTest : public ::testing::Test
{
protected:
  FileOutputTest() { H.SetDocumentsFolder(Dir.path()); }

  Object& NewDrawing()
  {
    SmartPtr<txapi::ITavrixDocument> d = H.Application().GetDocuments()->Add(txapi::txDocumentDrawing, true);
    return *Object::From(d.get());
  }

  TempDir Dir;
  TempDir Outside;
  Host H;
};

// Every way the host writes a file, each as a function of the name it writes.
struct FileWriter
{
  const char* Name;
  std::function<bool(Host&, Object&, const std::filesystem::path&, std::string&)> Write;
};

const FileWriter FileWriters[] = {
    {"document", [](Host& h, Object& d, const std::filesystem::path& f,
                    std::string& e) { return h.SaveDocumentAs(d, f, &e); }},
    {"picture", [](Host&, Object& d, const std::filesystem::path& f,
                   std::string& e) { return txhost::SaveSvg(d, f, &e); }},
    {"bytes", [](Host&, Object&, const std::filesystem::path& f,
                 std::string& e) { return txhost::WriteOutputFile(f, "bytes\n", e); }},
};

// A link at the name to a file outside the folder was written through: the file outside was overwritten,
// and a dangling link made one outside. The link is replaced and nothing outside changes.
TEST_F(FileOutputTest, ALinkAtTheNameIsReplacedNeverWrittenThrough)
{
  Object& d = NewDrawing();
  for (const FileWriter& w : FileWriters) {
    SCOPED_TRACE(w.Name);
    WriteFile(Outside / "target", "keep");
    std::filesystem::create_symlink(Outside / "target", Dir / "o.out");
    std::filesystem::create_symlink(Outside / "absent", Dir / "d.out");
    std::string error;
    EXPECT_TRUE(w.Write(H, d, Dir / "o.out", error)) << error;
    EXPECT_TRUE(w.Write(H, d, Dir / "d.out", error)) << error;
    EXPECT_EQ(ReadFile(Outside / "target"), "keep");
    EXPECT_FALSE(std::filesystem::exists(Outside / "absent"));
    for (const char* name : {"o.out", "d.out"})
      EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(Dir / name))) << name;
    std::filesystem::remove(Outside / "target");
    std::filesystem::remove(Dir / "o.out");
    std::filesystem::remove(Dir / "d.out");
  }
}

// A file system of a few blocks, mounted for the test; the test is skipped where mounting is not allowed.
class FullDiskTest : public FileOutputTest
{
protected:
  void SetUp() override
  {
    if (::mount("tmpfs", Dir.path().c_str(), "tmpfs", 0, "size=64k") != 0)
      GTEST_SKIP() << "cannot mount a small file system here: " << std::strerror(errno);
    Mounted = true;
  }
  void TearDown() override
  {
    if (Mounted) ::umount2(Dir.path().c_str(), MNT_DETACH);
  }
  // Fills what room is left.
  void Fill()
  {
    const std::string block(4096, 'x');
    for (int i = 0; i < 64; ++i) {
      std::FILE* f = std::fopen((Dir / ("fill" + std::to_string(i))).c_str(), "wb");
      if (f == nullptr) break;
      const bool full = std::fwrite(block.data(), 1, block.size(), f) != block.size() || std::fflush(f) != 0;
      std::fclose(f);
      if (full) break;
    }
  }
  bool Mounted = false;
};

// On a full disk an existing picture was left cut short and the failure said "cannot write" without why.
// The old file stays whole, no temporary is left, and the reason is the system's; the host's error
// carries its number for the library.
TEST_F(FullDiskTest, AFailedWriteKeepsTheOldFileAndSaysWhy)
{
  Object& d = NewDrawing();
  std::string large(40000, 'y');
  for (int i = 0; i < 300; ++i)
    d.Set("note" + std::to_string(i), large.substr(0, 200));
  for (const FileWriter& w : FileWriters) {
    SCOPED_TRACE(w.Name);
    WriteFile(Dir / "o.out", "old");
    Fill();
    std::string error;
    if (std::string_view(w.Name) == "bytes") {
      int code = 0;
      EXPECT_FALSE(txhost::WriteOutputFile(Dir / "o.out", large, error, &code));
      EXPECT_EQ(code, ENOSPC);
    } else {
      EXPECT_FALSE(w.Write(H, d, Dir / "o.out", error));
    }
    EXPECT_EQ(error, "cannot write " + (Dir / "o.out").string() + ": " + std::strerror(ENOSPC));
    EXPECT_EQ(ReadFile(Dir / "o.out"), "old");
    EXPECT_TRUE(Temporaries(Dir.path()).empty());
    for (int i = 0; i < 64; ++i)
      std::filesystem::remove(Dir / ("fill" + std::to_string(i)));
  }
  // The document's own record, which the stand-in offers beside the host API, keeps the number for the
  // library until a save of it writes.
  const auto record = SmartPtr<txapi::optional::IDocumentSaveRecord>::Attach(
      static_cast<txapi::optional::IDocumentSaveRecord*>(
          d.QueryInterface(txapi::optional::IDocumentSaveRecord::IID)));
  ASSERT_TRUE(record);
  EXPECT_EQ(record->GetSaveError(), ENOSPC) << "the failed document save";
  std::string error;
  ASSERT_TRUE(H.SaveDocumentAs(d, Outside / "o.tdr", &error)) << error;
  EXPECT_EQ(record->GetSaveError(), 0);
}

// Paths of 4,071 to 4,095 bytes, which the system takes, failed with "File name too long": the temporary's
// name made the path longer than the limit.
TEST_F(FileOutputTest, APathNearTheSystemsLimitIsWritten)
{
  // A folder of PATH_MAX - 200 bytes, so that both lengths leave a name within the limit of one.
  std::filesystem::path folder = Dir.path();
  while (folder.string().size() + 201 <= PATH_MAX - 200)
    folder /= std::string(200, 'f');
  if (folder.string().size() + 1 < PATH_MAX - 200)
    folder /= std::string(PATH_MAX - 200 - folder.string().size() - 1, 'g');
  ASSERT_TRUE(std::filesystem::create_directories(folder));
  Object& d = NewDrawing();
  for (std::size_t length : {std::size_t(PATH_MAX - 25), std::size_t(PATH_MAX - 1)}) {
    const std::size_t rest = length - folder.string().size() - 1;
    const std::filesystem::path file = folder / (std::string(rest - 4, 'n') + ".tdr");
    ASSERT_EQ(file.string().size(), length);
    std::string error;
    EXPECT_TRUE(H.SaveDocumentAs(d, file, &error)) << error;
    EXPECT_TRUE(txhost::SaveSvg(d, file, &error)) << error;
  }
  EXPECT_EQ(Temporaries(folder).size(), 0u);
}

// A process that is gone left its temporary for good, and the next save left it too. A save removes the
// temporaries of its own file left by processes that are gone, and no other.
TEST_F(FileOutputTest, ASaveRemovesTheTemporariesOfProcessesThatAreGone)
{
  const pid_t gone = ::fork();
  if (gone == 0) ::_exit(0);
  ASSERT_GT(gone, 0);
  ::waitpid(gone, nullptr, 0);
  const long limit = ::pathconf(Dir.path().c_str(), _PC_NAME_MAX);
  const std::string prefix = txhost::TemporaryPrefix("s.tdr", std::size_t(limit));
  const std::string stale = prefix + std::to_string(gone) + "-1-7";
  const std::string live = prefix + std::to_string(::getppid()) + "-1-7";
  const std::string other =
      txhost::TemporaryPrefix("t.tdr", std::size_t(limit)) + std::to_string(gone) + "-1-7";
  for (const std::string& name : {stale, live, other})
    WriteFile(Dir / name, "part of a document");
  std::string error;
  ASSERT_TRUE(H.SaveDocumentAs(NewDrawing(), Dir / "s.tdr", &error)) << error;
  EXPECT_FALSE(std::filesystem::exists(Dir / stale));
  EXPECT_TRUE(std::filesystem::exists(Dir / live)) << "its writer may still be at work";
  EXPECT_TRUE(std::filesystem::exists(Dir / other)) << "another file's";
}

// A save stopped by a signal kept the old document but left its temporary. The temporary goes with the
// process. A child saves a large document again and again; it is stopped while a temporary stands.
TEST_F(FileOutputTest, ASaveStoppedByASignalLeavesNoTemporary)
{
  for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
    SCOPED_TRACE(signal);
    const std::filesystem::path file = Dir / "big.out";
    WriteFile(file, "old");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      const std::string big(std::size_t(32) << 20, 'b');
      std::string error;
      for (;;)
        txhost::WriteOutputFile(file, big, error);
    }
    const auto start = std::chrono::steady_clock::now();
    while (Temporaries(Dir.path()).empty() &&
           std::chrono::steady_clock::now() - start < std::chrono::seconds(20))
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    ::kill(child, signal);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), signal);
    EXPECT_TRUE(Temporaries(Dir.path()).empty());
    const std::uintmax_t size = std::filesystem::file_size(file);
    EXPECT_TRUE(size == 3 || size == std::size_t(32) << 20) << "the old file or a whole new one: " << size;
  }
}

// A socket as a document was refused as "No such device or address"; it is no file, as a pipe is not.
TEST_F(FileOutputTest, ASocketIsNoDocument)
{
  const std::filesystem::path socket = Dir / "s.tpt";
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(fd, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  ASSERT_LT(socket.string().size(), sizeof address.sun_path);
  std::strcpy(address.sun_path, socket.c_str());
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  std::string error;
  EXPECT_EQ(H.OpenDocument(socket, true, &error), nullptr);
  EXPECT_EQ(error, socket.string() + ": not a regular file");
  EXPECT_FALSE(H.SaveDocumentAs(NewDrawing(), socket, &error));
  EXPECT_EQ(error, "cannot write " + socket.string() + ": not a regular file");
  ::close(fd);
}

// A save replaced a read-only (0444) document its owner could not write, and made a private (0600) one, its
// picture or any file written 0644, readable by every user. A replaced file keeps its mode, owner and group;
// one its owner cannot write is refused with the reason and stays as it was; a new file takes the usual mode.
TEST_F(FileOutputTest, AReplacedFileKeepsItsModeAndOwnerAndAReadOnlyOneIsRefused)
{
  Object& d = NewDrawing();
  const auto mode = [](const std::filesystem::path& f) {
    struct stat st
    {
    };
    return ::stat(f.c_str(), &st) == 0 ? st.st_mode & 07777 : ~0u;
  };
  const mode_t mask = ::umask(022);
  ::umask(mask);
  // Another owner, where this process may give files away.
  const bool root = ::geteuid() == 0;
  for (const FileWriter& w : FileWriters) {
    SCOPED_TRACE(w.Name);
    const std::filesystem::path file = Dir / "kept.out";
    std::string error;
    ASSERT_TRUE(w.Write(H, d, file, error)) << error;
    EXPECT_EQ(mode(file), 0666u & ~mask) << "a new file";
    for (mode_t kept : {0600u, 0640u, 0604u, 0700u}) {
      ASSERT_EQ(::chmod(file.c_str(), kept), 0);
      if (root) {
        ASSERT_EQ(::chown(file.c_str(), 4321, 4322), 0);
      }
      ASSERT_TRUE(w.Write(H, d, file, error)) << error;
      EXPECT_EQ(mode(file), kept);
      struct stat st
      {
      };
      ASSERT_EQ(::stat(file.c_str(), &st), 0);
      if (root) {
        EXPECT_EQ(st.st_uid, 4321u);
        EXPECT_EQ(st.st_gid, 4322u);
      }
    }
    for (mode_t readOnly : {0444u, 0400u, 0466u}) {
      WriteFile(file, "old");
      ASSERT_EQ(::chmod(file.c_str(), readOnly), 0);
      EXPECT_FALSE(w.Write(H, d, file, error));
      EXPECT_EQ(error, "cannot write " + file.string() + ": the file is read-only");
      EXPECT_EQ(ReadFile(file), "old");
      EXPECT_EQ(mode(file), readOnly);
    }
    EXPECT_TRUE(Temporaries(Dir.path()).empty());
    std::filesystem::remove(file);
  }
  int code = 0;
  std::string error;
  WriteFile(Dir / "ro.out", "old");
  ASSERT_EQ(::chmod((Dir / "ro.out").c_str(), 0444), 0);
  EXPECT_FALSE(txhost::WriteOutputFile(Dir / "ro.out", "new", error, &code));
  EXPECT_EQ(code, EACCES) << "the number the library reads its reason from";
}

// On a file system without the rename that takes only a free name, the host's record of whether a save
// replaced a file stayed false, so that a build that failed took another build's file for one it had made.
// The record holds there too.
TEST_F(FileOutputTest, WithoutTheNoReplaceRenameAReplacedFileIsStillTold)
{
  struct Restore
  {
    ~Restore() { txhost::UseNoReplaceRename(true); }
  } restore;
  for (bool noReplace : {true, false}) {
    SCOPED_TRACE(noReplace);
    txhost::UseNoReplaceRename(noReplace);
    const std::filesystem::path file = Dir / "told.out";
    std::filesystem::remove(file);
    std::string error;
    txhost::FileStamp stamp;
    ASSERT_TRUE(txhost::WriteOutputFile(file, "first", error, nullptr, &stamp)) << error;
    EXPECT_FALSE(stamp.Replaced);
    ASSERT_TRUE(txhost::WriteOutputFile(file, "second", error, nullptr, &stamp)) << error;
    EXPECT_TRUE(stamp.Replaced);
    EXPECT_EQ(ReadFile(file), "second");
    struct stat st
    {
    };
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_nlink, 1u) << "no second name left";
    EXPECT_EQ(std::uint64_t(st.st_ino), stamp.Inode);
    EXPECT_TRUE(Temporaries(Dir.path()).empty());
  }
}

} // namespace

// What a write made by a process of a user who owns nothing here said ("written" when it wrote).
std::string AsStranger(const std::function<bool(std::string&)>& write)
{
  constexpr uid_t stranger = 4323;
  int pipe[2];
  if (::pipe(pipe) != 0) return "no pipe";
  const pid_t child = ::fork();
  if (child == 0) {
    std::string error;
    const bool written = ::setgid(stranger) == 0 && ::setuid(stranger) == 0 && write(error);
    const std::string said = written ? std::string("written") : error;
    ::_exit(::write(pipe[1], said.data(), said.size()) == ssize_t(said.size()) ? 0 : 1);
  }
  ::close(pipe[1]);
  std::string said;
  char buffer[512];
  for (ssize_t n; (n = ::read(pipe[0], buffer, sizeof buffer)) > 0;)
    said.append(buffer, std::size_t(n));
  ::close(pipe[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  return said;
}

// A save refused by its folder said only "Permission denied" (a folder this user may not write) or "Operation
// not permitted" (a sticky folder, as /tmp, where the file at the name is another user's): it names the
// folder and why, for every way the host writes, and so for a folder this user cannot reach. Each write is
// made by a process of a user who owns nothing here, since the owner of the folder (and root) may do both.
TEST_F(FileOutputTest, AFolderThatRefusesTheWriteIsNamedWithItsReason)
{
  if (::geteuid() != 0) GTEST_SKIP() << "needs to write as another user";
  struct Case
  {
    const char* Folder;
    mode_t Mode;
    bool FileThere;
    const char* Why;
  };
  const Case cases[] = {
      {"closed", 0755, false, " is not writable by this user (Permission denied)"},
      {"closed-with-file", 0555, true, " is not writable by this user (Permission denied)"},
      {"sticky", 01777, true,
       " is sticky: only its owner may replace the file there, which belongs to another user (Operation not "
       "permitted)"},
  };
  Object& d = NewDrawing();
  // The folder above the test's folders is closed to the stranger at first, then open to it.
  const std::filesystem::path unreachable = Dir / "closed" / "a.out";
  for (const FileWriter& w : FileWriters) {
    ASSERT_EQ(::chmod(Dir.path().c_str(), 0700), 0);
    std::filesystem::create_directory(Dir / "closed");
    EXPECT_EQ(AsStranger([&](std::string& error) { return w.Write(H, d, unreachable, error); }),
              "cannot write " + unreachable.string() + ": the folder " + (Dir / "closed").string() +
                  " cannot be reached by this user (Permission denied)");
    std::filesystem::remove(Dir / "closed");
  }
  ASSERT_EQ(::chmod(Dir.path().c_str(), 0755), 0);
  for (const FileWriter& w : FileWriters)
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(w.Name) + " in " + c.Folder);
      const std::filesystem::path folder = Dir / c.Folder, file = folder / "a.out";
      std::filesystem::create_directory(folder);
      if (c.FileThere) {
        WriteFile(file, "old");
        ASSERT_EQ(::chmod(file.c_str(), 0666), 0) << "writable, so the file is not the reason";
      }
      ASSERT_EQ(::chmod(folder.c_str(), c.Mode), 0);
      const std::string said = AsStranger([&](std::string& error) { return w.Write(H, d, file, error); });
      EXPECT_EQ(said, "cannot write " + file.string() + ": the folder " + folder.string() + c.Why);
      if (c.FileThere) {
        EXPECT_EQ(ReadFile(file), "old");
      }
      EXPECT_TRUE(Temporaries(folder).empty());
      ::chmod(folder.c_str(), 0755);
      std::filesystem::remove_all(folder);
    }
}
