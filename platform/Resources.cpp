#include "platform/Resources.h"

#include "platform/CFree.h"
#include "platform/Exception.h"
#include "platform/GLibHandles.h"
#include "platform/ResourceArchive.h"
#include "platform/Unicode.h"

#include <glib.h>

#include <atomic>
#include <memory>
#include <unordered_map>

namespace stellik {

namespace {

using MappedFilePtr = std::unique_ptr<GMappedFile, TCFree<g_mapped_file_unref>>;

// One set of resources, looked up by upper-cased name, with whatever holds their bytes: the
// mapped program file or strings of its own.
class TResourceSet {
public:
    static std::unique_ptr<TResourceSet> FromExecutable() {
        auto set = std::make_unique<TResourceSet>();
        GError* rawError = nullptr;
        set->Mapping.reset(g_mapped_file_new("/proc/self/exe", FALSE, &rawError));
        const GErrorPtr error(rawError);
        if (!set->Mapping) {
            throw Exception(std::string("Cannot read the program file: ") +
                            (error ? error->message : "unknown error"));
        }
        const std::string_view file(g_mapped_file_get_contents(set->Mapping.get()),
                                    g_mapped_file_get_length(set->Mapping.get()));
        for (TResourceEntry& entry : ParseResourceArchive(file).Entries) {
            std::string key = AsciiUpper(entry.Name);
            set->Index.try_emplace(std::move(key), std::move(entry));
        }
        return set;
    }

    static std::unique_ptr<TResourceSet> FromMap(std::map<std::string, std::string> resources) {
        auto set = std::make_unique<TResourceSet>();
        set->Owned = std::move(resources);
        for (const auto& [name, bytes] : set->Owned) {
            std::string key = AsciiUpper(name);
            set->Index.erase(key); // of names equal but for case, the last counts
            set->Index.try_emplace(std::move(key), bytes);
        }
        return set;
    }

    bool Contains(const std::string& name) const { return Index.contains(AsciiUpper(name)); }

    // The member's bytes, checked against their CRC-32 the first time they are asked for;
    // nullptr when there is no such member.
    const std::string_view* Read(const std::string& name) const {
        const auto found = Index.find(AsciiUpper(name));
        if (found == Index.end()) {
            return nullptr;
        }
        const TMember& member = found->second;
        if (!member.Checked.load(std::memory_order_acquire)) {
            CheckResourceCrc(member.Entry);
            member.Checked.store(true, std::memory_order_release);
        }
        return &member.Entry.Bytes;
    }

private:
    struct TMember {
        explicit TMember(TResourceEntry entry) : Entry(std::move(entry)) {}
        // Bytes of our own need no check.
        explicit TMember(std::string_view bytes) : Entry{{}, bytes, 0}, Checked(true) {}
        TResourceEntry Entry;
        mutable std::atomic<bool> Checked = false;
    };

    MappedFilePtr Mapping;
    std::map<std::string, std::string> Owned;
    std::unordered_map<std::string, TMember> Index;
};

std::unique_ptr<TResourceSet>& CurrentSet() {
    static std::unique_ptr<TResourceSet> set;
    return set;
}

// The program file is mapped and its archive's directory read on the first request only.
const TResourceSet& Resources() {
    std::unique_ptr<TResourceSet>& set = CurrentSet();
    if (!set) {
        set = TResourceSet::FromExecutable();
    }
    return *set;
}

} // namespace

std::string_view TResources::Get(const std::string& name) {
    if (const std::string_view* bytes = Resources().Read(name)) {
        return *bytes;
    }
    ThrowResourceNotFound(name);
}

bool TResources::Exists(const std::string& name) {
    return Resources().Contains(name);
}

TMemoryStream TResources::Open(const std::string& name) {
    return TMemoryStream(Get(name));
}

void TResources::Install(std::map<std::string, std::string> resources) {
    CurrentSet() = TResourceSet::FromMap(std::move(resources));
}

void TResources::UseExecutable() {
    CurrentSet().reset();
}

std::string AppendResources(std::string_view exe,
                            const std::vector<std::pair<std::string, std::string>>& resources) {
    const size_t start = ParseResourceArchive(exe).Start;
    std::string result(exe.substr(0, start));
    result += BuildResourceArchive(start, resources);
    return result;
}

std::vector<std::pair<std::string, std::string>> ReadResources(std::string_view exe) {
    std::vector<std::pair<std::string, std::string>> resources;
    for (const TResourceEntry& entry : ParseResourceArchive(exe).Entries) {
        CheckResourceCrc(entry);
        resources.emplace_back(entry.Name, std::string(entry.Bytes));
    }
    return resources;
}

} // namespace stellik
