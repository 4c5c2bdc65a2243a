#include "TestDocumentMaker.h"

#include <algorithm>
#include <string_view>

namespace stellik::bench {

namespace {

// One block of the demo-shaped test; every "@" becomes the block's number.
constexpr std::string_view DemoQuestions = R"(<single id="planet@" random="n">
<p>На рисунке Солнце и ближайшие к нему планеты. Как называется планета,
отмеченная знаком вопроса?</p>
<img src="solar.png" alt="Солнце и четыре планеты" width="420" height="180"/>
<answer rating="0">Меркурий</answer><answer rating="0">Венера</answer>
<answer rating="2" right="y">Земля</answer><answer rating="0">Марс</answer>
</single>
<check id="even@"><p>Отметьте <b>все</b> чётные числа.</p>
<answer rating="1" right="y">2</answer><answer rating="0">7</answer>
<answer rating="1" right="y">10</answer><answer rating="0">15</answer>
<answer rating="1" right="y">24</answer>
</check>
<number id="sum@"><p>Сколько будет 17 + 25?</p><answer rating="2" right="42"/></number>
<single id="moon@"><p>Как называется спутник Земли?</p>
<answer rating="2" right="y">Луна</answer><answer rating="0">Фобос</answer>
<answer rating="0">Титан</answer>
</single>
<text id="capital@" format="free">
<p>Допишите предложение: столица России — <answer rating="2" right="москва"/>.</p>
</text>
<box id="habitat@" random="n" format="free">
<p>Где живёт каждое из этих животных? Выберите ответ в каждой строке.</p>
<table border="1" cellpadding="4">
<tr><td>Верблюд</td><td><answer rating="1" right="Пустыня"/></td></tr>
<tr><td>Пингвин</td><td><answer rating="1" right="Антарктида"/></td></tr>
<tr><td>Белый медведь</td><td><answer rating="1" right="Арктика"/></td></tr>
</table>
</box>
<single id="lake@"><p>Какое озеро самое глубокое на Земле?</p>
<answer rating="2" right="y">Байкал</answer><answer rating="0">Ладожское</answer>
<answer rating="0">Онежское</answer><answer rating="0">Каспийское море</answer>
</single>
<single id="ocean@"><p>Какой океан самый большой?</p>
<answer rating="2" right="y">Тихий</answer><answer rating="0">Атлантический</answer>
<answer rating="0">Индийский</answer><answer rating="0">Северный Ледовитый</answer>
</single>
<single id="season@"><p>Какое время года наступает после зимы?</p>
<answer rating="2" right="y">Весна</answer><answer rating="0">Лето</answer>
<answer rating="0">Осень</answer>
</single>
<number id="perimeter@" format="free">
<p>Найдите периметр треугольника, изображённого на рисунке.</p>
<img src="triangle.png" alt="Прямоугольный треугольник со сторонами 3, 4 и 5 см"
width="300" height="220"/>
<p>Ответ: <answer rating="2" right="12"/> см.</p>
</number>
<text id="antonym@"><p>Напишите слово, противоположное по смыслу слову «холодный».
Подойдёт любая его форма.</p><answer rating="2" right="горяч\*"/>
</text>
<number id="percent@"><p>Сколько процентов составляет число 18 от числа 72?</p>
<answer rating="2" right="25"/></number>
<number id="circles@"><p>Сколько кругов на рисунке?</p>
<img src="shapes.png" alt="Круги, квадраты и треугольники" width="320" height="200"/>
<answer rating="2" right="5"/></number>
<number id="addition@"><p>Сколько будет 5 + 4?</p><answer rating="2" right="9"/></number>
)";
constexpr int DemoBlockQuestions = 14;

constexpr std::string_view DemoSections = R"(<section id="warmup@"><name>Разминка @</name>
<allout idref="planet@ even@ sum@ moon@" random="n"/></section>
<section id="nature@"><name>Природа @</name><allout idref="capital@ habitat@" random="n"/>
<goodout idref="lake@"/><midlout idref="ocean@"/><badout idref="season@"/></section>
<section id="math@"><name>Математика @</name><allout idref="perimeter@ antonym@"/>
<goodout idref="percent@"/><midlout idref="circles@"/><badout idref="addition@"/></section>
)";

constexpr std::string_view DemoBlockMessages =
    R"(<questmsg idref="planet@" idrating="bad">Неверно: третья планета от Солнца — <b>Земля</b>.</questmsg>
<questmsg idref="even@" idrating="middle bad">Чётные числа здесь — 2, 10 и 24.</questmsg>
<sectmsg idref="math@">Раздел @ окончен.</sectmsg>
)";

void AppendBlock(std::string& xml, std::string_view block, int number) {
    const std::string text = std::to_string(number);
    for (const char c : block) {
        if (c == '@') {
            xml += text;
        } else {
            xml += c;
        }
    }
}

} // namespace

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

std::string MakeDemoShapedDocument(int count) {
    const int blocks = std::max(1, count / DemoBlockQuestions);
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<!DOCTYPE test SYSTEM \"XTF_v1p2.dtd\">\n<test>\n"
                      "<name>Демонстрационный тест</name>\n<author>Стеллик</author>\n"
                      "<abstract>Тест из многих разделов: вопросы пяти видов, картинки,\n"
                      "  сообщения о результатах и подбор вопросов по уровню.</abstract>\n"
                      "<questions>\n";
    for (int b = 0; b < blocks; ++b) {
        AppendBlock(xml, DemoQuestions, b);
    }
    xml += "</questions>\n<selector>\n";
    for (int b = 0; b < blocks; ++b) {
        AppendBlock(xml, DemoSections, b);
    }
    xml += "</selector>\n<messages>\n"
           "<questmsg idrating=\"good\">Верно!</questmsg>\n"
           "<questmsg idrating=\"middle\">Ответ верен лишь отчасти.</questmsg>\n"
           "<questmsg idrating=\"bad\">К сожалению, ответ неверный.</questmsg>\n"
           "<sectmsg idrating=\"good\">Раздел пройден без ошибок!</sectmsg>\n"
           "<sectmsg idrating=\"middle\">Раздел пройден с ошибками.</sectmsg>\n"
           "<sectmsg idrating=\"bad\">Раздел пройден неудачно.</sectmsg>\n";
    for (int b = 0; b < blocks; ++b) {
        AppendBlock(xml, DemoBlockMessages, b);
    }
    xml += "</messages>\n</test>\n";
    return xml;
}

} // namespace stellik::bench
