// What the player waits for when it opens a package: reading an encrypted document member
// (loading the EncryptedData document, opening the key container, unwrapping the session key,
// RC4 over the bytes) and parsing the plain test document, set against plain RC4 over the same
// bytes, and extracting the member from the archive.
#include "package/Base64.h"
#include "package/CryptManager.h"
#include "package/PackageKeys.h"
#include "package/Rc4Key.h"
#include "package/StreamUnZip.h"
#include "package/StreamZip.h"
#include "package/XmlCrypt.h"
#include "xml/XpObjModel.h"

#include <benchmark/benchmark.h>

namespace {

using namespace stellik;

constexpr size_t DocumentSize = 1 << 20;

// Key containers go to the temporary home of tests/support, never to the real home.

// A test document as authors write them: Russian question texts with a little markup and
// four answers each, exactly DocumentSize bytes of UTF-8.
std::string Document() {
    std::string text = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<test><name>Итоговый тест"
                       "</name><questions>";
    const std::string end = "</questions></test>";
    for (int i = 1;; ++i) {
        const std::string n = std::to_string(i);
        std::string question =
            "<single id=\"q" + n + "\"><p>Вопрос " + n + ". Какое из утверждений <b>верно</b>?</p>";
        for (int a = 1; a <= 4; ++a) {
            question += a == 1 ? "<answer rating=\"1\" right=\"y\">" : "<answer rating=\"0\">";
            question += "Утверждение номер " + std::to_string(a) + " к вопросу " + n + "</answer>";
        }
        question += "</single>";
        if (text.size() + question.size() + end.size() > DocumentSize) {
            break;
        }
        text += question;
    }
    text.append(DocumentSize - end.size() - text.size(), ' ');
    return text + end;
}

// The global container holding a package pair, one document encrypted for it, and the same
// document as the EncryptedData member a package carries.
struct TFixture {
    TCryptManager& Manager = CryptManager;
    TMemoryStream Cipher;
    TMemoryStream SessionKey;
    TMemoryStream Member;
    std::vector<uint8_t> PublicKeyBlob;

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
        PublicKeyBlob = keys.PublicKeyBlob;
        Manager.Encrypt(Cipher, SessionKey);

        TXmlCryptManager maker;
        TMemoryStream data(Document());
        maker.Encrypt(data, Base64Encode(keys.PublicKeyBlob));
        maker.GetDocument().SaveToStream(Member);
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

// The whole road of an encrypted member to a parsed test document.
void BM_DecryptAndParseDocument(benchmark::State& state) {
    TFixture& fixture = Fixture();
    TXmlCryptManager manager;
    for (auto _ : state) {
        fixture.Member.SetPosition(0);
        manager.LoadStream(fixture.Member);
        TMemoryStream plain;
        manager.Decrypt(plain);
        TXpObjModel test;
        if (!test.LoadStream(plain)) {
            state.SkipWithError("the decrypted document does not parse");
            break;
        }
        benchmark::DoNotOptimize(test.DocumentElement().Handle());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * DocumentSize));
}
BENCHMARK(BM_DecryptAndParseDocument)->Unit(benchmark::kMillisecond);

// Its three stages one by one: loading the EncryptedData member ...
void BM_LoadEncryptedMember(benchmark::State& state) {
    TFixture& fixture = Fixture();
    TXmlCryptManager manager;
    for (auto _ : state) {
        fixture.Member.SetPosition(0);
        benchmark::DoNotOptimize(manager.LoadStream(fixture.Member));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * DocumentSize));
}
BENCHMARK(BM_LoadEncryptedMember)->Unit(benchmark::kMillisecond);

// ... taking out and decrypting its texts ...
void BM_XmlDecrypt(benchmark::State& state) {
    TFixture& fixture = Fixture();
    TXmlCryptManager manager;
    fixture.Member.SetPosition(0);
    manager.LoadStream(fixture.Member);
    for (auto _ : state) {
        TMemoryStream plain;
        manager.Decrypt(plain);
        benchmark::DoNotOptimize(plain.GetMemory());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * DocumentSize));
}
BENCHMARK(BM_XmlDecrypt)->Unit(benchmark::kMillisecond);

// Building the EncryptedData document of a results file: RC4 and base64 into the document.
void BM_XmlEncrypt(benchmark::State& state) {
    TFixture& fixture = Fixture();
    const std::string publicKey = Base64Encode(fixture.PublicKeyBlob);
    TXmlCryptManager manager;
    TMemoryStream data;
    for (auto _ : state) {
        state.PauseTiming();
        data = TMemoryStream(Document());
        state.ResumeTiming();
        manager.Encrypt(data, publicKey);
        benchmark::DoNotOptimize(manager.GetDocument().DocumentElement().Handle());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * DocumentSize));
}
BENCHMARK(BM_XmlEncrypt)->Unit(benchmark::kMillisecond);

// ... and parsing the plain test document.
void BM_ParseDocument(benchmark::State& state) {
    TMemoryStream plain(Document());
    for (auto _ : state) {
        plain.SetPosition(0);
        TXpObjModel test;
        benchmark::DoNotOptimize(test.LoadStream(plain));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * DocumentSize));
}
BENCHMARK(BM_ParseDocument)->Unit(benchmark::kMillisecond);

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
