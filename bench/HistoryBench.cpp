// A large input history: appending to it, and opening the run-a-file dialog that loads two of them.
// The histories have no cap, so these must stay fast at 100,000 entries (about 6 MB a file).
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <QWidget>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "platform/qt/ApplicationSetup.h"
#include "runfile/ExecuteFileRunDialog.h"
#include "runfile/InputHistory.h"
#include "settings/SettingsPath.h"
#include "support/FakeDesktop.h"
#include "support/FakeSystem.h"
#include "support/ResidentMemory.h"
#include "support/TempDir.h"

namespace nagitori {
namespace {

constexpr int kEntries = 100000;

// A distinct path of about 60 characters for each number and prefix.
std::string Entry(const std::string& prefix, long number) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%07ld", number);
    return "/home/someone/projects/" + prefix + "/build/output/tool-" + digits + ".sh";
}

void WriteHistory(const std::filesystem::path& path, const std::string& prefix) {
    std::string content;
    for (int i = 0; i < kEntries; ++i) {
        if (i > 0) {
            content += "\r\n";
        }
        content += Entry(prefix, i);
    }
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
}

// The folders and files every benchmark shares, made once before the first runs.
struct Setup {
    test::TempDir dir;
    test::FakeSystem system;
    test::FakeDesktop desktop;
    std::filesystem::path newEntryHistory;
    std::filesystem::path lastEntryHistory;
    std::string lastEntry;

    Setup() {
        system.appData = dir / "config";
        system.executable = dir / "nagitori";
        std::filesystem::create_directories(DataFolder(system.appData));
        WriteHistory(ExecuteFileHistoryPath(system.appData), "executables");
        WriteHistory(CurrentDirectoryHistoryPath(system.appData), "directories");
        newEntryHistory = dir / "new.txt";
        lastEntryHistory = dir / "last.txt";
        WriteHistory(newEntryHistory, "executables");
        WriteHistory(lastEntryHistory, "executables");
        lastEntry = Entry("executables", kEntries - 1);
    }
};

Setup* shared = nullptr;

void BM_AppendNewEntry(benchmark::State& state) {
    const InputHistory history(shared->newEntryHistory);
    static long next = kEntries;
    const auto sizeBefore = std::filesystem::file_size(shared->newEntryHistory);
    for (auto _ : state) {
        history.Add(Entry("executables", next++));
    }
    if (std::filesystem::file_size(shared->newEntryHistory) <= sizeBefore) {
        state.SkipWithError("the entry was not appended");
    }
}
BENCHMARK(BM_AppendNewEntry)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(15)->ReportAggregatesOnly(true);

void BM_AppendLastEntry(benchmark::State& state) {
    const InputHistory history(shared->lastEntryHistory);
    const auto sizeBefore = std::filesystem::file_size(shared->lastEntryHistory);
    for (auto _ : state) {
        history.Add(shared->lastEntry);
    }
    if (std::filesystem::file_size(shared->lastEntryHistory) != sizeBefore) {
        state.SkipWithError("an entry already there was appended again");
    }
}
BENCHMARK(BM_AppendLastEntry)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

void BM_CreateDialogWithHistories(benchmark::State& state) {
    QWidget owner;
    for (auto _ : state) {
        auto dialog = std::make_unique<TExecuteFileRun>(shared->system, shared->desktop, &owner);
        // Closing is not part of opening.
        state.PauseTiming();
        const bool loaded =
            dialog->ExecuteFilePath->count() == kEntries && dialog->CurrentDirectory->count() == kEntries;
        dialog.reset();
        if (!loaded || !shared->desktop.boxes.empty()) {
            state.SkipWithError("the histories were not loaded");
            break;
        }
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CreateDialogWithHistories)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

long PeakResidentKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// What the loaded histories add to an open dialog: one over empty histories comes first, so that
// styles and fonts are already paid for.
void PrintDialogMemory() {
    test::TempDir emptyAppData;
    test::FakeSystem empty;
    empty.appData = emptyAppData.Path();
    empty.executable = shared->system.executable;
    QWidget owner;
    long withoutHistories = 0;
    {
        const TExecuteFileRun dialog(empty, shared->desktop, &owner);
        withoutHistories = test::ResidentBytes() / 1024;
    }
    const TExecuteFileRun dialog(shared->system, shared->desktop, &owner);
    const long withHistories = test::ResidentBytes() / 1024;
    const auto fileBytes = std::filesystem::file_size(ExecuteFileHistoryPath(shared->system.appData)) +
                           std::filesystem::file_size(CurrentDirectoryHistoryPath(shared->system.appData));
    std::printf("History files: %.1f MB; dialog with them open adds %.1f MB resident\n",
                static_cast<double>(fileBytes) / 1e6, static_cast<double>(withHistories - withoutHistories) / 1024);
}

}  // namespace
}  // namespace nagitori

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    nagitori::SetUpApplication(app);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    nagitori::Setup setup;
    nagitori::shared = &setup;
    nagitori::PrintDialogMemory();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("Peak resident set: %.1f MB\n", static_cast<double>(nagitori::PeakResidentKiB()) / 1024);
    return 0;
}
