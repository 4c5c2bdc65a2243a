// The names results files are saved under.
#include "ResultsTestSupport.h"

#include "shell/ResultsName.h"
#include "tests/shell/TimeLocale.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace stellik::testing {
namespace {

TUserSettings Examinee(std::string last, std::string first, std::string patronymic) {
    TUserSettings user;
    user.LastName = std::move(last);
    user.FirstName = std::move(first);
    user.Patronymic = std::move(patronymic);
    user.AddInfo = "not part of the name";
    return user;
}

bool IsUtf8CharStart(unsigned char c) {
    return (c & 0xC0) != 0x80;
}

TEST(ResultsName, ExamineeIsLastFirstPatronymicTrimmedAtTheEndsOnly) {
    struct TCase {
        TUserSettings User;
        std::string Expected;
    };
    const TCase cases[] = {
        {Examinee("Иванов", "Иван", "Иванович"), "Иванов Иван Иванович"},
        {Examinee("Иванов", "", "Иванович"), "Иванов  Иванович"}, // inner blanks stay
        {Examinee("Иванов", "Иван", ""), "Иванов Иван"},
        {Examinee("", "", "Иванович"), "Иванович"},
        {Examinee("  Smith\t", "John ", ""), "Smith\t John"},
        {Examinee("", "", ""), ""},
        {Examinee(" ", "\t", "  "), ""},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(ExamineeName(c.User), c.Expected);
    }
}

TEST(ResultsName, DateExamineeAndTestJoinedWithSlashAndNulMadeDashes) {
    struct TCase {
        TResultsNameParts Parts;
        std::string Expected;
    };
    const TCase cases[] = {
        {{"07.12.2025", "Иванов Иван Иванович", "Тест по физике"},
         "(07.12.2025)_Иванов Иван Иванович_Тест по физике"},
        {{"07.12.2025", "", "Тест"}, "(07.12.2025)_Тест"}, // not registered
        {{"12/07/25", "Smith/Jones", "A/B test"}, "(12-07-25)_Smith-Jones_A-B test"},
        {{"12/07/25", "", std::string("a\0b", 3)}, "(12-07-25)_a-b"},
        // Everything else stays as it is.
        {{"d", "x:y*z?", "<\"\\|>. ."}, "(d)_x:y*z?_<\"\\|>. ."},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(ComposeResultsName(c.Parts, ".lmr"), c.Expected);
    }
}

TEST(ResultsName, ALongNameIsCutInTheTestNameFirstOnACharacterBoundary) {
    std::string longTest;
    for (int i = 0; i < 150; ++i) {
        longTest += "Ж"; // two bytes each
    }
    const std::string longExaminee(300, 'e');
    struct TCase {
        std::string Name;
        TResultsNameParts Parts;
        std::string Suffix;
        std::string Expected; // empty: only its length and start are checked
    };
    const std::string date = "07.12.2025";
    const TCase cases[] = {
        {"fits exactly", {date, "", std::string(255 - 4 - 13, 't')}, ".lmr", ""},
        {"long test name", {date, "Иванов Иван", longTest}, ".lmr", ""},
        {"long test name, odd room", {date, "Ivanov", longTest}, "_7.lmr", ""},
        {"long test and examinee", {date, longExaminee, longTest}, "_12.lmr", ""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::string full = "(" + c.Parts.Date + ")" +
                                 (c.Parts.Examinee.empty() ? "" : "_" + c.Parts.Examinee) + "_" +
                                 c.Parts.Test;
        const std::string name = ComposeResultsName(c.Parts, c.Suffix);
        const size_t room = 255 - c.Suffix.size();
        if (full.size() <= room) {
            EXPECT_EQ(name, full);
            continue;
        }
        // As long as it can be without splitting a character (at most one byte short).
        EXPECT_LE(name.size(), room);
        EXPECT_GE(name.size() + 1, room);
        const std::string head = "(" + c.Parts.Date + ")_";
        ASSERT_EQ(name.substr(0, head.size()), head);
        if (c.Parts.Examinee.size() + head.size() + 1 < room) {
            // Only the test name was cut.
            EXPECT_EQ(full.substr(0, name.size()), name);
            EXPECT_TRUE(IsUtf8CharStart(static_cast<unsigned char>(full[name.size()])));
        } else {
            // The test name is gone, the examinee's cut.
            EXPECT_EQ(name, head + longExaminee.substr(0, room - head.size() - 1) + "_");
        }
    }
}

TEST(ResultsName, CandidatesFitTheFileSystemAndCountFromOne) {
    TScratchFolder folder;
    ASSERT_FALSE(folder.Path().empty());
    std::string longTest;
    for (int i = 0; i < 200; ++i) {
        longTest += "Ж";
    }
    const TResultsNameParts shortParts{"07.12.2025", "Иванов Иван", "Тест"};
    const TResultsNameParts longParts{"07.12.2025", "Иванов Иван", longTest};
    struct TCase {
        std::string Folder;
        const TResultsNameParts* Parts;
        int N;
        std::string Expected; // empty: a long name, created to prove it fits
    };
    const TCase cases[] = {
        {"/srv/results", &shortParts, 0, "/srv/results/(07.12.2025)_Иванов Иван_Тест.lmr"},
        {"/srv/results", &shortParts, 1, "/srv/results/(07.12.2025)_Иванов Иван_Тест_1.lmr"},
        {"/srv/results", &shortParts, 12, "/srv/results/(07.12.2025)_Иванов Иван_Тест_12.lmr"},
        {"/", &shortParts, 0, "/(07.12.2025)_Иванов Иван_Тест.lmr"},
        {folder.Path(), &longParts, 0, ""},
        {folder.Path(), &longParts, 1, ""},
        {folder.Path(), &longParts, 123456, ""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.N);
        const std::string path = ResultsFileCandidate(c.Folder, *c.Parts, c.N);
        if (!c.Expected.empty()) {
            EXPECT_EQ(path, c.Expected);
            continue;
        }
        const std::string suffix = (c.N == 0 ? "" : "_" + std::to_string(c.N)) + ".lmr";
        EXPECT_TRUE(path.ends_with(suffix));
        ASSERT_TRUE(path.starts_with(folder.Path() + "/"))
            << "made only inside the folder: " << path;
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        EXPECT_GE(fd, 0) << path;
        if (fd >= 0) {
            close(fd);
        }
    }
}

TEST(ResultsName, OneTrailingSeparatorIsRemoved) {
    const std::pair<std::string, std::string> cases[] = {
        {"/srv/results/", "/srv/results"},
        {"/srv/results", "/srv/results"},
        {"/srv/results//", "/srv/results/"},
        {"results/", "results"},
        {"/", "/"},
        {"", ""},
    };
    for (const auto& [folder, expected] : cases) {
        EXPECT_EQ(WithoutTrailingSeparator(folder), expected) << folder;
    }
}

TEST(ResultsName, DateIsTheLocalesShortDate) {
    struct TCase {
        const char* Locale;
        TDateTime Date;
        const char* Expected;
    };
    const TCase cases[] = {
        {"C", EncodeDate(2025, 12, 7), "12/07/25"},
        {"C", EncodeDate(2024, 2, 29) + EncodeTime(23, 59, 59), "02/29/24"},
        {"C.UTF-8", EncodeDate(1999, 1, 2), "01/02/99"},
        // Locales the machine may lack; they are skipped then.
        {"ru_RU.UTF-8", EncodeDate(2025, 12, 7), "07.12.2025"},
        {"en_US.UTF-8", EncodeDate(2025, 12, 7), "12/07/2025"},
    };
    int checked = 0;
    for (const TCase& c : cases) {
        const TTimeLocale locale(c.Locale);
        if (!locale.IsActive()) {
            continue;
        }
        EXPECT_EQ(FormatShortDate(c.Date), c.Expected) << c.Locale;
        ++checked;
    }
    EXPECT_GE(checked, 3);

    const TTimeLocale locale("C");
    const TResultsNameParts parts =
        MakeResultsNameParts(EncodeDate(2025, 12, 7), Examinee("Иванов", "Иван", ""), "Тест");
    EXPECT_EQ(ComposeResultsName(parts, ".lmr"), "(12-07-25)_Иванов Иван_Тест");
}

} // namespace
} // namespace stellik::testing
