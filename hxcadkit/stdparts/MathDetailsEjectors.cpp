// Records, previews and extents of the ejectors, plugs, rings, washers, shanks and their kin.
// Each record is Design and Code followed by the sizes as raw doubles in the class's own order;
// a reader takes exactly what its writer wrote, but for the fields that older streams lack.
#include <algorithm>
#include <cmath>

#include "hxcadkit/geometry/GImage.h"
#include "hxcadkit/stdparts/MathDetailsl.h"

namespace {

// A count of positions read from a stream, within the five angles held.
int Positions(Integer count)
{
  return std::clamp<Integer>(count, 0, 5);
}

// Circles of radius r on the circle R about the origin at the angles a[0..n-1], in degrees.
void ShowOnCircle(TGImage& G, int n, const Real* a, Real R, Real r)
{
  for (int i = 0; i < n; ++i) {
    const double t = a[i] * 0.017453292519943295;
    G.drCircle(R * std::cos(t), R * std::sin(t), r);
  }
}

} // namespace

// --- TBackEjector ------------------------------------------------------------------------------

TBackEjector::TBackEjector(int iId, TModeler3D* M, TConstruktor& C, int iId2)
    : TDetail(iId, M, nullptr, iId2, &C), TRect2D(0.0, 0.0, 0.0, 0.0)
{
}


void TBackEjector::Show(TGImage& G, const TColor& Color) const
{
  if (!Design) return;
  G.drColorStyle(Color, psSolid);
  G.drCircle(LD.x, RU.y, Radius);
  G.drCircle(LD.x, LD.y, Radius);
  G.drCircle(RU.x, RU.y, Radius);
  G.drCircle(RU.x, LD.y, Radius);
}

void TBackEjector::AddGabIn(TRect2D& G, const Real& d) const
{
  if (!Design) return;
  const Real e = Radius + d;
  G.LD.x = std::min(G.LD.x, LD.x - e);
  G.LD.y = std::min(G.LD.y, LD.y - e);
  G.RU.x = std::max(G.RU.x, RU.x + e);
  G.RU.y = std::max(G.RU.y, RU.y + e);
}

void TBackEjector::toStream(TKmfData& S) const
{
  mould::WriteHead(S, *this);
  mould::Write(
      S, {LD.x, RU.x, RU.y, LD.y, Radius, CollarHeight, CollarRadius, FitRadius, FitLen, Len, LenOpora});
}

void TBackEjector::fromStream(TKmfData& S)
{
  mould::ReadHead(S, *this);
  mould::Read(S,
              {&LD.x, &RU.x, &RU.y, &LD.y, &Radius, &CollarHeight, &CollarRadius, &FitRadius, &FitLen, &Len});
  if (S.Version() >= 92)
    S.Read(LenOpora);
  else
    LenOpora = 20.0;
}

// --- TDirectColumn -----------------------------------------------------------------------------

TDirectColumn::TDirectColumn(int kind, TModeler3D* M, TConstruktor& C) : TDetail(kind, M, C) {}

void TDirectColumn::toStream(TKmfData& S) const
{
  mould::WriteHead(S, *this);
  mould::Write(S, {Radius, TailRadius, TailLen, Len, SupportLen});
}

void TDirectColumn::fromStream(TKmfData& S)
{
  mould::ReadHead(S, *this);
  mould::Read(S, {&Radius, &TailRadius, &TailLen, &Len});
  if (S.Version() >= 93)
    S.Read(SupportLen);
  else
    SupportLen = Len - 2.0 * TailLen;
}

// --- TWasherEjectorChannel ---------------------------------------------------------------------

TWasherEjectorChannel::TWasherEjectorChannel(int kind, TModeler3D* M, TConstruktor& C) : TDetail(kind, M, C)
{
}

void TWasherEjectorChannel::toStream(TKmfData& S) const
{
  mould::WriteHead(S, *this);
  mould::Write(S, {Height, Radius});
}

void TWasherEjectorChannel::fromStream(TKmfData& S)
{
  mould::ReadHead(S, *this);
  mould::Read(S, {&Height, &Radius});
}

// --- TMTail ------------------------------------------------------------------------------------

TMTail::TMTail(int kind, TModeler3D* M, TConstruktor& C) : TDetail(kind, M, C) {}

void TMTail::toStream(TKmfData& S) const
{
  mould::WriteHead(S, *this);
  mould::Write(S, {Radius, Len, ThreadLen, ThreadRadius, ThreadStep, CollarHeight, CollarRadius});
}

void TMTail::fromStream(TKmfData& S)
{
  mould::ReadHead(S, *this);
  mould::Read(S, {&Radius, &Len, &ThreadLen, &ThreadRadius, &ThreadStep, &CollarHeight, &CollarRadius});
}

// --- TEjectorChannel ---------------------------------------------------------------------------

TEjectorChannel::TEjectorChannel(int kind, TModeler3D* M, TConstruktor& C, TEjectorPlug* EP)
    : TDetail(kind, M, C)
{
  Complement = EP;
}

