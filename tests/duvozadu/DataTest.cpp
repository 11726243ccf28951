// The structural rules of the shipped tables, on which the builders' geometry relies.
#include <cmath>
#include <memory>

#include "CouplingFixture.h"

namespace {
std::unique_ptr<TTable> Get(const char* name)
{
  return std::unique_ptr<TTable>(TextBase.GetTable(TString(name)));
}
} // namespace

TEST_F(CouplingTest, TablesHaveTheirShapeAndTheirKeys)
{
  struct
  {
    const char* Name;
    int MinColumns, Control;
  } shapes[] = {{"МУВП", 20, 17},
                {"МУВП.Палец", 19, 0},
                {"Шпоночный паз", 3, 0},
                {"Муфта.Болты фланца", 6, 0},
                {"Муфта фланцевая", 21, 1},
                {"Муфта со звездочкой", 17, 1},
                {"Муфта со звездочкой.Звездочка", 6, 2},
                {"Муфта кулачково-дисковая", 16, 1},
                {"Муфта зубчатая", 21, 1},
                {"Муфта торообразная", 23, 1},
                {"Муфта шарнирная", 4, 1},
                {"Муфта шарнирная.Полумуфта", 18, 1},
                {"Муфта шарнирная.Крестовина", 7, 0},
                {"Муфта шарнирная.Палец", 7, 0},
                {"Муфта шарнирная.Втулка", 7, 0}};
  for (auto& s : shapes) {
    auto t = Get(s.Name);
    ASSERT_TRUE(t) << s.Name;
    EXPECT_GE(t->CountColumn, s.MinColumns) << s.Name;
    EXPECT_EQ(t->Control, s.Control) << s.Name;
    EXPECT_GT(t->CountRow, 1) << s.Name;
    EXPECT_EQ(t->GOST.Utf8Text().find_first_of("/\\:*?\"<>|"), std::string::npos) << "names files";
    for (int i = 0; i < t->Count; ++i)
      ASSERT_TRUE(std::isfinite(t->Array[i])) << s.Name << " value " << i;
  }
}

TEST_F(CouplingTest, CouplingSizesGrowWithTheBoreAndFitTheirPins)
{
  auto t = Get("МУВП");
  auto pins = Get("МУВП.Палец");
  ASSERT_TRUE(t && pins);
  for (int i = 0; i < t->CountRow; ++i) {
    const double* A = t->Row(i);
    SCOPED_TRACE(::testing::Message() << "row " << i << " d " << A[17]);
    // L = 2 l + B, short and long bores: half-coupling 2 is l long in the section, L - l - B in the view.
    EXPECT_DOUBLE_EQ(A[3], 2 * A[4] + A[13]);
    EXPECT_DOUBLE_EQ(A[18], 2 * A[19] + A[13]);
    EXPECT_GT(A[15], 0.0);
    if (i > 0) {
      const double* B = t->Row(i - 1);
      EXPECT_GE(A[0], B[0]) << "torque groups ascend";
      // Within a torque group the bore grows and the hubs with it; a larger torque, a larger flange.
      EXPECT_TRUE(A[0] == B[0] ? A[17] > B[17] && A[4] >= B[4] && A[19] >= B[19] && A[2] == B[2]
                               : A[2] > B[2]);
    }
    // The pin the row names exists, and its bushing holes and the hub stay inside the flange.
    const double* P = pins->GetParam(pins->Control, A[14]);
    ASSERT_TRUE(P);
    EXPECT_EQ(P[0], A[14]);
    EXPECT_TRUE(A[5] / 2 + P[15] / 2 < A[2] / 2 && A[7] / 2 < A[5] / 2 - P[15] / 2);
    EXPECT_TRUE(A[10] + A[16] < A[4] && A[11] + A[16] < A[4]) << "flanges shorter than the short hub";
  }
}

