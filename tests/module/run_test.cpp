// The program end to end: run it in a scratch directory and check the file
// it leaves, byte for byte.
#include "test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace testing_support;

namespace {

constexpr std::size_t kOutputBytes = 246;
constexpr std::size_t kPixelOffset = 54;
constexpr int kSide = 8;
constexpr int kRowBytes = kSide * 3;
// Each 2 x 2 block of the grid holds three black pixels and one white:
// 255 / 4 = 63.75, rounded to 64.
constexpr std::uint8_t kExpectedGrey = 64;

// Runs the program with the given working directory and some arguments it
// must ignore; returns its exit status.
int RunProgramIn(const std::string& directory) {
#ifdef _WIN32
    std::string command = "cd /d \"" + directory + "\" && \"" HALFTONE_PROGRAM "\" ignored arguments";
    return std::system(command.c_str());
#else
    std::string command = "cd '" + directory + "' && '" HALFTONE_PROGRAM "' ignored arguments";
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}

TEST(Run, WritesAnEightByEightGreyBitmap) {
    TempDir dir;
    ASSERT_EQ(RunProgramIn(dir.path()), 0);
    std::vector<std::uint8_t> file = ReadBytes(dir.File("output.bmp"));
    ASSERT_EQ(file.size(), kOutputBytes);

    // File header.
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(U32At(file, 2), kOutputBytes);
    EXPECT_EQ(U16At(file, 6), 0);
    EXPECT_EQ(U16At(file, 8), 0);
    EXPECT_EQ(U32At(file, 10), kPixelOffset);
    // Info header.
    EXPECT_EQ(U32At(file, 14), 40u);
    EXPECT_EQ(U32At(file, 18), 8u);
    EXPECT_EQ(U32At(file, 22), 8u);
    EXPECT_EQ(U16At(file, 26), 1);
    EXPECT_EQ(U16At(file, 28), 24);
    EXPECT_EQ(U32At(file, 30), 0u);  // BI_RGB
    EXPECT_EQ(U32At(file, 34), 192u);
    for (std::size_t offset = 38; offset < kPixelOffset; offset += 4) EXPECT_EQ(U32At(file, offset), 0u);
    // 8 rows of 24 bytes, every channel grey.
    for (std::size_t i = kPixelOffset; i < kOutputBytes; ++i)
        ASSERT_EQ(file[i], kExpectedGrey) << "byte " << i << " (row " << (i - kPixelOffset) / kRowBytes << ")";
}

TEST(Run, ReplacesAnEarlierOutput) {
    TempDir dir;
    WriteBytes(dir.File("output.bmp"), std::vector<std::uint8_t>(5000, 0xAB));
    ASSERT_EQ(RunProgramIn(dir.path()), 0);
    EXPECT_EQ(ReadBytes(dir.File("output.bmp")).size(), kOutputBytes);
    ASSERT_EQ(RunProgramIn(dir.path()), 0);
    EXPECT_EQ(ReadBytes(dir.File("output.bmp")).size(), kOutputBytes);
}

#ifndef _WIN32
TEST(Run, ExitsCleanlyWhereTheFileCannotBeCreated) {
    if (geteuid() == 0) {
        // Root ignores directory permissions; make the name unusable instead:
        // a directory called output.bmp cannot be replaced by a file.
        TempDir dir;
        std::filesystem::create_directory(dir.File("output.bmp"));
        WriteBytes(dir.File("output.bmp/keep"), {1, 2, 3});
        ASSERT_EQ(RunProgramIn(dir.path()), 0);
        EXPECT_TRUE(std::filesystem::is_directory(dir.File("output.bmp")));
        EXPECT_EQ(ReadBytes(dir.File("output.bmp/keep")), (std::vector<std::uint8_t>{1, 2, 3}));
        return;
    }
    TempDir dir;
    std::vector<std::uint8_t> older(100, 0x5A);
    WriteBytes(dir.File("output.bmp"), older);
    std::filesystem::permissions(dir.File("output.bmp"), std::filesystem::perms::owner_read);
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    ASSERT_EQ(RunProgramIn(dir.path()), 0);
    EXPECT_EQ(ReadBytes(dir.File("output.bmp")), older);
}
#endif

}  // namespace
