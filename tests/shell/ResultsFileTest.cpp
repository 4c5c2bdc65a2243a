// Writing results files: whole or not at all, and never over another examinee's file.
#include "ResultsTestSupport.h"
#include "ShellKit.h"

#include "shell/ResultsFile.h"
#include "tests/support/HangGuard.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <functional>
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

// The n-th name of an automatic save of "r" into folder.
std::function<std::string(int)> Candidates(const std::string& folder) {
    return [folder](int n) {
        return folder + "/r" + (n == 0 ? "" : "_" + std::to_string(n)) + ".lmr";
    };
}

TEST(ResultsFile, ANewFileTakesTheFirstFreeNameWhole) {
    struct TCase {
        std::string Name;
        std::vector<std::string> Existing; // "/" after a folder's name, "@" after a link's
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
    const std::string bytes = std::string("PK\3\4 results", 13) + std::string(100000, 'x');
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TScratchFolder folder;
        ASSERT_FALSE(folder.Path().empty());
        std::set<std::string> expected{c.Expected};
        for (const std::string& name : c.Existing) {
            const std::string plain = name.substr(0, name.find_first_of("/@"));
            if (name.ends_with('/')) {
                std::filesystem::create_directory(folder / plain);
            } else if (name.ends_with('@')) {
                std::filesystem::create_symlink(folder / "nowhere", folder / plain);
            } else {
                folder.Write(plain, "earlier");
            }
            expected.insert(plain);
        }
        EXPECT_EQ(WriteNewFile(Candidates(folder.Path()), bytes), folder / c.Expected);
        EXPECT_EQ(folder.Read(c.Expected), bytes);
        EXPECT_EQ(ModeOf(folder / c.Expected), 0666 & ~CurrentUmask());
        const std::vector<std::string> names = folder.Names(); // no temporary file left
        EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), expected);
        for (const std::string& name : c.Existing) {
            if (!name.ends_with('/') && !name.ends_with('@')) {
                EXPECT_EQ(folder.Read(name), "earlier");
            }
        }
        EXPECT_FALSE(std::filesystem::exists(folder / "nowhere"));
    }
}

TEST(ResultsFile, ANewFileThatCannotBeWrittenLeavesNothing) {
    TScratchFolder folder;
    const std::string missing = folder / "missing";
    EXPECT_EQ(MessageOf([&] { WriteNewFile(Candidates(missing), "bytes"); }),
              "Cannot create file \"" + missing + "/r.lmr\". No such file or directory");
    folder.Write("r.lmr", "earlier");
    {
        const TFileSizeLimit limit(1000);
        EXPECT_EQ(
            MessageOf([&] { WriteNewFile(Candidates(folder.Path()), std::string(5000, 'n')); }),
            "Cannot create file \"" + folder / "r.lmr" + "\". File too large");
    }
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"r.lmr"});
    EXPECT_EQ(folder.Read("r.lmr"), "earlier");
}

// A saver killed at any moment leaves either no results file or the whole one: never an empty
// or cut-off file under a results name (hidden temporary files do not count).
TEST(ResultsFile, ASaverKilledAtAnyMomentLeavesNoPartOfAFile) {
    const std::string bytes = std::string(8 << 20, 'r') + "end";
    int whole = 0;
    for (int delayUs = 0; delayUs < 60000; delayUs += 3000) {
        SCOPED_TRACE(delayUs);
        TScratchFolder folder;
        ASSERT_FALSE(folder.Path().empty());
        const pid_t saver = fork();
        ASSERT_GE(saver, 0);
        if (saver == 0) {
            _exit(MessageOf([&] { WriteNewFile(Candidates(folder.Path()), bytes); }).empty() ? 0
                                                                                             : 1);
        }
        usleep(static_cast<useconds_t>(delayUs));
        kill(saver, SIGKILL);
        waitpid(saver, nullptr, 0);
        for (const std::string& name : folder.Names()) {
            if (!name.starts_with('.')) {
                EXPECT_EQ(name, "r.lmr");
                EXPECT_TRUE(folder.Read(name) == bytes) << "a part of the file: " << name;
                ++whole;
            }
        }
    }
    RecordProperty("whole_files", whole);
}

TEST(ResultsFile, SaversRacingIntoOneFolderGetFilesOfTheirOwn) {
    constexpr int Savers = 8;
    for (int round = 0; round < 4; ++round) {
        TScratchFolder folder;
        ASSERT_FALSE(folder.Path().empty());
        std::latch start(Savers);
        std::vector<std::string> errors(Savers);
        std::vector<std::string> paths(Savers);
        std::vector<std::thread> savers;
        for (int i = 0; i < Savers; ++i) {
            savers.emplace_back([&, i] {
                start.arrive_and_wait();
                errors[i] = MessageOf([&] {
                    paths[i] =
                        WriteNewFile(Candidates(folder.Path()), "saver " + std::to_string(i));
                });
            });
        }
        for (std::thread& saver : savers) {
            saver.join();
        }
        EXPECT_EQ(errors, std::vector<std::string>(Savers));
        std::vector<std::string> expectedNames{"r.lmr"};
        for (int n = 1; n < Savers; ++n) {
            expectedNames.push_back("r_" + std::to_string(n) + ".lmr");
        }
        std::sort(expectedNames.begin(), expectedNames.end());
        ASSERT_EQ(folder.Names(), expectedNames);
        for (int i = 0; i < Savers; ++i) {
            EXPECT_EQ(TScratchFolder::ReadPath(paths[i]), "saver " + std::to_string(i));
        }
    }
}

