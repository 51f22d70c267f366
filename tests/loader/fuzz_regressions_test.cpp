// Replays every input in fuzz/regressions/: each must load or be refused
// cleanly, leaving nothing behind, and the hand-made ones (named by
// fuzz/craft_regressions.py) must do what their name says: `loads-*` give a
// bitmap, `refused-*` none. The sanitizer build turns any out-of-bounds
// access or leak on the way into a failure.
#include "SaveBitmapToFile.h"

#include "resource_guard.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

enum class Expected { Either, Loads, Refused };

Expected ExpectedOutcome(const std::string& name) {
    if (name.rfind("loads-", 0) == 0) return Expected::Loads;
    if (name.rfind("refused-", 0) == 0) return Expected::Refused;
    return Expected::Either;  // a finding fuzz/run copied in: survive it
}

TEST(FuzzRegressions, EveryRecordedInputLoadsOrIsRefusedCleanly) {
    int replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(FUZZ_REGRESSIONS_DIR)) {
        const std::string name = entry.path().filename().string();
        if (!entry.is_regular_file() || name.front() == '.') continue;
        SCOPED_TRACE(name);
        testing_support::ResourceGuard guard;
        const std::string path = entry.path().string();
        HBITMAP bitmap = LoadBitmapFromFileA(path.c_str());
        const Expected expected = ExpectedOutcome(name);
        if (expected != Expected::Either) {
            EXPECT_EQ(bitmap != nullptr, expected == Expected::Loads);
        }
        if (bitmap != nullptr) {
            BITMAP bm;
            EXPECT_NE(GetObjectA(bitmap, sizeof bm, &bm), 0);
            EXPECT_TRUE(DeleteObject(bitmap));
        }
        ++replayed;
    }
    // An empty folder would make this test pass while replaying nothing.
    EXPECT_GT(replayed, 0) << "fuzz/regressions/ holds no inputs";
    RecordProperty("replayed", replayed);
}

}  // namespace
