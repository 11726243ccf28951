#include "hxcadkit/core/FolderLock.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
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

// What this thread's current build has met: folders it gave up waiting for, and folders it was told keep no
// locks.
struct TFolderLockBuild
{
  std::set<std::string> GaveUp, Unlocked;
};
thread_local TFolderLockBuild FolderLockBuild;

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
  FolderLockBuild = TFolderLockBuild();
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
      if (FolderLockBuild.Unlocked.insert(folder).second)
        Messager->LiftBox(DC(TString("Сборки в папке ")) + FolderLockShown(folder) +
                              DC(TString(" не защищены друг от друга: папка не поддерживает блокировку")),
                          TMessager::toApi);
      break;
    }
    const auto waited = std::chrono::steady_clock::now() - start;
    if (FolderLockBuild.GaveUp.count(folder) != 0 || waited >= WaitLimit()) {
      FolderLockBuild.GaveUp.insert(folder);
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
