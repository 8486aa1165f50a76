#include "bench/win32/Stopwatch.h"

#include <windows.h>

#include <algorithm>
#include <cmath>

namespace bench {

double Now() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    ::QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER now;
  ::QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / frequency;
}

std::vector<double> Interleaved(const std::vector<Contender>& contenders, int rounds,
                                double minRunSeconds) {
  // The untimed first call warms caches and sizes each contender's run.
  std::vector<long> calls;
  for (const Contender& c : contenders) {
    const double start = Now();
    c.body();
    const double once = std::max(Now() - start, 1e-7);
    if (c.settle) c.settle();
    calls.push_back(std::max(1L, std::lround(std::ceil(minRunSeconds / once))));
  }

  std::vector<std::vector<double>> samples(contenders.size());
  for (int r = 0; r < rounds; ++r) {
    for (std::size_t i = 0; i < contenders.size(); ++i) {
      const double start = Now();
      for (long k = 0; k < calls[i]; ++k) contenders[i].body();
      samples[i].push_back((Now() - start) / static_cast<double>(calls[i]) * 1e6);
      if (contenders[i].settle) contenders[i].settle();
    }
  }

  std::vector<double> medians;
  for (auto& s : samples) {
    std::sort(s.begin(), s.end());
    const std::size_t n = s.size();
    medians.push_back(n % 2 ? s[n / 2] : (s[n / 2 - 1] + s[n / 2]) / 2);
  }
  return medians;
}

}  // namespace bench
