#include "model/TextMask.h"

#include "platform/Exception.h"
#include "platform/Unicode.h"

#include <cstdint>
#include <unordered_map>

namespace stellik {

namespace {

constexpr char16_t CapitalIe = u'\u0415'; // "Е"
constexpr char16_t CapitalIo = u'\u0401'; // "Ё"

bool CellMatches(const TMaskCell& cell, char16_t c) {
    return cell.AnyChar || cell.Char == c || (c == CapitalIe && cell.Char == CapitalIo);
}

[[noreturn]] void ThrowInvalidEscape(std::u16string_view m, size_t at) {
    // Keep a surrogate pair whole so the message shows the character itself.
    size_t length = 1;
    if (m[at] >= 0xD800 && m[at] <= 0xDBFF && at + 1 < m.size() && m[at + 1] >= 0xDC00 &&
        m[at + 1] <= 0xDFFF) {
        length = 2;
    }
    throw Exception("Ошибка в синтаксисе. Недопустимый символ \\" +
                    Utf16ToUtf8(m.substr(at, length)));
}

// A bit set over the cells of one literal part, bit j for cell j.
using TCellBits = std::vector<uint64_t>;

void SetBit(TCellBits& bits, size_t j) {
    bits[j / 64] |= uint64_t{1} << (j % 64);
}

} // namespace

TMaskCell& TMaskStr::AddCell() {
    return Cells.emplace_back();
}

const TMaskCell& TMaskStr::GetItem(int index) const {
    if (index < 0 || index >= GetCount()) {
        ThrowListIndexError(index);
    }
    return Cells[static_cast<size_t>(index)];
}

TMaskElement& TMask::AddElement() {
    return *Elements.emplace_back(std::make_unique<TMaskElement>());
}

void TMask::Clear() {
    Elements.clear();
}

const TMaskElement& TMask::GetItem(int index) const {
    if (index < 0 || index >= GetCount()) {
        ThrowListIndexError(index);
    }
    return *Elements[static_cast<size_t>(index)];
}

std::u16string PrepareMaskText(std::u16string_view text) {
    return UpperCase(TrimW(text));
}

void ParseMask(std::u16string_view spec, TMask& mask) {
    const std::u16string m = PrepareMaskText(spec);
    mask.Clear();
    TMaskElement* current = nullptr;
    bool afterStar = false;
    const auto addCell = [&](bool anyChar, char16_t c) {
        if (current == nullptr) {
            current = &mask.AddElement();
        }
        TMaskCell& cell = current->Cells.AddCell();
        cell.AnyChar = anyChar;
        cell.Char = c;
        afterStar = false;
    };
    for (size_t i = 0; i < m.size(); ++i) {
        if (m[i] != u'\\') {
            addCell(false, m[i]);
            continue;
        }
        if (i + 1 == m.size()) {
            throw Exception("Ошибка в синтаксисе. Ожидается символ после \\");
        }
        ++i;
        switch (m[i]) {
        case u'*':
            if (!afterStar) {
                afterStar = true;
                current = nullptr;
                mask.AddElement().Star = true;
            }
            break;
        case u'?':
            addCell(true, 0);
            break;
        case u'\\':
            addCell(false, u'\\');
            break;
        default:
            ThrowInvalidEscape(m, i);
        }
    }
}

bool MatchAt(const TMaskStr& cells, std::u16string_view text, size_t position) {
    const std::vector<TMaskCell>& items = cells.Items();
    if (position > text.size() || items.size() > text.size() - position) {
        return false;
    }
    for (size_t j = 0; j < items.size(); ++j) {
        if (!CellMatches(items[j], text[position + j])) {
            return false;
        }
    }
    return true;
}

long long FindCells(const TMaskStr& cells, std::u16string_view text, size_t start) {
    // Shift-and: bit j of the state says that cells 0..j match the text ending at the
    // current character. Each character costs one pass over the words of the bit set.
    const std::vector<TMaskCell>& items = cells.Items();
    const size_t n = items.size();
    if (start > text.size() || n > text.size() - start) {
        return -1;
    }
    if (n == 0) {
        return static_cast<long long>(start);
    }
    const size_t words = (n + 63) / 64;
    TCellBits anyBits(words, 0);
    TCellBits ioBits(words, 0);
    for (size_t j = 0; j < n; ++j) {
        if (items[j].AnyChar) {
            SetBit(anyBits, j);
        } else if (items[j].Char == CapitalIo) {
            SetBit(ioBits, j);
        }
    }
    // The cells each text character may stand in; characters not listed take anyBits.
    std::unordered_map<char16_t, TCellBits> accept;
    for (size_t j = 0; j < n; ++j) {
        if (!items[j].AnyChar) {
            accept.try_emplace(items[j].Char, anyBits);
        }
    }
    if (accept.count(CapitalIo) != 0) {
        accept.try_emplace(CapitalIe, anyBits);
    }
    for (auto& [c, bits] : accept) {
        for (size_t j = 0; j < n; ++j) {
            if (!items[j].AnyChar && items[j].Char == c) {
                SetBit(bits, j);
            }
        }
        if (c == CapitalIe) {
            for (size_t w = 0; w < words; ++w) {
                bits[w] |= ioBits[w];
            }
        }
    }
    const uint64_t lastBit = uint64_t{1} << ((n - 1) % 64);
    TCellBits state(words, 0);
    for (size_t i = start; i < text.size(); ++i) {
        const auto found = accept.find(text[i]);
        const TCellBits& bits = found != accept.end() ? found->second : anyBits;
        uint64_t carry = 1; // a match may begin at every character
        for (size_t w = 0; w < words; ++w) {
            const uint64_t next = state[w] >> 63;
            state[w] = ((state[w] << 1) | carry) & bits[w];
            carry = next;
        }
        if ((state[words - 1] & lastBit) != 0) {
            return static_cast<long long>(i + 1 - n);
        }
    }
    return -1;
}

long long FindElement(const TMask& mask, int elementIndex, std::u16string_view text, size_t start) {
    const TMaskElement& element = mask.GetItem(elementIndex);
    if (element.Star) {
        return static_cast<long long>(start);
    }
    const size_t n = static_cast<size_t>(element.Cells.GetCount());
    if (start > text.size() || n > text.size() - start) {
        return -1;
    }
    const bool first = elementIndex == 0;
    const bool last = elementIndex == mask.GetCount() - 1;
    if (last) {
        // The last part must end with the text: only one place can do.
        const size_t position = text.size() - n;
        if (first && position != 0) {
            return -1;
        }
        return MatchAt(element.Cells, text, position) ? static_cast<long long>(position) : -1;
    }
    if (first) {
        // Without a leading star the mask must match from the first character.
        return start == 0 && MatchAt(element.Cells, text, 0) ? 0 : -1;
    }
    // The leftmost place is taken for good; nothing later goes back to try another.
    return FindCells(element.Cells, text, start);
}

bool MatchMask(const TMask& mask, std::u16string_view text) {
    size_t position = 0;
    for (int i = 0; i < mask.GetCount(); ++i) {
        const long long found = FindElement(mask, i, text, position);
        if (found < 0) {
            return false;
        }
        position =
            static_cast<size_t>(found) + static_cast<size_t>(mask.GetItem(i).Cells.GetCount());
    }
    return true;
}

} // namespace stellik
