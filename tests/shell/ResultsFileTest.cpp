// Writing results files: whole or not at all, and never over another examinee's file.
#include "ResultsTestSupport.h"
#include "ShellKit.h"

#include "shell/ResultsFile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <latch>
#include <set>
#include <thread>

namespace stellik::testing {
namespace {

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

mode_t CurrentUmask() {
    const mode_t mask = umask(0);
    umask(mask);
    return mask;
}

TEST(ResultsFile, TheWholeContentReplacesTheFileAndNothingElseIsLeft) {
    struct TCase {
        std::string Name;
        bool Earlier;
        mode_t EarlierMode;
        std::string Bytes;
    };
    const TCase cases[] = {
        {"a new file", false, 0, std::string("PK\3\4 results\0 bytes", 20)},
        {"over a longer file", true, 0644, "short"},
        {"over a file of restricted access", true, 0640, std::string(100000, 'x')},
        {"empty", true, 0600, ""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TScratchFolder folder;
        ASSERT_FALSE(folder.Path().empty());
        if (c.Earlier) {
            folder.Write("r.lmr", std::string(200000, 'o'));
            chmod((folder / "r.lmr").c_str(), c.EarlierMode);
        }
        WriteWholeFile(folder / "r.lmr", c.Bytes);
        EXPECT_EQ(folder.Read("r.lmr"), c.Bytes);
        EXPECT_EQ(folder.Names(), std::vector<std::string>{"r.lmr"});
        EXPECT_EQ(ModeOf(folder / "r.lmr"), c.Earlier ? c.EarlierMode : 0666 & ~CurrentUmask());
    }
}

TEST(ResultsFile, AFailedWriteLeavesTheEarlierFileAndNoTrace) {
    struct TCase {
        std::string Name;
        std::string Target; // in the scratch folder
        std::string Reason;
        bool LimitSize;
    };
    const TCase cases[] = {
        {"a missing folder", "missing/r.lmr", "No such file or directory", false},
        {"a folder in the way", "d.lmr", "Is a directory", false},
        {"a full disk (files limited in size)", "r.lmr", "File too large", true},
    };
    const std::string earlier = "earlier results";
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TScratchFolder folder;
        ASSERT_FALSE(folder.Path().empty());
        folder.Write("r.lmr", earlier);
        std::filesystem::create_directory(folder / "d.lmr");
        const std::string target = folder / c.Target;
        std::string message;
        {
            const TFileSizeLimit limit(c.LimitSize ? 1000 : RLIM_INFINITY);
            message = MessageOf([&] { WriteWholeFile(target, std::string(5000, 'n')); });
        }
        EXPECT_EQ(message, "Cannot create file \"" + target + "\". " + c.Reason);
        EXPECT_EQ(folder.Read("r.lmr"), earlier);
        EXPECT_EQ(folder.Names(), (std::vector<std::string>{"d.lmr", "r.lmr"}));
    }
}

TEST(ResultsFile, TheFirstFreeNameIsTakenAndGivenBackUnlessKept) {
    const auto candidate = [](const std::string& folder) {
        return [folder](int n) {
            return folder + "/r" + (n == 0 ? "" : "_" + std::to_string(n)) + ".lmr";
        };
    };
    struct TCase {
        std::string Name;
        std::vector<std::string> Existing;
        std::string Expected;
    };
    const TCase cases[] = {
        {"a free folder", {}, "r.lmr"},
        {"one earlier save", {"r.lmr"}, "r_1.lmr"},
        {"two earlier saves", {"r.lmr", "r_1.lmr"}, "r_2.lmr"},
        {"a gap", {"r_1.lmr"}, "r.lmr"},
        {"a folder of that name", {"r.lmr/"}, "r_1.lmr"},
        {"a link to nothing", {"r.lmr@"}, "r_1.lmr"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        for (bool keep : {false, true}) {
            TScratchFolder folder;
            ASSERT_FALSE(folder.Path().empty());
            std::set<std::string> before;
            for (const std::string& name : c.Existing) {
                const std::string plain = name.substr(0, name.find_first_of("/@"));
                if (name.ends_with('/')) {
                    std::filesystem::create_directory(folder / plain);
                } else if (name.ends_with('@')) {
                    std::filesystem::create_symlink(folder / "nowhere", folder / plain);
                } else {
                    folder.Write(plain, "earlier");
                }
                before.insert(plain);
            }
            {
                TReservedFile reserved(candidate(folder.Path()));
                EXPECT_EQ(reserved.GetPath(), folder / c.Expected);
                EXPECT_TRUE(std::filesystem::is_regular_file(reserved.GetPath()));
                EXPECT_EQ(folder.Read(c.Expected), "");
                if (keep) {
                    reserved.Keep();
                }
            }
            std::set<std::string> after(before);
            if (keep) {
                after.insert(c.Expected);
            }
            const std::vector<std::string> names = folder.Names();
            EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), after);
            EXPECT_FALSE(std::filesystem::exists(folder / "nowhere"));
        }
    }

    TScratchFolder folder;
    const std::string missing = folder / "missing";
    EXPECT_EQ(MessageOf([&] { TReservedFile reserved(candidate(missing)); }),
              "Cannot create file \"" + missing + "/r.lmr\". No such file or directory");
}

TEST(ResultsFile, SaversRacingIntoOneFolderGetFilesOfTheirOwn) {
    constexpr int Savers = 8;
    for (int round = 0; round < 4; ++round) {
        TScratchFolder folder;
        ASSERT_FALSE(folder.Path().empty());
        const auto candidate = [&folder](int n) {
            return folder / ("r" + (n == 0 ? "" : "_" + std::to_string(n)) + ".lmr");
        };
        std::latch start(Savers);
        std::vector<std::string> errors(Savers);
        std::vector<std::thread> savers;
        for (int i = 0; i < Savers; ++i) {
            savers.emplace_back([&, i] {
                start.arrive_and_wait();
                errors[i] = MessageOf([&] {
                    TReservedFile reserved(candidate);
                    WriteWholeFile(reserved.GetPath(), "saver " + std::to_string(i));
                    reserved.Keep();
                });
            });
        }
        for (std::thread& saver : savers) {
            saver.join();
        }
        EXPECT_EQ(errors, std::vector<std::string>(Savers));
        std::vector<std::string> expectedNames{"r.lmr"};
        std::set<std::string> contents;
        for (int n = 1; n < Savers; ++n) {
            expectedNames.push_back("r_" + std::to_string(n) + ".lmr");
        }
        std::sort(expectedNames.begin(), expectedNames.end());
        ASSERT_EQ(folder.Names(), expectedNames);
        for (const std::string& name : expectedNames) {
            contents.insert(folder.Read(name));
        }
        EXPECT_EQ(contents.size(), static_cast<size_t>(Savers)); // nobody's file overwritten
    }
}

} // namespace
} // namespace stellik::testing
