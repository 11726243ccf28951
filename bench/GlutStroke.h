#pragma once
// freeglut's stroke fonts need no window, but every entry point checks that glutInit ran,
// and glutInit wants an X display. The flag sits after the default window position, size and
// display mode in freeglut's state; those are checked first so that a different layout only
// drops the baseline.
#include <dlfcn.h>

#include <cstring>

inline bool LetStrokeFontsRun()
{
  auto* state = static_cast<unsigned char*>(dlsym(RTLD_DEFAULT, "fgState"));
  if (!state) return false;
  int head[7];
  std::memcpy(head, state, sizeof head);
  if (head[0] != -1 || head[1] != -1 || head[3] != 300 || head[4] != 300 || state[28] != 0) return false;
  state[28] = 1;
  return true;
}
