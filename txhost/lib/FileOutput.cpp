#include "txhost/lib/FileOutput.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <random>
#include <vector>

namespace txhost {

namespace {

constexpr std::string_view TemporaryMark = ".txhost-tmp-";
// The longest suffix after the mark: a process number, a count and a random number, with two dashes.
constexpr std::size_t SuffixRoom = 10 + 1 + 20 + 1 + 10;

// The temporaries being written, for a process stopped by a signal to remove: each a folder opened and a
// name in it. Written before its folder is published, read by the handler only once published, so the
// handler sees whole names; unlinkat is safe to call from a handler.
struct LiveTemporary
{
  std::atomic<bool> Taken{false};
  std::atomic<int> Folder{-1};
  char Name[NAME_MAX + 1] = {};
};
constexpr int StopSignals[] = {SIGTERM, SIGINT, SIGHUP};
LiveTemporary Live[16];

extern "C" void RemoveLiveTemporaries(int signal)
{
  const int saved = errno;
  for (LiveTemporary& t : Live)
    if (const int folder = t.Folder.load(std::memory_order_acquire); folder >= 0)
      ::unlinkat(folder, t.Name, 0);
  // Then the signal does what it would have done: the process ends.
  struct sigaction plain
  {
  };
  plain.sa_handler = SIG_DFL;
  ::sigaction(signal, &plain, nullptr);
  ::raise(signal);
  errno = saved;
}

// Taken over only where the signal would end the process as it stands: a program that handles or ignores
// one keeps its own way.
void WatchStopSignals()
{
  static std::once_flag once;
  std::call_once(once, [] {
    for (int s : StopSignals) {
      struct sigaction old
      {
      };
      if (::sigaction(s, nullptr, &old) != 0 || (old.sa_flags & SA_SIGINFO) != 0 || old.sa_handler != SIG_DFL)
        continue;
      struct sigaction remove
      {
      };
      remove.sa_handler = RemoveLiveTemporaries;
      sigemptyset(&remove.sa_mask);
      ::sigaction(s, &remove, nullptr);
    }
  });
}

// A temporary on record while it may exist: put on record before it is made, so that a signal that comes
// as it is made still finds it. With every slot taken (many writes at once), it goes unrecorded.
class TemporaryRecord
{
public:
  explicit TemporaryRecord(int folder)
  {
    WatchStopSignals();
    for (LiveTemporary& t : Live) {
      bool free = false;
      if (!t.Taken.compare_exchange_strong(free, true)) continue;
      Slot = &t;
      Folder = folder;
      return;
    }
  }
  // The name of the temporary about to be made.
  void Name(const std::string& name)
  {
    if (Slot == nullptr) return;
    Slot->Folder.store(-1, std::memory_order_release);
    if (name.empty() || name.size() > NAME_MAX) return;
    std::memcpy(Slot->Name, name.c_str(), name.size() + 1);
    Slot->Folder.store(Folder, std::memory_order_release);
  }
  ~TemporaryRecord()
  {
    if (Slot == nullptr) return;
    Slot->Folder.store(-1, std::memory_order_release);
    Slot->Taken.store(false);
  }
  TemporaryRecord(const TemporaryRecord&) = delete;
  TemporaryRecord& operator=(const TemporaryRecord&) = delete;

private:
  LiveTemporary* Slot = nullptr;
  int Folder = -1;
};

// The process, a count of this process's writes and a random number: unique among live processes, and
// unlikely to meet a file left by a crashed one (a meeting is retried).
std::string TemporarySuffix()
{
  static std::atomic<unsigned long> count{0};
  return std::to_string(::getpid()) + "-" + std::to_string(++count) + "-" +
         std::to_string(std::random_device()());
}

// Whether the name is a temporary of a process now gone: the mark, then a process number and a dash. One of a
// live process (this one too) is left: a write of it may be under way.
bool StaleTemporary(std::string_view name)
{
  const std::size_t mark = name.rfind(TemporaryMark);
  if (mark == std::string_view::npos) return false;
  long pid = 0;
  std::size_t i = mark + TemporaryMark.size();
  const std::size_t digits = i;
  for (; i < name.size() && name[i] >= '0' && name[i] <= '9' && pid < 1L << 31; ++i)
    pid = pid * 10 + (name[i] - '0');
  if (i == digits || i == name.size() || name[i] != '-' || pid <= 0 || pid == ::getpid()) return false;
  return ::kill(pid_t(pid), 0) != 0 && errno == ESRCH;
}

// A folder by its identity and the path it was reached by: one removed and made again, under another name or
// with a new inode, is another.
struct FolderKey
{
  std::uint64_t Device, Inode;
  std::int64_t Born;
  std::string Path;
  auto operator<=>(const FolderKey&) const = default;
};

// Removes the temporaries of the name (those starting with prefix) that processes now gone left in the
// folder (stopped by a signal that could not be handled, or a crash). The folder is listed once in a process,
// at its first write, and what stale temporaries it held are kept by their names: listing costs what the
// folder holds, and a save must cost the same whatever else stands beside its file.
void RemoveStaleTemporaries(int folder, const std::filesystem::path& path, const std::string& prefix)
{
  struct statx sx
  {
  };
  if (::statx(folder, "", AT_EMPTY_PATH, STATX_INO | STATX_BTIME, &sx) != 0) return;
  FolderKey key{(std::uint64_t(sx.stx_dev_major) << 32) | sx.stx_dev_minor, sx.stx_ino,
                (sx.stx_mask & STATX_BTIME) != 0
                    ? std::int64_t(sx.stx_btime.tv_sec) * 1000000000 + sx.stx_btime.tv_nsec
                    : 0,
                path.string()};
  static std::mutex guard;
  static std::map<FolderKey, std::vector<std::string>> staleByFolder;
  const std::lock_guard lock(guard);
  auto it = staleByFolder.find(key);
  if (it == staleByFolder.end()) {
    // A process that writes into very many folders forgets the oldest lists rather than growing.
    if (staleByFolder.size() >= 4096) staleByFolder.clear();
    it = staleByFolder.emplace(std::move(key), std::vector<std::string>()).first;
    const int copy = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* d = copy < 0 ? nullptr : ::fdopendir(copy);
    if (d == nullptr && copy >= 0) ::close(copy);
    while (const dirent* e = d != nullptr ? ::readdir(d) : nullptr)
      if (StaleTemporary(e->d_name)) it->second.emplace_back(e->d_name);
    if (d != nullptr) ::closedir(d);
  }
  std::erase_if(it->second, [&](const std::string& name) {
    const bool mine = name.starts_with(prefix);
    if (mine) ::unlinkat(folder, name.c_str(), 0);
    return mine;
  });
}

// Gives the file written as fd the owner, group and mode of the file it replaces: the owner and group where
// this process may set them (without them, no set-user or set-group bit is given to a file of its own); the
// system's error number, or 0.
int KeepOwnerAndMode(int fd, const struct stat& replaced)
{
  mode_t mode = replaced.st_mode & 07777;
  if ((replaced.st_uid != ::geteuid() || replaced.st_gid != ::getegid()) &&
      ::fchown(fd, replaced.st_uid, replaced.st_gid) != 0)
    mode &= ~mode_t(S_ISUID | S_ISGID);
  return ::fchmod(fd, mode) == 0 ? 0 : errno;
}

std::atomic<bool> NoReplaceRename{true};

// Renames the temporary over the name; replaced tells whether a file stood there. That is known at once from
// a rename that takes only a free name, or where a file system has none, from a hard link, which takes only a
// free name too; only where it has neither is the name looked at before a plain rename. The system's error
// number, or 0.
int RenameOver(int folder, const std::string& temporary, const std::string& name, bool& replaced)
{
  replaced = false;
  int e = EINVAL;
  if (NoReplaceRename.load(std::memory_order_relaxed)) {
    if (::renameat2(folder, temporary.c_str(), folder, name.c_str(), RENAME_NOREPLACE) == 0) return 0;
    e = errno;
  }
  if (e == EINVAL || e == ENOSYS) {
    if (::linkat(folder, temporary.c_str(), folder, name.c_str(), 0) == 0) {
      ::unlinkat(folder, temporary.c_str(), 0);
      return 0;
    }
    e = errno;
    if (e != EEXIST) {
      struct stat st
      {
      };
      replaced = ::fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
      return ::renameat(folder, temporary.c_str(), folder, name.c_str()) == 0 ? 0 : errno;
    }
  }
  if (e != EEXIST) return e;
  replaced = true;
  return ::renameat(folder, temporary.c_str(), folder, name.c_str()) == 0 ? 0 : errno;
}

// Why the folder refused a write with EACCES or EPERM, naming it, in the user's terms; empty where the folder
// is not the cause. Only looked at: a folder this process may not write, or a sticky one (as /tmp) where the
// file at the name is another user's, which only its owner may replace.
std::string FolderRefusal(int folder, const std::filesystem::path& folderPath, const std::string& name, int e)
{
  if (e != EACCES && e != EPERM) return {};
  const std::string named = "the folder " + folderPath.string();
  if (::faccessat(folder, ".", W_OK | X_OK, AT_EACCESS) != 0 && errno == EACCES)
    return named + " is not writable by this user (" + std::strerror(e) + ")";
  struct stat dir
  {
  }, at{};
  if (::fstat(folder, &dir) == 0 && (dir.st_mode & S_ISVTX) != 0 &&
      ::fstatat(folder, name.c_str(), &at, AT_SYMLINK_NOFOLLOW) == 0 && at.st_uid != ::geteuid() &&
      dir.st_uid != ::geteuid())
    return named + " is sticky: only its owner may replace the file there, which belongs to another user (" +
           std::strerror(e) + ")";
  return {};
}

} // namespace

void UseNoReplaceRename(bool use)
{
  NoReplaceRename.store(use);
}

std::string TemporaryPrefix(const std::string& name, std::size_t nameMax)
{
  // A long name gives up its end (on a character's boundary); the mark and the suffix that makes the name
  // unique stay whole.
  std::string kept = name;
  const std::size_t room = TemporaryMark.size() + SuffixRoom;
  if (kept.size() + room > nameMax) {
    std::size_t keep = nameMax > room ? nameMax - room : 0;
    while (keep > 0 && (static_cast<unsigned char>(kept[keep]) & 0xC0) == 0x80)
      --keep;
    kept.resize(keep);
  }
  return kept + std::string(TemporaryMark);
}

namespace {

// A write, or with bytes absent only what a write would find before it writes anything.
bool WriteOrLook(const std::filesystem::path& file, const std::string_view* bytes, std::string& error,
                 int* code, FileStamp* stamp)
{
  int ignored = 0;
  int& failure = code != nullptr ? *code : ignored;
  failure = 0;
  const std::filesystem::path folderPath =
      file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
  const std::string name = file.filename().string();
  int folder = -1;
  // Say why in the user's terms and name the user's file, not the temporary one.
  auto fail = [&](int e, const char* why = nullptr) {
    failure = e;
    error = "cannot write " + file.string() + ": ";
    std::string refusal;
    if (folder >= 0)
      refusal = FolderRefusal(folder, folderPath, name, e);
    else if (e == EACCES)
      refusal =
          "the folder " + folderPath.string() + " cannot be reached by this user (" + std::strerror(e) + ")";
    if (why != nullptr)
      error += why;
    else if (e == EISDIR)
      error += "a folder is in the way";
    else if (!refusal.empty())
      error += refusal;
    else
      error += std::strerror(e);
    return false;
  };
  if (name.empty() || name == "." || name == "..") return fail(EISDIR);
  // The folder is opened once and everything is done in it by name: a path near the system's limit that
  // opens is written, however long the temporary's name would make it.
  folder = ::open(folderPath.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (folder < 0) {
    const int e = errno;
    return fail(e, e == ENOENT ? "no such folder" : nullptr);
  }
  struct Closer
  {
    int Fd;
    ~Closer() { ::close(Fd); }
  } closeFolder{folder};
  // A pipe, a socket or a device at the name is the user's, and no place for a file.
  struct stat st
  {
  };
  if (::fstatat(folder, name.c_str(), &st, 0) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode))
    return fail(0, "not a regular file");
  // A file at the name is replaced as its owner keeps it: one its owner may not write is refused, as an
  // editor refuses it, and the new file takes its mode (and its owner and group where this process may set
  // them), so that a private file never becomes readable by others. A link at the name is no file of
  // anyone's: it is replaced by a new file.
  const bool kept = ::fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode);
  if (kept && (st.st_mode & S_IWUSR) == 0) return fail(EACCES, "the file is read-only");
  if (kept && ::faccessat(folder, name.c_str(), W_OK, AT_EACCESS) != 0 && errno == EACCES)
    return fail(EACCES, "no right to write the file");
  const long limit = ::fpathconf(folder, _PC_NAME_MAX);
  if (bytes == nullptr) {
    // What the write would meet later, looked at: a folder at the name, the folder's own refusal, a name
    // too long. A full disk is found only by writing.
    if (::fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode))
      return fail(EISDIR);
    if (::faccessat(folder, ".", W_OK | X_OK, AT_EACCESS) != 0) return fail(errno);
    if (name.size() > std::size_t(limit > 0 ? limit : NAME_MAX)) return fail(ENAMETOOLONG);
    return true;
  }
  const std::string prefix = TemporaryPrefix(name, std::size_t(limit > 0 ? limit : NAME_MAX));
  // A temporary name of this write alone: writes of one file from several processes (or threads) never
  // write into each other's file, and the last rename wins with a whole file.
  int fd = -1;
  std::string temporary;
  int e = 0;
  {
    TemporaryRecord record(folder);
    // Readable by its owner alone while it is written, when it replaces a file.
    const mode_t made = kept ? S_IRUSR | S_IWUSR : 0666;
    for (int attempt = 0; fd < 0; ++attempt) {
      temporary = prefix + TemporarySuffix();
      record.Name(temporary);
      fd = ::openat(folder, temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, made);
      if (fd < 0 && (errno != EEXIST || attempt >= 100)) {
        e = errno;
        record.Name({});
        return fail(e);
      }
    }
    std::size_t done = 0;
    while (done < bytes->size() && e == 0) {
      const ssize_t n = ::write(fd, bytes->data() + done, bytes->size() - done);
      if (n < 0 && errno != EINTR) e = errno;
      if (n > 0) done += std::size_t(n);
    }
    if (e == 0 && kept) e = KeepOwnerAndMode(fd, st);
    // On disk before the rename: a crash never leaves an empty file under the name.
    if (e == 0 && ::fsync(fd) != 0) e = errno;
    // Taken of the file itself before it is renamed: another process's file renamed over the name at once
    // after is not taken for this one.
    struct stat written
    {
    };
    if (e == 0 && stamp != nullptr && ::fstat(fd, &written) == 0)
      *stamp = {std::uint64_t(written.st_dev), std::uint64_t(written.st_ino), std::uint64_t(written.st_size),
                std::int64_t(written.st_mtim.tv_sec) * 1000000000 + written.st_mtim.tv_nsec};
    if (::close(fd) != 0 && e == 0) e = errno;
    // What stood at the name as the write ends: a caller that knows its own last file tells a save over it.
    struct stat prior
    {
    };
    if (e == 0 && stamp != nullptr && ::fstatat(folder, name.c_str(), &prior, AT_SYMLINK_NOFOLLOW) == 0) {
      stamp->PriorDevice = std::uint64_t(prior.st_dev);
      stamp->PriorInode = std::uint64_t(prior.st_ino);
    }
    bool replaced = false;
    if (e == 0) e = RenameOver(folder, temporary, name, replaced);
    if (stamp != nullptr) stamp->Replaced = replaced;
    if (e != 0) ::unlinkat(folder, temporary.c_str(), 0);
  }
  if (e != 0) return fail(e);
  RemoveStaleTemporaries(folder, folderPath, prefix);
  return true;
}

} // namespace

bool WriteOutputFile(const std::filesystem::path& file, std::string_view bytes, std::string& error, int* code,
                     FileStamp* stamp)
{
  return WriteOrLook(file, &bytes, error, code, stamp);
}

bool CanWriteOutputFile(const std::filesystem::path& file, std::string& error, int* code)
{
  return WriteOrLook(file, nullptr, error, code, nullptr);
}

} // namespace txhost
