#include "hxcadkit/geometry/Protector.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <system_error>
#include <thread>

#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/Messager.h"
#include "hxcadkit/core/TDebug.h"

std::atomic<bool> ResultOk{true};

namespace {

// ResultOk is one flag for the whole process, so rectangle searches take turns.
std::mutex SearchLock;

// Grid values beyond this no longer move by a step of 1, and a loop over them would not end.
constexpr double GridLimit = 1e15;

bool OnGrid(std::initializer_list<double> values)
{
  for (const double v : values)
    if (!(std::fabs(v) <= GridLimit)) return false;
  return true;
}

void Trace(const char8_t* text)
{
  const TDebug D;
  if (D.Data->Level > 0) D.Output(DC(TString(text)));
}

enum class TVerdict { Clear, Hit, Cut };

// The zone test: the first zone whose box meets the candidate's box and whose contour finds
// the candidate decides. With watch set the test gives up (Cut) once ResultOk is cleared.
template <class ZoneAt, class Found>
TVerdict ZoneTest(std::size_t n, ZoneAt zoneAt, const TRect2D& box, Found found, bool watch)
{
  for (std::size_t i = 0; i < n; ++i) {
    if (watch && !ResultOk.load()) return TVerdict::Cut;
    const TRect2D* zoneBox = nullptr;
    const TContour* zone = zoneAt(i, zoneBox);
    if (!zone || !zoneBox->InterSect(box)) continue;
    if (found(*zone)) return TVerdict::Hit;
  }
  return TVerdict::Clear;
}

TRect2D CircleBox(double X, double Y, double R)
{
  return TRect2D(X - R, Y - R, X + R, Y + R);
}

} // namespace

// --- Zones ---------------------------------------------------------------------------------

TProtector::~TProtector()
{
  Clear();
}

void TProtector::AddProtectContour(TContour* Cont)
{
  // A refused contour stays the caller's.
  if (!Cont || Cont->Count < 1) return;
  TProtectContour z;
  z.Typ = 1;
  z.Cont = Cont;
  Add(z);
  Cont->Refresh();
  Cont->Calculate();
}

TContour* TProtector::BeginProtectContour()
{
  EndProtectContour();
  TProtectContour z;
  z.Typ = 1;
  z.Cont = new TContour;
  Add(z);
  z.Cont->Refresh();
  z.Cont->Calculate();
  return z.Cont;
}

void TProtector::EndProtectContour()
{
  if (Count < 1 || !Last().Cont) return;
  Last().Cont->Refresh();
  Last().Cont->Calculate();
}

void TProtector::Clear()
{
  for (Integer i = 0; i < Count; ++i) {
    delete FArray[i].Cont;
    FArray[i].Cont = nullptr;
  }
  TArrayOf<TProtectContour>::Clear();
}

// --- Tests ---------------------------------------------------------------------------------

Boolean TProtector::Admissible(const TContour& C) const
{
  TRect2D box;
  C.Rect(box);
  const auto zoneAt = [this](std::size_t i, const TRect2D*& b) -> const TContour* {
    const TContour* z = FArray[i].Cont;
    if (z) b = &z->Gabaryt;
    return z;
  };
  return ZoneTest(
             std::size_t(std::max<Integer>(Count, 0)), zoneAt, box,
             [&C](const TContour& z) { return z.Found(C); }, false) == TVerdict::Clear;
}

Boolean TProtector::Admissible(double X, double Y, double R) const
{
  TCircle circle(X, Y, R);
  circle.Gabaryt = CircleBox(X, Y, R);
  const auto zoneAt = [this](std::size_t i, const TRect2D*& b) -> const TContour* {
    const TContour* z = FArray[i].Cont;
    if (z) b = &z->Gabaryt;
    return z;
  };
  return ZoneTest(
             std::size_t(std::max<Integer>(Count, 0)), zoneAt, circle.Gabaryt,
             [&circle](const TContour& z) { return z.Found(&circle) != 0; }, false) == TVerdict::Clear;
}

