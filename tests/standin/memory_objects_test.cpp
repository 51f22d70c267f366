// Global and local memory objects: fixed objects that are their own
// address, movable ones that lock to theirs, lock counts, reallocation,
// discarding, and bad handles that fail cleanly.
#include "resource_guard.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <standin/testing.h>

#include <cstdint>
#include <cstring>

namespace {

// Calls of one family, so each table runs over both.
struct Family {
    const char* name;
    HANDLE (*alloc)(UINT, SIZE_T);
    HANDLE (*reAlloc)(HANDLE, SIZE_T, UINT);
    SIZE_T (*size)(HANDLE);
    UINT (*flags)(HANDLE);
    LPVOID (*lock)(HANDLE);
    BOOL (*unlock)(HANDLE);
    HANDLE (*handle)(LPCVOID);
    HANDLE (*free)(HANDLE);
    UINT moveable, zeroInit, modify, discardable, discarded, invalidHandle;
};

const Family kGlobal{"Global", GlobalAlloc, GlobalReAlloc, GlobalSize, GlobalFlags, GlobalLock,
                     GlobalUnlock, GlobalHandle, GlobalFree, GMEM_MOVEABLE, GMEM_ZEROINIT,
                     GMEM_MODIFY, GMEM_DISCARDABLE, GMEM_DISCARDED, GMEM_INVALID_HANDLE};
const Family kLocal{"Local", LocalAlloc, LocalReAlloc, LocalSize, LocalFlags, LocalLock,
                    LocalUnlock, LocalHandle, LocalFree, LMEM_MOVEABLE, LMEM_ZEROINIT,
                    LMEM_MODIFY, LMEM_DISCARDABLE, LMEM_DISCARDED, LMEM_INVALID_HANDLE};
const Family* const kFamilies[] = {&kGlobal, &kLocal};

bool AllZero(const void* bytes, SIZE_T n) {
    const auto* p = static_cast<const unsigned char*>(bytes);
    for (SIZE_T i = 0; i < n; ++i)
        if (p[i] != 0) return false;
    return true;
}

DWORD Error() { return GetLastError(); }

TEST(MemoryObjects, AllocationFlagsAsDocumented) {
    testing_support::ResourceGuard guard;
    const std::size_t live = standin::LiveMemoryObjects();
    struct Case {
        const char* what;
        bool moveable, zeroed, discardable;
        SIZE_T bytes;
    };
    const Case cases[] = {
        {"fixed", false, false, false, 24},
        {"fixed, cleared (GPTR, LPTR)", false, true, false, 24},
        {"fixed, zero bytes", false, false, false, 0},
        {"movable", true, false, false, 24},
        {"movable, cleared (GHND, LHND)", true, true, false, 24},
        {"movable, discardable", true, false, true, 24},
        {"movable, zero bytes: made discarded", true, false, false, 0},
    };
    for (const Family* f : kFamilies) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(f->name) + ": " + c.what);
            const UINT flags = (c.moveable ? f->moveable : 0) | (c.zeroed ? f->zeroInit : 0) |
                               (c.discardable ? f->discardable : 0);
            HANDLE h = f->alloc(flags, c.bytes);
            ASSERT_NE(h, nullptr);
            EXPECT_EQ(f->size(h), c.bytes);
            const UINT reported = f->flags(h);
            EXPECT_EQ(reported & f->discardable, c.discardable ? f->discardable : 0u);
            if (c.moveable && c.bytes == 0) {
                EXPECT_EQ(reported & f->discarded, f->discarded);
                EXPECT_EQ(f->lock(h), nullptr);
                EXPECT_EQ(Error(), static_cast<DWORD>(ERROR_DISCARDED));
            } else if (!c.moveable) {
                // A fixed object is its own pointer and has no lock count.
                EXPECT_EQ(f->lock(h), h);
                EXPECT_EQ(f->flags(h), 0u);
                EXPECT_TRUE(f->unlock(h));
                EXPECT_EQ(f->handle(h), h);
                if (c.zeroed) {
                    EXPECT_TRUE(AllZero(h, c.bytes));
                }
            } else {
                void* p = f->lock(h);
                ASSERT_NE(p, nullptr);
                EXPECT_NE(p, h);
                EXPECT_EQ(f->handle(p), h);
                EXPECT_EQ(f->flags(h) & GMEM_LOCKCOUNT, 1u);
                if (c.zeroed) {
                    EXPECT_TRUE(AllZero(p, c.bytes));
                }
                std::memset(p, 0xAB, c.bytes);
                SetLastError(ERROR_INVALID_DATA);
                EXPECT_FALSE(f->unlock(h));
                EXPECT_EQ(Error(), static_cast<DWORD>(NO_ERROR));
            }
            EXPECT_EQ(f->free(h), nullptr);
        }
    }
    EXPECT_EQ(standin::LiveMemoryObjects(), live);
}

