#include "package/SecureBytes.h"

#include <cstring>
#include <string.h>

namespace stellik {

void SecureWipe(void* memory, size_t size) noexcept {
    if (memory != nullptr && size > 0) {
        explicit_bzero(memory, size);
    }
}

TSecureBytes& TSecureBytes::operator=(TSecureBytes&& other) noexcept {
    if (this != &other) {
        Wipe();
        Data = std::move(other.Data);
        other.Data.clear();
    }
    return *this;
}

void TSecureBytes::Wipe() noexcept {
    SecureWipe(Data.data(), Data.size());
}

} // namespace stellik
