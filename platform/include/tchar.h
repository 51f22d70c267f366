/*
 * Generic-text mappings (the platform's <tchar.h>): _TCHAR, _T() and the
 * _tcs* string routines, narrow by default and wide when _UNICODE is
 * defined (UNICODE, which <windows.h> follows, is a separate switch there
 * too; define both or neither). TCHAR itself comes from <windows.h>.
 *
 * Narrow names map to the C library, as on the platform. Wide characters are
 * 16-bit UTF-16 units (WCHAR) while the host's wchar_t and its wcs*
 * routines are 32 bits, so the wide names map to routines of this header
 * over 16-bit units instead; _T("...") writes u"..." literals for them. The
 * wide printf and scanf families have no 16-bit counterpart here and are
 * left undefined, so a wide build that uses them fails to compile rather
 * than misreading its strings.
 */
#ifndef STANDIN_TCHAR_H
#define STANDIN_TCHAR_H

#include <ctype.h>
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>

#ifdef __cplusplus
extern "C" {
#endif

/* One wide unit, the same type as <winnt.h>'s WCHAR. */
#ifdef __cplusplus
typedef char16_t StandinWideChar;
#else
typedef uint_least16_t StandinWideChar;
#endif

/* ---- The 16-bit string routines behind the wide names --------------------- */

static inline size_t StandinWideLength(const StandinWideChar *s) {
    size_t n = 0;
    while (s[n] != 0) ++n;
    return n;
}

static inline StandinWideChar *StandinWideCopy(StandinWideChar *to, const StandinWideChar *from) {
    StandinWideChar *d = to;
    while ((*d++ = *from++) != 0) {
    }
    return to;
}

/* As strncpy: stops after n units, pads a shorter source with zeros. */
static inline StandinWideChar *StandinWideCopyN(StandinWideChar *to, const StandinWideChar *from,
                                                size_t n) {
    size_t i = 0;
    for (; i < n && from[i] != 0; ++i) to[i] = from[i];
    for (; i < n; ++i) to[i] = 0;
    return to;
}

static inline StandinWideChar *StandinWideAppend(StandinWideChar *to, const StandinWideChar *from) {
    StandinWideCopy(to + StandinWideLength(to), from);
    return to;
}

/* As strncat: appends at most n units, then a terminating zero. */
static inline StandinWideChar *StandinWideAppendN(StandinWideChar *to, const StandinWideChar *from,
                                                  size_t n) {
    StandinWideChar *d = to + StandinWideLength(to);
    size_t i = 0;
    for (; i < n && from[i] != 0; ++i) d[i] = from[i];
    d[i] = 0;
    return to;
}

/* Folds A-Z only, as the platform's C locale does. */
static inline unsigned StandinWideFold(StandinWideChar c) {
    return c >= 'A' && c <= 'Z' ? (unsigned)c + ('a' - 'A') : (unsigned)c;
}

/* Compares at most n units (SIZE_MAX: whole strings), folding case or not. */
static inline int StandinWideCompareN(const StandinWideChar *a, const StandinWideChar *b, size_t n,
                                      int fold) {
    for (size_t i = 0; i < n; ++i) {
        unsigned x = fold ? StandinWideFold(a[i]) : a[i];
        unsigned y = fold ? StandinWideFold(b[i]) : b[i];
        if (x != y) return x < y ? -1 : 1;
        if (x == 0) break;
    }
    return 0;
}

static inline int StandinWideCompare(const StandinWideChar *a, const StandinWideChar *b) {
    return StandinWideCompareN(a, b, SIZE_MAX, 0);
}
static inline int StandinWideCompareNoCase(const StandinWideChar *a, const StandinWideChar *b) {
    return StandinWideCompareN(a, b, SIZE_MAX, 1);
}
static inline int StandinWideCompareCountN(const StandinWideChar *a, const StandinWideChar *b,
                                           size_t n) {
    return StandinWideCompareN(a, b, n, 0);
}
static inline int StandinWideCompareNoCaseN(const StandinWideChar *a, const StandinWideChar *b,
                                            size_t n) {
    return StandinWideCompareN(a, b, n, 1);
}

/* The terminating zero counts as part of the string, as in strchr. */
static inline StandinWideChar *StandinWideFind(const StandinWideChar *s, StandinWideChar c) {
    for (;; ++s) {
        if (*s == c) return (StandinWideChar *)s;
        if (*s == 0) return NULL;
    }
}

static inline StandinWideChar *StandinWideFindLast(const StandinWideChar *s, StandinWideChar c) {
    const StandinWideChar *found = NULL;
    for (;; ++s) {
        if (*s == c) found = s;
        if (*s == 0) return (StandinWideChar *)found;
    }
}

static inline StandinWideChar *StandinWideFindString(const StandinWideChar *s,
                                                     const StandinWideChar *part) {
    size_t n = StandinWideLength(part);
    for (;; ++s) {
        if (StandinWideCompareN(s, part, n, 0) == 0) return (StandinWideChar *)s;
        if (*s == 0) return NULL;
    }
}

/* A copy in malloc's memory; NULL when it runs out. */
static inline StandinWideChar *StandinWideDuplicate(const StandinWideChar *s) {
    size_t bytes = (StandinWideLength(s) + 1) * sizeof(StandinWideChar);
    StandinWideChar *copy = (StandinWideChar *)malloc(bytes);
    return copy != NULL ? (StandinWideChar *)memcpy(copy, s, bytes) : NULL;
}

/* Integers from wide digits: the units are narrowed (digits, signs and
 * spaces are ASCII) and read by the C library, so the rules are strtol's. */
enum { StandinDigitsMax = 80 };

static inline void StandinNarrowDigits(const StandinWideChar *s, char digits[StandinDigitsMax]) {
    size_t n = 0;
    while (n + 1 < StandinDigitsMax && s[n] != 0 && s[n] < 0x80) {
        digits[n] = (char)s[n];
        ++n;
    }
    digits[n] = '\0';
}

static inline long StandinWideToLong(const StandinWideChar *s, StandinWideChar **end, int base) {
    char digits[StandinDigitsMax];
    StandinNarrowDigits(s, digits);
    char *stop;
    long value = strtol(digits, &stop, base);
    if (end != NULL) *end = (StandinWideChar *)s + (stop - digits);
    return value;
}

static inline unsigned long StandinWideToUnsignedLong(const StandinWideChar *s,
                                                      StandinWideChar **end, int base) {
    char digits[StandinDigitsMax];
    StandinNarrowDigits(s, digits);
    char *stop;
    unsigned long value = strtoul(digits, &stop, base);
    if (end != NULL) *end = (StandinWideChar *)s + (stop - digits);
    return value;
}

static inline int StandinWideToInt(const StandinWideChar *s) {
    return (int)StandinWideToLong(s, NULL, 10);
}

/* ---- The generic names ---------------------------------------------------- */

#ifdef _UNICODE

typedef StandinWideChar _TCHAR;
typedef StandinWideChar _TSCHAR;
typedef StandinWideChar _TUCHAR;
typedef StandinWideChar _TXCHAR;
typedef int _TINT;
#define __T(x) u##x

#define _tcslen StandinWideLength
#define _tcscpy StandinWideCopy
#define _tcsncpy StandinWideCopyN
#define _tcscat StandinWideAppend
#define _tcsncat StandinWideAppendN
#define _tcscmp StandinWideCompare
#define _tcsncmp StandinWideCompareCountN
#define _tcsicmp StandinWideCompareNoCase
#define _tcsnicmp StandinWideCompareNoCaseN
#define _tcschr StandinWideFind
#define _tcsrchr StandinWideFindLast
#define _tcsstr StandinWideFindString
#define _tcsdup StandinWideDuplicate
#define _tcstol StandinWideToLong
#define _tcstoul StandinWideToUnsignedLong
#define _ttoi StandinWideToInt
#define _tstoi StandinWideToInt
#define _ttol(s) StandinWideToLong((s), NULL, 10)
#define _tstol(s) StandinWideToLong((s), NULL, 10)

#else

typedef char _TCHAR;
typedef signed char _TSCHAR;
typedef unsigned char _TUCHAR;
typedef char _TXCHAR;
typedef int _TINT;
#define __T(x) x

#define _tcslen strlen
#define _tcscpy strcpy
#define _tcsncpy strncpy
#define _tcscat strcat
#define _tcsncat strncat
#define _tcscmp strcmp
#define _tcsncmp strncmp
#define _tcsicmp strcasecmp
#define _tcsnicmp strncasecmp
#define _tcschr strchr
#define _tcsrchr strrchr
#define _tcsstr strstr
#define _tcsdup strdup
#define _tcstol strtol
#define _tcstoul strtoul
#define _tcstod strtod
#define _ttoi atoi
#define _tstoi atoi
#define _ttol atol
#define _tstol atol

#define _tmain main
#define _tprintf printf
#define _ftprintf fprintf
#define _stprintf sprintf
#define _sntprintf snprintf
#define _vtprintf vprintf
#define _vftprintf vfprintf
#define _vstprintf vsprintf
#define _vsntprintf vsnprintf
#define _tfopen fopen
#define _fputts fputs
#define _fgetts fgets

#define _istalpha isalpha
#define _istdigit isdigit
#define _istspace isspace
#define _istupper isupper
#define _istlower islower
#define _totupper toupper
#define _totlower tolower

#endif

#define _T(x) __T(x)
#define _TEXT(x) __T(x)

#ifdef __cplusplus
}
#endif

#endif /* STANDIN_TCHAR_H */
