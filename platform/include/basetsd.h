/*
 * Fixed-width, pointer-sized and size types (the platform's <basetsd.h>).
 * The pointer-sized ones grow with the pointer on 64-bit hosts, as they do
 * on 64-bit Windows.
 */
#ifndef STANDIN_BASETSD_H
#define STANDIN_BASETSD_H

#include <stddef.h>
#include <stdint.h>

/* Fixed-width integers, with the platform's underlying types. */
typedef signed char INT8, *PINT8;
typedef unsigned char UINT8, *PUINT8;
typedef signed short INT16, *PINT16;
typedef unsigned short UINT16, *PUINT16;
typedef signed int INT32, *PINT32;
typedef unsigned int UINT32, *PUINT32;
typedef signed int LONG32, *PLONG32;
typedef unsigned int ULONG32, *PULONG32;
typedef unsigned int DWORD32, *PDWORD32;
typedef signed long long INT64, *PINT64;
typedef unsigned long long UINT64, *PUINT64;
typedef signed long long LONG64, *PLONG64;
typedef unsigned long long ULONG64, *PULONG64;
typedef unsigned long long DWORD64, *PDWORD64;

typedef intptr_t INT_PTR, *PINT_PTR;
typedef uintptr_t UINT_PTR, *PUINT_PTR;
typedef intptr_t LONG_PTR, *PLONG_PTR;
typedef uintptr_t ULONG_PTR, *PULONG_PTR;
typedef uintptr_t DWORD_PTR, *PDWORD_PTR;
typedef size_t SIZE_T, *PSIZE_T;
typedef LONG_PTR SSIZE_T, *PSSIZE_T;

/* Half a pointer: 16 bits on 32-bit hosts, 32 on 64-bit ones. */
#if UINTPTR_MAX > 0xFFFFFFFFu
typedef int HALF_PTR, *PHALF_PTR;
typedef unsigned int UHALF_PTR, *PUHALF_PTR;
#else
typedef short HALF_PTR, *PHALF_PTR;
typedef unsigned short UHALF_PTR, *PUHALF_PTR;
#endif

#endif /* STANDIN_BASETSD_H */
