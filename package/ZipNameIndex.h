// package/ZipNameIndex.h -- the members of an open archive found by name in constant time
#pragma once

#include <zip.h>

#include <string>
#include <string_view>
#include <unordered_map>

namespace stellik {

// Built once when an archive is opened, so that reading every member of a large archive by
// name costs no scan of the directory per member. Member names compare whole, ASCII letters
// without regard to case (keyed by AsciiUpper).
class TZipNameIndex {
public:
    TZipNameIndex() = default; // no members
    explicit TZipNameIndex(zip_t* archive);

    // The index of the first member, in directory order, whose stored name equals name; -1
    // when there is none.
    zip_int64_t Find(std::string_view name) const;

private:
    std::unordered_map<std::string, zip_uint64_t> FirstByName;
};

} // namespace stellik
