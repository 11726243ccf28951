#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace txhost {

// Reads a whole input file of at most maxBytes: a regular file, or a pipe where pipes are taken (a script
// may come through one; a document never does, and a named pipe nobody writes would wait for ever). A folder,
// a device, a socket, a missing or unreadable file, or more than maxBytes (however the input is made: an
// endless stream stops at the limit) is false with a message in error that names the file and says why.
bool ReadInputFile(const std::filesystem::path& file, std::size_t maxBytes, std::string& text,
                   std::string& error, bool pipes = true);

// True when something that is no regular file stands at file (a folder, a pipe, a device): writing there
// would block, never end or land in the wrong place, so it is refused.
bool NoRegularFileAt(const std::filesystem::path& file);

// True for valid UTF-8 without NUL bytes.
bool IsUtf8Text(std::string_view text);

// The text with every byte that is not part of valid UTF-8 (and every control character but tab) written
// as \xNN, so that it can be printed and stored as JSON text; valid text comes back unchanged.
std::string Printable(std::string_view text);

} // namespace txhost
