// A program drawn with its holes as one figure: where a hole's lines run along the program's (a hole's band
// drawn over the face it opens in), the pieces on one another cancel in pairs, as the even-odd rule has them.
#include "hxcadkit/drawing/drFigureHoles.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "hxcadkit/drawing/drFrontSet.h"

namespace hxfront {

// A figure of a program and its holes: the holes' lines and arcs are kept as they come, then the program's
// lines near a hole are kept, and the rest drawn through at once; once the pieces that cancel are known, the
// kept ones are drawn.
class TFigureRecorder : private TFrontModelerState, public TModeler3D
{
public:
  TFigureRecorder() : TModeler3D(&Own, false) {}
  using TModeler2D::drArc;
  using TModeler2D::drAStView7;
  using TModeler2D::drView;
  using TModeler3D::drSpcObj;
  void drLine(const double& x1, const double& y1, const double& x2, const double& y2, int Attr) override
  {
    if (Out) {
      const TBox b{std::min(x1, x2) - Touch, std::min(y1, y2) - Touch, std::max(x1, x2) + Touch,
                   std::max(y1, y2) + Touch};
      if (std::none_of(RunBoxes.begin(), RunBoxes.end(), [&](const TBox& r) { return r.Meets(b); }))
        return Out->drLine(x1, y1, x2, y2, Attr);
      Calls.push_back({TCall::Line, 0, Attr, {x1, y1, x2, y2}});
      return;
    }
    TCall c{TCall::Line, 0, Attr, {x1, y1, x2, y2}};
    Placed(c.V, 2);
    Chain(c.V[0], c.V[1], c.V[2], c.V[3]);
    Calls.push_back(c);
  }
  void drArc(const double& X, const double& Y, const double& R, const double& x1, const double& y1,
             const double& x2, const double& y2, int Napr, int Attr) override
  {
    if (Out) return Out->drArc(X, Y, R, x1, y1, x2, y2, Napr, Attr);
    TCall c{TCall::Arc, Napr, Attr, {X, Y, R, x1, y1, x2, y2}};
    Placed(c.V, 3);
    Napr < 0 ? Chain(c.V[5], c.V[6], c.V[3], c.V[4]) : Chain(c.V[3], c.V[4], c.V[5], c.V[6]);
    Calls.push_back(c);
  }
  void drCircle(const double& X, const double& Y, const double& R, int Attr) override
  {
    if (Out) return Out->drCircle(X, Y, R, Attr);
    TCall c{TCall::Circle, 0, Attr, {X, Y, R}};
    Placed(c.V, 1);
    Chain(NAN, NAN, NAN, NAN);
    Calls.push_back(c);
  }
  void drEllipse(const double&, const double&, const double&, const double&, const double&, int) override {}
  void drView(int, const double&, const double&, const double&, const double&, const TString&) override {}
  void drAStView7(int, const double&, const double&, const double&, const double&, const TString&,
                  const TString&, const TString&) override
  {
  }
  void drSpcObject(TSectionSpc, const TString&, int, int) override {}

