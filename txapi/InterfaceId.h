#pragma once

#include <cstddef>
#include <string_view>

namespace txapi {

// The fixed identifier of a host interface: 36 characters, lower-case hex digits in groups of 8-4-4-4-12
// separated by '-'. The constructor is consteval, so a malformed identifier is a compile error.
class InterfaceId
{
public:
  static constexpr std::size_t Length = 36;

  consteval InterfaceId(const char (&text)[Length + 1]) : Text(text, Length)
  {
    for (std::size_t i = 0; i < Length; ++i) {
      const char c = text[i];
      const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
      const bool ok = dash ? c == '-' : ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'));
      if (!ok) throw "malformed interface identifier";
    }
  }

  constexpr std::string_view text() const { return Text; }
  constexpr operator std::string_view() const { return Text; }

private:
  std::string_view Text;
};

} // namespace txapi
