// The command line of stellik-pack.
#include "PackTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace stellik::testing {
namespace {

TPackOptions Parse(const std::vector<std::string>& args) {
    return ParsePackArguments(args, "/opt/stellik/bin/");
}

TEST(PackOptions, DefaultsThePicturesToTheTestsFolderAndThePlayerToTheOneBesideTheTool) {
    const TPackOptions options =
        Parse({"--test", "/t/demo/test.xml", "--settings", "/t/s.xml", "--output", "/t/out"});
    EXPECT_EQ(options.Test, "/t/demo/test.xml");
    EXPECT_EQ(options.Settings, "/t/s.xml");
    EXPECT_EQ(options.Output, "/t/out");
    EXPECT_EQ(options.Pictures, "/t/demo");
    EXPECT_EQ(options.Player, "/opt/stellik/bin/stellik");
    EXPECT_FALSE(options.Help);
}

TEST(PackOptions, MakesEveryPathAbsolute) {
    const std::string here = std::filesystem::current_path().string();
    const TPackOptions options = Parse({"--output", "p", "--player", "../b/stellik", "--settings",
                                        "./s.xml", "--test", "t.xml", "--pictures", "pics/"});
    EXPECT_EQ(options.Test, here + "/t.xml");
    EXPECT_EQ(options.Settings, here + "/s.xml");
    EXPECT_EQ(options.Output, here + "/p");
    EXPECT_EQ(options.Pictures, here + "/pics/");
    EXPECT_EQ(options.Player,
              (std::filesystem::current_path().parent_path() / "b/stellik").string());
}

TEST(PackOptions, RefusesWhatItCannotUse) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{}, "Missing option --test"},
        {{"--test", "t", "--output", "o"}, "Missing option --settings"},
        {{"--test", "t", "--settings", "s"}, "Missing option --output"},
        {{"--test"}, "Option --test needs a value"},
        {{"--test", "", "--settings", "s"}, "Option --test needs a value"},
        {{"--test", "a", "--test", "b"}, "Option --test is given twice"},
        {{"--tests", "a"}, "Unknown option --tests"},
        {{"test.xml"}, "Unexpected argument test.xml"},
    };
    for (const auto& [args, message] : cases) {
        EXPECT_EQ(MessageOf([&] { Parse(args); }), message) << message;
    }
    EXPECT_TRUE(Parse({"--test", "t", "--help"}).Help);
}

} // namespace
} // namespace stellik::testing
