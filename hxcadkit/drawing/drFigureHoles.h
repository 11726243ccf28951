#pragma once
// A program drawn with its holes as one figure (TContDrawing::drContBlockWithHoles): not for the rest of the
// library.
#include <functional>

#include "hxcadkit/drawing/drModeler.h"

namespace hxfront {
// Draws the holes that holes draws and the program that program draws, both on the modeller they are given,
// as one figure through m (stopping at the regions standing on it): the program's lines away from the holes
// as it draws them, in order, those near a hole after them, then the holes', the pieces of them that run
// along one another cancelled in pairs. False, with nothing drawn, when holes draws nothing.
bool DrawFigure(TModeler3D& m, const std::function<void(TModeler3D&)>& holes,
                const std::function<void(TModeler3D&)>& program);
} // namespace hxfront
