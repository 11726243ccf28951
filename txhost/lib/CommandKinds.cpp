// The kinds of objects that commands meet: processes with their panels, controls and event objects.

#include "txapi/Enums.h"
#include "txhost/lib/Blocks.h"
#include "txhost/lib/Facets.h"
#include "txhost/lib/Kinds.h"

namespace txhost {

void AddCommandKinds(KindTable& t)
{
  using namespace facets;
  t.Add("process-param", 0, {ProcessParam(), PropertiesManagerEvents()});
  t.Add("property-tabs", 0, {PropertyTabs()});
  t.Add("property-tab", 0, {PropertyTab()});
  t.Add("property-controls", 0, {PropertyControls()});
  t.Add("process-3d", 0, {Process(), Process3D(), Process3DEvents()});
  t.Add("process-2d", 0, {Process(), Process2D(), Process2DEvents()});
  t.Add("manipulators", 0, {Manipulators(), Process3DManipulatorsEvents()});
  t.Add("manipulator-placement", 0, {BaseManipulator(), Placement3DManipulator()});
  t.Add("manipulator-edit", 0, {BaseManipulator(), EditDoubleManipulator()});
  t.Add("phantom-2d", 0, {Phantom2D()});
  t.Add("drawing-group", txapi::txDrGroup, {DrawingGroup(), TemporaryGroup(), DrawingObject()});
  t.Add("frame", 0, {DocumentFrame(), DocumentFrameEvents()});
  t.Add(std::string(kinds::ProgressBar), 0, {ProgressBar()});
  t.Add("pressed-keys", 0, {PressedKeys()});
  t.Add("opengl-object", 0, {OpenGLObject()});
  t.Add("paint-object", 0, {PaintObject()});

  const FacetEntry control = PropertyControl();
  t.Add("control-separator", 0, {control, PropertySeparator()});
  for (const char* edit : {"control-edit-int", "control-edit-real", "control-edit-str"})
    t.Add(edit, 0, {control, PropertyEdit()});
  for (const char* list : {"control-list-int", "control-list-real", "control-list-str"})
    t.Add(list, 0, {control, PropertyList()});
  t.Add("control-check-box", 0, {control, PropertyCheckBox()});
  t.Add("control-multi-button", 0, {control, PropertyMultiButton(), PropertyToolBar()});
  t.Add("control-grid", 0, {control, PropertyGrid()});
  t.Add("control-slide-box", 0, {control, PropertySlideBox()});
  t.Add("control-spin-int", 0, {control, PropertySpinEdit()});
  t.Add("control-file-name", 0, {control, PropertyFileName()});
  t.Add("control-color", 0, {control, PropertyColor()});
  t.Add("control-edit-list", 0, {control, PropertyEditList()});
  t.Add("control-edit-check-box", 0, {control, PropertyEdit(), PropertyEditCheckBox()});
  t.Add("control-point-3d", 0, {control, PropertyPoint3D()});
}

} // namespace txhost
