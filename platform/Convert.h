// platform/Convert.h -- number <-> text conversions of the runtime
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace stellik {

// Leading spaces, an optional sign, then decimal digits, or hexadecimal digits after
// "$", "x" or "0x" (x in either case); nothing may follow; empty fails. Decimal values must
// fit the signed 32-bit range; hexadecimal ones are 32-bit patterns ($FFFFFFFF is -1).
std::optional<int> TryStrToInt(std::string_view text);
std::optional<int> TryStrToInt(std::u16string_view text);

// As above, raising "'%s' is not a valid integer value" on failure.
int StrToInt(std::string_view text);
int StrToInt(std::u16string_view text);

// Floating-point text: surrounding spaces, sign, digits with one decimalSeparator, an
// optional exponent. Any other character (including the other separator) fails.
std::optional<double> TryStrToFloat(std::string_view text, char decimalSeparator);

// The decimal separator of the user's locale (LC_NUMERIC), read on every call.
char LocaleDecimalSeparator();

// The value of a hexadecimal digit in either case, -1 for any other character.
int HexDigitValue(char16_t c);

std::u16string IntToStrW(long long value);

} // namespace stellik
