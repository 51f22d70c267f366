// Integer widths, pointer typedefs and handle types.
#include "agreement.h"

using agreement::IsSignedOfBytes;
using agreement::IsUnsignedOfBytes;
using agreement::kPointerBytes;

// Integers keep the platform's widths on every host; DWORD and LONG are
// unsigned long and long on Windows, so only width and sign are compared.
static_assert(std::is_same<BOOL, int>::value, "BOOL is int");
static_assert(std::is_same<INT, int>::value, "INT is int");
static_assert(std::is_same<UINT, unsigned int>::value, "UINT is unsigned int");
static_assert(std::is_same<CHAR, char>::value, "CHAR is char");
static_assert(std::is_same<BYTE, unsigned char>::value, "BYTE is unsigned char");
static_assert(std::is_same<WORD, unsigned short>::value, "WORD is unsigned short");
static_assert(IsUnsignedOfBytes<BYTE>(1), "BYTE width");
static_assert(IsUnsignedOfBytes<WORD>(2), "WORD width");
static_assert(IsUnsignedOfBytes<DWORD>(4), "DWORD width");
static_assert(IsSignedOfBytes<LONG>(4), "LONG width");
static_assert(IsUnsignedOfBytes<ULONG>(4), "ULONG width");
static_assert(IsSignedOfBytes<INT>(4), "INT width");
static_assert(IsSignedOfBytes<BOOL>(4), "BOOL width");
static_assert(IsSignedOfBytes<LONGLONG>(8), "LONGLONG width");
static_assert(IsUnsignedOfBytes<ULONGLONG>(8), "ULONGLONG width");
static_assert(std::is_same<COLORREF, DWORD>::value, "COLORREF is DWORD");
static_assert(std::is_same<FXPT2DOT30, LONG>::value, "FXPT2DOT30 is LONG");

// Pointer-sized integers.
static_assert(IsSignedOfBytes<INT_PTR>(kPointerBytes), "INT_PTR width");
static_assert(IsUnsignedOfBytes<UINT_PTR>(kPointerBytes), "UINT_PTR width");
static_assert(IsSignedOfBytes<LONG_PTR>(kPointerBytes), "LONG_PTR width");
static_assert(IsUnsignedOfBytes<ULONG_PTR>(kPointerBytes), "ULONG_PTR width");
static_assert(IsUnsignedOfBytes<DWORD_PTR>(kPointerBytes), "DWORD_PTR width");
static_assert(IsUnsignedOfBytes<SIZE_T>(kPointerBytes), "SIZE_T width");

// Pointer typedefs.
static_assert(std::is_same<LPVOID, void *>::value, "LPVOID");
static_assert(std::is_same<PVOID, void *>::value, "PVOID");
static_assert(std::is_same<LPCVOID, const void *>::value, "LPCVOID");
static_assert(std::is_same<LPSTR, CHAR *>::value, "LPSTR");
static_assert(std::is_same<LPCSTR, const CHAR *>::value, "LPCSTR");
static_assert(std::is_same<LPBOOL, BOOL *>::value, "LPBOOL");
static_assert(std::is_same<LPBYTE, BYTE *>::value, "LPBYTE");
static_assert(std::is_same<LPWORD, WORD *>::value, "LPWORD");
static_assert(std::is_same<LPDWORD, DWORD *>::value, "LPDWORD");
static_assert(std::is_same<LPLONG, LONG *>::value, "LPLONG");
static_assert(std::is_same<LPCOLORREF, COLORREF *>::value, "LPCOLORREF");
static_assert(std::is_same<PHANDLE, HANDLE *>::value, "PHANDLE");
static_assert(std::is_same<LPPOINT, POINT *>::value, "LPPOINT");
static_assert(std::is_same<LPRECT, RECT *>::value, "LPRECT");
static_assert(std::is_same<LPCRECT, const RECT *>::value, "LPCRECT");
static_assert(std::is_same<LPBITMAPINFO, BITMAPINFO *>::value, "LPBITMAPINFO");
static_assert(std::is_same<LPSECURITY_ATTRIBUTES, SECURITY_ATTRIBUTES *>::value,
              "LPSECURITY_ATTRIBUTES");
static_assert(std::is_same<LPOVERLAPPED, OVERLAPPED *>::value, "LPOVERLAPPED");

// Handles: HANDLE and HGDIOBJ are plain void pointers; the GDI handles are
// distinct pointer types (STRICT), each convertible to HGDIOBJ but not to
// one another, so a bitmap passed where a context is expected fails to build.
static_assert(std::is_same<HANDLE, void *>::value, "HANDLE is void *");
static_assert(std::is_same<HGDIOBJ, void *>::value, "HGDIOBJ is void *");
static_assert(std::is_same<HMODULE, HINSTANCE>::value, "HMODULE is HINSTANCE");

template <typename Handle>
constexpr bool IsGdiHandle()
{
    return std::is_pointer<Handle>::value && sizeof(Handle) == kPointerBytes &&
           !std::is_same<Handle, void *>::value &&
           std::is_convertible<Handle, HGDIOBJ>::value;
}
static_assert(IsGdiHandle<HDC>(), "HDC");
static_assert(IsGdiHandle<HBITMAP>(), "HBITMAP");
static_assert(IsGdiHandle<HPEN>(), "HPEN");
static_assert(IsGdiHandle<HBRUSH>(), "HBRUSH");
static_assert(IsGdiHandle<HPALETTE>(), "HPALETTE");
static_assert(IsGdiHandle<HFONT>(), "HFONT");
static_assert(IsGdiHandle<HRGN>(), "HRGN");
static_assert(std::is_pointer<HINSTANCE>::value && !std::is_same<HINSTANCE, void *>::value,
              "HINSTANCE");
static_assert(std::is_pointer<HWND>::value && !std::is_same<HWND, void *>::value &&
                  !std::is_convertible<HWND, HDC>::value,
              "HWND");
static_assert(!std::is_convertible<HBITMAP, HDC>::value, "HBITMAP is not an HDC");
static_assert(!std::is_convertible<HDC, HBITMAP>::value, "HDC is not an HBITMAP");
static_assert(!std::is_convertible<HPEN, HBRUSH>::value, "HPEN is not an HBRUSH");
