// The pin, the cap screw and the set screw's hexagon socket.
#include "hxcadkit/drawing/MathDetails.h"
#include "hxcadkit/drawing/drNodeCont.h"
#include "hxcadkit/stdparts/MathDetailsl.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr int VersionPinLen = 35;
} // namespace

// ---------------------------------------------------------------------------------------------
// TPin

TPin::TPin(int kind, TModeler3D* M, TConstruktor*) : TDetail(kind, M, nullptr), TRect2D(0.0, 0.0, 0.0, 0.0) {}

TPin& TPin::operator=(const TPin& o)
{
  if (this == &o) return *this;
  LD = o.LD;
  RU = o.RU;
  Radius = o.Radius;
  Len = o.Len;
  Code = o.Code;
  Design = o.Design;
  return *this;
}

int TPin::Set(int DetId, const Real& R, const Real& L)
{
  if (DetId != Table) return 0;
  const int row = mould::FindRow(Table, 1, 2.0 * R, 2, L);
  if (row != 0) {
    Radius = mould::Col(Table, row, 1) * 0.5;
    Len = mould::Col(Table, row, 2);
  }
  mould::Chosen(*this, Table, row);
  return row;
}

void TPin::Show(TGImage& GI, const TColor& Color) const
{
  mould::ShowCorners(*this, GI, Color, *this, Radius);
}

void TPin::dr3D(int) const
{
  if (!M2.Ptr ||
      mould::RefuseSizes("штифт",
                         mould::Positive({Radius, Len}) ? nullptr : "размеры должны быть положительными"))
    return;
  const TMouldBuildMark mark = drMouldBuildMark(M());
  if (!mould::OpenPart(*this, txapi::o3d_planeYOZ)) return;
  TModeler3D& Md = M();
  // The end chamfer of the pin's diameter in its table; a diameter the table lacks keeps 1 mm.
  const double chamfer = mould::ColOfSize(Table, 1, 2.0 * Radius, 3, 1.0);
  TCommonGeometry(0, &Md).dr2D_Shtift_V1(0.0, 0.0, 0.0, 1.0, Radius, Len, 0, false, chamfer);
  Md.drBaseRotate(0, 360.0);
  if (drMouldDiscardFailed(Md, mark)) return;
  mould::Grey(Md);
  const TString name = TString("Штифт ") + mould::Num(2 * Radius) + TString("m6*") + mould::Num(Len) +
                       TString(" ГОСТ 3128-70");
  Md.drSet(name, TString(), TString(), 25);
  const TString file = Md.drFileName3D();
  Md.drSave3D(true, false);
  drMouldSaved(Md, file);
}

void TPin::toStream(TKmfData& S) const
{
  mould::WriteHead(S, *this);
  mould::Write(S, {RU.x, RU.y, LD.x, LD.y, Radius, Len});
}

void TPin::fromStream(TKmfData& S)
{
  mould::ReadHead(S, *this);
  mould::Read(S, {&RU.x, &RU.y, &LD.x, &LD.y, &Radius});
  Len = 0.0;
  if (S.Version() >= VersionPinLen) mould::Read(S, {&Len});
}

// ---------------------------------------------------------------------------------------------
// TScrew

TScrew::TScrew(int kind, TModeler3D* M, TConstruktor* C) : TDetail(kind, M, C), TRect2D(0.0, 0.0, 0.0, 0.0) {}

TScrew& TScrew::operator=(const TScrew& o)
{
  if (this == &o) return *this;
  LD = o.LD;
  RU = o.RU;
  Radius = o.Radius;
  HeadRadius = o.HeadRadius;
  HeadLen = o.HeadLen;
  Len = o.Len;
  return *this;
}

int TScrew::Set(int DetId, const Real& R, const Real& T)
{
  int row = 0;
  if (DetId == Table) {
    row = mould::FindRow(Table, Zn(R), 2.0 * std::fabs(R), 2 * Zn(T), std::fabs(T));
    if (row != 0) {
      Radius = mould::Col(Table, row, 1) * 0.5;
      HeadRadius = mould::Col(Table, row, 5) * 0.5;
      HeadLen = mould::Col(Table, row, 6);
      Len = mould::Col(Table, row, 2) + HeadLen;
    }
  } else if (DetId == Table2) {
    row = mould::FindRow(Table2, 1, 2.0 * R, 8, T);
    if (row != 0) {
      Radius = mould::Col(Table2, row, 1) * 0.5;
      HeadRadius = mould::Col(Table2, row, 2) * 0.5;
      HeadLen = mould::Col(Table2, row, 4);
      // The table's length is under the head, as table 33's.
      Len = mould::Col(Table2, row, 8) + HeadLen;
    }
  } else {
    return 0;
  }
  mould::Chosen(*this, DetId, row);
  return row;
}

