// package/KeyContainer.h -- named key containers that outlive the program
#pragma once

#include "package/RsaKeys.h"
#include "package/SecureBytes.h"

#include <memory>
#include <string>

namespace stellik {

// An opened key container. Each container is a file named after it in a private folder
// (mode 0700) of the user data folder, or of the machine's key folder; the file (mode 0600)
// is empty until a key-exchange pair is stored, then holds that pair as a plain private key
// blob. Opening reads the file once; the handle keeps no file open.
class TKeyContainer {
public:
    // The folder of the user's (or the machine's) containers, with a trailing "/".
    static std::string GetFolder(bool machineKeySet);
    // The container's file; empty for a name that cannot name one (an empty name).
    static std::string GetPath(const std::string& name, bool machineKeySet);

    // Both narrow the folder to 0700 when it is wider open, and throw when it belongs to
    // another user (see PreparePrivateFolder).
    // An existing container; nullptr when it does not exist or cannot be read. Anything but
    // a regular file under the container's name (a link, a folder, a named pipe) raises
    // "<path> is not a regular file".
    static std::unique_ptr<TKeyContainer> Open(const std::string& name, bool machineKeySet);
    // A new, empty container; nullptr when it exists already or cannot be made.
    static std::unique_ptr<TKeyContainer> Create(const std::string& name, bool machineKeySet);

    // Only Open and Create make containers.
    class TPassKey {
        friend class TKeyContainer;
        TPassKey() = default;
    };
    TKeyContainer(TPassKey, std::string path, TSecureBytes content)
        : Path(std::move(path)), Content(std::move(content)) {}
    TKeyContainer(const TKeyContainer&) = delete;
    TKeyContainer& operator=(const TKeyContainer&) = delete;

    // The stored key-exchange pair; nullptr when there is none (or the file is damaged).
    std::unique_ptr<TRsaKeyPair> GetUserKey() const;
    // Stores pair as the container's key-exchange pair, replacing an earlier one. The file
    // is replaced atomically, so a failure leaves the old content and no temporary file.
    [[nodiscard]] bool StoreUserKey(const TRsaKeyPair& pair);

private:
    std::string Path;
    TSecureBytes Content;
};

} // namespace stellik
