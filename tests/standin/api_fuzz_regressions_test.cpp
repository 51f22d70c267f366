// Replays every input of the API fuzz target's folder (seed scenes and
// anything the fuzzer ever flagged): each sequence of calls must keep the
// platform's rules and leave nothing alive. The sanitizer build turns any
// out-of-bounds access on the way into a failure.
#include "api/run_calls.h"

#include "resource_guard.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

TEST(ApiFuzzRegressions, EveryRecordedSequenceKeepsTheRules) {
    testing_support::TempDir dir;
    int replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(API_FUZZ_REGRESSIONS_DIR)) {
        if (!entry.is_regular_file() || entry.path().filename().string().front() == '.') continue;
        SCOPED_TRACE(entry.path().filename().string());
        testing_support::ResourceGuard guard;
        std::ifstream file(entry.path(), std::ios::binary);
        const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        EXPECT_EQ(apifuzz::RunCalls(bytes.data(), bytes.size(), dir.File("scratch.bmp"), false), "");
        ++replayed;
    }
    EXPECT_GT(replayed, 0) << "the seed sequences are missing";
    RecordProperty("replayed", replayed);
}

}  // namespace
