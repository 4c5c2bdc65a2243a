#include "shell/gtk/PageRules.h"

#include <gtest/gtest.h>

namespace stellik::testing {
namespace {

TEST(PageRules, ImageSourcesAsTheWindowNamesThem) {
    struct {
        const char* Uri;
        std::optional<std::string> Expected;
    } cases[] = {
        {"stellik://res/startbtn_gif", "startbtn_gif"}, // a bare name of the page
        {"stellik://res/startbtn_gif?x=1#y", "startbtn_gif"},
        {"stellik://content/pic.gif", "stellik://content/pic.gif"},
        {"stellik://content/%D1%80%D0%B8%D1%81%201.gif", "stellik://content/рис 1.gif"},
        {"stellik://content/100%", "stellik://content/100%"}, // a stray "%" stays
        {"stellik://system/17", "stellik://system/17"},
        {"stellik://cmd/runtest", std::nullopt}, // commands are never served
        {"stellik://cmd", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ImageSourceOf(c.Uri), c.Expected) << c.Uri;
    }
}

TEST(PageRules, ImageTypesBySignature) {
    using namespace std::string_view_literals;
    struct {
        std::string_view Bytes;
        std::string_view Expected;
    } cases[] = {
        {"GIF89a\x36\x00"sv, "image/gif"},
        {"GIF87a"sv, "image/gif"},
        {"\x89PNG\r\n\x1a\n\0\0"sv, "image/png"},
        {"\xff\xd8\xff\xe0"sv, "image/jpeg"},
        {"BM\x36\x00"sv, "image/bmp"},
        {"<svg xmlns='http://www.w3.org/2000/svg'/>"sv, "image/svg+xml"},
        {"\n <?xml version='1.0'?>\n<svg/>"sv, "image/svg+xml"},
        {"<?xml version='1.0'?><html/>"sv, "application/octet-stream"},
        {""sv, "application/octet-stream"},
        {"GIF8"sv, "application/octet-stream"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SniffImageType(c.Bytes), c.Expected) << c.Bytes;
    }
}

TEST(PageRules, NavigationsOnlyTheWindowsOwnLoadPasses) {
    using K = TNavigationKind;
    using V = TNavigationVerdict;
    struct {
        K Kind;
        const char* Uri;
        bool OwnLoad;
        V Expected;
    } cases[] = {
        {K::Other, "stellik://res/", true, V::Allow},
        {K::Other, "stellik://res/", false, V::Ignore}, // a reload or a refresh of the page
        {K::Other, "about:blank", false, V::Allow},
        {K::Other, "http://example.org/", true, V::Ignore},
        {K::Other, "stellik://cmd/runtest", true, V::Ignore},
        {K::Other, "file:///etc/passwd", false, V::Ignore},
        {K::LinkClick, "stellik://cmd/runtest", false, V::Dispatch},
        {K::LinkClick, "http://example.org/", true, V::Dispatch},
        {K::FormSubmit, "stellik://cmd/testinput", true, V::Ignore},
        {K::FormSubmit, "http://example.org/", false, V::Ignore},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecideNavigation(c.Kind, c.Uri, c.OwnLoad), c.Expected) << c.Uri;
    }
}

TEST(PageRules, JavaScriptStringLiterals) {
    EXPECT_EQ(JsStringLiteral("timer"), "\"timer\"");
    EXPECT_EQ(JsStringLiteral("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(JsStringLiteral("a\nb</script>"), "\"a\\x0ab</script>\"");
    EXPECT_EQ(JsStringLiteral("таймер\u2028"), "\"таймер\\u2028\"");
}

TEST(PageRules, FormFieldsAsTheSubmitScriptEscapesThem) {
    struct {
        const char* Encoded;
        std::optional<TFormFields> Expected;
    } cases[] = {
        {"", TFormFields{}},
        {"ANSW%2F1=2&CMD%2FNEXT=%D0%94%D0%B0%D0%BB%D0%B5%D0%B5",
         TFormFields{{"ANSW/1", "2"}, {"CMD/NEXT", "Далее"}}},
        {"a%26b%3Dc=1%252%20%2B3", TFormFields{{"a&b=c", "1%2 +3"}}}, // the separators escaped
        {"=&x=", TFormFields{{"", ""}, {"x", ""}}},
        {"x=%e2%80%a8", TFormFields{{"x", "\u2028"}}}, // either case of hex digits
        {"x=a=b", TFormFields{{"x", "a=b"}}},          // the first "=" splits
        {"x=1&y", std::nullopt},                       // a pair without "="
        {"x=1&&y=2", std::nullopt},
        {"x=%", std::nullopt}, // broken escapes
        {"x=%4", std::nullopt},
        {"x=%G1", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecodeFormFields(c.Encoded), c.Expected) << c.Encoded;
    }
    EXPECT_EQ(DecodeFormFields("x=%00y"), (TFormFields{{"x", std::string("\0y", 2)}}));
}

} // namespace
} // namespace stellik::testing
