// model/TextUtils.h -- small text routines shared by the engine and the readers
#pragma once

#include <string>
#include <string_view>

namespace stellik {

// Every run of NUL, TAB, LF, CR and SPACE becomes one space; nothing is trimmed.
std::u16string NormalizeSpaces(std::u16string_view text);

// Replaces '"', '&', '<' and '>' by their entities; everything else is copied.
std::u16string XmlEscape(std::u16string_view text);

// Replaces '&', '<' and '>'; '"' by quote when quote is given, else it stays as it is.
std::u16string EscapeMarkup(std::u16string_view text, std::u16string_view quote = {});

// Eight random characters from "0"-"9" and "A"-"Z" (reseeds the process-wide generator).
std::string RandomName();

// Creates a new empty file "<temp folder><RandomName>.tmp" exclusively, readable by its owner
// only, and returns its full path; the caller writes into it and removes it.
std::string GetUniqueTempFileName();

} // namespace stellik
