#include "hxcadkit/core/FolderLock.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

#include "hxcadkit/core/Messager.h"

namespace {
// Locks of separate opens of one folder exclude each other even within one process: a nested take would
// wait for itself. Kept for this process alone: a child made while one is held (the lock belongs to the open
// folder, which the child shares) lets go of its copy, or the holder's release would wait for the child.
struct THeld
{
  pid_t Process = 0;
  int Count = 0;
  int Fd = -1;
};
thread_local THeld FolderLocksHeld;

// What each thread's current build has met: folders it gave up waiting for, and folders it was told keep no
// locks. Kept by a number each thread draws, not in a thread-local object: glibc keeps a library loaded while
// a thread-local object of it has a destructor to run, till its thread ends, and a host that unloaded the
// plug-in after a build and loaded it again met its statics as the last session had left them.
struct TFolderLockBuild
{
  std::set<std::string> GaveUp, Unlocked;
};
std::mutex FolderLockBuildsLock;
std::map<std::uint64_t, TFolderLockBuild> FolderLockBuilds;
std::atomic<std::uint64_t> FolderLockThreads{0};
thread_local std::uint64_t FolderLockThread = 0;

// This thread's, under FolderLockBuildsLock.
TFolderLockBuild& FolderLockBuild()
{
  if (FolderLockThread == 0) FolderLockThread = ++FolderLockThreads;
  return FolderLockBuilds[FolderLockThread];
}

std::atomic<long long> FolderLockWaitMs{30000};

// A wait this long is no longer another build's save: the user hears of it.
constexpr std::chrono::milliseconds FolderLockSayAfter{200};

TString FolderLockShown(const std::string& folder)
{
  const std::string shown =
      folder.size() > 1 && folder.back() == '/' ? folder.substr(0, folder.size() - 1) : folder;
  return TString::Exactly(Utf8ToWide(shown));
}
} // namespace

int (*TFolderLock::Flock)(int fd, int operation) = ::flock;

std::chrono::milliseconds TFolderLock::WaitLimit()
{
  return std::chrono::milliseconds(FolderLockWaitMs.load());
}

void TFolderLock::SetWaitLimit(std::chrono::milliseconds limit)
{
  FolderLockWaitMs = std::max<long long>(0, limit.count());
}

void TFolderLock::NewBuild()
{
  const std::lock_guard lock(FolderLockBuildsLock);
  FolderLockBuild() = TFolderLockBuild();
}

TFolderLock::TFolderLock(const TString& file)
{
  THeld& held = FolderLocksHeld;
  if (held.Process != ::getpid()) {
    if (held.Fd >= 0) ::close(held.Fd);
    held = {::getpid(), 0, -1};
  }
  if (held.Count++ > 0) return;
  const std::string path = file.Utf8Text();
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
  Fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  // Polled rather than waited for in the system: a blocked wait could neither be bounded nor tell the user.
  const auto start = std::chrono::steady_clock::now();
  bool said = false;
  for (std::chrono::milliseconds pause{1}; Fd >= 0;) {
    if (Flock(Fd, LOCK_EX | LOCK_NB) == 0) break;
    const int e = errno;
    if (e == EINTR) continue;
    if (e != EWOULDBLOCK) {
      // ENOLCK, EOPNOTSUPP, EBADF...: this file system keeps no locks for anyone, so none is waited for.
      ::close(Fd);
      Fd = -1;
      bool first = false;
      {
        const std::lock_guard lock(FolderLockBuildsLock);
        first = FolderLockBuild().Unlocked.insert(folder).second;
      }
      if (first)
        Messager->LiftBox(DC(TString("Сборки в папке ")) + FolderLockShown(folder) +
                              DC(TString(" не защищены друг от друга: папка не поддерживает блокировку")),
                          TMessager::toApi);
      break;
    }
    const auto waited = std::chrono::steady_clock::now() - start;
    bool giveUp = false;
    {
      const std::lock_guard lock(FolderLockBuildsLock);
      TFolderLockBuild& build = FolderLockBuild();
      giveUp = build.GaveUp.count(folder) != 0 || waited >= WaitLimit();
      if (giveUp) build.GaveUp.insert(folder);
    }
    if (giveUp) {
      ::close(Fd);
      Fd = -1;
      GaveUp = true;
      --held.Count;
      return;
    }
    if (!said && waited >= FolderLockSayAfter) {
      said = true;
      Messager->LiftBox(DC(TString("Ожидание другой сборки в папке ")) + FolderLockShown(folder),
                        TMessager::toApi);
    }
    std::this_thread::sleep_for(pause);
    pause = std::min(pause * 2, std::chrono::milliseconds(20));
  }
  held.Fd = Fd;
}

TFolderLock::~TFolderLock()
{
  THeld& held = FolderLocksHeld;
  if (GaveUp || held.Process != ::getpid())
    return; // the holder's, in a child: let go of when it took its own
  --held.Count;
  if (Fd < 0) return;
  ::close(Fd);
  held.Fd = -1;
}
