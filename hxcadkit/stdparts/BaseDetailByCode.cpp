// A mould or die standard part built as a part document of its own from a code and a list of
// sizes: the part class of the code draws its half section into a sketch, the sketch is revolved a
// full turn, and a few parts get their sockets, slots or flats cut afterwards.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <string>

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
  // What the features after the revolve make, as the user is told when one of them fails.
  const char* ExtraName = nullptr;
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

// The bush codes' sizes as the bush profile takes them: what is drawn and what its relations check are one.
mould::TBushSizes BushOf(int code, Sizes P)
{
  switch (code) {
  case 10: return {P[1] / 2, P[2] / 2, P[3] / 2, P[4] - 6.0, 6.0, P[5], P[4] + P[5], 0};
  case 11: return {P[1] / 2, P[2] / 2, P[3] / 2, P[5] - P[4], P[4], P[6], P[5] + P[6], 0};
  case 43:
  case 51: return {P[3] / 2, P[4] / 2, P[4] / 2, 0, 0, P[5], 0, 0};
  case 52: return {P[3] / 2, P[5] / 2, P[5] / 2, 0, 0, P[7], P[7] - P[9], 0};
  default: return {P[1] / 2, P[2] / 2, P[3] / 2, P[5], P[4], P[7], P[6], 0}; // 2 and 4
  }
}