void TProtector::GabaritProtect(TRect2D& G) const
{
  G = TRect2D(0, 0, 0, 0);
  if (Count < 1) return;
  if (FArray[0].Cont) G = FArray[0].Cont->Gabaryt;
  for (Integer i = 1; i < Count; ++i) {
    const TContour* c = FArray[i].Cont;
    if (!c || c->Count < 1) continue;
    G.LD.x = std::min(G.LD.x, c->Gabaryt.LD.x);
    G.LD.y = std::min(G.LD.y, c->Gabaryt.LD.y);
    G.RU.x = std::max(G.RU.x, c->Gabaryt.RU.x);
    G.RU.y = std::max(G.RU.y, c->Gabaryt.RU.y);
  }
}

// --- Workers -------------------------------------------------------------------------------

TFThreadAdmissibleParam::TFThreadAdmissibleParam(const TProtector& P) : Protector(P)
{
  const Integer n = std::max<Integer>(P.Count, 0);
  Boxes.reserve(std::size_t(n));
  Zones.reserve(std::size_t(n));
  for (Integer i = 0; i < n; ++i) {
    const TContour* z = P[i].Cont;
    Boxes.push_back(z ? z->Gabaryt : TRect2D(0, 0, 0, 0));
    if (!z) {
      Zones.emplace_back();
      continue;
    }
    auto copy = std::make_unique<TContour>();
    *copy = *z;
    Zones.push_back(std::move(copy));
  }
}

TFThreadAdmissibleParam::~TFThreadAdmissibleParam() = default;

void TFThreadAdmissibleParam::NotifyInput(double X, double Y, double R)
{
  {
    std::unique_lock<std::mutex> lock(mtx);
    cv.wait(lock, [this] { return !dataReady; });
    C.x = X;
    C.y = Y;
    C.Radius = R;
    C.Refresh();
    C.Gabaryt = CircleBox(X, Y, R);
    Result = false;
    Decided = false;
    dataReady = true;
  }
  cv.notify_all();
}

void TFThreadAdmissibleParam::NotifyResult()
{
  std::unique_lock<std::mutex> lock(mtx);
  cv.wait(lock, [this] { return !dataReady; });
}

void TFThreadAdmissibleParam::NotifyStop()
{
  {
    std::lock_guard<std::mutex> lock(mtx);
    Stop = true;
  }
  cv.notify_all();
}

void TFThreadAdmissible(TFThreadAdmissibleParam& P)
{
  std::unique_lock<std::mutex> lock(P.mtx);
  for (;;) {
    P.cv.wait(lock, [&P] { return P.dataReady || P.Stop; });
    if (P.Stop) return;
    lock.unlock();
    // The circle is this worker's until it reports: the caller waits for the report before
    // handing over the next one.
    TVerdict v = TVerdict::Cut;
    if (ResultOk.load()) {
      const auto zoneAt = [&P](std::size_t i, const TRect2D*& b) -> const TContour* {
        b = &P.Boxes[i];
        return P.Zones[i].get();
      };
      v = ZoneTest(
          P.Zones.size(), zoneAt, P.C.Gabaryt, [&P](const TContour& z) { return z.Found(&P.C) != 0; }, true);
      if (v == TVerdict::Hit) ResultOk.exchange(false);
    }
    lock.lock();
    P.Result = v == TVerdict::Clear;
    P.Decided = v != TVerdict::Cut;
    P.dataReady = false;
    P.cv.notify_all();
  }
}

namespace {

// The four workers of one rectangle search; every started thread is stopped and joined when
// the crew goes, whatever way the search ends.
struct TCrew
{
  std::array<std::unique_ptr<TFThreadAdmissibleParam>, 4> Mail;
  std::array<std::thread, 4> Threads;

  bool Start(const TProtector& P)
  {
    try {
      for (std::size_t k = 0; k < Mail.size(); ++k) {
        Mail[k] = std::make_unique<TFThreadAdmissibleParam>(P);
        Threads[k] = std::thread(TFThreadAdmissible, std::ref(*Mail[k]));
      }
    } catch (const std::system_error&) {
      return false;
    }
    return true;
  }

