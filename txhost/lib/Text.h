#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace txhost {

// Wide text (UTF-32 on this platform) to UTF-8; a value that is no Unicode scalar becomes U+FFFD.
std::string ToUtf8(std::wstring_view text);
// UTF-8 to wide text; every malformed sequence becomes U+FFFD.
std::wstring FromUtf8(std::string_view text);

// File-system paths are UTF-8 bytes on this platform.
std::filesystem::path ToPath(std::wstring_view text);
std::wstring FromPath(const std::filesystem::path& path);

} // namespace txhost
