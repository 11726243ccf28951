#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

// What a library leaves on an object to find its command again: the library's file, a second text, the
// command number and a block of bytes.
class IUserParameters : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"20756c17-c00a-4958-8927-5f7552c59000"};

  virtual void SetLibraryFileName(const std::wstring& name) = 0;
  virtual void SetSecondText(const std::wstring& text) = 0;
  virtual void SetCommand(int command) = 0;
  virtual void SetUserData(const std::vector<std::uint8_t>& data) = 0;
  virtual std::wstring GetLibraryFileName() = 0;
  virtual int GetCommand() = 0;
  virtual std::vector<std::uint8_t> GetUserData() = 0;

protected:
  ~IUserParameters() = default;
};

} // namespace txapi
