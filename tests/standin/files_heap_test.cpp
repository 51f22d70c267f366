// Kernel files and the process heap: dispositions, real transfer counts,
// and refusals of handles and pointers that are not theirs.
#include "resource_guard.h"
#include "test_support.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

HANDLE Open(const std::string& path, DWORD access, DWORD disposition) {
    return CreateFileA(path.c_str(), access, FILE_SHARE_READ, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

TEST(Files, DispositionsCreateReplaceAndOpen) {
    ResourceGuard guard;
    TempDir dir;
    std::string path = dir.File("f");
    EXPECT_EQ(Open(path, GENERIC_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));

    HANDLE file = Open(path, GENERIC_WRITE, CREATE_NEW);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(file, "hello", 5, &written, nullptr));
    EXPECT_EQ(written, 5u);
    EXPECT_TRUE(CloseHandle(file));
    EXPECT_EQ(Open(path, GENERIC_WRITE, CREATE_NEW), INVALID_HANDLE_VALUE) << "exists already";

    file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(WriteFile(file, "ab", 2, &written, nullptr));
    EXPECT_TRUE(CloseHandle(file));
    EXPECT_EQ(ReadBytes(path), (std::vector<std::uint8_t>{'a', 'b'})) << "CREATE_ALWAYS truncates";

    EXPECT_EQ(Open(dir.path(), GENERIC_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE) << "directories do not open";
    EXPECT_EQ(Open(path, GENERIC_READ, 99), INVALID_HANDLE_VALUE);
    EXPECT_EQ(Open("", GENERIC_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(CreateFileA(nullptr, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
}

TEST(Files, ReadsReportTheRealCountAndStopAtTheEnd) {
    ResourceGuard guard;
    TempDir dir;
    WriteBytes(dir.File("f"), std::vector<std::uint8_t>(10, 7));
    HANDLE file = Open(dir.File("f"), GENERIC_READ, OPEN_EXISTING);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD high = 99;
    EXPECT_EQ(GetFileSize(file, &high), 10u);
    EXPECT_EQ(high, 0u);
    std::uint8_t buffer[16];
    DWORD read = 99;
    EXPECT_TRUE(ReadFile(file, buffer, 4, &read, nullptr));
    EXPECT_EQ(read, 4u);
    EXPECT_TRUE(ReadFile(file, buffer, 16, &read, nullptr)) << "end of file is no error";
    EXPECT_EQ(read, 6u);
    EXPECT_TRUE(ReadFile(file, buffer, 16, &read, nullptr));
    EXPECT_EQ(read, 0u);
    DWORD written = 99;
    EXPECT_FALSE(WriteFile(file, buffer, 1, &written, nullptr)) << "opened for reading only";
    EXPECT_EQ(written, 0u);
    EXPECT_TRUE(CloseHandle(file));
    EXPECT_FALSE(CloseHandle(file)) << "closed already";
    EXPECT_FALSE(ReadFile(file, buffer, 1, &read, nullptr));
    EXPECT_EQ(GetFileSize(file, &high), INVALID_FILE_SIZE);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
}

TEST(Files, ForeignHandlesAndBadArgumentsFail) {
    ResourceGuard guard;
    std::uint8_t buffer[4];
    DWORD count;
    HDC dc = CreateCompatibleDC(nullptr);
    for (HANDLE bad : {HANDLE(nullptr), INVALID_HANDLE_VALUE, HANDLE(dc), GetProcessHeap()}) {
        EXPECT_FALSE(ReadFile(bad, buffer, 4, &count, nullptr));
        EXPECT_FALSE(WriteFile(bad, buffer, 4, &count, nullptr));
        EXPECT_FALSE(CloseHandle(bad));
    }
    DeleteDC(dc);
    TempDir dir;
    HANDLE file = Open(dir.File("f"), GENERIC_WRITE, CREATE_ALWAYS);
    OVERLAPPED overlapped{};
    EXPECT_FALSE(WriteFile(file, buffer, 4, &count, &overlapped)) << "asynchronous transfers are not offered";
    CloseHandle(file);
}

TEST(Files, DeleteRemovesFilesOnly) {
    TempDir dir;
    WriteBytes(dir.File("f"), {1});
    EXPECT_TRUE(DeleteFileA(dir.File("f").c_str()));
    EXPECT_FALSE(FileExists(dir.File("f")));
    EXPECT_FALSE(DeleteFileA(dir.File("f").c_str()));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(DeleteFileA(dir.path().c_str()));
    EXPECT_TRUE(FileExists(dir.path()));
}

TEST(Heap, BlocksAreTrackedAndForeignPointersRefused) {
    ResourceGuard guard;
    HANDLE heap = GetProcessHeap();
    EXPECT_EQ(GetProcessHeap(), heap);
    auto* zeroed = static_cast<std::uint8_t*>(HeapAlloc(heap, HEAP_ZERO_MEMORY, 64));
    ASSERT_NE(zeroed, nullptr);
    for (int i = 0; i < 64; ++i) EXPECT_EQ(zeroed[i], 0);
    void* empty = HeapAlloc(heap, 0, 0);
    EXPECT_NE(empty, nullptr);
    EXPECT_EQ(standin::LiveHeapBlocks(), 2u);
    EXPECT_TRUE(HeapFree(heap, 0, zeroed));
    EXPECT_FALSE(HeapFree(heap, 0, zeroed)) << "freed twice";
    int local = 0;
    EXPECT_FALSE(HeapFree(heap, 0, &local)) << "not from this heap";
    EXPECT_FALSE(HeapFree(nullptr, 0, empty));
    EXPECT_TRUE(HeapFree(heap, 0, empty));
    EXPECT_TRUE(HeapFree(heap, 0, nullptr));
    EXPECT_EQ(HeapAlloc(nullptr, 0, 8), nullptr);
    EXPECT_EQ(HeapAlloc(heap, 0, SIZE_T(1) << 40), nullptr) << "absurd sizes fail cleanly";
}

}  // namespace
