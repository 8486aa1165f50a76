#pragma once
// Timing for the Windows benchmarks, where Google Benchmark is not at hand: contenders (a figure
// and its floor) run in alternating rounds, so that both see the same moods of the machine, and
// each contender's figure is the median over the rounds of its time per call.

#include <functional>
#include <string>
#include <vector>

namespace bench {

struct Contender {
  std::string name;
  std::function<void()> body;    // timed
  std::function<void()> settle;  // untimed, after each round of calls (window messages); may be empty
};

/// Microseconds per call of each contender, in the order given: after one untimed call each, a
/// round calls every contender's body as many times as last at least minRunSeconds (at least
/// once); the median of `rounds` rounds.
std::vector<double> Interleaved(const std::vector<Contender>& contenders, int rounds,
                                double minRunSeconds);

/// Seconds since an arbitrary start, from the performance counter.
double Now();

}  // namespace bench
