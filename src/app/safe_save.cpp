// SafeSave and ReadFileBytes over the POSIX calls, which give the system's reason for a failure
// (errno) at each step.
#include "app/safe_save.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <system_error>

namespace app {

namespace {

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
  while (!bytes.empty()) {
    const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
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
    const int descriptor = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor >= 0) return descriptor;
    if (errno != EEXIST) break;
  }
  error = errno;
  return -1;
}

}  // namespace

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
  if (exists && S_ISDIR(status.st_mode)) return Failure(kVerb, path, EISDIR);
  if (exists && !S_ISREG(status.st_mode)) return Failure(kVerb, path, EINVAL);

  std::string temporary;
  int error = 0;
  const int descriptor = OpenTemporary(target, temporary, error);
  if (descriptor < 0) return Failure(kVerb, path, error);

  bool ok = WriteAll(descriptor, bytes, error);
  if (ok && exists) {
    // Keeping the old permissions is a courtesy; a file owned by someone else may refuse it.
    [[maybe_unused]] const int kept = ::fchmod(descriptor, status.st_mode & 07777);
  }
  if (ok && ::fsync(descriptor) != 0) {
    error = errno;
    ok = false;
  }
  if (::close(descriptor) != 0 && ok) {
    error = errno;
    ok = false;
  }
  if (ok && ::rename(temporary.c_str(), target.c_str()) != 0) {
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