TEST_F(CouplingTest, PinRowsAreDrawable)
{
  auto t = Get("МУВП.Палец");
  ASSERT_TRUE(t);
  for (int i = 0; i < t->CountRow; ++i) {
    const double* P = t->Row(i);
    SCOPED_TRACE(::testing::Message() << "pin " << P[0]);
    EXPECT_GT(P[18], P[17]) << "ring pitch wider than a crest";
    EXPECT_GE(P[16] / P[18], 2.0) << "two rings at least";
    EXPECT_DOUBLE_EQ(P[6], P[13] + P[16]) << "the cylinder carries both bushings";
    EXPECT_GT(P[5], P[6] + P[7]) << "a cone before the cylinder";
    EXPECT_GT(P[2], P[5] + P[8]) << "a thread before the cone";
    EXPECT_TRUE(P[4] < P[3] && P[0] < P[14] && P[14] < P[15]);
    if (i > 0) {
      EXPECT_GT(P[0], t->Row(i - 1)[0]);
    }
  }
}

TEST_F(CouplingTest, KeywayRowsCoverAscendingSpans)
{
  auto t = Get("Шпоночный паз");
  ASSERT_TRUE(t);
  for (int i = 0; i < t->CountRow; ++i) {
    const double* S = t->Row(i);
    EXPECT_GT(S[1], 0.0);
    EXPECT_GT(S[2], 0.0);
    if (i > 0) {
      EXPECT_GT(S[0], t->Row(i - 1)[0]) << "row " << i;
      EXPECT_GE(S[1], t->Row(i - 1)[1]) << "row " << i;
    }
    // The interval lookup of a bore just inside the span gives this row.
    const double d = (i + 1 < t->CountRow ? t->Row(i + 1)[0] : S[0] + 1.0) - 0.5;
    EXPECT_EQ(t->GetParam(t->Control, d, true), S) << "d " << d;
  }
}

TEST_F(CouplingTest, HingeTablesFitTogether)
{
  auto main = Get("Муфта шарнирная"), half = Get("Муфта шарнирная.Полумуфта");
  auto cross = Get("Муфта шарнирная.Крестовина"), pin = Get("Муфта шарнирная.Палец");
  auto bushing = Get("Муфта шарнирная.Втулка");
  ASSERT_TRUE(main && half && cross && pin && bushing);
  for (const TTable* t : {main.get(), half.get(), cross.get(), pin.get(), bushing.get()})
    EXPECT_EQ(t->GOST.Utf8Text(), "ГОСТ 5147-97") << t->Name.Utf8Text();
  // The half-couplings are read at the main row's index, the pins and bushings at the cross piece's.
  ASSERT_EQ(half->CountRow, main->CountRow);
  ASSERT_EQ(pin->CountRow, cross->CountRow);
  ASSERT_EQ(bushing->CountRow, cross->CountRow);
  for (int k = 0; k < main->CountRow; ++k) {
    const double *R = main->Row(k), *A = half->Row(k);
    SCOPED_TRACE(::testing::Message() << "row " << k << " d " << R[1]);
    EXPECT_EQ(A[0], R[0]);
    EXPECT_EQ(A[1], R[1]) << "the half row holds the main row's bore";
    EXPECT_EQ(A[5], R[2]);
    if (k > 0) {
      const double* P = main->Row(k - 1);
      EXPECT_TRUE(R[0] > P[0] || (R[0] == P[0] && R[1] > P[1])) << "torque groups and their bores ascend";
      // The second half's fork is cut by the first half's row: one fork diameter per torque.
      if (R[0] == P[0]) {
        EXPECT_EQ(A[5], half->Row(k - 1)[5]);
      }
    }
    const double* S = cross->GetParam(cross->Control, R[0]);
    EXPECT_EQ(S[0], R[0]) << "the torque finds its cross piece";
    const double d = A[1], d1 = A[2], d3 = A[4], D = A[5], b = A[6], l2 = A[11], r = A[16];
    for (int di : {0, 1}) {
      const double l = A[7 + di], l1 = A[9 + di], l3 = A[12 + di], slot = l1 - l;
      SCOPED_TRACE(di ? "short hub" : "long hub");
      EXPECT_TRUE(d < d1 && d1 < D && b < D && d3 < 2 * r);
      EXPECT_TRUE(l < l1 && l3 < l1);
      // The slot ends before the cone from the hub, and is as deep for either hub, so that the
      // middle piece's forks do not depend on the bore type.
      EXPECT_LE(slot, l1 - l3 - (D - d1) / 2);
      EXPECT_EQ(slot, A[9] - A[7]);
      // The jaw narrows to its rounded end between the slot's floor and the joint.
      EXPECT_TRUE(r < l2 && l2 < slot);
      // The jaws (2r wide) and the cross piece fit the other fork's slot; neither the cross piece
      // nor the other fork's jaw reaches the slot's floor; the middle piece's forks stay apart.
      EXPECT_LE(2 * r, b);
      EXPECT_LT(S[1], b);
      EXPECT_LE(r + S[2] / 2, slot);
      EXPECT_LE(2 * r, slot);
      EXPECT_LE(slot - r, R[3] / 2);
    }
  }
  for (int i = 0; i < cross->CountRow; ++i) {
    const double *S = cross->Row(i), *P = pin->Row(i), *B = bushing->Row(i);
    SCOPED_TRACE(::testing::Message() << "cross piece " << i << " M " << S[0]);
    EXPECT_EQ(P[0], S[0]);
    EXPECT_EQ(B[0], S[0]);
    if (i > 0) {
      EXPECT_GT(S[0], cross->Row(i - 1)[0]);
    }
    EXPECT_TRUE(S[3] < S[1] && S[1] < S[2]);
    EXPECT_TRUE(P[5] < P[1] && P[1] <= S[3]) << "the pin passes the cross piece, its flats thinner";
    EXPECT_GE(B[6], 2 * B[3]) << "the end rings do not overlap";
    // The bushing's core passes the pin's cross hole, its rings the cross piece's hole.
    EXPECT_TRUE(P[2] < P[5] && B[2] <= P[2] && B[2] < B[1] && B[1] <= S[3]);
  }
}

