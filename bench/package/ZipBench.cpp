// Writing a results archive: members added one at a time, as the player saves a results file
// with its pictures. The time must grow with the total size, not with its square: compare
// 100 and 300 members.
#include "ZipMembers.h"

#include "package/StreamZip.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

using namespace stellik;

constexpr size_t MemberSize = 200 * 1024;

void BM_ZipMembers(benchmark::State& state) {
    const auto count = static_cast<size_t>(state.range(0));
    std::vector<std::string> members;
    for (size_t i = 0; i < count; ++i) {
        members.push_back(bench::MakeZipMember(i, MemberSize));
    }
    for (auto _ : state) {
        TMemoryStream archive;
        TStreamZip writer;
        writer.Open(archive);
        TMemoryStream source;
        for (size_t i = 0; i < count; ++i) {
            source.Clear();
            source.Write(members[i]);
            source.SetPosition(0);
            writer.AddFromStream("member" + std::to_string(i), &source);
        }
        writer.Close();
        benchmark::DoNotOptimize(archive.GetMemory());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * count * MemberSize));
}
BENCHMARK(BM_ZipMembers)->Arg(10)->Arg(100)->Arg(300)->Unit(benchmark::kMillisecond);

} // namespace
