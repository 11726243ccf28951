#include "txhost/lib/SvgWriter.h"

#include "txapi/Enums.h"
#include "txapi/IRadialDimension.h"
#include "txhost/lib/DimensionFacets.h"
#include "txhost/lib/Drawing2D.h"
#include "txhost/lib/FileOutput.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Model.h"
#include "txhost/lib/Text.h"
#include "txhost/lib/ViewFacets.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <optional>
#include <set>
#include <sstream>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace txhost {

namespace {

constexpr double Pi = std::numbers::pi;

// (x, y) -> (A x + C y + E, B x + D y + F).
struct Affine
{
  double A = 1, B = 0, C = 0, D = 1, E = 0, F = 0;

  void Map(double x, double y, double& X, double& Y) const
  {
    X = A * x + C * y + E;
    Y = B * x + D * y + F;
  }
  // This after inner: inner acts first.
  Affine After(const Affine& in) const
  {
    return {A * in.A + C * in.B, B * in.A + D * in.B,     A * in.C + C * in.D,
            B * in.C + D * in.D, A * in.E + C * in.F + E, B * in.E + D * in.F + F};
  }
  double Det() const { return A * D - B * C; }
  double Scale() const { return std::sqrt(std::fabs(Det())); }
  double AngleDeg() const { return std::atan2(B, A) * 180.0 / Pi; }

  static Affine Placement(double x, double y, double angleDeg, double scale)
  {
    const double a = angleDeg * Pi / 180.0, c = std::cos(a) * scale, s = std::sin(a) * scale;
    return {c, s, -s, c, x, y};
  }
};

double Num(const Object& o, const char* key, double fallback = 0)
{
  const Value& v = o.Prop(key);
  return v.is_number() ? v.get<double>() : fallback;
}

// A whole-number property, clamped into [lo, hi]: a damaged file may hold any number.
long long Whole(const Object& o, const char* key, double fallback, double lo, double hi)
{
  return static_cast<long long>(std::clamp(Num(o, key, fallback), lo, hi));
}

int Style(const Object& o)
{
  return int(Whole(o, "style", 1, -1000, 1000));
}

Affine FrameAffine(const Object& o)
{
  const Value& f = o.Prop("frame");
  if (!f.is_array() || f.size() != 6) return {};
  return {f[0].get<double>(), f[1].get<double>(), f[2].get<double>(),
          f[3].get<double>(), f[4].get<double>(), f[5].get<double>()};
}

std::string Escape(const std::string& s)
{
  std::string out;
  for (char c : s)
    switch (c) {
    case '<':
      out += "&lt;";
      break;
    case '>':
      out += "&gt;";
      break;
    case '&':
      out += "&amp;";
      break;
    case '"':
      out += "&quot;";
      break;
    default:
      out += c;
    }
  return out;
}

// The host's text markup as the symbols it stands for, in the picture only (the documents keep the texts
// as the library passed them): "&01" a degree, "&02" a diameter, "&03" plus-minus, "&04" a times sign; the
// separator "~" is dropped, and "$" sign ";$" shows the sign.
std::string Markup(const std::string& s)
{
  static const char* const symbols[] = {"\u00B0", "\u2300", "\u00B1", "\u00D7"};
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '~') continue;
    // "$" text ";$": a sign set as it stands (the reference mark "$*;$" shows as "*").
    if (s[i] == '$') {
      const std::size_t end = s.find(";$", i + 1);
      if (end != std::string::npos) {
        out += s.substr(i + 1, end - i - 1);
        i = end + 1;
        continue;
      }
    }
    if (s[i] == '&' && i + 2 < s.size() && s[i + 1] == '0' && s[i + 2] >= '1' && s[i + 2] <= '4') {
      out += symbols[s[i + 2] - '1'];
      i += 2;
      continue;
    }
    out += s[i];
  }
  return out;
}

// One end-to-end piece of an outline: from start to end as a path command.
struct Piece
{
  double X1, Y1, X2, Y2;
  bool IsArc = false;
  double R = 0;
  bool Large = false, Sweep = false;
  bool Full = false; // a whole circle about (X2, Y2)
  double CX = 0, CY = 0, From = 0, Span = 0; // an arc's centre, start angle and signed sweep (radians)
};

// The piece as a polyline, arcs as chords of at most 5 degrees.
std::vector<std::pair<double, double>> Flat(const Piece& p)
{
  if (!p.IsArc && !p.Full) return {{p.X1, p.Y1}, {p.X2, p.Y2}};
  const int n = std::clamp(int(std::ceil(std::fabs(p.Span) / (Pi / 36))), 1, 72);
  std::vector<std::pair<double, double>> points;
  for (int i = 0; i <= n; ++i) {
    const double a = p.From + p.Span * i / n;
    points.emplace_back(p.CX + p.R * std::cos(a), p.CY + p.R * std::sin(a));
  }
  return points;
}

// The ends of an outline's pieces (whole circles are closed on their own) by a grid of cells as wide as
// the distance at which two ends meet, so that the piece that goes on from a point is found among the few
// near it: a search of the whole list for each step took time quadratic in the number of pieces.
class TEnds
{
public:
  static constexpr double Eps = 1e-4;

  explicit TEnds(const std::vector<Piece>& pieces) : Pieces(pieces)
  {
    for (std::size_t i = 0; i < pieces.size(); ++i) {
      if (pieces[i].Full) continue;
      for (const auto& [x, y] :
           {std::pair{pieces[i].X1, pieces[i].Y1}, std::pair{pieces[i].X2, pieces[i].Y2}}) {
        if (const auto c = Cell(x, y))
          Cells[*c].insert(i);
        else
          Far.insert(i);
      }
    }
  }
  // The piece leaves the search.
  void Take(std::size_t i)
  {
    const Piece& p = Pieces[i];
    for (const auto& [x, y] : {std::pair{p.X1, p.Y1}, std::pair{p.X2, p.Y2}})
      if (const auto c = Cell(x, y)) {
        if (auto at = Cells.find(*c); at != Cells.end()) at->second.erase(i);
      } else {
        Far.erase(i);
      }
  }
  // The first piece left with an end within Eps of (x, y); the number of pieces when there is none.
  std::size_t First(double x, double y) const
  {
    std::size_t first = Pieces.size();
    auto look = [&](const std::set<std::size_t>& among) {
      for (std::size_t i : among) {
        if (i >= first) break;
        const Piece& q = Pieces[i];
        if (std::hypot(q.X1 - x, q.Y1 - y) <= Eps || std::hypot(q.X2 - x, q.Y2 - y) <= Eps) {
          first = i;
          break;
        }
      }
    };
    look(Far);
    if (const auto c = Cell(x, y))
      for (std::int64_t dx = -1; dx <= 1; ++dx)
        for (std::int64_t dy = -1; dy <= 1; ++dy)
          if (const auto at = Cells.find({c->first + dx, c->second + dy}); at != Cells.end())
            look(at->second);
    return first;
  }

private:
  using TCell = std::pair<std::int64_t, std::int64_t>;
  struct TCellHash
  {
    std::size_t operator()(const TCell& c) const
    {
      return std::hash<std::int64_t>()(c.first) * 31 + std::hash<std::int64_t>()(c.second);
    }
  };
  // Cells twice as wide as Eps, so that the cells about a point hold every end within Eps of it whatever
  // the rounding. Far out (or not a number), an end has no cell and is looked at with every step.
  static std::optional<TCell> Cell(double x, double y)
  {
    constexpr double Reach = 1e15;
    const double cx = std::floor(x / (2 * Eps)), cy = std::floor(y / (2 * Eps));
    if (!(std::fabs(cx) < Reach && std::fabs(cy) < Reach)) return std::nullopt;
    return TCell{std::int64_t(cx), std::int64_t(cy)};
  }
  const std::vector<Piece>& Pieces;
  std::unordered_map<TCell, std::set<std::size_t>, TCellHash> Cells;
  std::set<std::size_t> Far;
};

class Writer
{
public:
  explicit Writer(const Object& document) : Doc(document) {}

