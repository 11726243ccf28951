// Writes the coupling command's phantom part: a part document whose model variables "D", "D1",
// "L1" and "L2" the command sets while the user chooses a coupling, and a revolved body of those
// sizes (a hub of diameter D with a bore D1, L1 long on the first shaft's side and L2 on the
// second's), as a preview of the coupling's envelope. Usage: phantomgen OUTPUT.tpt
#include <cstdio>
#include <filesystem>

#include "hxcadkit/adapter/drModelerAPI.h"
#include "txhost/lib/Host.h"

int main(int argc, char** argv)
{
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT.tpt\n", argv[0]);
    return 2;
  }
  const std::filesystem::path out = std::filesystem::absolute(argv[1]);
  txhost::Host host;
  host.SetDocumentsFolder(out.parent_path());
  drApi::TModelerApi& m = drApi::MA;
  m.R().Tavrix7 = &host.Application();

  const double D = 60, D1 = 40, L1 = 40, L2 = 32; // a 40 mm shaft to a 32 mm one
  m.drCreate3D(true, true, TString(out.wstring()), TString("Муфта"), TString());
  for (auto [name, value] : {std::pair{"D", D}, {"D1", D1}, {"L1", L1}, {"L2", L2}})
    m.drAddVariable(TString(name), value, TString());
  m.drPlaneEskis(txapi::o3d_planeXOY, 0, 0, TString("Эскиз"));
  m.drLine(-L1 - 5, 0, L2 + 5, 0, 3); // the axis
  const double p[5][2] = {{-L1, D1 / 2}, {L2, D1 / 2}, {L2, D / 2}, {-L1, D / 2}, {-L1, D1 / 2}};
  for (int i = 0; i < 4; ++i)
    m.drLine(p[i][0], p[i][1], p[i + 1][0], p[i + 1][1], 1);
  m.drBaseRotate(0, 360.0);
  m.drSave3D(true, false);
  m.R().Tavrix7 = nullptr;
  if (!std::filesystem::exists(out)) {
    std::fprintf(stderr, "%s: not written\n", out.c_str());
    return 1;
  }
  return 0;
}
