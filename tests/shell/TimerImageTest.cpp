#include "shell/TimerImage.h"
#include "platform/MemoryStream.h"
#include "shell/LocaleTime.h"
#include "tests/platform/GifTestReader.h"
#include "tests/shell/TimeLocale.h"

#include <gtest/gtest.h>

#include <string>

namespace stellik::testing {
namespace {

TEST(TimerImage, LongTimeFollowsTheLocale) {
    struct TCase {
        const char* Locale;
        TDateTime Time;
        const char* Expected;
    };
    const TCase cases[] = {
        {"C", 0.0, "00:00:00"},
        {"C", EncodeTime(1, 2, 3), "01:02:03"},
        {"C", EncodeTime(23, 59, 59), "23:59:59"},
        {"C", EncodeTime(0, 4, 59, 999) + 0.6 / 86400000.0, "00:05:00"}, // nearest millisecond
        {"C", 2.0 + EncodeTime(0, 30, 0), "00:30:00"},                   // days do not show
        {"C.UTF-8", EncodeTime(13, 2, 3), "13:02:03"},
        // Locales the machine may lack; they are skipped then.
        {"ru_RU.UTF-8", EncodeTime(13, 2, 3), "13:02:03"},
        {"ru_RU.UTF-8", EncodeTime(0, 19, 59), "00:19:59"},
        // A 12-hour clock would write 20 minutes left as "12:19:59 AM".
        {"en_US.UTF-8", EncodeTime(0, 19, 59), "00:19:59"},
        {"en_US.UTF-8", EncodeTime(13, 2, 3), "13:02:03"},
    };
    int checked = 0;
    for (const TCase& c : cases) {
        const TTimeLocale locale(c.Locale);
        if (!locale.IsActive()) {
            continue;
        }
        EXPECT_EQ(FormatLongTime(c.Time), c.Expected) << c.Locale;
        ++checked;
    }
    EXPECT_GE(checked, 6);
}

// Which locale formats count hours of 12: those are not used for the time left.
TEST(TimerImage, TwelveHourFormatsAreRecognised) {
    for (const char* format :
         {"%I:%M:%S %p", "%r", "%l:%M:%S %P", "%p %I時%M分%S秒", "%OI:%OM:%OS", "%H:%M:%S %p"}) {
        EXPECT_TRUE(IsTwelveHourFormat(format)) << format;
    }
    for (const char* format : {"%H:%M:%S", "%T", "%H.%M.%S", "%OH:%OM:%OS", "%H時%M分%S秒",
                               "%H:%M:%S %%p", "%Ek", "", "%"}) {
        EXPECT_FALSE(IsTwelveHourFormat(format)) << format;
    }
}

TEST(TimerImage, IsATransparentGifOfTheTimeInWhite) {
    const TTimeLocale locale("C");
    TMemoryStream stream(std::string(5000, 'x')); // the old content goes
    stream.SetPosition(4000);
    WriteTimerImage(EncodeTime(0, 59, 58), stream);

    ASSERT_LT(stream.GetSize(), 5000u);
    const auto gif = DecodeGif(stream.View());
    EXPECT_EQ(gif.Version, "GIF89a");
    EXPECT_EQ(gif.Width, 54);
    EXPECT_EQ(gif.Height, 20);
    EXPECT_EQ(gif.FrameCount, 1);
    ASSERT_GE(gif.TransparentIndex, 0);
    EXPECT_EQ(gif.Palette.at(static_cast<size_t>(gif.TransparentIndex)), 0x3E669Cu);

    // The text starts at x 2, y 4: nothing above or left of that, and white ink below it
    // along the whole width of the eight characters.
    int left = gif.Width, right = -1, top = gif.Height, white = 0;
    for (int y = 0; y < gif.Height; ++y) {
        for (int x = 0; x < gif.Width; ++x) {
            if (gif.TransparentAt(x, y)) {
                continue;
            }
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            const uint32_t rgb = gif.RgbAt(x, y);
            white += (rgb >> 16 & 0xFF) > 0xE0 && (rgb >> 8 & 0xFF) > 0xE0 && (rgb & 0xFF) > 0xE0;
        }
    }
    EXPECT_GE(left, 2);
    EXPECT_GE(top, 4);
    EXPECT_GT(right, 40);
    EXPECT_LT(right, 53); // the last digit is whole, not cut at the edge
    EXPECT_GT(white, 40);
}

TEST(TimerImage, RedrawsTheTimeItIsGiven) {
    const TTimeLocale locale("C");
    TMemoryStream first, second, again;
    WriteTimerImage(EncodeTime(0, 10, 0), first);
    WriteTimerImage(EncodeTime(0, 9, 59), second);
    WriteTimerImage(EncodeTime(0, 10, 0), again);
    EXPECT_NE(DecodeGif(first.View()).Indices, DecodeGif(second.View()).Indices);
    EXPECT_EQ(first.View(), again.View());
}

} // namespace
} // namespace stellik::testing
