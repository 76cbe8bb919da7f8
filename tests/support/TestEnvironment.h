#pragma once
#include <string>

namespace TestSupport {

// The private folder this test executable runs in: HOME and every XDG folder
// point below it, so nothing a test does reaches the real user's files.
const std::string& sandboxFolder();

// A fresh, empty folder below the sandbox.
std::string makeTempFolder(const std::string& prefix = "t");

// Heap allocations made by the calling thread since the process started.
// Compare two readings around the code under test.
unsigned long long threadAllocationCount();

} // namespace TestSupport