template <int code>
void Bush(TModeler3D& M, Sizes P, bool size)
{
  const mould::TBushSizes b = BushOf(code, P);
  TDirectPlug(0, &M, TConstruktor::Empty())
      .dr2D_LeaderPinBushing_V1(0, 0, 0, 1, b.r, b.r1, b.r2, b.F, b.S, b.L, b.sl, 0, size, b.Xk);
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

// The ring codes' sizes as the ring's section takes them: codes 18 and 19 a ring with its shoulder, code 21 a
// flat one.
mould::TRingSizes RingOf(int code, Sizes P)
{
  if (code == 21) return {P[1] / 2, P[1] / 2, P[3] / 2, P[4], P[5], 0, P[2]};
  return {P[7] / 2, P[3] / 2, P[1] / 2, P[6], P[5], P[2], P[4]};
}

template <int code>
void Ring(TModeler3D& M, Sizes P, bool size)
{
  const mould::TRingSizes r = RingOf(code, P);
  TLocatingRing(0, 0, &M, &TConstruktor::Empty(), nullptr)
      .dr2D_LocatingRing_V1(0, 0, 0, 1, r.RBase, r.R, r.iR, r.t, r.a, r.sh, r.T, 0, 0, 0, 0, 0, 0, size);
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
    {2, 8, Bush<2>, nullptr},
    {3, 7,
     [](TModeler3D& M, Sizes P, bool s) {
       TSocketLeaderPinLocatingSleeves(0, &M, nullptr, &TConstruktor::Empty())
           .dr2D_V1(0, 0, 0, 1, P[6], 0, P[1], P[5] / 2, P[3] / 2, P[3] / 2 + 0.5, P[4] / 2, 0, s, 0);
     },
     nullptr},
    {4, 8, Bush<4>, nullptr},
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
    {10, 6, Bush<10>, nullptr},
    {11, 7, Bush<11>, nullptr},
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
    {18, 8, Ring<18>, nullptr},
    {19, 8, Ring<18>, nullptr},
    {20, 8, [](TModeler3D& M, Sizes P, bool s) { Rod(M, P, s, false); },
     [](TModeler3D& M, Sizes P, bool s) {
       // The flats are cut across the rod, from its side at x = -r through to +r.
       Sketch(M, o3d_planeYOZ, -P[1] / 2);
       Rod(M, P, s, true);
       Cut(M, 0, P[1]);
     },
     "лыски"},
    {21, 6, Ring<21>, nullptr},
    {22, 6,
     [](TModeler3D& M, Sizes P, bool s) {
       TSetScrew(0, &M, TConstruktor::Empty())
           .dr2D_V1(0, 0, 0, 1, P[1] / 2, P[3] / 2, P[2], P[4], P[5], 0, s);
     },
     // The screw runs from its socket's end at z = 0 down -z (the sketch's u): the socket is cut reversed.
     [](TModeler3D& M, Sizes P, bool) { Hexagon(M, o3d_planeXOY, 0, P[5], 1, P[4] - 1); },
     "шестигранное углубление под ключ"},
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
     [](TModeler3D& M, Sizes P, bool) { Hexagon(M, o3d_planeXOY, 0, P[2], 1, P[2]); },
     "шестигранное углубление под ключ"},
    {26, 9,
     [](TModeler3D& M, Sizes P, bool s) {
       CapScrew(M, -P[4], P[1] / 2, P[2] / 2, P[3], P[4], P[5], P[4] + P[8], P[6], P[7], s);
     },
     [](TModeler3D& M, Sizes P, bool) {
       // The head stands on z = 0 up to its top face at z = K (the sketch's u runs down -z): the socket
       // goes down from that face into the head, as code 33 cuts it.
       Hexagon(M, o3d_planeXOY, P[4], P[3], 1, P[5]);
       M.drColor3D(0xC80000, 0.8, 0.6, 0.95, 0.95, 1.0, 0.8);
     },
     "шестигранное углубление под ключ"},
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
     },
     "вырез"},
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
     },
     "шестигранная головка"},
    {33, 13,
     [](TModeler3D& M, Sizes P, bool s) {
       // The table's length is under the head: the screw is the head longer, as code 26 builds it.
       CapScrew(M, -P[6], P[1] / 2, P[5] / 2, P[7], P[6], P[10], P[6] + P[2], P[3], P[12], s);
     },
     [](TModeler3D& M, Sizes P, bool) { Hexagon(M, o3d_planeXOY, P[6], P[7], 1, P[10]); },
     "шестигранное углубление под ключ"},
    {34, 8,
     [](TModeler3D& M, Sizes P, bool s) {
       CapScrew(M, -P[6], P[1] / 2, P[5] / 2, 0, P[6], 0, P[2], P[7], 0.5, s);
     },
     [](TModeler3D& M, Sizes P, bool) {
       Sketch(M, o3d_planeXOZ, P[5] / 2);
       M.drRectAngle(-1.0, -P[6], 1.0, 3.0 - P[6], 1);
       Cut(M, 1, P[5]);
     },
     "шлиц"},
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
     },
     "крестообразный шлиц"},
    // The fitting has one size: nothing of P is read.
    {36, 0, [](TModeler3D& M, Sizes, bool) { Fitting(M, false); },
     [](TModeler3D& M, Sizes, bool) {
       Sketch(M, o3d_planeXOZ, 0);
       Fitting(M, true);
       Cut(M, 0, 48.0);
     },
     "отверстие штуцера"},
    {37, 3, [](TModeler3D& M, Sizes P, bool) { Bar(M, P[2], P[2], P[0]); },
     [](TModeler3D& M, Sizes P, bool) { Hexagon(M, o3d_planeXOZ, 0, P[1], 1, P[2] / 2); },
     "шестигранное углубление"},
    // The round part ends at P0, where the flat-sided end of length P1 is added.
    {38, 4, [](TModeler3D& M, Sizes P, bool) { Bar(M, P[0] + P[1], P[0], P[2]); },
     [](TModeler3D& M, Sizes P, bool) {
       // The flat of width P3 cut by the chord of the bar's circle.
       const double h = std::sqrt(std::abs(P[2] * P[2] - P[3] / 2 * (P[3] / 2)));
       Sketch(M, o3d_planeXOZ, -P[0]);
       M.drRectAngle(P[3] / 2, h, -P[3] / 2, -h, 1);
       M.drBaseExtrusion(txapi::dtReverse, txapi::etBlind, P[1], 0.0);
     },
     "хвостовик с лысками"},
    {43, 6, Bush<43>, nullptr},
    {50, 6,
     [](TModeler3D& M, Sizes P, bool s) {
       Pillar(M, P[3] / 2, P[3] / 2, P[3] / 2, P[5], P[4], P[3] - 0.5, 0, 0, s);
     },
     nullptr},
    {51, 6, Bush<51>, nullptr},
    {52, 10, Bush<52>, nullptr},
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
    {2, Upto(7), 0},
    {3, Slots({1, 3, 4, 5, 6}), 0},
    {4, Upto(7), 0},
    {5, Upto(8), Slots({5})},
    {6, Upto(7), 0},
    {7, Upto(5), 0},
    {8, Upto(3), 0},
    {10, Upto(5), 0},
    {11, Upto(6), 0},
    {12, Upto(5), 0},
    {13, Upto(7), 0},
    {14, Slots({2, 3, 5, 6, 7}), 0},
    {15, Slots({2, 3, 5, 6, 7, 8}), 0},
    {16, Slots({2, 3, 5, 6, 7}), 0},
    {17, Slots({2, 3, 5, 6, 7, 8}), 0},
    {18, Upto(7), 0},
    {19, Upto(7), 0},
    {20, Upto(7), 0},
    {21, Upto(5), 0},
    {22, Upto(5), 0},
    {23, Upto(5), 0},
    {24, Upto(3), 0},
    {25, Upto(4), 0},
    {26, Upto(8), 0},
    {27, Upto(5), 0},
    {28, Slots({2}), 0},
    {29, Upto(7), 0},
    {30, Upto(8), Slots({5})},
    {31, Upto(3), 0},
    {32, Slots({1, 2, 3, 5, 8, 11}), 0},
    {33, Slots({1, 2, 3, 5, 6, 7, 10, 12}), 0},
    {34, Slots({1, 2, 5, 6, 7}), 0},
    {35, Slots({1, 2, 5, 6, 11, 12}), 0},
    {36, 0, 0},
    {37, Slots({0, 1, 2}), 0},
    {38, Slots({0, 1, 2, 3}), 0},
    {43, Slots({3, 4, 5}), 0},
    {50, Slots({3, 4, 5}), 0},
    {51, Slots({3, 4, 5}), 0},
    {52, Slots({3, 5, 7, 9}), 0},
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

