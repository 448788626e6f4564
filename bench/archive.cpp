// Time to open a 1 MB archive entry (reopen the archive, read the stored
// block, unpack it into a new buffer) and close it again.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "pak_writer.h"
#include "resources/file.h"
#include "resources/pak.h"

namespace {

// A scratch directory holding an archive with a few small entries and one of
// 1 MB; the working directory moves there so no loose file interferes.
struct ArchiveFixture {
    std::string dir;
    ArchiveFixture()
    {
        const char* base = std::getenv("TMPDIR");
        dir = std::string(base && *base ? base : "/tmp") + "/vivur-bench-XXXXXX";
        if (!mkdtemp(dir.data()))
            std::abort();
        std::vector<PakFile> files;
        for (int i = 0; i < 30; ++i)
            files.push_back({"small" + std::to_string(i) + ".bin", std::vector<uint8_t>(2000, uint8_t(i))});
        std::vector<uint8_t> big(1 << 20);
        for (size_t i = 0; i < big.size(); ++i)
            big[i] = uint8_t(i * 31 + (i >> 9));
        files.push_back({"big.bin", big});
        std::string error;
        if (!pak_write(dir + "/vivur.pak", files, error) || chdir(dir.c_str()) != 0)
            std::abort();
        pak_mount("vivur.pak");
    }
    ~ArchiveFixture() { std::filesystem::remove_all(dir); }
};

void archive_open_1mb(benchmark::State& state)
{
    static ArchiveFixture fixture;
    for (auto _ : state) {
        FileHandle handle = file_open("big.bin");
        benchmark::DoNotOptimize(handle.data);
        file_close(handle);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * (1 << 20));
}

}  // namespace

BENCHMARK(archive_open_1mb)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
