// shell/gtk/SubmitScript.cpp
#include "shell/gtk/SubmitScript.h"

#include "shell/gtk/GtkHandles.h"
#include "shell/gtk/PageRules.h"

namespace stellik {

namespace {

constexpr const char* Source = R"JS((() => {
  const handler = window.webkit.messageHandlers.stellikSubmit;
  // The fields go as one string: a page of a thousand questions is sent and read in a
  // fraction of the time an array of pairs takes. Form data holds well-formed strings only, a
  // file's name excepted.
  const post = (form, submitter) => {
    const pairs = [];
    for (const [name, value] of new FormData(form, submitter)) {
      const text = typeof value === "string" ? value : value.name.toWellFormed();
      pairs.push(encodeURIComponent(name) + "=" + encodeURIComponent(text));
    }
    handler.postMessage({action: form.action, fields: pairs.join("&")});
  };
  document.addEventListener("submit", (event) => {
    event.preventDefault();
    post(event.target, event.submitter);
  }, true);
  const buttonLike = ["button", "checkbox", "color", "file", "image", "radio", "range",
                      "reset", "submit"];
  document.addEventListener("keydown", (event) => {
    const field = event.target;
    if (event.key !== "Enter" || event.isComposing || event.defaultPrevented ||
        !(field instanceof HTMLInputElement) || !field.form || buttonLike.includes(field.type)) {
      return;
    }
    event.preventDefault();
    post(field.form, null);
  }, true);
})();)JS";

std::optional<std::string> StringProperty(JSCValue* object, const char* name) {
    GObjectPtr<JSCValue> property = AdoptObject(jsc_value_object_get_property(object, name));
    if (!property || !jsc_value_is_string(property.get())) {
        return std::nullopt;
    }
    GCharPtr text(jsc_value_to_string(property.get()));
    return std::string(text.get());
}

} // namespace

const char* SubmitScriptSource() {
    return Source;
}

std::optional<TFormMessage> ReadFormMessage(JSCValue* value) {
    if (value == nullptr || !jsc_value_is_object(value)) {
        return std::nullopt;
    }
    std::optional<std::string> action = StringProperty(value, "action");
    std::optional<std::string> encoded = StringProperty(value, "fields");
    if (!action || !encoded) {
        return std::nullopt;
    }
    std::optional<TFormFields> fields = DecodeFormFields(*encoded);
    if (!fields) {
        return std::nullopt;
    }
    return TFormMessage{std::move(*action), std::move(*fields)};
}

} // namespace stellik
