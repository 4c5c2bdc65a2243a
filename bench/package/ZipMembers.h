// bench/package/ZipMembers.h -- members like those of a large results file
#pragma once

#include <cstddef>
#include <string>

namespace stellik::bench {

// Member index of count: even ones are text (an XML report, which deflates to about a
// third), odd ones are random bytes (pictures, which do not deflate and are stored).
// The same index always gives the same bytes.
std::string MakeZipMember(size_t index, size_t size);

// The member's file name: "member0007.xml" for text, "member0008.gif" for random bytes.
std::string ZipMemberName(size_t index);

} // namespace stellik::bench