void TScrew::Show(TGImage& GI, const TColor& Color) const
{
  mould::ShowCorners(*this, GI, Color, *this, Radius);
}

namespace {

// The socket of the screw's thread in the standard's table (across flats, depth); a thread the table
// lacks keeps proportions of the head.
struct TCapScrewSocket
{
  double Across, Depth;
};

TCapScrewSocket SocketOf(const TScrew& s)
{
  return {mould::ColOfSize(s.Table, 1, 2.0 * s.Radius, 7, 0.6 * s.HeadLen),
          mould::ColOfSize(s.Table, 1, 2.0 * s.Radius, 10, 2 * s.HeadLen / 3)};
}

// Why no sound cap screw can be made of s's sizes, or null: a head wider than the shank and shorter
// than the screw, its socket (the table's for the thread) inside the head's round and depth.
const char* CapScrewFault(const TScrew& s)
{
  if (!mould::Positive({s.Radius, s.HeadRadius, s.HeadLen, s.Len}))
    return "размеры должны быть положительными";
  if (s.HeadRadius <= s.Radius) return "головка не шире стержня";
  if (s.HeadLen >= s.Len) return "головка длиннее винта";
  const TCapScrewSocket socket = SocketOf(s);
  if (socket.Across * mould::Tan30 >= s.HeadRadius) return "шестигранник выходит за головку";
  if (socket.Depth >= s.HeadLen) return "углубление под ключ глубже головки";
  return nullptr;
}

} // namespace

void TScrew::dr3D(int) const
{
  if (!M2.Ptr || mould::RefuseSizes("винт", CapScrewFault(*this))) return;
  const TMouldBuildMark mark = drMouldBuildMark(M());
  if (!mould::OpenPart(*this, txapi::o3d_planeYOZ)) return;
  TModeler3D& Md = M();
  const auto [across, depth] = SocketOf(*this);
  TCommonGeometry(0, &Md).dr2D_SocketHeadCapScrew_V1(-HeadLen, 0.0, 0.0, 1.0, Radius, HeadRadius, across,
                                                     HeadLen, depth, Len, std::min(20.0, Len), 0.25, 0, false);
  Md.drBaseRotate(0, 360.0);
  Md.drPlaneEskis(txapi::o3d_planeXOY, HeadLen, 0.0, TString());
  TSetScrew(0, &Md, TConstruktor::Empty()).drHexAngle(across, 1);
  Md.drCutExtrusion(txapi::dtReverse, txapi::etBlind, depth, 0.0);
  if (drMouldDiscardFailed(Md, mark)) return;
  mould::Grey(Md);
  // A screw is named by its length under the head.
  const double shank = Len - HeadLen;
  const TString name =
      TString("Винт М") + mould::Num(2 * Radius) + TString("*") + mould::Num(shank) + TString(" ГОСТ7805-70");
  const TString marking =
      TString("SM-") + TString(mould::ToInt(2 * Radius), 2) + TString(mould::ToInt(shank), 2);
  Md.drSet(name, TString(), marking, 25);
  const TString file = Md.drFileName3D();
  Md.drSave3D(true, false);
  drMouldSaved(Md, file);
}

void TScrew::toStream(TKmfData& S) const
{
  mould::WriteHead(S, *this);
  mould::Write(S, {RU.x, RU.y, LD.x, LD.y, Radius, HeadRadius, HeadLen, Len});
}

void TScrew::fromStream(TKmfData& S)
{
  mould::ReadHead(S, *this);
  mould::Read(S, {&RU.x, &RU.y, &LD.x, &LD.y, &Radius, &HeadRadius, &HeadLen, &Len});
}

// ---------------------------------------------------------------------------------------------
// TSetScrew

TSetScrew::TSetScrew(int kind, TModeler3D* M, TConstruktor& C) : TDetail(kind, M, C) {}

void TSetScrew::drHexAngle(const Real& S, int tl) const
{
  const double h = S / 2.0, R = h / 0.8660254037844387, a = 0.5773502691896257 * h;
  TContDrawing c(&M());
  c.Make(0.0, R, dP(h, a, dP(h, -a, dP(0.0, -R, dP(-h, -a, dP(-h, a, dP(0.0, R)))))));
  c.dr2D(tl);
}

void TSetScrew::toStream(TKmfData& St) const
{
  mould::WriteHead(St, *this);
  mould::Write(St, {r, R, L, K, S});
}

void TSetScrew::fromStream(TKmfData& St)
{
  mould::ReadHead(St, *this);
  mould::Read(St, {&r, &R, &L, &K, &S});
}
