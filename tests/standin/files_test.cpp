// Kernel files on names that are not plain files, and the platform's rules
// for existing files: last errors, read-only files and sharing.
#include "resource_guard.h"
#include "test_support.h"

#include <SaveBitmapToFile.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <filesystem>
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

enum class AtTarget { Nothing, File, Directory, Fifo, Link };

struct MoveCase {
    const char* name;
    AtTarget target;
    DWORD flags;
    DWORD error;  // NO_ERROR: the move happens
};

// Puts `what` at `path`; a link points to `linked`.
void Place(AtTarget what, const std::string& path, const std::string& linked) {
    switch (what) {
        case AtTarget::Nothing: break;
        case AtTarget::File: WriteBytes(path, {9, 9}); break;
        case AtTarget::Directory: MakeDirectory(path); break;
        case AtTarget::Fifo: ::mkfifo(path.c_str(), 0666); break;
        case AtTarget::Link: std::filesystem::create_symlink(linked, path); break;
    }
}

TEST(MoveFile, ReplacesOnlyWhenAskedAndOnlyFilesAndLinks) {
    const DWORD replace = MOVEFILE_REPLACE_EXISTING, through = MOVEFILE_WRITE_THROUGH;
    const MoveCase cases[] = {
        {"to a free name", AtTarget::Nothing, 0, NO_ERROR},
        {"to a free name, written through", AtTarget::Nothing, replace | through, NO_ERROR},
        {"over a file, not asked to", AtTarget::File, 0, ERROR_ALREADY_EXISTS},
        {"over a file", AtTarget::File, replace, NO_ERROR},
        {"over a file, written through", AtTarget::File, replace | through, NO_ERROR},
        {"over a link, not asked to", AtTarget::Link, through, ERROR_ALREADY_EXISTS},
        {"over a link: the link itself", AtTarget::Link, replace | through, NO_ERROR},
        {"over a directory", AtTarget::Directory, replace, ERROR_ACCESS_DENIED},
        {"over a FIFO", AtTarget::Fifo, replace, ERROR_ACCESS_DENIED},
        {"copying across volumes is not offered", AtTarget::Nothing, MOVEFILE_COPY_ALLOWED, ERROR_INVALID_PARAMETER},
    };
    for (const MoveCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        std::string from = dir.File("from"), to = dir.File("to"), linked = dir.File("linked");
        WriteBytes(from, {1, 2, 3});
        WriteBytes(linked, {7});
        Place(c.target, to, linked);
        struct stat before;
        bool existed = ::lstat(to.c_str(), &before) == 0;
        EXPECT_EQ(MoveFileExA(from.c_str(), to.c_str(), c.flags), c.error == NO_ERROR);
        EXPECT_EQ(ReadBytes(linked), std::vector<std::uint8_t>{7}) << "a link's file is never touched";
        struct stat after;
        bool exists = ::lstat(to.c_str(), &after) == 0;
        if (c.error == NO_ERROR) {
            EXPECT_FALSE(FileExists(from));
            EXPECT_TRUE(exists && S_ISREG(after.st_mode));
            EXPECT_EQ(ReadBytes(to), (std::vector<std::uint8_t>{1, 2, 3}));
            continue;
        }
        EXPECT_EQ(GetLastError(), c.error);
        EXPECT_EQ(ReadBytes(from), (std::vector<std::uint8_t>{1, 2, 3}));
        EXPECT_EQ(exists, existed);
        if (existed) {
            EXPECT_EQ(after.st_ino, before.st_ino) << "what stood at the name still does";
        }
    }
}

TEST(MoveFile, RefusesMissingSourcesAndNames) {
    TempDir dir;
    std::string to = dir.File("to");
    EXPECT_FALSE(MoveFileExA(dir.File("absent").c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
    WriteBytes(dir.File("from"), {1});
    EXPECT_FALSE(MoveFileExA(dir.File("from").c_str(), nullptr, 0));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(MoveFileExA(nullptr, to.c_str(), 0));
    EXPECT_FALSE(MoveFileExA(dir.File("from").c_str(), dir.File("no/such/folder").c_str(), 0));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_PATH_NOT_FOUND));
    EXPECT_TRUE(FileExists(dir.File("from")));
}

