#pragma once
// The mould and die standard parts. Each part class derives from TDetail: it holds the sizes of
// one standard size of its part (chosen from its table of the standard-parts collection
// ABaseDetail by key sizes, or read from a stream), writes and reads them as a fixed record, shows
// a preview of its placement, draws its drawing sheet (dr2D) and builds its 3D part document
// (dr3D) through the modeller it was made with. Nothing of the coupling library calls them.
//
// The classes are declared here in sections, one per share of the work; each section's
// definitions live in units of their own (MathDetails<Topic>.cpp). The helpers of the common
// pattern come first: every class uses them instead of repeating the steps.
#include <initializer_list>

#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/KmfData.h"
#include "hxcadkit/core/TPointer.h"
#include "hxcadkit/core/TextBase.h"
#include "hxcadkit/drawing/BaseDetail.h"
#include "hxcadkit/geometry/GImage.h"
#include "hxcadkit/geometry/Mathemat.h"
#include "txapi/Enums.h"

// =============================================================================================
// The common pattern
// =============================================================================================
namespace mould {

// The record of a part: Design (1 byte) and Code (4 bytes), then values of 8 bytes each, little
// endian, in the class's order. Reading past the end gives zeros (the stream's rule).
void WriteHead(TKmfData& S, const TDetail& part);
void ReadHead(TKmfData& S, TDetail& part);
void Write(TKmfData& S, std::initializer_list<double> values);
void Read(TKmfData& S, std::initializer_list<double*> values);

// Choosing a standard size. LoadTables reads the standard-parts collection once (from the file
// ABaseDetail was Set to). FindRow loads it and searches table by up to two explicit columns
// (0 for a missing key); Col reads a 1-based column of a row (0.0 outside the table).
void LoadTables();
int FindRow(int table, int column1, double value1, int column2, double value2);
double Col(int table, int row, int column);
// The part holds row of table now (row >= 1): its code 1000 x table + row, recorded in the
// control model's detail list under the part's kind. Design becomes (row != 0) in any case.
void Chosen(TDetail& part, int table, int row);

// The preview of four equal parts at the rectangle's corners, in the order (RU.x, RU.y),
// (RU.x, LD.y), (LD.x, RU.y), (LD.x, LD.y): the pen, then a circle of radius r at each. Nothing
// for a part without a size.
void ShowCorners(const TDetail& part, TGImage& GI, const TColor& Color, const TRect2D& R, double r);

// The sheet of the part with its first view at (x, y); false when the modeller opens none.
bool OpenSheet(const TDetail& part, double x, double y);
// The part document of the part with a sketch on the standard plane; false when none is opened
// (or the part has no modeller).
bool OpenPart(const TDetail& part, txapi::txObj3dTypeEnum plane);
// The grey of the mould parts' bodies.
void Grey(TModeler3D& M);
// A size in a name: two decimals, a point, right-aligned in seven characters.
TString Num(double v);
// A stored or computed size as an int: NaN gives 0, values out of range the nearest end.
int ToInt(double v);

} // namespace mould

// The part classes of this section choose their size with a Set of their own that hides TDetail's
// virtual ones on purpose: a call with the part's own sizes must not reach the designer's steps,
// and bringing those in would make every such call ambiguous.
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Woverloaded-virtual"
#endif

// =============================================================================================
// First slice: spacer screw (and the two classes reading its record), pin, cap screw, set screw
// =============================================================================================

// The spacer screw: a stepped screw with a collar, body and thread, four at the corners of the
// rectangle; one piece ("Цельный") or a cap screw, washer and bush ("Сборный"). Table 39.
class TDistanceScrew : public TDetail, public TRect2D
{
public:
  static constexpr int Table = 39;

  TDistanceScrew(int kind, TModeler3D* M, TConstruktor* C);
  // The rectangle and the six sizes; not DepthHole, Execution, Code or Design.
  TDistanceScrew& operator=(const TDistanceScrew& o);

  // Row Row of table 39: its row, or 0 (with Design false) for a foreign table or a row that
  // is not there.
  int Set(int DetId, int Row);
  // The row of body diameter 2R and body length T.
  int Set(int DetId, const Real& R, const Real& T);

