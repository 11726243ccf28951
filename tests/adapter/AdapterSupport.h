#pragma once
// A stand-in host with the global modeller initialised on it, and what the tests read back.

#include <filesystem>
#include <string>

#include "../txhost/TestSupport.h"
#include "hxcadkit/adapter/drModelerAPI.h"
#include "hxcadkit/core/ControlModel.h"
#include "txapi/txapi.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Model.h"
#include "txhost/lib/Text.h"

namespace adaptertest {

using txapi::SmartPtr;

inline std::string U8(const std::wstring& w)
{
  return txhost::ToUtf8(w);
}

inline TString T(const std::filesystem::path& p)
{
  return TString(p.wstring());
}

// Empties every host reference the global modeller holds, so that the host can go.
inline void ResetModeller()
{
  drApi::TModelerApi& m = drApi::MA;
  m.drEndGetPart(false);
  while (m.R2D().Transf2D.AMtr.Count > 0)
    m.drDeleteMtr();
  drApi::TRegistryApi& r = m.R();
  r.Tavrix7 = nullptr;
  r.TavrixError.reset();
}

class HostedModeller
{
public:
  explicit HostedModeller(bool record = true) : Control("state", "help")
  {
    H.SetDocumentsFolder(Dir.path());
    std::filesystem::create_directories(Dir / "lib");
    H.SetCurrentLibraryPath(Dir / "lib" / "libVUVudirido.so");
    if (record) H.SetLibraryRecord(L"VUVudirido", Dir / "lib" / "libVUVudirido.so", L"");
    drApi::PControlModel = &Control;
    drApi::MA.Init(H.Application(), "VUVudirido", "#Stamp - Regular");
  }
  ~HostedModeller()
  {
    ResetModeller();
    drApi::PControlModel = nullptr;
  }

  txhost::Object* Find(const txapi::IAPIObject* p) const { return txhost::Object::From(p); }

  txhost::test::TempDir Dir;
  txhost::Host H;
  TControlModel Control;
};

} // namespace adaptertest
