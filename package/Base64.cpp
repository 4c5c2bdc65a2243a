#include "package/Base64.h"

#include <nettle/base64.h>

#include <vector>

namespace stellik {

std::string Base64Encode(std::span<const uint8_t> bytes) {
    std::string text(BASE64_ENCODE_RAW_LENGTH(bytes.size()), '\0');
    base64_encode_raw(text.data(), bytes.size(), bytes.data());
    return text;
}

bool Base64Decode(std::string_view text, TMemoryStream& destination) {
    base64_decode_ctx context;
    base64_decode_init(&context);
    std::vector<uint8_t> bytes(BASE64_DECODE_LENGTH(text.size()));
    size_t length = bytes.size();
    if (base64_decode_update(&context, &length, bytes.data(), text.size(), text.data()) == 0 ||
        base64_decode_final(&context) == 0) {
        return false;
    }
    destination.Write(bytes.data(), length);
    return true;
}

} // namespace stellik
