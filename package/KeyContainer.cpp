#include "package/KeyContainer.h"

#include "package/KeyBlobs.h"
#include "package/PrivateFolder.h"
#include "platform/Exception.h"
#include "platform/Files.h"
#include "platform/GLibHandles.h"

#include <glib.h>

#include <memory>

namespace stellik {

namespace {

constexpr const char* MachineFolder = "/var/lib/stellik/keys/";
constexpr const char* UserSubfolder = "stellik/keys";
constexpr const char* FileSuffix = ".key";

// Letters, digits, "-", "_" and inner dots stand for themselves; every other byte is "%XX",
// so any name maps to one plain file name and no name to another's file or to a dot file.
std::string FileNameOf(const std::string& name) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string result;
    for (size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        const bool plain =
            g_ascii_isalnum(static_cast<char>(c)) || c == '-' || c == '_' || (c == '.' && i > 0);
        if (plain) {
            result.push_back(static_cast<char>(c));
        } else {
            result.push_back('%');
            result.push_back(Hex[c >> 4]);
            result.push_back(Hex[c & 15]);
        }
    }
    return result + FileSuffix;
}

} // namespace

std::string TKeyContainer::GetFolder(bool machineKeySet) {
    if (machineKeySet) {
        return MachineFolder;
    }
    const GCharPtr folder(g_build_filename(g_get_user_data_dir(), UserSubfolder, nullptr));
    return std::string(folder.get()) + "/";
}

std::string TKeyContainer::GetPath(const std::string& name, bool machineKeySet) {
    return name.empty() ? std::string() : GetFolder(machineKeySet) + FileNameOf(name);
}

std::unique_ptr<TKeyContainer> TKeyContainer::Open(const std::string& name, bool machineKeySet) {
    using TStatus = TRegularFileContent::TStatus;
    std::string path = GetPath(name, machineKeySet);
    if (path.empty() ||
        PreparePrivateFolder(GetFolder(machineKeySet), false) != TPrivateFolder::Ready) {
        return nullptr;
    }
    // The folder is ours alone, so no link belongs in it.
    TRegularFileContent file = ReadRegularFile(path, false);
    if (file.Status == TStatus::NotRegular) {
        throw Exception(NotRegularFileMessage(path));
    }
    if (file.Status != TStatus::Read) {
        return nullptr;
    }
    TSecureBytes content(
        std::span(reinterpret_cast<const uint8_t*>(file.Bytes.data()), file.Bytes.size()));
    SecureWipe(file.Bytes.data(), file.Bytes.size());
    return std::make_unique<TKeyContainer>(TPassKey(), std::move(path), std::move(content));
}

std::unique_ptr<TKeyContainer> TKeyContainer::Create(const std::string& name, bool machineKeySet) {
    std::string path = GetPath(name, machineKeySet);
    if (path.empty() ||
        PreparePrivateFolder(GetFolder(machineKeySet), true) != TPrivateFolder::Ready ||
        !CreateFileExclusive(path)) {
        return nullptr;
    }
    return std::make_unique<TKeyContainer>(TPassKey(), std::move(path), TSecureBytes());
}

std::unique_ptr<TRsaKeyPair> TKeyContainer::GetUserKey() const {
    if (Content.empty()) {
        return nullptr;
    }
    return ImportPrivateKeyBlob(Content.Span(), nullptr);
}

bool TKeyContainer::StoreUserKey(const TRsaKeyPair& pair) {
    TSecureBytes blob = ExportPrivateKeyBlob(pair, nullptr);
    if (blob.empty()) {
        return false;
    }
    const auto* bytes = reinterpret_cast<const gchar*>(blob.data());
    if (!g_file_set_contents_full(Path.c_str(), bytes, static_cast<gssize>(blob.size()),
                                  G_FILE_SET_CONTENTS_CONSISTENT, 0600, nullptr)) {
        return false;
    }
    Content = std::move(blob);
    return true;
}

} // namespace stellik
