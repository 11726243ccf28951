#pragma once
// Helpers of the curve, polyline, spline, contour and intersection tests: evaluation by value,
// stream bytes, streams of a chosen format version, and a parametric test curve that keeps the
// curve base's own bodies.
#include <cmath>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

#include "hxcadkit/core/KmfData.h"
#include "hxcadkit/geometry/Elements.h"

namespace curvetest {

using Bytes = std::vector<unsigned char>;

// The address of a temporary, valid to the end of the full expression that made it.
template <class T> const T* Tmp(const T& t)
{
  return &t;
}

inline TPoint2D At(const TCurve2D& c, Real t)
{
  TPoint2D P;
  c.PointOn(t, P);
  return P;
}

inline TPoint2D RawAt(const TCurve2D& c, Real t)
{
  TPoint2D P;
  c._PointOn(t, P);
  return P;
}

inline TVector2D Der1(const TCurve2D& c, Real t)
{
  TVector2D V;
  c.FirstDer(t, V);
  return V;
}

inline TVector2D Der2(const TCurve2D& c, Real t)
{
  TVector2D V;
  c.SecondDer(t, V);
  return V;
}

inline Real Dist(const TPoint2D& a, const TPoint2D& b)
{
  return std::hypot(a.x - b.x, a.y - b.y);
}

// A polyline through the points; by default open with one segment less than points.
inline TPolyLine Poly(const std::vector<TPoint2D>& pts, Integer segments = -1, bool closed = false)
{
  TPolyLine L;
  // Room for every point at once: the list grows by exactly what is asked, so long lists would be copied
  // at every point.
  L.Points.ReserveSize(Integer(pts.size()));
  for (const TPoint2D& p : pts)
    L.Points.Add(p);
  L.Segments = segments < 0 ? L.Points.Count - 1 : segments;
  L.Closed = closed;
  return L;
}

inline std::vector<TPoint2D> PointsOf(const TPolyLine& L)
{
  std::vector<TPoint2D> v;
  for (const TPoint2D& p : L.Points)
    v.push_back(p);
  return v;
}

inline Bytes Doubles(std::initializer_list<double> values)
{
  Bytes b;
  for (double v : values) {
    unsigned char raw[8];
    std::memcpy(raw, &v, 8);
    b.insert(b.end(), raw, raw + 8);
  }
  return b;
}

inline Bytes Ints(std::initializer_list<int> values)
{
  Bytes b;
  for (int v : values) {
    unsigned char raw[4];
    std::memcpy(raw, &v, 4);
    b.insert(b.end(), raw, raw + 4);
  }
  return b;
}

inline Bytes Cat(std::initializer_list<Bytes> parts)
{
  Bytes b;
  for (const Bytes& p : parts)
    b.insert(b.end(), p.begin(), p.end());
  return b;
}

// The data bytes (after the header) that Store puts on a memory stream.
inline Bytes Stored(const TCurve2D& c)
{
  TKmfData S;
  c.Store(S);
  Bytes all;
  S.to(all);
  return Bytes(all.begin() + KmfHeaderSize, all.end());
}

// A memory stream of the given format version holding the data bytes.
class TVersionedStream
{
public:
  TVersionedStream(const Bytes& data, int version)
  {
    TKmfData W;
    if (!data.empty()) W.BlockWrite(data.data(), unsigned(data.size()));
    Bytes all;
    W.to(all);
    std::memcpy(all.data() + 4, &version, 4);
    S.from(all);
  }
  TKmfData S;
};

template <class T> T Reloaded(const Bytes& data, int version = KmfVersion)
{
  TVersionedStream s(data, version);
  T c;
  c.Load(s.S);
  return c;
}

// A parametric curve given by a function, with the curve base's generic bodies.
class TTestCurve : public TBasePoint
{
public:
  using F = std::function<TPoint2D(Real)>;
  TTestCurve(F f, Real tmin, Real tmax, bool isClosed = false, Real length = 1)
      : Fn(std::move(f)), TMin(tmin), TMax(tmax), Closed(isClosed), Length(length)
  {
  }

  TElement IsType() const override { return tCurve2D; }
  Boolean IsClosed() const override { return Closed; }
  Real GetTMin() const override { return TMin; }
  Real GetTMax() const override { return TMax; }
  Real GetMetricLength() const override { return Length; }
  void PointOn(Real t, TPoint2D& P) const override { P = Fn(t); }
  void _PointOn(Real t, TPoint2D& P) const override { P = Fn(t); }
  void FirstDer(Real t, TVector2D& V) const override { V = D(t, 1); }
  void _FirstDer(Real t, TVector2D& V) const override { V = D(t, 1); }
  void SecondDer(Real t, TVector2D& V) const override { V = D(t, 2); }
  void _SecondDer(Real t, TVector2D& V) const override { V = D(t, 2); }
  void ThirdDer(Real t, TVector2D& V) const override { V = D(t, 3); }
  void _ThirdDer(Real t, TVector2D& V) const override { V = D(t, 3); }
  TTestCurve* Duplicate() const override { return new TTestCurve(*this); }

private:
  // Derivatives by central differences of a smooth function.
  TVector2D D(Real t, int order) const
  {
    const Real h = 1e-3;
    auto d1 = [&](Real u) {
      TPoint2D a = Fn(u - h), b = Fn(u + h);
      return TVector2D((b.x - a.x) / (2 * h), (b.y - a.y) / (2 * h));
    };
    if (order == 1) return d1(t);
    auto d2 = [&](Real u) {
      TVector2D a = d1(u - h), b = d1(u + h);
      return TVector2D((b.x - a.x) / (2 * h), (b.y - a.y) / (2 * h));
    };
    if (order == 2) return d2(t);
    TVector2D a = d2(t - h), b = d2(t + h);
    return TVector2D((b.x - a.x) / (2 * h), (b.y - a.y) / (2 * h));
  }

  F Fn;
  Real TMin, TMax;
  bool Closed;
  Real Length;
};

} // namespace curvetest
