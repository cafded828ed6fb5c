#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <system_error>

#include "settings/ProfileFile.h"

namespace nagitori {
namespace {

// A folder of its own under the system's temporary folder, removed at the end of the benchmark.
class BenchFolder {
public:
    BenchFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "nagitori-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("mkdtemp failed");
        }
        path_ = pattern;
    }
    ~BenchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

void WriteText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

// Twenty full launcher slots, as the management dialog saves them.
std::string LauncherData() {
    std::string text;
    for (int slot = 1; slot <= 20; ++slot) {
        const std::string n = std::to_string(slot);
        text += "[Application_" + n + "]\r\n";
        text += "Name=\xE3\x83\xA1\xE3\x83\xA2\xE5\xB8\xB3 " + n + "\r\n";
        text += "FilePath=C:\\Program Files\\Tool " + n + "\\tool" + n + ".exe\r\n";
        text += "CommandLine=--profile \"C:\\Users\\user\\Documents\\profile " + n + ".cfg\"\r\n";
        text += "CurrentDirectory=C:\\Program Files\\Tool " + n + "\r\n";
        text += "WindowSize=1\r\n";
        text += "AnAdminAdd=0\r\n";
    }
    return text;
}

// 1,000 keys in ten sections of a hundred.
std::string ThousandKeys() {
    std::string text;
    for (int section = 1; section <= 10; ++section) {
        text += "[Section_" + std::to_string(section) + "]\n";
        for (int key = 1; key <= 100; ++key) {
            text += "Key_" + std::to_string(key) + "=C:\\Some\\Longer\\Path\\To\\Value\\" + std::to_string(key) + "\n";
        }
    }
    return text;
}

// 200,000 sections of one key each, with the given line end: the header scan of a read passes them all.
std::string ManySections(const std::string& lineEnd) {
    std::string text;
    for (int section = 1; section <= 200000; ++section) {
        const std::string n = std::to_string(section);
        text += "[Section_" + n + "]" + lineEnd + "Key=C:\\Some\\Path\\" + n + lineEnd;
    }
    return text;
}

// A slot read at start-up in a data file that holds none: every header is passed.
void BM_ReadString_200000Sections(benchmark::State& state, const std::string& lineEnd) {
    BenchFolder folder;
    WriteText(folder.Path() / "LauncherData.ini", ManySections(lineEnd));
    const ProfileFile file(folder.Path() / "LauncherData.ini");
    for (auto _ : state) {
        benchmark::DoNotOptimize(file.ReadString("Application_1", "Name", ""));
    }
}
BENCHMARK_CAPTURE(BM_ReadString_200000Sections, CRLF, std::string("\r\n"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadString_200000Sections, LF, std::string("\n"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadString_200000Sections, CR, std::string("\r"))->Unit(benchmark::kMillisecond);

// The read a click on the last launcher button does.
void BM_ReadString_LauncherData(benchmark::State& state) {
    BenchFolder folder;
    WriteText(folder.Path() / "LauncherData.ini", LauncherData());
    const ProfileFile file(folder.Path() / "LauncherData.ini");
    for (auto _ : state) {
        benchmark::DoNotOptimize(file.ReadString("Application_20", "CurrentDirectory", ""));
    }
}
BENCHMARK(BM_ReadString_LauncherData);

void BM_ReadString_ThousandKeys(benchmark::State& state) {
    BenchFolder folder;
    WriteText(folder.Path() / "big.ini", ThousandKeys());
    const ProfileFile file(folder.Path() / "big.ini");
    for (auto _ : state) {
        benchmark::DoNotOptimize(file.ReadString("Section_10", "Key_100", ""));
    }
}
BENCHMARK(BM_ReadString_ThousandKeys);

// Two values in turn, so that every write really replaces the file.
void WriteAlternating(benchmark::State& state, const std::string& content, const char* section, const char* key) {
    BenchFolder folder;
    WriteText(folder.Path() / "data.ini", content);
    ProfileFile file(folder.Path() / "data.ini");
    bool flip = false;
    for (auto _ : state) {
        file.WriteString(section, key, flip ? "C:\\Windows" : "C:\\Windows\\System32");
        flip = !flip;
    }
}

void BM_WriteString_LauncherData(benchmark::State& state) {
    WriteAlternating(state, LauncherData(), "Application_20", "CurrentDirectory");
}
BENCHMARK(BM_WriteString_LauncherData);

void BM_WriteString_ThousandKeys(benchmark::State& state) {
    WriteAlternating(state, ThousandKeys(), "Section_10", "Key_100");
}
BENCHMARK(BM_WriteString_ThousandKeys);

}  // namespace
}  // namespace nagitori
