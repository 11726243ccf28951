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
#include <functional>
#include <initializer_list>
#include <span>

#include "hxcadkit/adapter/drSheetMeasures.h"
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
// The value of column `wanted` in the first row of table whose column `key` holds value; fallback
// when no row does or the row's value is not positive.
double ColOfSize(int table, int key, double value, int wanted, double fallback);
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
// Whether every size is finite and above zero, or finite and not below zero.
bool Positive(std::initializer_list<double> sizes);
bool NotNegative(std::initializer_list<double> sizes);
// Refuses a part's sizes through the message channel ("<part>: <why>") when why is set; true when it did.
// Each part class keeps the relations its outline needs in one function of its own that says why (or
// null) and refuses with this before it draws or models anything.
bool RefuseSizes(const char* part, const char* why);
// The sizes of the bush profile, those of TDirectPlug::dr2D_LeaderPinBushing_V1: bore r, outside r1, collar
// r2, front F (0 for none), collar S (0 for none), length L from the collar's face, guided length sl (0: the
// whole bore relieved), V-groove Xk or 0. The guide bush, the guide plug and the bushes built by code are
// this profile, and its relations are theirs.
struct TBushSizes
{
  double r, r1, r2, F, S, L, sl, Xk;
};
// The relations of the profile, in the order they are checked; bsNone when all hold.
enum TBushRelation { bsSizes, bsGuided, bsBore, bsCollar, bsFront, bsCollarLength, bsGroove, bsNone };
TBushRelation BushBroken(const TBushSizes& b);
// What a relation asks for, as the user is told; null for bsNone.
const char* BushMeaning(TBushRelation broken);
// Why the bush profile cannot be made of its sizes, or null.
const char* BushFault(double r, double r1, double r2, double F, double S, double L, double sl, double Xk);
// The locating ring's section, that of TLocatingRing::dr2D_LocatingRing_V1: shoulder RBase standing sh on the
// face x = 0 (none where RBase is R), outside R, bore iR straight over the land t and then opening at a
// degrees to the face x = T. The ring class and the ring's codes are this section, and its relations are
// theirs.
struct TRingSizes
{
  double RBase, R, iR, t, a, sh, T;
};
// The relations of the section, in the order they are checked; rgNone when all hold.
enum TRingRelation { rgSizes, rgLand, rgShoulderWidth, rgShoulderRoot, rgLength, rgBore, rgNone };
TRingRelation RingBroken(const TRingSizes& r);
// What a relation asks for, as the user is told; null for rgNone.
const char* RingMeaning(TRingRelation broken);
// The sprue bush's radius in its plate: a whole millimetre in diameter, never below 8, that the sprue
// opening from r57 at the seat's depth x71 at 3 degrees leaves at least 2.1 wide at the far end x70.
double SprueFitRadius(double r57, double x70, double x71);

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

  // The one-piece profile: the threaded profile in the record's sizes, placed at the thread's start.
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
// Tables 33 and 26, both giving the nominal length under the head. No sheet.
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
  // The set screw: head of radius R and length K with a hexagon socket iS across the flats, shank
  // sR to L with its thread. Both halves in a drawing, the upper one alone (tl 0) in a sketch.
  void dr2D_V1(const Real& mx, const Real& my, const Real& ma, const Real& mm, const Real& sR, const Real& R,
               const Real& L, const Real& K, const Real& iS, const Integer tl, bool isSize) const;

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

  // The length of the guide's lead-in taper.
  double LeadIn() const;
  // The profile of this pillar at the caller's placement.
  void dr2D_VZ(const Real& mx, const Real& my, const Real& ma, const Real& ms, int tl, bool isSize) const;
  // r42 guide, r41 seated and fixed, r43 collar radius; x40 taper length, ix41 guide length,
  // x46 seated length, x42 collar height, ix43 guide-side collar face to fixed end; ix45 width
  // across the collar flats (0: none), r44 and x44 the internal thread (0: none).
  void dr2D_LeaderPin_V1(const Real& mx, const Real& my, const Real& ma, const Real& ms, const Real& r42,
                         const Real& r41, const Real& r43, const Real& x40, const Real& ix41, const Real& x46,
                         const Real& x42, const Real& ix43, int tl, bool isSize, const Real& ix45,
                         const Real& r44, const Real& x44) const;
  // View A of the fixed end, section B-B through the guide's flat and detail G of the groove; x42 the
  // collar's height and x43 the fixed end from the guide-side collar face (equal: the collar is the end).
  void dr2D_KolonkaKriplennya_V2(Real mx, Real my, Real ma, Real ms, Real r42, Real r41, Real r43, Real x40,
                                 Real x41, Real x46, Real x42, Real x43, int tl, bool isSize, Real x45,
                                 Real r44, Real x44) const;
  // Section B-B through the guide's flat (twice enlarged, centred at mx, my) and detail G of the
  // guide's groove beside it.
  void dr2D_GuideSection(const Real& mx, const Real& my, const Real& r42, int tl, bool isSize) const;

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
  // The callouts, details and position of the grooves the sheet's profile draws.
  void dr2D_Grooves() const;
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
  void dr2D() const override;
  void dr3D(int NumberOfTread) const override;
  void toStream(TKmfData& S) const override;
  void fromStream(TKmfData& S) override;

  // r bore, r1 outer, r2 collar radius; F front extension, S collar height, L length from the
  // collar face, sl guided length of the bore, Xk the V-groove's place (0: none).
  void dr2D_LeaderPinBushing_V1(Real mx, Real my, Real ma, Real ms, Real r, Real r1, Real r2, Real F, Real S,
                                Real L, Real sl, int tl, bool isSize, Real Xk) const;
  // The scale its sheet draws it at: 1, or the least enlargement that gives its collar and front part their
  // room.
  double SheetScale() const;

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
// Records: Design (1 byte), Code (4 bytes, but for TRepairBolt) and then the sizes as 8-byte
// doubles in each class's own order; fields added later are read only from the stream version
// that brought them. The sheets and models (dr2D, dr3D) of these classes follow the common frame
// below (drMouldSheet, drMouldModel).

