// Builds every coupling of the catalogue in 3D on the stand-in host over every row of its main table, twice:
// on the row's own shaft with bore types 1/1, and with 3/4 and the second half on another shaft of the row's
// torque group (the next row's, the previous one's for the group's last, the same for a group of one row).
// Each build saves its parts and assembly into a folder of its own, named by coupling, row and build, so that
// two trees made by two versions of the library compare file by file. One line per build goes to the
// standard output: the folder, whether the build was made, and the messages it gave. The builds are made in
// one fixed temporary folder (the paths the assembly holds are the same in both trees), so one runs at a time.
//
//   partdump DATA_DIR OUT_DIR
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "../CouplingCatalogue.h"
#include "Duvozadu/ControlModel.h"
#include "Duvozadu/CplgGlobal.h"
#include "hxcadkit/adapter/drModelerAPI.h"
#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/Messager.h"
#include "hxcadkit/core/TTable.h"
#include "hxcadkit/core/TextBase.h"
#include "txhost/lib/Host.h"

namespace {
namespace fs = std::filesystem;

class TSaid : public TModelerLink
{
public:
  bool Exists() const override { return true; }
  void LiftBox(const TString& text) override { Texts.push_back(text.Utf8Text()); }
  int QuestionBox(const TString&, const TString&) override { return 1; }
  std::vector<std::string> Texts;
};
} // namespace

int main(int argc, char** argv)
{
  if (argc != 3) {
    std::fprintf(stderr, "usage: partdump DATA_DIR OUT_DIR\n");
    return 2;
  }
  const fs::path out = fs::absolute(argv[2]), scratch = fs::temp_directory_path() / "partdump-build";
  std::error_code ec;
  for (const fs::path& f : {out, scratch})
    if (fs::exists(f, ec) && !fs::is_empty(f, ec)) {
      std::fprintf(stderr, "partdump: %s is not empty (another partdump running?)\n", f.c_str());
      return 2;
    }
  const std::string data = fs::absolute(argv[1]).string() + "/";
  fs::create_directories(out);
  if (!TextBase.Init(TString(data.c_str()), TString("VUVudirido.tb"))) {
    std::fprintf(stderr, "partdump: no text base in %s\n", argv[1]);
    return 3;
  }
  txhost::Host host;
  TSaid said;
  TMessager::SetModelerLink(&said);
  drApi::PControlModel = &ControlModel;
  drApi::MA.Init(host.Application(), "VUVudirido", "#Stamp - Regular");
  SetCouplingModeler(&drApi::MA);
  long builds = 0, made = 0;
  for (const TCatalogueRow& c : Catalogue) {
    std::unique_ptr<TTable> main(TextBase.GetTable(TString(c.Table)));
    if (!main) return 4;
    const TTable& t = *main;
    for (int i = 0; i < t.CountRow; ++i) {
      const double* A = t.Row(i);
      const double other = OtherShaft(t, i);
      for (const bool two : {false, true}) {
        const fs::path folder = out / (std::string(c.Key) + "-r" + std::to_string(i) + (two ? "-t34" : "-t11"));
        // Built in a folder of one name, whoever runs it, since the assembly names its parts by their paths.
        const fs::path work = scratch / folder.filename();
        fs::create_directories(work);
        host.SetDocumentsFolder(work);
        ControlModel.Path = TString::Exactly(Utf8ToWide(work.string()) + L"/");
        ControlModel.M = A[0];
        ControlModel.P1d = A[t.Control];
        ControlModel.P2d = two ? other : A[t.Control];
        ControlModel.T1 = two ? 2 : 0;
        ControlModel.T2 = two ? 3 : 0;
        said.Texts.clear();
        const bool ok = Couplings.drCoupling(TString(c.Name), 0);
        std::printf("%s %s", folder.filename().c_str(), ok ? "made" : "refused");
        for (const std::string& s : said.Texts)
          std::printf(" \"%s\"", s.c_str());
        std::printf("\n");
        ++builds;
        made += ok;
        fs::copy(work, folder, fs::copy_options::recursive);
        fs::remove_all(work);
      }
    }
  }
  std::printf("builds %ld made %ld\n", builds, made);
  SetCouplingModeler(nullptr);
  TMessager::SetModelerLink(nullptr);
  drApi::PControlModel = nullptr;
  fs::remove_all(scratch);
  return 0;
}
