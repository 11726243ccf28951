#pragma once
// The targets of the replay program, by name (made by hxcad_add_fuzz_replay, cmake/hxcad.cmake), the list ended
// by a null name.
#include <cstddef>
#include <cstdint>

namespace hxcad::fuzz {

struct TReplayTarget
{
  const char* Name;
  int (*Run)(const std::uint8_t* data, std::size_t size);
};

extern const TReplayTarget ReplayTargets[];

} // namespace hxcad::fuzz
