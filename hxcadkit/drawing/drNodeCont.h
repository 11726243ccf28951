#pragma once
// The node language: a 2D outline written as a chain of nodes (lines, arcs, rounded and
// chamfered corners, style changes) from a start point, drawn through a modeller as built,
// mirrored about the X axis, or both. Profiles of the couplings and the mould parts are written
// in it as upper halves: the mode flag (the units digit of the drawing code) adds the auxiliary
// lines of a 2D section, while the flag 0 closes the half along the axis for a 3D sketch.
//
// Each builder allocates one node holding copies of its values, links it in front of its last
// argument and returns it, so a chain reads from its first node outwards; building draws
// nothing. The program that receives a chain (TContDrawing::Make) owns it.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

// The regions in front of a drawing, at which the lines of programs stop while a set stands.
#include "hxcadkit/drawing/drFrontRegions.h"
#include "hxcadkit/drawing/drModeler.h"

class TNode;

class TContDrawing : public TWrapModeler
{
public:
  // A program drawing through M, which it owns only when told so.
  explicit TContDrawing(TModeler3D* M, bool Owner = false);
  ~TContDrawing() override;

  // Frees the previous nodes and installs the start point (x0, y0) followed by first.
  void Make(double x0, double y0, TNode* first);
  // Deletes the nodes; the program is empty afterwards.
  void Free();
  void ContBlockClear(int) {}
  bool Empty() const { return First == nullptr; }

  // Draws the program once with the mode flag t (only t != 0 matters) and the style t, or 1
  // when t is 0: as built, or mirrored about the X axis (y negated, arc directions reversed).
  void dr2D(int t) const;
  void dr2DMY(int t) const;
  // Draws by the drawing code tl: tl / 10 chooses the pass (1 as built, 2 mirrored, 3 mirrored
  // then as built, anything else as built) and tl % 10 is the flag. Nothing with NoDraw or an
  // empty program; Free and Clear are not read.
  void drContBlock(int tl, bool Free = false, bool Clear = false, bool NoDraw = false) const;
  // Draws the program by the code tl and each hole's program by its own code as one figure: where a hole's
  // lines run along this program's (a hole's band drawn over the face it opens in), the pieces on one another
  // cancel in pairs, as the even-odd rule has them, and the face is drawn broken at the hole. The program's
  // lines away from the holes are drawn as drContBlock draws them, in order; those near a hole come after
  // them, then the holes'.
  void drContBlockWithHoles(int tl, std::initializer_list<std::pair<const TContDrawing*, int>> holes) const;
  // The same with the holes that holes draws on the modeller it is given, in this program's frame or in
  // placements of their own.
  void drContBlockWithHoles(int tl, const std::function<void(TModeler3D&)>& holes) const;

private:
  void Draw(int t, bool mirrored) const;
  // Draws the program on m as Draw and drContBlock do, with no regions in front of it.
  void Run(TModeler3D& m, int t, bool mirrored) const;
  void RunBlock(TModeler3D& m, int tl) const;

  TNode* First = nullptr;
};

// A move to (x, y).
TNode* dSP(double x, double y, TNode* next = nullptr);
// A line to (x, y).
TNode* dP(double x, double y, TNode* next = nullptr);
// A line to (x, y) and, with the flag, an auxiliary line from there down to the axis.
TNode* dPx(double x, double y, TNode* next = nullptr);
// With the flag only, an auxiliary line to (x, y); the current point stays.
TNode* dPnm(double x, double y, TNode* next = nullptr);
// The line to (x, y) only without the flag (only with it for dPt1); a move otherwise.
TNode* dPt0(double x, double y, TNode* next = nullptr);
TNode* dPt1(double x, double y, TNode* next = nullptr);
// An arc about (xc, yc) of radius |r| to (x, y): counter-clockwise for r > 0.
TNode* dA(double xc, double yc, double r, double x, double y, TNode* next = nullptr);
// Over the corner (x1, y1) to (x, y), the corner rounded by r where it fits.
TNode* dCLL(double x1, double y1, double x, double y, double r, TNode* next = nullptr);
// Over the corner (x1, y1) to (x, y), the corner chamfered by c.
TNode* dFsk(double x1, double y1, double x, double y, double c, TNode* next = nullptr);
// Over the corners (x1, y1) and (x2, y2) to (x, y), each rounded by r where it fits.
TNode* dCVR(double x1, double y1, double x2, double y2, double x, double y, double r, TNode* next = nullptr);
// The style of the following nodes: n as unsigned modulo 10, 1 when that is 0.
TNode* dTL(int n, TNode* next = nullptr);
// a followed by b when c; otherwise b alone (a is deleted).
TNode* dMacroIf(bool c, TNode* a, TNode* b);
// a followed by tail when c; otherwise b followed by tail (the unused branch is deleted).
TNode* dMacroIfE(bool c, TNode* a, TNode* b, TNode* tail);
// Deletes a chain built and never handed to a program.
void dFree(TNode* first);