struct DispositionCase {
    DWORD disposition;
    bool existed;
    bool opens;
    DWORD error;       // the last error afterwards, success or not
    std::size_t size;  // of the file afterwards
};

// The last error tells CREATE_ALWAYS and OPEN_ALWAYS callers whether the
// file was there: ERROR_ALREADY_EXISTS if it was, 0 if it was created.
TEST(Files, LastErrorTellsWhetherTheFileExisted) {
    const DispositionCase cases[] = {
        {CREATE_ALWAYS, true, true, ERROR_ALREADY_EXISTS, 0},
        {CREATE_ALWAYS, false, true, NO_ERROR, 0},
        {OPEN_ALWAYS, true, true, ERROR_ALREADY_EXISTS, 5},
        {OPEN_ALWAYS, false, true, NO_ERROR, 0},
        {CREATE_NEW, true, false, ERROR_FILE_EXISTS, 5},
        {CREATE_NEW, false, true, NO_ERROR, 0},
        {OPEN_EXISTING, true, true, NO_ERROR, 5},
        {TRUNCATE_EXISTING, true, true, NO_ERROR, 0},
        {TRUNCATE_EXISTING, false, false, ERROR_FILE_NOT_FOUND, 0},
    };
    for (const DispositionCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "disposition " << c.disposition << (c.existed ? ", existed" : ""));
        ResourceGuard guard;
        TempDir dir;
        std::string path = dir.File("f");
        if (c.existed) WriteBytes(path, {1, 2, 3, 4, 5});
        SetLastError(12345);
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, c.disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_EQ(file != INVALID_HANDLE_VALUE, c.opens);
        EXPECT_EQ(GetLastError(), c.error);
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
        EXPECT_EQ(ReadBytes(path).size(), c.size);
    }
}

constexpr DWORD kRead = GENERIC_READ, kWrite = GENERIC_WRITE;
constexpr DWORD kShareRead = FILE_SHARE_READ, kShareWrite = FILE_SHARE_WRITE, kShareDelete = FILE_SHARE_DELETE;

struct SharingCase {
    DWORD firstAccess, firstShare;
    DWORD secondAccess, secondShare;
    bool opens;
};