  // The one-piece profile: draws nothing.
  void dr2D_V1(const double& mx, const double& my, const double& ma, const double& ms, int tl,
               bool isSize) const;
  // The threaded spacer with its dimensions: radii r89 (collar end), r95 (body), r94 (thread);
  // lengths y5 (thread), y6 (collar), y7 (overall), y92 (the body's fit).
  void dr2D_Gvynt_V1(const double& mx, const double& my, const double& ma, const double& ms,
                     const double& r89, const double& r95, const double& r94, const double& y5,
                     const double& y6, const double& y7, const double& y92, int tl, bool isSize) const;

  void dr3D(int NumberOfTread) const override;
  void dr2D() const override;
  void toStream(TKmfData& S) const override;
  void fromStream(TKmfData& S) override;

  Real Radius = 0.0;
  Real Len = 0.0;
  Real CollarHeight = 0.0;
  Real CollarRadius = 0.0;
  Real ThreadLen = 0.0;
  Real ThreadRadius = 0.0;
  TEnum Execution; // 0 one piece, 1 assembled
  Real DepthHole = 0.0;
};

// Two parts with the spacer screw's record; records older than version 45 have layouts of
// their own (the rectangle first, upper-right corner before lower-left).
class TTraction : public TDistanceScrew
{
public:
  TTraction(int kind, TModeler3D* M, TConstruktor& C);
  void fromStream(TKmfData& S) override;
};

class TScrewSpecial : public TDistanceScrew
{
public:
  TScrewSpecial(int kind, TModeler3D* M, TConstruktor& C);
  void fromStream(TKmfData& S) override;
};

// The cylindrical dowel pin, four at the corners of the rectangle. Table 31. No sheet.
class TPin : public TDetail, public TRect2D
{
public:
  static constexpr int Table = 31;

  // The designer is not kept.
  TPin(int kind, TModeler3D* M, TConstruktor* C);
  // The rectangle, the sizes, Code and Design.
  TPin& operator=(const TPin& o);

  // The row of diameter 2R and length L.
  int Set(int DetId, const Real& R, const Real& L);

  void dr3D(int NumberOfTread) const override;
  void dr2D() const override {}
  void Show(TGImage& GI, const TColor& Color) const override;
  void toStream(TKmfData& S) const override;
  void fromStream(TKmfData& S) override;

  Real Radius = 0.0;
  Real Len = 0.0;
};

// The hexagon socket head cap screw holding the plates, four at the corners of the rectangle.
// Tables 33 (nominal length under the head) and 26. No sheet.
class TScrew : public TDetail, public TRect2D
{
public:
  static constexpr int Table = 33;
  static constexpr int Table2 = 26;

  TScrew(int kind, TModeler3D* M, TConstruktor* C);
  // The rectangle and the sizes; not Code or Design.
  TScrew& operator=(const TScrew& o);

  // Table 33: shank diameter 2|R| and length |T|, a key's column signed as its value (column
  // -1 takes the first row above the value); table 26: diameter 2R and length T.
  int Set(int DetId, const Real& R, const Real& T);

  void dr3D(int NumberOfTread) const override;
  void dr2D() const override {}
  void Show(TGImage& GI, const TColor& Color) const override;
  void toStream(TKmfData& S) const override;
  void fromStream(TKmfData& S) override;

  Real Radius = 0.0; // shank
  Real HeadRadius = 0.0;
  Real HeadLen = 0.0;
  Real Len = 0.0; // overall, head included
};

// The hexagon socket set screw. Its sheet and model are empty; its profile is drawn by the
// standard part built by code.
class TSetScrew : public TDetail
{
public:
  TSetScrew(int kind, TModeler3D* M, TConstruktor& C);

  // The socket: a hexagon across flats S centred on the origin, two corners on the Y axis,
  // drawn once in line code tl.
  void drHexAngle(const Real& S, int tl) const;

  void dr3D(int) const override {}
  void dr2D() const override {}
  void toStream(TKmfData& St) const override;
  void fromStream(TKmfData& St) override;

  // Profiles of the second share are declared below this line.

  Real r = 0.0;
  Real R = 0.0;
  Real L = 0.0;
  Real K = 0.0;
  Real S = 0.0;
};

#if defined(__clang__)
#pragma clang diagnostic pop
#endif

// =============================================================================================
// Guide parts: guide pillar, guide bush, locating sleeve, stop pin, clamp, fitting, spring
// =============================================================================================

// =============================================================================================
// Second share: the other records, the sheet and model frame, the profiles
// =============================================================================================
