// The registry's stored edit log: arbitrary bytes as the log of a command's stored data
// (TRegistrator::fromStream), or as the serialised values themselves, then replayed into
// registered variables of every kind, with dependences that ripple the replayed values.
// First byte, bit 0: 0, the rest is a registry stream; 1, the rest is a list of logged ids and
// the serialised values (see below).
#include <cstddef>
#include <cstdint>
#include <vector>

#include "hxcadkit/core/TPointer.h"

namespace {

struct TVariables
{
  double r1 = 1.0, r2 = 2.0, r3 = 3.0;
  int i1 = 1, i2 = 2;
  TString s = "s";
  bool b = false;
  int adapted = 0;
  TArrayOf<TString> choices{TString("a"), TString("b")};
  TAdapter adapter{"a", TAdapter::pvInteger, &adapted, false, choices, false, nullptr};

  TVariables()
  {
    Registrator.Announcement(1, r1, "r1", "");
    Registrator.Announcement(2, r2, "r2", "");
    Registrator.Announcement(3, i1, "i1", "");
    Registrator.Announcement(4, i2, "i2", "");
    Registrator.Announcement(5, r3, "r3", "");
    Add(6, TVariablePtr(s));
    Add(7, TVariablePtr(b));
    Add(8, TVariablePtr(adapter));
    Dependences.Equ(r1, r2);
    Dependences.MoreEqu(r3, r1, 2.0, 1.0);
  }
  static void Add(int id, const TVariablePtr& p)
  {
    TIdVariable e;
    e.Set(p.Type, p.PData);
    e.Id = id;
    Registrator.Add(e);
  }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  static TVariables v;
  Registrator.ClearEdit();
  Registrator.EditedStream.Free();
  if (size == 0) return 0;

  if (data[0] & 1) {
    // Each of the next bytes up to the first 0xFF is a logged id (taken modulo 10: ids 8 and 9
    // are an adapter and an id nobody registered); the rest is the serialised values.
    std::size_t k = 1;
    for (; k < size && data[k] != 0xFF && k < 17; ++k)
      Registrator.EditedId.Add(data[k] % 10);
    if (k < size) ++k;
    if (k < size) {
      std::vector<unsigned char> bytes(data + k, data + size);
      Registrator.EditedStream = bytes;
    }
  } else {
    TKmfData S;
    if (!S.fromMemory(data + 1, int(size - 1))) return 0;
    if (!Registrator.fromStream(S)) return 0;
  }
  Registrator.MakeEdit();
  for (void* p : {static_cast<void*>(&v.r2), static_cast<void*>(&v.i2), static_cast<void*>(&v.s),
                  static_cast<void*>(&v.adapter)})
    Registrator.MakeEdit(p);
  // A stored log goes out again as it is kept.
  TKmfData W;
  Registrator.toStream(W);
  return 0;
}
