#pragma once

#include <cstdint>
#include <utility>
#include <vector>

namespace txapi {

// A value kept in a user-data storage: a block of bytes.
class StorageValue
{
public:
  StorageValue() = default;
  explicit StorageValue(std::vector<std::uint8_t> bytes) : Bytes(std::move(bytes)) {}
  const std::vector<std::uint8_t>& GetVectorUint8() const { return Bytes; }

private:
  std::vector<std::uint8_t> Bytes;
};

} // namespace txapi
