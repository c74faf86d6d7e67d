#pragma once
// The start modes of the program by its first argument.
#include <string>

namespace app {

enum class TStartMode { Register, Unregister, ListFile, JobFile, Empty };

// Exact, case-sensitive comparisons: "register" or "x.tarvilexlist" are
// ordinary arguments that open nothing.
TStartMode StartModeOf(const std::string &argument);

// Runs the program after QApplication exists; returns the exit status.
int RunProgram(const std::string &argument);

}  // namespace app
