#pragma once
// The coupling builders: the pieces of each coupling (profiles placed at mx, my, turned by ma
// degrees, scaled by mm, drawn with the code tl) and the catalogue's row builders, which read
// ControlModel and ATable and draw through CouplingModeler().

// Sleeve-and-pin coupling, pieces.
void dr2D_MUVP_SC1(const double& mx, const double& my, const double& ma, const double& mm, const double* A,
                   int tl, bool isSize = false);
void dr2D_MUVP_SC1View(const double& mx, const double& my, const double& ma, const double& mm,
                       const double* A, int tl, bool isSize = false);
void dr2D_MUVP_SC2(const double& mx, const double& my, const double& ma, const double& mm, const double* A,
                   const double* A2, int tl, bool isSize = false);
void dr2D_MUVP_SC2View(const double& mx, const double& my, const double& ma, const double& mm,
                       const double* A, int tl, bool isSize = false);
void dr2D_PalecMUVP(const double& mx, const double& my, const double& ma, const double& mm, const double* P,
                    int tl, bool isSize = false);
void dr2D_BushingMUVP(const double& mx, const double& my, const double& ma, const double& mm, const double* P,
                      int tl, bool isSize = false);
void dr2D_RBushingMUVP(const double& mx, const double& my, const double& ma, const double& mm,
                       const double* P, int tl, bool isSize = false);
void dr2D_RBushingMUVP_V2(const double& mx, const double& my, const double& ma, const double& mm,
                          const double* P, int tl, bool isSize = false);
// The keyway of a bore d narrowing by du, from x = ll to lr, above the axis when Up.
void dr2D_Shponka(const double& d, const double& du, const double& ll, const double& lr, bool Up);

// Sleeve-and-pin coupling: the washer and the nut on the thread of pin row P.
struct TFastenerSet;
TFastenerSet PinNut(const double* P);
// Sleeve-and-pin coupling, rows.
void dr2D_MUVP();
void dr2D_MUVPView();
void dr3D_MUVP();
// Cuts the keyway of a bore d into the current part; Reverse on the negative side.
void dr3DKeySeating(const double& d, bool Reverse, const double& Xplane, const double& l);

// Flanged coupling: a half-coupling's section (hatched, with its keyway) and view, bore type T.
void dr2D_CouplingFlanec_V1(const double& mx, const double& my, const double& ma, const double& mm,
                            const double* A, int T, int tl, bool isSize = false);
void dr2D_CouplingFlanec_V2(const double& mx, const double& my, const double& ma, const double& mm,
                            const double* A, int T, int tl, bool isSize = false);
// Flanged coupling, rows.
// The bolt set the flanged coupling puts through its flanges (bolts table row B, thread d): the table's
// washer bored a millimetre over the thread, its nut and the bolt's head.
TFastenerSet FlangedBolt(const double* B, double d);
void dr2D_CouplingFlanec();
void dr2D_CouplingFlanecView();
void dr3D_CouplingFlanec();

// Coupling with a star: the star St, a half-coupling's section and view (Turn: the half drawn
// reversed), and the contours of its jaws for the 3D extrusions (Vt 1 the jaws' roots, 2 the jaws).
void dr2D_Sprocket_V1(const double& mx, const double& my, const double& ma, const double& mm, const double* St,
                      int tl, bool isSize = false);
void dr2D_sMUfromSprocket_V1(const double& mx, const double& my, const double& ma, const double& mm,
                             const double* A, const double* St, int T, bool Turn, int tl, bool isSize = false);
void dr2D_sMUfromSprocket_V1_2(const double& mx, const double& my, const double& ma, const double& mm,
                               const double* A, const double* St, int T, bool Turn, int tl, bool isSize = false);
void dr2D_sMUfromSprocket_V2(const double& mx, const double& my, const double& ma, const double& mm,
                             const double* A, const double* St, int Vt, int tl, bool isSize = false);
// Coupling with a star, rows.
// Where the assembly stands the pieces of the jaw coupling along the axis, from the star's middle: half 2's
// origin (its jaws' tips; half 1's at minus it), and how far each half's disc face and its jaws' outer part
// (from l3) stand from the star's middle. Half 1 of row A1 and bore type T1, half 2 of A2 and T2.
struct TStarAxial
{
  double Half2 = 0.0;
  double Disc1 = 0.0, Outer1 = 0.0, Disc2 = 0.0, Outer2 = 0.0;
};
TStarAxial StarAxial(const double* A1, int T1, const double* A2, int T2);
// How far the star's teeth reach along the middle of the jaw beside them (the jaws' outer part begins at
// B1 there), and the radius a half's disc begins at round its bore.
double StarTeethReach(const double* St);
double StarDiscBore(const double* A, int T);
void dr2D_MUfromSprocket();
void dr2D_MUfromSprocketView();
void dr3D_MUfromSprocket();

// Jaw-disc coupling: a half-coupling's profile, bore type T choosing the execution.
void dr2D_JawDiscCoupling_V1(const double& mx, const double& my, const double& ma, const double& mm,
                             const double* A, int T, int tl, bool isSize = false);
// Jaw-disc coupling, rows.
void dr2D_JawDiscCoupling();
void dr2D_JawDiscCouplingView();
void dr3D_JawDiscCoupling();

