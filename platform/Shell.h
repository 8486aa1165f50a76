#pragma once
// The system shell: opening a document or web address with the program registered for it,
// starting a program, and showing a file in the file manager.

#include <string_view>

class Shell {
 public:
  /// A window of the platform's (an HWND on Windows) that owns what the shell shows; null for none.
  using Window = void*;

  /// Window styles for Start, as the host language's Shell function takes them.
  static constexpr int kHide = 0;
  static constexpr int kNormalFocus = 1;

  virtual ~Shell() = default;

  /// Opens the target (a web address, a document) with the "open" verb of the program
  /// registered for it, its window shown in its current size and position. Whether that worked
  /// is not reported: the shell tells the user itself.
  virtual void Open(std::wstring_view target, Window owner) = 0;

  /// Starts a program: commandLine is its path, optionally followed by arguments, as the host
  /// language's Shell function takes it; windowStyle is how its first window shows. Returns once
  /// the program has started, without waiting for it. Throws VbError when the program cannot be
  /// started: 5 for an empty command line, 53 ("File not found") otherwise.
  virtual void Start(std::wstring_view commandLine, int windowStyle) = 0;

  /// Opens the file manager on the folder that holds the file, with the file selected; when the
  /// file does not exist, on the nearest folder above it that does (nothing when none does).
  /// Whether that worked is not reported, as for Open.
  virtual void ShowInFolder(std::wstring_view path, Window owner) = 0;
};
