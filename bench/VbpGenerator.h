#pragma once
// Project files (.vbp) for the benchmarks, written as the IDE writes them: the project type,
// references to type libraries, ActiveX objects, forms, modules, classes and user controls, the
// start-up object, the title and names, the version fields and the compiler switches, lines
// ending in CR LF, texts in Windows-1252. The same seed gives the same bytes on every platform.

#include <cstddef>
#include <cstdint>
#include <string>

namespace bench {

/// A typical project of one developer's shelf: a handful of references and objects, a dozen
/// source files, every version field; about 2 KB.
std::string TypicalProject(std::uint32_t seed);

/// A large project: the same header and trailer around as many source file and reference lines
/// as make at least minBytes (15 000 lines or so for 1 MB).
std::string LargeProject(std::size_t minBytes, std::uint32_t seed);

}  // namespace bench
