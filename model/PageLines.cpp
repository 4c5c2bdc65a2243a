#include "model/PageLines.h"

#include <algorithm>
#include <iterator>

namespace stellik {

namespace {

using TDiff = TWideStrings::difference_type;

TDiff At(std::size_t position) {
    return static_cast<TDiff>(position);
}

} // namespace

TWideStrings& TPageLines::Begin() {
    Spare.resize(First); // the head's places: the run document moves its head in there
    return Spare;
}

void TPageLines::End() {
    Where->swap(Spare);
    Last = Where->size();
    // The page before is freed now; the lines ahead of it serve as the next head's places.
    Spare.resize(First);
}

std::span<const std::u16string> TPageLines::Get() const {
    if (!Intact()) {
        return {}; // the document was written over behind the page's back
    }
    return {Where->data() + First, Last - First};
}

void TPageLines::ShowIn(TWideStrings& document, TWideStrings& head) {
    if (Where != &document) {
        TakeBack();
        document.clear();
        document.reserve(head.size() + Own.size() + 1);
        std::move(head.begin(), head.end(), std::back_inserter(document));
        std::move(Own.begin(), Own.end(), std::back_inserter(document));
        Own.clear();
        Where = &document;
        First = head.size();
        Last = document.size();
        return;
    }
    if (!Intact()) {
        First = Last = std::min(First, document.size());
    }
    document.resize(Last);
    if (head.size() == First) {
        std::move(head.begin(), head.end(), document.begin()); // the usual case: same length
        return;
    }
    document.erase(document.begin(), document.begin() + At(First));
    document.insert(document.begin(), std::make_move_iterator(head.begin()),
                    std::make_move_iterator(head.end()));
    Last = Last - First + head.size();
    First = head.size();
}

void TPageLines::TakeBack() {
    if (Where == &Own) {
        return;
    }
    TWideStrings page;
    if (Intact()) {
        page.assign(std::make_move_iterator(Where->begin() + At(First)),
                    std::make_move_iterator(Where->begin() + At(Last)));
    }
    Own = std::move(page);
    Where = &Own;
    First = 0;
    Last = Own.size();
}

} // namespace stellik
