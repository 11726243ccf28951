#pragma once
// Measuring picked objects: the user chooses what to measure (length, distance, diameter, angle, thread)
// and picks objects; the host's value goes into the result field, whose text the run hands back, so that
// a library command can use the measurement as an interactive step.
#include "hxcadkit/commands/pmCommon.h"
#include "txapi/IMeasurementContainer.h"

#include <cstdint>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Woverloaded-virtual"

class TpmMeasurer : public TBaseManager3D
{
public:
  explicit TpmMeasurer(const int typeMeasurer);
  ~TpmMeasurer() override;

  void UpdateRun() override;
  bool ButtonClick(int ButtonID) override;
  bool ControlCommand(SmartPtr<txapi::IPropertyControl> Control, int ButtonID) override;
  bool ECanSelect(SmartPtr<txapi::IModelObject> Entity) override;
  bool ESelect(SmartPtr<txapi::IModelObject> Entity) override;

  SmartPtr<txapi::IPropertyMultiButton> RBtyp;
  SmartPtr<txapi::IPropertyEdit> EVal;
  // 1 length, 2 distance, 3 diameter, 4 angle, 5 thread.
  std::int32_t typMeasurer = 1;
  SmartPtr<txapi::IMeasurementContainer> Measurer;
  SmartPtr<txapi::IModelObject> cSelect;
  SmartPtr<txapi::IModelObject> cSelect2;

private:
  void MeasureDiameter(SmartPtr<txapi::IModelObject>& Entity);
  void MeasureThread(SmartPtr<txapi::IModelObject>& Entity);
};

#pragma GCC diagnostic pop

// Runs the measurement; the result field's text at the end, empty when there is no part to measure in.
TString cmMeasurer(const int typeMeasurer);
