// What the player waits for when it opens a package: decrypting a document member
// (opening the key container, unwrapping the session key, RC4 over the bytes), set against
// plain RC4 over the same bytes, and extracting the member from the archive.
#include "package/CryptManager.h"
#include "package/PackageKeys.h"
#include "package/Rc4Key.h"
#include "package/StreamUnZip.h"
#include "package/StreamZip.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <random>

namespace {

using namespace stellik;

constexpr size_t DocumentSize = 1 << 20;

// Key containers go to a throwaway data folder, never to the real home.
class TBenchDataHome {
public:
    TBenchDataHome() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "stellik-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        Folder = pattern;
        setenv("XDG_DATA_HOME", Folder.c_str(), 1);
    }
    ~TBenchDataHome() {
        std::error_code ignored;
        std::filesystem::remove_all(Folder, ignored);
    }
    TBenchDataHome(const TBenchDataHome&) = delete;
    TBenchDataHome& operator=(const TBenchDataHome&) = delete;

private:
    std::string Folder;
};

TBenchDataHome DataHome;

// An XML-like document: text that compresses about as well as a real test.
std::string Document() {
    std::mt19937 generator(42);
    std::string text = "<?xml version=\"1.0\"?><test>";
    while (text.size() < DocumentSize - 7) {
        text += "<q id=\"" + std::to_string(generator() % 1000) + "\">Question text</q>";
    }
    text.resize(DocumentSize - 7);
    return text + "</test>";
}

// A container holding a package pair, and one document encrypted for it.
struct TFixture {
    TCryptManager Manager;
    TMemoryStream Cipher;
    TMemoryStream SessionKey;

    TFixture() {
        static constexpr std::string_view Password = "qm847";
        const std::span<const uint8_t> password(reinterpret_cast<const uint8_t*>(Password.data()),
                                                Password.size());
        const TPackageKeys keys = MakePackageKeys(password);
        Manager.KeyStoreName = "Bench.Stellik";
        Manager.ImportKeyWithPassword(
            TMemoryStream({keys.PrivateKeyBlob.data(),
                           keys.PrivateKeyBlob.data() + keys.PrivateKeyBlob.size()}),
            TMemoryStream(Password));
        Cipher = TMemoryStream(Document());
        SessionKey = TMemoryStream(keys.PublicKeyBlob);
        Manager.Encrypt(Cipher, SessionKey);
    }
};

TFixture& Fixture() {
    static TFixture fixture;
    return fixture;
}

void BM_DecryptDocument(benchmark::State& state) {
    TFixture& fixture = Fixture();
    TMemoryStream data;
    for (auto _ : state) {
        state.PauseTiming();
        data = fixture.Cipher;
        state.ResumeTiming();
        fixture.Manager.Decrypt(data, fixture.SessionKey);
        benchmark::DoNotOptimize(data.GetMemory());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * DocumentSize));
}
BENCHMARK(BM_DecryptDocument)->Unit(benchmark::kMillisecond);

void BM_PlainRc4(benchmark::State& state) {
    const auto key = TRc4Key::Generate();
    TMemoryStream data = Fixture().Cipher;
    for (auto _ : state) {
        key->Crypt(data.GetMemory(), data.GetSize());
        benchmark::DoNotOptimize(data.GetMemory());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * DocumentSize));
}
BENCHMARK(BM_PlainRc4)->Unit(benchmark::kMillisecond);

void BM_ExtractDocument(benchmark::State& state) {
    // Encrypted data does not deflate, so the member is stored, as in a real package.
    TMemoryStream archive;
    TStreamZip writer;
    writer.Open(archive);
    TMemoryStream member = Fixture().Cipher;
    member.SetPosition(0);
    writer.AddFromStream("scontent.xml", &member);
    writer.Close();
    TStreamUnZip reader;
    reader.Open(archive);
    TMemoryStream out;
    for (auto _ : state) {
        out.Clear();
        reader.ExtractToStream("scontent.xml", out);
        benchmark::DoNotOptimize(out.GetMemory());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * DocumentSize));
}
BENCHMARK(BM_ExtractDocument)->Unit(benchmark::kMillisecond);

} // namespace
