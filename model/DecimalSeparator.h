// model/DecimalSeparator.h -- the decimal separator of number answers
#pragma once

namespace stellik {

// Where the separator comes from: by default the user's locale (LC_NUMERIC), read on every
// call. Tests replace it to try a separator the machine may have no locale for.
using TDecimalSeparatorSource = char (*)();

char NumberDecimalSeparator();

// Installs source (nullptr: the locale again) and returns the one it replaces.
TDecimalSeparatorSource SetDecimalSeparatorSource(TDecimalSeparatorSource source);

} // namespace stellik