// What the outline each code's builder draws needs of its sizes together: a bore inside its outside, a
// head wider than its shank, a socket or flats inside the round, a groove or thread shorter than the length.
// Each size alone may be sound while together they draw a part turned inside out or a feature that misses it.
// A relation holds when Small(P) < Large(P); Formula writes it in the row's slots, Slots names those the
// message gives.
struct TRelation
{
  int Code;
  double (*Small)(Sizes);
  double (*Large)(Sizes);
  std::array<int, 4> Slots; // 0 ends the list but for the bar codes' slot 0 (listed first)
  const char* Formula;
  const char* Meaning;
};

// Half the width of a hexagon across its corners over the width across its flats.
constexpr double HalfCorners = mould::Tan30;

// Where the sprue bush's seat sphere (radius P8, its centre 1.5 behind the face) meets the head's face.
double SphereEdge(Sizes P)
{
  const double c = std::sqrt(std::abs(P[8] * P[8] - P[5] * P[5] / 4)) - 1.5;
  return std::sqrt(std::abs(P[8] * P[8] - c * c));
}

#define HX_SIZE(expr) [](Sizes P) -> double { return (void)P, (expr); }

// The guide pillars: guide (d), seat (d1) and collar (D) diameters, the lead-in x40 (its 30 degree cone
// ends 2 short of the axis), the guide length from the lead-in past its groove, the seat length.
#define HX_PILLAR_LEAD(code, d, x40)                                                                         \
  {                                                                                                          \
    code, HX_SIZE(2.0 * mould::Tan30 * P[x40] + 4.0), HX_SIZE(P[d]), {d, x40}, "1,15·P" #x40 " + 4 < P" #d,  \
        "заходный конус не доходит до оси"                                        \
  }

// A relation of a profile that several codes build, as one code writes it: the code's sizes it ties, and
// the relation in them.
template <class TKind> struct TProfileText
{
  int Code;
  TKind Broken;
  std::array<int, 4> Slots;
  const char* Formula;
};

// The bush codes' relations are the bush profile's (mould::BushBroken).
const TProfileText<mould::TBushRelation> BushTexts[] = {
    {2, mould::bsBore, {1, 2}, "P1 + 3 < P2"},
    {2, mould::bsCollar, {2, 3}, "P2 < P3"},
    {2, mould::bsFront, {5}, "2 <= P5"},
    {2, mould::bsCollarLength, {4, 7}, "P4 + 3,5 < P7"},
    {10, mould::bsSizes, {4}, "6 <= P4"},
    {10, mould::bsBore, {1, 2}, "P1 + 3 < P2"},
    {10, mould::bsCollar, {2, 3}, "P2 < P3"},
    {10, mould::bsFront, {4}, "P4 = 6 или 8 <= P4"},
    {10, mould::bsCollarLength, {5}, "9,5 < P5"},
    {11, mould::bsSizes, {4, 5}, "P4 <= P5"},
    {11, mould::bsBore, {1, 2}, "P1 + 3 < P2"},
    {11, mould::bsCollar, {2, 3}, "P2 < P3"},
    {11, mould::bsFront, {4, 5}, "P5 = P4 или P4 + 2 <= P5"},
    {11, mould::bsCollarLength, {4, 6}, "P4 + 3,5 < P6"},
    {43, mould::bsBore, {3, 4}, "P3 + 3 < P4"},
    {43, mould::bsCollarLength, {5}, "3,5 < P5"},
    {52, mould::bsGuided, {9, 7}, "P9 <= P7"},
    {52, mould::bsBore, {3, 5}, "P3 + 3 < P5"},
    {52, mould::bsCollarLength, {7}, "3,5 < P7"},
};

// The ring codes' relations are the ring's section's (mould::RingBroken).
const TProfileText<mould::TRingRelation> RingTexts[] = {
    {18, mould::rgShoulderWidth, {7, 3}, "P7 <= P3"},
    {18, mould::rgShoulderRoot, {2, 7, 3}, "0,5 < P2 и P7 + 1 < P3, или P7 = P3"},
    {18, mould::rgLength, {2, 4}, "P2 + 3 < P4, или P7 = P3 и 3,5 < P4"},
    {18, mould::rgLand, {6, 4}, "P6 < P4"},
    {18, mould::rgBore, {1, 3, 4, 5}, "P1/2 + (P4 - P6)/tg P5 + 1,73 < P3/2, P1/2 + (P2 - P6)/tg P5 < P7/2"},
    {21, mould::rgLength, {2}, "3,5 < P2"},
    {21, mould::rgLand, {4, 2}, "P4 < P2"},
    {21, mould::rgBore, {3, 1, 2, 4}, "P3/2 + (P2 - P4)/tg P5 + 1,73 < P1/2, P3 + 1 < P1"},
};

