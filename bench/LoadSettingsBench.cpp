#include "core/Settings.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

// A user.ini whose own keys stand behind `otherLines` lines of keys of other programs, so every
// read scans them all.
std::string LargeUserIni(int otherLines)
{
    std::string content = "[Other]\r\n";
    for (int i = 0; i < otherLines; ++i)
        content += "Key" + std::to_string(i) + "=some value of another program " + std::to_string(i) + "\r\n";
    content +=
        "[eMailAccount]\r\nLoginName=max\r\nLoginPassword=geheim\r\n[SMS]\r\nMaxSMSLength=160\r\n"
        "LastSentSMS=24.12.2002 18:05:09\r\nSMSThisMonth=12\r\n[Adressbook]\r\nUseOutlookAdressbook=0\r\n";
    return content;
}

void BM_LoadSettingsLargeUserIni(benchmark::State& state)
{
    std::string folder = (std::filesystem::temp_directory_path() / "tp_bench_XXXXXX").string();
    if (!::mkdtemp(folder.data())) {
        state.SkipWithError("no temporary folder");
        return;
    }
    std::string content = LargeUserIni(static_cast<int>(state.range(0)));
    std::ofstream(folder + "/user.ini", std::ios::binary) << content;
    IniFile ini(SettingsFilePath(folder + "/"));
    FixedClock clock({2002, 12, 28, 10, 0, 0});
    TSettings settings;
    for (auto _ : state) {
        LoadSettings(settings, ini, clock);
        benchmark::DoNotOptimize(settings);
    }
    state.counters["file_bytes"] = static_cast<double>(content.size());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(content.size()) *
                            static_cast<int64_t>(SettingsTable.size()));
    std::filesystem::remove_all(folder);
}

} // namespace

BENCHMARK(BM_LoadSettingsLargeUserIni)->Arg(100)->Arg(50000)->Unit(benchmark::kMillisecond);
