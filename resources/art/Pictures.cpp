#include "resources/art/Pictures.h"

namespace stellik::art {

std::vector<TPicture> DrawAllPictures() {
    std::vector<TPicture> pictures;
    DrawButtons(pictures);
    DrawFrame(pictures);
    DrawMarks(pictures);
    return pictures;
}

} // namespace stellik::art
