#include "package/StreamZip.h"

#include "package/Deflate.h"
#include "package/ZipHandles.h"
#include "platform/Unicode.h"

#include <cstring>
#include <limits>

namespace stellik {

namespace {

constexpr uint16_t Stored = 0;
constexpr uint16_t Deflated = 8;
constexpr size_t MaxMembers = std::numeric_limits<uint16_t>::max();
constexpr size_t MaxOffset = std::numeric_limits<uint32_t>::max();

} // namespace

void TStreamZip::Open(TMemoryStream& stream) {
    ArchiveStream = &stream;
    MembersEnd = 0;
    CentralDirectory.clear();
    Names.clear();
}

void TStreamZip::AddFromStream(const std::string& name, TMemoryStream* stream) {
    if (ArchiveStream == nullptr) {
        throw Exception("ZIP archive is not open");
    }
    DoInsertFromStream(name, stream);
}

void TStreamZip::DoInsertFromStream(const std::string& name, TMemoryStream* inStream) {
    if (inStream == nullptr) {
        throw Exception("Stream is nil");
    }
    std::string key = AsciiUpper(name); // the readers' comparison
    if (Names.contains(key)) {
        return;
    }
    const std::string_view content = inStream->Remaining();
    // Worst case: stored, and both headers with the name.
    const size_t grown = MembersEnd + ZipLocalHeaderSize + name.size() + content.size() +
                         CentralDirectory.size() + ZipCentralHeaderSize + name.size();
    if (Names.size() >= MaxMembers || name.size() > std::numeric_limits<uint16_t>::max() ||
        content.size() > MaxOffset || grown > MaxOffset) {
        throw EZipError("ZIP archive too large");
    }
    const size_t directorySize = CentralDirectory.size();
    try {
        const TZipMemberHeader member = WriteMember(name, content);
        AppendZipCentralHeader(CentralDirectory, member);
        Names.insert(std::move(key));
        MembersEnd += ZipLocalHeaderSize + name.size() + member.CompressedSize;
    } catch (...) {
        CentralDirectory.resize(directorySize);
        WriteDirectory(); // the archive as it was before this member (it only shrinks)
        throw;
    }
    WriteDirectory();
}

TZipMemberHeader TStreamZip::WriteMember(const std::string& name, std::string_view content) {
    TZipMemberHeader member;
    member.Name = name;
    member.Flags = ZipNameFlags(name);
    CurrentDosTime(member.DosTime, member.DosDate);
    member.Crc = Crc32(content);
    member.Size = static_cast<uint32_t>(content.size());
    member.Offset = static_cast<uint32_t>(MembersEnd);

    // The data goes straight into the archive: deflated into room as large as the content,
    // which is all a member may take before it is stored instead (one that deflates to
    // exactly its size stays deflated).
    const size_t dataAt = MembersEnd + ZipLocalHeaderSize + name.size();
    ArchiveStream->SetSize(dataAt + content.size());
    uint8_t* data = ArchiveStream->GetMemory() + dataAt;
    const auto deflated =
        content.empty() ? std::nullopt : DeflateInto(content, data, content.size());
    if (deflated) {
        member.Method = Deflated;
        member.CompressedSize = static_cast<uint32_t>(*deflated);
    } else {
        member.Method = Stored;
        member.CompressedSize = member.Size;
        if (!content.empty()) {
            std::memcpy(data, content.data(), content.size());
        }
    }
    ArchiveStream->SetSize(dataAt + member.CompressedSize);
    PutZipLocalHeader(ArchiveStream->GetMemory() + MembersEnd, member);
    return member;
}

void TStreamZip::WriteDirectory() {
    ArchiveStream->SetSize(MembersEnd + CentralDirectory.size() + ZipEndRecordSize);
    uint8_t* at = ArchiveStream->GetMemory() + MembersEnd;
    if (!CentralDirectory.empty()) {
        std::memcpy(at, CentralDirectory.data(), CentralDirectory.size());
    }
    PutZipEndRecord(at + CentralDirectory.size(), static_cast<uint16_t>(Names.size()),
                    static_cast<uint32_t>(CentralDirectory.size()),
                    static_cast<uint32_t>(MembersEnd));
    ArchiveStream->SetPosition(ArchiveStream->GetSize());
}

void TStreamZip::Close() noexcept {
    if (ArchiveStream == nullptr) {
        return;
    }
    if (Names.empty()) {
        ArchiveStream->Clear();
        WriteDirectory();
    }
    ArchiveStream = nullptr;
}

} // namespace stellik
