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

namespace drApi {
class TModelerApi;
}

namespace mould {

// tan 30 degrees, as the profiles write it.
constexpr double Tan30 = 0.5773502691896257;
// v to the nearest whole number, halves away from zero; saturating like every stored size.
int Nearest(double v);

} // namespace mould

// Profiles are drawn with x along the part's axis and y its radius; tl and isSize follow the
// drawing code of the other parts: tl 0 without sizes is the bare closed upper half a sketch
// revolves.

// Each part's own Set chooses a standard size by table and key sizes; the designer's Set slots of
// TDetail stay reachable through the base only, on purpose.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Woverloaded-virtual"
// The guide pillar of a mould base (table 5): a guide part with its lead-in taper, groove and
// flat, a seated part, a collar that may carry two flats (Key across) and a fixed end that may
// hold an internal thread. FRadius and Key are its owner's to fill: Set takes neither.
class TSocketLeaderPin : public TDetail, public TRect2D
{
public:
  TSocketLeaderPin(int iId, TModeler3D* M, const TDetail* iComplement, TConstruktor* C);
  // The ten sizes from Len to ThreadLen; neither Key nor the rectangle.
  TSocketLeaderPin& operator=(const TSocketLeaderPin& o);

  // Table 5 only: keyed by the seated diameter 2R, the seated length with the collar T1 and the
  // guide length T2 (the nearest shorter guide length first, then the next longer one). Column 7
  // holds the seat with the collar: whoever draws a pillar from a row of table 5 takes its seat as
  // column 7 less column 4, as this does, or the pillar comes out a collar height too long.
  int Set(int DetId, const Real& R, const Real& T1, const Real& T2);
  void Show(TGImage& GI, const TColor& Color) const override;
  void dr2D() const override;
  void dr3D(int NumberOfTread) const override;
  void toStream(TKmfData& S) const override;
  void fromStream(TKmfData& S) override;

  // The profile of this pillar at the caller's placement.
  void dr2D_VZ(const Real& mx, const Real& my, const Real& ma, const Real& ms, int tl, bool isSize) const;
  // r42 guide, r41 seated and fixed, r43 collar radius; x40 taper length, ix41 guide length,
  // x46 seated length, x42 collar height, ix43 guide-side collar face to fixed end; ix45 width
  // across the collar flats (0: none), r44 and x44 the internal thread (0: none).
  void dr2D_LeaderPin_V1(const Real& mx, const Real& my, const Real& ma, const Real& ms, const Real& r42,
                         const Real& r41, const Real& r43, const Real& x40, const Real& ix41, const Real& x46,
                         const Real& x42, const Real& ix43, int tl, bool isSize, const Real& ix45,
                         const Real& r44, const Real& x44) const;
  // View A of the fixed end, section B-B through the guide's flat and detail G of the groove.
  void dr2D_KolonkaKriplennya_V2(Real mx, Real my, Real ma, Real ms, Real r42, Real r41, Real r43, Real x40,
                                 Real x41, Real x46, Real x42, Real x43, int tl, bool isSize, Real x45,
                                 Real r44, Real x44) const;

  Real Len = 0.0;
  Real FLen = 0.0;
  Real FRadius = 0.0;
  Real OFLen = 0.0;
  Real OFRadius = 0.0;
  Real Radius = 0.0;
  Real CollarHeight = 0.0;
  Real CollarRadius = 0.0;
  Real ThreadRadius = 0.0;
  Real ThreadLen = 0.0;
  Real Key = 0.0;
};

// The guide bush (table 4, or table 2 with a front extension), drawn by the bush profile of
// TDirectPlug.
class TSocketLeaderPinBushing : public TDetail
{
public:
  TSocketLeaderPinBushing(int iId, TModeler3D* M, const TDetail* iComplement);
  TSocketLeaderPinBushing& operator=(const TSocketLeaderPinBushing& o);

