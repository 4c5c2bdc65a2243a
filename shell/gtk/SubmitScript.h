// shell/gtk/SubmitScript.h -- the page script that hands form submits to the window
//
// Pages run no scripts of their own; this one is injected into every frame at document start.
// It turns every form submit into a message {action, fields} to the handler SubmitHandlerName
// and stops the form's own navigation:
//   - fields are those a browser submits, in page order, the pressed button included; a file
//     input gives its file's name; they travel as one string (see DecodeFormFields);
//   - Enter in a text field submits its form without any button, so that no command rides
//     along with a field being confirmed.
#pragma once

#include "shell/MainFrm.h"

#include <webkit2/webkit2.h>

#include <optional>
#include <string>

namespace stellik {

inline constexpr const char* SubmitHandlerName = "stellikSubmit";

const char* SubmitScriptSource();

struct TFormMessage {
    std::string Action; // the form's action as an absolute URL
    TFormFields Fields;
};

// The message the script posts; nothing when the value is not one (wrong shape).
std::optional<TFormMessage> ReadFormMessage(JSCValue* value);

} // namespace stellik
