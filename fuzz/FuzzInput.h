#pragma once
// What the fuzz targets share: reading a fuzzer's bytes as a small program, and stopping the
// process when an invariant does not hold, so that libFuzzer keeps the input that broke it.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

/// Prints the failed condition and aborts: libFuzzer reports a crash and saves the input.
#define FUZZ_CHECK(condition)                                                              \
  do {                                                                                     \
    if (!(condition)) {                                                                    \
      std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                        \
    }                                                                                      \
  } while (false)

/// Whether the targets describe each step on stderr (MARROWBY_FUZZ_TRACE=1), to read a
/// crashing input.
inline bool Tracing() {
  static const bool tracing = std::getenv("MARROWBY_FUZZ_TRACE") != nullptr;
  return tracing;
}

/// Bytes as printable text for a trace: escapes for the others, long runs shortened.
inline std::string Printable(std::string_view bytes) {
  std::string out = "\"";
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i == 40 && bytes.size() > 60) {
      out += "...(" + std::to_string(bytes.size()) + " bytes)...";
      i = bytes.size() - 10;
    }
    const auto c = static_cast<unsigned char>(bytes[i]);
    if (c >= 0x20 && c < 0x7F && c != '"') {
      out += static_cast<char>(c);
    } else {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    }
  }
  return out + "\"";
}

#define FUZZ_TRACE(...) \
  do {                                                    \
    if (Tracing()) std::fprintf(stderr, __VA_ARGS__);     \
  } while (false)

/// The input read front to back. Every read succeeds: past the end, numbers read as 0 and texts
/// as empty, and Done() tells the program to stop.
///
/// A text is encoded as one length byte followed by that many bytes, with two longer forms for
/// the lengths around the registry's buffer sizes that a short input could not reach:
///   n < 0xF0   n bytes follow;
///   0xF0       a byte c, a 16-bit count k (little-endian, at most 4095), then a text t:
///              c repeated k times, followed by t;
///   0xF1..0xFF one of the program's own texts, chosen by (n - 0xF1) (see Pick).
class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool Done() const { return pos_ >= size_; }

  std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }

  std::uint16_t Word() {
    const unsigned low = Byte();
    return static_cast<std::uint16_t>(low | unsigned{Byte()} << 8);
  }

  /// A number from 0 to n - 1 (n >= 1).
  unsigned Below(unsigned n) { return Byte() % n; }

  /// A text as described above; `pool` gives the program's own texts (may be empty).
  template <std::size_t N>
  std::string Text(const std::string_view (&pool)[N], int depth = 0) {
    const std::uint8_t n = Byte();
    if (n < 0xF0) return Take(n);
    if (n == 0xF0) {
      const char c = static_cast<char>(Byte());
      const std::size_t count = Word() % 4096;
      std::string text(count, c);
      if (depth < 2) text += Text(pool, depth + 1);
      return text;
    }
    return std::string(pool[(n - 0xF1u) % N]);
  }

 private:
  std::string Take(std::size_t n) {
    if (n > size_ - pos_) n = size_ - pos_;
    std::string bytes(reinterpret_cast<const char*>(data_ + pos_), n);
    pos_ += n;
    return bytes;
  }

  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};
