#include "model/DecimalSeparator.h"

#include "platform/Convert.h"

namespace stellik {

namespace {

TDecimalSeparatorSource& CurrentSource() {
    static TDecimalSeparatorSource source = &LocaleDecimalSeparator;
    return source;
}

} // namespace

char NumberDecimalSeparator() {
    return CurrentSource()();
}

TDecimalSeparatorSource SetDecimalSeparatorSource(TDecimalSeparatorSource source) {
    TDecimalSeparatorSource& current = CurrentSource();
    const TDecimalSeparatorSource previous = current;
    current = source != nullptr ? source : &LocaleDecimalSeparator;
    return previous;
}

} // namespace stellik
