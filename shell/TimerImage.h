// shell/TimerImage.h -- the picture of the time left, shown in the top bar of run pages
#pragma once

#include "platform/DateTime.h"
#include "platform/MemoryStream.h"

#include <string>

namespace stellik {

// The time left as the user's locale writes a long time ("%X" of the current LC_TIME locale)
// when that counts the hours of a 24-hour clock; else hours, minutes and seconds, 24-hour.
std::string FormatLongTime(TDateTime time);

// Empties stream and writes a 54 x 20 GIF89a: the text of FormatLongTime(leftTime) in white
// Verdana 9 pt (the nearest installed font) at x 2, y 4 on red 62, green 102, blue 156, the
// background being the transparent colour.
void WriteTimerImage(TDateTime leftTime, TMemoryStream& stream);

} // namespace stellik
