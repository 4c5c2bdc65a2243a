#include "ShellKit.h"

#include "documents/SettingsObj.h"
#include "documents/TestParser.h"
#include "package/Base64.h"
#include "package/CryptManager.h"
#include "package/PackageKeys.h"
#include "package/StreamZip.h"
#include "platform/Exception.h"
#include "platform/Resources.h"
#include "platform/Unicode.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace stellik::testing {

namespace {

const TPackageKeys& KitKeys() {
    static const TPackageKeys keys = MakePlayerKeys();
    return keys;
}

// Each test imports into a key container of its own (inside the temporary home).
std::string FreshContainerName() {
    static int counter = 0;
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return std::string("Test.Shell.") + (info != nullptr ? info->name() : "none") + "." +
           std::to_string(++counter);
}

std::string SourceFile(const std::string& path) {
    std::ifstream file(std::string(STELLIK_SOURCE_DIR) + "/" + path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

} // namespace

const char* const ProbeStylesheet = R"xsl(<?xml version="1.0" encoding="utf-8"?>
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
<xsl:param name="skipbtn" select="'1'"/>
<xsl:param name="report-view-allow" select="'1'"/>
<xsl:param name="save-result-required" select="'0'"/>
<xsl:template match="/"><html><body>
<p id="root"><xsl:value-of select="name(/*)"/></p>
<p id="name"><xsl:value-of select="/*/@test-name"/></p>
<p id="params"><xsl:value-of select="concat($skipbtn, $report-view-allow, $save-result-required)"/></p>
<xsl:if test="//test-stop"><p id="stop"><xsl:value-of select="name(//test-stop/*[1])"/></p></xsl:if>
<xsl:for-each select="//@src"><img src="{.}"/></xsl:for-each>
</body></html></xsl:template>
</xsl:stylesheet>)xsl";

TMsgResult TRecordingDialogs::MessageBox(const std::string& text, TMsgButtons buttons,
                                         TMsgIcon icon) {
    Messages.push_back({text, buttons, icon});
    if (!Answers.empty()) {
        const TMsgResult answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    return buttons == TMsgButtons::Ok ? TMsgResult::Ok : TMsgResult::No;
}

bool TRecordingDialogs::ExecuteFileDialog(const TFileDialogOptions& options,
                                          std::string& fileName) {
    FileDialogs.push_back(options);
    ProposedNames.push_back(fileName);
    if (ChosenFiles.empty()) {
        return false;
    }
    fileName = ChosenFiles.front();
    ChosenFiles.pop_front();
    return true;
}

std::string KitTestXml(const std::string& name) {
    return R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE test SYSTEM "XTF_v1p2.dtd">
<test><name>)" +
           name + R"(</name>
<questions>
<single id="capital" random="n">Столица <img src="pic.gif"/>?<answer rating="1" right="y">Москва</answer><answer rating="0">Париж</answer></single>
<text id="poet" rating="2" random="n" format="free">Автор: <answer right="Пушкин"/></text>
<check id="rivers" random="n">Реки:<answer rating="1" right="y">Дунай</answer><answer rating="1" right="y">Рейн</answer><answer rating="0">Нил</answer></check>
</questions>
<selector><section id="s1"><name>Первая</name><allout idref="capital poet rivers" random="n"/></section></selector>
</test>)";
}

std::string KitSettingsXml(const std::string& content) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<sk-settings>" + content + "</sk-settings>";
}

std::string EncryptForPackage(const std::string& plain) {
    TXmlCryptManager maker;
    TMemoryStream data(plain);
    maker.Encrypt(data, Base64Encode(KitKeys().PublicKeyBlob));
    TMemoryStream document;
    maker.GetDocument().SaveToStream(document);
    return std::string(document.View());
}

std::string MakeArchive(const std::vector<std::pair<std::string, std::string>>& members) {
    TMemoryStream archive;
    TStreamZip writer;
    writer.Open(archive);
    for (const auto& [name, bytes] : members) {
        TMemoryStream member(bytes);
        writer.AddFromStream(name, &member);
    }
    writer.Close();
    return std::string(archive.View());
}

std::map<std::string, std::string> PlayerResources(const std::string& testXml,
                                                   const std::string& settingsXml) {
    const TSecureBytes& privateKey = KitKeys().PrivateKeyBlob;
    const auto keySpan = privateKey.Span();
    std::map<std::string, std::string> resources;
    resources["DVCK"] = std::string(keySpan.begin(), keySpan.end());
    resources["DVCF"] = MakeArchive({{"scontent.xml", EncryptForPackage(testXml)},
                                     {"settings.xml", EncryptForPackage(settingsXml)},
                                     {"pic.gif", PictureBytes}});
    for (const char* version : {"XTF_v1p0", "XTF_v1p1", "XTF_v1p2"}) {
        resources[AsciiUpper(version)] = SourceFile(std::string("resources/") + version + ".dtd");
    }
    resources["VIEW_STYLE"] = SourceFile("resources/view_style.xsl");
    resources["STARTBTN_GIF"] = StartButtonBytes;
    return resources;
}

TShellKit::TShellKit(const std::string& settingsXml, const std::string& testXml) {
    CryptManager.KeyStoreName = FreshContainerName();
    Resources = PlayerResources(testXml, settingsXml);
    // As the program entry does it: the window first, then the service modules.
    Window = std::make_unique<TMainFrm>(View, Dialogs, Services);
    CryptManager.KeyStoreName = FreshContainerName();
    Services.TestParserObj = std::make_unique<TTestParserObj>();
    Services.SettingsObj = std::make_unique<TSettingsObj>();
    Services.TransformProcessor = std::make_unique<TTransformProcessor>();
    Services.XmlCryptManager = &Crypt;
}

TShellKit::~TShellKit() = default;

void TShellKit::Start() {
    TResources::Install(Resources);
    Window->FormShow();
    Window->FormActivate();
}

std::string TShellKit::StartError() {
    return MessageOf([this] { Start(); });
}

std::string TShellKit::PageRoot() {
    const TXpNode root = Page().DocumentElement();
    return root ? Utf16ToUtf8(root.NodeName()) : "";
}

std::string TShellKit::PageText(const std::u16string& xpath) {
    return Utf16ToUtf8(Page().Document().SelectString(xpath));
}

TUserSettings& TShellKit::User() {
    return *Services.SettingsObj->GetUserSettings();
}

void TShellKit::Submit(const std::string& command, const TFormFields& fields) {
    Window->ExecuteLink("stellik://cmd/" + command, &fields);
}

void TShellKit::Click(const std::string& command) {
    Window->ExecuteLink("stellik://cmd/" + command, nullptr);
}

TPackageKeys MakePlayerKeys() {
    const std::string password = "qm847";
    return MakePackageKeys({reinterpret_cast<const uint8_t*>(password.data()), password.size()});
}

} // namespace stellik::testing
