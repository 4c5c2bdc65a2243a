#include "TestDocumentMaker.h"

namespace stellik::bench {

std::string MakeTestDocument(int count) {
    static const char* const Kinds[] = {"single", "check", "text", "number", "box"};
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<!DOCTYPE test SYSTEM \"XTF_v1p2.dtd\">\n<test>\n<name>Большой тест</name>\n"
                      "<abstract>Проверка скорости чтения\n  большого документа</abstract>\n"
                      "<questions>\n";
    for (int i = 0; i < count; ++i) {
        const std::string kind = Kinds[i % 5];
        const std::string id = "q" + std::to_string(i);
        xml += "<" + kind + " id=\"" + id + "\" random=\"n\"" + (i % 2 ? " format=\"free\"" : "") +
               ">\n  <p>Вопрос <b>" + std::to_string(i) +
               "</b>: выберите\n  правильный ответ.</p>\n";
        if (kind == "single" || kind == "check") {
            xml += "  <answer rating=\"1\" right=\"y\">Первый <i>ответ</i></answer>\n"
                   "  <answer rating=\"0\">Второй ответ</answer>\n"
                   "  <answer rating=\"0\">Третий ответ</answer>\n";
        } else if (kind == "text") {
            xml += "  <table border=\"1\"><tr><td>Слово: <answer rating=\"2\" right=\"Мос\\*\"/>"
                   "</td></tr></table>\n";
        } else if (kind == "number") {
            xml += "  <answer rating=\"1\" right=\"10..20\"/>\n";
        } else {
            xml += "  <answer rating=\"1\" right=\"да\"/><img src=\"pic.gif\" alt=\"рисунок\"/>\n";
        }
        xml += "</" + kind + ">\n";
    }
    xml += "</questions>\n<selector>\n";
    const int sections = 10;
    for (int s = 0; s < sections; ++s) {
        xml += "<section id=\"s" + std::to_string(s) + "\"><name>Секция " + std::to_string(s) +
               "</name><allout idref=\"";
        for (int i = s; i < count; i += sections) {
            xml += "q" + std::to_string(i) + " ";
        }
        xml += "\" count=\"5\"/></section>\n";
    }
    xml += "</selector>\n<messages>\n";
    for (int s = 0; s < sections; ++s) {
        xml +=
            "<sectmsg idref=\"s" + std::to_string(s) + "\" idrating=\"good\">Отлично</sectmsg>\n";
        xml += "<questmsg idref=\"q" + std::to_string(s) +
               "\" idrating=\"bad middle\">Подумайте "
               "<b>ещё</b></questmsg>\n";
    }
    xml += "</messages>\n</test>\n";
    return xml;
}

} // namespace stellik::bench
