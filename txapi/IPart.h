#pragma once

#include "txapi/IAPIObject.h"

#include <string>

namespace txapi {

// A part of a 3D document: the document's top part, or a component of an assembly.
class IPart : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"005fe448-9e10-4eb5-a606-f8fab1505bf4"};

  virtual std::wstring GetName() = 0;
  virtual void SetName(const std::wstring& name) = 0;
  // The designation of the part.
  virtual std::wstring GetMarking() = 0;
  virtual void SetMarking(const std::wstring& marking) = 0;
  // Applies what was set; false when the host refuses.
  virtual bool Update() = 0;

protected:
  ~IPart() = default;
};

} // namespace txapi