// Least distances between the parts of a set and the plate's border.
inline constexpr Real cMinDistBackEjectorBorder = 5.0;
inline constexpr Real cMinDistDirectPlugBorder = 5.0;

// The technical-requirement texts of the sheets (entry 0 empty) and the tolerance texts of
// single dimensions (entry 0 empty), built when the library is loaded.
extern const TString TDemStr[41];
extern const TString Qual[6];

// The nearest whole number of v, halves away from zero; NaN gives 0 and values beyond the range
// of Integer its nearest end.
Integer MouldWhole(double v);

// The sheet of a mould part: the sheet with its title block and view 1 at (x, y), then what
// draw draws into the view (the profile at the origin with tl 1, the further elements), then
// the view and sheet closed with the requirement texts TDemStr[t1..t4] (0 leaves a slot empty).
// False, with nothing drawn, when the modeller makes no sheet.
bool drMouldSheet(TModeler3D& M, int Id, double x, double y, const std::function<void(TModeler3D&)>& draw,
                  int t1, int t2 = 0, int t3 = 0, int t4 = 0);
// The same with the part drawn at scale (reduced, 1 / a whole number, or enlarged, a standard ratio)
// on the sheet, as its title block says: (x, y) and what draw draws are the part's own millimetres,
// the texts, their heights and dimension lines' offsets the sheet's.
bool drMouldSheet(TModeler3D& M, int Id, double x, double y, double scale,
                  const std::function<void(TModeler3D&)>& draw, int t1, int t2 = 0, int t3 = 0, int t4 = 0);
// How much of the sheet's width a part drawn enlarged takes at most, beside the sizes about it.
constexpr double MouldEnlargedRoom = 250.0;
// The least standard enlargement (1, 2, 2.5, 4, 5) at which roomy holds of a part drawn length long,
// as long as the part still fits the sheet's width and the enlargement is at most most; the largest that
// fits where none gives the room.
double MouldEnlargement(double length, const std::function<bool(double)>& roomy, double most = 5.0);
// The same, each enlargement past 1:1 tried only while allowed holds of it (of every smaller one too), and
// while the part drawn length long takes at most room of the sheet's width.
double MouldEnlargement(double length, const std::function<bool(double)>& roomy,
                        const std::function<bool(double)>& allowed, double room = MouldEnlargedRoom);
