// Writing a results archive: members added one at a time, as the player saves a results file
// with its pictures. The time must grow with the total size, not with its square: compare
// 100 and 300 members.
// Reading every member of an archive by name, as the player reads its package: the time per
// member must not grow with the number of members (compare 50, 800 and 12,800 of 2 KB).
#include "ZipMembers.h"

#include "package/StreamUnZip.h"
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

// Arguments: the member count and the size of each.
void BM_UnzipMembers(benchmark::State& state) {
    const auto count = static_cast<size_t>(state.range(0));
    const auto size = static_cast<size_t>(state.range(1));
    TMemoryStream archive;
    std::vector<std::string> names;
    {
        TStreamZip writer;
        writer.Open(archive);
        TMemoryStream source;
        for (size_t i = 0; i < count; ++i) {
            names.push_back(bench::ZipMemberName(i));
            source.Clear();
            source.Write(bench::MakeZipMember(i, size));
            source.SetPosition(0);
            writer.AddFromStream(names.back(), &source);
        }
    }
    TMemoryStream member;
    for (auto _ : state) {
        TStreamUnZip reader;
        reader.Open(archive);
        for (const std::string& name : names) {
            member.Clear();
            reader.ExtractToStream(name, member);
            benchmark::DoNotOptimize(member.GetMemory());
        }
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * count));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * count * size));
}
BENCHMARK(BM_UnzipMembers)
    ->Args({50, 2048})
    ->Args({800, 2048})
    ->Args({12800, 2048})
    ->Args({800, 200 * 1024})
    ->Unit(benchmark::kMillisecond);

} // namespace
