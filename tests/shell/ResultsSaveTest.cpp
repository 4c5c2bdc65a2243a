// Results files: their content, their names, and when they are saved.
#include "ResultsTestSupport.h"
#include "ShellKit.h"

#include "package/Base64.h"
#include "package/CryptManager.h"
#include "package/PackageKeys.h"
#include "package/ZipHandles.h"
#include "platform/DateTime.h"
#include "shell/ResultsName.h"
#include "tests/support/TemporaryHome.h"

#include <gtest/gtest.h>

namespace stellik::testing {
namespace {

using TMembers = std::vector<std::pair<std::string, std::string>>;

const std::string UnsavedQuestion = "Результаты тестирования не сохранены\r\nСохранить результаты?";
const std::string SecondPictureBytes = "GIF89a-second-picture";

// Three questions; the first and the last show the same picture, the second one picture the
// package has and one it lacks.
std::string PicturesTestXml() {
    return R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE test SYSTEM "XTF_v1p2.dtd">
<test><name>Проверка</name>
<questions>
<single id="capital" random="n">Столица <img src="pic.gif"/>?<answer rating="1" right="y">Москва</answer><answer rating="0">Париж</answer></single>
<text id="poet" rating="2" random="n" format="free">Автор <img src="second.gif"/><img src="missing.gif"/>: <answer right="Пушкин"/></text>
<check id="rivers" random="n">Реки <img src="pic.gif"/>:<answer rating="1" right="y">Дунай</answer><answer rating="1" right="y">Рейн</answer><answer rating="0">Нил</answer></check>
</questions>
<selector><section id="s1"><name>Первая</name><allout idref="capital poet rivers" random="n"/></section></selector>
</test>)";
}

// Today's short date of the locale as a file name holds it: "/" cannot stand there.
std::string DateInName() {
    std::string date = FormatShortDate(Now());
    std::replace(date.begin(), date.end(), '/', '-');
    return date;
}

std::string SavePath(const std::string& folder) {
    return "<save-results><path>" + folder + "</path></save-results>";
}

// The kit's player, its package holding the second picture too.
class TResultsKit : public TShellKit {
public:
    explicit TResultsKit(const std::string& settings = "<save-results/>",
                         const std::string& testXml = PicturesTestXml())
        : TShellKit(KitSettingsXml(settings), testXml) {
        Resources["DVCF"] =
            MakeArchive({{"scontent.xml", EncryptForPackage(testXml)},
                         {"settings.xml", EncryptForPackage(KitSettingsXml(settings))},
                         {"pic.gif", PictureBytes},
                         {"second.gif", SecondPictureBytes}});
    }

    void Register(const std::string& last, const std::string& first,
                  const std::string& patronymic) {
        User().LastName = last;
        User().FirstName = first;
        User().Patronymic = patronymic;
    }

    // Runs the test, answering every question, until it stops.
    void FinishRun() {
        Click("runtest");
        for (int i = 0; i < 10 && Doc().IsRunning(); ++i) {
            Submit("testinput",
                   {{"ANSW/0", "0"}, {"ANSW/1/0", "Пушкин"}, {"ANSW/2", "0"}, {"CMD/NEXT", ""}});
        }
        ASSERT_FALSE(Doc().IsRunning());
    }

    // The results document as the results file must hold it: built into a document object
    // that keeps text as written, saved as UTF-8 with signature.
    std::string ExpectedContent() {
        TXpObjModel model;
        model.SetNormalizeData(false);
        Frame().BuildResultsXml(model);
        TMemoryStream stream;
        model.SaveToStream(stream);
        return std::string(stream.View());
    }

