// The wide file calls: names convert to UTF-8 on the way to the file system,
// and a name that has no UTF-8 spelling fails cleanly.
#include "resource_guard.h"
#include "test_support.h"

#include <SaveBitmapToFile.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

using namespace testing_support;

namespace {

// A wide name and the UTF-8 name the file system sees, or nullptr when the
// name does not convert.
struct WideName {
    const char* what;
    std::u16string wide;
    const char* utf8;
};

const WideName kNames[] = {
    {"ASCII", u"plain.bmp", "plain.bmp"},
    {"two-byte UTF-8", u"caf\u00e9.bmp", "caf\xc3\xa9.bmp"},
    {"three-byte UTF-8", u"\u4e2d\u6587.bmp", "\xe4\xb8\xad\xe6\x96\x87.bmp"},
    {"surrogate pair", u"\U0001F600.bmp", "\xf0\x9f\x98\x80.bmp"},
    {"highest code point", u"\U0010FFFF", "\xf4\x8f\xbf\xbf"},
    {"lone high surrogate", std::u16string(u"a") + char16_t(0xD83D) + u"b", nullptr},
    {"lone low surrogate", std::u16string(u"a") + char16_t(0xDE00), nullptr},
    {"high surrogate at the end", std::u16string(u"a") + char16_t(0xD800), nullptr},
    {"pair in the wrong order", std::u16string(1, char16_t(0xDE00)) + char16_t(0xD83D), nullptr},
};

std::u16string WidePath(const TempDir& dir, const std::u16string& name) {
    std::u16string path(dir.path().begin(), dir.path().end());  // ASCII temp path
    return path + u"/" + name;
}

HANDLE CreateWide(const std::u16string& path, DWORD disposition) {
    return CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, disposition,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

TEST(WideFileNames, CreateDeleteAndMoveConvertTheNameOrRefuseIt) {
    ResourceGuard guard;
    for (const WideName& c : kNames) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const std::u16string path = WidePath(dir, c.wide);
        const std::u16string other = WidePath(dir, u"other");
        HANDLE file = CreateWide(path, CREATE_NEW);
        if (c.utf8 == nullptr) {
            EXPECT_EQ(file, INVALID_HANDLE_VALUE);
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_NAME));
            SetLastError(0);
            EXPECT_FALSE(DeleteFileW(path.c_str()));
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_NAME));
            // Either name of a move may be the one that fails.
            ASSERT_NE(file = CreateWide(other, CREATE_NEW), INVALID_HANDLE_VALUE);
            CloseHandle(file);
            SetLastError(0);
            EXPECT_FALSE(MoveFileExW(other.c_str(), path.c_str(), 0));
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_NAME));
            SetLastError(0);
            EXPECT_FALSE(MoveFileExW(path.c_str(), other.c_str(), MOVEFILE_REPLACE_EXISTING));
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_NAME));
            EXPECT_TRUE(FileExists(dir.File("other")));
            continue;
        }
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        CloseHandle(file);
        EXPECT_TRUE(FileExists(dir.File(c.utf8))) << "the file system sees the UTF-8 name";
        // An existing file under the wide name is the UTF-8 one.
        EXPECT_EQ(CreateWide(path, CREATE_NEW), INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));
        EXPECT_TRUE(MoveFileExW(path.c_str(), other.c_str(), 0));
        EXPECT_TRUE(FileExists(dir.File("other")));
        EXPECT_TRUE(MoveFileExW(other.c_str(), path.c_str(), 0));
        EXPECT_TRUE(FileExists(dir.File(c.utf8)));
        EXPECT_TRUE(DeleteFileW(path.c_str()));
        EXPECT_FALSE(FileExists(dir.File(c.utf8)));
    }
}

