// Every way the writer can fail, driven through the stand-in's fault
// injection: the result, what is left on disk, and that nothing leaks.
#include "resource_guard.h"
#include "test_support.h"

#include <SaveBitmapToFile.h>

#include <gtest/gtest.h>

using namespace testing_support;
using standin::Call;
using standin::Fault;

namespace {

enum class Expect {
    OldFileKept,  // failure before the file is created
    NoFile,       // failure after it was created: the incomplete file is gone
};

struct FaultCase {
    const char* name;
    Call call;
    int nth;
    Fault fault;
    Expect expect;
};

const std::vector<std::uint8_t> kOlderFile(300, 0x5A);

TEST(SaveFaults, EachFailingStepLeavesTheFileSystemAsExpected) {
    const FaultCase cases[] = {
        {"GetObjectA fails", Call::GetObjectA, 1, Fault::Fail, Expect::OldFileKept},
        {"pixel buffer allocation fails", Call::HeapAlloc, 1, Fault::Fail, Expect::OldFileKept},
        {"work context fails", Call::CreateCompatibleDC, 1, Fault::Fail, Expect::OldFileKept},
        {"pixel read fails", Call::GetDIBits, 1, Fault::Fail, Expect::OldFileKept},
        {"file creation fails", Call::CreateFileA, 1, Fault::Fail, Expect::OldFileKept},
        {"file header write fails", Call::WriteFile, 1, Fault::Fail, Expect::NoFile},
        {"info header write fails", Call::WriteFile, 2, Fault::Fail, Expect::NoFile},
        {"pixel write fails", Call::WriteFile, 3, Fault::Fail, Expect::NoFile},
        {"file header write comes up short", Call::WriteFile, 1, Fault::ShortTransfer, Expect::NoFile},
        {"info header write comes up short", Call::WriteFile, 2, Fault::ShortTransfer, Expect::NoFile},
        {"pixel write comes up short", Call::WriteFile, 3, Fault::ShortTransfer, Expect::NoFile},
        {"closing the file fails", Call::CloseHandle, 1, Fault::Fail, Expect::NoFile},
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
        if (c.expect == Expect::OldFileKept)
            EXPECT_EQ(ReadBytes(path), kOlderFile);
        else
            EXPECT_FALSE(FileExists(path));
        DeleteObject(dib.bitmap);
    }
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

TEST(SaveFaults, BitmapStillSelectedIsRefusedAndOldFileKept) {
    TempDir dir;
    std::string path = dir.File("output.bmp");
    WriteBytes(path, kOlderFile);
    Dib dib = MakeDib(8, 8, 24);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, dib.bitmap);
    {
        ResourceGuard guard;
        EXPECT_FALSE(SaveBitmapToFileA(path.c_str(), dib.bitmap));
    }
    EXPECT_EQ(ReadBytes(path), kOlderFile);
    SelectObject(dc, previous);
    DeleteObject(dib.bitmap);
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
    EXPECT_TRUE(FileExists(dir.File("output.bmp")));
    DeleteObject(dib.bitmap);
}

}  // namespace
