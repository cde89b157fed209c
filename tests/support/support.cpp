// Helpers shared by the test suites.
#include "support/support.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "app/frame.h"
#include "platform/clock.h"
#include "platform/video.h"
#include "runtime/process.h"

static double test_now = 0.0;
static double Test_time_of_day_ms() { return test_now; }

void Ensure_video() {
  Frame_interval_ms = 0;  // frames come as fast as the test steps them
  if (Video_ptr == nullptr) Video_ptr = new Video(0, 0);
}

void Use_test_clock(double now_ms) {
  Frame_interval_ms = 0;  // frames come as fast as the test steps them
  test_now = 0.0;
  Time_of_day_ms = Test_time_of_day_ms;
  Start_clock();
  test_now = now_ms;
}

void Set_test_clock(double now_ms) { test_now = now_ms; }

void Reset_runtime() {
  Sweep_global_store();
  Sweep_global_store();
  Sweep_global_store();
  Main_object = nullptr;
  Current_object = nullptr;
}

std::string Make_temp_folder() {
  char pattern[] = "/tmp/shorebound-test-XXXXXX";
  const char* made = mkdtemp(pattern);
  return made != nullptr ? std::string(made) : std::string("/tmp");
}

std::string Read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void Write_file(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}
