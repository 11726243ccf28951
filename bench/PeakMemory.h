#pragma once
// The peak memory a piece of work adds to a process, measured in a child process so that neither the
// benchmark's own allocations nor those of earlier work count.
#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace hxcadbench {

// A figure of /proc/self/status, in kB; -1 when it is missing.
inline long StatusKb(const char* field)
{
  std::ifstream in("/proc/self/status");
  std::string line;
  const std::string prefix = std::string(field) + ":";
  while (std::getline(in, line))
    if (line.compare(0, prefix.size(), prefix) == 0) return std::atol(line.c_str() + prefix.size());
  return -1;
}

// What work() adds to the peak resident memory of a fresh child of this process, in MB; -1 when the work
// answered false or the child could not report.
template <class Work> double PeakMb(Work work)
{
  int channel[2];
  if (::pipe(channel) != 0) return -1;
  const pid_t child = ::fork();
  if (child < 0) return -1;
  if (child == 0) {
    ::close(channel[0]);
    // Memory the process freed but keeps would be reused unseen; the peak starts again from here.
    ::malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5";
    const long before = StatusKb("VmRSS");
    const bool ok = work();
    const long added = ok ? StatusKb("VmHWM") - before : -1;
    _exit(::write(channel[1], &added, sizeof added) == sizeof added ? 0 : 1);
  }
  ::close(channel[1]);
  long added = -1;
  if (::read(channel[0], &added, sizeof added) != sizeof added) added = -1;
  ::close(channel[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  return added < 0 ? -1.0 : double(added) / 1024.0;
}

} // namespace hxcadbench
