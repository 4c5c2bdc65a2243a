#include "PackTestSupport.h"

#include "platform/Resources.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace stellik::testing {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string MakeFifo(const std::string& path) {
    EXPECT_EQ(mkfifo(path.c_str(), 0600), 0) << path;
    return path;
}

std::string TestDocument(const std::string& questions) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE test SYSTEM \"XTF_v1p2.dtd\">\n"
           "<test><name>Проба</name><questions>" +
           questions + "</questions></test>\n";
}

const char* const TwoPictureQuestions =
    "<single id=\"a\">Где? <img src=\"pic.png\"/><answer right=\"y\">Здесь</answer></single>"
    "<number id=\"b\"><p><img src=\"sub/Other.GIF\"/> <img src=\"PIC.png\"/></p>"
    "<answer right=\"1..3\"/></number>";

const char* const Settings =
    "<?xml version=\"1.0\"?><sk-settings><test-time>5</test-time></sk-settings>";

TResourceList ProgramDtds() {
    TResourceList dtds;
    for (const char* version : {"0", "1", "2"}) {
        dtds.emplace_back(
            std::string("XTF_V1P") + version,
            ReadFile(std::string(STELLIK_SOURCE_DIR "/resources/XTF_v1p") + version + ".dtd"));
    }
    return dtds;
}

TPackFolder::TPackFolder(const std::string& program, const TResourceList& resources)
    : Program(program), PlayerResources(resources) {
    WriteFile(Path("player"), AppendResources(program, resources));
    WriteFile(Path("test/test.xml"), TestDocument(TwoPictureQuestions));
    WriteFile(Path("settings.xml"), Settings);
    WriteFile(Path("test/pic.png"), "\x89PNG picture bytes");
    WriteFile(Path("test/sub/Other.GIF"), "GIF89a other picture");
    std::filesystem::create_directories(Path("out"));
}

std::vector<std::string> TPackFolder::Names() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(Root.Path())) {
        names.push_back(std::filesystem::relative(entry.path(), Root.Path()).string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TPackOptions TPackFolder::Options() const {
    TPackOptions options;
    options.Test = Path("test/test.xml");
    options.Settings = Path("settings.xml");
    options.Pictures = Path("test");
    options.Player = Path("player");
    options.Output = Path("out/player");
    return options;
}

} // namespace stellik::testing
