// Loading the large 24-bit picture from a BMP file in the page cache, the
// floor of that (reading the file into freshly mapped pages), and storing
// it. The writer opens its file with FILE_FLAG_WRITE_THROUGH (O_DSYNC
// here), so a save is timed until the data is on the device.
#include "bench_cases.h"
#include "pictures.h"

#include <SaveBitmapToFile.h>
#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdio>
#include <cstdint>
#include <string>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace bench {
namespace {

constexpr int kFileBits = 24;

void ReportPixels(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * kLargeSide * kLargeSide);
}

void RunLoadImage(benchmark::State& state) {
    const std::string& path = PictureFile(kFileBits);
    for (auto _ : state) {
        HANDLE image = LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0,
                                  LR_LOADFROMFILE | LR_CREATEDIBSECTION);
        if (image == nullptr) {
            state.SkipWithError("LoadImageA failed");
            break;
        }
        DeleteObject(image);
    }
    ReportPixels(state);
}

// The floor of a load: a new bitmap's pages must be cleared by the kernel
// before anything is copied into them, so the least a load can cost is
// read(2) of the whole file into pages mapped for it, with the cheapest
// fresh pages the kernel offers (2 MiB pages where they may be asked for,
// every page committed by one call where the kernel takes that advice, as
// the loader asks for its section's), unmapped again after each read.
constexpr std::size_t kHugePageBytes = std::size_t{2} << 20;

std::size_t RoundUp(std::size_t bytes, std::size_t unit) { return (bytes + unit - 1) / unit * unit; }

bool ReadIntoFreshPages(int fd, std::size_t bytes) {
    const std::size_t span = RoundUp(bytes, kHugePageBytes);
    // One huge page more than needed, so that the block can start on a 2 MiB boundary.
    const std::size_t mapped = span + kHugePageBytes;
    void* map = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (map == MAP_FAILED) return false;
    const std::uintptr_t at = RoundUp(reinterpret_cast<std::uintptr_t>(map), kHugePageBytes);
    char* block = reinterpret_cast<char*>(at);
#ifdef MADV_HUGEPAGE
    madvise(block, span, MADV_HUGEPAGE);
#endif
#ifdef MADV_POPULATE_WRITE
    madvise(block, span, MADV_POPULATE_WRITE);
#endif
    std::size_t done = 0;
    while (done < bytes) {
        const ssize_t got = pread(fd, block + done, bytes - done, static_cast<off_t>(done));
        if (got <= 0) break;
        done += static_cast<std::size_t>(got);
    }
    benchmark::DoNotOptimize(block);
    munmap(map, mapped);
    return done == bytes;
}

void RunReadIntoFreshPages(benchmark::State& state) {
    const std::string& path = PictureFile(kFileBits);
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat about {};
    if (fd < 0 || fstat(fd, &about) != 0) {
        state.SkipWithError("cannot open the picture file");
        if (fd >= 0) close(fd);
        return;
    }
    for (auto _ : state) {
        if (!ReadIntoFreshPages(fd, static_cast<std::size_t>(about.st_size))) {
            state.SkipWithError("reading the picture file failed");
            break;
        }
    }
    close(fd);
    ReportPixels(state);
}

void RunLoadBitmapFromFile(benchmark::State& state) {
    const std::string& path = PictureFile(kFileBits);
    for (auto _ : state) {
        HBITMAP bitmap = LoadBitmapFromFileA(path.c_str());
        if (bitmap == nullptr) {
            state.SkipWithError("LoadBitmapFromFileA failed");
            break;
        }
        DeleteObject(bitmap);
    }
    ReportPixels(state);
}

void RunSave(benchmark::State& state) {
    Canvas& picture = SharedPicture(kLargeSide, kFileBits);
    picture.Deselect();
    const std::string path = PictureDirectory() + "/saved" + std::to_string(kFileBits) + ".bmp";
    for (auto _ : state) {
        if (!SaveBitmapToFileA(path.c_str(), picture.bitmap())) {
            state.SkipWithError("SaveBitmapToFileA failed");
            break;
        }
    }
    std::remove(path.c_str());
    ReportPixels(state);
}

}  // namespace

void RegisterFileBenchmarks() {
    const std::string size = std::to_string(kLargeSide) + "x" + std::to_string(kLargeSide) + "/";
    const std::string depth = std::to_string(kFileBits) + "bit";
    benchmark::RegisterBenchmark(("LoadImageA/" + size + depth).c_str(), RunLoadImage)->UseRealTime();
    benchmark::RegisterBenchmark(("read/" + size + depth + "/fresh-pages").c_str(), RunReadIntoFreshPages)
        ->UseRealTime();
    benchmark::RegisterBenchmark(("LoadBitmapFromFileA/" + size + depth).c_str(), RunLoadBitmapFromFile)
        ->UseRealTime();
    benchmark::RegisterBenchmark(("SaveBitmapToFileA/" + size + depth + "/synced").c_str(), RunSave)
        ->UseRealTime();
}

}  // namespace bench
