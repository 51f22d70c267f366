// Helpers for checking, at compile time, that <windows.h> declares what this
// project relies on: the same sizes, field offsets, field types, constant
// values and function signatures, whether the header is the portable
// stand-in or the platform's own. Every expectation is written once, from
// the platform's documented declarations, and both headers are held to it.
#ifndef HALFTONE_AGREEMENT_H
#define HALFTONE_AGREEMENT_H

#include <windows.h>

#include <cstddef>
#include <type_traits>

namespace agreement {

// Pointer-sized members and handles are 4 bytes on 32-bit Windows and 8 on
// 64-bit hosts; layouts that hold them are written in terms of these.
constexpr std::size_t kPointerBytes = sizeof(void *);
constexpr std::size_t kPointerAlign = alignof(void *);

constexpr std::size_t AlignUp(std::size_t offset, std::size_t alignment)
{
    return (offset + alignment - 1) / alignment * alignment;
}

// Offset of a pointer-sized member that follows `offset` bytes of others.
constexpr std::size_t PointerAfter(std::size_t offset)
{
    return AlignUp(offset, kPointerAlign);
}

// Compares a constant with its documented value as numbers, whatever the
// types of the two: a macro written 0x80000000L is a 32-bit unsigned long on
// Windows and a positive 64-bit long elsewhere, and both are right, but a
// constant that turned negative, or lost bits, is not.
template <typename Actual, typename Expected>
constexpr bool SameValue(Actual actual, Expected expected)
{
    static_assert(std::is_integral<Actual>::value && std::is_integral<Expected>::value,
                  "constants compared here are integers");
    const bool actualNegative = std::is_signed<Actual>::value && actual < 0;
    const bool expectedNegative = std::is_signed<Expected>::value && expected < 0;
    if (actualNegative || expectedNegative)
        return actualNegative && expectedNegative &&
               static_cast<long long>(actual) == static_cast<long long>(expected);
    return static_cast<unsigned long long>(actual) == static_cast<unsigned long long>(expected);
}

template <typename T>
constexpr bool IsUnsignedOfBytes(std::size_t bytes)
{
    return std::is_integral<T>::value && std::is_unsigned<T>::value && sizeof(T) == bytes;
}

template <typename T>
constexpr bool IsSignedOfBytes(std::size_t bytes)
{
    return std::is_integral<T>::value && std::is_signed<T>::value && sizeof(T) == bytes;
}

}  // namespace agreement

#define EXPECT_SIZE(Struct, bytes) \
    static_assert(sizeof(Struct) == (bytes), "size of " #Struct)

#define EXPECT_FIELD(Struct, field, offset, ...)                                      \
    static_assert(offsetof(Struct, field) == (offset), "offset of " #Struct "::" #field); \
    static_assert(std::is_same<decltype(Struct::field), __VA_ARGS__>::value,          \
                  "type of " #Struct "::" #field)

#define EXPECT_VALUE(constant, value) \
    static_assert(agreement::SameValue((constant), (value)), "value of " #constant)

// The expected type is written with WINAPI, which the stand-in leaves empty
// and the platform defines as __stdcall: a declaration without it would be a
// different function type on 32-bit Windows.
#define EXPECT_SIGNATURE(function, ...)                                  \
    static_assert(std::is_same<decltype(&function), __VA_ARGS__>::value, \
                  "signature of " #function)

#endif  // HALFTONE_AGREEMENT_H