// Hinge couplings, pieces. A is the half-coupling row, A2 a second row (the forks read its
// column 3, the joint centres' distance), T the bore type; isSize hatches the hubs of a section.
void dr2D_HingeSelgCoupling_V1(const double& mx, const double& my, const double& ma, const double& mm,
                               const double* A2, const double* A, int T, int tl, bool isSize = false);
void dr2D_HingeSelgCoupling_V2(const double& mx, const double& my, const double& ma, const double& mm,
                               const double* A2, const double* A, int T, int tl, bool isSize = false);
void dr2D_HingeSelgCoupling_V3(const double& mx, const double& my, const double& ma, const double& mm,
                               const double* A2, const double* A, int T, int tl, bool isSize = false);
void dr2D_HingeFork_V1(const double& mx, const double& my, const double& ma, const double& mm, const double* A2,
                       const double* A, int tl, bool isSize = false);
void dr2D_HingeFork_V2(const double& mx, const double& my, const double& ma, const double& mm, const double* A2,
                       const double* A, int tl, bool isSize = false);
void dr2D_СrossPiece_V1(const double& mx, const double& my, const double& ma, const double& mm, const double* S,
                        int tl, bool isSize = false);

// Hinge couplings, rows: 6 the single joint, 7 the double joint with its middle piece.
void dr2D_HingeCoupling();
void dr2D_HingeCouplingView();
void dr2D_HingeCoupling2();
void dr2D_HingeCoupling2View();
void dr3D_HingeCouplingCommon();
void dr3D_HingeCoupling();
void dr3D_HingeCoupling2();

class TModeler3D;
// The rows of a build of a bolted coupling: both halves from one torque group of the main table,
// each drawable; the bolt row of the first half's bolt (column boltKey; null without a usable
// one). False, drawing nothing, without a modeller, without a group holding both shafts or
// without a drawable row. The model takes the torque built.
struct TBoltedRows
{
  TModeler3D* m = nullptr;
  const double *R1 = nullptr, *R2 = nullptr, *K = nullptr;
};
bool BoltedRows(TBoltedRows& r, int mainColumns, int boltKey, bool (*drawable)(const double*));

// Toothed couplings, pieces: the crowned hub (section with its bore type, view), the sleeve with
// internal teeth, the flanged half-coupling with internal teeth, the end cover, a gasket.
void dr2D_PinionTooth_V1(const double& mx, const double& my, const double& ma, const double& mm,
                         const double* A, int T, int tl, bool isSize = false);
void dr2D_PinionTooth_V2(const double& mx, const double& my, const double& ma, const double& mm,
                         const double* A, int tl, bool isSize = false);
void dr2D_PinionToothOut_V1(const double& mx, const double& my, const double& ma, const double& mm,
                            const double* A, int tl, bool isSize = false);
void dr2D_PinionToothOut_V2(const double& mx, const double& my, const double& ma, const double& mm,
                            const double* A, int tl, bool isSize = false);
void dr2D_PinionToothOut_MZP_V1(const double& mx, const double& my, const double& ma, const double& mm,
                                const double* A, int tl, bool isSize = false);
void dr2D_PinionToothOut_MZP_V2(const double& mx, const double& my, const double& ma, const double& mm,
                                const double* A, int tl, bool isSize = false);
void dr2D_UGasket(const double& mx, const double& my, const double& ma, const double& mm, const double* A,
                  int tl, bool isSize = false);
void dr2D_Gasket_V1(const double& mx, const double& my, const double& ma, const double& mm, const double* A,
                    int tl, bool isSize = false);
// Toothed couplings, rows: with two sleeves, and with a flanged half-coupling.
// The bolt set of the toothed couplings' flanges (bolts table row K): the table's washer on the thread, its
// nut and the bolt's head.
TFastenerSet ToothedBolt(const double* K);
void dr2D_PinionTooth();
void dr2D_PinionToothView();
void dr3D_PinionTooth();
void dr2D_PinionTooth2();
void dr2D_PinionTooth2View();
void dr3D_PinionTooth2();

// Toroidal coupling, pieces: the half-coupling (section with its bore type, view), the rubber
// shell (section, view), the half-ring and the ring.
void dr2D_ToroidalSelfCoupling(const double& mx, const double& my, const double& ma, const double& mm,
                               const double* A, int T, int tl, bool isSize = false);
void dr2D_ToroidalSelgCoupling_V2(const double& mx, const double& my, const double& ma, const double& mm,
                                  const double* A, int tl, bool isSize = false);
void dr2D_ToroidalRubber_V1(const double& mx, const double& my, const double& ma, const double& mm,
                            const double* A, int tl, bool isSize = false);
void dr2D_ToroidalRubber_V2(const double& mx, const double& my, const double& ma, const double& mm,
                            const double* A, int tl, bool isSize = false);
void dr2D_ToroidalSelfCircle(const double& mx, const double& my, const double& ma, const double& mm,
                             const double* A, int tl, bool isSize = false);
void dr2D_ToroidalCircle(const double& mx, const double& my, const double& ma, const double& mm,
                         const double* A, int tl, bool isSize = false);
// Toroidal coupling: the bolt of thread A[5] (bolts row K) with its washer, on each flange's outer face.
TFastenerSet TorusBolt(const double* A, const double* K);
// Toroidal coupling, the row.
void dr2D_ToroidalRubber();
void dr2D_ToroidalRubberView();
void dr3D_ToroidalRubber();
