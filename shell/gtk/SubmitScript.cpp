// shell/gtk/SubmitScript.cpp
#include "shell/gtk/SubmitScript.h"

#include "shell/gtk/GtkHandles.h"

namespace stellik {

namespace {

constexpr const char* Source = R"JS((() => {
  const handler = window.webkit.messageHandlers.stellikSubmit;
  const post = (form, submitter) => {
    const fields = [];
    for (const [name, value] of new FormData(form, submitter)) {
      fields.push([name, typeof value === "string" ? value : value.name]);
    }
    handler.postMessage({action: form.action, fields: fields});
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

std::optional<std::string> StringAt(JSCValue* array, guint index) {
    GObjectPtr<JSCValue> item = AdoptObject(jsc_value_object_get_property_at_index(array, index));
    if (!item || !jsc_value_is_string(item.get())) {
        return std::nullopt;
    }
    GCharPtr text(jsc_value_to_string(item.get()));
    return std::string(text.get());
}

guint ArrayLength(JSCValue* array) {
    GObjectPtr<JSCValue> length = AdoptObject(jsc_value_object_get_property(array, "length"));
    return length && jsc_value_is_number(length.get())
               ? static_cast<guint>(jsc_value_to_int32(length.get()))
               : 0;
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
    GObjectPtr<JSCValue> fields = AdoptObject(jsc_value_object_get_property(value, "fields"));
    if (!action || !fields || !jsc_value_is_array(fields.get())) {
        return std::nullopt;
    }
    TFormMessage message{std::move(*action), {}};
    const guint count = ArrayLength(fields.get());
    for (guint i = 0; i < count; ++i) {
        GObjectPtr<JSCValue> pair =
            AdoptObject(jsc_value_object_get_property_at_index(fields.get(), i));
        if (!pair || !jsc_value_is_array(pair.get())) {
            return std::nullopt;
        }
        std::optional<std::string> name = StringAt(pair.get(), 0);
        std::optional<std::string> text = StringAt(pair.get(), 1);
        if (!name || !text) {
            return std::nullopt;
        }
        message.Fields.emplace_back(std::move(*name), std::move(*text));
    }
    return message;
}

} // namespace stellik