    // The name a save made now gets, without folder and extension.
    std::string ResultsName() {
        return ComposeResultsName(MakeResultsNameParts(Now(), User(), Frame().GetTestName()),
                                  ".lmr");
    }
};

// The members of a ZIP archive in their order, with their content.
TMembers ReadArchive(const std::string& bytes) {
    TZipError error;
    ZipSourcePtr source(zip_source_buffer_create(bytes.data(), bytes.size(), 0, error.Get()));
    if (!source) {
        return {{"not an archive", ""}};
    }
    ZipArchivePtr archive(zip_open_from_source(source.get(), ZIP_RDONLY, error.Get()));
    if (!archive) {
        return {{"not an archive", ""}};
    }
    source.release(); // the archive owns it now
    TMembers members;
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive.get(), 0); ++i) {
        const auto index = static_cast<zip_uint64_t>(i);
        zip_stat_t stat;
        zip_stat_index(archive.get(), index, 0, &stat);
        std::string content(stat.size, '\0');
        ZipFilePtr file(zip_fopen_index(archive.get(), index, 0));
        zip_fread(file.get(), content.data(), content.size());
        members.emplace_back(zip_get_name(archive.get(), index, 0), content);
    }
    return members;
}

std::vector<std::string> NamesOf(const TMembers& members) {
    std::vector<std::string> names;
    for (const auto& member : members) {
        names.push_back(member.first);
    }
    return names;
}

// A key pair of an examiner's own: results are encrypted for its public key, and only its
// private key, imported into a container of its own, reads them.
const TPackageKeys& ExaminerKeys() {
    static const TPackageKeys keys = [] {
        const std::string password = "examiner";
        return MakePackageKeys(
            {reinterpret_cast<const uint8_t*>(password.data()), password.size()});
    }();
    return keys;
}

std::string DecryptForExaminer(const std::string& document) {
    const std::string packageContainer = CryptManager.KeyStoreName;
    CryptManager.KeyStoreName = "Test.Results.Examiner";
    const auto blob = ExaminerKeys().PrivateKeyBlob.Span();
    CryptManager.ImportKeyWithPassword(
        TMemoryStream(std::string_view(reinterpret_cast<const char*>(blob.data()), blob.size())),
        TMemoryStream(std::string_view("examiner")));
    TXmlCryptManager reader;
    TMemoryStream member{std::string_view(document)};
    reader.LoadStream(member);
    TMemoryStream plain;
    const std::string error = MessageOf([&] { reader.Decrypt(plain); });
    CryptManager.KeyStoreName = packageContainer;
    return error.empty() ? std::string(plain.View()) : error;
}

TEST(ResultsFileContent, ContentIsTheResultsDocumentInUtf8WithReferencesAndSignature) {
    TScratchFolder folder;
    TResultsKit kit;
    ASSERT_EQ(kit.StartError(), "");
    kit.Register("Иванов", "Иван", "");
    kit.User().AddInfo = "группа 5\r\nкурс 2";
    kit.FinishRun();
    kit.Click("lastreport"); // the report page changes nothing in the file
    kit.Frame().SaveResults(folder / "r.lmr");
    EXPECT_TRUE(kit.Frame().GetResultsSaved());

    const TMembers members = ReadArchive(folder.Read("r.lmr"));
    ASSERT_FALSE(members.empty());
    EXPECT_EQ(members[0].first, "content.xml");
    const std::string& content = members[0].second;
    EXPECT_EQ(content, kit.ExpectedContent());

    const std::string head =
        "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
        "<test-results>&#10;<test-stop-reason>&#10;test-end&#10;</test-stop-reason>&#10;"
        "<user><first-name>&#1048;&#1074;&#1072;&#1085;</first-name>"
        "<last-name>&#1048;&#1074;&#1072;&#1085;&#1086;&#1074;</last-name>"
        "<patronymic-name></patronymic-name>"
        "<additional-info>&#1075;&#1088;&#1091;&#1087;&#1087;&#1072; 5&#13;&#10;"
        "&#1082;&#1091;&#1088;&#1089; 2</additional-info></user>"
        "<test>&#1055;&#1088;&#1086;&#1074;&#1077;&#1088;&#1082;&#1072;</test>"
        "<summary>&#10;<begin>";
    EXPECT_EQ(content.substr(0, head.size()), head);
    EXPECT_TRUE(content.ends_with("</test-results>"));
    // After the signature and the declaration's line break: printable ASCII only.
    const std::string body = content.substr(head.find("<test-results>"));
    EXPECT_EQ(body.find_first_of(std::string("\r\n\t\0", 4)), std::string::npos);
    EXPECT_TRUE(std::all_of(body.begin(), body.end(), [](char c) { return c >= 32 && c <= 126; }));
    // The pictures keep the names the test gives them.
    EXPECT_NE(body.find("<img src=\"pic.gif\"/>"), std::string::npos);
    EXPECT_EQ(body.find("stellik:"), std::string::npos);
}

