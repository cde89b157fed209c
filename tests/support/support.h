// Helpers shared by the test suites: one real window per test process, a settable clock,
// and scratch folders.
#pragma once
#include <string>

// Opens the real full-screen window with its GL context once per process.
void Ensure_video();
// Replaces the time of day with a clock the test sets; the clock origin becomes 0.
void Use_test_clock(double now_ms);
void Set_test_clock(double now_ms);
// Destroys every object and empties the runtime's globals between tests.
void Reset_runtime();
// A new empty folder under /tmp.
std::string Make_temp_folder();
// Reads a whole file; empty when it cannot be read.
std::string Read_file(const std::string& path);
void Write_file(const std::string& path, const std::string& bytes);
