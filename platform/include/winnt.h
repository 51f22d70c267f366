/*
 * The platform's base types that <winnt.h> declares: characters, narrow,
 * wide and generic strings, 32- and 64-bit integers, handles.
 */
#ifndef STANDIN_WINNT_H
#define STANDIN_WINNT_H

#include "basetsd.h"

#include <string.h>

#ifdef __cplusplus
extern "C" {
#endif

#define VOID void

typedef char CHAR;
typedef short SHORT;
typedef int32_t LONG;
typedef int64_t LONGLONG;
typedef uint64_t ULONGLONG;
typedef ULONGLONG DWORDLONG, *PDWORDLONG;
typedef unsigned char BOOLEAN, *PBOOLEAN;
typedef LONG HRESULT;
typedef uint32_t LCID;
typedef unsigned short LANGID;
typedef SHORT *PSHORT;
typedef LONG *PLONG;

typedef void *PVOID;
typedef CHAR *LPSTR;
typedef const CHAR *LPCSTR;

/*
 * Wide characters are UTF-16 code units, 16 bits as on the platform. The
 * host's wchar_t is 32 bits, so WCHAR is the type of the host's 16-bit
 * literals instead: u"..." (C++11, C11) gives char16_t units, and WCHAR is
 * char16_t in C++ and uint_least16_t (what C11 makes char16_t) in C, so
 * those literals need no cast. TEXT() under UNICODE writes them.
 */
#ifdef __cplusplus
typedef char16_t WCHAR;
#else
typedef uint_least16_t WCHAR;
#endif
typedef WCHAR *PWCHAR, *LPWCH, *PWCH;
typedef const WCHAR *LPCWCH, *PCWCH;
typedef WCHAR *NWPSTR, *LPWSTR, *PWSTR;
typedef const WCHAR *LPCWSTR, *PCWSTR;
typedef CHAR *PCHAR, *LPCH, *PCH;
typedef const CHAR *LPCCH, *PCCH;
typedef CHAR *NPSTR, *PSTR;
typedef const CHAR *PCSTR;

/* Generic text: CHAR, or WCHAR when UNICODE is defined. */
#ifdef UNICODE
#ifndef _TCHAR_DEFINED
#define _TCHAR_DEFINED
typedef WCHAR TCHAR, *PTCHAR;
typedef WCHAR TBYTE, *PTBYTE;
#endif
typedef LPWSTR LPTCH, PTCH;
typedef LPCWSTR LPCTCH, PCTCH;
typedef LPWSTR PTSTR, LPTSTR;
typedef LPCWSTR PCTSTR, LPCTSTR;
#define __TEXT(quote) u##quote
#else
#ifndef _TCHAR_DEFINED
#define _TCHAR_DEFINED
typedef char TCHAR, *PTCHAR;
typedef unsigned char TBYTE, *PTBYTE;
#endif
typedef LPSTR LPTCH, PTCH;
typedef LPCCH LPCTCH, PCTCH;
typedef LPSTR PTSTR, LPTSTR;
typedef LPCSTR PCTSTR, LPCTSTR;
#define __TEXT(quote) quote
#endif
#define TEXT(quote) __TEXT(quote)

typedef void *HANDLE;
typedef HANDLE *PHANDLE;

/* Limits of the integer types. */
#define MINCHAR 0x80
#define MAXCHAR 0x7f
#define MINSHORT 0x8000
#define MAXSHORT 0x7fff
#define MINLONG 0x80000000
#define MAXLONG 0x7fffffff
#define MAXBYTE 0xff
#define MAXWORD 0xffff
#define MAXDWORD 0xffffffff

/* Elements of an array (not of a pointer). */
#define RTL_NUMBER_OF(A) (sizeof(A) / sizeof((A)[0]))
#define ARRAYSIZE(A) RTL_NUMBER_OF(A)
#define _ARRAYSIZE(A) RTL_NUMBER_OF(A)

/* Marks a parameter as used. Written as a void cast rather than the
 * self-assignment some headers use, so it also takes const parameters and
 * draws no warning from either compiler. */
#define UNREFERENCED_PARAMETER(P) ((void)(P))
#define DBG_UNREFERENCED_PARAMETER(P) ((void)(P))
#define DBG_UNREFERENCED_LOCAL_VARIABLE(V) ((void)(V))

#define RtlMoveMemory(Destination, Source, Length) memmove((Destination), (Source), (Length))
#define RtlCopyMemory(Destination, Source, Length) memcpy((Destination), (Source), (Length))
#define RtlFillMemory(Destination, Length, Fill) memset((Destination), (Fill), (Length))
#define RtlZeroMemory(Destination, Length) memset((Destination), 0, (Length))

#define DECLARE_HANDLE(name) \
    struct name##__ {        \
        int unused;          \
    };                       \
    typedef struct name##__ *name

#ifdef __cplusplus
}
#endif

#endif /* STANDIN_WINNT_H */