  ~TCrew()
  {
    for (std::size_t k = 0; k < Threads.size(); ++k) {
      if (!Threads[k].joinable()) continue;
      Mail[k]->NotifyStop();
      Threads[k].join();
    }
  }
};

} // namespace

// --- Rectangle search ----------------------------------------------------------------------

Boolean TProtector::PlaceByRectAngle(const TRect2D& iO, double Radius, const TRect2D& PA, double& Xl,
                                     double& Yd, double& Xr, double& Yu, int Step, bool Opt) const
{
  Trace(Opt ? u8" Розміщаємо прямокутником" : u8"Оптимізуємо розміщення прямокутником");
  // A step below 1 would leave the grid where it is and the search would never end.
  if (Step < 1) return false;
  const double s = Step;
  const TRect2D B(MinDivisible(iO.LD.x + Radius, s), MinDivisible(iO.LD.y + Radius, s),
                  MaxDivisible(iO.RU.x - Radius, s), MaxDivisible(iO.RU.y - Radius, s));
  const TRect2D P(MinDivisible(PA.LD.x, s), MinDivisible(PA.LD.y, s), MaxDivisible(PA.RU.x, s),
                  MaxDivisible(PA.RU.y, s));
  if (!OnGrid({B.LD.x, B.LD.y, B.RU.x, B.RU.y, P.LD.x, P.LD.y, P.RU.x, P.RU.y})) return false;
  TRect2D A(std::min(B.LD.x, P.LD.x), std::min(B.LD.y, P.LD.y), std::max(B.RU.x, P.RU.x),
            std::max(B.RU.y, P.RU.y));

  std::lock_guard<std::mutex> turn(SearchLock);
  TCrew crew;
  if (!crew.Start(*this)) return false;
  TFThreadAdmissibleParam& w1 = *crew.Mail[0]; // (Xr, Yu)
  TFThreadAdmissibleParam& w2 = *crew.Mail[1]; // (Xr, Yd)
  TFThreadAdmissibleParam& w3 = *crew.Mail[2]; // (Xl, Yu)
  TFThreadAdmissibleParam& w4 = *crew.Mail[3]; // (Xl, Yd)

  double best = (B.RU.y - B.LD.y) * (B.RU.x - B.LD.x);
  double own = 0;
  int widen = 0;
  double kXl = 0, kYd = 0, kXr = 0, kYu = 0;
  for (double xr = P.RU.x; xr <= A.RU.x;) {
    for (double yu = P.RU.y; yu <= A.RU.y; yu += s) {
      bool need1 = true; // corner (xr, yu) not decided yet
      for (double yd = P.LD.y; yd >= A.LD.y; yd -= s) {
        bool need2 = true;
        for (double xl = P.LD.x; xl >= A.LD.x; xl -= s) {
          // Every candidate starts clean; the right-hand corners keep the verdicts they got
          // for this column and row, so a blocked corner rules out only its own candidates.
          ResultOk = (need1 || w1.Result) && (need2 || w2.Result);
          if (!ResultOk) continue;
          if (need1) w1.NotifyInput(xr, yu, Radius);
          if (need2) w2.NotifyInput(xr, yd, Radius);
          w3.NotifyInput(xl, yu, Radius);
          w4.NotifyInput(xl, yd, Radius);
          w1.NotifyResult();
          w2.NotifyResult();
          w3.NotifyResult();
          w4.NotifyResult();
          // A test cut short by another corner's hit is asked again with the next candidate.
          if (need1 && w1.Decided) need1 = false;
          if (need2 && w2.Decided) need2 = false;
          if (!ResultOk) continue;
          const double area =
              (std::max(xr, B.RU.x) - std::min(xl, B.LD.x)) * (std::max(yu, B.RU.y) - std::min(yd, B.LD.y));
          const double size = (xr - xl) * (yu - yd);
          if (std::fabs(own) <= 2e-6 || area < best || (std::fabs(best - area) <= 2e-6 && own < size)) {
            best = area;
            own = size;
            kXl = xl;
            kYd = yd;
            kXr = xr;
            kYu = yu;
          }
        }
      }
    }
    xr += s;
    if (xr > A.RU.x && own == 0.0 && widen < 100 && !Opt) {
      A.RU.x += 2 * s;
      A.RU.y += 2 * s;
      A.LD.x -= 2 * s;
      A.LD.y -= 2 * s;
      widen += 2;
    }
  }
  if (own == 0.0) return false;
  Xl = kXl;
  Yd = kYd;
  Xr = kXr;
  Yu = kYu;
  return true;
}

