// What the XML layer costs on the large documents of the package: saving and loading an
// encrypted member whose cipher value is one CDATA section, beside copying its bytes once.
#include "platform/MemoryStream.h"
#include "tests/xml/CipherText.h"
#include "xml/XpObjModel.h"
#include "xml/XpTextUtf8.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

namespace {

using namespace stellik;
using testing::CipherText;

void MakeMember(TXpObjModel& model, const std::string& cipherText) {
    model.Document().AppendChild(
        model.CreateProcessingInstruction(u"xml", u"version=\"1.0\" encoding=\"utf-8\""));
    TXpNode root = model.Document().AppendChild(model.CreateElement(u"EncryptedData"));
    root.SetAttribute(u"xmlns", u"http://www.w3.org/2001/04/xmlenc#");
    AppendCDataSectionUtf8(root.AppendElement(u"CipherData").AppendElement(u"CipherValue"),
                           cipherText);
}

size_t Size(const benchmark::State& state) {
    return static_cast<size_t>(state.range(0)) << 20;
}

void BM_SaveMember(benchmark::State& state) {
    TXpObjModel model;
    MakeMember(model, CipherText(Size(state)));
    for (auto _ : state) {
        TMemoryStream stream;
        model.SaveToStream(stream);
        benchmark::DoNotOptimize(stream.GetMemory());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Size(state)));
}
BENCHMARK(BM_SaveMember)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

void BM_LoadMember(benchmark::State& state) {
    TXpObjModel model;
    MakeMember(model, CipherText(Size(state)));
    TMemoryStream saved;
    model.SaveToStream(saved);
    for (auto _ : state) {
        saved.SetPosition(0);
        TXpObjModel loaded;
        loaded.LoadStream(saved);
        benchmark::DoNotOptimize(SelectStringUtf8(loaded.DocumentElement(), u"CipherData").size());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Size(state)));
}
BENCHMARK(BM_LoadMember)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

// The floor: the member's bytes copied once into a fresh stream.
void BM_CopyMember(benchmark::State& state) {
    const std::string text = CipherText(Size(state));
    for (auto _ : state) {
        TMemoryStream stream;
        stream.Write(text);
        benchmark::DoNotOptimize(stream.GetMemory());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Size(state)));
}
BENCHMARK(BM_CopyMember)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

} // namespace