// A name chosen in the save dialog that is a symbolic link: the file at its end gets the
// bytes, and the links stay links.
TEST(ResultsFile, ALinkedNameWritesTheFileItPointsTo) {
    struct TCase {
        std::string Name;
        std::vector<std::pair<std::string, std::string>> Links; // name, what it points to
        std::string Target;                                     // gets the bytes
        bool Earlier;                                           // the target exists
    };
    const TCase cases[] = {
        {"a link to a file", {{"r.lmr", "@/data/target.lmr"}}, "data/target.lmr", true},
        {"a relative link", {{"r.lmr", "data/target.lmr"}}, "data/target.lmr", true},
        {"a link to nothing yet", {{"r.lmr", "data/new.lmr"}}, "data/new.lmr", false},
        {"a chain of links",
         {{"r.lmr", "link2.lmr"}, {"link2.lmr", "@/data/target.lmr"}},
         "data/target.lmr",
         true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TScratchFolder folder;
        ASSERT_FALSE(folder.Path().empty());
        std::filesystem::create_directory(folder / "data");
        folder.Write("data/target.lmr", std::string(300, 'o'));
        chmod((folder / "data/target.lmr").c_str(), 0640);
        for (const auto& [name, to] : c.Links) {
            std::filesystem::create_symlink(to.starts_with('@') ? folder.Path() + to.substr(1) : to,
                                            folder / name);
        }
        WriteWholeFile(folder / "r.lmr", "new results");
        EXPECT_EQ(folder.Read(c.Target), "new results");
        if (c.Earlier) {
            EXPECT_EQ(ModeOf(folder / c.Target), 0640u);
        }
        for (const auto& link : c.Links) {
            EXPECT_TRUE(std::filesystem::is_symlink(folder / link.first)) << link.first;
        }
        const std::vector<std::string> data = TScratchFolder::List(folder / "data");
        EXPECT_EQ(data.size(), c.Earlier ? 1U : 2U); // no temporary file left
    }
    TScratchFolder folder;
    std::filesystem::create_symlink("loop.lmr", folder / "loop.lmr");
    EXPECT_EQ(MessageOf([&] { WriteWholeFile(folder / "loop.lmr", "x"); }),
              "Cannot create file \"" + folder / "loop.lmr" +
                  "\". Too many levels of symbolic links");
}

// Saves bytes to target in a child process that, when the tests run as root, takes the rights
// of an ordinary user first, so that a folder of mode 0555 is closed to it. Expects the save to
// raise "Cannot create file" with reason, or nothing when reason is empty; a save that hangs
// fails too.
void ExpectSaveAsOrdinaryUser(const std::string& target, const std::string& bytes,
                              const std::string& reason) {
    const auto save = [&] {
        const THangGuard guard(10);
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
            _exit(2);
        }
        const std::string message = MessageOf([&] { WriteWholeFile(target, bytes); });
        const std::string expected =
            reason.empty() ? "" : "Cannot create file \"" + target + "\". " + reason;
        _exit(message == expected ? 0 : 1);
    };
    EXPECT_EXIT(save(), ::testing::ExitedWithCode(0), "");
}

// A folder where no new file can be made (here: one this user may not write to) but whose
// file may be written: the file is overwritten in place.
TEST(ResultsFile, AFolderClosedToNewFilesStillTakesItsWritableFileInPlace) {
    struct TCase {
        std::string Name;
        mode_t FileMode;
        std::string Bytes;
        std::string Message; // "" when written
    };
    const std::string earlier(3000, 'o');
    const TCase cases[] = {
        {"a shorter file", 0666, "short", ""},
        {"a longer file", 0666, std::string(10000, 'n'), ""},
        {"a file that may not be written", 0444, "new", "Permission denied"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TScratchFolder folder;
        ASSERT_FALSE(folder.Path().empty());
        folder.Write("r.lmr", earlier);
        chmod((folder / "r.lmr").c_str(), c.FileMode);
        chmod(folder.Path().c_str(), 0555);
        ExpectSaveAsOrdinaryUser(folder / "r.lmr", c.Bytes, c.Message);
        chmod(folder.Path().c_str(), 0700);
        EXPECT_EQ(folder.Read("r.lmr"), c.Message.empty() ? c.Bytes : earlier);
        EXPECT_EQ(folder.Names(), std::vector<std::string>{"r.lmr"});
    }
}

// A named pipe under the name, in a folder closed to new files: there is no file to overwrite
// in place, and opening the pipe must not wait for a reader that never comes.
TEST(ResultsFile, ANamedPipeInAFolderClosedToNewFilesIsRefusedWithoutWaiting) {
    TScratchFolder folder;
    ASSERT_FALSE(folder.Path().empty());
    const std::string target = folder / "r.lmr";
    ASSERT_EQ(mkfifo(target.c_str(), 0666), 0);
    chmod(target.c_str(), 0666); // writable for the ordinary user whatever the umask
    chmod(folder.Path().c_str(), 0555);
    ExpectSaveAsOrdinaryUser(target, "new", "Permission denied");
    chmod(folder.Path().c_str(), 0700);
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"r.lmr"});
    EXPECT_TRUE(std::filesystem::is_fifo(target));
}

} // namespace
} // namespace stellik::testing
