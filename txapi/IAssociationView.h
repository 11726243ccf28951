#pragma once

#include "txapi/IView.h"

#include <string>
#include <vector>

namespace txapi {

class IDrawingObject;

// A view the host computes from a 3D model: the model file, which side of it (a projection name, or an
// orientation), or for a section view the cut line it is cut along. The host builds what it shows when
// it is updated.
class IAssociationView : public IView
{
public:
  static constexpr InterfaceId IID{"6cdcfb43-e1c3-44c2-88e9-7f50cfb4343b"};

  virtual void SetSourceFileName(const std::wstring& fileName) = 0;
  virtual void SetProjectionName(const std::wstring& name) = 0;
  // 16 doubles row by row: three axes, each with 0, then the origin with 1.
  virtual void SetOrientation(const std::vector<double>& matrix) = 0;
  virtual void SetCutLine(SmartPtr<IDrawingObject> cutLine) = 0;
  // Rebuilds the view from its model; false when it could not.
  virtual bool Update() = 0;

protected:
  ~IAssociationView() = default;
};

} // namespace txapi
