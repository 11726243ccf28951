// The library's user data read back from whatever the document's storage holds: values written by
// the library, and values the fuzzer puts in their place (numbers out of the byte range, strings,
// nested or truncated arrays, objects) as a document file read back could hold them. Each step is a
// byte and its arguments. Invariants: a key the fuzzer never touched reads back exactly what was
// last written; a touched key reads as some bytes or as nothing; nothing throws or keeps a reference.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <vector>

#include "../tests/adapter/AdapterSupport.h"
#include "txhost/lib/Host.h"

namespace {

using drApi::MA;
using txapi::SmartPtr;
using Bytes = std::vector<std::uint8_t>;

void Check(bool ok)
{
  if (!ok) std::abort();
}

class Reader
{
public:
  Reader(const std::uint8_t* d, std::size_t n) : D(d), N(n) {}
  bool More() const { return I < N; }
  std::uint8_t Next() { return I < N ? D[I++] : 0; }

private:
  const std::uint8_t* D;
  std::size_t N, I = 0;
};

// A stored value as a damaged file might give it.
txhost::Value Garbage(Reader& r)
{
  switch (r.Next() % 5) {
  case 0:
    return txhost::Value::object({{"bytes", txhost::Value::array({int(r.Next()) * 3, -1})}});
  case 1:
    return txhost::Value::object({{"bytes", "text"}});
  case 2:
    return txhost::Value::object({{"objects", txhost::Value::array({r.Next(), "x", txhost::Value::array()})}});
  case 3:
    return txhost::Value::array({r.Next()});
  default:
    return txhost::Value::object({{"bytes", txhost::Value::array({txhost::Value::array({1})})}});
  }
}

void Play(const std::uint8_t* data, std::size_t size)
{
  adaptertest::HostedModeller m(false);
  MA.drCreate3D(false, true, adaptertest::T(m.Dir / "fuzz.tpt"), "Вал", "В-01");
  SmartPtr<txapi::ITavrixDocument> doc = MA.R().IDoc;
  if (!doc) return;
  const SmartPtr<txapi::ITavrixAPIObject> none;
  const TString keys[] = {"a", "ключ", "", "длинный ключ"};
  std::map<int, Bytes> written;
  std::map<int, bool> touched;
  Reader r(data, size);
  while (r.More()) {
    const std::uint8_t op = r.Next();
    const int k = (op >> 2) % 4;
    switch (op & 3) {
    case 0: {
      Bytes b(r.Next() % 64);
      for (std::uint8_t& x : b)
        x = r.Next();
      Check(MA.drSetUserData(doc, keys[k], b, false, none));
      written[k] = b;
      touched[k] = false;
      break;
    }
    case 1: {
      Bytes out{1, 2};
      const bool got = MA.drGetUserData(doc, keys[k], out, none);
      if (written.count(k) && !touched[k]) Check(out == written[k] && got == !out.empty());
      // Without a storage yet the bytes are left as they were.
      Check(!got || !out.empty());
      break;
    }
    case 2:
      for (txhost::Object* s : m.H.ObjectsOfKind("user-storage")) {
        txhost::Value values = s->Prop("values");
        values[txhost::ToUtf8(keys[k].toWideChar())] = Garbage(r);
        s->Set("values", values);
        touched[k] = true;
      }
      break;
    default: {
      std::vector<SmartPtr<txapi::ITavrixAPIObject>> list;
      Check(MA.drGetUserData(doc, keys[k], list, none) == !list.empty());
      break;
    }
    }
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  Play(data, size);
  return 0;
}
