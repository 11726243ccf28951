#pragma once
// Every mould part as the sweeps make it: a part with a table at a row of it, a part without one with
// its sizes scaled by a factor, on the modeller given (a recording one, or the host's MA).
#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <ostream>
#include <utility>
#include <vector>

#include "StdPartsSupport.h"

namespace stdtest::mouldparts {

// A part with the parts it leans on (a ring on its column tail), made at a size.
struct TMade
{
  std::vector<std::unique_ptr<TDetail>> Parts; // the part itself last
  const TDetail& Part() const { return *Parts.back(); }
};

struct TPart
{
  const char* Name;
  // The table whose rows the part is made at, 0 for a part made at a factor of its sizes.
  int Table;
  // The part on the modeller md: at row `row` of its table, or with its sizes by k.
  std::function<void(TMade&, TModeler3D* md, int row, double k)> Make;
  friend void PrintTo(const TPart& p, std::ostream* os) { *os << p.Name; }
};

inline double RowValue(int table, int row, int column)
{
  return ABaseDetail.ParStDet(table, row, column);
}

template <class T, class... A> T& Add(TMade& m, A&&... a)
{
  auto p = std::make_unique<T>(std::forward<A>(a)...);
  T& r = *p;
  m.Parts.push_back(std::move(p));
  return r;
}

inline TConstruktor& Nobody()
{
  return TConstruktor::Empty();
}

// A part of a table sized by Set from the keys in columns a (a diameter) and b of a row.
template <class T, class... A> void Keyed(TMade& m, int table, int row, int a, int b, A&&... args)
{
  Add<T>(m, std::forward<A>(args)...).Set(table, RowValue(table, row, a) / 2, RowValue(table, row, b));
}

inline void Spacer(TMade& m, TModeler3D* md, int row, int execution)
{
  auto& d = Add<TDistanceScrew>(m, 1, md, nullptr);
  d.Set(39, row);
  *d.Execution.PInt = execution;
}

inline TSocketLeaderPin& Pillar(TMade& m, TModeler3D* md, int row)
{
  auto& p = Add<TSocketLeaderPin>(m, 1, md, nullptr, nullptr);
  p.Set(5, RowValue(5, row, 2) / 2, RowValue(5, row, 7), RowValue(5, row, 8));
  p.FRadius = p.OFRadius;
  return p;
}

// The pillar with a thread at its seat end and a key across its collar.
inline void Thread(TSocketLeaderPin& p)
{
  p.Key = 2.0 * p.CollarRadius - 6.0;
  p.ThreadRadius = std::floor(p.Radius / 2);
  p.ThreadLen = 2 * p.ThreadRadius + 2;
}

inline TColumnTail& Tail(TMade& m, TModeler3D* md, int kind, double k)
{
  auto& tail = Add<TColumnTail>(m, kind, md, Nobody());
  tail.PlaceRadius = 30 * k, tail.Radius = 5 * k, tail.Key = 8 * k, tail.Len = 60 * k,
  tail.ThreadLen = 20 * k, tail.ThreadRadius = 5 * k;
  const double angles[5] = {0, 45, 135, 225, 315};
  std::copy(angles, angles + 5, tail.Angle);
  return tail;
}

inline TMTail& Shank(TMade& m, TModeler3D* md, int kind, double k)
{
  auto& s = Add<TMTail>(m, kind, md, Nobody());
  s.Radius = 10 * k, s.CollarRadius = 15 * k, s.Len = 100 * k, s.ThreadLen = 20 * k, s.ThreadRadius = 8 * k,
  s.ThreadStep = 1.5;
  s.X90 = 12 * k, s.X89 = 10 * k, s.X88 = 6 * k, s.R61 = 3 * k, s.R97 = 4 * k, s.R98 = 3 * k, s.Y3 = 10 * k,
  s.Y4 = 3 * k;
  return s;
}

inline TEjectorPlug& Plug(TMade& m, TModeler3D* md, int kind, double k)
{
  auto& p = Add<TEjectorPlug>(m, kind, md, Nobody());
  p.CollarRadius = 16 * k, p.EC2Radius = 5 * k, p.ECRadius = 4 * k, p.Radius = 12 * k, p.EC2Len = 20 * k,
  p.ConeLen = 10 * k, p.CollarHeight = 5 * k, p.Len = 50 * k;
  return p;
}

inline const TPart Parts[] = {
    {"pin", 31, [](TMade& m, TModeler3D* md, int r, double) { Keyed<TPin>(m, 31, r, 1, 2, 1, md, nullptr); }},
    {"cap_screw_33", 33,
     [](TMade& m, TModeler3D* md, int r, double) { Keyed<TScrew>(m, 33, r, 1, 2, 1, md, nullptr); }},
    {"cap_screw_26", 26,
     [](TMade& m, TModeler3D* md, int r, double) { Keyed<TScrew>(m, 26, r, 1, 8, 1, md, nullptr); }},
    {"spacer_one_piece", 39, [](TMade& m, TModeler3D* md, int r, double) { Spacer(m, md, r, 0); }},
    {"spacer_assembled", 39, [](TMade& m, TModeler3D* md, int r, double) { Spacer(m, md, r, 1); }},
    {"guide_pillar", 5, [](TMade& m, TModeler3D* md, int r, double) { Pillar(m, md, r); }},
    {"guide_pillar_threaded", 5, [](TMade& m, TModeler3D* md, int r, double) { Thread(Pillar(m, md, r)); }},
    {"guide_bush_4", 4,
     [](TMade& m, TModeler3D* md, int r, double) {
       Keyed<TSocketLeaderPinBushing>(m, 4, r, 2, 6, 1, md, nullptr);
     }},
    {"guide_bush_2", 2,
     [](TMade& m, TModeler3D* md, int r, double) {
       Keyed<TSocketLeaderPinBushing>(m, 2, r, 2, 7, 1, md, nullptr);
     }},
    {"locating_sleeve", 3,
     [](TMade& m, TModeler3D* md, int r, double) {
       Keyed<TSocketLeaderPinLocatingSleeves>(m, 3, r, 5, 6, 1, md, nullptr, nullptr);
     }},
    {"stop_pin", 0,
     [](TMade& m, TModeler3D* md, int, double k) {
       auto& p = Add<TStopPin>(m, 1, md, nullptr);
       p.Radius = 8 * k, p.CollarRadius = 12 * k, p.CollarHeight = 6 * k, p.Len = 40 * k;
       p.Design = true;
     }},
    {"fitting", 0, [](TMade& m, TModeler3D* md, int, double) { Add<TFitting>(m, 1, md); }},
    {"clamp", 0, [](TMade& m, TModeler3D* md, int, double) { Add<TClamper>(m, 1, md); }},
    {"sprue_bush", 0,
     [](TMade& m, TModeler3D* md, int, double k) {
       auto& p = Add<TInjectPlug>(m, 1, md, Nobody());
       p.SphereRadius = 15 * k, p.TPARadius = 2.5, p.CollarRadius = 40 * k, p.BFitRadius = 17 * k,
       p.FitLen = 60 * k, p.Len = 80 * k, p.CollarHeight = 10 * k, p.SphereLen = 4 * k;
     }},
    {"ejector_plug", 0, [](TMade& m, TModeler3D* md, int, double k) { Plug(m, md, 1, k); }},
    {"guide_plug", 0,
     [](TMade& m, TModeler3D* md, int, double k) {
       auto& p = Add<TDirectPlug>(m, 1, md, Nobody());
       p.ColumnRadius = 8 * k, p.Radius = 12.5 * k, p.CollarRadius = 15 * k, p.OustingLen = 40 * k,
       p.CollarHeight = 8 * k, p.Len = 60 * k;
     }},
    {"guide_column", 0,
     [](TMade& m, TModeler3D* md, int, double k) {
       auto& p = Add<TDirectColumn>(m, 1, md, Nobody());
       p.Radius = 12.5 * k, p.Len = 100 * k;
     }},
    {"support_washer", 0,
     [](TMade& m, TModeler3D* md, int, double k) {
       auto& p = Add<TSupportWasher>(m, 1, md, nullptr);
       p.CollarHeight = 5 * k, p.BoltHeadLen = 9 * k, p.Len = 30 * k, p.CollarRadius = 18 * k,
       p.BoltHeadRadius = 9 * k, p.BoltRadius = 5.5 * k, p.Radius = 14 * k;
     }},
    {"channel_washer", 0,
     [](TMade& m, TModeler3D* md, int, double k) {
       auto& p = Add<TWasherEjectorChannel>(m, 1, md, Nobody());
       p.Radius = 10 * k, p.Height = 4 * k;
     }},
    {"locating_ring", 0,
     [](TMade& m, TModeler3D* md, int, double k) {
       auto& tail = Tail(m, md, 34, k);
       auto& ring = Add<TLocatingRing>(m, 1, 34, md, nullptr, &tail);
       ring.Thickness = 15 * k, ring.Radius = 50 * k, ring.BaseRadius = 50 * k, ring.InRadius = 18 * k,
       ring.FixRadius = 40 * k, ring.PinRadius = 3 * k, ring.PinAngle = 30, ring.FixBoltRadius = 3 * k,
       ring.FixBoltHeadRadius = 5.5 * k, ring.FixBoltHeadLen = 6 * k, ring.CountFix = 4,
       ring.BaseThickness = 0;
       const double fix[5] = {0, 90, 180, 270, 0};
       std::copy(fix, fix + 5, ring.FixAngle);
     }},
    // A ring with a shoulder: its bore opens in a cone, the screws pass through the flange outside the
    // shoulder, the column tail's holes through the shoulder.
    {"locating_ring_shoulder", 0,
     [](TMade& m, TModeler3D* md, int, double k) {
       auto& tail = Tail(m, md, 34, k);
       auto& ring = Add<TLocatingRing>(m, 1, 34, md, nullptr, &tail);
       ring.Thickness = 15 * k, ring.Radius = 55 * k, ring.BaseRadius = 38 * k, ring.BaseThickness = 5 * k,
       ring.InRadius = 18 * k, ring.FixRadius = 45 * k, ring.FixBoltRadius = 3 * k,
       ring.FixBoltHeadRadius = 5.5 * k, ring.FixBoltHeadLen = 6 * k, ring.CountFix = 4;
       const double fix[5] = {0, 90, 180, 270, 0};
       std::copy(fix, fix + 5, ring.FixAngle);
     }},
    {"retraction", 0,
     [](TMade& m, TModeler3D* md, int, double k) {
       Add<TReTraction>(m, 1, md, Nobody()).CollarRadius = 20 * k;
     }},
    {"column_tail", 0, [](TMade& m, TModeler3D* md, int, double k) { Tail(m, md, 1, k); }},
    {"shank", 0, [](TMade& m, TModeler3D* md, int, double k) { Shank(m, md, 1, k); }},
    {"circle_plate", 0,
     [](TMade& m, TModeler3D* md, int, double k) {
       auto& tail = Tail(m, md, 34, k);
       auto& shank = Shank(m, md, 34, k);
       auto& plate = Add<TCirclePlane>(m, 1, md, Nobody(), &tail, &shank);
       plate.Thickness = 15 * k, plate.Radius = 60 * k, plate.BoltRadius = 5.5 * k,
       plate.BoltHeadRadius = 9 * k, plate.BoltHeadLen = 9 * k;
     }},
    {"repair_bolt", 0,
     [](TMade& m, TModeler3D* md, int, double k) {
       auto& b = Add<TRepairBolt>(m, 1, md, Nobody());
       b.X = 0, b.Depth = 15 * k, b.Len = 40 * k, b.Radius = 5 * k, b.UpperLen = 10 * k,
       b.UpperRadius = 8 * k;
     }},
    {"ejector_channel", 0,
     [](TMade& m, TModeler3D* md, int, double k) {
       auto& plug = Plug(m, md, 31, k);
       auto& c = Add<TEjectorChannel>(m, 1, md, Nobody(), &plug);
       c.Radius = 4 * k, c.Len = 100 * k, c.SpringRadius = 8 * k, c.SpringLen = 20 * k, c.FitRadius = 4.2 * k,
       c.FitLen = 30 * k, c.CollarRadius = 10 * k, c.CollarHeight = 5 * k, c.GradeHeight = 0.5;
     }},
    {"back_ejector", 0,
     [](TMade& m, TModeler3D* md, int, double k) {
       auto& b = Add<TBackEjector>(m, 1, md, Nobody(), 35);
       b.Radius = 4 * k, b.Len = 100 * k, b.FitRadius = 4 * k, b.FitLen = 30 * k, b.CollarRadius = 10 * k,
       b.CollarHeight = 5 * k;
     }},
    {"protect_support", 0,
     [](TMade& m, TModeler3D* md, int, double k) {
       auto& p = Add<TProtectSupport>(m, 1, md, Nobody());
       p.ThreadLen = 20 * k, p.Len = 60 * k, p.ThreadRadius = 6 * k, p.Radius = 12.5 * k, p.Key = 18 * k,
       p.LenToKey = 10 * k;
     }},
};

// The part class of that name, which is one of Parts.
inline const TPart& PartNamed(const std::string& name)
{
  return *std::find_if(std::begin(Parts), std::end(Parts), [&name](const TPart& p) { return p.Name == name; });
}

} // namespace stdtest::mouldparts
