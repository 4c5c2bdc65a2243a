// The built player's pages as an examinee sees them: what belongs together lines up.
#include "platform/DateTime.h"
#include "platform/MemoryStream.h"
#include "shell/TimerImage.h"
#include "tests/gui/PlayerKit.h"
#include "tests/platform/GifTestReader.h"

#include <gtest/gtest.h>

#include <string>

namespace stellik::testing {
namespace {

// One past the lowest row of the timer picture that holds ink: where its digits stand.
int TimerTextBaseline() {
    TMemoryStream stream;
    WriteTimerImage(EncodeTime(0, 20, 0), stream);
    const TDecodedGif gif = DecodeGif(stream.View());
    int baseline = 0;
    for (int y = 0; y < gif.Height; ++y) {
        for (int x = 0; x < gif.Width; ++x) {
            if (!gif.TransparentAt(x, y)) {
                baseline = y + 1;
            }
        }
    }
    return baseline;
}

double Number(const std::string& text) {
    return std::stod(text);
}

TEST(PageLook, RegistrationFieldsAndTheTimerLineUp) {
    TPlayer player(BuiltPlayer());
    player.Start();
    TViewDriver& view = player.View();

    // The three text fields and the text area share both edges.
    EXPECT_EQ(view.Eval("(() => { const edges = new Set(Array.from(document.querySelectorAll("
                        "'input[type=text], textarea'), f => { const r = "
                        "f.getBoundingClientRect(); return Math.round(r.left) + '-' + "
                        "Math.round(r.right); })); return edges.size; })()"),
              "1");
    // Every label stays on one line.
    EXPECT_EQ(view.Eval("Array.from(document.querySelectorAll('form td')).filter(td => "
                        "td.textContent.endsWith(':')).filter(td => { const range = "
                        "document.createRange(); range.selectNodeContents(td); return "
                        "range.getClientRects().length != 1; }).map(td => "
                        "td.textContent).join('|')"),
              "");
    // The check box's caption keeps some space from the box.
    EXPECT_GE(Number(view.Eval("document.querySelector('label[for=saveinfo]')"
                               ".getBoundingClientRect().left - document.getElementById("
                               "'saveinfo').getBoundingClientRect().right")),
              4);

    view.Type("input[name=lastname]", "Иванов");
    view.Type("input[name=firstname]", "Пётр");
    player.ClickForPage("input[type=submit]");
    player.ClickForPage("a[href=\"stellik://cmd/runtest\"]");
    ASSERT_TRUE(player.Frame().GetTestDoc().IsRunning());
    // The digits of the timer stand on the baseline of the top bar's text (an empty inline
    // block's bottom is the baseline of its line).
    const double baseline = Number(view.Eval(
        "(() => { const mark = document.createElement('span'); mark.style.display = "
        "'inline-block'; const timer = document.getElementById('timer'); timer.before(mark); "
        "const bottom = mark.getBoundingClientRect().bottom; mark.remove(); return bottom; })()"));
    const double top =
        Number(view.Eval("document.getElementById('timer').getBoundingClientRect().top"));
    EXPECT_NEAR(top + TimerTextBaseline(), baseline, 1);
}

} // namespace
} // namespace stellik::testing
