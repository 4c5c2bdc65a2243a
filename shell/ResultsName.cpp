#include "shell/ResultsName.h"

#include "platform/Unicode.h"
#include "shell/LocaleTime.h"

#include <algorithm>

namespace stellik {

namespace {

// "/" separates folders and NUL ends a path: neither can stand in a file name.
std::string FileNameSafe(std::string_view text) {
    std::string safe(text);
    std::replace_if(
        safe.begin(), safe.end(), [](char c) { return c == '/' || c == '\0'; }, '-');
    return safe;
}

// Cuts text to at most limit bytes without splitting a UTF-8 character.
void CutUtf8(std::string& text, size_t limit) {
    if (text.size() <= limit) {
        return;
    }
    size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    text.resize(cut);
}

} // namespace

std::string FormatShortDate(TDateTime date) {
    return FormatLocaleDateTime(DateTimeParts(date), "%x", "%Y-%m-%d"); // file names: UTF-8
}

std::string ExamineeName(const TUserSettings& user) {
    return Utf16ToUtf8(TrimW(Utf8ToUtf16(user.LastName) + u" " + Utf8ToUtf16(user.FirstName) +
                             u" " + Utf8ToUtf16(user.Patronymic)));
}

TResultsNameParts MakeResultsNameParts(TDateTime date, const TUserSettings& user,
                                       const std::string& testName) {
    return {FormatShortDate(date), ExamineeName(user), testName};
}

std::string ComposeResultsName(const TResultsNameParts& parts, std::string_view suffix) {
    const std::string head = "(" + FileNameSafe(parts.Date) + ")";
    const bool registered = !parts.Examinee.empty();
    std::string examinee = FileNameSafe(parts.Examinee);
    std::string test = FileNameSafe(parts.Test);
    const size_t budget = MaxFileNameBytes - std::min(suffix.size(), MaxFileNameBytes);
    const auto length = [&] {
        return head.size() + (registered ? 1 + examinee.size() : 0) + 1 + test.size();
    };
    // The test name gives way first: the date and the examinee tell files apart.
    for (std::string* part : {&test, &examinee}) {
        if (length() > budget) {
            const size_t excess = length() - budget;
            CutUtf8(*part, part->size() > excess ? part->size() - excess : 0);
        }
    }
    return head + (registered ? "_" + examinee : "") + "_" + test;
}

std::string ResultsFileCandidate(const std::string& folder, const TResultsNameParts& parts, int n) {
    const std::string suffix =
        (n == 0 ? "" : "_" + std::to_string(n)) + std::string(ResultsExtension);
    const std::string name = ComposeResultsName(parts, suffix) + suffix;
    return folder.ends_with('/') ? folder + name : folder + "/" + name;
}

std::string WithoutTrailingSeparator(const std::string& folder) {
    return folder.size() > 1 && folder.ends_with('/') ? folder.substr(0, folder.size() - 1)
                                                      : folder;
}

} // namespace stellik
