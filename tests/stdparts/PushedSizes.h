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
  if (auto* p = dynamic_cast<TProtectSupport*>(&d))
    return {{"ThreadLen", &p->ThreadLen}, {"Len", &p->Len}, {"ThreadRadius", &p->ThreadRadius},
            {"Radius", &p->Radius},       {"Key", &p->Key}, {"LenToKey", &p->LenToKey}};
  if (auto* p = dynamic_cast<TStopPin*>(&d))
    return {{"Radius", &p->Radius},
            {"CollarRadius", &p->CollarRadius},
            {"CollarHeight", &p->CollarHeight},
            {"Len", &p->Len}};
  if (auto* p = dynamic_cast<TInjectPlug*>(&d))
    return {
        {"SphereRadius", &p->SphereRadius}, {"TPARadius", &p->TPARadius}, {"CollarRadius", &p->CollarRadius},
        {"BFitRadius", &p->BFitRadius},     {"FitLen", &p->FitLen},       {"Len", &p->Len},
        {"CollarHeight", &p->CollarHeight}, {"SphereLen", &p->SphereLen}};
  if (auto* p = dynamic_cast<TEjectorChannel*>(&d))
    return {{"Radius", &p->Radius},
            {"Len", &p->Len},
            {"SpringRadius", &p->SpringRadius},
            {"SpringLen", &p->SpringLen},
            {"FitRadius", &p->FitRadius},
            {"FitLen", &p->FitLen},
            {"CollarRadius", &p->CollarRadius},
            {"CollarHeight", &p->CollarHeight}};
  if (auto* p = dynamic_cast<TEjectorPlug*>(&d))
    return {{"CollarRadius", &p->CollarRadius},
            {"EC2Radius", &p->EC2Radius},
            {"ECRadius", &p->ECRadius},
            {"Radius", &p->Radius},
            {"EC2Len", &p->EC2Len},
            {"ConeLen", &p->ConeLen},
            {"CollarHeight", &p->CollarHeight},
            {"Len", &p->Len}};
  if (auto* p = dynamic_cast<TDirectPlug*>(&d))
    return {{"ColumnRadius", &p->ColumnRadius}, {"Radius", &p->Radius},
            {"CollarRadius", &p->CollarRadius}, {"OustingLen", &p->OustingLen},
            {"CollarHeight", &p->CollarHeight}, {"Len", &p->Len}};
  if (auto* p = dynamic_cast<TSupportWasher*>(&d))
    return {{"CollarHeight", &p->CollarHeight},
            {"BoltHeadLen", &p->BoltHeadLen},
            {"Len", &p->Len},
            {"CollarRadius", &p->CollarRadius},
            {"BoltHeadRadius", &p->BoltHeadRadius},
            {"BoltRadius", &p->BoltRadius},
            {"Radius", &p->Radius}};
  if (auto* p = dynamic_cast<TBackEjector*>(&d))
    return {{"Radius", &p->Radius},
            {"Len", &p->Len},
            {"FitRadius", &p->FitRadius},
            {"FitLen", &p->FitLen},
            {"CollarRadius", &p->CollarRadius},
            {"CollarHeight", &p->CollarHeight}};
  if (auto* p = dynamic_cast<TMTail*>(&d))
    return {{"Radius", &p->Radius},
            {"CollarRadius", &p->CollarRadius},
            {"Len", &p->Len},
            {"ThreadLen", &p->ThreadLen},
            {"ThreadRadius", &p->ThreadRadius},
            {"X90", &p->X90},
            {"X89", &p->X89},
            {"X88", &p->X88},
            {"R61", &p->R61},
            {"R97", &p->R97},
            {"R98", &p->R98},
            {"Y3", &p->Y3},
            {"Y4", &p->Y4}};
  if (auto* p = dynamic_cast<TSocketLeaderPinBushing*>(&d))
    return {{"Radius", &p->Radius}, {"LPRadius", &p->LPRadius},         {"Len", &p->Len},
            {"FLen", &p->FLen},     {"CollarHeight", &p->CollarHeight}, {"CollarRadius", &p->CollarRadius}};
  if (auto* p = dynamic_cast<TSocketLeaderPinLocatingSleeves*>(&d))
    return {{"Len", &p->Len},
            {"CollarHeight", &p->CollarHeight},
            {"ThreadLen", &p->ThreadLen},
            {"Radius", &p->Radius},
            {"FRadius", &p->FRadius},
            {"CollarRadius", &p->CollarRadius},
            {"ThreadRadius", &p->ThreadRadius}};
  if (auto* p = dynamic_cast<TSocketLeaderPin*>(&d))
    return {{"Len", &p->Len},
            {"FLen", &p->FLen},
            {"FRadius", &p->FRadius},
            {"OFLen", &p->OFLen},
            {"Radius", &p->Radius},
            {"CollarHeight", &p->CollarHeight},
            {"CollarRadius", &p->CollarRadius},
            {"ThreadRadius", &p->ThreadRadius},
            {"ThreadLen", &p->ThreadLen},
            {"Key", &p->Key}};
  if (auto* p = dynamic_cast<TScrew*>(&d))
    return {
        {"Radius", &p->Radius}, {"HeadRadius", &p->HeadRadius}, {"HeadLen", &p->HeadLen}, {"Len", &p->Len}};
  if (auto* p = dynamic_cast<TPin*>(&d)) return {{"Radius", &p->Radius}, {"Len", &p->Len}};
  if (auto* p = dynamic_cast<TDistanceScrew*>(&d))
    return {{"Radius", &p->Radius},
            {"Len", &p->Len},
            {"CollarHeight", &p->CollarHeight},
            {"CollarRadius", &p->CollarRadius},
            {"ThreadLen", &p->ThreadLen},
            {"ThreadRadius", &p->ThreadRadius}};
  if (auto* p = dynamic_cast<TLocatingRing*>(&d))
    return {{"Thickness", &p->Thickness},
            {"Radius", &p->Radius},
            {"BaseRadius", &p->BaseRadius},
            {"BaseThickness", &p->BaseThickness},
            {"InRadius", &p->InRadius},
            {"FixRadius", &p->FixRadius},
            {"PinRadius", &p->PinRadius},
            {"FixBoltRadius", &p->FixBoltRadius},
            {"FixBoltHeadRadius", &p->FixBoltHeadRadius},
            {"FixBoltHeadLen", &p->FixBoltHeadLen}};
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
