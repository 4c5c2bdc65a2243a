#include "model/TextUtils.h"

#include "platform/Exception.h"
#include "platform/Files.h"
#include "platform/Random.h"

#include <cerrno>

namespace stellik {

std::u16string NormalizeSpaces(std::u16string_view text) {
    std::u16string result;
    result.reserve(text.size());
    bool inSpace = false;
    for (const char16_t c : text) {
        if (c == 0 || c == 9 || c == 10 || c == 13 || c == 32) {
            if (!inSpace) {
                result.push_back(u' ');
                inSpace = true;
            }
        } else {
            result.push_back(c);
            inSpace = false;
        }
    }
    return result;
}

std::u16string EscapeMarkup(std::u16string_view text, std::u16string_view quote) {
    std::u16string result;
    result.reserve(text.size());
    for (const char16_t c : text) {
        switch (c) {
        case u'&':
            result += u"&amp;";
            break;
        case u'<':
            result += u"&lt;";
            break;
        case u'>':
            result += u"&gt;";
            break;
        case u'"':
            if (!quote.empty()) {
                result += quote;
                break;
            }
            [[fallthrough]];
        default:
            result.push_back(c);
        }
    }
    return result;
}

std::u16string XmlEscape(std::u16string_view text) {
    return EscapeMarkup(text, u"&quot;");
}

std::string RandomName() {
    TRandom::Randomize();
    std::string name;
    for (int i = 0; i < 8; ++i) {
        const int r = TRandom::Random(36);
        name.push_back(static_cast<char>(r <= 9 ? 48 + r : 55 + r));
    }
    return name;
}

std::string GetUniqueTempFileName() {
    // The file is created here, exclusively and for its owner only: handing out a free name
    // in a shared folder would let someone else put a file or a link there first.
    const std::string folder = GetTempFolder();
    constexpr int maxAttempts = 1000;
    for (int attempt = 0; attempt < maxAttempts; ++attempt) {
        const std::string name = folder + RandomName() + ".tmp";
        errno = 0;
        if (CreateFileExclusive(name)) {
            return name;
        }
        if (errno != EEXIST) {
            break; // the folder is not writable or similar: retrying cannot help
        }
    }
    throw Exception("Cannot create a temporary file in '" + folder + "'");
}

} // namespace stellik
