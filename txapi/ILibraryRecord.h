#pragma once

#include "txapi/IAPIObject.h"

#include <string>

namespace txapi {

// The host's record of a library that is connected to it.
class ILibraryRecord : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"d6c04e9b-2f71-4a38-b5e6-93a1c07d48e2"};

  // The full path of the library's file.
  virtual std::wstring GetFullFileName() = 0;
  // The name of the font the host assigns to the library; empty when it assigns none.
  virtual std::wstring GetFontName() = 0;

protected:
  ~ILibraryRecord() = default;
};

} // namespace txapi
