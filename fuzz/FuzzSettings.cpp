// The settings document a package carries, read into the test options, and the page parameters
// the window makes of its view profile.
#include "documents/ExeTestOptions.h"
#include "fuzz/FuzzSupport.h"
#include "platform/Exception.h"

#include <string>
#include <vector>

using namespace stellik;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TExeTestOptions options;
    TMemoryStream stream = fuzz::StreamOf(data, size);
    try {
        options.LoadFromStream(stream);
    } catch (const Exception&) {
        // the player shows the message; the options stay usable
    }
    std::vector<std::string> params;
    options.GetViewProfile().WriteParams(params);
    if (const TMarkProfile* marks = options.GetMarkProfile()) {
        for (const int percent : {0, 50, 100}) {
            (void)marks->GetMark(percent);
        }
    }
    return 0;
}
