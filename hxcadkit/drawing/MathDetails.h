#pragma once
// The standard machine elements: hexagon bolts, nuts and flat washers of the couplings' bolt
// sets, their gear rims, and the pins, screws, nuts, washers and bushes of the mould plates,
// drawn as 2D profiles and made as 3D part documents through the object's modeller; besides
// them the drawings the mould parts' sheets share: a groove's detail view, the pusher, the
// safety lug.
//
// Each element has its own frame, shared by its 2D and 3D forms, so that a caller that places
// the 2D drawing at a point inserts the part file at the same point:
//   bolt      shank from 0 to L along +x, head from -H to 0;
//   nut       from 0 to H;  washer from 0 to t;
//   cap screw, set screw, bolt of the mould plates: head (or socket end) at 0, the length
//             along +x;  pin from 0 to l;  gear wheel centred on the origin, a tooth on +x.
// The 2D members draw at (mx, my) turned by ma degrees and scaled by ms with the drawing code
// tl (tens the pass, units the mode and line style). The fasteners', pins' and gears' size
// flags are accepted and not read: no caller asks for their dimensions. A member whose sizes
// would put a NaN or an infinity into the modeller draws nothing and says so through the
// message channel.
#include <cmath>

#include "hxcadkit/core/DString.h"
#include "hxcadkit/drawing/BaseDetail.h"

class TCommonGeometry : public TDetail
{
public:
  TCommonGeometry(int kind, TModeler3D* M, TConstruktor* C = nullptr);

  // --- The couplings' fasteners and gears -------------------------------------------------
  // Side view of a hexagon-head bolt: thread M, length L, thread length LM, across flats S,
  // head height H; in one macro, the axis 2 mm past both ends.
  void dr2D_Screw_V1(const double& mx, const double& my, const double& ma, const double& ms, const double& M,
                     const double& L, const double& LM, const double& S, const double& H, int tl,
                     bool IsSize) const;
  // A hexagon nut seen across its corners: thread M, across flats S, height H. In outline mode
  // the closed half with its bore, so that it revolves into a nut.
  void dr2D_Nut_V2(const double& mx, const double& my, const double& ma, const double& ms, const double& M,
                   const double& S, const double& H, int tl, bool IsSize) const;
  // Section of a flat washer (inner diameter d, outer D, thickness t) in one macro, its axis
  // from x = -2 to t + 2.
  void dr2D_Washer_V2(const double& mx, const double& my, const double& ma, const double& ms, const double& d,
                      const double& D, const double& t, int tl, bool IsSize) const;
  // The closed outline of a gear wheel with external or internal teeth: module m, z teeth,
  // root clearance coefficient c; one tooth on +x, the others every 360/z degrees.
  void dr2D_GearsWheel_Ext_V2(const double& mx, const double& my, const double& ma, const double& mm,
                              const double& m, const double& z, const double& c, int tl, bool isSize) const;
  void dr2D_GearsWheel_Int_V2(const double& mx, const double& my, const double& ma, const double& mm,
                              const double& m, const double& z, const double& c, int tl, bool isSize) const;
  // Each a part document of its own, saved and closed under FName.
  void dr3D_Screw(const double& M, const double& L, const double& LM, const double& S, const double& H,
                  const TString& FName) const;
  void dr3D_Nut(const double& M, const double& S, const double& H, const TString& FName) const;
  // IsGroove chamfers the outer edge of the face at x = t by t/4.
  void dr3D_Washer(const double& d, const double& D, const double& t, const TString& FName,
                   bool IsGroove) const;

