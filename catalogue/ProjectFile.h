#pragma once
// Reading a Visual Basic project file (.vbp) into a cProject. The reader never writes and never
// fails towards its caller: whatever goes wrong, it returns the record as filled so far.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "catalogue/cProject.h"

class CodePage;
class FileSystem;

/// The largest file read as a project file. A project file is a few kilobytes; anything over
/// 16 MiB is some other file, and is not read: it gives an empty record, as an unreadable file.
inline constexpr std::size_t kLargestProjectFile = 16u << 20;

/// The record of the project file at the path: empty when the file does not exist or is larger
/// than kLargestProjectFile; when reading fails part-way (the file cannot be read, a version
/// number out of range, a first "=" beyond position 32767), the keys of the lines before the
/// failing one.
cProject ReadProjectFile(const FileSystem& files, const CodePage& ansi,
                         std::wstring_view path) noexcept;

/// ReadProjectFile for a path whose existence test has just passed: the file is read without a
/// second test, which can cost as much as the read (a listing on a share, under Wine), and with
/// the size that test gave (FileSystem::NormalFileSize), so that it is not asked again. The
/// bytes go to the buffer, which a caller reading many files keeps for all of them.
cProject ReadExistingProjectFile(const FileSystem& files, const CodePage& ansi,
                                 std::wstring_view path, std::uint64_t listedSize,
                                 std::string& buffer) noexcept;

/// Stores one key/value pair of a project file into the record; keys are trimmed of blanks and
/// compared without case, unknown keys are ignored. Throws VbError (6, "Overflow") when a number
/// does not fit its field, leaving the record unchanged.
void ApplyProjectKey(cProject& project, std::wstring_view key, std::wstring_view value);
