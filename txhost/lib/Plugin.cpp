#include "txhost/lib/Plugin.h"

#include "txhost/lib/Events.h"
#include "txhost/lib/Host.h"

#include <dlfcn.h>
#include <elf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <exception>
#include <system_error>

namespace txhost {

namespace {

std::string DlError()
{
  const char* e = dlerror();
  return e != nullptr ? e : "unknown error";
}

// A file read at given offsets, every read checked against its size.
class FileBytes
{
public:
  // Never waits on a pipe: only a regular file is read.
  explicit FileBytes(const std::filesystem::path& file)
      : Fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK))
  {
    struct stat st{};
    if (Fd >= 0 && ::fstat(Fd, &st) == 0 && S_ISREG(st.st_mode)) Size = std::uint64_t(st.st_size);
  }
  ~FileBytes()
  {
    if (Fd >= 0) ::close(Fd);
  }
  FileBytes(const FileBytes&) = delete;
  FileBytes& operator=(const FileBytes&) = delete;

  bool Read(std::uint64_t offset, void* out, std::uint64_t count) const
  {
    if (offset > Size || count > Size - offset) return false;
    return ::pread(Fd, out, count, off_t(offset)) == ssize_t(count);
  }
  std::uint64_t FileSize() const { return Size; }

private:
  int Fd;
  std::uint64_t Size = 0;
};

struct SanitizerRuntime
{
  const char* Library; // the start of its shared object's name
  const char* Name;
  const char* Symbol;  // defined in a process that runs with it
};

constexpr SanitizerRuntime SanitizerRuntimes[]{
    {"libasan.so", "AddressSanitizer", "__asan_init"},
    {"libtsan.so", "ThreadSanitizer", "__tsan_init"},
    {"libmsan.so", "MemorySanitizer", "__msan_init"},
};

} // namespace

std::vector<std::string> NeededLibraries(const std::filesystem::path& file)
{
  std::vector<std::string> out;
  FileBytes f(file);
  Elf64_Ehdr eh{};
  if (!f.Read(0, &eh, sizeof eh) || std::memcmp(eh.e_ident, ELFMAG, SELFMAG) != 0 ||
      eh.e_ident[EI_CLASS] != ELFCLASS64 || eh.e_ident[EI_DATA] != ELFDATA2LSB ||
      eh.e_phentsize != sizeof(Elf64_Phdr))
    return out;
  std::vector<Elf64_Phdr> ph(eh.e_phnum);
  if (!f.Read(eh.e_phoff, ph.data(), std::uint64_t(ph.size()) * sizeof(Elf64_Phdr))) return out;
  const Elf64_Phdr* dynamic = nullptr;
  for (const Elf64_Phdr& p : ph)
    if (p.p_type == PT_DYNAMIC) dynamic = &p;
  if (dynamic == nullptr || dynamic->p_filesz > f.FileSize()) return out;
  std::vector<Elf64_Dyn> dyn(dynamic->p_filesz / sizeof(Elf64_Dyn));
  if (!f.Read(dynamic->p_offset, dyn.data(), std::uint64_t(dyn.size()) * sizeof(Elf64_Dyn))) return out;
  std::uint64_t strtab = 0, strsz = 0;
  std::vector<std::uint64_t> needed;
  for (const Elf64_Dyn& d : dyn) {
    if (d.d_tag == DT_NULL) break;
    if (d.d_tag == DT_NEEDED) needed.push_back(d.d_un.d_val);
    if (d.d_tag == DT_STRTAB) strtab = d.d_un.d_ptr;
    if (d.d_tag == DT_STRSZ) strsz = d.d_un.d_val;
  }
  // The string table's address, as a file offset through the segment that loads it.
  std::uint64_t offset = 0;
  bool mapped = false;
  for (const Elf64_Phdr& p : ph)
    if (p.p_type == PT_LOAD && strtab >= p.p_vaddr && strtab - p.p_vaddr < p.p_filesz) {
      offset = p.p_offset + (strtab - p.p_vaddr);
      mapped = offset >= p.p_offset;
      break;
    }
  if (!mapped || strsz > f.FileSize()) return out;
  std::string strings(strsz, '\0');
  if (!f.Read(offset, strings.data(), strsz)) return out;
  for (std::uint64_t at : needed)
    if (at < strings.size()) out.emplace_back(strings.c_str() + at);
  return out;
}