  // Forgets the last figure. The holes' calls are kept next, a run of them where each starts where the last
  // one ended.
  void Clear() { Calls.clear(), HoleRuns.clear(), RunBoxes.clear(), Out = nullptr; }
  bool Holes() const { return !Calls.empty(); }
  // From now on the program's lines near none of the holes are drawn on out at once, as are its arcs.
  void DrawThrough(TModeler3D& out);
  // Works out what is left of each kept line that lies along a line of the other side (a hole or the
  // program), and draws the kept calls, the program's then the holes', each line as the pieces of it left.
  void Finish();

private:
  struct TCall
  {
    enum { Line, Arc, Circle } Kind;
    int Napr, Attr;
    double V[7];
  };
  struct TBox
  {
    double x1, y1, x2, y2;
    bool Meets(const TBox& b) const { return x1 <= b.x2 && x2 >= b.x1 && y1 <= b.y2 && y2 >= b.y1; }
  };
  struct TBreak
  {
    double t;
    TPoint2D p;
  };
  TBox Box(std::size_t i) const
  {
    const double* v = Calls[i].V;
    return {std::min(v[0], v[2]) - Touch, std::min(v[1], v[3]) - Touch, std::max(v[0], v[2]) + Touch,
            std::max(v[1], v[3]) + Touch};
  }
  // Whether line j lies along line i (of more than a touch's length) over more than a touch, in i's style.
  bool Along(std::size_t i, std::size_t j) const;
  void Cancel();
  void DrawKept(std::size_t from, std::size_t to) const;
  // What is left of a hole's line h and the program's line c along it, where neither lies along another.
  void CancelPair(std::size_t h, std::size_t c);
  // What is left of the lines in Members, which lie along one line, where more than two do.
  void CancelRun();
  void Piece(const TPoint2D& a, const TPoint2D& b) { Pieces.push_back({a, b}); }
  // Starts a new run of the holes' calls unless the one from (x1, y1) to (x2, y2) goes on from the last.
  void Chain(double x1, double y1, double x2, double y2)
  {
    if (HoleRuns.empty() || !(std::fabs(x1 - LastX) <= Touch && std::fabs(y1 - LastY) <= Touch))
      HoleRuns.push_back(Calls.size());
    LastX = x2, LastY = y2;
  }
  double LastX = 0.0, LastY = 0.0;
  // A hole may draw in a placement of its own: its call's points (a line's two; an arc's or a circle's centre
  // first, its radius after it, then its ends) kept in the frame the program draws in.
  void Placed(double* v, int points) const
  {
    const TTransf2D& t = R2D().Transf2D;
    if (t.AMtr.Count <= 0) return;
    for (int k = 0; k < points; ++k) {
      double* p = v + 2 * k + (k > 0 && points != 2 ? 1 : 0);
      t.xyMtr(p[0], p[1], p[0], p[1]);
    }
    if (points != 2) v[2] *= t.ScaleMtr();
  }
  std::size_t Root(std::size_t i)
  {
    while (Up[i] != i)
      i = Up[i] = Up[Up[i]];
    return i;
  }

