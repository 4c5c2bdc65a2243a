// resources/art/Pictures.h -- the program's own pictures, drawn
#pragma once

#include "platform/CairoHandles.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace stellik::art {

struct TPicture {
    std::string Name; // the resource name, "STARTBTN_GIF"
    // The colour the page shows behind the picture; the picture's corners are drawn in it and
    // it becomes the GIF's transparent colour. None: the picture covers its whole box.
    std::optional<uint32_t> Backdrop;
    TCanvas Canvas;
};

// The start and save-results pictures.
void DrawButtons(std::vector<TPicture>& pictures);
// The top bar and the eight pieces of the panel frame.
void DrawFrame(std::vector<TPicture>& pictures);
// Choice marks, the ends of an entered answer and the report markers.
void DrawMarks(std::vector<TPicture>& pictures);

std::vector<TPicture> DrawAllPictures();

} // namespace stellik::art
