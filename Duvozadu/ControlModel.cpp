#include "Duvozadu/ControlModel.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

#include "Duvozadu/CplgGlobal.h"
#include "hxcadkit/core/FolderLock.h"
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
// A file of the build reached as a name in its folder, which is opened once: a path past the system's limit
// is looked at and removed as any other, and each step acts in the folder that was named.
struct TInFolder
{
  explicit TInFolder(const TString& file)
  {
    const std::string path = file.Utf8Text();
    const std::size_t slash = path.rfind('/');
    Name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::string folder = slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
    Fd = path.empty() ? -1 : ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    Error = Fd < 0 ? errno : 0;
  }
  ~TInFolder()
  {
    if (Fd >= 0) ::close(Fd);
  }
  TInFolder(const TInFolder&) = delete;
  TInFolder& operator=(const TInFolder&) = delete;
  // What stands at the name itself (a link is not followed); false when nothing does.
  bool Look(const std::string& name, struct stat& st) const
  {
    return Fd >= 0 && ::fstatat(Fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
  }
  int Fd = -1;
  int Error = 0;
  std::string Name;
};

TControlModelCoupling::TFileState StateOf(const TString& file)
{
  TControlModelCoupling::TFileState f;
  // Only a file counts: the host replaces what else stands at a name (a link to somewhere) with one.
  struct stat st;
  if (const TInFolder in(file); !in.Look(in.Name, st) || !S_ISREG(st.st_mode)) return f;
  f.Exists = true;
  f.Device = std::uint64_t(st.st_dev);
  f.Inode = std::uint64_t(st.st_ino);
  f.Modified = std::int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  f.Size = std::uint64_t(st.st_size);
  return f;
}

// Why a file cannot be written where no error number says it: something other than a file or a folder
// stands at the name.
constexpr int NotAFile = -1;

// Why a file cannot be written, in the user's words. Only looked at, never tried: the name may be a
// link to somewhere outside the folder, and a probe that opened it would write there. The host
// writes a file beside the name and renames it over, so what counts is the folder and what stands
// at the name itself.
int WriteFailureCause(const TString& file)
{
  const TInFolder f(file);
  if (f.Fd < 0) return f.Error;
  const long nameMax = ::fpathconf(f.Fd, _PC_NAME_MAX);
  if (f.Name.size() > std::size_t(nameMax > 0 ? nameMax : NAME_MAX)) return ENAMETOOLONG;
  struct stat st;
  if (f.Look(f.Name, st) && S_ISDIR(st.st_mode)) return EISDIR;
  // A pipe, a socket or a device, also where a link at the name leads: the user's, and the host refuses it.
  if (::fstatat(f.Fd, f.Name.c_str(), &st, 0) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode))
    return NotAFile;
  // A file its owner may not write is not replaced.
  if (f.Look(f.Name, st) && S_ISREG(st.st_mode) && (st.st_mode & S_IWUSR) == 0) return EACCES;
  if (::faccessat(f.Fd, ".", W_OK | X_OK, AT_EACCESS) != 0) return errno;
  struct statfs fs;
  if (::fstatfs(f.Fd, &fs) == 0 && fs.f_bavail == 0) return ENOSPC;
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
  case NotAFile:
    return DC(TString("на месте файла канал, сокет или устройство"));
  case EWOULDBLOCK:
    return DC(TString("в папку пишет другая сборка, ожидание прервано"));
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
  return WriteFailureText(WriteFailureCause(file));
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
  const TString s = Path + CodeDet() + TString("-") + TString(n) + TString(".tpt");
  const bool refused = Refuse(s);
  if (n >= 0 && n < 10) {
    ANameFile[n] = s;
    Before[n] = refused ? TFileState() : StateOf(s);
  }
  // A name refused is given to nobody: the fastener is made in a document of no file, never written.
  return refused ? TString() : s;
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
  const bool refused = Refuse(file);
  ANameFile[0] = file;
  Before[0] = refused ? TFileState() : StateOf(file);
  if (TModeler3D* m = CouplingModeler())
    m->drCreate3D(invisible, false, refused ? TString() : file, code, code);
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
  const bool refused = Refuse(file);
  if (n >= 0 && n < 10) {
    ANameFile[n] = file;
    Before[n] = refused ? TFileState() : StateOf(file);
  }
  // The part of a name refused is made in a document of no file, which is never written.
  if (TModeler3D* m = CouplingModeler())
    m->drCreate3D(invisible, isPart, refused ? TString() : file, des, des);
}

