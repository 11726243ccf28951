#pragma once
// The one lock by which builds writing into the same folder take turns, in this process and any other.
#include "hxcadkit/core/DString.h"

// Holds the folder of a file locked, while it lives, against every other holder of the same folder's lock.
// A build holds it over each save of its files together with its record of what that save wrote, and a
// build that cleans up holds it over its look at a name together with the removal: so no other build's save
// ever falls between a look and what is done on it, and a clean-up removes a name only while it holds the
// very file that build saved there, which no other build has. The lock is the folder's own (flock), so it
// leaves nothing behind, and the system lets it go when its process ends however it ends. Where the folder
// cannot be opened no lock is held (the save or look that follows fails by itself). Taken again in the same
// thread while held, it is held once.
class TFolderLock
{
public:
  explicit TFolderLock(const TString& file);
  ~TFolderLock();
  TFolderLock(const TFolderLock&) = delete;
  TFolderLock& operator=(const TFolderLock&) = delete;

private:
  int Fd = -1;
};
