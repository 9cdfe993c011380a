// SafeSave and ReadFileBytes over the POSIX calls, which give the system's reason for a failure
// (errno) at each step.
#include "app/safe_save.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <filesystem>
#include <system_error>

namespace app {

namespace {

// The fault a test injected, and the writes the current save has made under it.
struct TFaultState {
  std::optional<TWriteFault> fault;
  int writes = 0;
};

TFaultState& Faults() {
  static TFaultState state;
  return state;
}

// True, with errno set, when the injected fault fails `step` now.
bool Injected(TWriteFault::TStep step) {
  const std::optional<TWriteFault>& fault = Faults().fault;
  if (!fault || fault->step != step) return false;
  if (step == TWriteFault::tWrite && ++Faults().writes != fault->failingWrite) return false;
  errno = fault->error;
  return true;
}

std::string Reason(int error) {
  return std::generic_category().message(error);
}

std::string Failure(const char* verb, const std::string& path, int error) {
  return std::string(verb) + path + ": " + Reason(error);
}

// The folder part of `path` ("." for a bare name) and the file-name part.
std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool WriteAll(int descriptor, std::string_view bytes, int& error) {
  Faults().writes = 0;
  while (!bytes.empty()) {
    std::size_t size = bytes.size();
    if (Faults().fault && Faults().fault->writeSize > 0)
      size = std::min(size, Faults().fault->writeSize);
    const ssize_t written =
        Injected(TWriteFault::tWrite) ? -1 : ::write(descriptor, bytes.data(), size);
    if (written < 0) {
      if (errno == EINTR) continue;
      error = errno;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// Opens a new temporary file next to `target`, named after it so that a stray one (after a
// power cut) is recognisable. Returns -1 with `error` set when none can be created.
int OpenTemporary(const std::string& target, std::string& temporary, int& error) {
  static std::atomic<unsigned> counter{0};
  const std::string stem = FolderOf(target) + "/." + NameOf(target) + ".tmp" +
                           std::to_string(static_cast<long>(::getpid())) + "_";
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = stem + std::to_string(counter++);
    const int descriptor =
        Injected(TWriteFault::tCreate)
            ? -1
            : ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor >= 0) return descriptor;
    if (errno != EEXIST) break;
  }
  error = errno;
  return -1;
}

// A reason to refuse writing over the existing file `status` describes, or 0.
int Refusal(const struct stat& status) {
  if (S_ISDIR(status.st_mode)) return EISDIR;
  if (!S_ISREG(status.st_mode)) return EINVAL;
  if ((status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return EACCES;
  return 0;
}

}  // namespace

TInjectedWriteFault::TInjectedWriteFault(const TWriteFault& fault) {
  Faults().fault = fault;
}

TInjectedWriteFault::~TInjectedWriteFault() {
  Faults().fault.reset();
}

std::optional<std::string> SafeSave(const std::string& path, std::string_view bytes) {
  constexpr const char* kVerb = "Cannot write ";
  if (path.empty() || path.back() == '/') return Failure(kVerb, path, EISDIR);

  // A link is replaced through: the file it points to gets the new content.
  std::string target = path;
  struct stat status {};
  if (::lstat(path.c_str(), &status) == 0 && S_ISLNK(status.st_mode)) {
    std::error_code ignored;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(path, ignored);
    if (!ignored) target = resolved.string();
  }
  const bool exists = ::stat(target.c_str(), &status) == 0;
  if (exists && Refusal(status) != 0) return Failure(kVerb, path, Refusal(status));

  std::string temporary;
  int error = 0;
  const int descriptor = OpenTemporary(target, temporary, error);
  if (descriptor < 0) return Failure(kVerb, path, error);

  bool ok = WriteAll(descriptor, bytes, error);
  if (ok && exists) {
    // Keeping the old permissions is a courtesy; a file owned by someone else may refuse it.
    [[maybe_unused]] const int kept = ::fchmod(descriptor, status.st_mode & 07777);
  }
  if (ok && (Injected(TWriteFault::tSync) || ::fsync(descriptor) != 0)) {
    error = errno;
    ok = false;
  }
  if (::close(descriptor) != 0 && ok) {
    error = errno;
    ok = false;
  }
  if (ok && (Injected(TWriteFault::tRename) || ::rename(temporary.c_str(), target.c_str()) != 0)) {
    error = errno;
    ok = false;
  }
  if (!ok) {
    ::unlink(temporary.c_str());
    return Failure(kVerb, path, error);
  }
  // The rename itself reaches the disk with the folder's entry; a folder that cannot be synced
  // still holds the new file.
  const int folder = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
  return std::nullopt;
}

// The log is appended to after every new state, so it is not synced to disk each time: a power
// cut may lose its last records, which is all a log may lose.
std::optional<std::string> SafeAppend(const std::string& path, std::string_view bytes) {
  constexpr const char* kVerb = "Cannot write ";
  struct stat status {};
  if (::stat(path.c_str(), &status) == 0 && Refusal(status) != 0) {
    return Failure(kVerb, path, Refusal(status));
  }
  // Without O_NONBLOCK, opening a pipe made meanwhile would wait for a reader.
  const int descriptor =
      Injected(TWriteFault::tCreate)
          ? -1
          : ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666);
  if (descriptor < 0) return Failure(kVerb, path, errno);
  int error = ::fstat(descriptor, &status) == 0 ? Refusal(status) : errno;
  if (error == 0 && !WriteAll(descriptor, bytes, error)) {
    // The record is whole or absent: what was written of it goes again.
    [[maybe_unused]] const int cut = ::ftruncate(descriptor, status.st_size);
  }
  if (::close(descriptor) != 0 && error == 0) error = errno;
  if (error != 0) return Failure(kVerb, path, error);
  return std::nullopt;
}

std::optional<std::string> ReadFileBytes(const std::string& path, std::string& bytes,
                                         std::size_t maxBytes) {
  constexpr const char* kVerb = "Cannot read ";
  bytes.clear();
  // Without O_NONBLOCK, opening a pipe would wait for a writer.
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (descriptor < 0) return Failure(kVerb, path, errno);
  struct stat status {};
  int error = 0;
  if (::fstat(descriptor, &status) != 0) {
    error = errno;
  } else if (S_ISDIR(status.st_mode)) {
    error = EISDIR;
  } else if (!S_ISREG(status.st_mode)) {
    error = EINVAL;
  } else if (static_cast<unsigned long long>(status.st_size) > maxBytes) {
    error = EFBIG;
  }
  char buffer[65536];
  while (error == 0) {
    const ssize_t got = ::read(descriptor, buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      error = errno;
    } else if (got == 0) {
      break;
    } else if (bytes.size() + static_cast<std::size_t>(got) > maxBytes) {
      // A file that grows while it is read, or a device without a size.
      error = EFBIG;
    } else {
      bytes.append(buffer, static_cast<std::size_t>(got));
    }
  }
  ::close(descriptor);
  if (error != 0) {
    bytes.clear();
    return Failure(kVerb, path, error);
  }
  return std::nullopt;
}

}  // namespace app
