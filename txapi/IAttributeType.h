#pragma once

#include <cstdint>
#include <string>

#include "txapi/IAPIObject.h"

namespace txapi {

enum txAttributeTypeEnum : int {
  txATUnknown = -1,
  txATString = 0,
  txATDouble = 1,
  txATFixedTable = 2,
  txATVariableTable = 3,
};

// A type of attributes: its number names it in the attribute queries.
class IAttributeType : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"c2100e7a-9865-44f4-a61f-3439ad12bed8"};

  // The host's own setting of the type; libraries that only tag objects leave it 0.
  virtual void SetFirstSetting(int value) = 0;
  virtual void SetName(const std::wstring& name) = 0;
  // The host's second text of the type (a comment).
  virtual void SetSecondText(const std::wstring& text) = 0;
  // 0 for a type the host has not numbered.
  virtual std::uint64_t GetNumber() = 0;
  virtual txAttributeTypeEnum GetKind() = 0;

protected:
  ~IAttributeType() = default;
};

} // namespace txapi