// --- Symmetric search ----------------------------------------------------------------------

Boolean TProtector::PlaceBySymmetryY(double oXl, double oYd, double oXr, double oYu, double Radius,
                                     double sXl, double sYd, double sXr, double sYu, double& Xu, double& Yu,
                                     double& Xd, double& Yd, int Step, bool Opt) const
{
  Trace(Opt ? u8" Розміщаємо трапецією" : u8"Оптимізуємо розміщення трапецією");
  if (Step < 1) return false;
  const double s = Step;
  // A region edge on the axis gives the steepest slope allowed rather than a division by zero.
  const double k1 = std::fabs(oXl) > 0 ? std::min(2 * oYd / oXl, 1.0) : 1.0;
  const double k2 = std::fabs(oXr) > 0 ? std::min(2 * oYu / oXr, 1.0) : 1.0;
  const double w = oXr * oYu * 0.125;
  const double g = 5.0 * Step;

  const double xs = MaxDivisible(sXr + Radius, s);
  double xe = MinDivisible(oXr - Radius, s);
  const double ys = MaxDivisible(sYu + Radius, s);
  double ye = MinDivisible(oYu - Radius, s);
  const double xs2 = MinDivisible(sXl - Radius, s);
  double xe2 = MaxDivisible(oXl + Radius, s);
  const double ys2 = MinDivisible(sYd - Radius, s);
  double ye2 = MaxDivisible(oYd + Radius, s);
  if (xe < xs) return false;
  if (!OnGrid({xs, xe, ys, ye, xs2, xe2, ys2, ye2})) return false;

  const auto both = [this, Radius](double X, double Y) {
    return Admissible(X, Y, Radius) && Admissible(-X, Y, Radius);
  };

  // Upper pair. A score of exactly 0 counts as nothing kept.
  double best = 0, ux = 0, uy = 0;
  for (int c = 0;; c += 5) {
    const bool first = c == 0;
    const double xe0 = xe - c * Step, ye0 = ye - c * Step;
    for (double X = xs; X <= xe; X += s) {
      // After a widening only the added strips are new.
      const double y0 = first || X >= xe - g ? ys : ye - g;
      for (double Y = y0; Y <= ye; Y += s) {
        if (!both(X, Y)) continue;
        const double score = first ? X * Y : std::max(Y, ye0) * std::max(X, xe0) + std::fabs(X * k2 - Y) * w;
        if (best == 0.0 || (first && score >= best) || (!first && score <= best)) {
          best = score;
          ux = X;
          uy = Y;
        }
      }
    }
    if (best != 0.0 || Opt || c >= 100) break;
    xe += g;
    ye += g;
  }
  if (best == 0.0) return false;
  if (xs2 < xe2) return false;

  // Lower pair, the directions reversed.
  double best2 = 0, lx = 0, ly = 0;
  for (int c = 0;; c += 5) {
    const bool first = c == 0;
    const double xe0 = xe2 + c * Step, ye0 = ye2 + c * Step;
    for (double X = xs2; X >= xe2; X -= s) {
      const double y0 = first || X <= xe2 + g ? ys2 : ye2 + g;
      for (double Y = y0; Y >= ye2; Y -= s) {
        if (!both(X, Y)) continue;
        const double score = first ? X * Y : std::min(Y, ye0) * std::min(X, xe0) + std::fabs(X * k1 - Y) * w;
        if (best2 == 0.0 || (first && score > best2) || (!first && score < best2)) {
          best2 = score;
          lx = X;
          ly = Y;
        }
      }
    }
    if (best2 != 0.0 || Opt || c >= 100) break;
    xe2 -= g;
    ye2 -= g;
  }
  if (best2 == 0.0) return false;
  Xu = ux;
  Yu = uy;
  Xd = -lx;
  Yd = ly;
  return true;
}
