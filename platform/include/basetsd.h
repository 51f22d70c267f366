/*
 * Pointer-sized and size types (the platform's <basetsd.h>). They grow with
 * the pointer on 64-bit hosts, as they do on 64-bit Windows.
 */
#ifndef STANDIN_BASETSD_H
#define STANDIN_BASETSD_H

#include <stddef.h>
#include <stdint.h>

typedef intptr_t INT_PTR;
typedef uintptr_t UINT_PTR;
typedef intptr_t LONG_PTR;
typedef uintptr_t ULONG_PTR;
typedef uintptr_t DWORD_PTR;
typedef size_t SIZE_T;

#endif /* STANDIN_BASETSD_H */
