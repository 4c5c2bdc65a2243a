#include "tools/pack/PlayerPack.h"

#include "package/PackageKeys.h"
#include "platform/Exception.h"
#include "platform/ResourceArchive.h"
#include "platform/Resources.h"
#include "platform/Unicode.h"
#include "tools/pack/PackFiles.h"
#include "tools/pack/PackageBuilder.h"
#include "tools/pack/TestCheck.h"

#include <algorithm>
#include <filesystem>
#include <future>

namespace stellik {

namespace {

// Runs step; an Exception it raises comes out with what it concerns in front of its message.
template <typename TStep> auto About(const std::string& what, TStep&& step) -> decltype(step()) {
    try {
        return step();
    } catch (const Exception& e) {
        throw Exception(what + ": " + e.GetMessage());
    }
}

// The file a picture's name stands for; names that would leave the folder are refused, and so
// is a name that leads out of it through a symbolic link (the real paths of the file and the
// folder are compared), so a test cannot pull other files into a player.
std::string PicturePath(const std::string& folder, const std::string& name) {
    const std::filesystem::path relative(name);
    bool escapes = name.empty() || relative.is_absolute();
    for (const auto& part : relative) {
        escapes = escapes || part == "..";
    }
    const auto refuse = [&] {
        throw Exception("Picture " + name + " is not a file name inside " + folder);
    };
    if (escapes) {
        refuse();
    }
    const std::filesystem::path path = std::filesystem::path(folder) / relative;
    std::error_code error;
    const std::filesystem::path real = std::filesystem::canonical(path, error);
    if (error) {
        throw Exception("Picture " + name + " not found: no file " + path.string());
    }
    const std::filesystem::path realFolder = std::filesystem::canonical(folder, error);
    const auto [folderEnd, realEnd] =
        std::mismatch(realFolder.begin(), realFolder.end(), real.begin(), real.end());
    if (error || folderEnd != realFolder.end() || realEnd == real.end()) {
        refuse();
    }
    return real.string();
}

std::vector<std::pair<std::string, std::string>> ReadPictures(const std::vector<std::string>& names,
                                                              const std::string& folder) {
    std::vector<std::pair<std::string, std::string>> pictures;
    for (const std::string& name : names) {
        pictures.emplace_back(name, ReadInputFile(PicturePath(folder, name)));
    }
    return pictures;
}

bool IsPackageResource(const std::string& name) {
    const std::string upper = AsciiUpper(name);
    return upper == "DVCF" || upper == "DVCK";
}

} // namespace

void MakePlayer(const TPackOptions& options) {
    // The new key pair is the longest step and needs no input: it is made while the inputs
    // are read and checked.
    std::future<TPackageKeys> newKeys = std::async(std::launch::async, [] {
        return MakePackageKeys(
            {reinterpret_cast<const uint8_t*>(PackagePassword.data()), PackagePassword.size()});
    });
    const std::string player = ReadInputFile(options.Player);
    TResourceList resources = About(options.Player, [&] { return ReadResources(player); });
    if (resources.empty()) {
        throw Exception(options.Player + ": The player carries no resources");
    }
    TPackageContent content{ReadInputFile(options.Test), ReadInputFile(options.Settings), {}};
    const auto pictureNames =
        About(options.Test, [&] { return CheckTest(content.Test, resources); });
    About(options.Settings, [&] { CheckSettings(content.Settings); });
    content.Pictures = ReadPictures(pictureNames, options.Pictures);

    const TPackageKeys keys = newKeys.get();
    std::erase_if(resources,
                  [](const auto& resource) { return IsPackageResource(resource.first); });
    resources.emplace_back("DVCF", BuildPackage(std::move(content), keys.PublicKeyBlob));
    resources.emplace_back("DVCK",
                           std::string(reinterpret_cast<const char*>(keys.PrivateKeyBlob.data()),
                                       keys.PrivateKeyBlob.size()));
    // The program part and the resources go out from where they are, not copied into a new
    // player first.
    const size_t programSize = ParseResourceArchive(player).Start;
    const TResourceArchiveWriter archive(programSize, resources);
    std::vector<std::string_view> pieces{std::string_view(player).substr(0, programSize)};
    pieces.insert(pieces.end(), archive.GetPieces().begin(), archive.GetPieces().end());
    WriteFileAtomically(options.Output, pieces, 0755);
}

} // namespace stellik
