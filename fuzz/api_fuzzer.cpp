// Fuzz target: any bytes, decoded into a sequence of stand-in calls with
// adversarial arguments (see api/). A sanitizer report, an object, file or
// heap block left alive, a call taking a second or more, or an answer the
// platform's rules forbid aborts the run as a finding.
#include "api/run_calls.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// A private directory per fuzzing process for the file calls' scratch file.
struct ScratchDirectory {
    std::string directory;
    std::string file;

    ScratchDirectory() {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base != nullptr && base[0] != '\0' ? base : "/tmp") + "/api-fuzz-XXXXXX";
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        if (mkdtemp(buffer.data()) == nullptr) std::abort();
        directory = buffer.data();
        file = directory + "/scratch.bmp";
    }
    ~ScratchDirectory() {
        std::remove(file.c_str());
        rmdir(directory.c_str());
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ScratchDirectory scratch;
    const std::string failure = apifuzz::RunCalls(data, size, scratch.file, true);
    if (!failure.empty()) {
        std::fprintf(stderr, "api fuzzer: %s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