// A second handle opens only when each side's access is in the other's share
// mode; a handle with no data access (0) neither restricts nor is restricted.
TEST(Sharing, ASecondOpenHonoursBothHandlesShareModes) {
    const SharingCase cases[] = {
        {kRead, kShareRead, kRead, kShareRead, true},
        {kRead, kShareRead, kWrite, kShareRead, false},              // new access not shared
        {kWrite, kShareRead, kRead, kShareRead, false},              // old access not in new share
        {kWrite, kShareRead, kRead, kShareRead | kShareWrite, true},
        {kRead, 0, kRead, kShareRead, false},
        {kRead | kWrite, kShareRead | kShareWrite, kRead | kWrite, kShareRead | kShareWrite, true},
        {kWrite, kShareWrite, kWrite, kShareWrite, true},
        {kRead, kShareRead | kShareDelete, kRead, kShareRead, true},
        {0, 0, kRead, kShareRead, true},
        {kRead, 0, 0, 0, true},
    };
    for (const SharingCase& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.firstAccess << "/" << c.firstShare << " then "
                                        << c.secondAccess << "/" << c.secondShare);
        ResourceGuard guard;
        TempDir dir;
        std::string path = dir.File("f");
        WriteBytes(path, {1, 2, 3});
        HANDLE first = CreateFileA(path.c_str(), c.firstAccess, c.firstShare, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(first, INVALID_HANDLE_VALUE);
        HANDLE second = CreateFileA(path.c_str(), c.secondAccess, c.secondShare, nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_EQ(second != INVALID_HANDLE_VALUE, c.opens);
        if (second == INVALID_HANDLE_VALUE) EXPECT_EQ(GetLastError(), DWORD(ERROR_SHARING_VIOLATION));
        else CloseHandle(second);
        CloseHandle(first);
    }
}

// The first three open for writing: OPEN_EXISTING, CREATE_ALWAYS, TRUNCATE_EXISTING.
enum class Change { OpenForWriting, Replace, Truncate, Delete, MoveOver, MoveAway };

struct ChangeCase {
    const char* name;
    Change change;
    DWORD heldShare;  // share mode of a handle held open meanwhile; kNoHandle: none
    bool readOnly;
    DWORD error;  // NO_ERROR: the change is made
};
constexpr DWORD kNoHandle = 0xFFFFFFFF;

// Performs `change` on `path`; `other` is a second file in the same folder.
bool Make(Change change, const std::string& path, const std::string& other) {
    const DWORD dispositions[] = {OPEN_EXISTING, CREATE_ALWAYS, TRUNCATE_EXISTING};
    switch (change) {
        case Change::Delete: return DeleteFileA(path.c_str());
        case Change::MoveOver: return MoveFileExA(other.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
        case Change::MoveAway: return MoveFileExA(path.c_str(), (other + ".moved").c_str(), 0);
        default: break;
    }
    HANDLE file = CreateFileA(path.c_str(), kWrite, kShareRead | kShareWrite | kShareDelete, nullptr,
                              dispositions[static_cast<int>(change)], 0, nullptr);
    return file != INVALID_HANDLE_VALUE && CloseHandle(file);
}

// A read-only file can't be written, truncated, deleted or replaced (root
// included), though it may move; a handle without FILE_SHARE_WRITE or
// FILE_SHARE_DELETE keeps others from writing or deleting the file.
TEST(Sharing, ReadOnlyFilesAndOpenHandlesRefuseChanges) {
    const ChangeCase cases[] = {
        {"write a read-only file", Change::OpenForWriting, kNoHandle, true, ERROR_ACCESS_DENIED},
        {"replace a read-only file", Change::Replace, kNoHandle, true, ERROR_ACCESS_DENIED},
        {"truncate a read-only file", Change::Truncate, kNoHandle, true, ERROR_ACCESS_DENIED},
        {"delete a read-only file", Change::Delete, kNoHandle, true, ERROR_ACCESS_DENIED},
        {"move over a read-only file", Change::MoveOver, kNoHandle, true, ERROR_ACCESS_DENIED},
        {"move a read-only file", Change::MoveAway, kNoHandle, true, NO_ERROR},
        {"replace while shared for reading", Change::Replace, kShareRead, false, ERROR_SHARING_VIOLATION},
        {"replace while shared for writing", Change::Replace, kShareRead | kShareWrite, false, NO_ERROR},
        {"delete while shared for reading", Change::Delete, kShareRead, false, ERROR_SHARING_VIOLATION},
        {"delete while shared for deletion", Change::Delete, kShareRead | kShareDelete, false, NO_ERROR},
        {"move over while shared for reading", Change::MoveOver, kShareRead, false, ERROR_SHARING_VIOLATION},
        {"move away while shared for reading", Change::MoveAway, kShareRead, false, ERROR_SHARING_VIOLATION},
        {"move away while shared for deletion", Change::MoveAway, kShareRead | kShareDelete, false, NO_ERROR},
    };
    for (const ChangeCase& c : cases) {
        SCOPED_TRACE(c.name);
        ResourceGuard guard;
        TempDir dir;
        std::string path = dir.File("f"), other = dir.File("g");
        WriteBytes(other, {9});
        HANDLE made = CreateFileA(path.c_str(), kWrite, 0, nullptr, CREATE_NEW,
                                  c.readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(made, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        EXPECT_TRUE(WriteFile(made, "abc", 3, &written, nullptr)) << "its creator may write it";
        CloseHandle(made);
        HANDLE held = c.heldShare == kNoHandle ? INVALID_HANDLE_VALUE
                                               : CreateFileA(path.c_str(), kRead, c.heldShare, nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_EQ(Make(c.change, path, other), c.error == NO_ERROR);
        if (c.error != NO_ERROR) {
            EXPECT_EQ(GetLastError(), c.error);
            EXPECT_EQ(ReadBytes(path), (std::vector<std::uint8_t>{'a', 'b', 'c'})) << "left as it was";
        }
        if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    }
}

}  // namespace
