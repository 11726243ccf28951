#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <utility>
#include <vector>

namespace txhost {

class Object;

// A picture of a 2D document (drawing or fragment) for people: every view with its placement, every
// curve in its line style (main lines thick, thin lines thin, axis lines dash-dotted, dashed lines
// dashed, thick lines thicker, lines with breaks with a zigzag, construction lines faint, dotted lines
// dotted; invisible ones left out), hatches filled with lines at their angle and step, colourings filled,
// macro objects placed as a whole, texts at their height and angle, points, cut lines and leaders, dimensions
// with their extension lines, arrows and measured values, roughness signs (and the sheet's corner sign), form
// tolerance frames with their leaders, datum signs and view arrows; the first layout sheet's border, frame
// and title block with its cells' texts, the technical requirements, and where each view lies (its origin and
// name; a box round a view built from a model). The drawing's y axis points up; millimetres are the picture's
// units.
void WriteSvg(const Object& document, std::ostream& out);
// The same into a file; false with a message when it cannot be written.
bool SaveSvg(const Object& document, const std::filesystem::path& file, std::string* error = nullptr);

// What the picture lays out, for checks of a sheet: each line of text with the corners of its box (from its
// baseline's start, counter-clockwise, in the drawing's millimetres), its height and angle, and the role of
// the object it belongs to ("dimension", "rough", "text", "sheet", ...); and each dimension or designation
// with the box of all it draws. Every text's box is its characters' count by 0.6 of its height long.
struct SvgLabel
{
  std::string Text, Role;
  double X[4] = {}, Y[4] = {};
  double Height = 0, Angle = 0;
  int Symbol = -1; // the dimension or designation it is the text of, as SvgPolyline::Symbol
};
struct SvgSymbolBox
{
  std::string Kind;
  double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
};
// A drawn line as a polyline in the drawing's millimetres (arcs and circles as chords of at most 5
// degrees): each visible curve of a view with its line style (Kind "curve"), each closed outline of a
// hatch (Kind "hatch", its last point its first), each stroke of a roughness sign (Kind "rough", the
// first one from the sign's tip, Style 1 for the sheet's corner sign); of dimensions and designations the
// extension lines (Kind "extension", from the measured point, and an angle's rays), linear dimension lines
// ("dimension-line"), an angle's arc ("dimension-arc") and leaders ("leader": a diameter's or radius's line
// with its shelf, a text's or a tolerance frame's leader), and a cut line's thick strokes ("cut"). A curve
// drawn as an arc or a circle, and an angle's arc, keeps its centre and radius (R 0 for a straight line).
// The lines of one dimension or designation share its Symbol, counted from 0 in the order drawn (-1 for
// the rest).
struct SvgPolyline
{
  std::string Kind;
  int Style = 0;
  std::vector<std::pair<double, double>> Points;
  double CX = 0, CY = 0, R = 0;
  int Symbol = -1;
};
// A diameter's or radius's arrows: each tip with the unit direction it points in, and the radius its value
// names on the picture (the value at the view's scale, halved for a diameter).
struct SvgArrow
{
  double X = 0, Y = 0, Dx = 0, Dy = 0;
};
struct SvgCircleSize
{
  std::string Text;
  double Radius = 0;
  std::vector<SvgArrow> Arrows;
};
struct SvgLayout
{
  std::vector<SvgLabel> Labels;
  std::vector<SvgSymbolBox> Symbols;
  std::vector<SvgPolyline> Lines;
  std::vector<SvgCircleSize> CircleSizes;
  double SheetWidth = 0, SheetHeight = 0; // 0 without a sheet of a known format
};
SvgLayout LayOut(const Object& document);

} // namespace txhost