  void Write(std::ostream& out)
  {
    Sheet();
    for (Object* v : model::LiveMembers(Doc)) {
      if (v->Kind() != model::View && v->Kind() != model::AssociationView) continue;
      // A view at scale 0 would collapse what it holds to a point: it is drawn at 1.
      const double scale = Num(*v, "scale", 1);
      const Affine place =
          Affine::Placement(Num(*v, "x"), Num(*v, "y"), Num(*v, "angle"), scale != 0 ? scale : 1);
      Body << "<g id=\"view-" << Num(*v, "number") << "\">\n";
      Placed.clear();
      ViewLabels = Layout.Labels.size();
      Container(*v, place);
      ViewMark(*v, place);
      Body << "</g>\n";
    }
    if (MinX > MaxX) MinX = MinY = 0, MaxX = MaxY = 100;
    CornerSign();
    const double m = 5, w = MaxX - MinX + 2 * m, h = MaxY - MinY + 2 * m;
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << w << "mm\" height=\"" << h
        << "mm\" viewBox=\"" << MinX - m << ' ' << -MaxY - m << ' ' << w << ' ' << h << "\">\n"
        << "<rect x=\"" << MinX - m << "\" y=\"" << -MaxY - m << "\" width=\"" << w << "\" height=\"" << h
        << "\" fill=\"white\"/>\n";
    if (!Defs.str().empty()) out << "<defs>\n" << Defs.str() << "</defs>\n";
    out << Body.str() << "</svg>\n";
  }

private:
  void Grow(double x, double y, double r = 0)
  {
    MinX = std::min(MinX, x - r), MaxX = std::max(MaxX, x + r);
    MinY = std::min(MinY, y - r), MaxY = std::max(MaxY, y + r);
    Box.X1 = std::min(Box.X1, x - r), Box.X2 = std::max(Box.X2, x + r);
    Box.Y1 = std::min(Box.Y1, y - r), Box.Y2 = std::max(Box.Y2, y + r);
  }
  // A point of the picture (y down).
  std::string P(double x, double y)
  {
    Grow(x, y);
    std::ostringstream s;
    s << x << ',' << -y;
    return s.str();
  }

  static std::string Stroke(int style)
  {
    switch (style) {
    case txapi::txCSNormal:
      return "stroke=\"black\" stroke-width=\"0.5\"";
    case txapi::txCSAxial:
      return "stroke=\"black\" stroke-width=\"0.25\" stroke-dasharray=\"8 2 1 2\"";
    case txapi::txCSDashed:
      return "stroke=\"black\" stroke-width=\"0.25\" stroke-dasharray=\"3 1.5\"";
    case txapi::txCSConstruction: // shown faint: it helps to draw and is not part of the drawing
      return "stroke=\"#8c8c8c\" stroke-width=\"0.18\"";
    case txapi::txCSThick:
      return "stroke=\"black\" stroke-width=\"0.7\"";
    case txapi::txCSDotted:
      return "stroke=\"black\" stroke-width=\"0.3\" stroke-dasharray=\"0.4 1\"";
    default: // the thin line, and the line with breaks, whose breaks BrokenLine draws
      return "stroke=\"black\" stroke-width=\"0.25\"";
    }
  }
  // A straight piece of the line with breaks carries one zigzag across its middle; a piece too short to
  // hold it, and a curved one, is drawn plain.
  std::string BrokenLine(const Piece& p)
  {
    const double dx = p.X2 - p.X1, dy = p.Y2 - p.Y1, len = std::hypot(dx, dy);
    if (p.IsArc || p.Full || !(len >= 6 * BreakWidth)) return Draw(p);
    const double ux = dx / len, uy = dy / len, mx = (p.X1 + p.X2) / 2, my = (p.Y1 + p.Y2) / 2;
    auto at = [&](double along, double across) {
      return P(mx + along * ux - across * uy, my + along * uy + across * ux);
    };
    return "L" + at(-BreakWidth, 0) + " L" + at(-BreakWidth / 2, BreakHeight) + " L" +
           at(BreakWidth / 2, -BreakHeight) + " L" + at(BreakWidth, 0) + " L" + P(p.X2, p.Y2);
  }
  static constexpr double BreakWidth = 2.5, BreakHeight = 3;
  static bool Visible(const Object& o)
  {
    const double style = Num(o, "style", 1);
    return style != 0 && style != -1;
  }

  // The outline piece of a line, arc or circle in picture coordinates; false for anything else.
  bool PieceOf(const Object& o, const Affine& t, Piece& p)
  {
    const Affine w = t.After(FrameAffine(o));
    if (o.Kind() == model::LineSegment) {
      w.Map(Num(o, "x1"), Num(o, "y1"), p.X1, p.Y1);
      w.Map(Num(o, "x2"), Num(o, "y2"), p.X2, p.Y2);
      return true;
    }
    if (o.Kind() == model::Arc) {
      double cx, cy;
      w.Map(Num(o, "xc"), Num(o, "yc"), cx, cy);
      w.Map(Num(o, "x1"), Num(o, "y1"), p.X1, p.Y1);
      w.Map(Num(o, "x2"), Num(o, "y2"), p.X2, p.Y2);
      const bool clockwise = (o.Prop("clockwise") == true) != (w.Det() < 0);
      double sweep = std::atan2(p.Y2 - cy, p.X2 - cx) - std::atan2(p.Y1 - cy, p.X1 - cx);
      while (sweep <= 0)
        sweep += 2 * Pi;
      if (clockwise) sweep = 2 * Pi - sweep;
      p.IsArc = true;
      p.R = std::hypot(p.X1 - cx, p.Y1 - cy);
      p.CX = cx, p.CY = cy, p.From = std::atan2(p.Y1 - cy, p.X1 - cx), p.Span = clockwise ? -sweep : sweep;
      p.Large = sweep > Pi;
      p.Sweep = clockwise; // the picture's y axis points down
      Grow(cx, cy, p.R);
      return true;
    }
    if (o.Kind() == model2d::Circle) {
      w.Map(Num(o, "xc"), Num(o, "yc"), p.X2, p.Y2);
      p.R = std::fabs(Num(o, "radius")) * w.Scale();
      p.X1 = p.X2 + p.R, p.Y1 = p.Y2;
      p.Full = true;
      p.CX = p.X2, p.CY = p.Y2, p.Span = 2 * Pi;
      Grow(p.X2, p.Y2, p.R);
      return true;
    }
    return false;
  }

  std::string Draw(const Piece& p)
  {
    std::ostringstream s;
    if (p.Full) {
      s << "A" << p.R << ',' << p.R << " 0 1 0 " << P(p.X2 - p.R, p.Y2) << " A" << p.R << ',' << p.R
        << " 0 1 0 " << P(p.X1, p.Y1);
    } else if (p.IsArc) {
      s << "A" << p.R << ',' << p.R << " 0 " << int(p.Large) << ' ' << int(p.Sweep) << ' ' << P(p.X2, p.Y2);
    } else {
      s << "L" << P(p.X2, p.Y2);
    }
    return s.str();
  }

  static Piece Reversed(Piece p)
  {
    std::swap(p.X1, p.X2);
    std::swap(p.Y1, p.Y2);
    p.Sweep = !p.Sweep;
    p.From += p.Span, p.Span = -p.Span;
    return p;
  }

