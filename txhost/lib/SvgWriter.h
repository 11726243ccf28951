#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>

namespace txhost {

class Object;

// A picture of a 2D document (drawing or fragment) for people: every view with its placement, every
// curve in its line style (main lines thick, thin lines thin, axis lines dash-dotted, dashed lines
// dashed, thick lines thicker, lines with breaks with a zigzag, construction lines faint, dotted lines
// dotted; invisible ones left out), hatches filled with lines at their angle and step, colourings filled,
// macro objects placed as a whole, texts at their height and angle, points, cut lines and leaders, dimensions
// with their extension lines, arrows and measured values, roughness signs (and the sheet's corner sign), form
// tolerance frames with their leaders, datum signs and view arrows; the first layout sheet's border, frame and
// title block with its cells' texts, the technical requirements, and where each view lies (its origin and name;
// a box round a view built from a model). The drawing's y axis points up; millimetres are the picture's units.
void WriteSvg(const Object& document, std::ostream& out);
// The same into a file; false with a message when it cannot be written.
bool SaveSvg(const Object& document, const std::filesystem::path& file, std::string* error = nullptr);

} // namespace txhost
