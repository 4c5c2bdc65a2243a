// tests/shell/TimeLocale.h -- a test's own LC_TIME
#pragma once

#include <clocale>
#include <string>

namespace stellik::testing {

// Sets LC_TIME for one test and puts the previous locale back.
class TTimeLocale {
public:
    explicit TTimeLocale(const char* name) : Previous(std::setlocale(LC_TIME, nullptr)) {
        Active = std::setlocale(LC_TIME, name) != nullptr;
    }
    ~TTimeLocale() { std::setlocale(LC_TIME, Previous.c_str()); }
    TTimeLocale(const TTimeLocale&) = delete;
    TTimeLocale& operator=(const TTimeLocale&) = delete;
    bool IsActive() const { return Active; }

private:
    std::string Previous;
    bool Active = false;
};

} // namespace stellik::testing
