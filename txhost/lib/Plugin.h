#pragma once

#include "txapi/LibraryEntry.h"

#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace txhost {

class Host;

// The shared objects an ELF file names as needed (DT_NEEDED), in order; empty for a file that is no 64-bit
// little-endian ELF object or names none. Reads only the headers, the dynamic section and its strings, each
// checked against the file's size.
std::vector<std::string> NeededLibraries(const std::filesystem::path& file);

// The sanitizer runtimes ("AddressSanitizer", "ThreadSanitizer", "MemorySanitizer") that this process runs
// with.
std::set<std::string> ProcessSanitizers();

// Why a library that needs a sanitizer runtime cannot be loaded into a process that runs without it (that
// runtime kills the process inside dlopen, with no word of which library or script line); empty when the
// library can be loaded.
std::string SanitizerMismatch(const std::filesystem::path& file, const std::set<std::string>& processSanitizers);

// A library loaded into the host with dlopen. The library sees the host only through txapi; its symbols stay
// local to it, so that two libraries (or a library and the host) never bind to each other's definitions.
class LoadedLibrary
{
public:
  // Loads file and finds LoadTavrixLibrary; nullptr and a message in error when the file is missing, cannot
  // be loaded or has no entry point.
  static std::unique_ptr<LoadedLibrary> Open(const std::filesystem::path& file, std::string& error);
  ~LoadedLibrary();
  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;

  const std::filesystem::path& Path() const { return File; }

  // Makes the library the host's current one and calls its load entry point with the host's application and
  // registrar. False, with a message in error, when the entry point answers false or throws.
  bool Load(Host& host, std::string& error);

  // Calls the unload entry point (when the library has one), destroys the host's copies of the library's
  // callbacks and the event subscriptions it left, which hold the library's code, and unloads the file. The
  // destructor does the same.
  void Unload();

private:
  LoadedLibrary(std::filesystem::path file, void* handle, txapi::LoadTavrixLibraryFunction load,
                txapi::UnloadTavrixLibraryFunction unload);

  std::filesystem::path File;
  void* Handle;
  txapi::LoadTavrixLibraryFunction LoadEntry;
  txapi::UnloadTavrixLibraryFunction UnloadEntry;
  Host* LoadedInto = nullptr;
};

} // namespace txhost
