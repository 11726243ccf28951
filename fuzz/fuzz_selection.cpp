// The selection as the program reads it, over whatever list the host hands back: model objects,
// objects that are none (documents), entries deleted since they were selected, repeated entries;
// read at any index. Alongside, cut-line points beyond the buffer. Each byte is one step. Invariants:
// an entry is given only inside the host's list and only as a model object; the cut buffer's count
// stays within the buffer; no host object is still referenced once the modeller lets go.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "../tests/adapter/AdapterSupport.h"
#include "hxcadkit/adapter/maTavrixAssembly.h"

namespace {

using drApi::MA;
using txapi::SmartPtr;

void Check(bool ok)
{
  if (!ok) std::abort();
}

void Play(const std::uint8_t* data, std::size_t size)
{
  adaptertest::HostedModeller m(false);
  MA.drCreate3D(false, false, adaptertest::T(m.Dir / "fuzz.tas"), "Сборка", "С-01");
  const SmartPtr<txapi::IPart> top = MA.R().Part;
  if (!top) return;
  std::vector<SmartPtr<txapi::ITavrixAPIObject>> pool{
      SmartPtr<txapi::ITavrixAPIObject>(MA.R().IDoc), SmartPtr<txapi::ITavrixAPIObject>()};
  for (txapi::txObj3dTypeEnum t : {txapi::o3d_planeXOY, txapi::o3d_planeXOZ, txapi::o3d_planeYOZ})
    pool.push_back(SmartPtr<txapi::ITavrixAPIObject>(top->GetDefaultEntity(t)));
  drApi::TSelectorAPI& s = *drApi::Selector;
  std::vector<SmartPtr<txapi::ITavrixAPIObject>> list;
  for (std::size_t i = 0; i < size; ++i) {
    const std::uint8_t b = data[i];
    const int arg = b >> 3;
    switch (b & 7) {
    case 0:
      list.push_back(pool[std::size_t(arg) % pool.size()]);
      break;
    case 1:
      s.Select(list);
      list.clear();
      break;
    case 2: {
      // Indices around the list and far outside it.
      const int n = s.GetCount();
      const int index = arg < 24 ? arg - 4 : (arg & 1 ? INT32_MAX : INT32_MIN);
      const SmartPtr<txapi::IModelObject> o = s.Get7(index);
      Check(!o || (index >= 0 && index < n));
      Check(bool(o) == (s.GetObjectType(index) != txapi::o3d_unknown));
      break;
    }
    case 3:
      if (arg & 1)
        s.Begin();
      else
        s.End();
      break;
    case 4:
      s.UnChoose(pool[std::size_t(arg) % pool.size()]);
      s.Choose(pool[std::size_t(arg + 1) % pool.size()]);
      break;
    case 5:
      if (SmartPtr<txapi::ISelectionManager> sm = s.Selection7) sm->UnselectAll();
      break;
    case 6:
      for (int k = 0; k <= arg; ++k)
        MA.ACT(k, arg);
      break;
    default:
      if (arg & 1)
        MA.NewCut();
      else
        MA.DrawCut("А", 1);
      break;
    }
    Check(drApi::countCutPoint >= 0 && drApi::countCutPoint <= drApi::CutPointSize);
  }
  s.End();
  MA.NewCut();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  Play(data, size);
  return 0;
}
