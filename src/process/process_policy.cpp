#include "process_policy.hpp"

#include <signal.h>

namespace ww3b {

void ignoreSignalsOfFailedWrites() {
    ::signal(SIGPIPE, SIG_IGN);
    ::signal(SIGXFSZ, SIG_IGN);
}

}  // namespace ww3b