TEST_F(CouplingTest, FlangeBoltsAscendAndTheirNutsSitOnTheirWashers)
{
  auto t = Get("Муфта.Болты фланца");
  ASSERT_TRUE(t);
  for (int i = 0; i < t->CountRow; ++i) {
    const double* B = t->Row(i);
    SCOPED_TRACE(::testing::Message() << "M" << B[0]);
    EXPECT_TRUE(B[0] < B[3] && B[3] <= B[5]) << "thread, across flats, washer";
    EXPECT_TRUE(B[2] > 0 && B[4] > 0);
    if (i > 0) {
      EXPECT_GT(B[0], t->Row(i - 1)[0]);
    }
  }
}

namespace {
// Torque groups ascend, and within a group the bores.
void GroupsAscend(const TTable& t)
{
  for (int i = 1; i < t.CountRow; ++i) {
    const double *A = t.Row(i), *B = t.Row(i - 1);
    EXPECT_TRUE(A[0] > B[0] || (A[0] == B[0] && A[t.Control] > B[t.Control]))
        << t.Name.Utf8Text() << " row " << i << ": " << A[0] << " " << A[t.Control];
  }
}
} // namespace

TEST_F(CouplingTest, FlangedSizesNestAndTheirBoltsFit)
{
  auto t = Get("Муфта фланцевая");
  auto bolts = Get("Муфта.Болты фланца");
  ASSERT_TRUE(t && bolts);
  GroupsAscend(*t);
  for (int i = 0; i < t->CountRow; ++i) {
    const double* A = t->Row(i);
    SCOPED_TRACE(::testing::Message() << A[0] << " N*m, d " << A[1]);
    EXPECT_TRUE(A[1] < A[10] && A[10] < A[9] && A[9] < A[8] && A[8] < A[7])
        << "bore, recess, hub, bolts, rim";
    EXPECT_TRUE(A[17] < A[16] && A[16] < A[20] && A[20] <= A[15]) << "recess, flange, short and long hub";
    EXPECT_TRUE(A[6] >= 1 && A[6] == std::floor(A[6]));
    const double* B = bolts->GetParam(0, A[19]);
    ASSERT_TRUE(B);
    EXPECT_EQ(B[0], A[19]) << "a bolt of the table";
    // The washers (and the nuts and heads on them) sit on the flange's flat back, between the fillet at
    // the hub and the chamfer at the rim (once the largest sizes' washers reached onto the fillet).
    EXPECT_TRUE(A[9] / 2 + A[18] <= A[8] / 2 - B[5] / 2 && A[8] / 2 + B[5] / 2 <= A[7] / 2 - A[3])
        << "washer " << B[5] << " on the flange ring";
    EXPECT_GT(A[11], A[19]) << "the washer passes the bolt";
  }
}