// The scale, 1 or the least standard reduction (1:2, 1:2.5, 1:4, 1:5), that brings extent within room; the
// last where none does.
double MouldReduction(double extent, double room);
// How much of a part the largest sheet's frame holds either way with the sizes about it and the margins.
constexpr double MouldSheetRoom = 360.0;

// The scale the part is drawn at here on its sheet (the sheet's enlargement or reduction and any view's
// own): a title drawn in the part's millimetres keeps its height on paper divided by it.
double DrawnScale(const TModeler3D& M);
// How far on paper a value may stand from the arc or circle it sizes, as the release checks measure it and
// the sheet's layout keeps it.
constexpr double ValueReach = drApi::sheet::LeaderReach;
// How far apart on paper the layout keeps parallel dimension lines.
constexpr double LineSpacing = drApi::sheet::DimensionSpacing;
// How near a parallel outline on paper a dimension line runs along it, which the layout keeps it off.
constexpr double LineAlongside = drApi::sheet::OutlineAlongside;
// How much farther than a view is across the layout lets an extension line run over it.
constexpr double ExtensionOverView = drApi::sheet::ExtensionOverView;
// Closes the view and the sheet with the requirement texts TDemStr[t1..t4], as drMouldSheet does.
void drMouldCloseSheet(TModeler3D& M, int t1, int t2 = 0, int t3 = 0, int t4 = 0);
// Discards the current part document, unwritten, with a message naming its file when the part has no
// body; true when it did.
bool drMouldDiscardEmpty(TModeler3D& M);
// What had gone wrong before a part's build began: the elements refused and the features the modeller
// failed, both counted over the whole run.
struct TMouldBuildMark
{
  long long Refused = 0, Failed = 0;
};
TMouldBuildMark drMouldBuildMark(const TModeler3D& M);
// Discards the current part document, unwritten, when an element was refused or the modeller failed a
// feature since mark (a part without it is not the part asked for: its sheet goes too), or when it has no
// body; each with a message naming its file (a refused element has given its own). True when it did.
bool drMouldDiscardFailed(TModeler3D& M, const TMouldBuildMark& mark);
// Whether the part document just saved or closed was written; false, with a message naming its file (taken
// before the save), when it was not. Its sheet went with it.
bool drMouldSaved(TModeler3D& M, const TString& file);
// The 3D part of a mould part: a part document with a sketch on plane 3, the profile drawn by
// profile (tl 0, no sizes), revolved a full turn, then what cut adds (holes, flats), the grey
// colour and the document closed and saved. False, with nothing made, when the modeller starts
// no part, when the part made is not whole (drMouldDiscardFailed) or when it could not be written.
bool drMouldModel(TModeler3D& M, int Id, const std::function<void(TModeler3D&)>& profile,
                  const std::function<void(TModeler3D&)>& cut = {});

class TEjectorPlug;
class TColumnTail;

class TBackEjector : public TDetail, public TRect2D
{
public:
  TBackEjector(int iId, TModeler3D* M, TConstruktor& C, int iId2);
  void dr3D(int NumberOfTread) const override;
  void dr2D() const override;
  // The support it rests on, of kind Id2: its part, and a sheet nothing draws.
  void dr3D_Opora() const;
  void dr2D_Opora() const;
  // The pusher's and the support's own outlines: left empty, and nothing calls them.
  void dr2D_V1(const Real& mx, const Real& my, const Real& ma, const Real& ms, Integer tl, bool isSize) const;
  void dr2D_Opora_V1(const Real& mx, const Real& my, const Real& ma, const Real& mm, const Real& r59,
                     const Real& r17, const Real& x28, const Real& y77, Integer tl, bool isSize) const;
  // The four parts of the set at the rectangle's corners.
  void Show(TGImage& G, const TColor& Color) const override;
  // Widens G to the parts of the set with d between them and the plate's border.
  void AddGabIn(TRect2D& G, const Real& d) const;
  void toStream(TKmfData& S) const override;
  void fromStream(TKmfData& S) override;

