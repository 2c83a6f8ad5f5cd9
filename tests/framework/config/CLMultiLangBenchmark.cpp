// Loading a language file of 2,000 keys and applying it to a window of 200 components.
#include "framework/config/CLMultiLang.h"

#include "LangTestComponents.h"
#include "framework/rtl/AnsiCodePage.h"
#include "framework/rtl/FileUtils.h"

#include <benchmark/benchmark.h>

#include <filesystem>

using namespace vp;
using namespace vptest;

namespace {

constexpr int kComponents = 200;
constexpr int kKeys = 2000;

// 150 buttons, 25 list views with four columns and 25 memos.
std::unique_ptr<TTestWindow> MakeWindow()
{
    auto window = std::make_unique<TTestWindow>(nullptr, u"frmBench", u"Bench");
    for (int i = 0; i < kComponents; ++i) {
        String name = u"comp" + IntToStr(i) + u"x";
        if (i % 8 == 0) {
            auto* list = new TTestListView(window.get(), name);
            for (int c = 0; c < 4; ++c)
                list->AddColumn(u"Column");
        } else if (i % 8 == 4) {
            new TTestMemo(window.get(), name);
        } else {
            new TTestButton(window.get(), name, u"Designed");
        }
    }
    return window;
}

// Every text of the window, then further sections up to kKeys keys.
String MakeLanguageText(TTestWindow& window)
{
    String text = u"[Info]\r\nLanguage=Bench\r\n[AppRes]\r\nAppName=Veilport\r\n[TTestWindow]\r\n";
    int keys = 2;
    auto add = [&](const String& line) {
        text += line + u"\r\n";
        ++keys;
    };
    add(u"frmBench.Caption={AppName} bench");
    for (int i = 0; i < window.ComponentCount(); ++i) {
        auto* component = window.Components(i);
        String name = component->Name();
        add(name + u".Caption=Translated " + name);
        add(name + u".Hint=Hint of " + name);
        if (dynamic_cast<TTestListView*>(component))
            for (int c = 0; c < 4; ++c)
                add(name + u".Columns[" + IntToStr(c) + u"].Caption=Spalte " + IntToStr(c));
        if (dynamic_cast<TTestMemo*>(component))
            add(name + u".Lines=Eins<BR>Zwei<BR>Drei");
    }
    for (int section = 0; keys < kKeys; ++section) {
        text += u"[TfrmOther" + IntToStr(section) + u"]\r\n";
        for (int k = 0; k < 100 && keys < kKeys; ++k)
            add(u"btn" + IntToStr(k) + u".Caption=Other text number " + IntToStr(k) + u"<SP>");
    }
    return text;
}

struct TBench {
    std::unique_ptr<TTestWindow> Window = MakeWindow();
    TCLMultiLangData Data{nullptr};
    TCLMultiLang* Binder = new TCLMultiLang(Window.get());
    std::filesystem::path Path = std::filesystem::temp_directory_path() / "vp-bench-language.lan";
    String File = Path.u16string();

    TBench()
    {
        WriteAllBytesAtomic(File, U16ToAnsi(MakeLanguageText(*Window)));
        Binder->SetLanguageData(&Data);
    }
    ~TBench()
    {
        Window.reset();
        std::error_code ignored;
        std::filesystem::remove(Path, ignored);
    }
};

void BM_LoadLanguageFile(benchmark::State& state)
{
    TBench bench;
    bench.Binder->SetLanguageData(nullptr);
    for (auto _ : state)
        bench.Data.LoadCurrentFromFile(bench.File);
}
BENCHMARK(BM_LoadLanguageFile)->Unit(benchmark::kMicrosecond);

void BM_ApplyToWindow(benchmark::State& state)
{
    TBench bench;
    bench.Data.LoadCurrentFromFile(bench.File);
    for (auto _ : state)
        bench.Binder->ApplyData();
}
BENCHMARK(BM_ApplyToWindow)->Unit(benchmark::kMicrosecond);

// What a language change costs: loading and applying to the registered window.
void BM_LoadAndApply(benchmark::State& state)
{
    TBench bench;
    for (auto _ : state)
        bench.Data.LoadCurrentFromFile(bench.File);
    if (bench.Window->Caption() != u"Veilport bench")
        state.SkipWithError("the language was not applied");
}
BENCHMARK(BM_LoadAndApply)->Unit(benchmark::kMicrosecond);

} // namespace