void TEjectorChannel::toStream(TKmfData& S) const
{
  mould::WriteHead(S, *this);
  mould::Write(S, {Radius, Len, FreeRadius, SpringRadius, SpringLen, FitRadius, FitLen, CollarRadius,
                   CollarHeight, GradeLen, GradeHeight});
}

void TEjectorChannel::fromStream(TKmfData& S)
{
  mould::ReadHead(S, *this);
  mould::Read(S, {&Radius, &Len, &FreeRadius, &SpringRadius, &SpringLen, &FitRadius, &FitLen, &CollarRadius,
                  &CollarHeight, &GradeLen, &GradeHeight});
}

// --- TEjectorPlug ------------------------------------------------------------------------------

TEjectorPlug::TEjectorPlug(int kind, TModeler3D* M, TConstruktor& C) : TDetail(kind, M, C) {}

void TEjectorPlug::toStream(TKmfData& S) const
{
  mould::WriteHead(S, *this);
  mould::Write(S, {Radius, Len, ConeLen, CollarHeight, CollarRadius, ECRadius, EC2Radius, EC2Len});
}

void TEjectorPlug::fromStream(TKmfData& S)
{
  mould::ReadHead(S, *this);
  mould::Read(S, {&Radius, &Len, &ConeLen, &CollarHeight, &CollarRadius, &ECRadius, &EC2Radius, &EC2Len});
}

// --- TTubeDowel --------------------------------------------------------------------------------

TTubeDowel::TTubeDowel(int kind, TModeler3D* M, TConstruktor& C) : TDetail(kind, M, C) {}
void TTubeDowel::dr3D(int) const {}
void TTubeDowel::dr2D() const {}

void TTubeDowel::toStream(TKmfData& S) const
{
  mould::WriteHead(S, *this);
  mould::Write(S, {Radius, Len, ECRadius});
}

void TTubeDowel::fromStream(TKmfData& S)
{
  mould::ReadHead(S, *this);
  mould::Read(S, {&Radius, &Len, &ECRadius});
}

// --- TInjectPlug -------------------------------------------------------------------------------

TInjectPlug::TInjectPlug(int kind, TModeler3D* M, TConstruktor& C) : TDetail(kind, M, C) {}

void TInjectPlug::toStream(TKmfData& S) const
{
  mould::WriteHead(S, *this);
  mould::Write(S, {FitLen, Len, SphereRadius, SphereLen, MFitRadius, BFitRadius, TPARadius, CollarHeight,
                   CollarRadius, LenDelta});
}

void TInjectPlug::fromStream(TKmfData& S)
{
  mould::ReadHead(S, *this);
  mould::Read(S, {&FitLen, &Len, &SphereRadius, &SphereLen, &MFitRadius, &BFitRadius, &TPARadius,
                  &CollarHeight, &CollarRadius});
  if (S.Version() >= 17)
    S.Read(LenDelta);
  else
    LenDelta = 0.0;
}

// --- TSupportWasher ----------------------------------------------------------------------------

TSupportWasher::TSupportWasher(int kind, TModeler3D* M, TConstruktor* C) : TDetail(kind, M, C) {}

void TSupportWasher::toStream(TKmfData& S) const
{
  mould::WriteHead(S, *this);
  mould::Write(S, {Len, Radius, CollarRadius, CollarHeight, BoltHeadLen, BoltHeadRadius, BoltRadius});
}

void TSupportWasher::fromStream(TKmfData& S)
{
  mould::ReadHead(S, *this);
  mould::Read(S, {&Len, &Radius, &CollarRadius, &CollarHeight, &BoltHeadLen, &BoltHeadRadius, &BoltRadius});
}

// --- TReTraction -------------------------------------------------------------------------------

TReTraction::TReTraction(int kind, TModeler3D* M, TConstruktor& C) : TDetail(kind, M, C) {}

void TReTraction::Show(TGImage& G, const TColor&) const
{
  if (!Design) return;
  G.drCircle(0.0, 0.0, Radius);
  G.drCircle(0.0, 0.0, CollarRadius);
}

void TReTraction::toStream(TKmfData& S) const
{
  mould::WriteHead(S, *this);
  mould::Write(S, {Radius, Len, FitLen, Fit2Len, CollarHeight, CollarRadius});
}

void TReTraction::fromStream(TKmfData& S)
{
  mould::ReadHead(S, *this);
  mould::Read(S, {&Radius, &Len, &FitLen, &Fit2Len, &CollarHeight, &CollarRadius});
}

// --- TProtectSupport ---------------------------------------------------------------------------

TProtectSupport::TProtectSupport(int kind, TModeler3D* M, TConstruktor& C) : TDetail(kind, M, C) {}
void TProtectSupport::Show(TGImage&, const TColor&) const {}

void TProtectSupport::toStream(TKmfData& S) const
{
  mould::WriteHead(S, *this);
  mould::Write(S, {ThreadLen, Len, ThreadRadius, Radius, Key, LenToKey});
}

void TProtectSupport::fromStream(TKmfData& S)
{
  mould::ReadHead(S, *this);
  mould::Read(S, {&ThreadLen, &Len, &ThreadRadius, &Radius, &Key, &LenToKey});
}

