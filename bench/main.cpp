// The benchmark program. Besides Google Benchmark's own flags it takes
//   --picture_dir=DIR   where the picture files are written and kept (the
//                       comparison script hands the same files to the peers);
//                       without it they go to a fresh directory under /tmp,
//                       removed at the end;
//   --simd_limit=portable|ssse3|avx2|all
//                       the vector instructions the stand-in may use
//                       (standin::LimitSimd), to time every version of a kernel
//                       on one machine; all by default.
#include "bench_cases.h"
#include "pictures.h"

#include <benchmark/benchmark.h>
#include <standin/testing.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>
#include <utility>

namespace {

constexpr const char kPictureDirFlag[] = "--picture_dir=";
constexpr const char kSimdLimitFlag[] = "--simd_limit=";

// Takes our own flag `flag` out of argv, leaving the rest to Google
// Benchmark; its value, or empty.
std::string TakeFlag(const char* flag, int* argc, char** argv) {
    const std::size_t length = std::strlen(flag);
    std::string found;
    int kept = 1;
    for (int i = 1; i < *argc; ++i) {
        if (std::strncmp(argv[i], flag, length) == 0)
            found = argv[i] + length;
        else
            argv[kept++] = argv[i];
    }
    *argc = kept;
    argv[kept] = nullptr;
    return found;
}

bool ApplySimdLimit(const std::string& name) {
    const std::pair<const char*, standin::SimdLimit> limits[] = {{"portable", standin::SimdLimit::Portable},
                                                                 {"ssse3", standin::SimdLimit::Ssse3},
                                                                 {"avx2", standin::SimdLimit::Avx2},
                                                                 {"all", standin::SimdLimit::All}};
    for (const auto& [limitName, limit] : limits)
        if (name == limitName) {
            standin::LimitSimd(limit);
            return true;
        }
    return name.empty();
}

// Removes the picture files of a temporary directory, then the directory.
void RemoveTemporaryPictures(const std::string& directory) {
    for (const char* name : {"picture24.bmp", "picture32.bmp"})
        std::remove((directory + "/" + name).c_str());
    std::remove(directory.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    std::string directory = TakeFlag(kPictureDirFlag, &argc, argv);
    if (!ApplySimdLimit(TakeFlag(kSimdLimitFlag, &argc, argv))) {
        std::fprintf(stderr, "halftone_bench: --simd_limit takes portable, ssse3, avx2 or all\n");
        return 1;
    }
    const bool temporary = directory.empty();
    if (temporary) {
        char pattern[] = "/tmp/halftone-bench-XXXXXX";
        if (mkdtemp(pattern) == nullptr) {
            std::perror("mkdtemp");
            return 1;
        }
        directory = pattern;
    }
    bench::SetPictureDirectory(directory);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    int status = 0;
    try {
        // The files exist before any case runs, so the peers can read them
        // even when a filter leaves the file cases out.
        bench::PictureFile(24);
        bench::PictureFile(32);
        bench::RegisterStretchBenchmarks();
        bench::RegisterBlitBenchmarks();
        bench::RegisterBlendBenchmarks();
        bench::RegisterTransferBenchmarks();
        bench::RegisterFileBenchmarks();
        benchmark::RunSpecifiedBenchmarks();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "halftone_bench: %s\n", error.what());
        status = 1;
    }
    benchmark::Shutdown();
    bench::ReleasePictures();
    if (temporary) RemoveTemporaryPictures(directory);
    return status;
}
