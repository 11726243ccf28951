// Placed solids to and from STEP files.
#include "txhost/solid/Shape.h"

#include "txhost/lib/FileOutput.h"

#include <BRep_Builder.hxx>
#include <IFSelect_ReturnStatus.hxx>
#include <Interface_Static.hxx>
#include <Message.hxx>
#include <Message_Messenger.hxx>
#include <Message_PrinterOStream.hxx>
#include <STEPControl_Reader.hxx>
#include <STEPControl_Writer.hxx>
#include <Standard_Failure.hxx>
#include <StepData_Protocol.hxx>
#include <StepData_StepModel.hxx>
#include <StepData_StepWriter.hxx>
#include <TopoDS_Compound.hxx>
#include <XSControl_WorkSession.hxx>

#include <sstream>

namespace txhost::solid {

namespace {
// The translators report their statistics to standard output, which is the scenario's.
void QuietTranslators()
{
  Message::DefaultMessenger()->RemovePrinters(STANDARD_TYPE(Message_PrinterOStream));
}
} // namespace

bool WriteStep(const std::vector<TPlaced>& placed, const std::string& file, std::string& error)
{
  try {
    QuietTranslators();
    BRep_Builder b;
    TopoDS_Compound all;
    b.MakeCompound(all);
    bool any = false;
    for (const TPlaced& p : placed) {
      const TopoDS_Shape s = PlacedShape(p);
      if (s.IsNull()) continue;
      b.Add(all, s);
      any = true;
    }
    if (!any) {
      error = "nothing to write: no solid";
      return false;
    }
    STEPControl_Writer w;
    Interface_Static::SetCVal("write.step.unit", "MM");
    // Made in memory and written as the host writes every file: the modeller's own writer opens the name
    // itself, through a link standing there, and leaves a file cut short when the disk is full.
    const bool transferred = w.Transfer(all, STEPControl_AsIs) == IFSelect_RetDone;
    const Handle(StepData_StepModel) model = w.Model();
    const Handle(StepData_Protocol) protocol = Handle(StepData_Protocol)::DownCast(w.WS()->Protocol());
    if (!transferred || model.IsNull() || protocol.IsNull()) {
      error = "cannot write " + file + ": the modeller could not translate the solids";
      return false;
    }
    std::ostringstream text;
    StepData_StepWriter sw(model);
    sw.SendModel(protocol);
    if (!sw.Print(text)) {
      error = "cannot write " + file + ": the modeller could not write the solids as STEP";
      return false;
    }
    return WriteOutputFile(file, std::move(text).str(), error);
  } catch (const Standard_Failure& e) {
    error = std::string("the modeller failed to write STEP: ") + e.DynamicType()->Name();
    return false;
  }
}

TShapePtr ReadStep(const std::string& file, std::string& error)
{
  try {
    QuietTranslators();
    STEPControl_Reader r;
    if (r.ReadFile(file.c_str()) != IFSelect_RetDone || r.TransferRoots() == 0) {
      error = "cannot read " + file + " as STEP";
      return nullptr;
    }
    return std::make_shared<TShape>(r.OneShape());
  } catch (const Standard_Failure& e) {
    error = std::string("the modeller failed to read STEP: ") + e.DynamicType()->Name();
    return nullptr;
  }
}

} // namespace txhost::solid
