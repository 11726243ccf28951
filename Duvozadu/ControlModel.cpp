#include "Duvozadu/ControlModel.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include "Duvozadu/CplgGlobal.h"
#include "hxcadkit/core/Messager.h"

TControlModelCoupling ControlModel;

// Where the fields of a parameter block come from: bytes in memory or a stream; either refuses
// a read that runs past its end.
struct TControlModelCoupling::TFieldSource
{
  virtual ~TFieldSource() = default;
  virtual bool Get(void* dst, std::size_t n) = 0;
  virtual std::size_t Left() = 0;
  // A length, then its text and a terminating zero, all within the block.
  bool GetStr(TString& s)
  {
    std::int32_t n = 0;
    if (!Get(&n, 4) || n < 0 || std::size_t(n) >= Left()) return false;
    std::string text(std::size_t(n) + 1, '\0');
    if (!Get(text.data(), text.size())) return false;
    text.resize(std::size_t(n));
    s.Set(text.c_str());
    return true;
  }
};

int IntPart(double v)
{
  if (std::isnan(v)) return 0;
  if (v >= double(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
  if (v <= double(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
  return int(v);
}

namespace {
TControlModelCoupling::TFileState StateOf(const TString& file)
{
  TControlModelCoupling::TFileState f;
  struct stat st;
  if (file.Empty() || ::stat(file.Utf8Text().c_str(), &st) != 0) return f;
  f.Exists = true;
  f.Device = std::uint64_t(st.st_dev);
  f.Inode = std::uint64_t(st.st_ino);
  f.Modified = std::int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  f.Size = std::uint64_t(st.st_size);
  return f;
}

// Why a file cannot be written, in the user's words. Only looked at, never tried: the name may be a
// link to somewhere outside the folder, and a probe that opened it would write there. The host
// writes a file beside the name and renames it over, so what counts is the folder and what stands
// at the name itself.
int WriteFailureCause(const std::string& path)
{
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  struct stat st;
  if (::stat(folder.c_str(), &st) != 0) return errno;
  if (!S_ISDIR(st.st_mode)) return ENOTDIR;
  const long nameMax = ::pathconf(folder.c_str(), _PC_NAME_MAX);
  if (name.size() > std::size_t(nameMax > 0 ? nameMax : NAME_MAX) || path.size() >= PATH_MAX)
    return ENAMETOOLONG;
  if (::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return EISDIR;
  if (::access(folder.c_str(), W_OK | X_OK) != 0) return errno;
  struct statvfs fs;
  if (::statvfs(folder.c_str(), &fs) == 0 && fs.f_bavail == 0) return ENOSPC;
  return 0;
}

// What the failure of a write with the system's error number e was, in the user's words.
TString WriteFailureText(int e)
{
  switch (e) {
  case 0:
    return DC(TString("файл не записан"));
  case EACCES:
  case EPERM:
    return DC(TString("нет прав на запись"));
  case EROFS:
    return DC(TString("диск только для чтения"));
  case ENOSPC:
  case EDQUOT:
    return DC(TString("нет места на диске"));
  case ENAMETOOLONG:
    return DC(TString("слишком длинное имя"));
  case EISDIR:
    return DC(TString("на месте файла папка"));
  case ENOENT:
  case ENOTDIR:
    return DC(TString("нет такой папки"));
  default:
    return TString(std::strerror(e));
  }
}

// Why the build's save of a file failed: the error of the failed write itself, as the host gave it; only
// where it gave none is the folder looked at (a disk full only for that write looks fine afterwards).
TString WriteFailure(const TString& file)
{
  TModeler3D::TSavedFile saved;
  const TModeler3D* m = CouplingModeler();
  if (m != nullptr && m->drSavedFile3D(file, saved) && !saved.Written && saved.Error != 0)
    return WriteFailureText(saved.Error);
  return WriteFailureText(WriteFailureCause(file.Utf8Text()));
}

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

struct TBlockReader : TControlModelCoupling::TFieldSource
{
  TBlockReader(const std::uint8_t* p, std::size_t n) : P(p), Rest(n) {}
  const std::uint8_t* P;
  std::size_t Rest;
  bool Get(void* dst, std::size_t n) override
  {
    if (n > Rest) return false;
    std::memcpy(dst, P, n);
    P += n;
    Rest -= n;
    return true;
  }
  std::size_t Left() override { return Rest; }
};

struct TStreamReader : TControlModelCoupling::TFieldSource
{
  explicit TStreamReader(TKmfData& s) : S(s) {}
  TKmfData& S;
  bool Get(void* dst, std::size_t n) override { return n <= Left() && S.BlockRead(dst, unsigned(n)) == n; }
  std::size_t Left() override
  {
    const std::int64_t r = S.Remaining();
    return r > 0 ? std::size_t(r) : 0;
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
  TString s = Path + CodeDet() + TString("-") + TString(n) + TString(".tpt");
  if (n >= 0 && n < 10) {
    ANameFile[n] = s;
    Before[n] = StateOf(s);
  }
  return s;
}

TString TControlModelCoupling::MainName() const
{
  // A prefix without its closing blank would run into a torque wide enough to fill its field.
  const TString torque = Num(M, 2);
  TString s = PrefixName;
  if (!s.Empty() && s.PChar()[s.Length() - 1] != ' ' && torque.PChar()[0] != ' ') s += TString(" ");
  s += torque + TString("-") + TString(IntPart(P1d));
  if (P2d != P1d || T1 != T2) s += TString("-") + TString(T1 + 1) + TString("-") + TString(IntPart(P2d));
  return s + TString("-") + TString(T2 + 1) + TString("-") + StandartName;
}

TString TControlModelCoupling::CodeDet() const
{
  // Each diameter with its own bore type, in the order of the 2D designation; rows that share a
  // main table keep their own prefix, so that their entries tell them apart.
  TString s = FilePrefix + TString("Муфта-") + Num(M, 2) + TString("-") + TString(IntPart(P1d));
  if (P1d != P2d || T1 != T2) s += TString("-") + TString(T1 + 1) + TString("-") + TString(IntPart(P2d));
  return s + TString("-") + TString(T2 + 1) + TString("-") + StandartName;
}

void TControlModelCoupling::mkAssembly3D(double, int, double, int, bool invisible)
{
  TString code = CodeDet();
  TString file = Path + code + TString(".tas");
  ANameFile[0] = file;
  Before[0] = StateOf(file);
  if (TModeler3D* m = CouplingModeler()) m->drCreate3D(invisible, false, file, code, code);
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
  if (n >= 0 && n < 10) {
    ANameFile[n] = file;
    Before[n] = StateOf(file);
  }
  if (TModeler3D* m = CouplingModeler()) m->drCreate3D(invisible, isPart, file, des, des);
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

void TControlModelCoupling::ForgetFiles()
{
  for (int n = 0; n < 10; ++n) {
    ANameFile[n] = TString();
    Before[n] = TFileState();
  }
}

bool TControlModelCoupling::Written(int n) const
{
  if (n < 0 || n >= 10 || ANameFile[n].Empty()) return false;
  const TFileState now = StateOf(ANameFile[n]);
  return now.Exists && !(now == Before[n]);
}

bool TControlModelCoupling::Unwritten(TString& file, TString& reason) const
{
  // A file whose save failed is named first: its failure is the reason the others were not written.
  const TModeler3D* m = CouplingModeler();
  for (int n = 0; n < 10 && m != nullptr; ++n) {
    TModeler3D::TSavedFile saved;
    if (ANameFile[n].Empty() || !m->drSavedFile3D(ANameFile[n], saved) || saved.Written) continue;
    file = ANameFile[n];
    reason = WriteFailure(file);
    return true;
  }
  for (int n = 0; n < 10; ++n) {
    if (ANameFile[n].Empty() || Written(n)) continue;
    file = ANameFile[n];
    reason = WriteFailure(file);
    return true;
  }
  return false;
}

void TControlModelCoupling::RemoveMadeFiles()
{
  // Only a file this build's own save made where none stood, still as that save left it: another build
  // writing into the same folder may have put its own file at a shared name since (two sizes share the pin
  // and bushings), or before this build's save replaced it, and that build has reported it made.
  const TModeler3D* m = CouplingModeler();
  for (int n = 0; n < 10 && m != nullptr; ++n) {
    TModeler3D::TSavedFile saved;
    if (ANameFile[n].Empty() || Before[n].Exists || !m->drSavedFile3D(ANameFile[n], saved) ||
        !saved.Written || saved.Replaced)
      continue;
    const TFileState now = StateOf(ANameFile[n]);
    if (now.Exists && now.Device == saved.Device && now.Inode == saved.Inode && now.Size == saved.Size &&
        now.Modified == saved.Modified)
      ::unlink(ANameFile[n].Utf8Text().c_str());
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
    r.Rest -= HeaderSize;
  }
  return ReadFields(r);
}

bool TControlModelCoupling::Read(TKmfData& S)
{
  TStreamReader r{S};
  return ReadFields(r);
}

bool TControlModelCoupling::ReadFields(TFieldSource& r)
{
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
