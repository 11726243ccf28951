#pragma once

// Watches a call that must not wait on a named pipe. Were it to wait, the pipe is opened at both ends after a
// while and closed again without a byte, so that the call returns and the test fails instead of hanging.

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

namespace hxcad::test {

class PipeWatch
{
public:
  explicit PipeWatch(std::filesystem::path pipe, int patienceMs = 2000)
      : Pipe(std::move(pipe)), Watcher([this, patienceMs] {
          for (int waited = 0; waited < patienceMs && !Done; waited += 10)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
          if (Done) return;
          Released = true;
          const int fd = ::open(Pipe.c_str(), O_RDWR | O_NONBLOCK);
          std::this_thread::sleep_for(std::chrono::milliseconds(200));
          if (fd >= 0) ::close(fd);
        })
  {
  }
  ~PipeWatch() { Waited(); }
  PipeWatch(const PipeWatch&) = delete;
  PipeWatch& operator=(const PipeWatch&) = delete;

  // Ends the watch: true when the call had waited on the pipe and was released.
  bool Waited()
  {
    Done = true;
    if (Watcher.joinable()) Watcher.join();
    return Released;
  }

private:
  std::filesystem::path Pipe;
  std::atomic<bool> Done{false}, Released{false};
  std::thread Watcher;
};

} // namespace hxcad::test
