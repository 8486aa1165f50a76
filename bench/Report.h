#pragma once
// The lines every benchmark program prints, one figure a line, for people and scripts alike:
//   BENCH <name> <value> <unit>
//   RATIO <name> <value>
//   TARGET <name> met|missed <value> <limit>
// A target line follows the figure it judges.

#include <cstdio>
#include <string>

namespace bench {

inline void Figure(const std::string& name, double value, const char* unit) {
  std::printf("BENCH %s %.3f %s\n", name.c_str(), value, unit);
  std::fflush(stdout);
}

inline void Ratio(const std::string& name, double value) {
  std::printf("RATIO %s %.3f\n", name.c_str(), value);
  std::fflush(stdout);
}

/// A limit the value must stay at or below (atMost) or reach (!atMost).
inline void Target(const std::string& name, double value, double limit, bool atMost) {
  const bool met = atMost ? value <= limit : value >= limit;
  std::printf("TARGET %s %s %.3f %s %.3f\n", name.c_str(), met ? "met" : "missed", value,
              atMost ? "<=" : ">=", limit);
  std::fflush(stdout);
}

}  // namespace bench
