#include "Duvozadu/ControlModel.h"

#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <system_error>

#include "Duvozadu/CplgGlobal.h"

TControlModelCoupling ControlModel;

int IntPart(double v)
{
  if (std::isnan(v)) return 0;
  if (v >= double(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
  if (v <= double(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
  return int(v);
}

namespace {
TString Num(double v, int decimals)
{
  return TString(v, decimals, true, 7);
}

// Little-endian field coding of the parameter block; the reader refuses data that end early.
void Put(std::vector<std::uint8_t>& v, const void* p, std::size_t n)
{
  auto* b = static_cast<const std::uint8_t*>(p);
  v.insert(v.end(), b, b + n);
}
void PutStr(std::vector<std::uint8_t>& v, const TString& s)
{
  std::int32_t n = s.Length();
  Put(v, &n, 4);
  Put(v, s.PChar(), std::size_t(n) + 1);
}

struct TBlockReader
{
  const std::uint8_t* P;
  std::size_t Left;
  bool Get(void* dst, std::size_t n)
  {
    if (n > Left) return false;
    std::memcpy(dst, P, n);
    P += n;
    Left -= n;
    return true;
  }
  // A length, then its text and a terminating zero, all within the block.
  bool GetStr(TString& s)
  {
    std::int32_t n = 0;
    if (!Get(&n, 4) || n < 0 || std::size_t(n) >= Left) return false;
    std::string text(reinterpret_cast<const char*>(P), std::size_t(n));
    P += std::size_t(n) + 1;
    Left -= std::size_t(n) + 1;
    s.Set(text.c_str());
    return true;
  }
};
} // namespace

TControlModelCoupling::TControlModelCoupling() : TControlModel("coupling.dss", "coupling.chm") {}

TControlModelCoupling::~TControlModelCoupling() = default;

void TControlModelCoupling::SetProjectsName(const TString& coupling, const TString& standart, double m,
                                            double d1, double d2)
{
  CouplingName = coupling;
  StandartName = standart;
  M = m;
  P1d = d1;
  P2d = d2;
}

TString TControlModelCoupling::sfDetail(int n, bool part) const
{
  TString s = Path + PrefixName + Num(P2d, 0);
  if (std::fabs(P1d - P2d) > 2e-6) s += TString("=") + Num(P1d, 2);
  if (n != 0) s += TString("-") + TString(n);
  return s + StandartName + TString(part ? ".tpt" : ".tas");
}

TString TControlModelCoupling::mfDetail3D(int n)
{
  // Fasteners differ between sizes: the coupling's code keeps two couplings' fasteners apart,
  // while the pieces of one coupling still share their file.
  TString s = Path + FilePrefix + CodeDet() + TString("-") + TString(n) + TString(".tpt");
  if (n >= 0 && n < 10) ANameFile[n] = s;
  return s;
}

TString TControlModelCoupling::MainName() const
{
  TString s = PrefixName + Num(M, 2) + TString("-") + TString(IntPart(P1d));
  if (P2d != P1d || T1 != T2) s += TString("-") + TString(T1 + 1) + TString("-") + TString(IntPart(P2d));
  return s + TString("-") + TString(T2 + 1) + TString("-") + StandartName;
}

TString TControlModelCoupling::CodeDet() const
{
  TString s = TString("Муфта-") + Num(M, 2) + TString("-") + TString(IntPart(P2d));
  if (P1d != P2d || T1 != T2) s += TString("-") + TString(T1 + 1) + TString("-") + TString(IntPart(P1d));
  return s + TString("-") + TString(T2 + 1) + TString("-") + StandartName;
}

void TControlModelCoupling::mkAssembly3D(double, int, double, int, bool invisible)
{
  TString code = CodeDet();
  TString file = Path + FilePrefix + code + TString(".tas");
  if (TModeler3D* m = CouplingModeler()) m->drCreate3D(invisible, false, file, code, code);
  ANameFile[0] = file;
}

void TControlModelCoupling::mkDetail3D(int n, const TString& name, double d, bool invisible, bool isPart,
                                       int boreType)
{
  const TString head = name + TString("-") + Num(M, 2) + TString("-") + TString(IntPart(d));
  const TString tail = TString("-") + StandartName;
  TString des = head + tail;
  TString file = Path + FilePrefix + head;
  if (boreType >= 0) file += TString("-") + TString((boreType > 3 ? 3 : boreType) + 1);
  file += tail + TString(isPart ? ".tpt" : ".tas");
  if (TModeler3D* m = CouplingModeler()) m->drCreate3D(invisible, isPart, file, des, des);
  if (n >= 0 && n < 10) ANameFile[n] = file;
}

void TControlModelCoupling::DeleteFiles()
{
  for (int n = 1; n < 10; ++n) {
    if (ANameFile[n].Empty()) continue;
    std::error_code ec;
    std::filesystem::remove(std::filesystem::path(ANameFile[n].Utf8Text()), ec);
    ANameFile[n] = TString();
  }
}

void TControlModelCoupling::to(std::vector<std::uint8_t>& v) const
{
  v.assign(HeaderSize, 0);
  std::memcpy(v.data(), &BlockMagic, 4);
  std::memcpy(v.data() + 4, &BlockVersion, 4);
  Put(v, &M, 8);
  Put(v, &P1d, 8);
  Put(v, &P2d, 8);
  PutStr(v, CouplingName);
  PutStr(v, StandartName);
  Put(v, &pX, 8);
  Put(v, &pY, 8);
  Put(v, &pAngle, 8);
  Put(v, &TView, 4);
  Put(v, &T1, 4);
  Put(v, &T2, 4);
}

void TControlModelCoupling::Write(TKmfData& S) const
{
  std::vector<std::uint8_t> v;
  to(v);
  S.BlockWrite(v.data() + HeaderSize, unsigned(v.size() - HeaderSize));
}

bool TControlModelCoupling::from(const std::vector<std::uint8_t>& v)
{
  TBlockReader r{v.data(), v.size()};
  std::uint32_t magic = 0, version = 0;
  if (v.size() >= 8) {
    std::memcpy(&magic, v.data(), 4);
    std::memcpy(&version, v.data() + 4, 4);
  }
  if (magic == BlockMagic && version >= 4) {
    if (v.size() < std::size_t(HeaderSize)) return false;
    r.P += HeaderSize;
    r.Left -= HeaderSize;
  }
  double m, d1, d2, x, y, a;
  TString name, standart;
  std::int32_t view, t1, t2;
  if (!(r.Get(&m, 8) && r.Get(&d1, 8) && r.Get(&d2, 8) && r.GetStr(name) && r.GetStr(standart) &&
        r.Get(&x, 8) && r.Get(&y, 8) && r.Get(&a, 8) && r.Get(&view, 4) && r.Get(&t1, 4) && r.Get(&t2, 4)))
    return false;
  M = m;
  P1d = d1;
  P2d = d2;
  CouplingName = name;
  StandartName = standart;
  pX = x;
  pY = y;
  pAngle = a;
  TView = view;
  // Bore types index table columns: a stored value outside the four types is not trusted.
  T1 = t1 < 0 ? 0 : t1 > 3 ? 3 : t1;
  T2 = t2 < 0 ? 0 : t2 > 3 ? 3 : t2;
  return true;
}
