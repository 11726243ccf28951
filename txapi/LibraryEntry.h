#pragma once

// The entry points a library exports (unmangled) for the host to find after loading it.

namespace txapi {
class IApplication;
class ITavrixLibraryActions;
} // namespace txapi

#define TXAPI_EXPORT __attribute__((visibility("default")))

extern "C" {
// Called once after the library is loaded; the library registers its callbacks with actions.
TXAPI_EXPORT bool LoadTavrixLibrary(txapi::IApplication& app, txapi::ITavrixLibraryActions& actions);
// Called before the library is unloaded.
TXAPI_EXPORT void UnloadTavrixLibrary();
}

namespace txapi {

using LoadTavrixLibraryFunction = bool (*)(IApplication&, ITavrixLibraryActions&);
using UnloadTavrixLibraryFunction = void (*)();

inline constexpr const char* LoadTavrixLibraryName = "LoadTavrixLibrary";
inline constexpr const char* UnloadTavrixLibraryName = "UnloadTavrixLibrary";

} // namespace txapi
