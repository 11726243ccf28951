#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IThread;

// The thread symbols of a part.
class IThreads : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"2b28c4ee-0ffc-4a71-8f98-e98a4c81ff3b"};

  // A new, not yet updated thread symbol; empty when the host makes none.
  virtual SmartPtr<IThread> Add() = 0;

protected:
  ~IThreads() = default;
};

} // namespace txapi