bool TControlModelCoupling::Refuse(const TString& file)
{
  // The part after the documents folder comes from the text base, the dictionary and the host's translation:
  // a separator or a dot name in it would put the file elsewhere, and a path past the system's limit is one
  // the library could neither check nor remove.
  const std::string path = file.Utf8Text(), folder = Path.Utf8Text();
  const std::string name = path.starts_with(folder) ? path.substr(folder.size()) : path;
  const long nameMax = ::pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
  TString why;
  if (name.find('/') != std::string::npos)
    why = DC(TString("знак \"/\" недопустим в имени файла"));
  else if (name.empty() || name == "." || name == "..")
    why = DC(TString("недопустимое имя файла"));
  else if (path.size() >= PATH_MAX || name.size() > std::size_t(nameMax > 0 ? nameMax : NAME_MAX))
    why = WriteFailureText(ENAMETOOLONG);
  if (why.Empty()) return false;
  if (RefusedFile.Empty()) {
    RefusedFile = file;
    RefusedWhy = why;
  }
  return true;
}

void TControlModelCoupling::DeleteFiles()
{
  for (int n = 1; n < 10; ++n) {
    if (ANameFile[n].Empty()) continue;
    if (const TInFolder in(ANameFile[n]); in.Fd >= 0) ::unlinkat(in.Fd, in.Name.c_str(), 0);
    ANameFile[n] = TString();
  }
}

void TControlModelCoupling::ForgetFiles()
{
  for (int n = 0; n < 10; ++n) {
    ANameFile[n] = TString();
    Before[n] = TFileState();
  }
  RefusedFile = RefusedWhy = TString();
}

bool TControlModelCoupling::Written(int n) const
{
  if (n < 0 || n >= 10 || ANameFile[n].Empty()) return false;
  const TFileState now = StateOf(ANameFile[n]);
  return now.Exists && !(now == Before[n]);
}

bool TControlModelCoupling::Unwritten(TString& file, TString& reason) const
{
  // A name refused is the first reason: nothing of it was written.
  if (!RefusedFile.Empty()) {
    file = RefusedFile;
    reason = RefusedWhy;
    return true;
  }
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

bool TControlModelCoupling::Unwritable(TString& file, TString& reason) const
{
  if (!RefusedFile.Empty()) {
    file = RefusedFile;
    reason = RefusedWhy;
    return true;
  }
  // A full disk is not refused here: it may have room for this build by the time it writes.
  for (int n = 0; n < 10; ++n)
    if (const int e = ANameFile[n].Empty() ? 0 : WriteFailureCause(ANameFile[n]); e != 0 && e != ENOSPC) {
      file = ANameFile[n];
      reason = WriteFailureText(e);
      return true;
    }
  // Every file goes into one folder: a build that cannot have its turn of it now would stop part way.
  for (int n = 0; n < 10; ++n)
    if (!ANameFile[n].Empty()) {
      if (const TFolderLock turn(ANameFile[n]); !turn.Refused()) return false;
      file = ANameFile[n];
      reason = WriteFailureText(EWOULDBLOCK);
      return true;
    }
  return false;
}

void (*TControlModelCoupling::BeforeRemoval)(const TString& file) = nullptr;

namespace {
bool IsSaved(const struct stat& st, const TModeler3D::TSavedFile& saved)
{
  return std::uint64_t(st.st_dev) == saved.Device && std::uint64_t(st.st_ino) == saved.Inode &&
         std::uint64_t(st.st_size) == saved.Size &&
         std::int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec == saved.Modified;
}

// Removes file while it is the one the build saved. The system has no removal that asks what it removes, and
// taking the file out of its name to look at it frees the name for a moment (another build then takes it, or
// is stopped with its file hidden). So nothing is moved: the look and the removal are one step for every
// other build, which saves only in its turn of the folder's lock; while it is held the name holds this
// build's own file, which no other build has, and after it another build's save makes its file anew.
void RemoveIfSaved(const TString& file, const TModeler3D::TSavedFile& saved)
{
  // A folder another build keeps past the wait is left as it is: the name may be that build's by now.
  const TFolderLock turn(file);
  if (turn.Refused()) return;
  const TInFolder in(file);
  struct stat st;
  if (!in.Look(in.Name, st) || !IsSaved(st, saved)) return;
  if (TControlModelCoupling::BeforeRemoval != nullptr) TControlModelCoupling::BeforeRemoval(file);
  ::unlinkat(in.Fd, in.Name.c_str(), 0);
}
} // namespace

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
    RemoveIfSaved(ANameFile[n], saved);
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
