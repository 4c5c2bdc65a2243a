// xml/XpErrors.h -- the failures of the XML layer
#pragma once

#include "platform/Exception.h"

#include <cstddef>
#include <string>

namespace stellik {

// A document that cannot be parsed. The message is the reason; where it was found travels
// alongside (line and position count from 1; 0 when unknown).
class EXpParserError : public Exception {
public:
    EXpParserError(std::string reason, int line, int linePos, std::string url = {})
        : Exception(std::move(reason)), Line(line), LinePos(linePos), Url(std::move(url)) {}
    int GetLine() const { return Line; }
    int GetLinePos() const { return LinePos; }
    const std::string& GetUrl() const { return Url; }

private:
    int Line;
    int LinePos;
    std::string Url;
};

// A character that the output format cannot hold; Position is the underlying stream's.
class EXpStreamError : public Exception {
public:
    EXpStreamError(std::string message, size_t position)
        : Exception(std::move(message)), Position(position) {}
    size_t GetPosition() const { return Position; }

private:
    size_t Position;
};

// Input that decodes to no character XML allows.
class EXpFilterError : public Exception {
public:
    EXpFilterError(std::string message, size_t position, int line, int linePos)
        : Exception(std::move(message)), Position(position), Line(line), LinePos(linePos) {}
    size_t GetPosition() const { return Position; }
    int GetLine() const { return Line; }
    int GetLinePos() const { return LinePos; }

private:
    size_t Position;
    int Line;
    int LinePos;
};

} // namespace stellik
