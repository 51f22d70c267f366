/*
 * The platform's basic definitions (<windef.h> with <minwindef.h>): calling
 * conventions, the integer types every Win32 file assumes, points and
 * rectangles, colours and the GDI and window handles.
 *
 * Integer types keep the platform's widths (DWORD and LONG are 32 bits), so
 * every structure has the size it has on Windows; only pointer-sized members
 * and handles grow on 64-bit hosts, as they do on 64-bit Windows.
 */
#ifndef STANDIN_WINDEF_H
#define STANDIN_WINDEF_H

#include "winnt.h"

#ifdef __cplusplus
extern "C" {
#endif

#define WINAPI
#define APIENTRY
#define CALLBACK
#define CONST const

#ifndef NULL
#define NULL 0
#endif
#ifndef FALSE
#define FALSE 0
#endif
#ifndef TRUE
#define TRUE 1
#endif

typedef int BOOL;
typedef int INT;
typedef unsigned int UINT;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef unsigned short USHORT;
typedef uint32_t DWORD;
typedef uint32_t ULONG;
typedef DWORD COLORREF;

typedef unsigned char UCHAR, *PUCHAR;
typedef unsigned short USHORT, *PUSHORT;
typedef ULONG *PULONG;
typedef float FLOAT, *PFLOAT;

typedef BOOL *PBOOL, *LPBOOL;
typedef BYTE *PBYTE, *LPBYTE;
typedef int *PINT, *LPINT;
typedef WORD *PWORD, *LPWORD;
typedef LONG *LPLONG;
typedef DWORD *PDWORD, *LPDWORD;
typedef unsigned int *PUINT;
typedef void *LPVOID;
typedef const void *LPCVOID;
typedef COLORREF *LPCOLORREF;

/* Message parameters and results: pointer-sized. */
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;

typedef WORD ATOM;
typedef int HFILE;
typedef INT_PTR(WINAPI *FARPROC)();

#define MAX_PATH 260

/* Words and bytes of larger values. */
#define MAKEWORD(a, b) \
    ((WORD)(((BYTE)(((DWORD_PTR)(a)) & 0xff)) | ((WORD)((BYTE)(((DWORD_PTR)(b)) & 0xff))) << 8))
#define MAKELONG(a, b) \
    ((LONG)(((WORD)(((DWORD_PTR)(a)) & 0xffff)) | ((DWORD)((WORD)(((DWORD_PTR)(b)) & 0xffff))) << 16))
#define LOWORD(l) ((WORD)(((DWORD_PTR)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((DWORD_PTR)(l)) >> 16) & 0xffff))
#define LOBYTE(w) ((BYTE)(((DWORD_PTR)(w)) & 0xff))
#define HIBYTE(w) ((BYTE)((((DWORD_PTR)(w)) >> 8) & 0xff))

DECLARE_HANDLE(HDC);
DECLARE_HANDLE(HBITMAP);
DECLARE_HANDLE(HPEN);
DECLARE_HANDLE(HBRUSH);
DECLARE_HANDLE(HPALETTE);
DECLARE_HANDLE(HFONT);
DECLARE_HANDLE(HRGN);
DECLARE_HANDLE(HINSTANCE);
DECLARE_HANDLE(HWND);
typedef HINSTANCE HMODULE;
typedef void *HGDIOBJ;
typedef HANDLE *SPHANDLE, *LPHANDLE;
typedef HANDLE HGLOBAL;
typedef HANDLE HLOCAL;
typedef HANDLE GLOBALHANDLE;
typedef HANDLE LOCALHANDLE;

typedef struct tagPOINT {
    LONG x;
    LONG y;
} POINT, *PPOINT, *LPPOINT;

typedef struct _POINTL {
    LONG x;
    LONG y;
} POINTL, *PPOINTL;

typedef struct tagRECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
} RECT, *PRECT, *LPRECT;
typedef const RECT *LPCRECT;

typedef struct tagSIZE {
    LONG cx;
    LONG cy;
} SIZE, *PSIZE, *LPSIZE;

#ifdef __cplusplus
}
#endif

/*
 * min and max, unless NOMINMAX. C gets the platform's macros. C++ gets
 * function templates with the macros' result (the operands' common type)
 * instead: a macro named min would break std::min, (std::min) and
 * numeric_limits<T>::max() in every file that includes this header, while
 * these leave them alone. A call min(a, b) with operands of one type picks
 * std::min where that is visible too (it is the more specialised template)
 * and gets the same value.
 */
#ifndef NOMINMAX
#ifdef __cplusplus
#include <type_traits>
extern "C++" {
template <typename A, typename B>
constexpr typename std::common_type<A, B>::type max(A a, B b) {
    return (a > b) ? a : b;
}
template <typename A, typename B>
constexpr typename std::common_type<A, B>::type min(A a, B b) {
    return (a < b) ? a : b;
}
}
#else
#ifndef max
#define max(a, b) (((a) > (b)) ? (a) : (b))
#endif
#ifndef min
#define min(a, b) (((a) < (b)) ? (a) : (b))
#endif
#endif
#endif

#endif /* STANDIN_WINDEF_H */
