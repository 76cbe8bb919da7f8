#pragma once
#include <cstddef>
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

// While it lives, every heap allocation of at least `bytes` made by the calling
// thread fails with std::bad_alloc. The plug-in library a test loads allocates
// through the test executable's operator new as well.
class RefusedAllocations {
public:
    explicit RefusedAllocations(std::size_t bytes);
    ~RefusedAllocations();
    RefusedAllocations(const RefusedAllocations&) = delete;
    RefusedAllocations& operator=(const RefusedAllocations&) = delete;
    // Allocations refused on this thread since construction.
    unsigned long long refused() const;

private:
    std::size_t previous_;
    unsigned long long refusalsBefore_;
};

} // namespace TestSupport