  // --- The mould plates' standard parts -----------------------------------------------------
  // Half profile of a dowel pin: radius r, length l, end chamfers f.
  void dr2D_Shtift_V1(const double& mx, const double& my, const double& ma, const double& ms, const double& r,
                      const double& l, int tl, bool IsSize, const double& f) const;
  // Hexagon socket head cap screw: shank radius sR, head radius R, socket across flats iS,
  // head height K, socket depth t, overall length L (head included), thread length isl, head
  // fillet r1. No socket is drawn when iS or t is 0.
  void dr2D_SocketHeadCapScrew_V1(const double& mx, const double& my, const double& ma, const double& mm,
                                  const double& sR, const double& R, const double& iS, const double& K,
                                  const double& t, const double& L, const double& isl, const double& r1,
                                  int tl, bool isSize) const;
  // Hexagon socket set screw: radius r, socket across flats iS (and as deep), thread length sl,
  // length L.
  void dr2D_HexagonSocketSetScrew_V1(const double& mx, const double& my, const double& ma, const double& ms,
                                     const double& r, const double& iS, const double& sl, const double& L,
                                     int tl, bool isSize) const;
  // Hexagon bolt of the mould plates: shank radius r, length under the head l, thread length
  // l1, head height HeadH, across flats HS, diameter iD2 of the head's chamfered end face.
  void dr2D_Bolt7805_V1(const double& mx, const double& my, const double& ma, const double& ms,
                        const double& r, const double& l, const double& l1, const double& HeadH,
                        const double& HS, const double& iD2, int tl, bool isSize) const;
  // Plan view of a nut: the hexagon across flats S, corners on the Y axis; in the drawing
  // modes also the bore of diameter iMD and the centre lines. H is not seen in plan.
  void dr2D_Nut_V3(const double& mx, const double& my, const double& ma, const double& ms, const double& iMD,
                   const double& S, const double& H, int tl, bool isSize) const;
  // Part documents: a socket head cap screw (thread d, head D, socket S, head height K, socket
  // depth t, length L, thread length sl, fillet r1), a washer and a bush (outer D, inner d,
  // length L, chamfers f).
  void dr3D_ScrewGost11738(const TString& FileName, const TString& Name, const TString& Marking,
                           const double& d, const double& D, const double& S, const double& K,
                           const double& t, const double& L, const double& sl, const double& r1) const;
  void dr3D_Shajba(const TString& FileName, const TString& Name, const TString& Marking, const double& D,
                   const double& d, const double& L, const double& f) const;
  void dr3D_PlugGost(const TString& FileName, const TString& Name, const TString& Marking, const double& D,
                     const double& d, const double& L, const double& f) const;

  // --- Drawings for the mould parts' own sheets --------------------------------------------------
  // The enlarged detail view of a groove (length L, depth H, fillet radius R) at (x, y), turned
  // by A and enlarged m times: the part's side, the groove, the detail's boundary, the label
  // Letter(m:1) and, with isSize, its dimensions. Drawn close, it keeps free only what it takes on the
  // sheet (its sizes within 20 of the groove), not room that grows with its enlargement.
  void drCVR_dV(const double& x, const double& y, const double& A, const double& m, const double& L,
                const double& H, const double& R, const TString& Letter, bool isSize,
                bool close = false) const;
  // How far left of its point that detail keeps the sheet free for its height's and angle's sizes, in the
  // sheet's millimetres (a negative offset).
  static double GrooveDetailLeft(double m, double H, bool close);
  // How far right of its point that detail, L long and titled Letter, takes the sheet: its groove and
  // boundary, or its title, in the sheet's millimetres.
  static double GrooveDetailRight(double m, double L, double H, const TString& Letter);
  // Side view of an ejector pusher: working end radius r71, relieved shank r69, collar r72, fit
  // section r93, spring seat r96; working end face at x73 from the collar's back face, fit
  // section ending at y92, collar length x63, overall length y71; a grade of length x9 and
  // depth y78 on the lower half (its length as PusherGradeLength gives it). tl / 10 chooses the halves.
  // With isSize the hardened zone, dimensions and roughness signs.
  void dr2D_Shtovhach_V1(const double& mx, const double& my, const double& ma, const double& ms,
                         const double& r71, const double& r69, const double& r72, const double& r93,
                         const double& r96, const double& x73, const double& y92, const double& x63,
                         const double& y71, double x9, const double& y78, int tl, bool isSize);
  // Side view of a safety lug: body radius r90, thread radius r75, overall length y81, threaded
  // length y80 (the shoulder at x = 0), flats y79 across at y82 from the body's free end, body
  // chamfer fD; tl used whole. With isSize the section through the flats, dimensions, the
  // groove's callout and a roughness sign.
  void dr2D_LapkaZapobizna_V1(const double& mx, const double& my, const double& ma, const double& mm,
                              const double& r90, const double& r75, const double& y81, const double& y80,
                              const double& y82, const double& y79, const double& fD, int tl,
                              bool isSize) const;
  // The material the lug's flats take away, seen along the lug's axis (Y here): two strips.
  void dr2D_LapkaZapobizna_Vo(const double& mx, const double& my, const double& ma, const double& mm,
                              const double& r90, const double& r75, const double& y81, const double& y80,
                              const double& y82, const double& y79, const double& fD, int tl,
                              bool isSize) const;
};