  TModeler3D* Out = nullptr;
  std::vector<TCall> Calls;
  // Where each pass of a hole starts among the calls, and the box of its lines; the program's kept lines
  // come after the holes', from Program on.
  std::vector<std::size_t> HoleRuns;
  std::vector<TBox> RunBoxes, HoleBoxes;
  std::size_t Program = 0;
  // How many lines of the other side each lies along (none, one, more), and its pieces, From[i] to To[i].
  std::vector<char> Partners;
  std::vector<std::uint32_t> From, To;
  std::vector<std::pair<TPoint2D, TPoint2D>> Pieces;
  std::vector<std::pair<std::size_t, std::size_t>> Pairs;
  std::vector<std::size_t> Up, Members, All;
  std::vector<TBreak> Breaks;
  std::vector<std::pair<std::size_t, std::size_t>> Spans; // each member's first and last break
  std::vector<std::ptrdiff_t> Owner;
};

bool TFigureRecorder::Along(std::size_t i, std::size_t j) const
{
  const double* h = Calls[i].V;
  const double* v = Calls[j].V;
  if (Calls[j].Attr != Calls[i].Attr) return false;
  const double dx = h[2] - h[0], dy = h[3] - h[1], len = Length(dx, dy);
  if (!(len > Touch)) return false;
  const double ux = dx / len, uy = dy / len;
  const double e1 = ux * (v[1] - h[1]) - uy * (v[0] - h[0]), e2 = ux * (v[3] - h[1]) - uy * (v[2] - h[0]);
  if (!(std::fabs(e1) <= Touch && std::fabs(e2) <= Touch)) return false;
  const double t1 = ux * (v[0] - h[0]) + uy * (v[1] - h[1]), t2 = ux * (v[2] - h[0]) + uy * (v[3] - h[1]);
  return std::min(len, std::max(t1, t2)) - std::max(0.0, std::min(t1, t2)) > Touch;
}

void TFigureRecorder::DrawThrough(TModeler3D& out)
{
  Program = Calls.size();
  HoleBoxes.resize(Program);
  for (std::size_t run = 0; run < HoleRuns.size(); ++run) {
    const std::size_t to = run + 1 < HoleRuns.size() ? HoleRuns[run + 1] : Program;
    TBox box{HUGE_VAL, HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
    for (std::size_t i = HoleRuns[run]; i < to; ++i) {
      // An arc's or a circle's box is empty: it meets nothing.
      const TBox b = Calls[i].Kind != TCall::Line ? TBox{HUGE_VAL, HUGE_VAL, -HUGE_VAL, -HUGE_VAL} : Box(i);
      HoleBoxes[i] = b;
      box = {std::min(box.x1, b.x1), std::min(box.y1, b.y1), std::max(box.x2, b.x2), std::max(box.y2, b.y2)};
    }
    RunBoxes.push_back(box);
  }
  Out = &out;
}

void TFigureRecorder::Finish()
{
  Cancel();
  DrawKept(Program, Calls.size());
  DrawKept(0, Program);
  Out = nullptr;
}

void TFigureRecorder::Cancel()
{
  Pieces.clear();
  Pairs.clear();
  const std::size_t n = Calls.size();
  Partners.assign(n, 0);
  // Each kept line of the program against the lines of the holes' passes whose box it meets.
  for (std::size_t j = Program; j < n; ++j) {
    const TBox b = Box(j);
    for (std::size_t run = 0; run < HoleRuns.size(); ++run) {
      if (!RunBoxes[run].Meets(b)) continue;
      const std::size_t to = run + 1 < HoleRuns.size() ? HoleRuns[run + 1] : Program;
      for (std::size_t i = HoleRuns[run]; i < to; ++i)
        if (HoleBoxes[i].Meets(b) && Along(i, j)) {
          Pairs.push_back({i, j});
          Partners[i] = char(std::min(Partners[i] + 1, 2)), Partners[j] = char(std::min(Partners[j] + 1, 2));
        }
    }
  }
  if (Pairs.empty()) return;
  From.resize(n), To.resize(n);
  // Most lines lie along one other only: a band's wall over a face.
  if (std::all_of(Pairs.begin(), Pairs.end(),
                  [&](const auto& q) { return Partners[q.first] == 1 && Partners[q.second] == 1; })) {
    for (const auto& [h, c] : Pairs)
      CancelPair(h, c);
    return;
  }
  // Otherwise the lines along one another in runs, each member in the order it was drawn.
  Up.resize(n);
  for (const auto& [i, j] : Pairs)
    Up[i] = i, Up[j] = j;
  for (const auto& [i, j] : Pairs)
    Up[Root(i)] = Root(j);
  All.clear();
  for (std::size_t i = 0; i < n; ++i)
    if (Partners[i]) All.push_back(Root(i) * n + i);
  std::sort(All.begin(), All.end());
  for (std::size_t first = 0; first < All.size();) {
    std::size_t last = first + 1;
    while (last < All.size() && All[last] / n == All[first] / n)
      ++last;
    Members.clear();
    for (std::size_t k = first; k < last; ++k)
      Members.push_back(All[k] % n);
    first = last;
    CancelRun();
  }
}

void TFigureRecorder::CancelPair(std::size_t h, std::size_t c)
{
  // Along c from its start (0) to its end (len): h covers [lo, hi]; each keeps what the other does not cover.
  const double* v = Calls[c].V;
  const double* w = Calls[h].V;
  const TPoint2D c0(v[0], v[1]), c1(v[2], v[3]), h0(w[0], w[1]), h1(w[2], w[3]);
  const double dx = v[2] - v[0], dy = v[3] - v[1], len = Length(dx, dy);
  const double t0 = ((w[0] - v[0]) * dx + (w[1] - v[1]) * dy) / len,
               t1 = ((w[2] - v[0]) * dx + (w[3] - v[1]) * dy) / len;
  const bool forward = t0 <= t1;
  const double lo = forward ? t0 : t1, hi = forward ? t1 : t0;
  const TPoint2D &plo = forward ? h0 : h1, &phi = forward ? h1 : h0;
  From[c] = std::uint32_t(Pieces.size());
  if (lo > Touch) Piece(c0, plo);
  if (hi < len - Touch) Piece(phi, c1);
  To[c] = From[h] = std::uint32_t(Pieces.size());
  // h's pieces beyond c's ends, in h's own sense.
  const bool before = lo<-Touch, after = hi> len + Touch;
  if (forward) {
    if (before) Piece(h0, c0);
    if (after) Piece(c1, h1);
  } else {
    if (after) Piece(h0, c1);
    if (before) Piece(c0, h1);
  }
  To[h] = std::uint32_t(Pieces.size());
}

void TFigureRecorder::CancelRun()
{
  // Parametrised along the first line: the pieces between the ends of the lines, each covered by how many; an
  // odd count leaves it to the first that covers it, an even one cancels.
  const double* f = Calls[Members[0]].V;
  const double len = Length(f[2] - f[0], f[3] - f[1]);
  const double ux = (f[2] - f[0]) / len, uy = (f[3] - f[1]) / len;
  auto at = [&](double x, double y) { return ux * (x - f[0]) + uy * (y - f[1]); };
  Breaks.clear();
  for (const std::size_t i : Members) {
    const double* v = Calls[i].V;
    Breaks.push_back({at(v[0], v[1]), TPoint2D(v[0], v[1])});
    Breaks.push_back({at(v[2], v[3]), TPoint2D(v[2], v[3])});
  }
  std::sort(Breaks.begin(), Breaks.end(), [](const TBreak& a, const TBreak& b) { return a.t < b.t; });
  // Ends within a touch are one break, at the first of them.
  std::size_t kept = 0;
  for (std::size_t k = 0; k < Breaks.size(); ++k)
    if (kept == 0 || Breaks[k].t - Breaks[kept - 1].t > Touch) Breaks[kept++] = Breaks[k];
  Breaks.resize(kept);
  auto index = [&](double t) {
    std::size_t k = 0;
    while (k + 1 < Breaks.size() && Breaks[k + 1].t <= t + Touch)
      ++k;
    return k;
  };
  Spans.clear();
  for (const std::size_t i : Members) {
    const double* v = Calls[i].V;
    const std::size_t a = index(at(v[0], v[1])), b = index(at(v[2], v[3]));
    Spans.push_back({std::min(a, b), std::max(a, b)});
  }
  Owner.assign(Breaks.size(), -1);
  for (std::size_t k = 0; k + 1 < Breaks.size(); ++k) {
    std::size_t count = 0;
    std::ptrdiff_t first = -1;
    for (std::size_t m = 0; m < Members.size(); ++m)
      if (Spans[m].first <= k && k < Spans[m].second && count++ == 0) first = std::ptrdiff_t(m);
    if (count % 2 != 0) Owner[k] = first;
  }
  // Each member's runs of the pieces it keeps, in its own sense; one it keeps whole stays as it was drawn.
  for (std::size_t m = 0; m < Members.size(); ++m) {
    const std::size_t i = Members[m];
    const double* v = Calls[i].V;
    const auto [lo, hi] = Spans[m];
    const bool forward = at(v[0], v[1]) <= at(v[2], v[3]);
    From[i] = std::uint32_t(Pieces.size());
    for (std::size_t k = lo; k < hi;) {
      if (Owner[k] != std::ptrdiff_t(m)) {
        ++k;
        continue;
      }
      const std::size_t k0 = k;
      while (k < hi && Owner[k] == std::ptrdiff_t(m))
        ++k;
      if (k0 == lo && k == hi)
        Piece(TPoint2D(v[0], v[1]), TPoint2D(v[2], v[3]));
      else if (forward)
        Piece(Breaks[k0].p, Breaks[k].p);
      else
        Piece(Breaks[k].p, Breaks[k0].p);
    }
    To[i] = std::uint32_t(Pieces.size());
    if (!forward) std::reverse(Pieces.begin() + From[i], Pieces.end());
  }
}

void TFigureRecorder::DrawKept(std::size_t from, std::size_t to) const
{
  TModeler3D& m = *Out;
  for (std::size_t i = from; i < to; ++i) {
    const TCall& c = Calls[i];
    const double* v = c.V;
    if (c.Kind == TCall::Arc)
      m.drArc(v[0], v[1], v[2], v[3], v[4], v[5], v[6], c.Napr, c.Attr);
    else if (c.Kind == TCall::Circle)
      m.drCircle(v[0], v[1], v[2], c.Attr);
    else if (!Partners[i])
      m.drLine(v[0], v[1], v[2], v[3], c.Attr);
    else
      for (std::uint32_t k = From[i]; k < To[i]; ++k)
        m.drLine(Pieces[k].first.x, Pieces[k].first.y, Pieces[k].second.x, Pieces[k].second.y, c.Attr);
  }
}

// Kept for the next figure: making one makes its drawing state.

bool DrawFigure(TModeler3D& m, const std::function<void(TModeler3D&)>& holes,
                const std::function<void(TModeler3D&)>& program)
{
  // The recorder of the last figure drawn on m's registry, kept there: making one makes its drawing state.
  TFrontKeep& keep = TFrontKeep::Of(m);
  std::unique_ptr<TFigureRecorder> r(static_cast<TFigureRecorder*>(keep.Recorder.release()));
  if (!r) r = std::make_unique<TFigureRecorder>();
  r->Clear();
  holes(*r);
  const bool any = r->Holes();
  if (any)
    ThroughFront(m, [&](TModeler3D& to) {
      r->DrawThrough(to);
      program(*r);
      r->Finish();
    });
  keep.Recorder = std::move(r);
  return any;
}

} // namespace hxfront