  Real Radius = 0.0, CollarHeight = 0.0, CollarRadius = 0.0, FitRadius = 0.0, FitLen = 0.0, Len = 0.0,
       LenOpora = 0.0;
};

class TDirectColumn : public TDetail
{
public:
  TDirectColumn(int kind, TModeler3D* M, TConstruktor& C);
  void dr3D(int NumberOfTread) const override;
  void dr2D() const override;
  // The column's outlines: left empty, and nothing calls them.
  void dr2D_V1(const Real& mx, const Real& my, const Real& ma, const Real& ms, Integer tl, bool isSize) const;
  void dr2D_KolonkaMehSt_V1(const Real& mx, const Real& my, const Real& ma, const Real& ms, Integer tl,
                            bool isSize) const;
  void toStream(TKmfData& S) const override;
  void fromStream(TKmfData& S) override;

  Real Radius = 0.0, TailRadius = 0.0, TailLen = 0.0, Len = 0.0, SupportLen = 0.0;
};

class TWasherEjectorChannel : public TDetail
{
public:
  TWasherEjectorChannel(int kind, TModeler3D* M, TConstruktor& C);
  void dr3D(int NumberOfTread) const override;
  void dr2D() const override;
  // The washer's outline: left empty, and nothing calls it.
  void dr2D_Shajba_V1(const Real& mx, const Real& my, const Real& ma, const Real& ms, Integer tl,
                      bool isSize) const;
  void toStream(TKmfData& S) const override;
  void fromStream(TKmfData& S) override;

  Real Height = 0.0, Radius = 0.0;
};

class TMTail : public TDetail
{
public:
  TMTail(int kind, TModeler3D* M, TConstruktor& C);
  void dr3D(int NumberOfTread) const override;
  void dr2D() const override;
  void toStream(TKmfData& S) const override;
  void fromStream(TKmfData& S) override;

  // The ejector rod of radius r with threaded holes of radius r1 and depths l1 (at x = 0) and
  // l2 (at x = L), each drilled 5 mm deeper; l3, s and isSize are not read.
  void dr2D_EjectorRod_V1(const Real& mx, const Real& my, const Real& ma, const Real& mm, const Real& r,
                          const Real& r1, const Real& l1, const Real& l2, const Real& l3, const Real& s,
                          const Real& L, Integer tl, bool isSize) const;
  // The rod's wrench flats, s wide and s long, l3 from the end x = L: the two pieces a model cuts
  // away. r1, l1, l2, tl and isSize are not read.
  void dr2D_EjectorRod_V3(const Real& mx, const Real& my, const Real& ma, const Real& mm, const Real& r,
                          const Real& r1, const Real& l1, const Real& l2, const Real& l3, const Real& s,
                          const Real& L, Integer tl, bool isSize) const;

