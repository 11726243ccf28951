// A mould or die standard part built as a part document of its own from a code and a list of
// sizes: the part class of the code draws its half section into a sketch, the sketch is revolved a
// full turn, and a few parts get their sockets, slots or flats cut afterwards.
#include <array>
#include <cmath>
#include <initializer_list>

#include "hxcadkit/core/Messager.h"
#include "hxcadkit/drawing/MathDetail2.h"
#include "hxcadkit/drawing/MathDetails.h"
#include "hxcadkit/drawing/drNodeCont.h"
#include "hxcadkit/stdparts/MathDetailsl.h"

namespace {

using txapi::o3d_planeXOY;
using txapi::o3d_planeXOZ;
using txapi::o3d_planeYOZ;

// The sizes as the code's row reads them: P[0] is the leading slot.
using Sizes = const double*;
using Draw = void (*)(TModeler3D&, Sizes, bool);

// tan 5 degrees: the ejector plug's entry taper over half its length.
constexpr double Tan5 = 0.08748866352592401;

struct TCodeRow
{
  int Code;
  // How many sizes the row reads, the leading slot included.
  int Need;
  Draw Profile; // null: nothing before the revolve
  Draw Extra;   // null: nothing after it
};

// The sketches have no name. One empty text serves them all, as the requirement texts are shared;
// one made for every sketch showed in the time a part takes.
const TString NoName;

void Sketch(TModeler3D& M, txapi::txObj3dTypeEnum plane, double offset)
{
  M.drPlaneEskis(plane, offset, 0.0, NoName);
}

void Cut(TModeler3D& M, int direction, double depth)
{
  M.drCutExtrusion(txapi::txDirectionTypeEnum(direction), txapi::etBlind, depth, 0.0);
}

void Hexagon(TModeler3D& M, txapi::txObj3dTypeEnum plane, double offset, double across, int direction,
             double depth)
{
  Sketch(M, plane, offset);
  TSetScrew(0, &M, TConstruktor::Empty()).drHexAngle(across, 1);
  Cut(M, direction, depth);
}

void Bush(TModeler3D& M, double r, double r1, double r2, double F, double S, double L, double sl, bool size)
{
  TDirectPlug(0, &M, TConstruktor::Empty())
      .dr2D_LeaderPinBushing_V1(0, 0, 0, 1, r, r1, r2, F, S, L, sl, 0, size, 0);
}

void Pillar(TModeler3D& M, double r42, double r41, double r43, double x40, double ix41, double x46,
            double x42, double ix43, bool size)
{
  TSocketLeaderPin(0, &M, nullptr, &TConstruktor::Empty())
      .dr2D_LeaderPin_V1(0, 0, 0, 1, r42, r41, r43, x40, ix41, x46, x42, ix43, 0, size, 0, 0, 0);
}

void Sprue(TModeler3D& M, Sizes P, double r73, double x71, bool size)
{
  TInjectPlug(0, &M, TConstruktor::Empty())
      .dr2D_V1(0, 0, 0, 1, r73, P[5] / 2, P[2] / 2, P[2] / 2, P[6], P[6] + P[3], P[3], x71, 0, size, P[7]);
}

void Ring(TModeler3D& M, double RBase, double RTpa, double iR, double t, double a, double sh, double T,
          bool size)
{
  TLocatingRing(0, 0, &M, &TConstruktor::Empty(), nullptr)
      .dr2D_LocatingRing_V1(0, 0, 0, 1, RBase, RTpa, iR, t, a, sh, T, 0, 0, 0, 0, 0, 0, size);
}

void CapScrew(TModeler3D& M, double at, double sR, double R, double iS, double K, double t, double L,
              double isl, double r1, bool size)
{
  TCommonGeometry(0, &M).dr2D_SocketHeadCapScrew_V1(at, 0, 0, 1, sR, R, iS, K, t, L, isl, r1, 0, size);
}

void Rod(TModeler3D& M, Sizes P, bool size, bool second)
{
  const TMTail rod(0, &M, TConstruktor::Empty());
  if (second)
    rod.dr2D_EjectorRod_V3(0, 0, 0, 1, P[1] / 2, P[2] / 2, P[4], P[5], P[6], P[3], P[7], 0, size);
  else
    rod.dr2D_EjectorRod_V1(0, 0, 0, 1, P[1] / 2, P[2] / 2, P[4], P[5], P[6], P[3], P[7], 0, size);
}

void Fitting(TModeler3D& M, bool end)
{
  const TFitting f(0, &M);
  if (end)
    f.drShtucerVo(0, 0, -90, 1, 7.0, 6.0, 4.4, 3.0, 45.0);
  else
    f.dr2D_Shtucer_V1(0, 0, -90, 1, 7.0, 6.0, 4.4, 3.0, 45.0, 0, false);
}

// A round bar of length L and radius r with 1 mm chamfers, turned to stand along the sketch's Y
// axis, with its axis line of length axis (longer than the bar where a flat-sided end follows).
void Bar(TModeler3D& M, double axis, double L, double r)
{
  M.drMtr(0, 0, -90.0, 1.0);
  M.drLine(-3.0, 0, axis + 3.0, 0, 3);
  TContDrawing c(&M);
  c.Make(0, 0, dP(0, r - 1, dPx(1.0, r, dPx(L - 1, r, dP(L, r - 1, dP(L, 0, dPt0(0, 0)))))));
  c.dr2D(0);
  M.drDeleteMtr();
}

// Code 2 and 4 are the same bush, as are 14/16, 15/17, 18/19 and 43/51: each pair comes from two
// tables of one layout.
const TCodeRow Rows[] = {
    {2, 8,
     [](TModeler3D& M, Sizes P, bool s) { Bush(M, P[1] / 2, P[2] / 2, P[3] / 2, P[5], P[4], P[7], P[6], s); },
     nullptr},
    {3, 7,
     [](TModeler3D& M, Sizes P, bool s) {
       TSocketLeaderPinLocatingSleeves(0, &M, nullptr, &TConstruktor::Empty())
           .dr2D_V1(0, 0, 0, 1, P[6], 0, P[1], P[5] / 2, P[3] / 2, P[3] / 2 + 0.5, P[4] / 2, 0, s, 0);
     },
     nullptr},
    {4, 8,
     [](TModeler3D& M, Sizes P, bool s) { Bush(M, P[1] / 2, P[2] / 2, P[3] / 2, P[5], P[4], P[7], P[6], s); },
     nullptr},
    {5, 9,
     [](TModeler3D& M, Sizes P, bool s) {
       // Column 7 is the seated length with the collar: the pillar's own Set takes it less the
       // collar height, and both roads build one part.
       Pillar(M, P[1] / 2, P[2] / 2, P[3] / 2, P[6], P[8], P[7] - P[4], P[4], P[4] + P[5], s);
     },
     nullptr},
    {6, 8,
     [](TModeler3D& M, Sizes P, bool s) {
       Pillar(M, P[1] / 2, P[2] / 2, P[3] / 2, P[5], P[7], P[6] - P[4], P[4], P[4], s);
     },
     nullptr},
    {7, 6,
     [](TModeler3D& M, Sizes P, bool s) {
       Pillar(M, P[1] / 2, P[1] / 2, P[2] / 2, P[3], P[5], 0, P[4], 0, s);
     },
     nullptr},
    {8, 4,
     [](TModeler3D& M, Sizes P, bool s) {
       Pillar(M, P[1] / 2, P[1] / 2 + 0.3, P[1] / 2 + 0.3, P[2], P[3], 0, 4.0, 6.5, s);
     },
     nullptr},
    {10, 6,
     [](TModeler3D& M, Sizes P, bool s) {
       Bush(M, P[1] / 2, P[2] / 2, P[3] / 2, P[4] - 6.0, 6.0, P[5], P[4] + P[5], s);
     },
     nullptr},
    {11, 7,
     [](TModeler3D& M, Sizes P, bool s) {
       Bush(M, P[1] / 2, P[2] / 2, P[3] / 2, P[5] - P[4], P[4], P[6], P[5] + P[6], s);
     },
     nullptr},
    {12, 6,
     [](TModeler3D& M, Sizes P, bool s) {
       TEjectorPin(&M, TConstruktor::Empty()).dr2D_V1(0, 0, 0, 1, P[1] / 2, P[2] / 2, P[3], P[4], P[5], 0, s);
     },
     nullptr},
    {13, 8,
     [](TModeler3D& M, Sizes P, bool s) {
       TEjectorPlug(0, &M, TConstruktor::Empty())
           .dr2D_V1(0, 0, 0, 1, P[3] / 2, P[2] / 2, P[4] / 2, P[4] / 2 + P[5] / 2 * Tan5, P[1] / 2,
                    P[7] - P[6], P[5], 6.0, P[7], 0, s);
     },
     nullptr},
    {14, 8, [](TModeler3D& M, Sizes P, bool s) { Sprue(M, P, 0.0, 0.0, s); }, nullptr},
    {15, 9, [](TModeler3D& M, Sizes P, bool s) { Sprue(M, P, P[8], 1.5, s); }, nullptr},
    {16, 8, [](TModeler3D& M, Sizes P, bool s) { Sprue(M, P, 0.0, 0.0, s); }, nullptr},
    {17, 9, [](TModeler3D& M, Sizes P, bool s) { Sprue(M, P, P[8], 1.5, s); }, nullptr},
    {18, 8,
     [](TModeler3D& M, Sizes P, bool s) { Ring(M, P[7] / 2, P[3] / 2, P[1] / 2, P[6], P[5], P[2], P[4], s); },
     nullptr},
    {19, 8,
     [](TModeler3D& M, Sizes P, bool s) { Ring(M, P[7] / 2, P[3] / 2, P[1] / 2, P[6], P[5], P[2], P[4], s); },
     nullptr},
    {20, 8, [](TModeler3D& M, Sizes P, bool s) { Rod(M, P, s, false); },
     [](TModeler3D& M, Sizes P, bool s) {
       // The flats are cut across the rod, from its side at x = -r through to +r.
       Sketch(M, o3d_planeYOZ, -P[1] / 2);
       Rod(M, P, s, true);
       Cut(M, 0, P[1]);
     }},
    {21, 6,
     [](TModeler3D& M, Sizes P, bool s) { Ring(M, P[1] / 2, P[1] / 2, P[3] / 2, P[4], P[5], 0, P[2], s); },
     nullptr},
    {22, 6,
     [](TModeler3D& M, Sizes P, bool s) {
       TSetScrew(0, &M, TConstruktor::Empty())
           .dr2D_V1(0, 0, 0, 1, P[1] / 2, P[3] / 2, P[2], P[4], P[5], 0, s);
     },
     // The screw runs from its socket's end at z = 0 down -z (the sketch's u): the socket is cut reversed.
     [](TModeler3D& M, Sizes P, bool) { Hexagon(M, o3d_planeXOY, 0, P[5], 1, P[4] - 1); }},
    {23, 6,
     [](TModeler3D& M, Sizes P, bool s) {
       TStopPin(0, &M, &TConstruktor::Empty())
           .dr2D_GrybkovaOpora_V1(0, 0, 0, 180.0, 1, P[1] / 2, P[2] / 2, P[4], P[3], P[5], 0, s);
     },
     nullptr},
    {24, 4,
     [](TModeler3D& M, Sizes P, bool s) {
       TTubeDowel(0, &M, TConstruktor::Empty())
           .dr2D_VtulkaCentruucha_V1(0, 0, 0, 1, P[1] / 2, P[2] / 2, P[3], 0, s);
     },
     nullptr},
    {25, 5,
     [](TModeler3D& M, Sizes P, bool s) {
       TCommonGeometry(0, &M).dr2D_HexagonSocketSetScrew_V1(0, 0, 0, 1, P[1] / 2, P[2], P[3], P[4], 0, s);
     },
     [](TModeler3D& M, Sizes P, bool) { Hexagon(M, o3d_planeXOY, 0, P[2], 1, P[2]); }},
    {26, 9,
     [](TModeler3D& M, Sizes P, bool s) {
       CapScrew(M, -P[4], P[1] / 2, P[2] / 2, P[3], P[4], P[5], P[4] + P[8], P[6], P[7], s);
     },
     [](TModeler3D& M, Sizes P, bool) {
       Hexagon(M, o3d_planeXOY, -P[4], P[3], 1, P[5]);
       M.drColor3D(0xC80000, 0.8, 0.6, 0.95, 0.95, 1.0, 0.8);
     }},
    {27, 6,
     [](TModeler3D& M, Sizes P, bool s) {
       TSupportWasher(0, &M, &TConstruktor::Empty())
           .dr2D_ShajbaOporna_V1(0, 0, 0, 1, 0, P[4], P[5], P[1] / 2, P[2] / 2, P[3] / 2, P[1] / 2, 0, s);
     },
     nullptr},
    // Nothing is drawn, but the revolve and the cut of its empty sketches are made.
    {28, 3, nullptr,
     [](TModeler3D& M, Sizes P, bool) {
       Sketch(M, o3d_planeXOZ, P[2] / 2);
       Cut(M, 0, P[2]);
     }},
    {29, 8,
     [](TModeler3D& M, Sizes P, bool s) {
       Pillar(M, P[1] / 2, P[2] / 2, P[3] / 2, P[5], P[7] - P[6], P[6], P[4], P[4], s);
     },
     nullptr},
    {30, 9,
     [](TModeler3D& M, Sizes P, bool s) {
       Pillar(M, P[1] / 2, P[2] / 2, P[3] / 2, P[6], P[8] - P[7], P[7], P[4], P[4] + P[5], s);
     },
     nullptr},
    {31, 4,
     [](TModeler3D& M, Sizes P, bool s) {
       TCommonGeometry(0, &M).dr2D_Shtift_V1(0, 0, 0, 1, P[1] / 2, P[2], 0, s, P[3]);
     },
     nullptr},
    {32, 12,
     [](TModeler3D& M, Sizes P, bool s) {
       TCommonGeometry(0, &M).dr2D_Bolt7805_V1(0, 0, 0, 1, P[2] / 2, P[1], P[3], P[5], P[8], P[11], 0, s);
     },
     [](TModeler3D& M, Sizes P, bool) {
       Sketch(M, o3d_planeXOY, 0);
       TCommonGeometry(0, &M).dr2D_Nut_V3(0, 0, 0, 1, P[2], P[8], P[5], 0, false);
       M.drRectAngle(-2 * P[8], -2 * P[8], 2 * P[8], 2 * P[8], 1);
       Cut(M, 1, P[5]);
     }},
    {33, 13,
     [](TModeler3D& M, Sizes P, bool s) {
       // The table's length is under the head: the screw is the head longer, as code 26 builds it.
       CapScrew(M, -P[6], P[1] / 2, P[5] / 2, P[7], P[6], P[10], P[6] + P[2], P[3], P[12], s);
     },
     [](TModeler3D& M, Sizes P, bool) { Hexagon(M, o3d_planeXOY, P[6], P[7], 1, P[10]); }},
    {34, 8,
     [](TModeler3D& M, Sizes P, bool s) {
       CapScrew(M, -P[6], P[1] / 2, P[5] / 2, 0, P[6], 0, P[2], P[7], 0.5, s);
     },
     [](TModeler3D& M, Sizes P, bool) {
       Sketch(M, o3d_planeXOZ, P[5] / 2);
       M.drRectAngle(-1.0, -P[6], 1.0, 3.0 - P[6], 1);
       Cut(M, 1, P[5]);
     }},
    {35, 13,
     [](TModeler3D& M, Sizes P, bool s) {
       TSetScrew(0, &M, TConstruktor::Empty()).dr2D_V1(0, 0, 0, 1, P[1] / 2, P[5] / 2, P[2], P[6], 0, 0, s);
     },
     [](TModeler3D& M, Sizes P, bool) {
       // The cross recess, its arms 2 mm wide.
       const double h = P[11] / 2;
       Sketch(M, o3d_planeXOY, 0);
       TContDrawing c(&M);
       c.Make(
           -h, -1,
           dP(-h, 1,
              dP(-1, 1,
                 dP(-1, h,
                    dP(1, h,
                       dP(1, 1,
                          dP(h, 1, dP(h, -1, dP(1, -1, dP(1, -h, dP(-1, -h, dP(-1, -1, dP(-h, -1)))))))))))));
       c.dr2D(1);
       Cut(M, 2, P[12]);
     }},
    // The fitting has one size: nothing of P is read.
    {36, 0, [](TModeler3D& M, Sizes, bool) { Fitting(M, false); },
     [](TModeler3D& M, Sizes, bool) {
       Sketch(M, o3d_planeXOZ, 0);
       Fitting(M, true);
       Cut(M, 0, 48.0);
     }},
    {37, 3, [](TModeler3D& M, Sizes P, bool) { Bar(M, P[2], P[2], P[0]); },
     [](TModeler3D& M, Sizes P, bool) { Hexagon(M, o3d_planeXOZ, 0, P[1], 1, P[2] / 2); }},
    // The round part ends at P0, where the flat-sided end of length P1 is added.
    {38, 4, [](TModeler3D& M, Sizes P, bool) { Bar(M, P[0] + P[1], P[0], P[2]); },
     [](TModeler3D& M, Sizes P, bool) {
       // The flat of width P3 cut by the chord of the bar's circle.
       const double h = std::sqrt(std::abs(P[2] * P[2] - P[3] / 2 * (P[3] / 2)));
       Sketch(M, o3d_planeXOZ, -P[0]);
       M.drRectAngle(P[3] / 2, h, -P[3] / 2, -h, 1);
       M.drBaseExtrusion(txapi::dtReverse, txapi::etBlind, P[1], 0.0);
     }},
    {43, 6, [](TModeler3D& M, Sizes P, bool s) { Bush(M, P[3] / 2, P[4] / 2, P[4] / 2, 0, 0, P[5], 0, s); },
     nullptr},
    {50, 6,
     [](TModeler3D& M, Sizes P, bool s) {
       Pillar(M, P[3] / 2, P[3] / 2, P[3] / 2, P[5], P[4], P[3] - 0.5, 0, 0, s);
     },
     nullptr},
    {51, 6, [](TModeler3D& M, Sizes P, bool s) { Bush(M, P[3] / 2, P[4] / 2, P[4] / 2, 0, 0, P[5], 0, s); },
     nullptr},
    {52, 10,
     [](TModeler3D& M, Sizes P,
        bool s) { Bush(M, P[3] / 2, P[5] / 2, P[5] / 2, 0, 0, P[7], P[7] - P[9], s); },
     nullptr},
};

// The sizes each code draws with (bits of slot numbers), and those of them a standard row may
// hold as 0 (a pillar without a relief); the others must be positive.
struct TCodeSizes
{
  int Code;
  unsigned Read, MayBeZero;
};

constexpr unsigned Slots(std::initializer_list<int> slots)
{
  unsigned bits = 0;
  for (int s : slots)
    bits |= 1u << s;
  return bits;
}

constexpr unsigned Upto(int last)
{
  return (2u << last) - 2u; // slots 1 .. last
}

const TCodeSizes SizesRead[] = {
    {2, Upto(7), 0},      {3, Slots({1, 3, 4, 5, 6}), 0},
    {4, Upto(7), 0},      {5, Upto(8), Slots({5})},
    {6, Upto(7), 0},      {7, Upto(5), 0},
    {8, Upto(3), 0},      {10, Upto(5), 0},
    {11, Upto(6), 0},     {12, Upto(5), 0},
    {13, Upto(7), 0},     {14, Slots({2, 3, 5, 6, 7}), 0},
    {15, Slots({2, 3, 5, 6, 7, 8}), 0}, {16, Slots({2, 3, 5, 6, 7}), 0},
    {17, Slots({2, 3, 5, 6, 7, 8}), 0}, {18, Upto(7), 0},
    {19, Upto(7), 0},     {20, Upto(7), 0},
    {21, Upto(5), 0},     {22, Upto(5), 0},
    {23, Upto(5), 0},     {24, Upto(3), 0},
    {25, Upto(4), 0},     {26, Upto(8), 0},
    {27, Upto(5), 0},     {28, Slots({2}), 0},
    {29, Upto(7), 0},     {30, Upto(8), Slots({5})},
    {31, Upto(3), 0},     {32, Slots({1, 2, 3, 5, 8, 11}), 0},
    {33, Slots({1, 2, 3, 5, 6, 7, 10, 12}), 0}, {34, Slots({1, 2, 5, 6, 7}), 0},
    {35, Slots({1, 2, 5, 6, 11, 12}), 0}, {36, 0, 0},
    {37, Slots({0, 1, 2}), 0}, {38, Slots({0, 1, 2, 3}), 0},
    {43, Slots({3, 4, 5}), 0}, {50, Slots({3, 4, 5}), 0},
    {51, Slots({3, 4, 5}), 0}, {52, Slots({3, 5, 7, 9}), 0},
};

// No mould part comes near 100 m: a size beyond it is a slip, and a modeller's solid of it loses the part's
// millimetre details in its size (or its coordinates overflow).
constexpr double LargestSize = 1e5;

// Whether every size the code draws with is a finite number, positive where it must be, and no larger than
// any part.
bool SizesSound(int code, std::span<const double> P)
{
  for (const TCodeSizes& c : SizesRead) {
    if (c.Code != code) continue;
    for (std::size_t i = 0; i < P.size() && i < 32; ++i) {
      const unsigned bit = 1u << i;
      if (!(c.Read & bit)) continue;
      if (!(P[i] <= LargestSize) || P[i] < 0.0 || (P[i] == 0.0 && !(c.MayBeZero & bit))) return false;
    }
    return true;
  }
  return false;
}

const TCodeRow* RowOf(int code)
{
  // Indexed by code: a part is built by the dozen, and a walk over the rows showed in the time.
  static const auto index = [] {
    std::array<const TCodeRow*, 53> a{};
    for (const TCodeRow& r : Rows)
      a[std::size_t(r.Code)] = &r;
    return a;
  }();
  return code >= 0 && code < int(index.size()) ? index[std::size_t(code)] : nullptr;
}

} // namespace

