#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IModelObject;

// A thread symbol drawn on a face of a part.
class IThread : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"6f0b3c52-81d4-4a57-9e2b-3d7f41c09a66"};

  virtual void SetBaseObject(const SmartPtr<IModelObject>& face) = 0;
  // One of the host's numbered display settings of the symbol; their meaning is the host's.
  virtual void SetSetting(int index, int value) = 0;
  virtual bool Update() = 0;
  // The pitch of the thread; its other sizes come with IThreadsParameters.
  virtual double GetPitch() = 0;

protected:
  ~IThread() = default;
};

} // namespace txapi