TEST_F(CouplingTest, StarJawsOverlapAndTheirStarsFillTheGaps)
{
  auto t = Get("Муфта со звездочкой");
  auto stars = Get("Муфта со звездочкой.Звездочка");
  ASSERT_TRUE(t && stars);
  GroupsAscend(*t);
  for (int i = 0; i < stars->CountRow; ++i) {
    const double* St = stars->Row(i);
    EXPECT_GE(St[5], 3.0);
    // The tooth flanks meet inside the star's rim.
    EXPECT_LT(St[2] / 2 / std::sin(M_PI / St[5]), St[0] / 2) << "star " << i;
  }
  for (int i = 0; i < t->CountRow; ++i) {
    const double* A = t->Row(i);
    SCOPED_TRACE(::testing::Message() << A[0] << " N*m, d " << A[1]);
    const double* St = stars->GetParam(2, 2 * A[6]);
    ASSERT_TRUE(St);
    EXPECT_EQ(St[2], 2 * A[6]) << "the star of the gap";
    EXPECT_LT(A[6], A[3] / 2);
    EXPECT_TRUE(A[1] < A[2] && A[2] < A[3]) << "bore, hub, jaws";
    EXPECT_LE(St[0], A[3]);
    for (int di : {0, 11}) {
      const double l = A[4 + di], l1 = A[5 + di], x0 = l1 - l;
      EXPECT_TRUE(0 < A[9] && A[9] < x0 && x0 < A[8] && A[8] < l1) << "jaws, disc, hub; execution " << di;
      EXPECT_LT(A[13], x0) << "the jaws overlap";
      EXPECT_LE(St[3], x0 - A[13]) << "the star fits the overlap";
    }
  }
}

TEST_F(CouplingTest, JawDiscHalvesLeaveRoomForTheInsert)
{
  auto t = Get("Муфта кулачково-дисковая");
  auto keyways = Get("Шпоночный паз");
  ASSERT_TRUE(t && keyways);
  GroupsAscend(*t);
  for (int i = 0; i < t->CountRow; ++i) {
    const double* A = t->Row(i);
    SCOPED_TRACE(::testing::Message() << A[0] << " N*m, d " << A[1]);
    EXPECT_TRUE(A[1] < A[3] && A[3] < A[10]) << "bore, hub, disc";
    EXPECT_TRUE(A[1] < A[12] && A[12] < A[3]) << "the tongue wider than the bore, narrower than the hub";
    for (int idx : {0, 1}) {
      EXPECT_GE(A[4 + idx], 2 * A[6 + idx]) << "execution " << idx;
      EXPECT_LT(A[13], A[6 + idx]);
      EXPECT_LT(A[8 + idx] + A[15], A[6 + idx] - A[13]) << "disc and step before the slot";
    }
    const double* K = keyways->GetParam(keyways->Control, A[1], true);
    ASSERT_TRUE(K);
    EXPECT_LT(A[1] / 2 + K[2], A[3] / 2) << "the keyway inside the hub";
  }
}

namespace {
// The bolt of diameter d is a row of the bolts table, and the keyway row of the bore d.
bool BoltFound(const TTable& bolts, double d)
{
  const double* K = bolts.GetParam(bolts.Control, d);
  return K && K[0] == d;
}
double KeywayTop(const TTable& keyways, double d)
{
  return d / 2 + keyways.GetParam(keyways.Control, d, true)[2];
}
// A main table of a bolted coupling, with the bolts and the keyways its rows name.
struct TBolted
{
  explicit TBolted(const char* main)
      : t(Get(main)), bolts(Get("Муфта.Болты фланца")), keyways(Get("Шпоночный паз"))
  {
  }
  bool Loaded() const { return t && bolts && keyways; }
  std::unique_ptr<TTable> t, bolts, keyways;
};
} // namespace

