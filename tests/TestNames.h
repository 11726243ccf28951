#pragma once

// Names for the cases of parameterised suites. ctest selects tests by name and compares runs by it, so a
// name must be the same in every build and say which case it is: INSTANTIATE_TEST_SUITE_P(..., CaseNames())
// names each case by its printed form (the suite's PrintTo) and its index.

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace hxcad::test {

// Letters and digits of text, every other run of bytes one '_', at most 40 characters.
inline std::string NameOf(std::string_view text)
{
  std::string name;
  for (char c : text) {
    if (name.size() >= 40) break;
    const bool word = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (word)
      name += c;
    else if (!name.empty() && name.back() != '_')
      name += '_';
  }
  while (!name.empty() && name.back() == '_')
    name.pop_back();
  return name;
}

struct CaseNames
{
  template <class P> std::string operator()(const ::testing::TestParamInfo<P>& info) const
  {
    // A case without a PrintTo prints as its bytes, pointers included: not the same in two builds.
    const std::string printed = ::testing::PrintToString(info.param);
    const bool bytes = printed.find("-byte object <") != std::string::npos;
    const std::string name = bytes ? std::string() : NameOf(printed);
    return (name.empty() ? "case" : name + "_") + std::to_string(info.index);
  }
};

} // namespace hxcad::test
