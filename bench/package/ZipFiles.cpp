// A command-line ZIP writer, for timing the results archive beside other programs:
//   stellik_zip_files ARCHIVE FILE...      adds every FILE (under its base name) to a new
//                                          ARCHIVE, one member at a time, as the player does
//   stellik_zip_files --make DIR COUNT SIZE   writes COUNT files of SIZE bytes into DIR
//   stellik_zip_files --read ARCHIVE LIST     writes the members named in LIST (one name a
//                                             line) to standard output, each read by name as
//                                             the player does
#include "ZipMembers.h"

#include "package/StreamUnZip.h"
#include "package/StreamZip.h"
#include "platform/Exception.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using namespace stellik;

void MakeFiles(const std::filesystem::path& folder, size_t count, size_t size) {
    std::filesystem::create_directories(folder);
    for (size_t i = 0; i < count; ++i) {
        const std::string bytes = bench::MakeZipMember(i, size);
        std::ofstream(folder / bench::ZipMemberName(i), std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
}

void ReadMembers(const std::filesystem::path& path, const std::filesystem::path& list) {
    TMemoryStream archive;
    archive.LoadFromFile(path);
    TStreamUnZip reader;
    reader.Open(archive);
    std::ifstream names(list);
    TMemoryStream member;
    for (std::string name; std::getline(names, name);) {
        member.Clear();
        reader.ExtractToStream(name, member);
        std::fwrite(member.GetMemory(), 1, member.GetSize(), stdout);
    }
}

} // namespace

int main(int argc, char** argv) {
    try {
        if (argc == 5 && std::string(argv[1]) == "--make") {
            MakeFiles(argv[2], std::strtoul(argv[3], nullptr, 10),
                      std::strtoul(argv[4], nullptr, 10));
            return 0;
        }
        if (argc == 4 && std::string(argv[1]) == "--read") {
            ReadMembers(argv[2], argv[3]);
            return 0;
        }
        if (argc < 3) {
            std::fprintf(
                stderr, "usage: %s ARCHIVE FILE... | --make DIR COUNT SIZE | --read ARCHIVE LIST\n",
                argv[0]);
            return 2;
        }
        TMemoryStream archive;
        TStreamZip writer;
        writer.Open(archive);
        TMemoryStream member;
        for (int i = 2; i < argc; ++i) {
            const std::filesystem::path path(argv[i]);
            member.LoadFromFile(path);
            writer.AddFromStream(path.filename().string(), &member);
        }
        writer.Close();
        archive.SaveToFile(argv[1]);
        return 0;
    } catch (const Exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