const TRelation Relations[] = {
    // The locating sleeve: bore P3 and thread P4 inside the sleeve P5, the tapping drill (2 under the
    // thread) under the bore, and the bore at least 1 long behind the tapped hole P1 and its drill point.
    {3, HX_SIZE(P[3] + 2.2), HX_SIZE(P[5]), {3, 5}, "P3 + 2,2 < P5", "отверстие внутри наружной поверхности"},
    {3, HX_SIZE(P[4] + 1.2), HX_SIZE(P[5]), {4, 5}, "P4 + 1,2 < P5", "резьба внутри наружной поверхности"},
    {3, HX_SIZE(4.0), HX_SIZE(P[4]), {4}, "4 < P4", "резьба шире своего сверла"},
    {3, HX_SIZE(P[4]), HX_SIZE(P[3] + 5.0), {4, 3}, "P4 < P3 + 5", "сверло под резьбу не шире отверстия"},
    {3, HX_SIZE(2.0), HX_SIZE(P[1]), {1}, "2 < P1", "резьба длиннее своей фаски"},
    {3,
     HX_SIZE(P[1] + mould::Tan30 / 2 * (P[3] - P[4]) + 4.0 + 2.5 * mould::Tan30),
     HX_SIZE(P[6]),
     {1, 3, 4, 6},
     "P1 + 0,29·(P3 - P4) + 5,44 < P6",
     "отверстие за резьбой не короче 1 мм"},
    // The guide pillars, each code with its own slots.
    HX_PILLAR_LEAD(5, 1, 6),
    {5,
     HX_SIZE(P[6] + 8.0),
     HX_SIZE(P[8]),
     {6, 8},
     "P6 + 8 < P8",
     "направляющая часть длиннее заходного конуса"},
    {5, HX_SIZE(P[4] + 5.0), HX_SIZE(P[7]), {4, 7}, "P4 + 5 < P7", "посадочная часть длиннее своей канавки"},
    {5, HX_SIZE(P[1]), HX_SIZE(P[2] + 1e-9), {1, 2}, "P1 <= P2", "направляющая часть не шире посадочной"},
    {5, HX_SIZE(P[2]), HX_SIZE(P[3] + 1e-9), {2, 3}, "P2 <= P3", "буртик не уже посадочной части"},
    HX_PILLAR_LEAD(6, 1, 5),
    {6,
     HX_SIZE(P[5] + 8.0),
     HX_SIZE(P[7]),
     {5, 7},
     "P5 + 8 < P7",
     "направляющая часть длиннее заходного конуса"},
    {6, HX_SIZE(P[4] + 5.0), HX_SIZE(P[6]), {4, 6}, "P4 + 5 < P6", "посадочная часть длиннее своей канавки"},
    {6, HX_SIZE(P[1]), HX_SIZE(P[2] + 1e-9), {1, 2}, "P1 <= P2", "направляющая часть не шире посадочной"},
    {6, HX_SIZE(P[2]), HX_SIZE(P[3] + 1e-9), {2, 3}, "P2 <= P3", "буртик не уже посадочной части"},
    HX_PILLAR_LEAD(7, 1, 3),
    {7,
     HX_SIZE(P[3] + 8.0),
     HX_SIZE(P[5]),
     {3, 5},
     "P3 + 8 < P5",
     "направляющая часть длиннее заходного конуса"},
    {7, HX_SIZE(P[1]), HX_SIZE(P[2] + 1e-9), {1, 2}, "P1 <= P2", "буртик не уже направляющей части"},
    HX_PILLAR_LEAD(8, 1, 2),
    {8,
     HX_SIZE(P[2] + 8.0),
     HX_SIZE(P[3]),
     {2, 3},
     "P2 + 8 < P3",
     "направляющая часть длиннее заходного конуса"},
    HX_PILLAR_LEAD(29, 1, 5),
    {29,
     HX_SIZE(P[5] + P[6] + 8.0),
     HX_SIZE(P[7]),
     {5, 6, 7},
     "P5 + P6 + 8 < P7",
     "направляющая часть длиннее заходного конуса"},
    {29, HX_SIZE(5.0), HX_SIZE(P[6]), {6}, "5 < P6", "посадочная часть длиннее своей канавки"},
    {29, HX_SIZE(P[1]), HX_SIZE(P[2] + 1e-9), {1, 2}, "P1 <= P2", "направляющая часть не шире посадочной"},
    {29, HX_SIZE(P[2]), HX_SIZE(P[3] + 1e-9), {2, 3}, "P2 <= P3", "буртик не уже посадочной части"},
    HX_PILLAR_LEAD(30, 1, 6),
    {30,
     HX_SIZE(P[6] + P[7] + 8.0),
     HX_SIZE(P[8]),
     {6, 7, 8},
     "P6 + P7 + 8 < P8",
     "направляющая часть длиннее заходного конуса"},
    {30, HX_SIZE(5.0), HX_SIZE(P[7]), {7}, "5 < P7", "посадочная часть длиннее своей канавки"},
    {30, HX_SIZE(P[1]), HX_SIZE(P[2] + 1e-9), {1, 2}, "P1 <= P2", "направляющая часть не шире посадочной"},
    {30, HX_SIZE(P[2]), HX_SIZE(P[3] + 1e-9), {2, 3}, "P2 <= P3", "буртик не уже посадочной части"},
    HX_PILLAR_LEAD(50, 3, 5),
    {50,
     HX_SIZE(P[5] + 8.0),
     HX_SIZE(P[4]),
     {5, 4},
     "P5 + 8 < P4",
     "направляющая часть длиннее заходного конуса"},
    {50, HX_SIZE(5.5), HX_SIZE(P[3]), {3}, "5,5 < P3", "посадочная часть длиннее своей канавки"},
    // The ejector pin: the head P2 over the pin P1, its height P3 and rounding P4 inside the length P5.
    {12,
     HX_SIZE(P[1] + 2.0 * P[4]),
     HX_SIZE(P[2]),
     {1, 4, 2},
     "P1 + 2·P4 < P2",
     "головка шире стержня с галтелью"},
    {12,
     HX_SIZE(P[3] + P[4]),
     HX_SIZE(P[5]),
     {3, 4, 5},
     "P3 + P4 < P5",
     "головка с галтелью короче выталкивателя"},
    // The ejector plug: the front bore P2 inside its outside P3, that inside the shoulder P1 as is the far
    // end's seat (P4 widened by its taper over P5); the seat P5 ends before the front bore's P7 - P6.
    {13, HX_SIZE(P[2]), HX_SIZE(P[3]), {2, 3}, "P2 < P3", "отверстие внутри наружной поверхности"},
    {13, HX_SIZE(P[3]), HX_SIZE(P[1]), {3, 1}, "P3 < P1", "буртик шире пробки"},
    {13,
     HX_SIZE(P[4] + 0.1224 * P[5]),
     HX_SIZE(P[1]),
     {4, 5, 1},
     "P4 + 0,12·P5 < P1",
     "посадочное отверстие внутри наружной поверхности"},
    {13, HX_SIZE(P[5]), HX_SIZE(P[6]), {5, 6}, "P5 < P6", "посадочное отверстие не заходит в переднее"},
    {13, HX_SIZE(P[6] + 1.0), HX_SIZE(P[7]), {6, 7}, "P6 + 1 < P7", "переднее отверстие короче пробки"},
    {13, HX_SIZE(9.0), HX_SIZE(P[7]), {7}, "9 < P7", "пробка длиннее своего пояска"},
    // The sprue bushes: the sprue's opening P5, and the seat sphere's edge where it has one (radius P8),
    // inside the head P2; its taper P7 (degrees) opening the sprue towards the mould.
    {14, HX_SIZE(P[5]), HX_SIZE(P[2]), {5, 2}, "P5 < P2", "литниковое отверстие внутри головки"},
    {15, HX_SIZE(P[5]), HX_SIZE(2.0 * P[8]), {5, 8}, "P5 < 2·P8", "сфера шире литникового отверстия"},
    {15,
     HX_SIZE(2.0 * SphereEdge(P)),
     HX_SIZE(P[2]),
     {5, 8, 2},
     "2·sqrt(P8·P8 - (sqrt(P8·P8 - P5·P5/4) - 1,5)^2) < P2",
     "сфера внутри головки"},
    {14, HX_SIZE(P[7]), HX_SIZE(90.0), {7}, "P7 < 90", "литниковое отверстие расширяется к форме"},
    {15, HX_SIZE(P[7]), HX_SIZE(90.0), {7}, "P7 < 90", "литниковое отверстие расширяется к форме"},
    // The ejector rod: its ends' holes P2 (drilled 1 under) inside the round P1 with its 1 mm chamfers and
    // apart along its length P7, the flats P3 wide inside the round and before the end (P6).
    {20, HX_SIZE(P[2] + 2.0), HX_SIZE(P[1]), {2, 1}, "P2 + 2 < P1", "отверстия внутри стержня"},
    {20, HX_SIZE(2.0), HX_SIZE(P[2]), {2}, "2 < P2", "отверстие шире своей фаски"},
    {20,
     HX_SIZE(P[4] + P[5] + 10.0 + (P[2] / 2 - 1.0) * 2.0 * mould::Tan30),
     HX_SIZE(P[7]),
     {4, 5, 2, 7},
     "P4 + P5 + 10 + 0,58·(P2 - 2) < P7",
     "отверстия с двух торцов не встречаются"},
    {20, HX_SIZE(P[3]), HX_SIZE(P[1]), {3, 1}, "P3 < P1", "лыски внутри окружности"},
    {20, HX_SIZE(P[6] + P[3]), HX_SIZE(P[7]), {6, 3, 7}, "P6 + P3 < P7", "лыски внутри длины"},
    // The set screw: the head P3 over the thread P1, the socket P5 (across its corners) inside the head and
    // the head P4 with its neck inside the length P2.
    {22, HX_SIZE(P[1]), HX_SIZE(P[3] + 1e-9), {1, 3}, "P1 <= P3", "головка не уже резьбы"},
    {22, HX_SIZE(2.0), HX_SIZE(P[1]), {1}, "2 < P1", "резьба шире своей фаски"},
    // The socket's corners stay inside the head, and inside its 45 degree end where that falls to the
    // thread 1 below the socket's bottom.
    {22,
     HX_SIZE(2.0 * HalfCorners * P[5]),
     HX_SIZE(std::min(P[3], P[1] + 2.0)),
     {5, 3, 1},
     "1,15·P5 < min(P3; P1 + 2)",
     "шестигранник внутри головки"},
    {22, HX_SIZE(P[4] + 3.0), HX_SIZE(P[2]), {4, 2}, "P4 + 3 < P2", "головка короче винта"},
    {22,
     HX_SIZE((P[3] - P[1]) / 2),
     HX_SIZE(P[4]),
     {3, 1, 4},
     "(P3 - P1)/2 < P4",
     "фаска головки короче головки"},
    {22, HX_SIZE(1.0), HX_SIZE(P[4]), {4}, "1 < P4", "углубление под ключ не мельче 1 мм"},
    // The stop pin: the shank P2 under the head P1, the head P4 with the groove and chamfers P5 inside P3.
    {23, HX_SIZE(P[2]), HX_SIZE(P[1]), {2, 1}, "P2 < P1", "головка шире стержня"},
    {23,
     HX_SIZE(P[4] + P[5] + 3.0),
     HX_SIZE(P[3]),
     {4, 5, 3},
     "P4 + P5 + 3 < P3",
     "головка с канавкой короче упора"},
    {23, HX_SIZE(2.0 * P[5]), HX_SIZE(P[2]), {5, 2}, "2·P5 < P2", "фаска внутри стержня"},
    {23, HX_SIZE(P[5]), HX_SIZE(P[4]), {5, 4}, "P5 < P4", "фаска короче головки"},
    {24,
     HX_SIZE(P[2] + 2.0 * mould::Tan30),
     HX_SIZE(P[1]),
     {2, 1},
     "P2 + 1,15 < P1",
     "отверстие внутри наружной поверхности"},
    {24, HX_SIZE(2.0), HX_SIZE(P[3]), {3}, "2 < P3", "втулка длиннее своих фасок"},
    // The hexagon socket set screw: its socket P2 (across the corners) inside the thread P1, as deep as it is
    // wide and shorter than the screw P4, as is its thread P3.
    {25,
     HX_SIZE(2.0 * HalfCorners * P[2]),
     HX_SIZE(P[1]),
     {2, 1},
     "1,15·P2 < P1",
     "шестигранник внутри резьбы"},
    {25, HX_SIZE(P[2]), HX_SIZE(P[4]), {2, 4}, "P2 < P4", "углубление под ключ короче винта"},
    {25, HX_SIZE(P[3]), HX_SIZE(P[4] + 1e-9), {3, 4}, "P3 <= P4", "резьба не длиннее винта"},
    // The cap screws: the head over the shank, the socket inside the head and shallower than it, the head's
    // rounding within its height and its radius (the outline would round it off to a dome).
    {26, HX_SIZE(P[1]), HX_SIZE(P[2]), {1, 2}, "P1 < P2", "головка шире стержня"},
    {26,
     HX_SIZE(2.0 * HalfCorners * P[3]),
     HX_SIZE(P[2]),
     {3, 2},
     "1,15·P3 < P2",
     "шестигранник внутри головки"},
    {26, HX_SIZE(P[5]), HX_SIZE(P[4]), {5, 4}, "P5 < P4", "углубление под ключ мельче головки"},
    {26, HX_SIZE(P[7]), HX_SIZE(P[4]), {7, 4}, "P7 < P4", "скругление головки ниже головки"},
    {26, HX_SIZE(2.0 * P[7]), HX_SIZE(P[2]), {7, 2}, "2·P7 < P2", "скругление головки внутри головки"},
    {33, HX_SIZE(P[1]), HX_SIZE(P[5]), {1, 5}, "P1 < P5", "головка шире стержня"},
    {33,
     HX_SIZE(2.0 * HalfCorners * P[7]),
     HX_SIZE(P[5]),
     {7, 5},
     "1,15·P7 < P5",
     "шестигранник внутри головки"},
    {33, HX_SIZE(P[10]), HX_SIZE(P[6]), {10, 6}, "P10 < P6", "углубление под ключ мельче головки"},
    {33, HX_SIZE(P[12]), HX_SIZE(P[6]), {12, 6}, "P12 < P6", "скругление головки ниже головки"},
    {33, HX_SIZE(2.0 * P[12]), HX_SIZE(P[5]), {12, 5}, "2·P12 < P5", "скругление головки внутри головки"},
    // The pin: its end chamfers P3 within its radius and, the two of them, its length (the outline would
    // cut them short to a point or a double cone).
    {31, HX_SIZE(2.0 * P[3]), HX_SIZE(P[1]), {3, 1}, "2·P3 < P1", "фаска внутри штифта"},
    {31, HX_SIZE(2.0 * P[3]), HX_SIZE(P[2]), {3, 2}, "2·P3 < P2", "фаски короче штифта"},
    {34, HX_SIZE(P[1]), HX_SIZE(P[5]), {1, 5}, "P1 < P5", "головка шире стержня"},
    {34, HX_SIZE(P[6]), HX_SIZE(P[2]), {6, 2}, "P6 < P2", "головка короче винта"},
    {34, HX_SIZE(3.0), HX_SIZE(P[6]), {6}, "3 < P6", "шлиц мельче головки"},
    {34, HX_SIZE(2.0), HX_SIZE(P[5]), {5}, "2 < P5", "шлиц уже головки"},
    // The screw with a cross recess: the head P5 over the thread P1, the recess P11 across inside the head
    // and shallower (P12) than it (P6), the head with its neck inside the length P2.
    {35, HX_SIZE(P[1]), HX_SIZE(P[5] + 1e-9), {1, 5}, "P1 <= P5", "головка не уже резьбы"},
    {35, HX_SIZE(2.0), HX_SIZE(P[1]), {1}, "2 < P1", "резьба шире своей фаски"},
    {35, HX_SIZE(P[11]), HX_SIZE(P[5]), {11, 5}, "P11 < P5", "шлиц внутри головки"},
    {35, HX_SIZE(2.0), HX_SIZE(P[11]), {11}, "2 < P11", "шлиц длиннее своей ширины"},
    {35, HX_SIZE(P[12]), HX_SIZE(P[6]), {12, 6}, "P12 < P6", "шлиц мельче головки"},
    {35, HX_SIZE(P[6] + 3.0), HX_SIZE(P[2]), {6, 2}, "P6 + 3 < P2", "головка короче винта"},
    {35,
     HX_SIZE((P[5] - P[1]) / 2),
     HX_SIZE(P[6]),
     {5, 1, 6},
     "(P5 - P1)/2 < P6",
     "фаска головки короче головки"},
    // The support washer: its bores P2 and P3 (with its 1 mm chamfer) inside its outside P1, the bore P2's
    // depth P4 inside its thickness P5.
    {27, HX_SIZE(P[2]), HX_SIZE(P[1]), {2, 1}, "P2 < P1", "отверстие внутри наружной поверхности"},
    {27, HX_SIZE(P[3] + 2.0), HX_SIZE(P[1]), {3, 1}, "P3 + 2 < P1", "отверстие внутри наружной поверхности"},
    {27, HX_SIZE(P[4]), HX_SIZE(P[5]), {4, 5}, "P4 < P5", "выточка мельче шайбы"},
    {27, HX_SIZE(1.0), HX_SIZE(P[5]), {5}, "1 < P5", "шайба толще своей фаски"},
    // The bolt: its head's hexagon P8 over the shank P2, its thread P3 no longer than the shank P1.
    {32, HX_SIZE(P[2]), HX_SIZE(P[8]), {2, 8}, "P2 < P8", "головка шире стержня"},
    {32, HX_SIZE(P[3]), HX_SIZE(P[1] + 1e-9), {3, 1}, "P3 <= P1", "резьба не длиннее стержня"},
    // The bars: a hexagon socket (P1 across its corners) inside the bar's radius P0 with its chamfer, and
    // the flat-sided end's width P3 inside the bar's diameter.
    {37,
     HX_SIZE(HalfCorners* P[1] + 1.0),
     HX_SIZE(P[0]),
     {0, 1},
     "0,58·P1 + 1 < P0",
     "шестигранник внутри окружности"},
    {37, HX_SIZE(2.0), HX_SIZE(P[2]), {2}, "2 < P2", "стержень длиннее своих фасок"},
    {37, HX_SIZE(1.0), HX_SIZE(P[0]), {0}, "1 < P0", "стержень шире своих фасок"},
    {38, HX_SIZE(P[3]), HX_SIZE(2.0 * P[2]), {3, 2}, "P3 < 2·P2", "лыски внутри окружности"},
    {38, HX_SIZE(2.0), HX_SIZE(P[0]), {0}, "2 < P0", "стержень длиннее своих фасок"},
    {38, HX_SIZE(1.0), HX_SIZE(P[2]), {2}, "1 < P2", "стержень шире своих фасок"},
};

