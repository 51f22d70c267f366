// Loading the large 24-bit picture from a BMP file in the page cache, and
// storing it. The writer opens its file with FILE_FLAG_WRITE_THROUGH
// (O_DSYNC here), so a save is timed until the data is on the device.
#include "bench_cases.h"
#include "pictures.h"

#include <SaveBitmapToFile.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

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
    benchmark::RegisterBenchmark(("LoadBitmapFromFileA/" + size + depth).c_str(), RunLoadBitmapFromFile)
        ->UseRealTime();
    benchmark::RegisterBenchmark(("SaveBitmapToFileA/" + size + depth + "/synced").c_str(), RunSave)
        ->UseRealTime();
}

}  // namespace bench