// --- TRepairBolt -------------------------------------------------------------------------------

TRepairBolt::TRepairBolt(int kind, TModeler3D* M, TConstruktor& C) : TDetail(kind, M, C) {}
void TRepairBolt::dr3D(int) const {}
void TRepairBolt::dr2D() const {}
void TRepairBolt::Show(TGImage&, const TColor&) const {}

void TRepairBolt::toStream(TKmfData& S) const
{
  S.Write(Design);
  mould::Write(S, {X, Depth, Len, Radius, UpperLen, UpperRadius});
}

void TRepairBolt::fromStream(TKmfData& S)
{
  S.Read(Design);
  mould::Read(S, {&X, &Depth, &Len, &Radius, &UpperLen, &UpperRadius});
}

// --- TColumnTail -------------------------------------------------------------------------------

TColumnTail::TColumnTail(int kind, TModeler3D* M, TConstruktor& C) : TDetail(kind, M, C) {}

int TColumnTail::Positions() const
{
  return ::Positions(Count);
}

void TColumnTail::Show(TGImage& G, const TColor& Color) const
{
  if (!Design) return;
  G.drColorStyle(Color, psSolid);
  ShowOnCircle(G, Positions(), Angle, PlaceRadius, Radius);
}

void TColumnTail::toStream(TKmfData& S) const
{
  mould::WriteHead(S, *this);
  S.Write(Count);
  mould::Write(S, {PlaceRadius, Angle[0], Angle[1], Angle[2], Angle[3], Angle[4], Radius, Key, Len, ThreadLen,
                   ThreadRadius});
}

void TColumnTail::fromStream(TKmfData& S)
{
  mould::ReadHead(S, *this);
  S.Read(Count);
  mould::Read(S, {&PlaceRadius, &Angle[0], &Angle[1], &Angle[2], &Angle[3], &Angle[4], &Radius, &Key, &Len,
                  &ThreadLen, &ThreadRadius});
}

// --- TCirclePlane ------------------------------------------------------------------------------

TCirclePlane::TCirclePlane(int kind, TModeler3D* M, TConstruktor& C, const TDetail* ColumnTail,
                           const TDetail* MTail)
    : TDetail(kind, M, C)
{
  Complement = ColumnTail;
  Complement2 = MTail;
}
void TCirclePlane::Show(TGImage&, const TColor&) const {}

void TCirclePlane::toStream(TKmfData& S) const
{
  mould::WriteHead(S, *this);
  mould::Write(S, {Thickness, Radius, BoltRadius, BoltHeadRadius, BoltHeadLen});
}

void TCirclePlane::fromStream(TKmfData& S)
{
  mould::ReadHead(S, *this);
  mould::Read(S, {&Thickness, &Radius, &BoltRadius, &BoltHeadRadius, &BoltHeadLen});
}

// --- TLocatingRing -----------------------------------------------------------------------------

TLocatingRing::TLocatingRing(int iId, int iId2, TModeler3D* M, TConstruktor* C, TColumnTail* CT)
    : TDetail(iId, M, nullptr, iId2, C)
{
  Complement = CT;
}

int TLocatingRing::FixPositions() const
{
  return ::Positions(CountFix);
}

void TLocatingRing::Show(TGImage& G, const TColor& Color) const
{
  if (!Design) return;
  G.drColorStyle(Color, psSolid);
  ShowOnCircle(G, FixPositions(), FixAngle, FixRadius, FixBoltRadius);
}

void TLocatingRing::toStream(TKmfData& S) const
{
  mould::WriteHead(S, *this);
  mould::Write(S, {Thickness, Radius, BaseRadius, BaseThickness, InRadius, InThickness, InAngle, FixRadius,
                   PinRadius, PinAngle, FixBoltRadius, FixBoltHeadRadius, FixBoltHeadLen});
  S.Write(CountFix);
  mould::Write(S, {FixAngle[0], FixAngle[1], FixAngle[2], FixAngle[3], FixAngle[4]});
}

void TLocatingRing::fromStream(TKmfData& S)
{
  mould::ReadHead(S, *this);
  mould::Read(S, {&Thickness, &Radius, &BaseRadius, &BaseThickness, &InRadius, &InThickness, &InAngle,
                  &FixRadius, &PinRadius, &PinAngle, &FixBoltRadius, &FixBoltHeadRadius, &FixBoltHeadLen});
  S.Read(CountFix);
  mould::Read(S, {&FixAngle[0], &FixAngle[1], &FixAngle[2], &FixAngle[3], &FixAngle[4]});
}

// --- TEjectorPin -------------------------------------------------------------------------------

TEjectorPin::TEjectorPin(TModeler3D* M, TConstruktor& C) : TDetail(0, M, C) {}
void TEjectorPin::dr3D(int) const {}
void TEjectorPin::dr2D() const {}

void TEjectorPin::toStream(TKmfData& S) const
{
  mould::WriteHead(S, *this);
  mould::Write(S, {d, D, k, R, Len});
}

void TEjectorPin::fromStream(TKmfData& S)
{
  mould::ReadHead(S, *this);
  mould::Read(S, {&d, &D, &k, &R, &Len});
}
