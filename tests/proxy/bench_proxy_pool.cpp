// Selection and the country list over large pools: N normal and N / 10 super entries across
// 200 countries, with half of the normal addresses already handed out.
#include "ProxyTestSupport.h"

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <random>

using namespace vp;
using namespace vptest;

namespace {

const int kCountries = 200;

String CountryCode(int i)
{
    return String{static_cast<char16_t>(u'A' + i / 26), static_cast<char16_t>(u'A' + i % 26)};
}

String Address(int network, int i)
{
    return IntToStr(network) + u"." + IntToStr((i >> 16) & 255) + u"." + IntToStr((i >> 8) & 255) + u"." +
        IntToStr(i & 255);
}

String PoolValue(int count, int network)
{
    String value;
    for (int i = 0; i < count; ++i) {
        String code = CountryCode(i % kCountries);
        value += Entry(Address(network, i), u"Country " + code, code, IntToStr(1024 + i % 5000)) + u";";
    }
    return value;
}

struct TLargePool {
    explicit TLargePool(int normal)
    {
        Settings.Values[u"NORMAL_IPS"] = PoolValue(normal, 10);
        Settings.Values[u"SUPER_IPS"] = PoolValue(normal / 10, 172);
        Manager.LoadSettings();
        std::vector<int> order(static_cast<size_t>(normal));
        for (int i = 0; i < normal; ++i)
            order[static_cast<size_t>(i)] = i;
        std::shuffle(order.begin(), order.end(), std::mt19937(1));
        for (int i = 0; i < normal / 2; ++i)
            HalfUsed.Add(Address(10, order[static_cast<size_t>(i)]));
        Manager.FUsedProxyList = HalfUsed;
    }

    TMapSettings Settings;
    TProxyManager Manager{Settings};
    TUsedProxyList HalfUsed;
};

TLargePool& Pool(int normal)
{
    static std::map<int, std::unique_ptr<TLargePool>> pools;
    auto& pool = pools[normal];
    if (!pool)
        pool = std::make_unique<TLargePool>(normal);
    return *pool;
}

void Select(benchmark::State& state, StringView country)
{
    TLargePool& pool = Pool(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        TProxyRec got = pool.Manager.GetIdleProxy(country, false, KAll, true);
        benchmark::DoNotOptimize(got);
        // Keep the used list half full from one selection to the next.
        state.PauseTiming();
        if (got.IP.empty())
            state.SkipWithError("nothing handed out");
        pool.Manager.FUsedProxyList = pool.HalfUsed;
        state.ResumeTiming();
    }
}

void BM_GetIdleProxy_AnyCountry(benchmark::State& state)
{
    Select(state, u"UN");
}

void BM_GetIdleProxy_OneCountry(benchmark::State& state)
{
    Select(state, u"CH");
}

void BM_GetCountryList(benchmark::State& state)
{
    TLargePool& pool = Pool(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        TStringList names;
        pool.Manager.GetCountryList(&names);
        if (names.Count() != std::min(kCountries, static_cast<int>(state.range(0))))
            state.SkipWithError("wrong country count");
        benchmark::DoNotOptimize(names);
    }
}

void Sizes(benchmark::internal::Benchmark* bench)
{
    bench->Arg(100)
        ->Arg(10000)
        ->Arg(100000)
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(7)
        ->ReportAggregatesOnly(true);
}

} // namespace

BENCHMARK(BM_GetIdleProxy_AnyCountry)->Apply(Sizes);
BENCHMARK(BM_GetIdleProxy_OneCountry)->Apply(Sizes);
BENCHMARK(BM_GetCountryList)->Apply(Sizes);
