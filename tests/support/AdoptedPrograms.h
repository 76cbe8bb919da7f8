#pragma once
#include <cerrno>
#include <sys/prctl.h>
#include <sys/wait.h>

namespace TestSupport {

// While it lives, this process adopts its orphaned descendants (instead of
// init), so that the detached programs a test starts can be waited for: once
// they have all ended, whatever they were going to do is done.
class AdoptedPrograms {
public:
    AdoptedPrograms() { prctl(PR_SET_CHILD_SUBREAPER, 1); }
    ~AdoptedPrograms() { prctl(PR_SET_CHILD_SUBREAPER, 0); }
    AdoptedPrograms(const AdoptedPrograms&) = delete;
    AdoptedPrograms& operator=(const AdoptedPrograms&) = delete;

    // Returns when no child or adopted program is left.
    void waitForAll() const
    {
        while (waitpid(-1, nullptr, 0) > 0 || errno == EINTR) {
        }
    }
};

} // namespace TestSupport
