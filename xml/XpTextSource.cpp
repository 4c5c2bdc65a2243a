#include "xml/XpTextSource.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace stellik {

namespace {

// Sections shorter than this are read by the parser itself.
constexpr size_t LiftAbove = size_t{64} << 10;

constexpr std::string_view Open = "<![CDATA[";
constexpr std::string_view Close = "]]>";

// ASCII without CR: the parser would hand such text over unchanged (it turns CR LF into LF).
bool IsPlainAscii(std::string_view text) {
    uint64_t seen = 0;
    size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        seen |= word;
    }
    for (; i < text.size(); ++i) {
        seen |= static_cast<uint8_t>(text[i]);
    }
    return (seen & 0x8080808080808080ull) == 0 &&
           std::memchr(text.data(), '\r', text.size()) == nullptr;
}

} // namespace

TXpTextSource::TXpTextSource(std::string_view text, bool liftSections)
    : Text(text), Lift(liftSections) {
    FindNext();
}

void TXpTextSource::FindNext() {
    NextOpen = std::string_view::npos;
    for (size_t from = Position; Lift;) {
        const size_t open = Text.find(Open, from);
        if (open == std::string_view::npos) {
            return;
        }
        const size_t start = open + Open.size();
        const size_t close = Text.find(Close, start);
        if (close == std::string_view::npos) {
            return;
        }
        // Plain ASCII only: other text must still pass the parser's UTF-8 checks.
        if (close - start >= LiftAbove && IsPlainAscii(Text.substr(start, close - start))) {
            NextOpen = start;
            NextClose = close;
            return;
        }
        from = close + Close.size();
    }
}

int TXpTextSource::Read(void* context, char* buffer, int length) {
    auto* source = static_cast<TXpTextSource*>(context);
    size_t end = std::min(source->Text.size(), source->Position + static_cast<size_t>(length));
    if (source->NextOpen != std::string_view::npos) {
        end = std::min(end, source->NextOpen);
    }
    const size_t count = end - source->Position;
    if (count > 0) { // an empty text may have no buffer at all
        std::memcpy(buffer, source->Text.data() + source->Position, count);
    }
    source->Position = end;
    source->Delivered += count;
    if (source->Position == source->NextOpen) {
        // The section's text stays here; the parser goes on at its "]]>".
        source->Lifted.push_back(
            {source->Delivered + Close.size(),
             source->Text.substr(source->NextOpen, source->NextClose - source->NextOpen)});
        ++source->Count;
        source->Position = source->NextClose;
        source->FindNext();
    }
    return static_cast<int>(count);
}

std::optional<std::string_view> TXpTextSource::TakeSection(size_t delivered, int& lines) {
    if (Lifted.empty() || Lifted.front().DeliveredEnd != delivered) {
        if (!Lifted.empty() && Lifted.front().DeliveredEnd < delivered) {
            Missed = true; // the parser passed a lifted section without reporting it
        }
        return std::nullopt;
    }
    const std::string_view text = Lifted.front().Text;
    Lifted.pop_front();
    lines = 0;
    for (const char* at = text.data();
         (at = static_cast<const char*>(std::memchr(at, '\n', text.data() + text.size() - at)));
         ++at) {
        ++lines;
    }
    return text;
}

} // namespace stellik
