// The benchmark program. Besides Google Benchmark's own flags it takes
//   --picture_dir=DIR   where the picture files are written and kept (the
//                       comparison script hands the same files to the peers);
// without it they go to a fresh directory under /tmp, removed at the end.
#include "bench_cases.h"
#include "pictures.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

namespace {

constexpr const char kPictureDirFlag[] = "--picture_dir=";

// Takes our own flag out of argv, leaving the rest to Google Benchmark.
std::string TakePictureDir(int* argc, char** argv) {
    std::string found;
    int kept = 1;
    for (int i = 1; i < *argc; ++i) {
        if (std::strncmp(argv[i], kPictureDirFlag, sizeof kPictureDirFlag - 1) == 0)
            found = argv[i] + sizeof kPictureDirFlag - 1;
        else
            argv[kept++] = argv[i];
    }
    *argc = kept;
    return found;
}

// Removes the picture files of a temporary directory, then the directory.
void RemoveTemporaryPictures(const std::string& directory) {
    for (const char* name : {"picture24.bmp", "picture32.bmp"})
        std::remove((directory + "/" + name).c_str());
    std::remove(directory.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    std::string directory = TakePictureDir(&argc, argv);
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
