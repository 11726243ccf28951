// Arbitrary bytes as the record of every mould part class: the first four bytes are the stream's
// version, the rest the record. Each class reads it, writes it again and reads that back (the
// second round trip must give the same bytes), previews itself and draws its sheet and model on a
// modeller that opens both. Nothing may crash, read past its buffers or leak.
//
// A class joins by one entry in Classes.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "hxcadkit/drawing/drBlankModeler.h"
#include "hxcadkit/geometry/GImage.h"
#include "hxcadkit/stdparts/MathDetailsl.h"

namespace {

// A modeller that opens every sheet and part document and draws nowhere.
class TOpenModeler : public TBlankModeler
{
public:
  using TBlankModeler::drLeafStamp;
  bool drLeafStamp(int, int, bool) override { return true; }
  bool drCreate3DNewPartPlane(int, int, bool, txapi::txObj3dTypeEnum, const double&) override { return true; }
};

using TMake = std::unique_ptr<TDetail> (*)(TModeler3D*);
// What else a class does with the sizes it read (its profiles, its extent); may be null.
using TExtra = void (*)(TDetail&);

// A guide pillar with collar flats, for the parts that complement one.
const TSocketLeaderPin& KeyedPillar()
{
  static TSocketLeaderPin pillar(0, nullptr, nullptr, nullptr);
  pillar.Key = 16.0;
  return pillar;
}

// The column tail and shank a plate and a ring are linked to, read from each input like the parts.
TColumnTail& LinkedTail()
{
  static TColumnTail tail(0, nullptr, TConstruktor::Empty());
  return tail;
}

const TMTail& LinkedShank()
{
  static TMTail shank(0, nullptr, TConstruktor::Empty());
  return shank;
}

struct TEntry
{
  const char* Name;
  TMake Make;
  TExtra Extra = nullptr;
};

template <class T> T& As(TDetail& d)
{
  return static_cast<T&>(d);
}

const TEntry Classes[] = {
    // First slice
    {"TDistanceScrew",
     [](TModeler3D* m) -> std::unique_ptr<TDetail> {
       return std::make_unique<TDistanceScrew>(1, m, nullptr);
     }},
    {"TTraction",
     [](TModeler3D* m) -> std::unique_ptr<TDetail> {
       return std::make_unique<TTraction>(1, m, TConstruktor::Empty());
     }},
    {"TScrewSpecial",
     [](TModeler3D* m) -> std::unique_ptr<TDetail> {
       return std::make_unique<TScrewSpecial>(1, m, TConstruktor::Empty());
     }},
    {"TPin", [](TModeler3D* m) -> std::unique_ptr<TDetail> { return std::make_unique<TPin>(1, m, nullptr); }},
    {"TScrew",
     [](TModeler3D* m) -> std::unique_ptr<TDetail> { return std::make_unique<TScrew>(1, m, nullptr); }},
    {"TSetScrew",
     [](TModeler3D* m) -> std::unique_ptr<TDetail> {
       return std::make_unique<TSetScrew>(1, m, TConstruktor::Empty());
     },
     [](TDetail& d) {
       const TSetScrew& p = As<TSetScrew>(d);
       p.dr2D_V1(0, 0, 0, 1, p.r, p.R, p.L, p.K, p.S, 1, false);
     }},
    // Guide parts
    {"TSocketLeaderPin",
     [](TModeler3D* m) -> std::unique_ptr<TDetail> {
       return std::make_unique<TSocketLeaderPin>(1, m, nullptr, nullptr);
     }},
    {"TSocketLeaderPin complementing",
     [](TModeler3D* m) -> std::unique_ptr<TDetail> {
       return std::make_unique<TSocketLeaderPin>(1, m, &KeyedPillar(), nullptr);
     }},
    {"TSocketLeaderPinLocatingSleeves with a pillar",
     [](TModeler3D* m) -> std::unique_ptr<TDetail> {
       return std::make_unique<TSocketLeaderPinLocatingSleeves>(1, m, &KeyedPillar(), nullptr);
     }},
    {"TSocketLeaderPinBushing",
     [](TModeler3D* m) -> std::unique_ptr<TDetail> {
       return std::make_unique<TSocketLeaderPinBushing>(1, m, nullptr);
     }},
    {"TDirectPlug",
     [](TModeler3D* m) -> std::unique_ptr<TDetail> {
       return std::make_unique<TDirectPlug>(1, m, TConstruktor::Empty());
     }},
    {"TSocketLeaderPinLocatingSleeves",
     [](TModeler3D* m) -> std::unique_ptr<TDetail> {
       return std::make_unique<TSocketLeaderPinLocatingSleeves>(1, m, nullptr, nullptr);
     }},
    {"TStopPin",
     [](TModeler3D* m) -> std::unique_ptr<TDetail> { return std::make_unique<TStopPin>(1, m, nullptr); }},
    {"TClamper", [](TModeler3D* m) -> std::unique_ptr<TDetail> { return std::make_unique<TClamper>(1, m); }},
    {"TFitting", [](TModeler3D* m) -> std::unique_ptr<TDetail> { return std::make_unique<TFitting>(1, m); }},
    {"TWiredSpring",
     [](TModeler3D* m) -> std::unique_ptr<TDetail> { return std::make_unique<TWiredSpring>(1, m); }},
    // Second share: each also draws its profiles from the sizes it read.
    {"TBackEjector",
     [](TModeler3D* m) -> std::unique_ptr<TDetail> {
       return std::make_unique<TBackEjector>(1, m, TConstruktor::Empty(), 2);
     },
     [](TDetail& d) {
       TRect2D G(0.0, 0.0, 0.0, 0.0);
       As<TBackEjector>(d).AddGabIn(G, cMinDistBackEjectorBorder);
     }},
    {"TDirectColumn",
     [](TModeler3D* m) -> std::unique_ptr<TDetail> {
       return std::make_unique<TDirectColumn>(1, m, TConstruktor::Empty());
     }},
    {"TWasherEjectorChannel",
     [](TModeler3D* m) -> std::unique_ptr<TDetail> {
       return std::make_unique<TWasherEjectorChannel>(1, m, TConstruktor::Empty());
     }},
    {"TMTail",
     [](TModeler3D* m) -> std::unique_ptr<TDetail> {
       return std::make_unique<TMTail>(1, m, TConstruktor::Empty());
     },
     [](TDetail& d) {
       TMTail& p = As<TMTail>(d);
       const double s = 2.0 * p.CollarRadius;
       p.dr2D_EjectorRod_V1(0, 0, 0, 1, p.Radius, p.ThreadRadius, p.ThreadLen, p.ThreadLen, p.ThreadStep, s,
                            p.Len, 1, true);
       p.dr2D_EjectorRod_V3(0, 0, 0, 1, p.Radius, p.ThreadRadius, p.ThreadLen, p.ThreadLen, p.ThreadStep, s,
                            p.Len, 0, false);
       // The working values are the owner's: made here from the sizes read, then the sheet and part
       // drawn with them, and the side view by the codes the sheet does not use.
       p.X90 = p.CollarHeight, p.X89 = p.CollarHeight - 2.0, p.X88 = p.CollarHeight / 2.0,
       p.R61 = p.ThreadStep, p.R97 = p.ThreadRadius / 2.0, p.R98 = p.ThreadRadius / 3.0,
       p.Y3 = p.ThreadLen / 2.0, p.Y4 = 2.0 * p.ThreadStep;
       p.dr2D();
       p.dr3D(1);
       for (const int tl : {11, 21})
         p.dr2D_V1(0, 0, 0, 1, p.CollarRadius, p.X90, p.X89, p.X88, p.R61, p.Radius, p.ThreadRadius, p.Len,
                   p.ThreadLen, 2.0 * p.Radius - 3.0, p.Y3, p.Y4, p.R98, p.R97, tl, true);
       p.dr2D_Hvostovyk_Vo(0, 0, 0, 1, p.CollarRadius, p.X90, p.X89, p.X88, p.R61, p.Radius, p.ThreadRadius,
                           p.Len, p.ThreadLen, 2.0 * p.Radius - 3.0);
     }},
    {"TEjectorChannel",
     [](TModeler3D* m) -> std::unique_ptr<TDetail> {
       return std::make_unique<TEjectorChannel>(1, m, TConstruktor::Empty(), nullptr);
     }},
    {"TEjectorPlug",
     [](TModeler3D* m) -> std::unique_ptr<TDetail> {
       return std::make_unique<TEjectorPlug>(1, m, TConstruktor::Empty());
     },
     [](TDetail& d) {
       const TEjectorPlug& p = As<TEjectorPlug>(d);
       p.dr2D_V1(0, 0, 0, 1, p.CollarRadius, p.EC2Radius, p.ECRadius, p.ECRadius + 0.1, p.Radius, p.EC2Len,
                 p.ConeLen, p.CollarHeight, p.Len, 1, true);
     }},
    {"TTubeDowel",
     [](TModeler3D* m) -> std::unique_ptr<TDetail> {
       return std::make_unique<TTubeDowel>(1, m, TConstruktor::Empty());
     },
     [](TDetail& d) {
       const TTubeDowel& p = As<TTubeDowel>(d);
       p.dr2D_VtulkaCentruucha_V1(0, 0, 0, 1, p.Radius, p.ECRadius, p.Len, 31, true);
     }},
    {"TInjectPlug",
     [](TModeler3D* m) -> std::unique_ptr<TDetail> {
       return std::make_unique<TInjectPlug>(1, m, TConstruktor::Empty());
     },
     [](TDetail& d) {
       const TInjectPlug& p = As<TInjectPlug>(d);
       p.dr2D_V1(0, 0, 0, 1, p.SphereRadius, p.TPARadius, p.CollarRadius, p.BFitRadius, p.FitLen, p.Len,
                 p.CollarHeight, p.SphereLen, 1, true, p.LenDelta);
     }},
    {"TSupportWasher",
     [](TModeler3D* m) -> std::unique_ptr<TDetail> {
       return std::make_unique<TSupportWasher>(1, m, nullptr);
     },
     [](TDetail& d) {
       const TSupportWasher& p = As<TSupportWasher>(d);
       p.dr2D_ShajbaOporna_V1(0, 0, 0, 1, p.CollarHeight, p.BoltHeadLen, p.Len, p.CollarRadius,
                              p.BoltHeadRadius, p.BoltRadius, p.Radius, 1, true);
     }},
    {"TReTraction",
     [](TModeler3D* m) -> std::unique_ptr<TDetail> {
       return std::make_unique<TReTraction>(1, m, TConstruktor::Empty());
     }},
    {"TProtectSupport",
     [](TModeler3D* m) -> std::unique_ptr<TDetail> {
       return std::make_unique<TProtectSupport>(1, m, TConstruktor::Empty());
     }},
    {"TRepairBolt",
     [](TModeler3D* m) -> std::unique_ptr<TDetail> {
       return std::make_unique<TRepairBolt>(1, m, TConstruktor::Empty());
     }},
    {"TColumnTail",
     [](TModeler3D* m) -> std::unique_ptr<TDetail> {
       return std::make_unique<TColumnTail>(1, m, TConstruktor::Empty());
     }},
    {"TCirclePlane",
     [](TModeler3D* m) -> std::unique_ptr<TDetail> {
       return std::make_unique<TCirclePlane>(1, m, TConstruktor::Empty(), &LinkedTail(), &LinkedShank());
     }},
    {"TLocatingRing",
     [](TModeler3D* m) -> std::unique_ptr<TDetail> {
       return std::make_unique<TLocatingRing>(1, 2, m, nullptr, &LinkedTail());
     },
     [](TDetail& d) {
       const TLocatingRing& p = As<TLocatingRing>(d);
       p.dr2D_LocatingRing_V1(0, 0, 0, 1, p.BaseRadius, p.Radius, p.InRadius, p.InThickness, p.InAngle,
                              p.BaseThickness, p.Thickness, p.FixRadius, p.FixBoltRadius, p.FixBoltHeadRadius,
                              p.PinRadius, p.FixBoltHeadLen, 31, true);
     }},
    {"TEjectorPin",
     [](TModeler3D* m) -> std::unique_ptr<TDetail> {
       return std::make_unique<TEjectorPin>(m, TConstruktor::Empty());
     },
     [](TDetail& d) {
       TEjectorPin& p = As<TEjectorPin>(d);
       p.dr2D_V1(0, 0, 0, 1, p.d, p.D, p.k, p.R, p.Len, 31, true);
     }},
};

std::vector<unsigned char> Written(const TDetail& part)
{
  TKmfData S;
  part.toStream(S);
  std::vector<unsigned char> v;
  S.to(v);
  return v;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  if (size < 4) return 0;
  std::int32_t version;
  std::memcpy(&version, data, 4);
  // Made whole at once: gcc 12 takes an insertion behind the header for a write past it.
  std::vector<unsigned char> stream(KmfHeaderSize + (size - 4), 0);
  const std::int32_t head[2] = {std::int32_t(0x017EDEDD), version};
  std::memcpy(stream.data(), head, sizeof head);
  std::copy(data + 4, data + size, stream.begin() + KmfHeaderSize);

  TOpenModeler M;
  {
    TKmfData S;
    if (S.from(stream)) LinkedTail().fromStream(S);
  }
  for (const TEntry& e : Classes) {
    std::unique_ptr<TDetail> part = e.Make(&M);
    TKmfData S;
    if (S.from(stream)) part->fromStream(S);
    const std::vector<unsigned char> once = Written(*part);

    std::unique_ptr<TDetail> again = e.Make(&M);
    TKmfData S2;
    if (S2.from(once)) again->fromStream(S2);
    if (Written(*again) != once) {
      std::fprintf(stderr, "fuzz_stdparts_records: %s: the second round trip differs\n", e.Name);
      std::abort();
    }

    // One drawing surface for every input: a new one allocates its whole element list.
    static TGImage GI;
    GI.CountLElement = 0;
    part->Show(GI, TColor(0x0000FF));
    part->dr2D();
    part->dr3D(1);
    if (e.Extra) e.Extra(*part);
  }

  // The standard part built by code: a code and its sizes from the input's bytes.
  std::vector<double> sizes((size - 4) / sizeof(double));
  if (!sizes.empty()) std::memcpy(sizes.data(), data + 4, sizes.size() * sizeof(double));
  drBaseDetail(M, TString(), TString("f"), TString(), int(data[0] % 56), 0, sizes, (data[1] & 1) != 0);
  return 0;
}
