// Views built from a model file: arbitrary bytes as the model a drawing's view shows from a named side
// and from an orientation; whatever the file holds, the view's elements are finite segments, and the
// host is left with no object referenced.
#include <cmath>
#include <cstdint>
#include <filesystem>

#include "fuzz/FuzzScratch.h"
#include "txapi/IAssociationView.h"
#include "txapi/ITavrixDocument2D.h"
#include "txapi/IViews.h"
#include "txapi/IViewsAndLayersManager.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Model.h"
#include "txhost/lib/ViewFacets.h"

namespace {

const std::filesystem::path& Scratch()
{
  static const hxcad::fuzz::Scratch dir("fuzz_modelview");
  return dir.Path();
}

void Check(const txhost::Object& view)
{
  for (const txhost::Object* e : txhost::model::LiveMembers(view, txhost::model::LineSegment))
    for (const char* key : {"x1", "y1", "x2", "y2"})
      if (!e->Prop(key).is_number() || !std::isfinite(e->Prop(key).get<double>())) __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  const auto in = hxcad::fuzz::WriteInput(Scratch() / "in.tpt", data, size);
  {
    txhost::Host host;
    host.SetDocumentsFolder(Scratch());
    txhost::Object* drawing = host.NewDocument(txapi::txDocumentDrawing, false);
    auto doc = txapi::SmartPtr<txapi::ITavrixDocument2D>::Attach(
        static_cast<txapi::ITavrixDocument2D*>(drawing->QueryInterface(txapi::ITavrixDocument2D::IID)));
    txapi::SmartPtr<txapi::IViewsAndLayersManager> manager = doc->GetViewsAndLayersManager();
    txapi::SmartPtr<txapi::IViews> views = manager->GetViews();
    for (txapi::LtViewType type : {txapi::vt_Standart, txapi::vt_Arbitrary}) {
      txapi::SmartPtr<txapi::IAssociationView> view = views->Add(type);
      view->SetSourceFileName(in.wstring());
      if (type == txapi::vt_Standart)
        view->SetProjectionName(L"isometric");
      else
        view->SetOrientation({0.6, 0.8, 0, 0, -0.8, 0.6, 0, 0, 0, 0, 1, 0, 1, 2, 3, 1});
      view->Update();
      Check(*txhost::Object::From(view.get()));
    }
  }
  if (!txhost::HeldObjects().empty()) __builtin_trap();
  return 0;
}
