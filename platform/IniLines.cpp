#include "platform/IniLines.h"

#include <glib.h>

#include <algorithm>
#include <set>
#include <utility>

namespace stellik {

namespace {

constexpr std::string_view Utf8Mark = "\xEF\xBB\xBF";

std::string_view TrimBlanks(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The text after an entry's "=" as a read gives it: raw, but for the blanks before it and one
// carriage return at its end (a line ending in "\r\r\n" reads as one ending in "\r\n").
std::string_view ReadValue(std::string_view value) {
    if (value.ends_with('\r')) {
        value.remove_suffix(1);
    }
    while (!value.empty() && g_ascii_isspace(value.front())) {
        value.remove_prefix(1);
    }
    return value;
}

// What one line (without its end) is, given the section lines before it.
class TLineReader {
public:
    void Classify(std::string_view view, TIniLine& line) {
        // Trailing blanks belong to the value: values are kept raw.
        view.remove_prefix(std::min(view.find_first_not_of(" \t"), view.size()));
        line.Block = Block;
        if (view.starts_with('[')) {
            const size_t close = view.find(']');
            if (close == std::string_view::npos) {
                return;
            }
            line.Block = ++Block;
            Section = view.substr(1, close - 1);
            // The keys of a section we cannot name go nowhere, not into the one before.
            InSection = IsIniName(Section, false);
            if (InSection) {
                line.Kind = TIniLine::TKind::Section;
                line.Section = Section;
            }
            return;
        }
        const size_t equals = view.find('=');
        if (!InSection || view.starts_with(';') || view.starts_with('#') ||
            equals == std::string_view::npos) {
            return;
        }
        const std::string_view key = TrimBlanks(view.substr(0, equals));
        if (!IsIniName(key, true)) {
            return;
        }
        line.Kind = TIniLine::TKind::Entry;
        line.Section = Section;
        line.Key = key;
        line.Value = ReadValue(view.substr(equals + 1));
        line.Counts = Seen.emplace(Section, key).second;
    }

private:
    int Block = 0;
    std::string_view Section;
    bool InSection = false;
    std::set<std::pair<std::string_view, std::string_view>> Seen;
};

size_t EndOf(std::string_view text, const TIniLine& line) {
    return static_cast<size_t>(line.Text.data() - text.data()) + line.Text.size() + line.End.size();
}

} // namespace

bool IsIniName(std::string_view name, bool isKey) {
    if (name.empty() || !g_utf8_validate(name.data(), static_cast<gssize>(name.size()), nullptr)) {
        return false;
    }
    for (const char c : name) {
        const auto code = static_cast<unsigned char>(c);
        if (code < 0x20 || code == 0x7F || c == '[' || c == ']' || (isKey && c == '=')) {
            return false;
        }
    }
    return !isKey || (name.front() != ' ' && name.back() != ' ' && name.front() != ';' &&
                      name.front() != '#');
}

std::vector<TIniLine> SplitIniLines(std::string_view text) {
    std::vector<TIniLine> lines;
    TLineReader reader;
    for (size_t start = 0; start < text.size();) {
        const size_t newline = text.find('\n', start);
        const size_t stop = newline == std::string_view::npos ? text.size() : newline;
        TIniLine& line = lines.emplace_back();
        line.Text = text.substr(start, stop - start);
        // A "\r" before the "\n" belongs to the end, as does one that ends the text.
        const size_t cr = line.Text.ends_with('\r') ? 1 : 0;
        line.Text.remove_suffix(cr);
        line.End = text.substr(stop - cr, cr + (newline == std::string_view::npos ? 0 : 1));
        std::string_view view = line.Text;
        if (start == 0 && view.starts_with(Utf8Mark)) {
            view.remove_prefix(Utf8Mark.size());
        }
        reader.Classify(view, line);
        start = newline == std::string_view::npos ? text.size() : newline + 1;
    }
    return lines;
}

std::string WithIniValue(std::string_view text, std::string_view section, std::string_view key,
                         std::string_view value) {
    using TKind = TIniLine::TKind;
    const std::vector<TIniLine> lines = SplitIniLines(text);
    std::string_view newline = "\n";
    for (const TIniLine& line : lines) {
        if (line.End.ends_with('\n')) {
            newline = line.End;
            break;
        }
    }
    // What the last line needs before anything can follow it.
    const auto completion = [&](const TIniLine& line) {
        return line.End.empty() ? newline : line.End == "\r" ? "\n" : std::string_view();
    };
    const std::string entry = std::string(key) + "=" + std::string(value);
    std::string result;
    result.reserve(text.size() + entry.size() + section.size() + 8);

    const TIniLine* after = nullptr; // the line the entry goes after
    int block = 0;                   // the section's first block
    for (const TIniLine& line : lines) {
        if (line.Section != section) {
            continue;
        }
        if (line.Holds(section, key)) {
            const auto start = static_cast<size_t>(line.Text.data() - text.data());
            return result.append(text.substr(0, start))
                .append(entry)
                .append(text.substr(start + line.Text.size()));
        }
        if (line.Kind == TKind::Section && block == 0) {
            block = line.Block;
            after = &line;
        } else if (line.Kind == TKind::Entry && line.Block == block) {
            after = &line;
        }
    }
    if (after != nullptr) {
        const size_t at = EndOf(text, *after);
        return result.append(text.substr(0, at))
            .append(completion(*after))
            .append(entry)
            .append(newline)
            .append(text.substr(at));
    }
    result.append(text);
    if (!lines.empty()) {
        result.append(completion(lines.back()));
        if (!TrimBlanks(lines.back().Text).empty()) {
            result.append(newline); // sections stand one blank line apart
        }
    }
    return result.append("[").append(section).append("]").append(newline).append(entry).append(
        newline);
}

} // namespace stellik
