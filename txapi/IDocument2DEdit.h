#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IDrawingObject;
class IMacroObject;

// What a drawing or fragment offers a library command beyond drawing: the block the user asked the
// library to edit, and objects of the document made by their kind.
class IDocument2DEdit : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"714add9d-52c3-448a-b501-72fc6c2f2de4"};

  // The macro object the host hands back to the library that made it; empty when none is being edited.
  virtual SmartPtr<IMacroObject> GetEditedMacro() = 0;
  // A new object of the DrawingObjectTypeEnum kind (txDrLeader: a position leader) in the current view;
  // empty for a kind the document does not make this way.
  virtual SmartPtr<IDrawingObject> NewObject(int type) = 0;

protected:
  ~IDocument2DEdit() = default;
};

} // namespace txapi
