// One-line diagnostics on standard output.
#include "runtime/report.h"

#include <cstdio>

void Report(const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}