  // The boundary objects chained end to end into closed subpaths.
  std::string Outline(const Object& area, const Affine& t)
  {
    std::vector<Piece> pieces;
    for (const Value& ref : area.Prop("boundaries")) {
      const Object* b = Doc.GetHost().Find(RefId(ref));
      Piece p;
      if (b != nullptr && !model::Deleted(*b) && PieceOf(*b, ParentTransform(*b, t, area), p))
        pieces.push_back(p);
    }
    std::vector<bool> used(pieces.size(), false);
    std::string d;
    TEnds ends(pieces);
    for (std::size_t start = 0; start < pieces.size(); ++start) {
      if (used[start]) continue;
      used[start] = true;
      ends.Take(start);
      Piece cur = pieces[start];
      d += "M" + P(cur.X1, cur.Y1) + " " + Draw(cur);
      SvgPolyline hatch{"hatch", 0, Flat(cur)};
      for (bool found = !cur.Full; found;) {
        // The first piece in the list that goes on from where the chain ends, by its start or else by its
        // end.
        const std::size_t i = ends.First(cur.X2, cur.Y2);
        found = i < pieces.size();
        if (found) {
          const Piece& q = pieces[i];
          cur = std::hypot(q.X1 - cur.X2, q.Y1 - cur.Y2) <= TEnds::Eps ? q : Reversed(q);
          used[i] = true, (d += " ") += Draw(cur);
          ends.Take(i);
          const auto more = Flat(cur);
          hatch.Points.insert(hatch.Points.end(), more.begin() + 1, more.end());
        }
      }
      d += " Z ";
      if (area.Kind() == model2d::Hatch) {
        hatch.Points.push_back(hatch.Points.front());
        Layout.Lines.push_back(std::move(hatch));
      }
    }
    return d;
  }

  // The transform of a boundary object: the area's own container's, unless the object lies elsewhere.
  Affine ParentTransform(const Object& b, const Affine& t, const Object& area)
  {
    if (b.Parent() == area.Parent()) return t;
    Affine inner;
    for (const Object* p = b.Parent(); p != nullptr && p != area.Parent(); p = p->Parent())
      if (p->Kind() == model2d::Macro) inner = MacroPlacement(*p).After(inner);
    return t.After(inner);
  }

  static Affine MacroPlacement(const Object& m)
  {
    return Affine::Placement(Num(m, "x"), Num(m, "y"), Num(m, "angle"), 1);
  }

  // A text of o at (x, y) in its container; its height grows with the view's scale unless it is a
  // designation's, which keeps its size on the sheet.
  void Text(const Object& o, const Affine& t, double x, double y, double angle, const std::wstring& text,
            bool scaled = true)
  {
    if (text.empty()) return;
    const Affine w = t.After(FrameAffine(o));
    double X, Y;
    w.Map(x, y, X, Y);
    double height = 3.5;
    for (Object* line : model::LiveMembers(o, model2d::TextLine))
      for (Object* item : model::LiveMembers(*line, model2d::TextItem))
        if (item->Prop("height").is_number()) height = item->Prop("height").get<double>();
    if (scaled) height *= w.Scale();
    const double a = angle + w.AngleDeg();
    std::wistringstream lines(text);
    std::wstring line;
    for (int i = 0; std::getline(lines, line); ++i) {
      double lx = X + std::sin(a * Pi / 180) * 1.5 * height * i,
             ly = Y - std::cos(a * Pi / 180) * 1.5 * height * i;
      Label(lx, ly, a, height, ToUtf8(line));
    }
  }

  // One line of text in picture coordinates, its baseline starting at (X, Y); anchor "middle" centres it.
  // The box of a line of text as Label lays it out.
  SvgLabel LabelBox(double X, double Y, double angleDeg, double height, const std::string& utf8,
                    const char* anchor = "start") const
  {
    SvgLabel label;
    label.Text = Markup(utf8), label.Role = Role, label.Height = height, label.Angle = angleDeg;
    std::size_t chars = 0;
    for (unsigned char ch : label.Text)
      chars += (ch & 0xC0) != 0x80;
    const double len = height * 0.6 * double(chars), c = std::cos(angleDeg * Pi / 180),
                 s = std::sin(angleDeg * Pi / 180);
    const double from = std::string_view(anchor) == "middle" ? -len / 2 : std::string_view(anchor) == "end" ? -len : 0;
    const double bx[4] = {from, from + len, from + len, from}, by[4] = {0, 0, height, height};
    for (int k = 0; k < 4; ++k) {
      label.X[k] = X + c * bx[k] - s * by[k];
      label.Y[k] = Y + s * bx[k] + c * by[k];
    }
    return label;
  }

  // Whether a dimension's value would lie on one already written in this view.
  bool Taken(const SvgLabel& l) const
  {
    auto project = [](const SvgLabel& b, double nx, double ny, double& lo, double& hi) {
      lo = 1e300, hi = -1e300;
      for (int k = 0; k < 4; ++k)
        lo = std::min(lo, nx * b.X[k] + ny * b.Y[k]), hi = std::max(hi, nx * b.X[k] + ny * b.Y[k]);
    };
    for (std::size_t i = ViewLabels; i < Layout.Labels.size(); ++i) {
      const SvgLabel& o = Layout.Labels[i];
      if (o.Role != "dimension") continue;
      bool apart = false;
      for (const SvgLabel* b : {&l, &o})
        for (int k = 0; k < 4 && !apart; ++k) {
          const double nx = b->Y[k] - b->Y[(k + 1) % 4], ny = b->X[(k + 1) % 4] - b->X[k], n = std::hypot(nx, ny);
          if (!(n > 0)) continue;
          double a1, a2, b1, b2;
          project(l, nx / n, ny / n, a1, a2);
          project(o, nx / n, ny / n, b1, b2);
          apart = a2 <= b1 + 0.2 || b2 <= a1 + 0.2;
        }
      if (!apart) return true;
    }
    return false;
  }

  void Label(double X, double Y, double angleDeg, double height, const std::string& utf8,
             const char* anchor = "start")
  {
    SvgLabel label = LabelBox(X, Y, angleDeg, height, utf8, anchor);
    const std::string shown = label.Text;
    const std::string at = P(X, Y);
    for (int k = 0; k < 4; ++k)
      Grow(label.X[k], label.Y[k]);
    Layout.Labels.push_back(std::move(label));
    Body << "<text x=\"" << X << "\" y=\"" << -Y << "\" font-family=\"sans-serif\" font-size=\"" << height << '"';
    if (std::string_view(anchor) != "start") Body << " text-anchor=\"" << anchor << '"';
    if (angleDeg != 0) Body << " transform=\"rotate(" << -angleDeg << ' ' << at << ")\"";
    Body << '>' << Escape(shown) << "</text>\n";
  }

  // A container's objects, each macro's inside it. Macros nest as deep as a file holds them: they are
  // walked with a list of their own, not the call stack. Each macro is drawn once: one that lies among its
  // own members (made so through the host's calls; a file holding one is refused) ends the walk there.
  void Container(const Object& c, const Affine& t)
  {
    std::unordered_set<const Object*> drawn{&c};
    struct Open
    {
      std::vector<Object*> Members;
      std::size_t Next;
      Affine T;
    };
    std::vector<Open> open;
    open.push_back({model::LiveMembers(c), 0, t});
    while (!open.empty()) {
      if (open.back().Next == open.back().Members.size()) {
        open.pop_back();
        if (!open.empty()) Body << "</g>\n";
        continue;
      }
      const Object& o = *open.back().Members[open.back().Next++];
      const Affine at = open.back().T;
      if (o.Kind() != model2d::Macro) {
        Item(o, at);
        continue;
      }
      if (!drawn.insert(&o).second) continue;
      Body << "<g class=\"macro\">\n";
      open.push_back({model::LiveMembers(o), 0, at.After(MacroPlacement(o))});
    }
  }