  // The shank's side view, X = 0 at the groove's shoulder: collar r74 over x90 from the collar end
  // face at x74 - x76, flats x75 across over x89, cross hole r61 at x88, shank r62, thread r30 up
  // to the threaded end face at x74 with a bore r98 y3 deep and its mouth step r97 y4 deep. tl / 10
  // picks the half (1 upper, 2 lower, else both with the cross hole), tl % 10 the style; tl 0 is
  // the closed upper half a model revolves. Reads ThreadStep for the thread's designation.
  void dr2D_V1(const Real& mx, const Real& my, const Real& ma, const Real& ms, const Real& r74,
               const Real& x90, const Real& x89, const Real& x88, const Real& r61, const Real& r62,
               const Real& r30, const Real& x76, const Real& x74, const Real& x75, const Real& y3,
               const Real& y4, const Real& r98, const Real& r97, int tl, bool isSize) const;
  // The end view across the flats, with the hidden cross hole; reads only the placement, r74, r61,
  // x75, tl and isSize.
  void dr2D_V2(const Real& mx, const Real& my, const Real& ma, const Real& ms, const Real& r74,
               const Real& x90, const Real& x89, const Real& x88, const Real& r61, const Real& r62,
               const Real& r30, const Real& x76, const Real& x74, const Real& x75, const Real& y3,
               const Real& y4, const Real& r98, const Real& r97, int tl, bool isSize) const;
  // The two pieces the flats take off the collar, seen along the axis; reads only the placement,
  // r74 and x75.
  void dr2D_Hvostovyk_Vo(const Real& mx, const Real& my, const Real& ma, const Real& ms, const Real& r74,
                         const Real& x90, const Real& x89, const Real& x88, const Real& r61, const Real& r62,
                         const Real& r30, const Real& x76, const Real& x74, const Real& x75) const;
  // Draws nothing.
  void dr2D_VZ(const Real& mx, const Real& my, const Real& ma, const Real& ms, int tl) const;

  Real Radius = 0.0, Len = 0.0, ThreadLen = 0.0, ThreadRadius = 0.0, ThreadStep = 0.0, CollarHeight = 0.0,
       CollarRadius = 0.0;
  // Working values of the shank's sheet and model; not in the record.
  Real R61 = 0.0, X88 = 0.0, X89 = 0.0, X90 = 0.0, R97 = 0.0, R98 = 0.0, Y3 = 0.0, Y4 = 0.0;
};

class TEjectorChannel : public TDetail
{
public:
  // EP: the channel's ejector plug (not owned), or null.
  TEjectorChannel(int kind, TModeler3D* M, TConstruktor& C, TEjectorPlug* EP);
  void dr3D(int NumberOfTread) const override;
  void dr2D() const override;
  // An outline of its own, left empty: the pusher is drawn by the common profile.
  void dr2D_V1(const Real& mx, const Real& my, const Real& ma, const Real& ms, Integer tl, bool isSize) const;
  void toStream(TKmfData& S) const override;
  void fromStream(TKmfData& S) override;

  Real Radius = 0.0, Len = 0.0, FreeRadius = 0.0, SpringRadius = 0.0, SpringLen = 0.0, FitRadius = 0.0,
       FitLen = 0.0, CollarRadius = 0.0, CollarHeight = 0.0, GradeLen = 0.0, GradeHeight = 0.0;
};

class TEjectorPlug : public TDetail
{
public:
  TEjectorPlug(int kind, TModeler3D* M, TConstruktor& C);
  void dr3D(int NumberOfTread) const override;
  void dr2D() const override;
  void toStream(TKmfData& S) const override;
  void fromStream(TKmfData& S) override;

  // Half section: collar r70 high x27, body r22 to x59, bore r68 over x68 (its 1 mm cone
  // included), r71 to the seat, the seat r66 at the far end widening at 1 degree over x9, a
  // relief groove beside the collar. Both halves and the hatch whenever tl is not 0. With edgeDetail the
  // caller draws the seat edge's detail (SeatEdgeDetail) where the view leaves its radius no place, and the
  // view calls the edge out there; without it the radius is sized on the view as best it can.
  void dr2D_V1(Real mx, Real my, Real ma, Real ms, Real r70, Real r68, Real r71, Real r66, Real r22, Real x68,
               Real x9, Real x27, Real x59, Integer tl, bool isSize, bool edgeDetail = false) const;
  // The scale its sheet draws it at: 1, or the least enlargement that gives the diameters along its body
  // their room.
  double SheetScale() const;
  // How far past the far end face the seat's angle reaches on its sheet, in paper millimetres, drawn at
  // sheet to the part's (its arc's radius, about the mouth's edge).
  double SeatAngleReach(double sheet) const;
  // Whether the seat edge's radius, drawn at sheet to the part's, finds no place for its value on the view
  // and is called out instead, to be sized on its enlarged detail, drawn by SeatEdgeDetail at the free
  // place nearest (x, y) of the view.
  bool SeatEdgeApart(double sheet) const;
  void SeatEdgeDetail(TModeler3D& Md, double x, double y) const;

