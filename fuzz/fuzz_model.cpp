// The stand-in host's 3D model read back from arbitrary document files: whatever opens is printed,
// queried and re-applied through the host's own interfaces (objects, features, sketches, faces,
// mates, components), and must neither crash, loop nor keep a reference.
#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>

#include "fuzz/FuzzScratch.h"
#include "txapi/txapi.h"
#include "txhost/lib/Host.h"

namespace {

using txapi::SmartPtr;

const std::filesystem::path& Scratch()
{
  static const hxcad::fuzz::Scratch dir("fuzz_model");
  return dir.Path();
}

void Walk(const SmartPtr<txapi::IPart>& part, const std::wstring& self, int depth)
{
  SmartPtr<txapi::IFeature> f = part;
  if (!f || depth > 4) return;
  f->GetVariables(false, false);
  for (const auto& o : f->GetModelObjects({txapi::o3d_unknown})) {
    if (!o) continue;
    o->GetName();
    o->Update(); // derives planes' places and features' profiles from what the file says
    if (SmartPtr<txapi::ISketch> s = o; s && s->BeginEdit()) s->EndEdit();
    if (SmartPtr<txapi::IFace> face = o)
      for (const auto& e : face->GetEdges())
        if (e) e->GetFaces();
    if (SmartPtr<txapi::IPart> c = o) {
      c->GetPlacement();
      Walk(c, self, depth + 1);
    }
  }
  part->GetDefaultEntity(txapi::o3d_planeXOY);
  if (depth == 0) part->AddComponent(self, true);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  const auto in = hxcad::fuzz::WriteInput(Scratch() / "in.tas", data, size);
  {
    txhost::Host host;
    host.SetDocumentsFolder(Scratch());
    SmartPtr<txapi::IDocuments> docs = host.Application().GetDocuments();
    SmartPtr<txapi::ITavrixDocument> d = docs->Open(in.wstring(), false, false);
    if (SmartPtr<txapi::ITavrixDocument3D> d3 = d) {
      Walk(d3->GetTopPart(), in.wstring(), 0);
      if (SmartPtr<txapi::IMateConstraints3D> mates = d3->GetMateConstraints())
        for (int i = 0; i < mates->GetCount(); ++i)
          if (auto m = mates->GetItem(i)) {
            m->GetFirstObject();
            m->Update();
          }
    }
    std::ostringstream out;
    host.Describe(out, true);
    if (d) d->Close(txapi::txCloseWithoutSaving);
  }
  if (!txhost::HeldObjects().empty()) __builtin_trap();
  return 0;
}