TEST_F(CouplingTest, ToothedRowsFitTheirTeethSleeveAndBolts)
{
  const TBolted tables("Муфта зубчатая");
  ASSERT_TRUE(tables.Loaded());
  const TTable &t = *tables.t, &bolts = *tables.bolts, &keyways = *tables.keyways;
  GroupsAscend(t);
  for (int i = 0; i < t.CountRow; ++i) {
    const double* A = t.Row(i);
    const double d = A[1], D = A[2], D1 = A[3], Dh = A[4], L = A[5], l = A[6], B = A[8], m = A[9], z = A[10];
    const double w = A[11] / 2, l1 = A[12], f = A[13], X = A[16], t_ = A[17], D0 = A[18], db = A[19];
    const double Rt = (z + 2) * m / 2;
    SCOPED_TRACE(::testing::Message() << "row " << i << " M " << A[0] << " d " << d);
    EXPECT_TRUE(m > 0 && z >= 3 && z == std::floor(z) && w > 0 && f > 0 && t_ > 0 && A[20] >= 1);
    EXPECT_LT(Dh / 2, Rt - 2) << "the crown stands above the hub";
    EXPECT_TRUE(Rt + 2 < D1 / 2 && D1 / 2 < D / 2) << "the internal teeth's root inside the sleeve";
    EXPECT_LT(Dh / 2 + 10, D1 / 2) << "the cover's bore inside its rim";
    EXPECT_TRUE(L / 2 - l <= l1 - w && l1 + w <= L / 2) << "the teeth within the hub";
    EXPECT_TRUE(0 < l1 - w && l1 + w < X - t_ && X < L / 2) << "teeth window, cover, hub end in turn";
    // The flanged half-coupling's bore steps down from its teeth within its flange, else its
    // outline crosses itself.
    EXPECT_LE(L / 2 - l, B / 2) << "the hub's inner end under the flanges";
    EXPECT_LT(KeywayTop(keyways, d), Dh / 2) << "the keyway inside the hub";
    EXPECT_GT(d / 2 - 0.1 * l, 0.0) << "a conical bore narrows to a bore";
    EXPECT_TRUE(D1 / 2 < D0 / 2 - db / 2 && D0 / 2 + db / 2 < D / 2) << "the bolt holes in the flange ring";
    EXPECT_TRUE(BoltFound(bolts, db)) << "bolt " << db;
    // The washer and nut lie on the flange's back, between the fillet at the barrel and the chamfer at
    // the rim (once the largest sizes' washers reached into the fillet).
    if (const double* K = bolts.GetParam(bolts.Control, db); K && K[0] == db) {
      EXPECT_TRUE(D1 / 2 + f <= D0 / 2 - K[5] / 2 && D0 / 2 + K[5] / 2 <= D / 2 - f)
          << "washer " << K[5] << " on the flange ring";
    }
  }
}

TEST_F(CouplingTest, ToroidalRowsMakeAShellAndFitTheirBolts)
{
  const TBolted tables("Муфта торообразная");
  ASSERT_TRUE(tables.Loaded());
  const TTable &t = *tables.t, &bolts = *tables.bolts, &keyways = *tables.keyways;
  GroupsAscend(t);
  for (int i = 0; i < t.CountRow; ++i) {
    const double* A = t.Row(i);
    const double d = A[1] / 2, b = A[6], B = A[7] / 2, D1 = A[8] / 2, D2 = A[9] / 2, d5 = A[5] / 2;
    const double d1 = A[14] / 2, b0 = A[17], f = A[18];
    SCOPED_TRACE(::testing::Message() << "row " << i << " M " << A[0] << " d " << A[1]);
    EXPECT_GT(A[2] / 2 - A[8] / 2, b0) << "the shell rises above its feet by more than its wall";
    EXPECT_TRUE(b0 > 0 && b0 < B) << "a wall, inside the flanges";
    EXPECT_LT(d1, D2 - d5) << "the hub below the bolt holes";
    EXPECT_LT(D2 + d5, D1) << "the bolt holes inside the flange";
    EXPECT_GT(D2 - 2 * d5, d) << "the ring around the bore";
    EXPECT_LT(KeywayTop(keyways, A[1]), d1) << "the keyway inside the hub";
    EXPECT_TRUE(A[4] >= 1 && f > 0 && A[16] > 0 && A[10] > 0);
    for (int T = 0; T < 4; ++T)
      EXPECT_GT(A[19 + T], b + f) << "the hub of bore type " << T << " longer than its flange";
    EXPECT_TRUE(BoltFound(bolts, A[5])) << "bolt " << A[5];
  }
}

