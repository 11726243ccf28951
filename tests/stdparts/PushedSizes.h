#pragma once
// The sizes of every mould part class that its outline is built of, and those sizes pushed past each
// other: the sweeps make each part with each of its sizes in turn just above the next larger of its other
// sizes and just below the next smaller (a bore past the outside, flats past the round, a collar under its
// shank).
#include <string>
#include <utility>
#include <vector>

#include "StdPartsSupport.h"

namespace stdtest::pushed {

using TSizes = std::vector<std::pair<const char*, double*>>;

// The sizes of a part that its outline is built of (not its placement, counts or angles).
inline TSizes SizesOf(TDetail& d)
{
// Each field named once: its name and where it is.
#define F(name) {#name, &p->name}
  // clang-format off
  if (auto* p = dynamic_cast<TProtectSupport*>(&d))
    return {F(ThreadLen), F(Len), F(ThreadRadius), F(Radius), F(Key), F(LenToKey)};
  if (auto* p = dynamic_cast<TStopPin*>(&d)) return {F(Radius), F(CollarRadius), F(CollarHeight), F(Len)};
  if (auto* p = dynamic_cast<TInjectPlug*>(&d))
    return {F(SphereRadius), F(TPARadius), F(CollarRadius), F(BFitRadius), F(FitLen), F(Len), F(CollarHeight),
                F(SphereLen)};
  if (auto* p = dynamic_cast<TEjectorChannel*>(&d))
    return {F(Radius), F(Len), F(SpringRadius), F(SpringLen), F(FitRadius), F(FitLen), F(CollarRadius),
                F(CollarHeight)};
  if (auto* p = dynamic_cast<TEjectorPlug*>(&d))
    return {F(CollarRadius), F(EC2Radius), F(ECRadius), F(Radius), F(EC2Len), F(ConeLen), F(CollarHeight),
                F(Len)};
  if (auto* p = dynamic_cast<TDirectPlug*>(&d))
    return {F(ColumnRadius), F(Radius), F(CollarRadius), F(OustingLen), F(CollarHeight), F(Len)};
  if (auto* p = dynamic_cast<TSupportWasher*>(&d))
    return {F(CollarHeight), F(BoltHeadLen), F(Len), F(CollarRadius), F(BoltHeadRadius), F(BoltRadius),
                F(Radius)};
  if (auto* p = dynamic_cast<TBackEjector*>(&d))
    return {F(Radius), F(Len), F(FitRadius), F(FitLen), F(CollarRadius), F(CollarHeight)};
  if (auto* p = dynamic_cast<TMTail*>(&d))
    return {F(Radius), F(CollarRadius), F(Len), F(ThreadLen), F(ThreadRadius), F(X90), F(X89), F(X88), F(R61),
                F(R97), F(R98), F(Y3), F(Y4)};
  if (auto* p = dynamic_cast<TSocketLeaderPinBushing*>(&d))
    return {F(Radius), F(LPRadius), F(Len), F(FLen), F(CollarHeight), F(CollarRadius)};
  if (auto* p = dynamic_cast<TSocketLeaderPinLocatingSleeves*>(&d))
    return {F(Len), F(CollarHeight), F(ThreadLen), F(Radius), F(FRadius), F(CollarRadius), F(ThreadRadius)};
  if (auto* p = dynamic_cast<TSocketLeaderPin*>(&d))
    return {F(Len), F(FLen), F(FRadius), F(OFLen), F(Radius), F(CollarHeight), F(CollarRadius), F(ThreadRadius),
                F(ThreadLen), F(Key)};
  if (auto* p = dynamic_cast<TScrew*>(&d)) return {F(Radius), F(HeadRadius), F(HeadLen), F(Len)};
  if (auto* p = dynamic_cast<TPin*>(&d)) return {F(Radius), F(Len)};
  if (auto* p = dynamic_cast<TDistanceScrew*>(&d))
    return {F(Radius), F(Len), F(CollarHeight), F(CollarRadius), F(ThreadLen), F(ThreadRadius)};
  if (auto* p = dynamic_cast<TLocatingRing*>(&d))
    return {F(Thickness), F(Radius), F(BaseRadius), F(BaseThickness), F(InRadius), F(FixRadius), F(PinRadius),
                F(FixBoltRadius), F(FixBoltHeadRadius), F(FixBoltHeadLen)};
  // clang-format on
#undef F
  return {};
}

// A size pushed past its neighbours: just above the next larger of the part's other positive sizes, and
// just below the next smaller (zero below the smallest).
struct TPush
{
  std::size_t Size;
  double Value;
  std::string Name;
};

inline std::vector<TPush> Pushes(const TSizes& sizes)
{
  std::vector<TPush> pushes;
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    const double v = *sizes[i].second;
    double above = 0, below = 0;
    bool up = false;
    for (std::size_t j = 0; j < sizes.size(); ++j) {
      const double w = *sizes[j].second;
      if (j == i || !(w > 0)) continue;
      if (w > v && (!up || w < above)) above = w, up = true;
      if (w < v && w > below) below = w;
    }
    const std::string name = sizes[i].first;
    if (up) pushes.push_back({i, above * 1.01 + 0.01, name + " past " + std::to_string(above)});
    if (v > 0) pushes.push_back({i, below * 0.99, name + " under " + std::to_string(below)});
  }
  return pushes;
}

} // namespace stdtest::pushed
