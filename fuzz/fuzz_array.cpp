// Arbitrary bytes as a memory stream read by the array readers (element operators and raw
// form) for int, double and TString elements. What was read must be a consistent array, and
// writing it and reading it back must give the same elements.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/KmfData.h"
#include "hxcadkit/core/TArray.h"

namespace {

template <class T> bool Same(const T& a, const T& b)
{
  if constexpr (std::is_same_v<T, TString>) {
    return a == b;
  } else {
    return std::memcmp(&a, &b, sizeof(T)) == 0; // NaNs compare by their bits
  }
}

template <class T> void Check(const std::vector<unsigned char>& bytes, bool raw, Integer size, Integer step)
{
  TKmfData in;
  if (!in.from(bytes)) return;
  TArrayOf<T> a(size, step);
  for (Integer i = 0; i < size / 2; ++i)
    a.Add(T());
  if constexpr (std::is_trivially_copyable_v<T>) {
    raw ? a.fromStream2(in) : a.fromStream(in);
  } else {
    a.fromStream(in);
  }
  if (a.Count < 0 || a.Count > a.FSize || a.FCapacity < 0 || a.FCapacity > 10240) __builtin_trap();

  TKmfData out;
  std::vector<unsigned char> written;
  if constexpr (std::is_trivially_copyable_v<T>) {
    raw ? a.toStream2(out) : a.toStream(out);
  } else {
    a.toStream(out);
  }
  out.to(written);
  TKmfData back;
  if (!back.from(written)) __builtin_trap();
  TArrayOf<T> b;
  if constexpr (std::is_trivially_copyable_v<T>) {
    raw ? b.fromStream2(back) : b.fromStream(back);
  } else {
    b.fromStream(back);
  }
  if (b.Count != a.Count || b.Current != a.Current || b.FCapacity != a.FCapacity) __builtin_trap();
  for (Integer i = 0; i < a.Count; ++i)
    if (!Same(a[i], b[i])) __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  const std::vector<unsigned char> bytes(data, data + size);
  for (bool raw : {false, true}) {
    Check<int>(bytes, raw, 0, 0);
    Check<int>(bytes, raw, 8, 4);
    Check<double>(bytes, raw, 0, 0);
    Check<double>(bytes, raw, 8, 4);
  }
  Check<TString>(bytes, false, 0, 0);
  Check<TString>(bytes, false, 8, 4);
  return 0;
}
