// Loading a user file of 1,000 keys and one 5 MB value (a large proxy pool), then 100,000
// lookups over its keys.
#include "framework/config/IniFile.h"
#include "framework/rtl/FileUtils.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>
#include <string>

namespace {

constexpr int kKeys = 1000;
constexpr int kLookups = 100000;
constexpr size_t kPoolBytes = 5 * 1024 * 1024;

std::string PoolValue()
{
    std::string pool;
    pool.reserve(kPoolBytes + 64);
    for (int i = 0; pool.size() < kPoolBytes; ++i)
        pool += std::to_string(10 + i % 240) + "." + std::to_string(i % 256) + ".1." +
            std::to_string(i % 200) + ":8080:US:United States:37.7:-122.4;";
    return pool;
}

// The user file in the temporary folder for as long as the object lives.
class TUserFile {
public:
    TUserFile()
    {
        std::string text = "[setting]\r\n";
        for (int i = 0; i < kKeys; ++i)
            text += "Key." + std::to_string(i) + "=value number " + std::to_string(i) + "\r\n";
        text += "NORMAL_IPS=" + PoolValue() + "\r\n";
        vp::WriteAllBytesAtomic(Name(), text);
    }
    ~TUserFile() { std::filesystem::remove(FPath); }
    vp::String Name() const { return FPath.u16string(); }

private:
    std::filesystem::path FPath =
        std::filesystem::temp_directory_path() / ("vp-bench-setting-" + std::to_string(::getpid()) + ".dat");
};

std::vector<vp::String> LookupNames()
{
    std::vector<vp::String> names;
    for (int i = 0; i < kKeys; ++i)
        names.push_back(u"KEY." + vp::IntToStr(i));
    names.push_back(u"normal_ips");
    names.push_back(u"Missing.Key");
    return names;
}

void BM_LoadUserFile(benchmark::State& state)
{
    TUserFile file;
    for (auto _ : state) {
        vp::TIniFile ini(file.Name());
        benchmark::DoNotOptimize(ini.Document().SectionExists(u"setting"));
    }
}
BENCHMARK(BM_LoadUserFile)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Every lookup copies the value out, as the settings store hands it to its callers; one in
// a thousand is the 5 MB pool.
void BM_Lookups(benchmark::State& state)
{
    TUserFile file;
    vp::TIniFile ini(file.Name());
    std::vector<vp::String> names = LookupNames();
    for (auto _ : state) {
        size_t total = 0;
        for (int i = 0; i < kLookups; ++i)
            total += ini.Document()
                         .ReadString(u"setting", names[static_cast<size_t>(i) % names.size()], u"")
                         .size();
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_Lookups)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
