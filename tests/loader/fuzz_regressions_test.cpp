// Replays every input the fuzzer ever flagged: each must load or be
// refused cleanly, leaving nothing behind. The sanitizer build turns any
// out-of-bounds access or leak on the way into a failure.
#include "SaveBitmapToFile.h"

#include "resource_guard.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

TEST(FuzzRegressions, EveryRecordedInputLoadsOrIsRefusedCleanly) {
    int replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(FUZZ_REGRESSIONS_DIR)) {
        if (!entry.is_regular_file() || entry.path().filename().string().front() == '.') continue;
        SCOPED_TRACE(entry.path().filename().string());
        testing_support::ResourceGuard guard;
        const std::string path = entry.path().string();
        HBITMAP bitmap = LoadBitmapFromFileA(path.c_str());
        if (bitmap != nullptr) {
            BITMAP bm;
            EXPECT_NE(GetObjectA(bitmap, sizeof bm, &bm), 0);
            EXPECT_TRUE(DeleteObject(bitmap));
        }
        ++replayed;
    }
    RecordProperty("replayed", replayed);
}

}  // namespace