TEST(ResultsFileContent, PicturesFollowInDocumentOrderEachOnceAMissingOneEmpty) {
    struct TCase {
        std::string Name;
        std::string Settings;
        std::vector<std::string> Names;
    };
    TScratchFolder folder;
    const TCase cases[] = {
        {"plain", "<save-results/>", {"content.xml", "pic.gif", "second.gif", "missing.gif"}},
        {"encrypted",
         "<save-results><encrypt-key>" + Base64Encode(ExaminerKeys().PublicKeyBlob) +
             "</encrypt-key></save-results>",
         {"scontent.xml", "pic.gif", "second.gif", "missing.gif"}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TResultsKit kit(c.Settings);
        ASSERT_EQ(kit.StartError(), "");
        kit.FinishRun();
        kit.Frame().SaveResults(folder / "r.lmr");
        const TMembers members = ReadArchive(folder.Read("r.lmr"));
        EXPECT_EQ(NamesOf(members), c.Names);
        ASSERT_EQ(members.size(), 4U);
        EXPECT_EQ(members[1].second, PictureBytes);
        EXPECT_EQ(members[2].second, SecondPictureBytes);
        EXPECT_EQ(members[3].second, "");
    }
}

TEST(ResultsFileContent, EncryptedContentDecryptsToThePlainContent) {
    TScratchFolder folder;
    TResultsKit kit("<save-results><encrypt-key>" + Base64Encode(ExaminerKeys().PublicKeyBlob) +
                    "</encrypt-key></save-results>");
    ASSERT_EQ(kit.StartError(), "");
    kit.Register("Петров", "Пётр", "Петрович");
    kit.FinishRun();
    kit.Frame().SaveResults(folder / "r.lmr");
    const TMembers members = ReadArchive(folder.Read("r.lmr"));
    ASSERT_FALSE(members.empty());
    EXPECT_EQ(members[0].first, "scontent.xml");
    EXPECT_TRUE(members[0].second.starts_with(
        "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<EncryptedData xmlns=\""));
    EXPECT_EQ(DecryptForExaminer(members[0].second), kit.ExpectedContent());
}

TEST(ResultsFileContent, AFailedSaveLeavesTheEarlierFileAndTheResultsUnsaved) {
    struct TCase {
        std::string Name;
        std::string Settings;
        std::string Target;
        bool DiskFull;
        std::string Message;
    };
    TScratchFolder folder;
    const TCase cases[] = {
        {"a damaged key", "<save-results><encrypt-key>AAAA</encrypt-key></save-results>", "r.lmr",
         false, "Unable Import Public Key"},
        {"a missing folder", "<save-results/>", "missing/r.lmr", false,
         "Cannot create file \"" + folder / "missing/r.lmr" + "\". No such file or directory"},
        {"a full disk", "<save-results/>", "r.lmr", true,
         "Cannot create file \"" + folder / "r.lmr" + "\". File too large"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        folder.Write("r.lmr", "earlier");
        TResultsKit kit(c.Settings);
        ASSERT_EQ(kit.StartError(), "");
        kit.FinishRun();
        const TFileSizeLimit limit(c.DiskFull ? 300 : RLIM_INFINITY);
        EXPECT_EQ(MessageOf([&] { kit.Frame().SaveResults(folder / c.Target); }), c.Message);
        EXPECT_FALSE(kit.Frame().GetResultsSaved());
        EXPECT_EQ(folder.Read("r.lmr"), "earlier");
        EXPECT_EQ(folder.Names(), std::vector<std::string>{"r.lmr"});
    }
}

TEST(AutoSave, EachStopSavesUnderTheNextFreeName) {
    struct TCase {
        std::string Name;
        std::vector<std::string> Examinee; // last, first, patronymic
        std::string FolderSuffix;
    };
    const TCase cases[] = {
        {"registered", {"Иванов", "Иван", "Иванович"}, ""},
        {"not registered", {"", "", ""}, ""},
        {"folder with a trailing separator", {"Smith", "John", ""}, "/"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TScratchFolder folder;
        TResultsKit kit(SavePath(folder.Path() + c.FolderSuffix));
        ASSERT_EQ(kit.StartError(), "");
        kit.Register(c.Examinee[0], c.Examinee[1], c.Examinee[2]);
        const std::string name = kit.ResultsName();
        const std::string examinee = c.Examinee[0].empty() ? "" : "_" + ExamineeName(kit.User());
        EXPECT_EQ(name, "(" + DateInName() + ")" + examinee + "_Проверка");
        std::vector<std::string> expected;
        for (int run = 0; run < 3; ++run) {
            kit.FinishRun(); // the stop page saves
            EXPECT_TRUE(kit.Frame().GetResultsSaved());
            expected.push_back(name + (run == 0 ? "" : "_" + std::to_string(run)) + ".lmr");
            std::sort(expected.begin(), expected.end());
            EXPECT_EQ(folder.Names(), expected);
        }
        EXPECT_TRUE(kit.Dialogs.Messages.empty());
        EXPECT_TRUE(kit.Dialogs.FileDialogs.empty());
    }
}

TEST(AutoSave, AMissingFolderSavesNothingAndSaysNothing) {
    TScratchFolder folder;
    for (const std::string& missing : {folder / "missing", folder / "missing/", folder / "file"}) {
        SCOPED_TRACE(missing);
        folder.Write("file", "a file, not a folder");
        TResultsKit kit(SavePath(missing));
        ASSERT_EQ(kit.StartError(), "");
        kit.FinishRun();
        EXPECT_FALSE(kit.Frame().GetResultsSaved());
        EXPECT_EQ(folder.Names(), std::vector<std::string>{"file"});
        EXPECT_TRUE(kit.Dialogs.Messages.empty());
        EXPECT_NO_THROW(kit.Frame().AutoSaveResults(missing));
    }
}

TEST(AutoSave, TheTimeRunningOutSavesAtOnce) {
    TScratchFolder folder;
    TResultsKit kit("<test-time>1</test-time>" + SavePath(folder.Path()));
    ASSERT_EQ(kit.StartError(), "");
    kit.Click("runtest");
    for (int i = 0; i < 59; ++i) {
        kit.Frame().Timer1Timer();
    }
    EXPECT_TRUE(folder.Names().empty());
    kit.Frame().Timer1Timer();
    EXPECT_FALSE(kit.Doc().IsRunning());
    EXPECT_EQ(kit.PageText(u"name(/test-out/test-stop/*)"), "time-out");
    EXPECT_EQ(folder.Names(), std::vector<std::string>{kit.ResultsName() + ".lmr"});
    EXPECT_TRUE(kit.Frame().GetResultsSaved());
    const TMembers members = ReadArchive(folder.Read(kit.ResultsName() + ".lmr"));
    ASSERT_FALSE(members.empty());
    EXPECT_EQ(members[0].second, kit.ExpectedContent());
}

TEST(SaveDialog, ProposesTheResultsNameAndSavesOnlyWhenConfirmed) {
    TScratchFolder folder;
    TResultsKit kit;
    ASSERT_EQ(kit.StartError(), "");
    kit.Register("Иванов", "Иван", "");
    kit.FinishRun();

    kit.Click("saveresults"); // cancelled
    ASSERT_EQ(kit.Dialogs.FileDialogs.size(), 1U);
    const TFileDialogOptions& options = kit.Dialogs.FileDialogs[0];
    EXPECT_EQ(options.DefaultExt, ".lmr");
    EXPECT_EQ(options.Filter, "*.lmr|*.lmr");
    EXPECT_EQ(options.InitialDir, TemporaryHome()) << "no documents folder: the home";
    EXPECT_EQ(options.Title, "");
    EXPECT_FALSE(options.FileMustExist);
    EXPECT_TRUE(options.OverwritePrompt);
    EXPECT_FALSE(options.NoChangeDir);
    EXPECT_FALSE(options.OpenDialog);
    EXPECT_EQ(kit.Dialogs.ProposedNames,
              std::vector<std::string>{"(" + DateInName() + ")_Иванов Иван_Проверка.lmr"});
    EXPECT_EQ(kit.Frame().MakeResultsName() + ".lmr", kit.Dialogs.ProposedNames[0]);
    EXPECT_FALSE(kit.Frame().GetResultsSaved());
    EXPECT_TRUE(folder.Names().empty());

    kit.Dialogs.ChosenFiles = {folder / "chosen.lmr"};
    kit.Click("saveresults");
    EXPECT_TRUE(kit.Frame().GetResultsSaved());
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"chosen.lmr"});
    EXPECT_EQ(ReadArchive(folder.Read("chosen.lmr"))[0].second, kit.ExpectedContent());
}

TEST(SaveDialog, AChosenLinkSavesIntoTheFileItPointsTo) {
    TScratchFolder folder;
    std::filesystem::create_directory(folder / "kept");
    folder.Write("kept/results.lmr", "earlier");
    std::filesystem::create_symlink(folder / "kept/results.lmr", folder / "link.lmr");
    TResultsKit kit;
    ASSERT_EQ(kit.StartError(), "");
    kit.FinishRun();
    kit.Dialogs.ChosenFiles = {folder / "link.lmr"};
    kit.Click("saveresults");
    EXPECT_TRUE(kit.Frame().GetResultsSaved());
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.lmr"));
    EXPECT_EQ(ReadArchive(folder.Read("kept/results.lmr"))[0].second, kit.ExpectedContent());
}

TEST(SaveDialog, OpensAlsoWhenAResultsFolderIsSet) {
    TScratchFolder resultsFolder;
    TScratchFolder chosenFolder;
    TResultsKit kit(SavePath(resultsFolder.Path()));
    ASSERT_EQ(kit.StartError(), "");
    kit.FinishRun(); // saved into the results folder at the stop page
    ASSERT_EQ(resultsFolder.Names().size(), 1U);
    kit.Dialogs.ChosenFiles = {chosenFolder / "chosen.lmr"};
    kit.Click("saveresults");
    EXPECT_EQ(kit.Dialogs.FileDialogs.size(), 1U);
    EXPECT_EQ(resultsFolder.Names().size(), 1U);
    EXPECT_EQ(chosenFolder.Names(), std::vector<std::string>{"chosen.lmr"});
}

TEST(ClosingWithResults, UnsavedResultsAreNeverLostSilently) {
    enum TFolder { NoFolder, Missing, MadeBeforeClosing };
    const std::string automatic = "*"; // the automatic name in the results folder
    struct TCase {
        std::string Name;
        TFolder Folder;      // a missing folder during the run saves nothing at the stop page
        bool WritesFail;     // files cannot grow while closing
        TMsgResult Answer;   // to whether to save
        std::string Chosen;  // in the dialog; "": cancelled
        bool ErrorShown;     // the automatic save's failure
        bool Asked;          // whether to save
        bool Closes;         // false: the window stays open
        std::string SavedAs; // "": nothing saved
    };
    const TCase cases[] = {
        {"no folder, declined", NoFolder, false, TMsgResult::No, "", false, true, true, ""},
        {"no folder, cancelled", NoFolder, false, TMsgResult::Yes, "", false, true, true, ""},
        {"no folder, saved", NoFolder, false, TMsgResult::Yes, "mine.lmr", false, true, true,
         "mine.lmr"},
        {"no folder, the save fails", NoFolder, false, TMsgResult::Yes, "missing/mine.lmr", false,
         true, false, ""},
        {"folder missing, saved elsewhere", Missing, false, TMsgResult::Yes, "mine.lmr", false,
         true, true, "mine.lmr"},
        {"folder made before closing", MadeBeforeClosing, false, TMsgResult::No, "", false, false,
         true, automatic},
        {"writing fails, declined", MadeBeforeClosing, true, TMsgResult::No, "", true, true, true,
         ""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TScratchFolder folder;
        const std::string results = folder / "results";
        TResultsKit kit(c.Folder == NoFolder ? "<save-results/>" : SavePath(results));
        ASSERT_EQ(kit.StartError(), "");
        kit.FinishRun();
        ASSERT_FALSE(kit.Frame().GetResultsSaved());
        if (c.Folder == MadeBeforeClosing) {
            std::filesystem::create_directory(results);
        }
        kit.Dialogs.Answers = {c.Answer};
        if (!c.Chosen.empty()) {
            kit.Dialogs.ChosenFiles = {folder / c.Chosen};
        }
        std::string error;
        bool closed = false;
        {
            const TFileSizeLimit limit(c.WritesFail ? 300 : RLIM_INFINITY);
            error = MessageOf([&] { closed = kit.Frame().FormClose({}); });
        }
        EXPECT_EQ(closed, c.Closes);
        EXPECT_EQ(error.empty(), c.Closes) << error;
        EXPECT_EQ(kit.Dialogs.Exceptions.size(), c.ErrorShown ? 1U : 0U);
        std::vector<std::string> texts;
        for (const TMessageRecord& message : kit.Dialogs.Messages) {
            texts.push_back(message.Text);
        }
        EXPECT_EQ(texts,
                  c.Asked ? std::vector<std::string>{UnsavedQuestion} : std::vector<std::string>{});
        const bool dialog = c.Asked && c.Answer == TMsgResult::Yes;
        EXPECT_EQ(kit.Dialogs.FileDialogs.size(), dialog ? 1U : 0U);
        EXPECT_EQ(kit.Frame().GetResultsSaved(), !c.SavedAs.empty());

        std::vector<std::string> saved; // beside the results folder, and in it
        for (const std::string& name : folder.Names()) {
            if (name != "results") {
                saved.push_back(name);
            }
        }
        if (std::filesystem::exists(results)) {
            for (const std::string& name : TScratchFolder::List(results)) {
                saved.push_back(name == kit.ResultsName() + ".lmr" ? automatic : name);
            }
        }
        EXPECT_EQ(saved, c.SavedAs.empty() ? std::vector<std::string>{}
                                           : std::vector<std::string>{c.SavedAs});
    }
}

TEST(ClosingWithResults, ClosingDuringARunSavesOnceAtTheStopPage) {
    TScratchFolder folder;
    TResultsKit kit(SavePath(folder.Path()));
    ASSERT_EQ(kit.StartError(), "");
    kit.Click("runtest");
    kit.Dialogs.Answers = {TMsgResult::Yes};
    EXPECT_TRUE(kit.Frame().FormClose({}));
    EXPECT_EQ(kit.Doc().GetStopReason(), u"test-end");
    EXPECT_TRUE(kit.Frame().GetResultsSaved());
    EXPECT_EQ(folder.Names(), std::vector<std::string>{kit.ResultsName() + ".lmr"});
    EXPECT_EQ(kit.Dialogs.Messages.size(), 1U); // only whether to end the run
}

} // namespace
} // namespace stellik::testing
