#pragma once
// The one lock by which builds writing into the same folder take turns, in this process and any other.
#include <chrono>

#include "hxcadkit/core/DString.h"

// Holds the folder of a file locked, while it lives, against every other holder of the same folder's lock.
// A build holds it over each save of its files together with its record of what that save wrote, and a
// build that cleans up holds it over its look at a name together with the removal: so no other build's save
// ever falls between a look and what is done on it, and a clean-up removes a name only while it holds the
// very file that build saved there, which no other build has. The lock is the folder's own (flock), so it
// leaves nothing behind, and the system lets it go when its process ends however it ends. Where the folder
// cannot be opened no lock is held (the save or look that follows fails by itself). Taken again in the same
// thread while held, it is held once.
//
// Another build holds the folder only over one save, so a wait that goes on means that build has stopped:
// the user is told at once that the build waits, and after WaitLimit the lock gives up (Refused), and the
// caller writes and removes nothing. Once given up on a folder, a thread gives up on it at once until its
// next build. A folder whose file system keeps no locks is written without one, and the user is told once
// per build that builds there are not protected from each other.
class TFolderLock
{
public:
  explicit TFolderLock(const TString& file);
  ~TFolderLock();
  TFolderLock(const TFolderLock&) = delete;
  TFolderLock& operator=(const TFolderLock&) = delete;

  // Whether the wait for another build's turn ran out: the lock is not held, and nothing may be written or
  // removed in the folder.
  bool Refused() const { return GaveUp; }

  // How long a build waits for another build's turn of its folder before it gives up; 30 s unless set.
  static std::chrono::milliseconds WaitLimit();
  static void SetWaitLimit(std::chrono::milliseconds limit);
  // Starts a build in this thread: what is said once per build is said again, and a folder given up on is
  // waited for again.
  static void NewBuild();
  // The system's flock; a test puts in one that refuses, as a file system without locks does.
  static int (*Flock)(int fd, int operation);

private:
  int Fd = -1;
  bool GaveUp = false;
};
