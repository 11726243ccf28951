// The control model's stored data: arbitrary bytes as a title block (TStampParam), a detail record
// (dcDetail), the model's own stream (TControlModel::Read) and the whole packed model stream
// (TControlModel::from). First byte: which reader (modulo 4); the rest is the stream. A read that fails
// leaves its object as it was; a read that succeeds writes back a stream that reads to the same object.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "hxcadkit/core/ControlModel.h"

namespace {

void Check(bool ok)
{
  if (!ok) std::abort();
}

// The stream form of anything that writes itself, as bytes.
template <class Write> std::vector<unsigned char> Bytes(Write write)
{
  TKmfData S;
  write(S);
  std::vector<unsigned char> v;
  S.to(v);
  return v;
}

class TModel : public TControlModel
{
public:
  TModel() : TControlModel("fuzz", "fuzz.hlp")
  {
    NameMarking = "old";
    SP.sDesign = "old";
  }
};

// Reads obj from the stream; on failure checks it is as it was, on success that what it writes reads back
// to the same thing.
template <class T, class Read> void Exercise(T& obj, TKmfData& S, Read read)
{
  auto write = [&](T& o) { return Bytes([&](TKmfData& W) { o.Write(W); }); };
  const std::vector<unsigned char> before = write(obj);
  if (!read(obj, S)) {
    Check(write(obj) == before);
    return;
  }
  const std::vector<unsigned char> after = write(obj);
  TKmfData R;
  Check(R.from(after));
  T again;
  Check(read(again, R));
  Check(write(again) == after);
}

struct TStamp : TStampParam
{
  void Write(TKmfData& S) { toStream(S); }
};

struct TDetailRecord : TControlModel::dcDetail
{
  void Write(TKmfData& S) const { dcDetail::Write(S); }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  if (size == 0) return 0;
  const std::vector<unsigned char> body(data + 1, data + size);
  TKmfData S;
  const int which = data[0] % 4;
  if (which < 3 && (body.empty() || !S.fromMemory(body.data(), int(body.size())))) return 0;
  switch (which) {
  case 0: {
    TStamp stamp;
    stamp.sPlant = "old";
    Exercise(stamp, S, [](TStamp& o, TKmfData& R) { return o.fromStream(R); });
    break;
  }
  case 1: {
    TDetailRecord detail;
    detail.Name = "old";
    Exercise(detail, S, [](TDetailRecord& o, TKmfData& R) { return o.Read(R); });
    break;
  }
  case 2: {
    TModel model;
    Exercise(model, S, [](TModel& o, TKmfData& R) { return o.Read(R); });
    break;
  }
  default: {
    TModel model;
    std::vector<std::uint8_t> before;
    model.to(before);
    if (!model.from(std::vector<std::uint8_t>(body.begin(), body.end()))) {
      std::vector<std::uint8_t> after;
      model.to(after);
      Check(after == before);
      return 0;
    }
    std::vector<std::uint8_t> written;
    model.to(written);
    TModel again;
    Check(again.from(written));
    std::vector<std::uint8_t> rewritten;
    again.to(rewritten);
    Check(rewritten == written);
  }
  }
  return 0;
}