class TModeler3D;

// How far a roughness sign reaches from its base on its value's side: past its arms, its shelf at 8.7 and
// its value.
constexpr double SignReachAcross = 13.4;

// Whether a line d from a roughness sign's base, on its value's side, runs through the value: a sheet
// writes the value 9.7 to 13.2 from the base.
inline bool AcrossSignValue(double d)
{
  return d > 9.4 && d < SignReachAcross;
}

// Whether a line d from a roughness sign's base, on its value's side, passes the whole sign (its arms,
// its shelf at 8.7 and its value) rather than running through or along any of it.
inline bool ClearOfSign(double d)
{
  return d >= SignReachAcross;
}

// Whether an extension line running `run` over a part's view, from the point it is drawn from to the view's
// edge, runs farther along the view than the view is `across` it, beside the part's other steps and faces:
// the size then stands where it is measured, or is measured from a nearer face.
inline bool RunsFartherThanAcross(double run, double across)
{
  return run > across;
}

// How far a roughness sign reaches along the line it stands on: its short arm back from its tip, its shelf
// on past it.
constexpr double SignReachBack = 2.5, SignReachOn = 17.0;

// An angle as a sheet gives it, in degrees: whole where the part's angle lies within 0.05 degrees of a
// whole one, as a draftsman writes it, else as it is.
inline double ShownAngle(double degrees)
{
  const double whole = std::round(degrees);
  return std::fabs(degrees - whole) <= 0.05 ? whole : degrees;
}

// A plain roughness sign on a surface's extension line of its own, where the extension lines of the
// sizes leave it no room: the thin line from the surface's edge at (x, y0) along y to 2 past the sign's
// tip at (x, tip), the sign's axis at Fi degrees.
void RoughOnOwnLine(TModeler3D& M, double x, double y0, double tip, double Fi, const TString& value);
// An ejector pusher's fit runs PusherFitLength from its working end face; the grade cut in it (running
// out at that face) is the length asked for, but never nearer the fit's start than a third of the fit:
// the pusher's sheet and model both take its length from here.
constexpr double PusherFitLength = 15.0;
double PusherGradeLength(double asked);
// Where a pusher's sheet, drawn at paper sheet millimetres to the part's, puts the grade sign of its fit
// section (from the collar's face x63 to the step y92) and the section's diameter: the sign by the
// section's end, or back from it clear of the leader of the hardened zone (the last 35 of the pusher,
// x73 long), which leans back over the section from the zone's near corner; the diameter 5 past the
// collar, or on whichever side of the sign keeps off its arms and shelf. False where the section has room
// on neither side, both then by its ends.
bool PusherFitSigns(double x63, double y92, double x73, double paper, double& grade, double& diameter);
// Where a pusher's sheet, drawn at paper sheet millimetres to the part's, measures its collar's diameter
// (at, on the part's axis from the collar's back face) and how far beyond that its line stands on paper
// (offset, towards the spring seat's free end): across the collar 2 from either face, where the collar
// (x63 long) has the room; else across the spring seat (seat long) just behind the collar, 2 from its
// back face and from the seat's end; else in the collar by its front face, the deeper step, whence the
// sheet carries it off past the seat's own diameter. Holds tells the first.
struct TPusherCollarLine
{
  double At, Offset;
  bool Holds;
};
TPusherCollarLine PusherCollarLine(double x63, double seat, double paper);
