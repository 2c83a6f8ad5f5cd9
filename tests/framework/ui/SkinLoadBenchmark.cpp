// Loading a skin file the build packs: the archive checked and unpacked, skin.ini read and every
// element resolved, as at start-up and at every change of skin.
#include "framework/rtl/FileUtils.h"
#include "framework/ui/SkinDefinition.h"

#include <filesystem>

#include <benchmark/benchmark.h>

using namespace vp;

namespace {

std::string SkinFile(const std::string& name)
{
    std::filesystem::path path = name == "Default" ? std::filesystem::path(VP_DEFAULT_SKIN_FILE)
                                                   : std::filesystem::path(VP_BUILT_SKINS_DIR) / name;
    return ReadAllBytes(path.u16string());
}

void LoadSkin(benchmark::State& state, const std::string& name)
{
    std::string bytes = SkinFile(name);
    for (auto _ : state) {
        std::shared_ptr<const TSkinDefinition> skin = TSkinDefinition::FromBytes(bytes);
        benchmark::DoNotOptimize(skin);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}

void ReadArchive(benchmark::State& state, const std::string& name)
{
    std::string bytes = SkinFile(name);
    for (auto _ : state) {
        TSkinArchive archive = TSkinArchive::Read(bytes);
        benchmark::DoNotOptimize(archive);
    }
}

void Repeat(benchmark::internal::Benchmark* bench)
{
    bench->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
}

} // namespace

BENCHMARK_CAPTURE(LoadSkin, Default, std::string("Default"))->Apply(Repeat);
BENCHMARK_CAPTURE(LoadSkin, Midnight, std::string("Midnight.skn"))->Apply(Repeat);
BENCHMARK_CAPTURE(LoadSkin, Harbor, std::string("Harbor.nsf.skn"))->Apply(Repeat);
BENCHMARK_CAPTURE(ReadArchive, Midnight, std::string("Midnight.skn"))->Apply(Repeat);
