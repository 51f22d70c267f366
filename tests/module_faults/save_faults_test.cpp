// Every way the writer can fail, driven through the stand-in's fault
// injection: the result, what is left on disk (the earlier file, unchanged),
// and that nothing leaks.
#include "resource_guard.h"
#include "test_support.h"

#include <SaveBitmapToFile.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace testing_support;
using standin::Call;
using standin::Fault;

namespace {

struct FaultCase {
    const char* name;
    Call call;
    int nth;
    Fault fault;
};

const std::vector<std::uint8_t> kOlderFile(300, 0x5A);

// The names in `dir`, sorted.
std::vector<std::string> NamesIn(const TempDir& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Whatever step fails, the earlier file keeps its bytes and the temporary
// file the new one was written into is gone.
TEST(SaveFaults, EachFailingStepLeavesTheEarlierFileUnchanged) {
    const FaultCase cases[] = {
        {"GetObjectA fails", Call::GetObjectA, 1, Fault::Fail},
        {"pixel buffer allocation fails", Call::HeapAlloc, 1, Fault::Fail},
        {"temporary name allocation fails", Call::HeapAlloc, 2, Fault::Fail},
        {"work context fails", Call::CreateCompatibleDC, 1, Fault::Fail},
        {"pixel read fails", Call::GetDIBits, 1, Fault::Fail},
        {"file creation fails", Call::CreateFileA, 1, Fault::Fail},
        {"file header write fails", Call::WriteFile, 1, Fault::Fail},
        {"info header write fails", Call::WriteFile, 2, Fault::Fail},
        {"pixel write fails", Call::WriteFile, 3, Fault::Fail},
        {"file header write comes up short", Call::WriteFile, 1, Fault::ShortTransfer},
        {"info header write comes up short", Call::WriteFile, 2, Fault::ShortTransfer},
        {"pixel write comes up short", Call::WriteFile, 3, Fault::ShortTransfer},
        {"closing the file fails", Call::CloseHandle, 1, Fault::Fail},
        {"moving it over the name fails", Call::MoveFileExA, 1, Fault::Fail},
    };
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        std::string path = dir.File("output.bmp");
        WriteBytes(path, kOlderFile);
        Dib dib = MakeDib(8, 8, 24);
        ASSERT_NE(dib.bitmap, nullptr);
        {
            ResourceGuard guard;
            standin::FailNthCall(c.call, c.nth, c.fault);
            EXPECT_FALSE(SaveBitmapToFileA(path.c_str(), dib.bitmap));
        }
        EXPECT_EQ(ReadBytes(path), kOlderFile);
        EXPECT_EQ(NamesIn(dir), std::vector<std::string>{"output.bmp"}) << "no temporary file left";
        DeleteObject(dib.bitmap);
    }
}

// A symbolic link at the name: a failed save leaves the link and the file it
// points to as they were; a save that succeeds replaces the link itself.
TEST(SaveFaults, LinkAtTheNameAndItsTargetSurviveAFailedSave) {
    for (bool fail : {true, false}) {
        SCOPED_TRACE(fail ? "failed save" : "whole save");
        TempDir dir;
        std::string target = dir.File("target.bmp"), link = dir.File("output.bmp");
        WriteBytes(target, kOlderFile);
        std::filesystem::create_symlink(target, link);
        Dib dib = MakeDib(8, 8, 24);
        {
            ResourceGuard guard;
            if (fail) standin::FailNthCall(Call::WriteFile, 3, Fault::ShortTransfer);
            EXPECT_EQ(SaveBitmapToFileA(link.c_str(), dib.bitmap), !fail);
        }
        EXPECT_EQ(ReadBytes(target), kOlderFile);
        EXPECT_EQ(std::filesystem::is_symlink(link), fail);
        EXPECT_EQ(ReadBytes(link).size(), fail ? kOlderFile.size() : 246u);
        EXPECT_EQ(NamesIn(dir), (std::vector<std::string>{"output.bmp", "target.bmp"}));
        DeleteObject(dib.bitmap);
    }
}

// Files at the temporary names (from a save that was cut off, say) are
// neither opened nor removed: the save takes the next free name.
TEST(SaveFaults, FilesAtTheTemporaryNamesAreLeftAlone) {
    TempDir dir;
    WriteBytes(dir.File("output.bmp.~0.tmp"), kOlderFile);
    WriteBytes(dir.File("output.bmp.~1.tmp"), kOlderFile);
    Dib dib = MakeDib(8, 8, 24);
    {
        ResourceGuard guard;
        EXPECT_TRUE(SaveBitmapToFileA(dir.File("output.bmp").c_str(), dib.bitmap));
    }
    EXPECT_EQ(ReadBytes(dir.File("output.bmp")).size(), 246u);
    EXPECT_EQ(ReadBytes(dir.File("output.bmp.~0.tmp")), kOlderFile);
    EXPECT_EQ(ReadBytes(dir.File("output.bmp.~1.tmp")), kOlderFile);
    EXPECT_EQ(NamesIn(dir).size(), 3u);
    DeleteObject(dib.bitmap);
}

TEST(SaveFaults, WithoutFaultsTheSameBitmapSaves) {
    TempDir dir;
    Dib dib = MakeDib(8, 8, 24);
    {
        ResourceGuard guard;
        EXPECT_TRUE(SaveBitmapToFileA(dir.File("output.bmp").c_str(), dib.bitmap));
    }
    EXPECT_EQ(ReadBytes(dir.File("output.bmp")).size(), 246u);
    DeleteObject(dib.bitmap);
}

// GetDIBits cannot read a device-dependent bitmap selected into a context,
// so the save fails; a selected DIB section is read, and saved, as on the
// platform.
TEST(SaveFaults, DeviceBitmapStillSelectedIsRefusedAndOldFileKept) {
    TempDir dir;
    std::string path = dir.File("output.bmp");
    WriteBytes(path, kOlderFile);
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP device = CreateCompatibleBitmap(dc, 8, 8);
    Dib dib = MakeDib(8, 8, 24);
    HGDIOBJ previous = SelectObject(dc, device);
    {
        ResourceGuard guard;
        EXPECT_FALSE(SaveBitmapToFileA(path.c_str(), device));
    }
    EXPECT_EQ(ReadBytes(path), kOlderFile);
    SelectObject(dc, dib.bitmap);
    EXPECT_TRUE(SaveBitmapToFileA(path.c_str(), dib.bitmap));
    EXPECT_EQ(ReadBytes(path).size(), 246u);
    SelectObject(dc, previous);
    DeleteObject(dib.bitmap);
    DeleteObject(device);
    DeleteDC(dc);
}

TEST(SaveFaults, UnwritableNameLeavesWhatIsThere) {
    TempDir dir;
    // A directory of that name cannot be replaced by a file.
    ASSERT_TRUE(MakeDirectory(dir.File("output.bmp")));
    Dib dib = MakeDib(8, 8, 24);
    {
        ResourceGuard guard;
        EXPECT_FALSE(SaveBitmapToFileA(dir.File("output.bmp").c_str(), dib.bitmap));
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("output.bmp")));
    EXPECT_EQ(NamesIn(dir), std::vector<std::string>{"output.bmp"}) << "no temporary file left";
    DeleteObject(dib.bitmap);
}

}  // namespace
