// platform/CFree.h -- a unique_ptr deleter made from a C library's free function
#pragma once

namespace stellik {

// Frees a C handle with Free: std::unique_ptr<xmlDoc, TCFree<xmlFreeDoc>>.
template <auto Free> struct TCFree {
    void operator()(auto* handle) const noexcept { Free(handle); }
};

} // namespace stellik