#undef HX_PILLAR_LEAD
#undef HX_SIZE

// A relation a code's sizes break: the sizes it ties, written in the code's slots, and what it asks for.
struct TBroken
{
  std::array<int, 4> Slots{};
  const char* Formula = "";
  const char* Meaning = nullptr;
};

// A profile's broken relation as code writes it.
template <class TKind, std::size_t N>
TBroken ProfileBroken(int code, TKind broken, const char* meaning, const TProfileText<TKind> (&texts)[N])
{
  TBroken b;
  b.Meaning = meaning;
  for (const TProfileText<TKind>& t : texts)
    if (t.Code == code && t.Broken == broken) b.Slots = t.Slots, b.Formula = t.Formula;
  return b;
}

// The first relation of the code's outline its sizes break; none (a null Meaning) when all hold. The pairs of
// codes that build one part share the first one's relations.
TBroken BrokenRelation(int code, Sizes P)
{
  for (const auto& [alike, first] : {std::pair{4, 2}, {16, 14}, {17, 15}, {19, 18}, {51, 43}})
    if (code == alike) code = first;
  if (code == 2 || code == 10 || code == 11 || code == 43 || code == 52) {
    const mould::TBushRelation broken = mould::BushBroken(BushOf(code, P));
    return ProfileBroken(code, broken, mould::BushMeaning(broken), BushTexts);
  }
  if (code == 18 || code == 21) {
    const mould::TRingRelation broken = mould::RingBroken(RingOf(code, P));
    return ProfileBroken(code, broken, mould::RingMeaning(broken), RingTexts);
  }
  for (const TRelation& r : Relations)
    if (r.Code == code && !(r.Small(P) < r.Large(P))) return {r.Slots, r.Formula, r.Meaning};
  return {};
}

