// A console reporter that also keeps each benchmark's time per iteration, so
// that a benchmark can print the ratio of two cases measured in the same run.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace oz {

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  enum class Clock { Wall, Processor };
  explicit RatioReporter(Clock clock) : clock_(clock) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      times_[run.benchmark_name()] =
          clock_ == Clock::Wall ? run.GetAdjustedRealTime() : run.GetAdjustedCPUTime();
    }
  }

  // The time per iteration of `name`, in the benchmark's own unit.
  std::optional<double> time(const std::string& name) const {
    const auto found = times_.find(name);
    if (found == times_.end()) return std::nullopt;
    return found->second;
  }

 private:
  Clock clock_;
  std::map<std::string, double> times_;
};

}  // namespace oz