TEST(WideFileNames, NullAndEmptyNamesFailAsTheNarrowCallsDo) {
    const WCHAR empty[] = {0};
    for (LPCWSTR name : {static_cast<LPCWSTR>(nullptr), static_cast<LPCWSTR>(empty)}) {
        EXPECT_EQ(CreateFileW(name, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr),
                  INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
        EXPECT_FALSE(DeleteFileW(name));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
        EXPECT_FALSE(MoveFileExW(name, u"x", 0));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
        EXPECT_FALSE(MoveFileExW(u"x", name, 0));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    }
}

TEST(WideFileNames, LoadImageWConvertsTheNameOrRefusesIt) {
    ResourceGuard guard;
    Dib picture = MakeDib(3, 2, 24);
    ASSERT_NE(picture.bitmap, nullptr);
    for (const WideName& c : kNames) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const std::u16string path = WidePath(dir, c.wide);
        if (c.utf8 != nullptr) {
            ASSERT_TRUE(SaveBitmapToFileA(dir.File(c.utf8).c_str(), picture.bitmap));
        }
        SetLastError(0);
        HANDLE loaded = LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0,
                                   LR_LOADFROMFILE | LR_CREATEDIBSECTION);
        if (c.utf8 == nullptr) {
            EXPECT_EQ(loaded, nullptr);
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_NAME));
            continue;
        }
        ASSERT_NE(loaded, nullptr);
        BITMAP bm{};
        EXPECT_EQ(GetObjectW(loaded, sizeof bm, &bm), static_cast<int>(sizeof bm));
        EXPECT_EQ(bm.bmWidth, 3);
        EXPECT_EQ(bm.bmHeight, 2);
        DeleteObject(loaded);
    }
    DeleteObject(picture.bitmap);
}

TEST(WideFileNames, LoadImageWResourceIdentifiersAreNoFileNames) {
    const struct {
        const char* what;
        LPCWSTR name;
        UINT flags;
        DWORD error;
    } cases[] = {
        {"identifier as a file name", MAKEINTRESOURCEW(1), LR_LOADFROMFILE, ERROR_FILE_NOT_FOUND},
        {"identifier as a resource", MAKEINTRESOURCEW(32754), 0, ERROR_NOT_SUPPORTED},
        {"null file name", nullptr, LR_LOADFROMFILE, ERROR_PATH_NOT_FOUND},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetLastError(0);
        EXPECT_EQ(LoadImageW(nullptr, c.name, IMAGE_BITMAP, 0, 0, c.flags), nullptr);
        EXPECT_EQ(GetLastError(), c.error);
    }
}

TEST(GetObjectW, DescribesEveryObjectAsGetObjectADoes) {
    ResourceGuard guard;
    Dib dib = MakeDib(5, -4, 8);
    HPEN pen = CreatePen(PS_DASH, 1, RGB(1, 2, 3));
    HBRUSH brush = CreateSolidBrush(RGB(4, 5, 6));
    struct {
        LOGPALETTE header;
        PALETTEENTRY more[1];
    } palette{{0x300, 2, {{1, 2, 3, 0}}}, {{4, 5, 6, 0}}};
    HPALETTE hpal = CreatePalette(&palette.header);
    const HGDIOBJ objects[] = {dib.bitmap, pen, brush, hpal, nullptr,
                               reinterpret_cast<HGDIOBJ>(std::uintptr_t{0x777})};
    for (HGDIOBJ object : objects) {
        unsigned char narrow[sizeof(DIBSECTION)] = {}, wide[sizeof(DIBSECTION)] = {};
        for (int size : {0, static_cast<int>(sizeof narrow)}) {
            SetLastError(0);
            const int a = GetObjectA(object, size, size ? narrow : nullptr);
            const DWORD errorA = GetLastError();
            SetLastError(0);
            EXPECT_EQ(GetObjectW(object, size, size ? wide : nullptr), a);
            EXPECT_EQ(GetLastError(), errorA);
            EXPECT_EQ(std::memcmp(narrow, wide, sizeof narrow), 0);
        }
    }
    DeleteObject(hpal);
    DeleteObject(brush);
    DeleteObject(pen);
    DeleteObject(dib.bitmap);
}

}  // namespace
