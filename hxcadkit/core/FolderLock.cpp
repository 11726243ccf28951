#include "hxcadkit/core/FolderLock.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <unistd.h>

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
} // namespace

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
  while (Fd >= 0 && ::flock(Fd, LOCK_EX) != 0)
    if (errno != EINTR) {
      ::close(Fd);
      Fd = -1;
    }
  held.Fd = Fd;
}

TFolderLock::~TFolderLock()
{
  THeld& held = FolderLocksHeld;
  if (held.Process != ::getpid()) return; // the holder's, in a child: let go of when the child took its own
  --held.Count;
  if (Fd < 0) return;
  ::close(Fd);
  held.Fd = -1;
}
