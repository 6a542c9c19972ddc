// A console reporter that keeps each benchmark's time, for the summary a program prints at the end.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

class TimeKeepingReporter : public benchmark::ConsoleReporter {
public:
  enum class Clock { Cpu, Real };
  explicit TimeKeepingReporter(Clock clock = Clock::Cpu) : clock(clock) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Iteration)
        times[run.benchmark_name()] = clock == Clock::Cpu ? run.GetAdjustedCPUTime() : run.GetAdjustedRealTime();
  }

protected:
  Clock clock;
  std::map<std::string, double> times;  // by benchmark name
};
