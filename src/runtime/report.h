// One-line diagnostics of the runtime and the resource store, printed on standard output.
#pragma once
#include <string>

// Prints the line followed by a line end and flushes, so a message is never lost.
void Report(const std::string& line);