  // One object of a container other than a macro.
  void Item(const Object& item, const Affine& t)
  {
    const Object* o = &item;
    const std::string& kind = o->Kind();
    Piece p;
    if (kind == model2d::Hatch || kind == model2d::Colouring) {
      Area(*o, t);
    } else if (kind == model2d::Ellipse) {
      if (!Visible(*o)) return;
      const Affine w = t.After(FrameAffine(*o));
      double X, Y;
      w.Map(Num(*o, "xc"), Num(*o, "yc"), X, Y);
      const double a = Num(*o, "a") * w.Scale(), b = Num(*o, "b") * w.Scale();
      Grow(X, Y, std::max(std::fabs(a), std::fabs(b)));
      Body << "<ellipse cx=\"" << X << "\" cy=\"" << -Y << "\" rx=\"" << std::fabs(a) << "\" ry=\""
           << std::fabs(b) << "\" transform=\"rotate(" << -(Num(*o, "angle") + w.AngleDeg()) << ' ' << X
           << ',' << -Y << ")\" fill=\"none\" " << Stroke(Style(*o)) << "/>\n";
    } else if (PieceOf(*o, t, p)) {
      if (!Visible(*o)) return;
      const int style = Style(*o);
      Layout.Lines.push_back({"curve", style, Flat(p)});
      if (p.IsArc || p.Full)
        Layout.Lines.back().CX = p.CX, Layout.Lines.back().CY = p.CY, Layout.Lines.back().R = p.R;
      Body << "<path d=\"M" << P(p.X1, p.Y1) << ' '
           << (style == txapi::txCSBrokenLine ? BrokenLine(p) : Draw(p)) << "\" fill=\"none\" "
           << Stroke(style) << " stroke-linecap=\"round\"/>\n";
    } else if (kind == model2d::Point) {
      double X, Y;
      t.After(FrameAffine(*o)).Map(Num(*o, "x"), Num(*o, "y"), X, Y);
      Body << "<circle cx=\"" << X << "\" cy=\"" << -Y << "\" r=\"0.6\" fill=\"black\"/>\n";
      Grow(X, Y, 0.6);
    } else if (kind == model2d::DrawingText) {
      Text(*o, t, Num(*o, "x"), Num(*o, "y"), Num(*o, "angle"), model2d::TextOf(*o));
    } else if (kind == model2d::CutLine) {
      CutLine(*o, t);
    } else if (kind == model2d::Leader) {
      Leader(*o, t);
    } else {
      Symbol(*o, t);
    }
  }