  // Table 4 or 2, keyed by the outer diameter 2R and the length T.
  int Set(int DetId, const Real& R, const Real& T);
  void dr2D() const override;
  void dr3D(int NumberOfTread) const override;
  void toStream(TKmfData& S) const override;
  void fromStream(TKmfData& S) override;

  Real Radius = 0.0;
  Real LPRadius = 0.0;
  Real Len = 0.0;
  Real FLen = 0.0;
  Real LPLen = 0.0;
  Real CollarHeight = 0.0;
  Real CollarRadius = 0.0;
  Real GrooveLen = 0.0;
};

// The guide plug of a mould base, four at the corners of its rectangle; its bush profile also
// draws every guide bush.
class TDirectPlug : public TDetail, public TRect2D
{
public:
  TDirectPlug(int iId, TModeler3D* M, TConstruktor& C);

  void Show(TGImage& GI, const TColor& Color) const override;
  // Widens G to hold the four plugs, mirrored about the Y axis, d clear of the border.
  void AddGabIn(TRect2D& G, const Real& d) const;
  void toStream(TKmfData& S) const override;
  void fromStream(TKmfData& S) override;

  // r bore, r1 outer, r2 collar radius; F front extension, S collar height, L length from the
  // collar face, sl guided length of the bore, Xk the V-groove's place (0: none).
  void dr2D_LeaderPinBushing_V1(Real mx, Real my, Real ma, Real ms, Real r, Real r1, Real r2, Real F, Real S,
                                Real L, Real sl, int tl, bool isSize, Real Xk) const;

  Real Radius = 0.0;
  Real CollarHeight = 0.0;
  Real CollarRadius = 0.0;
  Real ColumnRadius = 0.0;
  Real OustingLen = 0.0;
  Real Len = 0.0;
};

// The locating sleeve (table 3): a bush with a bore and a tapped hole at one end; a collar with
// a groove and two key flats where it has one (none from the table).
class TSocketLeaderPinLocatingSleeves : public TDetail
{
public:
  TSocketLeaderPinLocatingSleeves(int iId, TModeler3D* M, const TDetail* iComplement, TConstruktor* C);

  // Table 3, keyed by the outer diameter 2R and the length T.
  int Set(int DetId, const Real& R, const Real& T);
  void dr2D() const override;
  void dr3D(int NumberOfTread) const override;
  void toStream(TKmfData& S) const override;
  void fromStream(TKmfData& S) override;

  // x51 length, x50 collar length, x52 tapped-hole length; r1 outer, r42 bore, r43 collar,
  // r44 thread radius; x45 only tested for 0 (the arrow of view A).
  void dr2D_V1(Real mx, Real my, Real ma, Real mm, Real x51, Real x50, Real x52, Real r1, Real r42, Real r43,
               Real r44, int tl, bool isSize, Real x45) const;
  // The end view: the collar with flats x45 apart (none when they would not cut it).
  void dr2D_V2(const Real& mx, const Real& my, const Real& ma, const Real& mm, const Real& x45,
               const Real& r41, const Real& r42, const Real& r43, const Real& r44, int tl, bool isSize) const;
  // The ring a sketch cuts away to leave the collar's flats.
  void dr2D_Vo(const Real& mx, const Real& my, const Real& ma, const Real& mm, const Real& x45,
               const Real& r42, const Real& r43, int tl, bool isSize) const;

  Real Radius = 0.0;
  Real Len = 0.0;
  Real FLen = 0.0;
  Real FRadius = 0.0;
  Real CollarRadius = 0.0;
  Real CollarHeight = 0.0;
  Real ThreadLen = 0.0;
  Real ThreadRadius = 0.0;
};

// The mushroom-shaped stop pin of an ejector plate, four at the corners of its rectangle.
class TStopPin : public TDetail, public TRect2D
{
public:
  TStopPin(int iId, TModeler3D* M, TConstruktor* C);

  void Show(TGImage& GI, const TColor& Color) const override;
  void dr2D() const override;
  void dr3D(int NumberOfTread) const override;
  void toStream(TKmfData& S) const override;
  void fromStream(TKmfData& S) override;

