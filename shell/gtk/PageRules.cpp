// shell/gtk/PageRules.cpp
#include "shell/gtk/PageRules.h"

#include "shell/PseudoHosts.h"
#include "shell/gtk/GtkHandles.h"

#include <glib.h>

#include <algorithm>
#include <cstdio>

namespace stellik {

namespace {

// URLs reach us escaped; names in the pages were written plain. Bytes that do not unescape
// (a stray "%") are taken as they are.
std::string Unescaped(std::string_view text) {
    GCharPtr plain(g_uri_unescape_segment(text.data(), text.data() + text.size(), nullptr));
    return plain ? std::string(plain.get()) : std::string(text);
}

// Every "%XX" to its byte, "%00" included; nothing when a "%" is not followed by two hex
// digits.
std::optional<std::string> PercentDecoded(std::string_view text) {
    const GBytesPtr bytes(
        g_uri_unescape_bytes(text.data(), static_cast<gssize>(text.size()), nullptr, nullptr));
    if (!bytes) {
        return std::nullopt;
    }
    gsize size = 0;
    const auto* data = static_cast<const char*>(g_bytes_get_data(bytes.get(), &size));
    return std::string(data, size);
}

} // namespace

std::optional<std::string> ImageSourceOf(std::string_view uri) {
    if (uri.starts_with(CommandHost)) {
        return std::nullopt;
    }
    if (uri.starts_with(PageBaseUri)) {
        uri.remove_prefix(PageBaseUri.size());
        uri = uri.substr(0, uri.find_first_of("?#"));
    }
    return Unescaped(uri);
}

const char* SniffImageType(std::string_view bytes) {
    if (bytes.starts_with("GIF87a") || bytes.starts_with("GIF89a")) {
        return "image/gif";
    }
    if (bytes.starts_with("\x89PNG\r\n\x1a\n")) {
        return "image/png";
    }
    if (bytes.starts_with("\xff\xd8\xff")) {
        return "image/jpeg";
    }
    if (bytes.starts_with("BM")) {
        return "image/bmp";
    }
    const size_t text = bytes.find_first_not_of(" \t\r\n");
    if (text != std::string_view::npos) {
        const std::string_view head = bytes.substr(text, 1024);
        if (head.starts_with("<svg") || ((head.starts_with("<?xml") || head.starts_with("<!")) &&
                                         head.find("<svg") != std::string_view::npos)) {
            return "image/svg+xml";
        }
    }
    return "application/octet-stream";
}

TNavigationVerdict DecideNavigation(TNavigationKind kind, std::string_view uri,
                                    bool ownLoadExpected) {
    switch (kind) {
    case TNavigationKind::LinkClick:
        return TNavigationVerdict::Dispatch;
    case TNavigationKind::FormSubmit:
        return TNavigationVerdict::Ignore;
    case TNavigationKind::Other:
        break;
    }
    if ((ownLoadExpected && uri == PageBaseUri) || uri.starts_with("about:")) {
        return TNavigationVerdict::Allow;
    }
    return TNavigationVerdict::Ignore;
}

std::optional<TFormFields> DecodeFormFields(std::string_view encoded) {
    TFormFields fields;
    while (!encoded.empty()) {
        const size_t end = std::min(encoded.find('&'), encoded.size());
        const std::string_view pair = encoded.substr(0, end);
        encoded.remove_prefix(end == encoded.size() ? end : end + 1);
        const size_t equals = pair.find('=');
        if (equals == std::string_view::npos) {
            return std::nullopt;
        }
        std::optional<std::string> name = PercentDecoded(pair.substr(0, equals));
        std::optional<std::string> value = PercentDecoded(pair.substr(equals + 1));
        if (!name || !value) {
            return std::nullopt;
        }
        fields.emplace_back(std::move(*name), std::move(*value));
    }
    return fields;
}

std::string JsStringLiteral(std::string_view text) {
    std::string result = "\"";
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '"' || c == '\\') {
            result += '\\';
            result += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7f) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02x", c);
            result += escape;
        } else if (text.substr(i).starts_with("\u2028") || text.substr(i).starts_with("\u2029")) {
            // Line separators end a string literal in older engines.
            result += text.substr(i).starts_with("\u2028") ? "\\u2028" : "\\u2029";
            i += 2;
        } else {
            result += static_cast<char>(c);
        }
    }
    result += '"';
    return result;
}

} // namespace stellik
