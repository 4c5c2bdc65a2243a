// The resource archive a program file ends with, as a damaged or altered player file may hold
// it: every entry it yields lies inside the file.
#include "fuzz/FuzzSupport.h"
#include "platform/Exception.h"
#include "platform/ResourceArchive.h"

#include <cstdlib>

using namespace stellik;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    try {
        const TResourceArchive archive = ParseResourceArchive(file);
        for (const TResourceEntry& entry : archive.Entries) {
            if (entry.Bytes.data() < file.data() ||
                entry.Bytes.data() + entry.Bytes.size() > file.data() + file.size()) {
                std::abort();
            }
        }
    } catch (const Exception&) {
        // "Damaged resource archive": the player shows the message
    }
    return 0;
}
