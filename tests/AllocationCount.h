#pragma once
// Counts the heap allocations made while a TAllocationCount is alive, through the sanitizer
// runtime's allocation hooks. The test builds run under AddressSanitizer (the test programs' own
// code is compiled without it, but linked with its runtime: HXCAD_SANITIZER_RUNTIME); elsewhere
// nothing is counted and Available() says so.
//
// Reading a list from a file must cost a bounded number of allocations per element: a count
// tells a linear reader from one that rebuilds its list every few elements without timing
// anything.
#include <atomic>
#include <cstddef>
#include <cstdint>

#if defined(__SANITIZE_ADDRESS__) || defined(HXCAD_SANITIZER_RUNTIME)
#define HXCAD_ALLOCATION_HOOKS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define HXCAD_ALLOCATION_HOOKS 1
#endif
#endif

#if defined(HXCAD_ALLOCATION_HOOKS)
// The runtime's own declaration (gcc does not ship the sanitizer headers).
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*malloc_hook)(const volatile void*, std::size_t),
                                                         void (*free_hook)(const volatile void*));
#endif

namespace hxcadtest {

class TAllocationCount
{
public:
  TAllocationCount() : Installed(Install())
  {
    Counter().store(0);
    Counting().store(true);
  }
  ~TAllocationCount() { Counting().store(false); }
  TAllocationCount(const TAllocationCount&) = delete;
  TAllocationCount& operator=(const TAllocationCount&) = delete;

  // Hooks the runtime refused (it takes only a few pairs) count as no bound at all, so that a test fails
  // instead of passing on a count of nothing.
  std::uint64_t Count() const { return Installed ? Counter().load() : UINT64_MAX; }

  static bool Available()
  {
#if defined(HXCAD_ALLOCATION_HOOKS)
    return true;
#else
    return false;
#endif
  }

private:
  static std::atomic<std::uint64_t>& Counter()
  {
    static std::atomic<std::uint64_t> n{0};
    return n;
  }
  static std::atomic<bool>& Counting()
  {
    static std::atomic<bool> on{false};
    return on;
  }
#if defined(HXCAD_ALLOCATION_HOOKS)
  static void OnMalloc(const volatile void*, std::size_t)
  {
    if (Counting().load(std::memory_order_relaxed)) Counter().fetch_add(1, std::memory_order_relaxed);
  }
  static void OnFree(const volatile void*) {}
#endif
  // The runtime takes a few hook pairs and never removes one: installed once per process.
  static bool Install()
  {
#if defined(HXCAD_ALLOCATION_HOOKS)
    static const bool installed = __sanitizer_install_malloc_and_free_hooks(&OnMalloc, &OnFree) != 0;
    return installed;
#else
    return false;
#endif
  }

  const bool Installed;
};

} // namespace hxcadtest
