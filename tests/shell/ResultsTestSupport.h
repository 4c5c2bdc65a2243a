// tests/shell/ResultsTestSupport.h -- a scratch folder and a full disk for the results file tests
#pragma once

#include "tests/support/ScratchFolder.h"

#include <sys/resource.h>

#include <csignal>

namespace stellik::testing {

// Files may grow to limit bytes while it lives: writing beyond fails (EFBIG), as on a full
// disk, instead of killing the process.
class TFileSizeLimit {
public:
    explicit TFileSizeLimit(rlim_t limit) {
        getrlimit(RLIMIT_FSIZE, &Previous);
        PreviousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = Previous;
        lowered.rlim_cur = limit;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~TFileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &Previous);
        std::signal(SIGXFSZ, PreviousHandler);
    }
    TFileSizeLimit(const TFileSizeLimit&) = delete;
    TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;

private:
    rlimit Previous{};
    void (*PreviousHandler)(int) = nullptr;
};

} // namespace stellik::testing
