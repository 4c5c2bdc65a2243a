#include "package/SecureRandom.h"

#include <cerrno>
#include <cstring>
#include <sys/random.h>

namespace stellik {

bool FillSecureRandom(uint8_t* buffer, size_t size) noexcept {
    size_t done = 0;
    while (done < size) {
        const ssize_t n = getrandom(buffer + done, size - done, 0);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

void TNettleRandom::Fill(void* context, size_t length, uint8_t* destination) {
    auto* self = static_cast<TNettleRandom*>(context);
    if (!FillSecureRandom(destination, length)) {
        self->Failed = true;
        std::memset(destination, 0, length);
    }
}

} // namespace stellik
