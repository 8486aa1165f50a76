#include "bench/PosixFileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/Error.h"

namespace {

// Characters the Win32 listing takes as patterns, and NUL: such a path names no file there.
constexpr std::wstring_view kWildcardsAndNul(L"*?<>\"\0", 6);

// Closes the descriptor when the scope ends, by whatever path.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

std::string PosixFileSystem::Narrow(std::wstring_view path) {
  std::string bytes(path.size(), '\0');
  char* out = bytes.data();
  bool ascii = true;
  for (std::size_t i = 0; i < path.size(); ++i) {
    out[i] = static_cast<char>(path[i]);
    ascii &= static_cast<char32_t>(path[i]) < 0x80;
  }
  if (ascii) return bytes;

  bytes.clear();
  for (wchar_t wc : path) {
    const auto c = static_cast<char32_t>(wc);
    if (c < 0x80) {
      bytes += static_cast<char>(c);
    } else if (c < 0x800) {
      bytes += static_cast<char>(0xC0 | (c >> 6));
      bytes += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      bytes += static_cast<char>(0xE0 | (c >> 12));
      bytes += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      bytes += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      bytes += static_cast<char>(0xF0 | (c >> 18));
      bytes += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      bytes += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      bytes += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return bytes;
}

bool PosixFileSystem::IsNormalFile(std::wstring_view path) const {
  return NormalFileSize(path).has_value();
}

std::optional<std::uint64_t> PosixFileSystem::NormalFileSize(std::wstring_view path) const {
  if (path.empty() || path.find_first_of(kWildcardsAndNul) != std::wstring_view::npos)
    return std::nullopt;
  struct stat info;
  if (::stat(Narrow(path).c_str(), &info) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return std::nullopt;
    throw VbError(75, L"FileExists", L"Path/File access error");
  }
  if (!S_ISREG(info.st_mode)) return std::nullopt;
  return static_cast<std::uint64_t>(info.st_size);
}

std::optional<std::string> PosixFileSystem::ReadAll(std::wstring_view path, std::size_t limit) const {
  if (path.empty() || path.find(L'\0') != std::wstring_view::npos) return std::nullopt;
  Descriptor file(::open(Narrow(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  struct stat info;
  if (file.get() < 0 || ::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode) ||
      info.st_size > 0x7FFFFFFF || static_cast<unsigned long long>(info.st_size) > limit)
    return std::nullopt;
  std::string bytes(static_cast<size_t>(info.st_size), '\0');
  if (!bytes.empty() &&
      ::read(file.get(), bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
    return std::nullopt;
  return bytes;
}

bool PosixFileSystem::ReadListed(std::wstring_view path, std::uint64_t listedSize,
                                 std::size_t limit, std::string& bytes) const {
  if (listedSize == kUnknownFileSize) return FileSystem::ReadListed(path, listedSize, limit, bytes);
  if (listedSize > limit || listedSize > 0x7FFFFFFF) return false;
  if (path.empty() || path.find(L'\0') != std::wstring_view::npos) return false;
  // The listing said a regular file: a directory there now fails the read, and O_NONBLOCK keeps
  // a pipe from holding the open.
  bytes.resize(static_cast<size_t>(listedSize) + 1);
  ssize_t n;
  {
    Descriptor file(::open(Narrow(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.get() < 0) return false;
    n = ::read(file.get(), bytes.data(), bytes.size());
  }
  if (n < 0) return false;
  if (static_cast<size_t>(n) == bytes.size())  // grown since it was listed
    return FileSystem::ReadListed(path, kUnknownFileSize, limit, bytes);
  bytes.resize(static_cast<size_t>(n));
  return true;
}
