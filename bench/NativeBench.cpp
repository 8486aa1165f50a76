// The catalogue's hot path natively, over real files, each figure beside its I/O floor: the
// project file reader on a typical and a 1 MB file against a raw read of the same bytes, and the
// recent list's load (the registry list, then every listed file, into a list view) against the
// floor of the same files. The floor is what the reading cannot do without: the existence test,
// an open, one read of the file's length and a close, with POSIX calls straight on the paths
// (for a missing file, the existence test only). Last, not timed, the peak memory of one load
// with a 100 MB file among the entries against the same load without it.
//
//   marrowby_bench [--files=DIR] [--benchmark_...]
//
// Google Benchmark's own table goes to stderr; stdout gets the BENCH, RATIO and TARGET lines.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/KeptListView.h"
#include "bench/PosixFileSystem.h"
#include "bench/Report.h"
#include "bench/VbpGenerator.h"
#include "ui/Controls.h"
#include "catalogue/ProjectFile.h"
#include "browser/ProjectListView.h"
#include "catalogue/ProjectLists.h"
#include "platform/CodePage.h"
#include "registry/mReg.h"
#include "registry/tests/MemoryRegistry.h"

namespace {

constexpr std::size_t kLargeBytes = 1 << 20;
constexpr std::uintmax_t kHugeBytes = std::uintmax_t{100} << 20;
constexpr int kListSizes[] = {10, 100, 1000};
constexpr int kMostEntries = 1000;

// The pointer the load sets and restores, and nothing else.
class QuietApplication final : public Application {
 public:
  int MousePointer() const override { return pointer_; }
  void MousePointer(int pointer) override { pointer_ = pointer; }
  void DoEvents() override {}
  std::wstring Path() const override { return L"/"; }

