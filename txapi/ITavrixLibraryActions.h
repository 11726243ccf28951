#pragma once

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"

#include <functional>
#include <string>

namespace txapi {

// Runs library command comm.
using RunCommandFunction = std::function<void(unsigned int comm, txRunCommandModeEnum mode)>;
// Reports the state of command commandId: whether it is enabled, its check state and, for a disabled command,
// the reason.
using CommandStateFunction =
    std::function<void(int commandId, bool& enable, int& checked, std::wstring& reasonStr)>;
// The library's identifier.
using LibraryIdFunction = std::function<int()>;

// The registrar handed to the library's load entry point. The host keeps its own copy of every function
// object it is given; a later registration of the same kind replaces the earlier one.
class ITavrixLibraryActions : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"8b2f4d90-7ea3-4c15-b6d8-0f93e2a1c47b"};

  virtual void RegisterRunCommand(const RunCommandFunction& function) = 0;
  virtual void RegisterCommandState(const CommandStateFunction& function) = 0;
  virtual void RegisterLibraryId(const LibraryIdFunction& function) = 0;

protected:
  ~ITavrixLibraryActions() = default;
};

} // namespace txapi