  // Draws only for Det 0: collar radius r74, pin radius r25, collar height x81, overall length
  // x82, end chamfer f.
  void dr2D_GrybkovaOpora_V1(int Det, Real mx, Real my, Real ma, Real mm, Real r74, Real r25, Real x81,
                             Real x82, Real f, int tl, bool isSize) const;

  Real Radius = 0.0;
  Real CollarRadius = 0.0;
  Real CollarHeight = 0.0;
  Real Len = 0.0;
};

// The clamp of one fixed size; its outlines are not drawn.
class TClamper : public TDetail
{
public:
  TClamper(int iId, TModeler3D* M);
  TClamper& operator=(const TClamper&) { return *this; }

  void Show(TGImage& GI, const TColor& Color) const override;
  void dr2D() const override;
  void dr3D(int NumberOfTread) const override;
  void toStream(TKmfData& S) const override;
  void fromStream(TKmfData& S) override;

  void drPryzymPlan(Real mx, Real my, Real ma, Real ms, int tl, bool isSize) const;
  void drPryzymRozr(Real mx, Real my, Real ma, Real ms, int tl, bool isSize) const;
  void drPryzymRozrPrav(Real mx, Real my, Real ma, Real ms, bool isSize) const;
  void Add(Real x, Real y, Real ZHigh, Real R, bool Reverese, int U) const;

  const Real RA = 25.0;
  const Real c9 = 9.0;
  const Real c16 = 16.0;
  const Real cr4p5 = 4.5;
  const Real c17 = 17.0;
  const Real c3p3 = 3.3;
  const Real cr6p3 = 6.3;
  const Real c6p3 = 6.3;
};

// The hose nipple of one fixed size: a hexagon, a thread and three barbs.
class TFitting : public TDetail
{
public:
  TFitting(int iId, TModeler3D* M);
  TFitting& operator=(const TFitting&) { return *this; }

  void Show(TGImage& GI, const TColor& Color) const override;
  void dr2D() const override;
  void dr3D(int NumberOfTread) const override;
  void toStream(TKmfData& S) const override;
  void fromStream(TKmfData& S) override;

  // Half across flats r1, thread and barb crest r2, barb root r3, bore r4, overall length l.
  void dr2D_Shtucer_V1(Real mx, Real my, Real ma, Real mm, Real r1, Real r2, Real r3, Real r4, Real l, int tl,
                       bool isSize) const;
  // The hexagon seen along the axis inside its cutting circle (only r1 is read).
  void drShtucerVo(Real mx, Real my, Real ma, Real mm, Real r1, Real r2, Real r3, Real r4, Real l) const;

  const Real r1 = 7.0;
  const Real r2 = 6.0;
  const Real r3 = 4.4;
  const Real r4 = 3.0;
  const Real l = 45.0;
  const Real L15 = 15.0;
  const Real l8 = 8.0;
  const Real l6 = 6.0;
  const Real r0 = 8.1;
  const Real f = 1.0;
};

// The helical wire spring: only its sizes are a record; its part is made by dr3D_Spring.
class TWiredSpring : public TDetail
{
public:
  TWiredSpring(int iId, TModeler3D* M);
  TWiredSpring& operator=(const TWiredSpring& o);

  void dr2D() const override {}
  void dr3D(int) const override {}
  void toStream(TKmfData& S) const override;
  void fromStream(TKmfData& S) override;

  // A part document FName of a spring of outer diameter D, wire d, height H and pitch C: the
  // working coils and two end coils swept by the wire's section, both ends cut flat. The spiral
  // and sweep operations are the host modeller's own.
  static void dr3D_Spring(drApi::TModelerApi& Md, const TString& FName, const Real& D, const Real& d,
                          const Real& H, const Real& C);

  Real Radius = 0.0;
  Real WireRadius = 0.0;
  Real Height = 0.0;
};
#pragma GCC diagnostic pop

// =============================================================================================
// Second share: the other records, the sheet and model frame, the profiles
// =============================================================================================
