#pragma once

#include "txapi/InterfaceId.h"

#include <string_view>

namespace txapi {

// The root of every host interface. All interface views of one host object share one reference count, and
// each of them answers the IAPIObject query with the same pointer: that pointer is the object's identity.
class IAPIObject
{
public:
  static constexpr InterfaceId IID{"2c7e61a4-0b5d-4f3e-9a81-6d2f0c95e3b7"};

  // Adds one reference; returns the new count (for diagnostics only).
  virtual int AddRef() = 0;
  // Drops one reference; returns the new count (for diagnostics only).
  virtual int Release() = 0;
  // The object's view as the interface named by iid, with one reference added, or nullptr when the object
  // does not offer it. The pointer is the IAPIObject base of that interface, so it can be static_cast to it.
  virtual IAPIObject* QueryInterface(std::string_view iid) = 0;

protected:
  IAPIObject() = default;
  IAPIObject(const IAPIObject&) = default;
  IAPIObject& operator=(const IAPIObject&) = default;
  // Host objects are destroyed by the host, never through an interface pointer.
  ~IAPIObject() = default;
};

} // namespace txapi
