// shell/ResultsName.h -- the names results files are saved under
//
// "(" date ")" "_" examinee "_" test, the examinee's part only when a name was registered.
// The parts stay as written, except for the two bytes no file name can hold here: "/" and
// NUL become "-". A name too long for the file system is cut, the test name first.
#pragma once

#include "documents/UserSettings.h"
#include "platform/DateTime.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace stellik {

// The longest file name (one path component) the file systems take, in bytes.
inline constexpr size_t MaxFileNameBytes = 255;
inline constexpr std::string_view ResultsExtension = ".lmr";

struct TResultsNameParts {
    std::string Date;     // the short date of the user's locale
    std::string Examinee; // "Last First Patronymic", trimmed; empty: not registered
    std::string Test;     // the test's name
};

// The date as the user's locale writes it short (strftime "%x" of LC_TIME), in UTF-8.
std::string FormatShortDate(TDateTime date);

// LastName, FirstName and Patronymic decoded from UTF-8, joined by one space each and
// trimmed at both ends (so a missing middle part leaves two spaces inside).
std::string ExamineeName(const TUserSettings& user);

TResultsNameParts MakeResultsNameParts(TDateTime date, const TUserSettings& user,
                                       const std::string& testName);

// The name without extension, cut (at a character boundary) so that the name followed by
// suffix fits in MaxFileNameBytes.
std::string ComposeResultsName(const TResultsNameParts& parts, std::string_view suffix);

// The n-th candidate of an automatic save into folder: the name with ".lmr" for n = 0, with
// "_n.lmr" after it for n > 0.
std::string ResultsFileCandidate(const std::string& folder, const TResultsNameParts& parts, int n);

// The folder without one trailing "/" (the root stays "/").
std::string WithoutTrailingSeparator(const std::string& folder);

} // namespace stellik
