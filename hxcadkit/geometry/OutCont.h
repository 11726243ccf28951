#pragma once
// The pieces of the outer-contour walk (TContour::OutCont): singly linked lists of the points
// where curves meet, with the curves through each point, and of the directions in which the
// walk may leave a point. All lists are built by prepending, so their order is the reverse of
// creation.
//
// The walk asks every curve where it meets the current piece and reads the answers from the
// module's shared solver IS. A question that involves a point curve (the start point, which
// joins the curves after the first step) is put to the point itself on IS: a segment or a
// circle asked about a point would answer on the points' own solver, where the walk does not
// look.
#include "hxcadkit/core/Types.h"
#include "hxcadkit/geometry/Contour.h"
#include "hxcadkit/geometry/Elements.h"
#include "hxcadkit/geometry/SolverInterSect.h"

// The shared solver of the walk; one walk at a time.
extern TInterSector IS;

// A curve through a crossing point; Typ: the node owns the curve.
struct Prim
{
  TBasePoint* P = nullptr;
  Boolean Typ = false;
  Prim* Next = nullptr;
};

// A point where curves meet.
struct ISPoint
{
  Real x = 0, y = 0;
  Prim* Primitivs = nullptr;
  ISPoint* Next = nullptr;
};

// A way out of a point: direction of travel DA (degrees), turning bias ADA (breaks ties), the
// point it leaves from and the piece to move along (owned).
struct TDirectionMovement
{
  Real DA = 0, ADA = 0;
  Real x = 0, y = 0;
  TBasePoint* PPM = nullptr;
  TDirectionMovement* Next = nullptr;
};

ISPoint* AddPoint(ISPoint*& list);
void AddPrimitiv(ISPoint* pt, TBasePoint* P);
TDirectionMovement* AddDirectionMovement(TDirectionMovement*& list);
// The first point within 1e-4 of (x, y) in both coordinates, or null.
ISPoint* FindPoint(ISPoint* list, double const& x, double const& y);
void DelAllPrimitiv(ISPoint* pt);
void DelAllPoint(ISPoint*& list);
void DeleteAllDirection(TDirectionMovement*& list);

// Prepends the leftmost point of the curves with every curve whose leftmost point it is.
void LeftPoint(TContour const& Sourse, ISPoint*& PointList);
// The points where Prim meets the curves of Sourse, each with the curves through it.
ISPoint* GetAllIntersectPoint(TBasePoint* Prim, TContour& Sourse);
// Prepends the ways out of the point; false when a point curve sits there (the walk is home).
Boolean MakeDirectionMovement(ISPoint* CurrentPoint, TDirectionMovement*& DirectionMovementList);
// The sharpest right turn from incoming direction A (degrees), the turn taken modulo 360; on
// a tie the smaller bias, then the first in the list. Null for an empty list.
TDirectionMovement* GetBestDirection(double const& A, TDirectionMovement* List);
// The next point along the state's piece (null when there is none); PrimM receives the piece
// walked (Atr 1) and the state's DA the direction of travel on arrival.
ISPoint* GetBestPoint(TDirectionMovement& State, ISPoint* IPL, TBasePoint*& PrimM);
