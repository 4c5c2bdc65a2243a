// The pictures the view asks for, and the one-second timer.
#include "shell/MainFrm.h"

#include "platform/Resources.h"
#include "shell/PseudoHosts.h"
#include "shell/TimerImage.h"

namespace stellik {

const TMemoryStream& TMainFrm::HTMLViewer1ImageRequest(const std::string& src) {
    ImageStream.Clear();
    if (src.starts_with(ContentHost)) {
        // The prefix and one separator, cut by position; a missing member leaves it empty.
        const size_t start = ContentHost.size() + 1;
        ExtractFromPackage(src.size() > start ? src.substr(start) : "", ImageStream);
    } else if (src.starts_with(SystemHost)) {
        DrawTimerImage(ImageStream);
    } else {
        ImageStream.Write(TResources::Get(src));
    }
    ImageStream.SetPosition(0);
    return ImageStream;
}

void TMainFrm::DrawTimerImage(TMemoryStream& stream) {
    WriteTimerImage(TestDoc->LeftTime, stream);
}

void TMainFrm::Timer1Timer() {
    if (!TestDoc->IsRunning()) {
        return;
    }
    TestDoc->Tick();
    // The view asks for the timer picture again, which draws the time now left.
    View.ReplaceImage("timer");
    if (!TestDoc->IsRunning()) {
        ShowRunPage(); // the time ran out: the stop page
    }
}

} // namespace stellik