  Real Radius = 0.0, Len = 0.0, ConeLen = 0.0, CollarHeight = 0.0, CollarRadius = 0.0, ECRadius = 0.0,
       EC2Radius = 0.0, EC2Len = 0.0;
};

class TTubeDowel : public TDetail
{
public:
  TTubeDowel(int kind, TModeler3D* M, TConstruktor& C);
  // No sheet and no model of their own: the dowel is built by code.
  void dr3D(int NumberOfTread) const override;
  void dr2D() const override;
  void toStream(TKmfData& S) const override;
  void fromStream(TKmfData& S) override;

  // Half section of a plain tube, outer radius r1, bore ir50, length x53, its outer edges
  // chamfered.
  void dr2D_VtulkaCentruucha_V1(const Real& mx, const Real& my, const Real& ma, const Real& mm,
                                const Real& r1, const Real& ir50, const Real& x53, Integer tl,
                                bool isSize) const;

  Real Radius = 0.0, Len = 0.0, ECRadius = 0.0;
};

class TInjectPlug : public TDetail
{
public:
  TInjectPlug(int kind, TModeler3D* M, TConstruktor& C);
  void dr3D(int NumberOfTread) const override;
  void dr2D() const override;
  void toStream(TKmfData& S) const override;
  void fromStream(TKmfData& S) override;

  // Half section of the sprue bush between x = -x70 and the nozzle end at 0: the seat sphere
  // r73, depth x71, opening r57; the sprue widening at A degrees; the part in the plate x69 long
  // (at least 8 in radius); the flange r56, x3 thick; the nozzle end r5.
  void dr2D_V1(Real mx, Real my, Real ma, Real mm, Real r73, Real r57, Real r56, Real r5, Real x69, Real x70,
               Real x3, Real x71, Integer tl, bool isSize, Real A) const;

  Real FitLen = 0.0, LenDelta = 0.0, Len = 0.0, SphereRadius = 0.0, SphereLen = 0.0, MFitRadius = 0.0,
       BFitRadius = 0.0, TPARadius = 0.0, CollarHeight = 0.0, CollarRadius = 0.0;
};

class TSupportWasher : public TDetail
{
public:
  TSupportWasher(int kind, TModeler3D* M, TConstruktor* C);
  void dr3D(int NumberOfTread) const override;
  void dr2D() const override;
  void toStream(TKmfData& S) const override;
  void fromStream(TKmfData& S) override;

  // Half section: collar r35 over x34 (its inner face at the origin), body r1 to x36, a relief
  // groove beside the collar when r1 differs from r35, the screw head's counterbore r36 x35 deep
  // and the bore r37.
  void dr2D_ShajbaOporna_V1(const Real& mx, const Real& my, const Real& ma, const Real& mm, const Real& x34,
                            const Real& x35, const Real& x36, const Real& r35, const Real& r36,
                            const Real& r37, const Real& r1, Integer tl, bool isSize) const;

  Real Len = 0.0, Radius = 0.0, CollarRadius = 0.0, CollarHeight = 0.0, BoltHeadLen = 0.0,
       BoltHeadRadius = 0.0, BoltRadius = 0.0;
};

class TReTraction : public TDetail
{
public:
  TReTraction(int kind, TModeler3D* M, TConstruktor& C);
  void dr3D(int NumberOfTread) const override;
  void dr2D() const override;
  // The retraction's outline: left empty, and nothing calls it.
  void dr2D_V1(const Real& mx, const Real& my, const Real& ma, const Real& ms, Integer tl, bool isSize) const;
  void Show(TGImage& G, const TColor& Color) const override;
  void toStream(TKmfData& S) const override;
  void fromStream(TKmfData& S) override;

  Real Radius = 0.0, Len = 0.0, FitLen = 0.0, Fit2Len = 0.0, CollarHeight = 0.0, CollarRadius = 0.0;
};