// The pieces of every size fit as the builders place them: the pin set from the face of half 1 (spacer,
// then the elastic bushings in half 2's holes), the cone in flange 1, the nut wholly on the thread with the
// pin's end just out of it; metal around and between the bushing holes and around the keyed bore.
TEST_F(CouplingTest, ThePiecesOfEverySizeFitTogether)
{
  auto t = Get("МУВП");
  auto pins = Get("МУВП.Палец");
  auto keys = Get("Шпоночный паз");
  ASSERT_TRUE(t && pins && keys);
  const double washer = 2.0, wall = 2.0;
  for (int i = 0; i < t->CountRow; ++i) {
    const double* A = t->Row(i);
    const double* P = pins->GetParam(pins->Control, A[14]);
    const double* S = keys->GetParam(keys->Control, A[17], true);
    SCOPED_TRACE(::testing::Message() << "M " << A[0] << " d " << A[17]);
    const double B = A[13], l1 = A[10], l2 = A[11], D = A[2], D1 = A[5], d1 = A[7], z = A[15];
    // Along the axis, from the face of half 1 (x = 0) outwards (x < 0) and across the gap (x > 0).
    const double cone = P[5] - P[6] - P[7], threadEnd = -(cone + P[8]), pinEnd = -(P[2] - P[6] - P[7]);
    const double nutInner = -(l1 + washer), nutOuter = nutInner - 0.8 * P[3];
    EXPECT_TRUE(cone > 0 && -cone >= -l1) << "the cone inside flange 1";
    EXPECT_GE(threadEnd, nutInner + 1.0) << "the nut wholly on the thread, with room to tighten";
    EXPECT_TRUE(pinEnd <= nutOuter - 0.5 && pinEnd >= nutOuter - P[3] / 2)
        << "the pin's end just out of the nut";
    EXPECT_LE(P[6], B + l2) << "the bushings inside half 2's holes";
    // Across the axis.
    EXPECT_GE(D / 2 - D1 / 2 - P[15] / 2, wall) << "outside the bushing holes";
    EXPECT_GE(D1 / 2 - P[15] / 2 - d1 / 2, wall) << "between the hub and the bushing holes";
    EXPECT_GE(D1 * std::sin(M_PI / z) - P[15], wall) << "between two bushing holes";
    EXPECT_GE(d1 / 2 - A[17] / 2 - S[2], wall) << "around the keyed bore";
    EXPECT_TRUE(P[0] < P[14] && P[14] < P[15]) << "the spacer between the pin and the hole";
  }
}

// Hubs take the shaft ends of their bore: 38 is a shaft of the 30-38 span (80 and 58 long), 40 of the next.
TEST_F(CouplingTest, HubsTakeTheShaftEndsOfTheirBore)
{
  auto t = Get("МУВП");
  ASSERT_TRUE(t);
  const std::pair<double, std::pair<double, double>> ends[] = {
      {36, {80, 58}}, {38, {80, 58}}, {40, {110, 82}}, {56, {110, 82}}, {10, {23, 20}}};
  for (const auto& [d, lengths] : ends)
    for (int i = 0; i < t->CountRow; ++i)
      if (t->Row(i)[17] == d) {
        EXPECT_EQ(t->Row(i)[19], lengths.first) << d;
        EXPECT_EQ(t->Row(i)[4], lengths.second) << d;
      }
}
