#pragma once
// The drawing of one machine element in its own frame, kept as plain data until it is known to
// be drawable. The machine elements compute every coordinate first and draw only when all of
// them, placed, are finite numbers: a size that would put a NaN or an infinity into the
// modeller skips the element instead.
//
// The upper-half outline becomes a node program drawn by the drawing code tl: tl / 10 chooses
// the pass (2 mirrored about the X axis, 3 mirrored and then as built, anything else as built
// once) and tl % 10 is the mode flag, the line style being the flag or 1 when it is 0. In
// outline mode (flag 0) the closing nodes run the outline back along the axis, so that one
// closed half is drawn for a revolve; in the drawing modes the two halves meet on the axis
// instead, and each drawn half adds its auxiliary and thread lines.
#include <initializer_list>
#include <vector>

#include "hxcadkit/core/DString.h"

class TModeler3D;

// A number as a drawing writes it: at most two decimals, trailing zeros dropped, a decimal comma and
// no padding ("4", "1,5", "1,25").
TString DrawingNumber(double v);

// How long a diameter's value stands 3.5 high on a sheet: its sign, its figures as DrawingNumber writes them
// and a two-letter tolerance, each character 0.6 of the height wide.
inline double DiameterValueLength(double d)
{
  return 0.6 * 3.5 * (4.0 + double(DrawingNumber(d).Length()));
}

// How long a radius's value stands 3.5 high on a sheet: its sign and its figures.
inline double RadiusValueLength(double r)
{
  return 0.6 * 3.5 * (1.0 + double(DrawingNumber(r).Length()));
}

class TElementOutline
{
public:
  // Style 0 of an added line means the pass's style.
  static constexpr int PassStyle = 0;

  TElementOutline();

  // The outline's first point; draws nothing.
  void Start(double x, double y);
  // A line from the current point.
  void P(double x, double y);
  // A line, and in the drawing modes a line from its end down to the axis in the negated style.
  void Px(double x, double y);
  // A line in outline mode, a move in the drawing modes.
  void Pt0(double x, double y);
  // An arc about (xc, yc) to (x, y): counter-clockwise for r > 0, clockwise for r < 0.
  void A(double xc, double yc, double r, double x, double y);

  // A line that each drawn half adds in the drawing modes (mirrored with its half).
  void HalfLine(double x1, double y1, double x2, double y2, int style = PassStyle);
  // Curves drawn once, after the outline, whatever the pass.
  void Line(double x1, double y1, double x2, double y2, int style = PassStyle);
  void Arc(double xc, double yc, double r, double x1, double y1, double x2, double y2, int napr,
           int style = PassStyle);
  void Circle(double xc, double yc, double r, int style = PassStyle);
  // The closed polygon through the points (x0, y0, x1, y1, ...), drawn once.
  void Polygon(std::initializer_list<double> xy, int style = PassStyle);

  // Room for that many curves drawn once.
  void Reserve(std::size_t once);

  // Whether every coordinate, placed at (mx, my) turned by ma degrees and scaled by ms, is a
  // finite number.
  bool Finite(double mx, double my, double ma, double ms) const;
  // Draws into M in the current placement with the drawing code tl.
  void Draw(TModeler3D& M, int tl) const;
  // Pushes the placement, opens a 2D macro when asked, draws, and closes both again. Returns
  // false and draws nothing when Finite fails; the element named by what is then reported.
  bool DrawPlaced(TModeler3D& M, double mx, double my, double ma, double ms, int tl, bool macro,
                  const char* what) const;

private:
  enum TKind : unsigned char { kLine, kAux, kClose, kArc };
  struct TStep
  {
    TKind Kind;
    double x, y;
    double xc = 0.0, yc = 0.0, r = 0.0;
  };
  struct TCurve
  {
    enum TType : unsigned char { cLine, cArc, cCircle } Type;
    double x1, y1, x2, y2;
    double xc = 0.0, yc = 0.0, r = 0.0;
    int Napr = 1;
    int Style = PassStyle;
  };
  void Add(TKind kind, double x, double y);
  void DrawHalfLines(TModeler3D& M, bool mirror, int style) const;

  double X0 = 0.0, Y0 = 0.0;
  double LastX = 0.0, LastY = 0.0;
  std::vector<TStep> Nodes;
  std::vector<TCurve> Half;
  std::vector<TCurve> Once;
};

// Whether coordinates whose magnitudes sum to at most sum stay finite, and well inside the range
// of doubles, in their own frame and when placed at (mx, my) turned by ma degrees and scaled by
// ms. NaN or infinite arguments answer false.
bool PlacedFinite(double sum, double mx, double my, double ma, double ms);
// The sum of the sizes' magnitudes, and a margin for the fixed offsets of the annotations: it
// bounds every coordinate a drawing computes from them (NaN stays NaN).
double Extent(std::initializer_list<double> sizes);
// d rounded to the nearest whole number, halves away from zero (a text position).
double Nearest(double d);

// Reports through the message channel that an element's sizes cannot be drawn.
void RefuseElement(const char* what);
// How many elements were refused so far: a caller that builds a part of several elements compares the
// count before and after, so that a part with an element left out is not taken for whole.
long long ElementRefusals();
