// shell/gtk/FileDialogRules.cpp
#include "shell/gtk/FileDialogRules.h"

#include <glib.h>

namespace stellik {

namespace {

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> pieces;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(separator, start);
        pieces.push_back(text.substr(start, end - start));
        if (end == std::string_view::npos) {
            return pieces;
        }
        start = end + 1;
    }
}

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

} // namespace

std::vector<TFileFilterEntry> ParseFileFilter(std::string_view filter) {
    std::vector<TFileFilterEntry> entries;
    if (filter.empty()) {
        return entries;
    }
    const std::vector<std::string_view> pieces = Split(filter, '|');
    for (size_t i = 0; i + 1 < pieces.size(); i += 2) {
        TFileFilterEntry entry{std::string(pieces[i]), {}};
        for (std::string_view pattern : Split(pieces[i + 1], ';')) {
            if (!pattern.empty()) {
                entry.Patterns.emplace_back(pattern);
            }
        }
        if (!entry.Patterns.empty()) {
            entries.push_back(std::move(entry));
        }
    }
    return entries;
}

std::string ChooserPattern(std::string_view pattern) {
    if (pattern == "*.*") {
        return "*";
    }
    std::string result;
    for (char c : pattern) {
        if (IsAsciiLetter(c)) {
            const char lower = static_cast<char>(g_ascii_tolower(c));
            const char upper = static_cast<char>(g_ascii_toupper(c));
            result += {'[', lower, upper, ']'};
        } else if (c == '[') {
            result += "[[]";
        } else {
            result += c;
        }
    }
    return result;
}

std::string WithDefaultExt(const std::string& path, std::string_view defaultExt) {
    if (defaultExt.starts_with('.')) {
        defaultExt.remove_prefix(1);
    }
    if (defaultExt.empty()) {
        return path;
    }
    const size_t nameStart = path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1;
    const std::string_view name = std::string_view(path).substr(nameStart);
    // A dot after the first character starts an extension; ".profile" is a name, not one.
    if (name.find('.', 1) != std::string_view::npos && !name.ends_with('.')) {
        return path;
    }
    std::string result = path;
    if (!result.ends_with('.')) {
        result += '.';
    }
    result += defaultExt;
    return result;
}

bool ProposedNameFits(std::string_view name) {
    const char* end = nullptr;
    if (!g_utf8_validate(name.data(), static_cast<gssize>(name.size()), &end)) {
        return name.size() <= MaxProposedNameLength; // not UTF-8: count the bytes
    }
    return static_cast<size_t>(g_utf8_strlen(name.data(), static_cast<gssize>(name.size()))) <=
           MaxProposedNameLength;
}

} // namespace stellik