TEST(MemoryObjects, RefusedRequests) {
    struct Case {
        const char* what;
        HANDLE (*alloc)(UINT, SIZE_T);
        UINT flags;
        SIZE_T bytes;
        DWORD error;
    };
    const Case cases[] = {
        {"GlobalAlloc, undefined flag", GlobalAlloc, 0x8000, 16, ERROR_INVALID_PARAMETER},
        {"GlobalAlloc, GMEM_MODIFY", GlobalAlloc, GMEM_MODIFY, 16, ERROR_INVALID_PARAMETER},
        {"LocalAlloc, a GMEM-only flag", LocalAlloc, GMEM_SHARE, 16, ERROR_INVALID_PARAMETER},
        {"GlobalAlloc, too large", GlobalAlloc, GMEM_FIXED, SIZE_T(-1), ERROR_NOT_ENOUGH_MEMORY},
        {"LocalAlloc, too large", LocalAlloc, LMEM_MOVEABLE, SIZE_T(-1) / 2, ERROR_NOT_ENOUGH_MEMORY},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetLastError(0);
        EXPECT_EQ(c.alloc(c.flags, c.bytes), nullptr);
        EXPECT_EQ(Error(), c.error);
    }
}

TEST(MemoryObjects, LockCountsRiseAndFall) {
    for (const Family* f : kFamilies) {
        SCOPED_TRACE(f->name);
        HANDLE h = f->alloc(f->moveable, 8);
        void* first = f->lock(h);
        EXPECT_EQ(f->lock(h), first);
        EXPECT_EQ(f->lock(h), first);
        EXPECT_EQ(f->flags(h) & GMEM_LOCKCOUNT, 3u);
        EXPECT_TRUE(f->unlock(h));  // still locked: nonzero
        EXPECT_TRUE(f->unlock(h));
        SetLastError(ERROR_INVALID_DATA);
        EXPECT_FALSE(f->unlock(h));  // unlocked now: zero, and NO_ERROR
        EXPECT_EQ(Error(), static_cast<DWORD>(NO_ERROR));
        EXPECT_FALSE(f->unlock(h));  // not locked at all: a failure
        EXPECT_EQ(Error(), static_cast<DWORD>(ERROR_NOT_LOCKED));
        // A locked object is freed too.
        f->lock(h);
        EXPECT_EQ(f->free(h), nullptr);
        EXPECT_EQ(f->size(h), 0u);
        EXPECT_EQ(Error(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    }
}

TEST(MemoryObjects, ReallocationMovesOnlyWhereAllowed) {
    struct Case {
        const char* what;
        bool moveable, locked;
        SIZE_T bytes;
        bool moveFlag, zeroFlag;
        bool succeeds;
    };
    const Case cases[] = {
        {"fixed, shrunk in place", false, false, 8, false, false, true},
        {"fixed, grown without leave to move", false, false, 64, false, false, false},
        {"fixed, grown and moved", false, false, 64, true, false, true},
        {"fixed, grown, moved and cleared", false, false, 64, true, true, true},
        {"movable, grown", true, false, 64, false, false, true},
        {"movable, grown and cleared", true, false, 64, false, true, true},
        {"movable and locked, grown without leave to move", true, true, 64, false, false, false},
        {"movable and locked, grown and moved", true, true, 64, true, false, true},
        {"movable and locked, shrunk in place", true, true, 4, false, false, true},
    };
    const unsigned char kPattern[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    for (const Family* f : kFamilies) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(f->name) + ": " + c.what);
            HANDLE h = f->alloc(c.moveable ? f->moveable : 0, sizeof kPattern);
            void* before = f->lock(h);
            std::memcpy(before, kPattern, sizeof kPattern);
            if (!c.locked) f->unlock(h);
            SetLastError(0);
            HANDLE after = f->reAlloc(h, c.bytes, (c.moveFlag ? f->moveable : 0) |
                                                      (c.zeroFlag ? f->zeroInit : 0));
            if (!c.succeeds) {
                // Refused: the object, its handle and its bytes are untouched.
                EXPECT_EQ(after, nullptr);
                EXPECT_EQ(Error(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
                EXPECT_EQ(f->size(h), sizeof kPattern);
                EXPECT_EQ(std::memcmp(before, kPattern, sizeof kPattern), 0);
                if (c.locked) f->unlock(h);
                EXPECT_EQ(f->free(h), nullptr);
                continue;
            }
            ASSERT_NE(after, nullptr);
            // A movable object keeps its handle; a fixed one's is its address.
            if (c.moveable) {
                EXPECT_EQ(after, h);
            }
            EXPECT_EQ(f->size(after), c.bytes);
            void* p = f->lock(after);
            if (c.bytes <= sizeof kPattern) {
                EXPECT_EQ(p, before) << "in place";
            }
            const SIZE_T kept = c.bytes < sizeof kPattern ? c.bytes : sizeof kPattern;
            EXPECT_EQ(std::memcmp(p, kPattern, kept), 0);
            if (c.zeroFlag) {
                EXPECT_TRUE(AllZero(static_cast<unsigned char*>(p) + kept, c.bytes - kept));
            }
            EXPECT_EQ(f->free(after), nullptr);
        }
    }
}

TEST(MemoryObjects, DiscardingKeepsTheHandle) {
    for (const Family* f : kFamilies) {
        SCOPED_TRACE(f->name);
        HANDLE h = f->alloc(f->moveable | f->discardable, 32);
        void* p = f->lock(h);
        // Locked memory is not discarded; an unlocked object is.
        EXPECT_EQ(f->reAlloc(h, 0, f->moveable), h);
        f->unlock(h);
        f->unlock(h);
        EXPECT_EQ(f->reAlloc(h, 0, f->moveable), h);
        EXPECT_EQ(f->flags(h), f->discarded | f->discardable);
        EXPECT_EQ(f->size(h), 0u);
        EXPECT_EQ(f->lock(h), nullptr);
        EXPECT_EQ(Error(), static_cast<DWORD>(ERROR_DISCARDED));
        EXPECT_EQ(f->handle(p), nullptr);
        // Reallocating brings the memory back under the same handle.
        EXPECT_EQ(f->reAlloc(h, 16, f->zeroInit), h);
        p = f->lock(h);
        ASSERT_NE(p, nullptr);
        EXPECT_TRUE(AllZero(p, 16));
        EXPECT_EQ(f->flags(h), 1u | f->discardable);
        // GMEM_MODIFY changes the attributes only.
        EXPECT_EQ(f->reAlloc(h, 1000, f->modify), h);
        EXPECT_EQ(f->flags(h), 1u);
        EXPECT_EQ(f->size(h), 16u);
        EXPECT_EQ(f->free(h), nullptr);
    }
}

TEST(MemoryObjects, AFixedObjectMadeMovable) {
    HGLOBAL fixed = GlobalAlloc(GPTR, 8);
    static_cast<char*>(fixed)[0] = 42;
    HGLOBAL movable = GlobalReAlloc(fixed, 0, GMEM_MODIFY | GMEM_MOVEABLE);
    ASSERT_NE(movable, nullptr);
    EXPECT_NE(movable, fixed);
    EXPECT_EQ(GlobalLock(movable), fixed) << "the same memory";
    EXPECT_EQ(GlobalHandle(fixed), movable);
    EXPECT_EQ(GlobalFlags(movable), 1u);
    EXPECT_EQ(GlobalSize(movable), 8u);
    EXPECT_EQ(GlobalSize(fixed), 0u) << "the address is no longer a handle";
    EXPECT_EQ(static_cast<char*>(GlobalLock(movable))[0], 42);
    EXPECT_EQ(GlobalFree(movable), nullptr);
}

TEST(MemoryObjects, TheFamiliesShareOneHeap) {
    HGLOBAL g = GlobalAlloc(GHND, 8);
    HLOCAL l = LocalAlloc(LPTR, 8);
    EXPECT_EQ(LocalSize(g), 8u);
    EXPECT_EQ(GlobalSize(l), 8u);
    EXPECT_EQ(LocalFree(g), nullptr);
    EXPECT_EQ(GlobalFree(l), nullptr);
}

TEST(MemoryObjects, BadHandlesFailCleanly) {
    testing_support::ResourceGuard guard;
    HGLOBAL freedMovable = GlobalAlloc(GMEM_MOVEABLE, 8);
    GlobalFree(freedMovable);
    HGLOBAL freedFixed = GlobalAlloc(GMEM_FIXED, 8);
    GlobalFree(freedFixed);
    HGLOBAL inner = GlobalAlloc(GMEM_FIXED, 64);  // an address inside a live object
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    int local = 0;
    const struct {
        const char* what;
        HANDLE handle;
    } cases[] = {
        {"freed movable handle", freedMovable},
        {"freed fixed address", freedFixed},
        {"address inside an object", static_cast<char*>(inner) + 8},
        {"a brush", brush},
        {"a stack address", &local},
        {"INVALID_HANDLE_VALUE", INVALID_HANDLE_VALUE},
        {"a made-up value", reinterpret_cast<HANDLE>(std::uintptr_t{0x12345})},
    };
    for (const Family* f : kFamilies) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(f->name) + ": " + c.what);
            const auto expectInvalid = [] { EXPECT_EQ(Error(), static_cast<DWORD>(ERROR_INVALID_HANDLE)); };
            SetLastError(0);
            EXPECT_EQ(f->lock(c.handle), nullptr);
            expectInvalid();
            EXPECT_FALSE(f->unlock(c.handle));
            expectInvalid();
            EXPECT_EQ(f->size(c.handle), 0u);
            expectInvalid();
            EXPECT_EQ(f->flags(c.handle), f->invalidHandle);
            expectInvalid();
            EXPECT_EQ(f->reAlloc(c.handle, 16, f->moveable), nullptr);
            expectInvalid();
            EXPECT_EQ(f->handle(c.handle), nullptr);
            expectInvalid();
            EXPECT_EQ(f->free(c.handle), c.handle) << "a failed free returns the handle";
            expectInvalid();
        }
        // Freeing nothing succeeds.
        EXPECT_EQ(f->free(nullptr), nullptr);
    }
    EXPECT_EQ(GetObjectType(brush), static_cast<DWORD>(OBJ_BRUSH)) << "the brush survived";
    DeleteObject(brush);
    GlobalFree(inner);
}

}  // namespace