  void Area(const Object& o, const Affine& t)
  {
    const std::string d = Outline(o, t);
    if (d.empty()) return;
    std::string fill;
    if (o.Kind() == model2d::Hatch) {
      const Affine w = t.After(FrameAffine(o));
      const double step = std::max(0.2, std::fabs(Num(o, "step", 2)) * w.Scale());
      const int id = ++Patterns;
      Defs << "<pattern id=\"hatch-" << id << "\" patternUnits=\"userSpaceOnUse\" width=\"" << step
           << "\" height=\"" << step << "\" patternTransform=\"rotate("
           << -(Num(o, "angle", 45) + w.AngleDeg()) << ")\"><line x1=\"0\" y1=\"" << step / 2 << "\" x2=\""
           << step << "\" y2=\"" << step / 2 << "\" stroke=\"black\" stroke-width=\"0.18\"/></pattern>\n";
      fill = "url(#hatch-" + std::to_string(id) + ")";
    } else {
      // The host's colours are 0x00BBGGRR.
      const auto c = std::uint32_t(Whole(o, "color", 0, 0, 0xFFFFFFFF));
      char rgb[8];
      std::snprintf(rgb, sizeof rgb, "#%02x%02x%02x", c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
      fill = rgb;
    }
    Body << "<path d=\"" << d << "\" fill=\"" << fill << "\" fill-rule=\"evenodd\" stroke=\"none\"/>\n";
  }

  void CutLine(const Object& o, const Affine& t)
  {
    const Affine w = t.After(FrameAffine(o));
    std::vector<double> xy;
    for (const Value& v : o.Prop("points"))
      if (v.is_number()) xy.push_back(v.get<double>());
    if (xy.size() < 4) xy = {Num(o, "x1"), Num(o, "y1"), Num(o, "x2"), Num(o, "y2")};
    // A cut line is drawn open, as a drawing shows it: a thick stroke at each end and at each bend, along the
    // line, and nothing across the view it cuts.
    std::vector<std::pair<double, double>> at;
    for (std::size_t i = 0; i + 1 < xy.size(); i += 2) {
      double X, Y;
      w.Map(xy[i], xy[i + 1], X, Y);
      at.emplace_back(X, Y);
    }
    std::string d;
    auto stroke = [&](const std::pair<double, double>& from, const std::pair<double, double>& to) {
      const double length = std::hypot(to.first - from.first, to.second - from.second);
      if (!(length > 0)) return;
      const double k = std::min(10.0, length / 2) / length;
      const std::pair<double, double> end{from.first + k * (to.first - from.first),
                                          from.second + k * (to.second - from.second)};
      d += (d.empty() ? "M" : " M") + P(from.first, from.second) + " L" + P(end.first, end.second);
      Layout.Lines.push_back({"cut", 0, {from, end}});
    };
    for (std::size_t i = 0; i + 1 < at.size(); ++i) {
      stroke(at[i], at[i + 1]);
      stroke(at[i + 1], at[i]);
    }
    if (!d.empty()) Body << "<path d=\"" << d << "\" fill=\"none\" stroke=\"black\" stroke-width=\"0.7\"/>\n";
    Text(o, t, xy[0], xy[1] + 2, 0, model2d::TextOf(o));
  }

  // The end of a leader's branch [x, y] in picture coordinates; false for anything else a file may hold.
  static bool BranchEnd(const Affine& w, const Value& b, double& X, double& Y)
  {
    if (!b.is_array() || b.size() != 2 || !b[0].is_number() || !b[1].is_number()) return false;
    w.Map(b[0].get<double>(), b[1].get<double>(), X, Y);
    return true;
  }

  void Leader(const Object& o, const Affine& t)
  {
    const Affine w = t.After(FrameAffine(o));
    double X, Y;
    w.Map(Num(o, "x"), Num(o, "y"), X, Y);
    const std::string origin = P(X, Y);
    for (const Value& b : o.Prop("branches")) {
      double bx, by;
      if (!BranchEnd(w, b, bx, by)) continue;
      Body << "<path d=\"M" << origin << " L" << P(bx, by) << "\" fill=\"none\" " << Stroke(2) << "/>\n";
      Layout.Lines.push_back({"leader", 0, {{X, Y}, {bx, by}}});
    }
    Text(o, t, Num(o, "x"), Num(o, "y") + 1, 0, model2d::TextOf(o));
  }


  // --- Dimensions and designations -------------------------------------------------------------
  // Drawn in picture coordinates: o's points mapped by its container and its placement frame. Values are
  // measured in the container's units; texts (3.5 high), arrows and signs keep their size on the sheet
  // whatever the view's scale.

  void Symbol(const Object& o, const Affine& t)
  {
    const std::string& kind = o.Kind();
    const Affine w = t.After(FrameAffine(o));
    const double big = std::numeric_limits<double>::max();
    Box = {kind, big, big, -big, -big};
    Role = kind == model2d::LineDimension || kind == model2d::DiametralDimension ||
                   kind == model2d::RadialDimension || kind == model2d::AngleDimension
               ? "dimension"
               : kind == model2d::Rough ? "rough" : "designation";
    const std::size_t first = Layout.Lines.size(), texts = Layout.Labels.size();
    SymbolBody(o, t, w);
    for (std::size_t i = first; i < Layout.Lines.size(); ++i)
      Layout.Lines[i].Symbol = Symbols;
    for (std::size_t i = texts; i < Layout.Labels.size(); ++i)
      Layout.Labels[i].Symbol = Symbols;
    ++Symbols;
    Role = "text";
    if (Box.X1 <= Box.X2) Layout.Symbols.push_back(Box);
  }

  void SymbolBody(const Object& o, const Affine& t, const Affine& w)
  {
    const std::string& kind = o.Kind();
    if (kind == model2d::LineDimension)
      LineDimension(o, w);
    else if (kind == model2d::DiametralDimension || kind == model2d::RadialDimension)
      CircleDimension(o, w, kind == model2d::DiametralDimension);
    else if (kind == model2d::AngleDimension)
      AngleDimension(o, w);
    else if (kind == model2d::Rough)
      RoughSign(w, Num(o, "x"), Num(o, "y"), Num(o, "angle"), int(Whole(o, "sign-type", 0, -1, 3)), SymbolTexts(o));
    else if (kind == model2d::Tolerance)
      ToleranceFrame(o, w);
    else if (kind == model2d::Base)
      DatumSign(o, w);
    else if (kind == model2d::ViewPointer)
      ViewArrow(o, t, w);
  }

  void Segment(double X1, double Y1, double X2, double Y2, double width = 0.25)
  {
    Body << "<path d=\"M" << P(X1, Y1) << " L" << P(X2, Y2) << "\" fill=\"none\" stroke=\"black\" stroke-width=\""
         << width << "\"/>\n";
  }
  // A thin line of a dimension or designation, drawn and laid out as kind.
  void Thin(const char* kind, double X1, double Y1, double X2, double Y2)
  {
    Segment(X1, Y1, X2, Y2);
    Layout.Lines.push_back({kind, 0, {{X1, Y1}, {X2, Y2}}});
  }
  // A filled arrowhead with its tip at (X, Y), pointing along (dx, dy).
  void Arrow(double X, double Y, double dx, double dy, double size = 3)
  {
    const double l = std::hypot(dx, dy);
    if (l == 0) return;
    const double ux = dx / l * size, uy = dy / l * size;
    Body << "<path d=\"M" << P(X, Y) << " L" << P(X - ux - uy / 3.5, Y - uy + ux / 3.5) << " L"
         << P(X - ux + uy / 3.5, Y - uy - ux / 3.5) << " Z\" fill=\"black\" stroke=\"none\"/>\n";
  }
  static std::string Figure(double v)
  {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.2f", v);
    std::string s = buf;
    while (!s.empty() && s.back() == '0')
      s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
    for (char& c : s)
      if (c == '.') c = ',';
    return s;
  }
  static std::string DimensionLine(const Object& o, const char* place)
  {
    for (Object* l : model::LiveMembers(o, model2d::TextLine))
      if (l->Prop("place") == place) return ToUtf8(model2d::TextOf(*l));
    return {};
  }
  // The sign a diameter or radius shows before its value, unless the text before it already holds
  // one (a diameter's "&02", a thread's "M", a radius's "R"): a host shows one sign.
  static std::string OwnSign(const Object& o, bool diameter)
  {
    const std::string before = Markup(DimensionLine(o, "before"));
    auto ends = [&before](std::string_view tail) {
      return before.size() >= tail.size() && before.compare(before.size() - tail.size(), tail.size(), tail) == 0;
    };
    if (diameter) return before.find("\u2300") != std::string::npos || ends("M") ? "" : "\u2300";
    return ends("R") ? "" : "R";
  }
  static std::string DimensionText(const Object& o, const std::string& sign, const std::string& value)
  {
    return DimensionLine(o, "before") + sign + value + DimensionLine(o, "after");
  }

  // Extension lines from the measured points to the dimension line, which carries arrows at both ends
  // and the value above its middle (or at the text point when the dimension has one).
  void LineDimension(const Object& o, const Affine& w)
  {
    const double x1 = Num(o, "x1"), y1 = Num(o, "y1"), x2 = Num(o, "x2"), y2 = Num(o, "y2");
    model2d::LinearLayout l;
    if (!model2d::LayoutOf(o, l)) return;
    const double nx = l.Nx, ny = l.Ny;
    double off = l.Off;
    if (!o.Has("line-x")) off += Stacked(w, l, x1, y1, x2, y2);
    const double s1 = x1 * nx + y1 * ny, s2 = x2 * nx + y2 * ny;
    const double a1x = x1 + (off - s1) * nx, a1y = y1 + (off - s1) * ny;
    const double a2x = x2 + (off - s2) * nx, a2y = y2 + (off - s2) * ny;
    double P1x, P1y, P2x, P2y, A1x, A1y, A2x, A2y;
    w.Map(x1, y1, P1x, P1y), w.Map(x2, y2, P2x, P2y), w.Map(a1x, a1y, A1x, A1y), w.Map(a2x, a2y, A2x, A2y);
    const double over = 2;
    for (const auto& [Px, Py, Ax, Ay] : {std::array{P1x, P1y, A1x, A1y}, std::array{P2x, P2y, A2x, A2y}}) {
      const double l = std::hypot(Ax - Px, Ay - Py);
      if (l > 1e-9) Thin("extension", Px, Py, Ax + (Ax - Px) / l * over, Ay + (Ay - Py) / l * over);
    }
    const std::string text = DimensionText(o, "", Figure(model2d::MeasuredValue(o)));
    double angle = std::atan2(A2y - A1y, A2x - A1x) * 180 / Pi;
    if (angle > 90.001 || angle < -89.999) angle += 180;
    const double h = 3.5;
    // A value given a place without a leader is written there along its line, the line running on
    // under it when it lies past an extension line.
    double from = 0, to = 1, T = 0.5;
    const double L = std::hypot(A2x - A1x, A2y - A1y);
    const bool placed = o.Has("text-x") && Num(o, "leader-code") == 0 && L > 0;
    if (placed) {
      double X, Y;
      w.Map(Num(o, "text-x"), Num(o, "text-y"), X, Y);
      T = ((X - A1x) * (A2x - A1x) + (Y - A1y) * (A2y - A1y)) / (L * L);
      const double half = LabelBox(0, 0, 0, h, text).X[1] / 2 / L;
      from = std::min(0.0, T - half), to = std::max(1.0, T + half);
    }
    Thin("dimension-line", A1x + from * (A2x - A1x), A1y + from * (A2y - A1y), A1x + to * (A2x - A1x),
         A1y + to * (A2y - A1y));
    Arrow(A1x, A1y, A1x - A2x, A1y - A2y);
    Arrow(A2x, A2y, A2x - A1x, A2y - A1y);
    if (placed) {
      const double a = angle * Pi / 180;
      Label(A1x + T * (A2x - A1x) - std::sin(a), A1y + T * (A2y - A1y) + std::cos(a), angle, h, text,
            "middle");
    } else if (o.Has("text-x") && Num(o, "leader-code") != 0) {
      double X, Y;
      w.Map(Num(o, "text-x"), Num(o, "text-y"), X, Y);
      Thin("leader", (A1x + A2x) / 2, (A1y + A2y) / 2, X, Y);
      Label(X, Y, 0, h, text);
    } else {
      // Above the middle of its line; a value that would lie on one written before slides along the
      // line, as a host's automatic layout moves it, past the extension lines if need be.
      const double a = angle * Pi / 180, c = std::cos(a), s = std::sin(a);
      const double mx = (A1x + A2x) / 2 - s, my = (A1y + A2y) / 2 + c;
      const double step = LabelBox(0, 0, 0, h, text).X[1] + 2;
      double shift = 0;
      for (const double k : {0.0, 1.0, -1.0, 2.0, -2.0, 3.0, -3.0})
        if (!Taken(LabelBox(mx + c * k * step, my + s * k * step, angle, h, text, "middle"))) {
          shift = k * step;
          break;
        }
      Label(mx + c * shift, my + s * shift, angle, h, text, "middle");
    }
  }

  // How much further out than the host's first place (in the container's units) a dimension line
  // without a point of its own goes: as a host's automatic layout, each further dimension on the
  // same side whose span meets one laid out before goes a step beyond it, so neither its line nor
  // its value lies on the other's. Recorded per view in picture coordinates.
  double Stacked(const Affine& w, const model2d::LinearLayout& l, double x1, double y1, double x2, double y2)
  {
    double NX, NY, UX, UY, OX, OY;
    w.Map(0, 0, OX, OY);
    w.Map(l.Nx, l.Ny, NX, NY);
    w.Map(l.Ux, l.Uy, UX, UY);
    NX -= OX, NY -= OY, UX -= OX, UY -= OY;
    const double scale = std::hypot(NX, NY);
    if (!(scale > 0) || !std::isfinite(scale)) return 0;
    NX /= scale, NY /= scale;
    const double ul = std::hypot(UX, UY);
    if (!(ul > 0)) return 0;
    UX /= ul, UY /= ul;
    double P1x, P1y, P2x, P2y;
    w.Map(x1 + (l.Off - (x1 * l.Nx + y1 * l.Ny)) * l.Nx, y1 + (l.Off - (x1 * l.Nx + y1 * l.Ny)) * l.Ny, P1x, P1y);
    w.Map(x2, y2, P2x, P2y);
    const double d0 = P1x * NX + P1y * NY;
    const double a = P1x * UX + P1y * UY, b = P2x * UX + P2y * UY;
    // The span with room for the value written about its middle.
    const double text = 3.5 * 0.6 * 8, from = std::min({a, b, (a + b - text) / 2}),
                 to = std::max({a, b, (a + b + text) / 2});
    const double step = 8, margin = 1;
    double d = d0;
    for (bool moved = true; moved;) {
      moved = false;
      for (const PlacedLine& p : Placed) {
        if (p.NX * NX + p.NY * NY < 0.9999) continue;
        if (p.To + margin < from || to + margin < p.From) continue;
        if (std::fabs(d - p.D) < step - 1e-9 && d < p.D + step) {
          d = p.D + step;
          moved = true;
        }
      }
    }
    Placed.push_back({NX, NY, d, from, to});
    return (d - d0) / scale;
  }

  // A diameter across the circle with arrows at both ends, a radius from the centre with one.
  void CircleDimension(const Object& o, const Affine& w, bool diameter)
  {
    // At its angle; a value that would lie on one written before turns to another quarter, as a host's
    // automatic layout turns the leader.
    const double given = Num(o, "angle", 45);
    double chosen = given;
    for (const double turn : {0.0, 90.0, -90.0, 180.0, 45.0, -45.0, 135.0, -135.0})
      if (!CircleDimensionAt(o, w, diameter, given + turn, false)) {
        chosen = given + turn;
        break;
      }
    CircleDimensionAt(o, w, diameter, chosen, true);
  }

  // The dimension with its leader at angle (degrees); drawn when draw, else only whether its value would
  // lie on one written before.
  bool CircleDimensionAt(const Object& o, const Affine& w, bool diameter, double angleDeg, bool draw)
  {
    const double r = std::fabs(Num(o, "radius")), a = angleDeg * Pi / 180;
    const double cx = Num(o, "xc"), cy = Num(o, "yc"), dx = std::cos(a) * r, dy = std::sin(a) * r;
    // Style 2 of a diameter comes to its circle from outside: one arrow on the circle, its line and value
    // beyond it, nothing through the centre (where another diameter of the same centre runs).
    const bool outside = diameter && Num(o, "style", 1) == 2;
    double C1x, C1y, C2x, C2y;
    w.Map(cx + dx, cy + dy, C2x, C2y);
    if (diameter && !outside)
      w.Map(cx - dx, cy - dy, C1x, C1y);
    else
      w.Map(cx, cy, C1x, C1y);
    const double R = std::hypot(C2x - C1x, C2y - C1y);
    const double ux = (C2x - C1x) / (R > 0 ? R : 1), uy = (C2y - C1y) / (R > 0 ? R : 1);
    if (outside) C1x = C2x, C1y = C2y;
    // A radius of style 2 stops short of its centre.
    if (!diameter && Num(o, "style", 1) == 2 && R > txapi::txRadiusLineShort)
      C1x = C2x - ux * txapi::txRadiusLineShort, C1y = C2y - uy * txapi::txRadiusLineShort;
    const std::string text = DimensionText(o, OwnSign(o, diameter), Figure(model2d::MeasuredValue(o)));
    // The line runs on past the circle to carry the text, read from below or the right: the text's
    // middle 6 past the circle, or as far past it as its shift asks (in the container's units).
    double middle = 6;
    if (const double shift = std::fabs(Num(o, "text-shift", 0)); shift > 0) {
      double Sx, Sy;
      w.Map(cx + (r + shift) * std::cos(a), cy + (r + shift) * std::sin(a), Sx, Sy);
      middle = std::max(middle, std::hypot(Sx - C2x, Sy - C2y));
    }
    const double shelf = std::max(12.0, middle + LabelBox(0, 0, 0, 3.5, text).X[1] / 2 + 1);
    const double Ex = C2x + ux * shelf, Ey = C2y + uy * shelf;
    double angle = std::atan2(uy, ux) * 180 / Pi, nx = -uy, ny = ux;
    if (angle > 90.001 || angle < -89.999) angle += 180, nx = uy, ny = -ux;
    const double Tx = C2x + ux * middle + nx, Ty = C2y + uy * middle + ny;
    if (!draw) return Taken(LabelBox(Tx, Ty, angle, 3.5, text, "middle"));
    Thin("leader", C1x, C1y, Ex, Ey);
    const double tip = outside ? -1 : 1;
    Arrow(C2x, C2y, tip * ux, tip * uy);
    if (diameter && !outside) Arrow(C1x, C1y, C1x - C2x, C1y - C2y);
    SvgCircleSize size{Markup(text), model2d::MeasuredValue(o) * w.Scale() / (diameter ? 2 : 1),
                       {{C2x, C2y, tip * ux, tip * uy}}};
    if (diameter && !outside) size.Arrows.push_back({C1x, C1y, -ux, -uy});
    Layout.CircleSizes.push_back(std::move(size));
    Label(Tx, Ty, angle, 3.5, text, "middle");
    return true;
  }

  // The dimension arc about the vertex from the first angle to the second, with arrows, and the angle.
  void AngleDimension(const Object& o, const Affine& w)
  {
    const double cx = Num(o, "xc"), cy = Num(o, "yc"), r = Num(o, "radius", 25);
    const double a1 = Num(o, "angle1"), a2 = Num(o, "angle2");
    const int steps = 48;
    std::string d;
    SvgPolyline arc{"dimension-arc", 0, {}};
    double X = 0, Y = 0, pX = 0, pY = 0, fX = 0, fY = 0, sX = 0, sY = 0;
    for (int i = 0; i <= steps; ++i) {
      const double a = (a1 + (a2 - a1) * i / steps) * Pi / 180;
      pX = X, pY = Y;
      w.Map(cx + r * std::cos(a), cy + r * std::sin(a), X, Y);
      d += (i == 0 ? "M" : " L") + P(X, Y);
      arc.Points.emplace_back(X, Y);
      if (i == 1) sX = X, sY = Y;
      if (i == 0) fX = X, fY = Y;
    }
    Body << "<path d=\"" << d << "\" fill=\"none\" stroke=\"black\" stroke-width=\"0.25\"/>\n";
    double V1x, V1y, V2x, V2y, Cx, Cy;
    w.Map(cx, cy, Cx, Cy);
    arc.CX = Cx, arc.CY = Cy, arc.R = std::fabs(r) * w.Scale();
    Layout.Lines.push_back(std::move(arc));
    Arrow(fX, fY, fX - sX, fY - sY);
    Arrow(X, Y, X - pX, Y - pY);
    w.Map(cx + r * std::cos(a1 * Pi / 180), cy + r * std::sin(a1 * Pi / 180), V1x, V1y);
    w.Map(cx + r * std::cos(a2 * Pi / 180), cy + r * std::sin(a2 * Pi / 180), V2x, V2y);
    // Each ray from the point it measures where that lies on it, else from the vertex: an angle whose
    // vertex stands far off the part is drawn by the edges it measures.
    const auto from = [&](double a, const char* x, const char* y, double& X0, double& Y0) {
      const double c = std::cos(a * Pi / 180), s = std::sin(a * Pi / 180);
      const double dx = Num(o, x, cx) - cx, dy = Num(o, y, cy) - cy, t = dx * c + dy * s;
      if (t > 0 && std::fabs(dy * c - dx * s) <= 1e-6 * std::max(1.0, t))
        w.Map(cx + dx, cy + dy, X0, Y0);
      else
        X0 = Cx, Y0 = Cy;
    };
    double P1x, P1y, P2x, P2y;
    from(a1, "x1", "y1", P1x, P1y);
    from(a2, "x2", "y2", P2x, P2y);
    Thin("extension", P1x, P1y, V1x, V1y);
    Thin("extension", P2x, P2y, V2x, V2y);
    const double mid = (a1 + a2) / 2 * Pi / 180;
    // The value's gap to its arc is the sheet's 2 mm, as its height is: in an enlarged detail a gap
    // enlarged with the arc would carry the value away from it.
    const double gap = (r < 0 ? -2.0 : 2.0) / (w.Scale() > 0 ? w.Scale() : 1.0);
    double Tx, Ty;
    w.Map(cx + (r + gap) * std::cos(mid), cy + (r + gap) * std::sin(mid), Tx, Ty);
    // The value's corner nearest the vertex there, the value beyond it: clear of its arc.
    Label(Tx, Ty < Cy ? Ty - 3.5 : Ty, 0, 3.5,
          DimensionText(o, "", Figure(model2d::MeasuredValue(o)) + "\u00b0"), Tx < Cx ? "end" : "start");
  }

  static std::vector<std::string> SymbolTexts(const Object& o)
  {
    std::vector<std::string> texts(3);
    for (Object* m : model::LiveMembers(o, model2d::SymbolText)) {
      const auto i = Whole(*m, "index", -1, -1, 3);
      if (i >= 0 && i < 3) texts[std::size_t(i)] = ToUtf8(model2d::TextOf(*m));
    }
    return texts;
  }

  // The check mark with its tip on the surface at (x, y), its axis leaving the surface at angle (upright
  // at 90 degrees, its base along the surface at angle - 90): a short arm, a long one with the shelf that
  // carries the roughness value; a bar for material removed, a circle for none removed.
  void RoughSign(const Affine& w, double x, double y, double angle, int type, const std::vector<std::string>& texts)
  {
    double X0, Y0;
    w.Map(x, y, X0, Y0);
    const Affine at = Affine::Placement(X0, Y0, angle - 90 + w.AngleDeg(), 1);
    const double h = 5, c60 = 0.5, s60 = std::sqrt(3.0) / 2;
    auto line = [&](double ax, double ay, double bx, double by) {
      double X1, Y1, X2, Y2;
      at.Map(ax, ay, X1, Y1), at.Map(bx, by, X2, Y2);
      Segment(X1, Y1, X2, Y2);
      Layout.Lines.push_back({"rough", Role == "corner" ? 1 : 0, {{X1, Y1}, {X2, Y2}}});
    };
    line(0, 0, -h * c60, h * s60);
    line(0, 0, 2 * h * c60, 2 * h * s60);
    line(2 * h * c60, 2 * h * s60, 2 * h * c60 + 12, 2 * h * s60);
    if (type == 1) line(-h * c60, h * s60, h * c60, h * s60);
    if (type == 2) {
      double X, Y;
      at.Map(0, h * s60 * 0.55, X, Y);
      Body << "<circle cx=\"" << X << "\" cy=\"" << -Y << "\" r=\"" << 1.3
           << "\" fill=\"none\" stroke=\"black\" stroke-width=\"0.25\"/>\n";
    }
    std::string text;
    for (const std::string& t : texts)
      if (!t.empty()) text += (text.empty() ? "" : " ") + t;
    // The value on the shelf reads from below or from the right: a sign turned further is read the
    // other way round, from the shelf's far end, still above the shelf.
    const double th = 3.5;
    double a = std::remainder(angle - 90 + w.AngleDeg(), 360.0);
    const bool turned = a > 90.001 || a < -89.999;
    double X, Y;
    if (turned) {
      at.Map(2 * h * c60 + 12, 2 * h * s60 + 1 + th, X, Y);
      a += 180;
    } else {
      at.Map(2 * h * c60 + 1, 2 * h * s60 + 1, X, Y);
    }
    Label(X, Y, a, th, text);
  }

  // The frame's cells in a row beside the leader's start, the leader's branches ending in arrows.
  void ToleranceFrame(const Object& o, const Affine& w)
  {
    double X, Y;
    w.Map(Num(o, "x"), Num(o, "y"), X, Y);
    for (const Value& b : o.Prop("branches")) {
      double bx, by;
      if (!BranchEnd(w, b, bx, by)) continue;
      Thin("leader", X, Y, bx, by);
      Arrow(bx, by, bx - X, by - Y);
    }
    std::vector<std::pair<double, std::string>> cells;
    for (Object* table : model::LiveMembers(o, model2d::Table))
      for (Object* cell : model::LiveMembers(*table, model2d::TableCell)) {
        std::string text;
        for (Object* l : model::LiveMembers(*cell, model2d::TextLine))
          text += ToUtf8(model2d::TextOf(*l));
        cells.emplace_back(Num(*cell, "column"), text);
      }
    std::sort(cells.begin(), cells.end());
    const double h = 7, text = 3.5;
    double x = X;
    for (const auto& [column, cell] : cells) {
      const double width = std::max(8.0, text * 0.65 * double(cell.size()) + 3);
      Body << "<rect x=\"" << x << "\" y=\"" << -(Y + h / 2) << "\" width=\"" << width << "\" height=\"" << h
           << "\" fill=\"none\" stroke=\"black\" stroke-width=\"0.35\"/>\n";
      Grow(x + width, Y + h / 2);
      Grow(x, Y - h / 2);
      Label(x + width / 2, Y - text / 2, 0, text, cell, "middle");
      x += width;
    }
  }

  // A filled triangle on the datum, a line to the letter's square frame.
  void DatumSign(const Object& o, const Affine& w)
  {
    double X1, Y1, X2, Y2;
    w.Map(Num(o, "x1"), Num(o, "y1"), X1, Y1);
    w.Map(Num(o, "x2"), Num(o, "y2"), X2, Y2);
    const double l = std::hypot(X2 - X1, Y2 - Y1);
    if (l == 0) return;
    const double ux = (X2 - X1) / l, uy = (Y2 - Y1) / l, half = 2.5, tall = 3.5, side = 7;
    Body << "<path d=\"M" << P(X1 - uy * half, Y1 + ux * half) << " L" << P(X1 + uy * half, Y1 - ux * half) << " L"
         << P(X1 + ux * tall, Y1 + uy * tall) << " Z\" fill=\"black\" stroke=\"none\"/>\n";
    Segment(X1 + ux * tall, Y1 + uy * tall, X2, Y2);
    const double Cx = X2 + ux * side / 2, Cy = Y2 + uy * side / 2;
    Body << "<rect x=\"" << Cx - side / 2 << "\" y=\"" << -(Cy + side / 2) << "\" width=\"" << side
         << "\" height=\"" << side << "\" fill=\"none\" stroke=\"black\" stroke-width=\"0.35\"/>\n";
    Grow(Cx - side / 2, Cy - side / 2, 0), Grow(Cx + side / 2, Cy + side / 2, 0);
    Label(Cx, Cy - 1.75, 0, 3.5, ToUtf8(model2d::TextOf(o)), "middle");
  }

  // The arrow from start to end, its letter at the text point.
  void ViewArrow(const Object& o, const Affine& t, const Affine& w)
  {
    double X1, Y1, X2, Y2;
    w.Map(Num(o, "x1"), Num(o, "y1"), X1, Y1);
    w.Map(Num(o, "x2"), Num(o, "y2"), X2, Y2);
    Segment(X1, Y1, X2, Y2, 0.5);
    Arrow(X2, Y2, X2 - X1, Y2 - Y1, 5);
    Text(o, t, Num(o, "text-x"), Num(o, "text-y"), 0, model2d::TextOf(o), false);
  }

  // The document's corner roughness sign, above the top right of what is drawn.
  void CornerSign()
  {
    for (Object* c : model::LiveMembers(Doc, model2d::SpecRough)) {
      const std::string text = ToUtf8(c->Text("text"));
      if (text.empty()) continue;
      // In the sheet's top right corner; without a sheet above the top right of what is drawn.
      const double x = SheetWidth > 0 ? SheetWidth - 45 : MaxX - 30, y = SheetWidth > 0 ? SheetHeight - 18 : MaxY + 4;
      Role = "corner";
      RoughSign(Affine(), x, y, 90, 0, {text, "", ""});
      Role = "text";
      if (c->Prop("switch2") == true) Label(x + 26, y + 4, 0, 3.5, "(\u221a)");
    }
  }

  // --- The sheet: its border and frame, the title block and the technical requirements --------------

  void Rect(double x1, double y1, double x2, double y2, const char* stroke)
  {
    Body << "<path d=\"M" << P(x1, y1) << " L" << P(x2, y1) << " L" << P(x2, y2) << " L" << P(x1, y2)
         << " Z\" fill=\"none\" " << stroke << "/>\n";
  }

  // The first layout sheet, in its format's size (A0 to A5, lying when its orientation says so), with
  // the drawing frame (20 mm binding margin on the left, 5 mm elsewhere) and the title block in the
  // frame's lower right corner; nothing for a document without a sheet of a known format.
  void Sheet()
  {
    const Object* sheet = nullptr;
    for (Object* o : model::LiveMembers(Doc))
      if (o->Kind() == "LayoutSheet" && sheet == nullptr) sheet = o;
    static const double sizes[][2] = {{841, 1189}, {594, 841}, {420, 594},
                                      {297, 420},  {210, 297}, {148, 210}};
    const int format = sheet != nullptr ? int(Whole(*sheet, "format", -1, -1, 6)) : -1;
    if (sheet == nullptr || format < 0 || format > 5) return;
    double w = sizes[format][0], h = sizes[format][1];
    if (sheet->Prop("orientation") == true) std::swap(w, h);
    SheetWidth = w, SheetHeight = h;
    Layout.SheetWidth = w, Layout.SheetHeight = h;
    Role = "sheet";
    Body << "<g class=\"sheet\">\n";
    Rect(0, 0, w, h, Stroke(2).c_str());
    Rect(20, 5, w - 5, h - 5, Stroke(7).c_str());
    for (const Object* stamp : model::LiveMembers(*sheet, "Stamp"))
      TitleBlock(*stamp, w - 5 - 185, 5);
    for (const Object* demand : model::LiveMembers(Doc, "TechnicalDemand"))
      Requirements(*demand);
    Body << "</g>\n";
    Role = "text";
  }

  // A simplified title block, 185 x 55 mm from its lower left corner (x, y): each cell the host knows is
  // a box of its own holding its text.
  void TitleBlock(const Object& stamp, double x, double y)
  {
    struct Cell
    {
      int Number;
      double X1, Y1, X2, Y2; // from the block's lower left corner
    };
    static const Cell cells[] = {
        {2, 65, 40, 185, 55},   {1, 65, 15, 135, 40},   {3, 65, 0, 135, 15},    {5, 150, 25, 168, 40},
        {6, 168, 25, 185, 40},  {7, 135, 20, 155, 25},  {8, 155, 20, 185, 25},  {9, 135, 0, 185, 20},
        {40, 135, 25, 140, 40}, {41, 140, 25, 145, 40}, {42, 145, 25, 150, 40}, {110, 7, 30, 40, 35},
        {111, 7, 25, 40, 30},   {112, 7, 20, 40, 25},   {113, 7, 15, 40, 20},   {114, 7, 10, 40, 15},
        {115, 7, 5, 40, 10},    {130, 55, 30, 65, 35},  {131, 55, 25, 65, 30},  {132, 55, 20, 65, 25},
        {133, 55, 15, 65, 20},  {134, 55, 10, 65, 15},  {135, 55, 5, 65, 10},   {32, 135, -5, 185, 0},
    };
    Rect(x, y, x + 185, y + 55, Stroke(7).c_str());
    for (const Cell& c : cells) {
      if (c.Y1 >= 0) Rect(x + c.X1, y + c.Y1, x + c.X2, y + c.Y2, Stroke(2).c_str());
      for (const Object* t : model::LiveMembers(stamp, "StampCell"))
        if (t->Prop("cell") == c.Number) {
          const double height = std::min(5.0, (c.Y2 - c.Y1) * 0.6);
          PlainText(x + c.X1 + 1, y + (c.Y1 + c.Y2) / 2 - height / 2, height, model2d::TextOf(*t));
        }
    }
  }

  // The requirements' lines from the upper left corner of their box.
  void Requirements(const Object& demand)
  {
    Role = "requirements";
    const Value& box = demand.Prop("box");
    if (!box.is_array() || box.size() != 4) return;
    const double left = std::min(box[0].get<double>(), box[2].get<double>());
    const double top = std::max(box[1].get<double>(), box[3].get<double>());
    std::wistringstream lines(model2d::TextOf(demand));
    std::wstring line;
    for (int i = 1; std::getline(lines, line); ++i)
      PlainText(left, top - 7.0 * i, 3.5, line);
    Role = "sheet";
  }

  void PlainText(double x, double y, double height, const std::wstring& text)
  {
    if (!text.empty()) Label(x, y, 0, height, ToUtf8(text));
  }

  // Where a view lies: a small cross at its origin and its name above it, in grey; a view built from a
  // model also gets a thin box round what it shows.
  void ViewMark(const Object& v, const Affine& place)
  {
    const std::wstring name = v.Text("name");
    if (v.Prop("number") == 0 && v.Kind() == model::View) return; // the system view
    double X, Y;
    place.Map(0, 0, X, Y);
    Body << "<path d=\"M" << P(X - 2, Y) << " L" << P(X + 2, Y) << " M" << P(X, Y - 2) << " L" << P(X, Y + 2)
         << "\" stroke=\"grey\" stroke-width=\"0.18\"/>\n";
    double labelX = X + 3, labelY = Y + 3;
    if (v.Kind() == model::AssociationView) {
      double x1 = std::numeric_limits<double>::max(), y1 = x1, x2 = -x1, y2 = -x1;
      for (const Object* e : model::LiveMembers(v, model::LineSegment)) {
        Piece p;
        if (!PieceOf(*e, place, p)) continue;
        x1 = std::min({x1, p.X1, p.X2}), x2 = std::max({x2, p.X1, p.X2});
        y1 = std::min({y1, p.Y1, p.Y2}), y2 = std::max({y2, p.Y1, p.Y2});
      }
      if (x1 <= x2) {
        Rect(x1 - 3, y1 - 3, x2 + 3, y2 + 3,
             "stroke=\"grey\" stroke-width=\"0.18\" stroke-dasharray=\"2 1\"");
        labelX = x1 - 3, labelY = y2 + 5;
      }
    }
    if (!name.empty()) {
      Body << "<g fill=\"grey\">";
      Role = "view-name";
      PlainText(labelX, labelY, 3.5, name);
      Role = "text";
      Body << "</g>\n";
    }
  }

public:
  SvgLayout Layout;

private:

  // The dimension lines laid out so far in the view being drawn: their side (unit normal), their
  // place along it and their span across it, in picture coordinates.
  struct PlacedLine
  {
    double NX, NY, D, From, To;
  };
  std::vector<PlacedLine> Placed;
  std::size_t ViewLabels = 0; // the first label of the view being drawn
  // The role of the texts being drawn and the box of the symbol being drawn.
  std::string Role = "text";
  int Symbols = 0; // the dimensions and designations drawn so far
  SvgSymbolBox Box;
  const Object& Doc;
  std::ostringstream Defs, Body;
  int Patterns = 0;
  double SheetWidth = 0, SheetHeight = 0; // of the first layout sheet; 0 without one
  double MinX = std::numeric_limits<double>::max(), MinY = std::numeric_limits<double>::max();
  double MaxX = std::numeric_limits<double>::lowest(), MaxY = std::numeric_limits<double>::lowest();
};

} // namespace

void WriteSvg(const Object& document, std::ostream& out)
{
  Writer(document).Write(out);
}

SvgLayout LayOut(const Object& document)
{
  Writer w(document);
  std::ostringstream ignored;
  w.Write(ignored);
  return std::move(w.Layout);
}

bool SaveSvg(const Object& document, const std::filesystem::path& file, std::string* error)
{
  std::ostringstream out;
  WriteSvg(document, out);
  std::string message;
  if (WriteOutputFile(file, std::move(out).str(), message)) return true;
  if (error != nullptr) *error = message;
  return false;
}

} // namespace txhost
