#include "platform/Exception.h"

namespace stellik {

void ThrowListIndexError(long long index) {
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

void ThrowInvalidInteger(const std::string& text) {
    throw EConvertError("'" + text + "' is not a valid integer value");
}

void ThrowResourceNotFound(const std::string& name) {
    throw EResNotFound("Resource " + name + " not found");
}

} // namespace stellik
