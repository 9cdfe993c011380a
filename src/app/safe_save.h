// The one way the calculator writes a user's file, and the matching whole-file read. A save goes
// to a temporary file in the target's folder and is renamed over the target only once it is
// complete on disk, so a failed or interrupted save never destroys what was there. Appends (the
// log) add a whole record or nothing.
#pragma once

#include <cerrno>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace app {

// Writes `bytes` as the whole content of `path`: a temporary file in the same folder, written,
// flushed to disk (fsync), then renamed over `path`. A symbolic link is followed, so the file it
// points to is replaced and the link stays. A target that exists but is no regular file (a
// device, a pipe) is refused with "Invalid argument" rather than replaced, and one whose write
// permission bits are all clear with "Permission denied" even for a user whom the system would
// let through: read-only is how a user keeps a file from being changed. A new file gets the
// usual permissions (0666 less the umask); an existing file keeps its permission bits. Returns
// nothing on success, or the message "Cannot write " + path + ": " + the system's reason (for
// example "Cannot write /tmp/a/b.ini: Permission denied"). On failure the old file is left as it
// was and no temporary file stays behind.
std::optional<std::string> SafeSave(const std::string& path, std::string_view bytes);

// Appends `bytes` to `path`, creating the file when it is missing, with the same refusals and
// messages as SafeSave. An append that fails part-way is cut back to the old length, so the file
// never ends in a torn record.
std::optional<std::string> SafeAppend(const std::string& path, std::string_view bytes);

// A fault for tests to inject into SafeSave and SafeAppend, to prove that every save path keeps
// the old file and reports the failure. `step` says where the save fails; at tWrite, the
// `failingWrite`-th write() of the save (counted from 1) fails after the earlier ones have put
// `writeSize` bytes each into the file, so a save can fail half-way as on a full disk.
struct TWriteFault {
  enum TStep { tCreate, tWrite, tSync, tRename };
  TStep step = tWrite;
  int failingWrite = 1;
  std::size_t writeSize = 0;  // 0: each write() takes all that is left
  int error = ENOSPC;
};

// Holds a fault for every save and append of the process while it lives. Tests only.
class TInjectedWriteFault {
 public:
  explicit TInjectedWriteFault(const TWriteFault& fault);
  ~TInjectedWriteFault();
  TInjectedWriteFault(const TInjectedWriteFault&) = delete;
  TInjectedWriteFault& operator=(const TInjectedWriteFault&) = delete;
};

// Larger files are refused by ReadFileBytes unless the caller sets another limit: no file of the
// calculator comes near this, and a user who opens something huge by mistake gets a message
// ("File too large") instead of an exhausted memory.
constexpr std::size_t kMaxReadBytes = 64u * 1024u * 1024u;

// Reads the whole of the regular file `path` into `bytes` (untouched, byte for byte). Returns
// nothing on success, or the message "Cannot read " + path + ": " + the system's reason; `bytes`
// is then empty. A folder gives "Is a directory", a device or pipe "Invalid argument" (without
// waiting for a writer).
std::optional<std::string> ReadFileBytes(const std::string& path, std::string& bytes,
                                         std::size_t maxBytes = kMaxReadBytes);

}  // namespace app
