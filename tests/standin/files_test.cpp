// Kernel files on names that are not plain files, and the platform's rules
// for existing files: last errors, read-only files and sharing.
#include "resource_guard.h"
#include "test_support.h"

#include <SaveBitmapToFile.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <functional>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

using namespace testing_support;

namespace {

// How long a call on a FIFO may take before it counts as hung.
constexpr auto kHangLimit = std::chrono::seconds(10);

// Runs `call` on another thread and passes its last error on to this one.
// If it is still blocked on the FIFO after kHangLimit, opening the FIFO's
// other end releases it and the test fails instead of hanging.
template <class Result>
Result WithoutHanging(const std::string& fifo, std::function<Result()> call) {
    std::future<std::pair<Result, DWORD>> result = std::async(std::launch::async, [&] {
        Result r = call();
        return std::make_pair(r, GetLastError());
    });
    if (result.wait_for(kHangLimit) == std::future_status::timeout) {
        ADD_FAILURE() << "call blocked on " << fifo;
        int peer = ::open(fifo.c_str(), O_RDWR | O_NONBLOCK);
        result.wait();
        if (peer >= 0) ::close(peer);
    }
    std::pair<Result, DWORD> done = result.get();
    SetLastError(done.second);
    return done.first;
}

struct FifoOpen {
    const char* name;
    DWORD access;
    DWORD disposition;
    bool opens;
    DWORD error;  // when it does not
};

TEST(SpecialFiles, OpeningAFifoWithNoPeerNeverBlocks) {
    const FifoOpen cases[] = {
        {"read, existing", GENERIC_READ, OPEN_EXISTING, true, 0},
        {"read, open always", GENERIC_READ, OPEN_ALWAYS, true, 0},
        {"write with no reader", GENERIC_WRITE, OPEN_EXISTING, false, ERROR_FILE_NOT_FOUND},
        {"replace with no reader", GENERIC_WRITE, CREATE_ALWAYS, false, ERROR_FILE_NOT_FOUND},
    };
    for (const FifoOpen& c : cases) {
        SCOPED_TRACE(c.name);
        ResourceGuard guard;
        TempDir dir;
        std::string fifo = dir.File("pipe");
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
        HANDLE file = WithoutHanging<HANDLE>(fifo, [&] {
            return CreateFileA(fifo.c_str(), c.access, FILE_SHARE_READ, nullptr, c.disposition,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        });
        EXPECT_EQ(file != INVALID_HANDLE_VALUE, c.opens);
        if (file == INVALID_HANDLE_VALUE) {
            EXPECT_EQ(GetLastError(), c.error);
            continue;
        }
        EXPECT_EQ(GetFileType(file), DWORD(FILE_TYPE_PIPE));
        char byte;
        DWORD read = 99;
        EXPECT_TRUE(ReadFile(file, &byte, 1, &read, nullptr)) << "no writer: the end at once";
        EXPECT_EQ(read, 0u);
        EXPECT_TRUE(CloseHandle(file));
    }
}

TEST(SpecialFiles, FileTypeTellsDisksFromDevices) {
    ResourceGuard guard;
    TempDir dir;
    WriteBytes(dir.File("f"), {1, 2});
    const std::pair<std::string, DWORD> cases[] = {{dir.File("f"), FILE_TYPE_DISK},
                                                   {"/dev/null", FILE_TYPE_CHAR}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        HANDLE file = CreateFileA(c.first.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetFileType(file), c.second);
        EXPECT_EQ(GetLastError(), DWORD(NO_ERROR));
        CloseHandle(file);
    }
    EXPECT_EQ(GetFileType(INVALID_HANDLE_VALUE), DWORD(FILE_TYPE_UNKNOWN));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
}

TEST(SpecialFiles, TheModuleRefusesAFifoAndLeavesIt) {
    ResourceGuard guard;
    TempDir dir;
    std::string fifo = dir.File("pipe.bmp");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
    Dib dib = MakeDib(4, 4, 24);
    EXPECT_EQ(WithoutHanging<HBITMAP>(fifo, [&] { return LoadBitmapFromFileA(fifo.c_str()); }), nullptr);
    EXPECT_FALSE(WithoutHanging<BOOL>(fifo, [&] { return SaveBitmapToFileA(fifo.c_str(), dib.bitmap); }));
    DeleteObject(dib.bitmap);
    struct stat st;
    ASSERT_EQ(::lstat(fifo.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode)) << "still the FIFO";
}

}  // namespace