TString SizeText(double v)
{
  char text[32];
  std::snprintf(text, sizeof text, "%g", v);
  std::string t(text);
  std::replace(t.begin(), t.end(), '.', ',');
  return TString(t.c_str());
}

// "Код 2: размеры P1 = 40, P2 = 25 не дают детали: отверстие внутри наружной поверхности (P1 + 3 < P2):
// FILE".
TString RelationMessage(int code, const TBroken& r, Sizes P, const TString& file)
{
  TString text = DC(TString("Код ")) + TString(code) + TString(": ");
  for (std::size_t i = 0; i < r.Slots.size() && (i == 0 || r.Slots[i] != 0); ++i) {
    if (i != 0) text += TString(", ");
    text += TString("P") + TString(r.Slots[i]) + TString(" = ") + SizeText(P[r.Slots[i]]);
  }
  text += DC(TString(" — не выполнено условие: ")) + DC(TString(r.Meaning));
  if (*r.Formula != 0) text += TString(" (") + DC(TString(r.Formula)) + TString(")");
  text += TString(": ") + file;
  return text;
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

const char* drBaseDetailBroken(int MakeId, std::span<const double> P)
{
  // The relations read up to slot 12: the sizes are looked at padded with zeros.
  std::array<double, 16> padded{};
  std::copy_n(P.begin(), std::min(P.size(), padded.size()), padded.begin());
  return BrokenRelation(MakeId, padded.data()).Meaning;
}

bool drBaseDetailReads(int MakeId, std::size_t Slot)
{
  for (const TCodeSizes& c : SizesRead)
    if (c.Code == MakeId) return Slot < 32 && (c.Read & (1u << Slot)) != 0;
  return false;
}

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
  if (const TBroken broken = BrokenRelation(MakeId, P.data()); broken.Meaning != nullptr) {
    Messager->LiftBox(RelationMessage(MakeId, broken, P.data(), file), TMessager::toAlways);
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
  const bool turned = M.drFailures3D() == failed;
  if (row->Extra) row->Extra(M, P.data(), IsSize);
  // An element refused (its message given) leaves a part without it, and a feature the modeller could
  // not make leaves a part that is not the one asked for, as does one without a body: no file of it is
  // written. The relations above keep the table's parts clear of this; the user is told which feature.
  const bool whole = ElementRefusals() == refused;
  if (!whole || M.drFailures3D() != failed || !M.drHasBody3D()) {
    M.drDiscard3D();
    const char* feature = !turned || !row->ExtraName ? "тело вращения" : row->ExtraName;
    if (whole)
      Messager->LiftBox(DC(TString("Деталь с кодом ")) + TString(MakeId) + DC(TString(" не построена: ")) +
                            DC(TString("не выполнена операция \"")) + DC(TString(feature)) + TString("\": ") +
                            file,
                        TMessager::toAlways);
    return false;
  }
  M.drSave3D(true, false);
  if (!M.drSaved3D()) {
    Messager->LiftBox(DC(TString("Не удалось записать файл ")) + file, TMessager::toAlways);
    return false;
  }
  return true;
}
