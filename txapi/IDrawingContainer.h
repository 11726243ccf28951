#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class ILineSegments;
class IArcs;

// Where a view, or a sketch being edited, makes its drawing objects.
class IDrawingContainer : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"d7587e60-6c70-426a-8153-764b67b93a54"};

  virtual SmartPtr<ILineSegments> GetLineSegments() = 0;
  virtual SmartPtr<IArcs> GetArcs() = 0;

protected:
  ~IDrawingContainer() = default;
};

} // namespace txapi