class TProtectSupport : public TDetail
{
public:
  TProtectSupport(int kind, TModeler3D* M, TConstruktor& C);
  void dr3D(int NumberOfTread) const override;
  void dr2D() const override;
  void Show(TGImage& G, const TColor& Color) const override;
  void toStream(TKmfData& S) const override;
  void fromStream(TKmfData& S) override;

  Real ThreadLen = 0.0, Len = 0.0, ThreadRadius = 0.0, Radius = 0.0, Key = 0.0, LenToKey = 0.0;
};

class TRepairBolt : public TDetail
{
public:
  TRepairBolt(int kind, TModeler3D* M, TConstruktor& C);
  void dr3D(int NumberOfTread) const override;
  void dr2D() const override;
  void Show(TGImage& G, const TColor& Color) const override;
  // No Code in this record.
  void toStream(TKmfData& S) const override;
  void fromStream(TKmfData& S) override;

  Real X = 0.0, Depth = 0.0, Len = 0.0, Radius = 0.0, UpperLen = 0.0, UpperRadius = 0.0;
};

class TColumnTail : public TDetail
{
public:
  TColumnTail(int kind, TModeler3D* M, TConstruktor& C);
  void dr3D(int NumberOfTread) const override;
  void dr2D() const override;
  // The tail's outline: left empty, and nothing calls it.
  void dr2D_V1(const Real& mx, const Real& my, const Real& ma, const Real& ms, const Real& r79,
               const Real& r80, const Real& y64, const Real& y65, const Real& y63, Integer tl,
               bool isSize) const;
  void Show(TGImage& G, const TColor& Color) const override;
  void toStream(TKmfData& S) const override;
  void fromStream(TKmfData& S) override;
  // The positions in use: Count as stored, within 0..5.
  int Positions() const;

  Integer Count = 0; // as read; a stream may claim more than the five angles
  Real PlaceRadius = 0.0;
  Real Angle[5] = {};
  Real Radius = 0.0, Key = 0.0, Len = 0.0, ThreadLen = 0.0, ThreadRadius = 0.0;
};

class TCirclePlane : public TDetail
{
public:
  TCirclePlane(int kind, TModeler3D* M, TConstruktor& C, const TDetail* ColumnTail, const TDetail* MTail);
  void dr3D(int NumberOfTread) const override;
  void dr2D() const override;
  // The plate's section and plan: left empty, and nothing calls them.
  void dr2D_V1(const Real& mx, const Real& my, const Real& ma, const Real& ms, const Real& r85,
               const Real& r78, const Real& r30, const Real& r84, const Real& r83, const Real& y66,
               const Real& y69, Integer tl, bool isSize) const;
  void dr2D_V2(const Real& mx, const Real& my, const Real& ma, const Real& ms, const Real& r85,
               const Real& r78, const Real& r30, const Real& r84, const Real& r83, const Real& y66,
               const Real& y69, Integer tl, bool isSize) const;
  void Show(TGImage& G, const TColor& Color) const override;
  void toStream(TKmfData& S) const override;
  void fromStream(TKmfData& S) override;

  Real Thickness = 0.0, Radius = 0.0, BoltRadius = 0.0, BoltHeadRadius = 0.0, BoltHeadLen = 0.0;
};

class TLocatingRing : public TDetail
{
public:
  // CT: the column tail the ring sits on (not owned), or null.
  TLocatingRing(int iId, int iId2, TModeler3D* M, TConstruktor* C, TColumnTail* CT);
  void dr3D(int NumberOfTread) const override;
  void dr2D() const override;
  void Show(TGImage& G, const TColor& Color) const override;
  void toStream(TKmfData& S) const override;
  void fromStream(TKmfData& S) override;
  // The fixing bolts in use: CountFix as stored, within 0..5.
  int FixPositions() const;
  const TColumnTail* Tail() const;
  // Whether the bore of radius iR is sized on the plan view: its value finds no room across it in the
  // section, where its line run on would cross the shoulder's extension lines, and a plan view shows it.
  bool BoreOnPlan(double iR) const;
  // The scale its plan view is drawn at: 1, or the largest of 1:2, 1:4, 1:5, 1:10 at which the values the
  // plan view's leaders carry past the rim stand within reach of their arcs. The section keeps the sheet's.
  double PlanScale() const;
  // The scale its section is drawn at where it does not share the plan's: the largest of 1:1 and the
  // reductions that brings the ring's diameter within room, enlarged where its shoulder's length needs the
  // section thicker on paper.
  double SectionScale(double room) const;