bool drBaseDetail(TModeler3D& M, const TString& Path, const TString& Name, const TString& Marking, int MakeId,
                  int /*ResultIndex*/, std::span<const double> P, bool IsSize)
{
  // Refused before any document is made, so that a wrong call leaves no empty part behind.
  // Built in place: each intermediate string would cost an allocation of its own.
  TString file(Path);
  file += Name;
  file.Add(".tpt");
  const TCodeRow* row = RowOf(MakeId);
  if (!row) {
    Messager->LiftBox(DC(TString("Нет детали с кодом ")) + TString(MakeId) + TString(": ") + file,
                      TMessager::toAlways);
    return false;
  }
  if (P.size() < std::size_t(row->Need)) {
    Messager->LiftBox(DC(TString("Недостаточно размеров для детали с кодом ")) + TString(MakeId) +
                          TString(": ") + file,
                      TMessager::toAlways);
    return false;
  }
  if (!SizesSound(MakeId, P.first(std::size_t(row->Need)))) {
    Messager->LiftBox(DC(TString("Недопустимые размеры: ")) + file, TMessager::toAlways);
    return false;
  }
  TDetailInfo& info = M.R2D().DI;
  info.cDetail = 95;
  info.cSuffics = MakeId;
  const long long refused = ElementRefusals();
  const long long failed = M.drFailures3D();
  M.drCreate3D(true, true, file, Name, Marking);
  Sketch(M, o3d_planeYOZ, 0.0);
  if (row->Profile) row->Profile(M, P.data(), IsSize);
  M.drBaseRotate(0, 360.0);
  if (row->Extra) row->Extra(M, P.data(), IsSize);
  // An element refused (its message given) leaves a part without it, and a feature the modeller could
  // not make (sizes that fit no part of the code: a bore wider than the bush, a socket deeper than the
  // screw) leaves a part that is not the one asked for, as does one without a body: no file of it is
  // written.
  const bool whole = ElementRefusals() == refused;
  if (!whole || M.drFailures3D() != failed || !M.drHasBody3D()) {
    M.drDiscard3D();
    if (whole) Messager->LiftBox(DC(TString("Деталь не построена: ")) + file, TMessager::toAlways);
    return false;
  }
  M.drSave3D(true, false);
  if (!M.drSaved3D()) {
    Messager->LiftBox(DC(TString("Не удалось записать файл ")) + file, TMessager::toAlways);
    return false;
  }
  return true;
}
