// A library that plays the mould standard parts in the stand-in host, through the global modeller
// with the sheet and part openers of the tests installed. Commands:
//   1 a pin 6 x 20 (table 31) as a part document;
//   2 a cap screw M10 x 40 (table 33) as a part document;
//   3 a one-piece spacer screw 16 x 40 (table 39): its sheet and its part document;
//   4 the same spacer screw assembled: its part document and the three parts it is made of;
//   5 a sheet with the threaded spacer's profile (line code 1, dimensions on);
//   6 a sheet, through the common frame, with every profile of the ejectors, plugs, rings,
//     washers and the set screw at half size (line code 1, dimensions on) and four requirements;
//   21 the sheet and part of a guide pillar 30 x 36 x 60 (table 5) with a thread M10 and collar flats;
//   22 the sheets of a collar guide bush 30 x 40 (table 4) and one with a front extension 30 x 35
//      (table 2); 23 a locating sleeve 20 x 30 (table 3); 24 a stop pin 16 x 40 with a 24 collar;
//   25 the fitting.
//   31 the sprue plug and the ejector plug; 32 the guide plug, guide column, support washer and
//   channel washer; 33 the locating ring on its column tail; 34 the retraction, the column tail,
//   the circle plate and the shank it holds; 35 the ejector channel and the back ejector; 36 the
//   protect support: each its sheets and parts. 40 every code of the standard part built by code,
//   as code-N.tpt. 41 a turned part with a cut beside it that removes nothing: it says whether the host
//   failed the cut ("Вырез не выполнен") or made it ("Вырез выполнен"), and keeps no file.
// The standard-parts file is read from the library's folder when the library loads.
#include <algorithm>
#include <string>
#include <vector>

#include "MouldDocuments.h"
#include "hxcadkit/adapter/drModelerAPI.h"
#include "hxcadkit/core/Messager.h"
#include "hxcadkit/stdparts/MathDetailsl.h"
#include "txapi/ITavrixLibraryActions.h"
#include "txapi/LibraryEntry.h"

