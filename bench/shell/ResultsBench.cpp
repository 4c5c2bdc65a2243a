// Saving results as the examinee waits for it at the stop page: the report written and read
// as the results document, serialised, packed with the pictures it shows and written to its
// file in place (on disk before it takes the name). Tests of 10, 100 and 1,000 answered
// questions, each showing a picture of its own; the cost grows with them in a straight line.
// Beside it, writing the finished archive alone, to show what the disk takes.
#include "BenchWindow.h"

#include "model/QuestionManager.h"
#include "package/Base64.h"
#include "package/CryptManager.h"
#include "package/PackageKeys.h"
#include "package/StreamZip.h"
#include "package/XmlCrypt.h"
#include "platform/Resources.h"
#include "platform/Unicode.h"
#include "shell/MainFrm.h"
#include "shell/ResultsFile.h"

#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <filesystem>

namespace {

using namespace stellik;
using namespace stellik::bench;

// Key containers and the per-user folders go to the temporary home of tests/support.

// A picture of a typical size that deflates a little, as GIF data does.
std::string Picture(int seed) {
    std::string bytes = "GIF89a";
    uint32_t state = 2463534242U + static_cast<uint32_t>(seed);
    while (bytes.size() < 3000) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        bytes.push_back(static_cast<char>(state % 7 == 0 ? state >> 8 : 0x20));
    }
    return bytes;
}

std::string PictureName(int i) {
    return "q" + std::to_string(i) + ".gif";
}

std::string PublicKeyText() {
    static const std::string text = [] {
        const std::string password = "bench";
        return Base64Encode(
            MakePackageKeys({reinterpret_cast<const uint8_t*>(password.data()), password.size()})
                .PublicKeyBlob);
    }();
    return text;
}

// A window whose test of count questions has been answered to the end in one list page.
struct TResultsFixture {
    TResultsFixture(int count, bool encrypt) : Frame(View, Dialogs, Services) {
        RegisterQuestionKinds();
        CryptManager.KeyStoreName = "Bench.Results";
        Services.SettingsObj = std::make_unique<TSettingsObj>();
        Services.XmlCryptManager = &Crypt;
        TMemoryStream package;
        TStreamZip zip;
        zip.Open(package);
        for (int i = 0; i < count; ++i) {
            TMemoryStream picture(Picture(i));
            zip.AddFromStream(PictureName(i), &picture);
        }
        zip.Close();
        TResources::Install({{"DVCF", std::string(package.View())}});

        const std::string key =
            encrypt ? "<encrypt-key>" + PublicKeyText() + "</encrypt-key>" : std::string();
        TMemoryStream settings("<sk-settings><save-results>" + key +
                               "</save-results></sk-settings>");
        Frame.ApplySettings(settings);
        TUserSettings& user = *Services.SettingsObj->GetUserSettings();
        user.LastName = "Иванов";
        user.FirstName = "Иван";

        TTestDoc& doc = Frame.GetTestDoc();
        AddPlainSection(
            doc, count,
            [](int i) {
                return u"<p>Текст вопроса обычной длины, с <b>разметкой</b> и рисунком "
                       u"<img src=\"" +
                       Utf8ToUtf16(PictureName(i)) + u"\"/>.</p>";
            },
            u"Ответ из нескольких слов");
        doc.StartRun(RunModeList, 0);
        for (int i = 0; i < count; ++i) {
            doc.BufferAnswer(Utf8ToUtf16(std::to_string(i)), u"0", u"1"); // the first answer
        }
        doc.SubmitAnswers();

        std::string pattern =
            (std::filesystem::temp_directory_path() / "stellik-results-bench-XXXXXX").string();
        Folder = mkdtemp(pattern.data()) != nullptr ? pattern : ".";
    }
    ~TResultsFixture() {
        std::error_code ignored;
        std::filesystem::remove_all(Folder, ignored);
    }

    TNullView View;
    TNullDialogs Dialogs;
    TServiceModules Services;
    TXmlCryptManager Crypt;
    TMainFrm Frame;
    std::string Folder;
};

void SaveResults(benchmark::State& state, bool encrypt) {
    TResultsFixture fixture(static_cast<int>(state.range(0)), encrypt);
    const std::string file = fixture.Folder + "/r.lmr";
    for (auto _ : state) {
        fixture.Frame.SaveResults(file);
    }
    state.SetComplexityN(state.range(0));
    state.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(file));
}

void BM_SaveResults(benchmark::State& state) {
    SaveResults(state, false);
}
void BM_SaveResultsEncrypted(benchmark::State& state) {
    SaveResults(state, true);
}

// The file write alone: a temporary file, written, flushed to disk and renamed.
void BM_WriteWholeFile(benchmark::State& state) {
    TResultsFixture fixture(0, false);
    const std::string bytes(static_cast<size_t>(state.range(0)), 'x');
    const std::string file = fixture.Folder + "/r.lmr";
    for (auto _ : state) {
        WriteWholeFile(file, bytes);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}

BENCHMARK(BM_SaveResults)
    ->Arg(10)
    ->Arg(100)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_SaveResultsEncrypted)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteWholeFile)->Arg(100 << 10)->Arg(4 << 20)->Unit(benchmark::kMillisecond);

} // namespace
