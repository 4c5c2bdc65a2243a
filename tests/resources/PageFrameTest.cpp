// The frame of every page, the registration page and the title page.
#include "PageDocs.h"
#include "StyleKit.h"

#include <gtest/gtest.h>

namespace stellik::testing {
namespace {

TEST(PageFrame, EveryRootGetsTheHeadAndBodyOnlyTheFourPageRootsGetContent) {
    const struct {
        std::string Doc;
        bool HasContent;
    } cases[] = {
        {"<register><first-name/><last-name/><patronymic/><additional-info/></register>", true},
        {"<test-head test-name=\"T\"/>", true},
        {RunDoc("step", Section(1, "", Question(1, Custom("q", "")))), true},
        {ResultsDoc(""), true},
        {"<test-result><summary>5</summary>text</test-result>", false},
        {"<page>some <b>text</b></page>", false},
    };
    for (const auto& c : cases) {
        const THtml page(Transform(c.Doc, {}, c.HasContent ? "" : "unknown-root"));
        SCOPED_TRACE(c.Doc.substr(0, 60));
        EXPECT_EQ(page.Count("/html/head/*"), 1);
        EXPECT_EQ(page.Text("/html/head/meta/@http-equiv"), "Content-Type");
        EXPECT_EQ(page.Text("/html/head/meta/@content"), "text/html; charset=utf-8");
        EXPECT_EQ(page.Text("/html/body/@bgcolor"), "#758DB0");
        EXPECT_EQ(page.Text("/html/body/@text"), "#000000");
        EXPECT_EQ(page.Count("/html/body/node()") > 0, c.HasContent);
    }
}

TEST(PageFrame, HtmlIsUtf8WithoutDeclarationOrLineBreaks) {
    const std::string html = Transform("<test-head test-name=\"Тест\"/>");
    EXPECT_EQ(html.rfind("<html><head><meta", 0), 0u) << html;
    EXPECT_EQ(html.find('\n'), std::string::npos);
    EXPECT_EQ(html.find("<?xml"), std::string::npos);
    EXPECT_EQ(html.find("/>"), std::string::npos); // HTML empty elements
}

TEST(RegisterPage, FormFieldsArePrefilledFromTheDocument) {
    const THtml page(Transform(
        "<register><first-name>Иван</first-name><last-name>Петров-\"Водкин\"</last-name>"
        "<patronymic>Сергеевич</patronymic><additional-info>Группа 5 &amp; 6</additional-info>"
        "</register>",
        {}, "register"));
    EXPECT_EQ(page.Text("//td[@background='centertop_gif']"), "Регистрация");
    const std::string form = "//form[@name='form1']";
    EXPECT_EQ(page.Text(form + "/@method"), "post");
    EXPECT_EQ(page.Text(form + "/@action"), "stellik://cmd/register");
    EXPECT_EQ(page.Text(form + "//table/@width"), "520");

    // Labels and fields, row by row.
    const struct {
        const char* Label;
        const char* Field;
        const char* Value;
    } rows[] = {{"Фамилия:", "lastname", "Петров-\"Водкин\""},
                {"Имя:", "firstname", "Иван"},
                {"Отчество:", "patronymic", "Сергеевич"}};
    for (const auto& row : rows) {
        const std::string input = form + "//tr[td[1]='" + row.Label + "']/td[2]/input";
        EXPECT_EQ(page.Text(input + "/@type"), "text") << row.Label;
        EXPECT_EQ(page.Text(input + "/@name"), row.Field);
        EXPECT_EQ(page.Text(input + "/@size"), "50");
        EXPECT_EQ(page.Text(input + "/@value"), row.Value);
    }
    EXPECT_EQ(page.Texts(form + "//td[1][normalize-space()]"),
              (std::vector<std::string>{"Фамилия:", "Имя:", "Отчество:", "Доп. сведения:"}));
    const std::string addinfo = form + "//tr[td[1]='Доп. сведения:']/td[2]/textarea";
    EXPECT_EQ(page.Text(addinfo + "/@name"), "addinfo");
    EXPECT_EQ(page.Text(addinfo + "/@cols"), "44");
    // A browser drops the line break right after the start tag: the text stays as it was.
    EXPECT_EQ(page.Text(addinfo), "\nГруппа 5 & 6");

    EXPECT_EQ(page.Text(form + "//input[@type='checkbox']/@name"), "saveinfo");
    EXPECT_EQ(page.Text(form + "//input[@type='checkbox']/@value"), "saveinfo");
    EXPECT_EQ(page.Count(form + "//input[@type='checkbox'][@checked]"), 1);
    EXPECT_EQ(page.Text(form + "//tr[.//input[@type='checkbox']]"), "Запомнить на этом компьютере");
    EXPECT_EQ(page.Text(form + "//input[@type='submit']/@name"), "Submit");
    EXPECT_EQ(page.Text(form + "//input[@type='submit']/@value"), "  Продолжить  ");
    EXPECT_EQ(page.Text(form + "//td[input[@type='submit']]/@align"), "right");
}

TEST(RegisterPage, EmptyFieldsGiveEmptyInputs) {
    const THtml page(
        Transform("<register><first-name/><last-name/><patronymic/><additional-info/></register>"));
    EXPECT_EQ(page.Count("//input[@type='text'][@value='']"), 3);
    EXPECT_EQ(page.Text("//textarea"), "\n");
    // A text that begins with a line break keeps it behind the one the browser drops.
    const THtml twoLines(Transform("<register><additional-info>&#13;\nвторая&#13;\nтретья"
                                   "</additional-info></register>"));
    EXPECT_EQ(twoLines.Text("//textarea"), "\n\r\nвторая\r\nтретья");
}

TEST(TitlePage, OnlyTheStartPictureLinkedToRunTest) {
    const THtml page(Transform("<test-head test-name=\"Физика\"/>", {}, "title"));
    EXPECT_EQ(page.Text("//a/@href"), "stellik://cmd/runtest");
    EXPECT_EQ(page.Text("//a/img/@src"), "startbtn_gif");
    EXPECT_EQ(page.Text("//a/img/@width"), "322");
    EXPECT_EQ(page.Text("//a/img/@height"), "142");
    EXPECT_EQ(page.Text("//a/img/@border"), "0");
    EXPECT_EQ(page.Count("//img"), 1);
    EXPECT_EQ(page.BodyText(), ""); // not even the test name
}

} // namespace
} // namespace stellik::testing
