// Fuzzes the half-built pictures' reader: any bytes must be read within their bounds, and
// what it keeps must be written back and read again as the same boards.
#include <cstddef>
#include <cstdint>

#include "state/progress_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  const Progress_record kept = Read_progress(bytes, size);
  const std::string again = Progress_bytes(kept);
  if (Progress_bytes(Read_progress(reinterpret_cast<const uint8_t*>(again.data()), again.size())) != again)
    __builtin_trap();
  return 0;
}
