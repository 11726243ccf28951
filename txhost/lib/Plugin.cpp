#include "txhost/lib/Plugin.h"

#include "txhost/lib/Host.h"

#include <dlfcn.h>

#include <exception>
#include <system_error>

namespace txhost {

namespace {

std::string DlError()
{
  const char* e = dlerror();
  return e != nullptr ? e : "unknown error";
}

} // namespace

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
    if (LoadedInto->CurrentLibraryPath() == File) LoadedInto->SetCurrentLibraryPath({});
  }
  dlclose(Handle);
  Handle = nullptr;
  LoadedInto = nullptr;
}

} // namespace txhost