 private:
  int pointer_ = 0;
};

struct Corpus {
  std::filesystem::path folder;
  std::wstring typical, large, huge;
  std::size_t typicalBytes = 0, largeBytes = 0;
  std::vector<std::wstring> entries;  // the recent list's paths; every tenth file is missing
};
Corpus gCorpus;

std::wstring Wide(const std::filesystem::path& path) { return path.wstring(); }

void Write(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

void MakeCorpus(const std::filesystem::path& folder) {
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  gCorpus.folder = folder;
  const std::string typical = bench::TypicalProject(1);
  const std::string large = bench::LargeProject(kLargeBytes, 2);
  Write(folder / "typical.vbp", typical);
  Write(folder / "large.vbp", large);
  gCorpus.typical = Wide(folder / "typical.vbp");
  gCorpus.large = Wide(folder / "large.vbp");
  gCorpus.typicalBytes = typical.size();
  gCorpus.largeBytes = large.size();
  // A file of 100 MB, left sparse: it is never to be read, only listed.
  Write(folder / "huge.vbp", "");
  std::filesystem::resize_file(folder / "huge.vbp", kHugeBytes);
  gCorpus.huge = Wide(folder / "huge.vbp");
  for (int i = 0; i < kMostEntries; ++i) {
    char name[32];
    if (i % 10 == 9) {
      std::snprintf(name, sizeof name, "gone%04d.vbp", i);
    } else {
      std::snprintf(name, sizeof name, "project%04d.vbp", i);
      Write(folder / name, bench::TypicalProject(100 + static_cast<std::uint32_t>(i)));
    }
    gCorpus.entries.push_back(Wide(folder / name));
  }
}

// The floor of one file: existence test, open, one read of its length, close. The bytes go to a
// buffer made beforehand; 0 for a file that is missing.
std::size_t RawRead(const std::string& path, std::vector<char>& buffer) {
  struct stat info;
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return 0;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return 0;
  const ssize_t n = ::read(fd, buffer.data(), static_cast<std::size_t>(info.st_size));
  ::close(fd);
  return n > 0 ? static_cast<std::size_t>(n) : 0;
}

void RawReadFile(benchmark::State& state, std::wstring path, std::size_t bytes) {
  const std::string narrow = PosixFileSystem::Narrow(path);
  std::vector<char> buffer(bytes);
  for (auto _ : state) {
    if (RawRead(narrow, buffer) != bytes) state.SkipWithError("short read");
    benchmark::DoNotOptimize(buffer.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

void ReadFile(benchmark::State& state, std::wstring path, std::size_t bytes) {
  PosixFileSystem files;
  Windows1252CodePage ansi;
  if (ReadProjectFile(files, ansi, path).Name().empty()) state.SkipWithError("nothing read");
  for (auto _ : state) {
    cProject project = ReadProjectFile(files, ansi, path);
    benchmark::DoNotOptimize(project);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

void LoadFloor(benchmark::State& state, int entries) {
  std::vector<std::string> paths;
  for (int i = 0; i < entries; ++i) paths.push_back(PosixFileSystem::Narrow(gCorpus.entries[i]));
  std::vector<char> buffer(1 << 16);
  for (auto _ : state) {
    std::size_t total = 0;
    for (const std::string& path : paths) total += RawRead(path, buffer);
    benchmark::DoNotOptimize(total);
  }
}

// The recent list holding the paths, in a registry of its own.
struct RecentList {
  MemoryRegistry registry;
  Windows1252CodePage ansi;
  mReg reg{registry, ansi};

  explicit RecentList(const std::vector<std::wstring>& paths) {
    for (std::size_t i = 0; i < paths.size(); ++i)
      reg.RegSetKeyValue(kHkeyCurrentUser, kRecentFilesKey, std::to_wstring(i + 1), paths[i]);
  }
};

void LoadList(benchmark::State& state, int entries) {
  RecentList recent({gCorpus.entries.begin(), gCorpus.entries.begin() + entries});
  PosixFileSystem files;
  QuietApplication app;
  bench::KeptListView list;
  ProjectLists lists(recent.reg, files, recent.ansi);
  for (auto _ : state) LoadProjectList(lists, app, list, false);
  const auto expected = static_cast<std::size_t>(entries - entries / 10);
  if (list.ItemCount() != entries || lists.RecentProjects()->Count() != expected)
    state.SkipWithError("the list does not show every entry");
}

// The catalogue's part of a load alone: the registry list, the existence tests and the records,
// without the list view's rows.
void ReadList(benchmark::State& state, int entries) {
  RecentList recent({gCorpus.entries.begin(), gCorpus.entries.begin() + entries});
  PosixFileSystem files;
  ProjectLists lists(recent.reg, files, recent.ansi);
  for (auto _ : state) benchmark::DoNotOptimize(lists.ReadProjectList(false));
  if (lists.RecentProjects()->Count() != static_cast<std::size_t>(entries - entries / 10))
    state.SkipWithError("the list does not read every existing file");
}

// The peak resident memory, in KiB, of a process that loads the recent list of these paths
// once: a child of this one, so that both loads start from the same memory.
long PeakOfOneLoad(const std::vector<std::wstring>& paths) {
  int pipe[2];
  if (::pipe(pipe) != 0) throw std::runtime_error("no pipe");
  const pid_t child = ::fork();
  if (child < 0) throw std::runtime_error("no child process");
  if (child == 0) {
    ::close(pipe[0]);
    long peak = -1;
    try {
      RecentList recent(paths);
      PosixFileSystem files;
      QuietApplication app;
      bench::KeptListView list;
      ProjectLists lists(recent.reg, files, recent.ansi);
      LoadProjectList(lists, app, list, false);
      rusage usage{};
      if (list.ItemCount() == static_cast<int>(paths.size()) &&
          ::getrusage(RUSAGE_SELF, &usage) == 0)
        peak = usage.ru_maxrss;
    } catch (...) {
      // The parent reads no peak and fails the measure.
    }
    const bool written = ::write(pipe[1], &peak, sizeof peak) == sizeof peak;
    ::_exit(written ? 0 : 1);
  }
  ::close(pipe[1]);
  long peak = -1;
  const bool read = ::read(pipe[0], &peak, sizeof peak) == sizeof peak;
  ::close(pipe[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (!read || peak < 0) throw std::runtime_error("the measured load failed");
  return peak;
}

// The peak memory of a load over the 1000 entries, without and with the 100 MB file after them:
// the least of three children each, which leaves out what other processes made the kernel do.
void PrintPeakMemory() {
  std::vector<std::wstring> paths = gCorpus.entries;
  long without = -1, with = -1;
  for (int i = 0; i < 3; ++i) {
    paths.resize(gCorpus.entries.size());
    const long a = PeakOfOneLoad(paths);
    paths.push_back(gCorpus.huge);
    const long b = PeakOfOneLoad(paths);
    without = without < 0 ? a : std::min(without, a);
    with = with < 0 ? b : std::min(with, b);
  }
  using bench::Figure, bench::Target;
  Figure("native_load_1000_peak_memory", static_cast<double>(without), "KiB");
  Figure("native_load_1000_and_100mb_peak_memory", static_cast<double>(with), "KiB");
  Figure("native_load_100mb_extra_peak_memory", static_cast<double>(with - without), "KiB");
  Target("native_load_100mb_extra_peak_memory", static_cast<double>(with - without), 2048, true);
}

// Keeps the median of each benchmark's repetitions, in microseconds, and shows the usual table
// on stderr.
class Collector final : public benchmark::ConsoleReporter {
 public:
  Collector() {
    SetOutputStream(&std::cerr);
    SetErrorStream(&std::cerr);
  }

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred) failed_ = true;
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
        const double unit = benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e-6;
        medians_[run.run_name.function_name] = run.GetAdjustedRealTime() / unit;
        cpuMedians_[run.run_name.function_name] = run.GetAdjustedCPUTime() / unit;
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

  double Micros(const std::string& name) const { return Find(medians_, name); }
  /// The processor time, which the other programs on a shared machine change less.
  double CpuMicros(const std::string& name) const { return Find(cpuMedians_, name); }
  bool Failed() const { return failed_; }

 private:
  static double Find(const std::map<std::string, double>& medians, const std::string& name) {
    const auto it = medians.find(name);
    if (it == medians.end()) throw std::runtime_error("no result for " + name);
    return it->second;
  }

  std::map<std::string, double> medians_, cpuMedians_;
  bool failed_ = false;
};

void Register() {
  const auto tune = [](benchmark::internal::Benchmark* b) {
    b->UseRealTime()->Unit(benchmark::kMicrosecond)->Repetitions(7)->ReportAggregatesOnly(true);
  };
  tune(benchmark::RegisterBenchmark("raw_read_typical", RawReadFile, gCorpus.typical,
                                    gCorpus.typicalBytes));
  tune(benchmark::RegisterBenchmark("read_typical", ReadFile, gCorpus.typical, gCorpus.typicalBytes));
  tune(benchmark::RegisterBenchmark("raw_read_1mb", RawReadFile, gCorpus.large, gCorpus.largeBytes));
  tune(benchmark::RegisterBenchmark("read_1mb", ReadFile, gCorpus.large, gCorpus.largeBytes));
  for (int n : kListSizes) {
    tune(benchmark::RegisterBenchmark(("load_floor_" + std::to_string(n)).c_str(), LoadFloor, n));
    tune(benchmark::RegisterBenchmark(("load_" + std::to_string(n)).c_str(), LoadList, n));
  }
  tune(benchmark::RegisterBenchmark("read_list_1000", ReadList, kMostEntries));
}

void Print(const Collector& c) {
  using bench::Figure, bench::Ratio, bench::Target;
  Figure("native_typical_file_size", static_cast<double>(gCorpus.typicalBytes), "bytes");
  Figure("native_large_file_size", static_cast<double>(gCorpus.largeBytes), "bytes");

  const double read = c.Micros("read_typical"), raw = c.Micros("raw_read_typical");
  Figure("native_read_typical", read, "us");
  Figure("native_raw_read_typical", raw, "us");
  Ratio("native_read_typical_vs_raw", read / raw);
  Target("native_read_typical_vs_raw", read / raw, 1.5, true);

  const double large = c.Micros("read_1mb"), rawLarge = c.Micros("raw_read_1mb");
  const double mb = static_cast<double>(gCorpus.largeBytes) / 1e6;
  Figure("native_read_1mb", large, "us");
  Figure("native_raw_read_1mb", rawLarge, "us");
  Figure("native_read_1mb_throughput", mb / (large / 1e6), "MB/s");
  Figure("native_raw_read_1mb_throughput", mb / (rawLarge / 1e6), "MB/s");
  Ratio("native_read_1mb_vs_raw", large / rawLarge);
  Target("native_read_1mb_throughput", mb / (large / 1e6), 2000, false);

  for (int n : kListSizes) {
    const std::string s = std::to_string(n);
    const double load = c.Micros("load_" + s), floor = c.Micros("load_floor_" + s);
    Figure("native_load_" + s, load, "us");
    Figure("native_load_floor_" + s, floor, "us");
    Ratio("native_load_" + s + "_vs_floor", load / floor);
  }
  const double ratio1000 = c.Micros("load_1000") / c.Micros("load_floor_1000");
  Target("native_load_1000_vs_floor", ratio1000, 1.3, true);
  Ratio("native_load_1000_cpu_vs_floor_cpu",
        c.CpuMicros("load_1000") / c.CpuMicros("load_floor_1000"));
  // What the list view's rows add to the load: the catalogue's part alone against the floor.
  Figure("native_read_list_1000", c.Micros("read_list_1000"), "us");
  Ratio("native_read_list_1000_vs_floor", c.Micros("read_list_1000") / c.Micros("load_floor_1000"));
  for (int n : kListSizes) {
    const std::string s = std::to_string(n);
    Figure("native_load_per_entry_" + s, c.Micros("load_" + s) / n, "us");
    Figure("native_load_floor_per_entry_" + s, c.Micros("load_floor_" + s) / n, "us");
  }
  const double growth = (c.Micros("load_1000") / 1000) / (c.Micros("load_10") / 10);
  const double floorGrowth = (c.Micros("load_floor_1000") / 1000) / (c.Micros("load_floor_10") / 10);
  Ratio("native_load_per_entry_1000_vs_10", growth);
  Ratio("native_load_floor_per_entry_1000_vs_10", floorGrowth);
  // Linear: an entry of a 1000-entry list costs no more than one of a 10-entry list, give or
  // take the noise of the floor itself.
  Target("native_load_per_entry_1000_vs_10", growth, 1.25 * std::max(1.0, floorGrowth), true);
}

}  // namespace

int main(int argc, char** argv) {
  std::filesystem::path folder = std::filesystem::temp_directory_path() / "marrowby-bench";
  // Repetitions of the benchmarks run interleaved, so a floor and its subject share the
  // machine's moods; flags given later override this.
  std::vector<char*> args{argv[0]};
  static char interleave[] = "--benchmark_enable_random_interleaving=true";
  args.push_back(interleave);
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg.rfind("--files=", 0) == 0) {
      folder = std::filesystem::absolute(arg.substr(8));
    } else {
      args.push_back(argv[i]);
    }
  }
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());
  if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 2;

  try {
    MakeCorpus(folder);
    Register();
    Collector collector;
    benchmark::RunSpecifiedBenchmarks(&collector);
    benchmark::Shutdown();
    std::filesystem::remove_all(folder);
    if (collector.Failed()) {
      std::cerr << "marrowby_bench: a benchmark failed\n";
      return 1;
    }
    Print(collector);
    PrintPeakMemory();
  } catch (const std::exception& e) {
    std::cerr << "marrowby_bench: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