std::set<std::string> ProcessSanitizers()
{
  std::set<std::string> out;
  for (const SanitizerRuntime& r : SanitizerRuntimes)
    if (dlsym(RTLD_DEFAULT, r.Symbol) != nullptr) out.insert(r.Name);
  return out;
}

std::string SanitizerMismatch(const std::filesystem::path& file, const std::set<std::string>& processSanitizers)
{
  for (const std::string& needed : NeededLibraries(file))
    for (const SanitizerRuntime& r : SanitizerRuntimes)
      if (needed.rfind(r.Library, 0) == 0 && processSanitizers.count(r.Name) == 0)
        return std::string("the library was built with ") + r.Name + " (it needs " + needed +
               ") and this txhost was not: load it with the txhost of the same build";
  return {};
}

LoadedLibrary::LoadedLibrary(std::filesystem::path file, void* handle, txapi::LoadTavrixLibraryFunction load,
                             txapi::UnloadTavrixLibraryFunction unload)
    : File(std::move(file)), Handle(handle), LoadEntry(load), UnloadEntry(unload)
{
}

std::unique_ptr<LoadedLibrary> LoadedLibrary::Open(const std::filesystem::path& file, std::string& error)
{
  std::error_code ec;
  const std::filesystem::path path = std::filesystem::absolute(file, ec).lexically_normal();
  if (ec || !std::filesystem::is_regular_file(path, ec)) {
    error = "no library file " + file.string();
    return nullptr;
  }
  const std::string mismatch = SanitizerMismatch(path, ProcessSanitizers());
  if (!mismatch.empty()) {
    error = "cannot load library " + path.string() + ": " + mismatch;
    return nullptr;
  }
  dlerror();
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    error = "cannot load library " + path.string() + ": " + DlError();
    return nullptr;
  }
  void* load = dlsym(handle, txapi::LoadTavrixLibraryName);
  if (load == nullptr) {
    error = "library " + path.string() + " has no entry point " + txapi::LoadTavrixLibraryName;
    dlclose(handle);
    return nullptr;
  }
  void* unload = dlsym(handle, txapi::UnloadTavrixLibraryName);
  return std::unique_ptr<LoadedLibrary>(
      new LoadedLibrary(path, handle, reinterpret_cast<txapi::LoadTavrixLibraryFunction>(load),
                        reinterpret_cast<txapi::UnloadTavrixLibraryFunction>(unload)));
}

LoadedLibrary::~LoadedLibrary()
{
  Unload();
}

bool LoadedLibrary::Load(Host& host, std::string& error)
{
  if (Handle == nullptr) {
    error = "the library is unloaded";
    return false;
  }
  LoadedInto = &host;
  host.SetCurrentLibraryPath(File);
  try {
    if (LoadEntry(host.Application(), host.Registrar())) return true;
    error = std::string(txapi::LoadTavrixLibraryName) + " of " + File.string() + " answered false";
  } catch (const std::exception& e) {
    error = std::string(txapi::LoadTavrixLibraryName) + " of " + File.string() + " threw: " + e.what();
  } catch (...) {
    error = std::string(txapi::LoadTavrixLibraryName) + " of " + File.string() + " threw";
  }
  return false;
}

void LoadedLibrary::Unload()
{
  if (Handle == nullptr) return;
  if (UnloadEntry != nullptr) {
    try {
      UnloadEntry();
    } catch (...) {
      // Nothing the host can do about it; the library goes all the same.
    }
  }
  if (LoadedInto != nullptr) {
    LoadedInto->ClearLibraryCallbacks();
    // Subscriptions the library never ended hold its code: they go before it does.
    DropSubscriptions(*LoadedInto);
    if (LoadedInto->CurrentLibraryPath() == File) LoadedInto->SetCurrentLibraryPath({});
  }
  dlclose(Handle);
  Handle = nullptr;
  LoadedInto = nullptr;
}

} // namespace txhost
