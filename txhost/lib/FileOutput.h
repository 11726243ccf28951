#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace txhost {

// Writes bytes as file, the one way the host writes any file it is asked for (documents, pictures, STEP):
// into a temporary file beside the name, made new for this write, then renamed over the name. So a link
// at the name is replaced, never followed; a failed write leaves an existing file as it was and no
// temporary; and a name is written exactly as given (".." in it is the file system's to follow, never
// folded away). Something that is no regular file at the name (a pipe, a socket, a device) is refused.
// A file at the name is replaced as its owner keeps it: one its owner may not write is refused (EACCES), and
// the new file takes the old one's mode, and its owner and group where the process may set them.
// On failure error says why, naming file, and code (when given) holds the system's error number of the
// failed step, 0 for a refusal that has none.
// The temporary is removed when the process is stopped by SIGTERM, SIGINT or SIGHUP while it writes, and
// a write that succeeds removes the temporaries of the same name left by processes that are gone (found by a
// listing of the folder once per folder and process: a write costs the same whatever else the folder holds).
// The file a write made, as it stood when written: a file at the name with another identity is not it.
struct FileStamp
{
  std::uint64_t Device = 0, Inode = 0, Size = 0;
  std::int64_t Modified = 0; // nanoseconds
  bool Replaced = false;     // a file stood at the name and the write replaced it
  // The file that stood at the name as the write ended (0 when none): the writer's own last file, replaced,
  // is nobody else's.
  std::uint64_t PriorDevice = 0, PriorInode = 0;
};
bool WriteOutputFile(const std::filesystem::path& file, std::string_view bytes, std::string& error,
                     int* code = nullptr, FileStamp* stamp = nullptr);

// Whether WriteOutputFile would be refused before it writes anything, said as it would say it: only looked
// at, nothing is made, followed or changed. A caller that works long before it writes asks first.
bool CanWriteOutputFile(const std::filesystem::path& file, std::string& error, int* code = nullptr);

// Whether writes may use the rename that takes only a free name. Some file systems lack it; a test turns it
// off to write as on one of those (a hard link, which takes only a free name too, then tells a replaced
// file).
void UseNoReplaceRename(bool use);

// The prefix of the temporaries WriteOutputFile makes for a file name in a folder whose names hold at most
// nameMax bytes.
std::string TemporaryPrefix(const std::string& name, std::size_t nameMax);

} // namespace txhost
