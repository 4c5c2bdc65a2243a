// The player the build makes: small, with its debug information in a file beside it, and
// its resources appended after the stripping (a strip afterwards would cut them off).
#include "PackTestSupport.h"

#include "platform/Resources.h"

#include <elf.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

namespace stellik::testing {
namespace {

// The names of the sections of a 64-bit ELF file.
std::vector<std::string> SectionNames(const std::string& file) {
    Elf64_Ehdr header;
    if (file.size() < sizeof header) {
        return {};
    }
    std::memcpy(&header, file.data(), sizeof header);
    std::vector<Elf64_Shdr> sections(header.e_shnum);
    if (header.e_shentsize != sizeof(Elf64_Shdr) || header.e_shstrndx >= sections.size() ||
        header.e_shoff + sections.size() * sizeof(Elf64_Shdr) > file.size()) {
        return {};
    }
    std::memcpy(sections.data(), file.data() + header.e_shoff,
                sections.size() * sizeof(Elf64_Shdr));
    const Elf64_Shdr& names = sections[header.e_shstrndx];
    std::vector<std::string> result;
    for (const Elf64_Shdr& section : sections) {
        if (names.sh_offset + section.sh_name < file.size()) {
            result.emplace_back(file.c_str() + names.sh_offset + section.sh_name);
        }
    }
    return result;
}

TEST(BuiltPlayer, CarriesNoDebugInformationButItsResources) {
    const std::string player = ReadFile(STELLIK_PROBE_PLAYER);
    const std::vector<std::string> names = SectionNames(player);
    ASSERT_TRUE(std::count(names.begin(), names.end(), ".text")) << "not an ELF program";
    for (const std::string& name : names) {
        EXPECT_FALSE(name.starts_with(".debug") || name == ".symtab") << name;
    }
    EXPECT_TRUE(std::count(names.begin(), names.end(), ".gnu_debuglink"));
    EXPECT_TRUE(std::filesystem::is_regular_file(std::string(STELLIK_PROBE_PLAYER) + ".debug"));
    const auto resources = ReadResources(player);
    EXPECT_TRUE(std::any_of(resources.begin(), resources.end(),
                            [](const auto& resource) { return resource.first == "DVCF"; }));
}

} // namespace
} // namespace stellik::testing
