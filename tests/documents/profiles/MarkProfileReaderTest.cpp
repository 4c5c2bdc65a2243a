#include "ProfileTestSupport.h"

#include "documents/MarkProfileReader.h"
#include "platform/Exception.h"

#include <utility>
#include <vector>

namespace stellik::testing {
namespace {

using TPairs = std::vector<std::pair<int, std::u16string>>;

TPairs PairsOf(const TMarkProfile& profile) {
    TPairs pairs;
    for (int i = 0; i < profile.Elements.GetCount(); ++i) {
        pairs.emplace_back(profile.Elements.GetItem(i).Threshold, profile.Elements.GetItem(i).Mark);
    }
    return pairs;
}

TEST(MarkProfileReader, ElementsKeepDocumentOrderWithoutSortingOrRangeChecks) {
    TParsedXml doc("<mark-profile><for-result value=\"90\">отлично</for-result>"
                   "<for-minimum>плохо</for-minimum><for-result value=\"70\">хорошо</for-result>"
                   "<other value=\"10\">skipped</other><!-- for-result -->"
                   "<for-result value=\"70\">тоже</for-result>"
                   "<for-result value=\"$96\">сверх</for-result>"
                   "<for-result value=\" -0x5\">ниже</for-result>"
                   "<for-minimum>неуд</for-minimum></mark-profile>");
    const auto profile = ParseMarkProfile(doc.Root());
    ASSERT_NE(profile, nullptr);
    EXPECT_EQ(profile->DefaultMark, u"неуд"); // the last one counts
    EXPECT_EQ(
        PairsOf(*profile),
        (TPairs{{90, u"отлично"}, {70, u"хорошо"}, {70, u"тоже"}, {150, u"сверх"}, {-5, u"ниже"}}));
    EXPECT_EQ(profile->GetMark(75), u"хорошо");
}

TEST(MarkProfileReader, OnlyAProfileWithChildNodesIsBuilt) {
    for (std::string_view xml : {"<mark-profile/>", "<mark-profile>\n  \n</mark-profile>"}) {
        TParsedXml doc(xml);
        EXPECT_EQ(ParseMarkProfile(doc.Root()), nullptr) << xml;
    }
    TParsedXml doc("<mark-profile><comment/></mark-profile>");
    const auto profile = ParseMarkProfile(doc.Root());
    ASSERT_NE(profile, nullptr);
    EXPECT_EQ(profile->DefaultMark, u"");
    EXPECT_EQ(profile->Elements.GetCount(), 0);

    TParsedXml wrong("<Mark-Profile><for-minimum>x</for-minimum></Mark-Profile>");
    EXPECT_THAT([&] { ParseMarkProfile(wrong.Root()); },
                Raises("Документ XML не является документом профиля оценок"));
}

TEST(MarkProfileReader, AThresholdThatIsNoIntegerRaisesTheConversionError) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "''"},
        {" value=\"high\"", "'high'"},
        {" value=\"50 \"", "'50 '"},
        {" value=\"3000000000\"", "'3000000000'"},
    };
    for (const auto& [attribute, quoted] : cases) {
        TParsedXml doc(std::string("<mark-profile><for-result value=\"10\">a</for-result>"
                                   "<for-result") +
                       attribute + ">b</for-result></mark-profile>");
        EXPECT_THAT([&] { ParseMarkProfile(doc.Root()); },
                    Raises<EConvertError>(std::string(quoted) + " is not a valid integer value"));
    }
}

TEST(MarkProfileReader, MarkTextsAreTakenAsTheDocumentGivesThem) {
    TXpObjModel model;
    model.SetNormalizeData(false);
    model.LoadBytes("<mark-profile><for-minimum>  два </for-minimum>"
                    "<for-result value=\"80\">от<b>лич</b><![CDATA[но]]></for-result>"
                    "</mark-profile>");
    const auto profile = ParseMarkProfile(model.DocumentElement());
    ASSERT_NE(profile, nullptr);
    EXPECT_EQ(profile->DefaultMark, u"  два ");
    EXPECT_EQ(PairsOf(*profile), (TPairs{{80, u"отлично"}}));
}

} // namespace
} // namespace stellik::testing