  // The plan view along the axis for the designation Det: the bore for Id, else the column
  // tail's holes; nothing without a column tail.
  void dr2D_V2(const Real& mx, const Real& my, const Real& ma, const Real& mm, int Det, int tl,
               bool isSize) const;
  // Contour nCont of a part of designation Det: 1 the body's half, 2 the through holes, 3 the
  // bolt-head recesses; nothing for another nCont.
  void dr2D_Vo(const Real& mx, const Real& my, const Real& ma, const Real& ms, int Det, int nCont) const;

  // Axial section between x = 0 (the shoulder's side) and T: outer radius RTpa, shoulder RBase
  // over sh, bore iR cylindrical over t and then widening at a degrees; with tl's tens digit 1,
  // 2 or 3 the counterbored fixing holes (r52, r53 x66 deep) on the circle r10 and the hatch.
  // An entry angle outside (0, 180) leaves the bore straight. r8 is not read.
  void dr2D_LocatingRing_V1(const Real& mx, const Real& my, const Real& ma, const Real& mm, const Real& RBase,
                            const Real& RTpa, const Real& iR, const Real& t, const Real& a, const Real& sh,
                            const Real& T, const Real& r10, const Real& r52, const Real& r53, const Real& r8,
                            const Real& x66, Integer tl, bool isSize) const;

  Real Thickness = 0.0, Radius = 0.0, BaseRadius = 0.0, BaseThickness = 0.0, InRadius = 0.0,
       InThickness = 0.0, InAngle = 0.0, FixRadius = 0.0, PinRadius = 0.0, PinAngle = 0.0,
       FixBoltRadius = 0.0, FixBoltHeadRadius = 0.0, FixBoltHeadLen = 0.0;
  Integer CountFix = 0; // as read; a stream may claim more than the five angles
  Real FixAngle[5] = {};
};

class TEjectorPin : public TDetail
{
public:
  TEjectorPin(TModeler3D* M, TConstruktor& C);
  // No sheet and no model of their own: the pin is built by code.
  void dr3D(int NumberOfTread) const override;
  void dr2D() const override;
  void toStream(TKmfData& S) const override;
  void fromStream(TKmfData& S) override;

  // The pin: head of radius D and height k (its underside at the origin), shank d to L from the
  // head's top, the fillet R between them; with isSize its dimensions and roughness.
  void dr2D_V1(const Real& mx, const Real& my, const Real& ma, const Real& ms, const Real& d, const Real& D,
               const Real& k, const Real& R, const Real& L, Integer tl, bool isSize);

  Real d = 0.0, D = 0.0, k = 0.0, R = 0.0, Len = 0.0;
};

// =============================================================================================
// The standard part built by code
// =============================================================================================

// Builds the part of code MakeId (2 to 52) as the part document Path + Name + ".tpt" from its
// sizes P, P[0] being a leading slot (as TADTable::Params gives a row) that only codes 37 and 38
// read. False, before any document is made, for a code without a part or fewer sizes than its
// part reads. ResultIndex is not read.
bool drBaseDetail(TModeler3D& M, const TString& Path, const TString& Name, const TString& Marking, int MakeId,
                  int ResultIndex, std::span<const double> P, bool IsSize);

// Whether the part of code MakeId is drawn with its size in slot Slot: a size it does not read changes
// nothing of it.
bool drBaseDetailReads(int MakeId, std::size_t Slot);
// What the relation of code MakeId's outline that the sizes P break asks for, or null when they hold them
// all (the sizes' count and signs are not looked at).
const char* drBaseDetailBroken(int MakeId, std::span<const double> P);
