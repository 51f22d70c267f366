/*
 * The platform's base types that <winnt.h> declares: characters, strings,
 * 32- and 64-bit integers, handles.
 */
#ifndef STANDIN_WINNT_H
#define STANDIN_WINNT_H

#include "basetsd.h"

#ifdef __cplusplus
extern "C" {
#endif

#define VOID void

typedef char CHAR;
typedef int32_t LONG;
typedef int64_t LONGLONG;
typedef uint64_t ULONGLONG;

typedef void *PVOID;
typedef CHAR *LPSTR;
typedef const CHAR *LPCSTR;
typedef LONG *LPLONG;

typedef void *HANDLE;
typedef HANDLE *PHANDLE;

#define DECLARE_HANDLE(name) \
    struct name##__ {        \
        int unused;          \
    };                       \
    typedef struct name##__ *name

#ifdef __cplusplus
}
#endif

#endif /* STANDIN_WINNT_H */
