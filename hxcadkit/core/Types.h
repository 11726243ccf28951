#pragma once
// The framework's scalar names, used in every record and stream form.
#include <cstdint>

using Integer = std::int32_t;
using UInteger = std::uint32_t;
using Boolean = bool;
using Real = double;