namespace {

using drApi::MA;

stdtest::TMouldDocuments* Documents = nullptr;

void Spacer(int execution, bool sheet)
{
  TDistanceScrew s(7, &MA, nullptr);
  s.Set(TDistanceScrew::Table, 8.0, 40.0);
  *s.Execution.PInt = execution;
  if (sheet) s.dr2D();
  s.dr3D(1);
}

void ThreadedProfile()
{
  if (!MA.drLeafStampView1(9, 0, 150.0, -100.0, true)) return;
  TDistanceScrew s(9, &MA, nullptr);
  s.dr2D_Gvynt_V1(0.0, 0.0, 0.0, 1.0, 12.0, 8.0, 5.0, 15.0, 6.0, 61.0, 30.0, 1, true);
  const TString none;
  MA.drCloseViewTDemCloseLeaf(none, none, none, none);
}

void EjectorProfiles()
{
  drMouldSheet(
      MA, 10, 0.0, 0.0,
      [](TModeler3D& M) {
        TConstruktor& none = TConstruktor::Empty();
        const double s = 0.5;
        TEjectorPin(&M, none).dr2D_V1(-10, -20, 0, s, 3, 6, 6, 0.5, 100, 1, true);
        TInjectPlug(0, &M, none).dr2D_V1(120, -25, 0, s, 15, 2.5, 40, 17, 60, 80, 10, 4, 1, true, 3.0);
        TLocatingRing(0, 0, &M, nullptr, nullptr)
            .dr2D_LocatingRing_V1(240, -30, 0, s, 40, 50, 18, 8, 45, 5, 15, 42, 3.5, 5.5, 3, 6, 1, true);
        const TMTail rod(0, &M, none);
        rod.dr2D_EjectorRod_V1(-10, -115, 0, s, 10, 5, 15, 18, 20, 16, 120, 1, true);
        rod.dr2D_EjectorRod_V3(-10, -115, 0, s, 10, 5, 15, 18, 20, 16, 120, 1, true);
        TSupportWasher(0, &M, nullptr)
            .dr2D_ShajbaOporna_V1(130, -115, 0, s, 5, 9, 30, 18, 9, 5.5, 14, 1, true);
        TSetScrew(0, &M, none).dr2D_V1(230, -115, 0, s, 5, 8, 40, 6, 5, 1, true);
        TEjectorPlug(0, &M, none).dr2D_V1(-10, -195, 0, s, 16, 5, 4, 4.1, 12, 20, 10, 5, 50, 1, true);
        TTubeDowel(0, &M, none).dr2D_VtulkaCentruucha_V1(130, -195, 0, s, 10, 6, 20, 1, true);
      },
      6, 3, 36, 37);
}

// The guide parts' sheets: each part as its owner sizes it.
void GuideParts(unsigned int command)
{
  if (command == 21) {
    TSocketLeaderPin p(21, &MA, nullptr, nullptr);
    if (p.Set(5, 15.0, 36.0, 60.0) == 0) return;
    p.FRadius = p.OFRadius;
    p.Key = 2.0 * p.CollarRadius - 6.0;
    p.ThreadRadius = 5.0;
    p.ThreadLen = 12.0;
    p.dr2D();
    p.dr3D(1);
  }
  if (command == 22)
    for (int table : {4, 2}) {
      TSocketLeaderPinBushing b(22, &MA, nullptr);
      if (b.Set(table, 15.0, table == 4 ? 40.0 : 35.0) != 0) b.dr2D();
    }
  if (command == 23) {
    TSocketLeaderPinLocatingSleeves s(23, &MA, nullptr, nullptr);
    if (s.Set(3, 10.0, 30.0) != 0) s.dr2D();
  }
  if (command == 24) {
    TStopPin p(24, &MA, nullptr);
    p.Radius = 8.0;
    p.CollarRadius = 12.0;
    p.CollarHeight = 6.0;
    p.Len = 40.0;
    p.Design = true;
    p.dr2D();
  }
  if (command == 25) TFitting(25, &MA).dr2D();
}

void Both(const TDetail& d)
{
  d.dr2D();
  d.dr3D(1);
}

// The second share's parts, each sized as a mould of middle size would hold it.
void SecondShare(unsigned int command)
{
  TConstruktor& none = TConstruktor::Empty();
  TColumnTail tail(34, &MA, none);
  tail.PlaceRadius = 30, tail.Radius = 5, tail.Key = 8, tail.Len = 60, tail.ThreadLen = 20,
  tail.ThreadRadius = 5;
  const double angles[5] = {0, 45, 135, 225, 315};
  std::copy(angles, angles + 5, tail.Angle);
  TEjectorPlug plug(31, &MA, none);
  plug.CollarRadius = 16, plug.EC2Radius = 5, plug.ECRadius = 4, plug.Radius = 12, plug.EC2Len = 20,
  plug.ConeLen = 10, plug.CollarHeight = 5, plug.Len = 50;
  if (command == 31) {
    TInjectPlug sprue(31, &MA, none);
    sprue.SphereRadius = 15, sprue.TPARadius = 2.5, sprue.CollarRadius = 40, sprue.BFitRadius = 17,
    sprue.FitLen = 60, sprue.Len = 80, sprue.CollarHeight = 10, sprue.SphereLen = 4;
    Both(sprue);
    Both(plug);
  }
  if (command == 32) {
    TDirectPlug guide(32, &MA, none);
    guide.ColumnRadius = 8, guide.Radius = 12.5, guide.CollarRadius = 15, guide.OustingLen = 40,
    guide.CollarHeight = 8, guide.Len = 60;
    Both(guide);
    TDirectColumn column(32, &MA, none);
    column.Radius = 12.5, column.Len = 100;
    Both(column);
    TSupportWasher washer(32, &MA, nullptr);
    washer.CollarHeight = 5, washer.BoltHeadLen = 9, washer.Len = 30, washer.CollarRadius = 18,
    washer.BoltHeadRadius = 9, washer.BoltRadius = 5.5, washer.Radius = 14;
    Both(washer);
    TWasherEjectorChannel channel(32, &MA, none);
    channel.Radius = 10, channel.Height = 4;
    Both(channel);
  }
  if (command == 33) {
    TLocatingRing ring(33, 34, &MA, nullptr, &tail);
    ring.Thickness = 15, ring.Radius = 50, ring.BaseRadius = 50, ring.InRadius = 18, ring.FixRadius = 40,
    ring.PinRadius = 3, ring.PinAngle = 30, ring.FixBoltRadius = 3, ring.FixBoltHeadRadius = 5.5,
    ring.FixBoltHeadLen = 6, ring.CountFix = 4, ring.BaseThickness = 0;
    const double fix[5] = {0, 90, 180, 270, 0};
    std::copy(fix, fix + 5, ring.FixAngle);
    Both(ring);
  }
  if (command == 34) {
    TReTraction retraction(34, &MA, none);
    retraction.CollarRadius = 20;
    Both(retraction);
    Both(tail);
    TMTail shank(34, &MA, none);
    shank.Radius = 10, shank.CollarRadius = 15, shank.Len = 100, shank.ThreadLen = 20, shank.ThreadRadius = 8,
    shank.ThreadStep = 1.5;
    shank.X90 = 12, shank.X89 = 10, shank.X88 = 6, shank.R61 = 3, shank.R97 = 4, shank.R98 = 3, shank.Y3 = 10,
    shank.Y4 = 3;
    TCirclePlane plate(34, &MA, none, &tail, &shank);
    plate.Thickness = 15, plate.Radius = 60, plate.BoltRadius = 5.5, plate.BoltHeadRadius = 9,
    plate.BoltHeadLen = 9;
    Both(plate);
    Both(shank);
  }
  if (command == 35) {
    TEjectorChannel channel(35, &MA, none, &plug);
    channel.Radius = 4, channel.Len = 100, channel.SpringRadius = 8, channel.SpringLen = 20,
    channel.FitRadius = 4.2, channel.FitLen = 30, channel.CollarRadius = 10, channel.CollarHeight = 5,
    channel.GradeHeight = 0.5;
    Both(channel);
    TBackEjector back(35, &MA, none, 35);
    back.Radius = 4, back.Len = 100, back.FitRadius = 4, back.FitLen = 30, back.CollarRadius = 10,
    back.CollarHeight = 5;
    Both(back);
  }
  if (command == 36) {
    TProtectSupport support(36, &MA, none);
    support.ThreadLen = 20, support.Len = 60, support.ThreadRadius = 6, support.Radius = 12.5,
    support.Key = 18, support.LenToKey = 10;
    Both(support);
  }
  if (command == 41) {
    // What a host with its modeller answers and one without it cannot tell: the cut is placed, but misses.
    const long long before = MA.drFailures3D();
    MA.drCreate3D(true, true, Documents->Folder + TString("missed-cut.tpt"), TString("missed"), TString());
    MA.drPlaneEskis(txapi::o3d_planeYOZ, 0, 0, TString());
    MA.drLine(-1, 0, 30, 0, 3);
    MA.drRectAngle(0, 0, 20, 5, 1);
    MA.drBaseRotate(0, 360);
    MA.drPlaneEskis(txapi::o3d_planeXOY, 0, 0, TString());
    MA.drRectAngle(100, 100, 110, 110, 1);
    MA.drCutExtrusion(txapi::dtBoth, txapi::etBlind, 10, 0);
    const bool failed = MA.drFailures3D() != before;
    MA.drDiscard3D();
    Messager->LiftBox(TString(failed ? "Вырез не выполнен" : "Вырез выполнен"), TMessager::toAlways);
  }
  if (command == 40) {
    const TString folder = Documents->Folder;
    std::vector<double> sizes(14, 0.0);
    for (int code = 2; code <= 52; ++code) {
      // A bush-like set of growing sizes fits every code's layout well enough to be seen.
      for (std::size_t i = 0; i < sizes.size(); ++i)
        sizes[i] = 6.0 + 4.0 * double(i);
      const std::string name = "code-" + std::to_string(code);
      drBaseDetail(MA, folder, TString(name.c_str()), TString(), code, 0, sizes, false);
    }
  }
}

void Run(unsigned int command)
{
  GuideParts(command);
  SecondShare(command);
  if (command == 1) {
    TPin p(5, &MA, nullptr);
    if (p.Set(TPin::Table, 3.0, 20.0) != 0) p.dr3D(1);
  }
  if (command == 2) {
    TScrew s(6, &MA, nullptr);
    if (s.Set(TScrew::Table, 5.0, 40.0) != 0) s.dr3D(1);
  }
  if (command == 3) Spacer(0, true);
  if (command == 4) Spacer(1, false);
  if (command == 5) ThreadedProfile();
  if (command == 6) EjectorProfiles();
}

} // namespace

extern "C" TXAPI_EXPORT bool LoadTavrixLibrary(txapi::IApplication& app,
                                               txapi::ITavrixLibraryActions& actions)
{
  MA.Init(app, "TestStdParts", "#Stamp - Regular");
  Documents = new stdtest::TMouldDocuments(TString(app.GetFolder(2) + L"/"));
  ABaseDetail.Init(MA.R().Path, TString("StdParts.tb"));
  actions.RegisterRunCommand([](unsigned int command, txapi::txRunCommandModeEnum) {
    Run(command);
    MA.drEndGetPart(false);
    if (MA.R().TavrixError) MA.R().TavrixError->Reset();
  });
  return true;
}

extern "C" TXAPI_EXPORT void UnloadTavrixLibrary()
{
  delete Documents;
  Documents = nullptr;
  MA.R().TavrixError.reset();
  MA.R().Tavrix7 = nullptr;
}
