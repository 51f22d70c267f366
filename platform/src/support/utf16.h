// The platform's wide strings (UTF-16) to and from the host's text (UTF-8:
// file names, standard error). The wide calls convert their strings here and
// hand them to the narrow implementation.
#ifndef STANDIN_UTF16_H
#define STANDIN_UTF16_H

#include <windows.h>

#include <cstddef>
#include <string>

namespace standin {

using WideString = std::basic_string<WCHAR>;

// What a conversion does with what has no equivalent on the other side: an
// unpaired surrogate in UTF-16, or bytes that are not well-formed UTF-8
// (overlong forms, encoded surrogates, values past U+10FFFF, cut-off
// sequences). A file name refuses them, since a name that does not survive
// the round trip would name another file; text shown to a person replaces
// each with U+FFFD, one per maximal ill-formed part, as Unicode recommends.
enum class Unconvertible { Refuse, Replace };

// Units before the terminating zero.
std::size_t WideLength(const WCHAR* text);

// Converts `count` units (bytes) at `text`, which may hold zeros, into
// `out`. False, with `out` unspecified, when `policy` is Refuse and the text
// does not convert. Allocation failure throws, as the API boundary expects.
bool WideToUtf8(const WCHAR* text, std::size_t count, std::string* out,
                Unconvertible policy);
bool Utf8ToWide(const char* text, std::size_t count, WideString* out, Unconvertible policy);

// The same up to the terminating zero.
inline bool WideToUtf8(const WCHAR* text, std::string* out, Unconvertible policy) {
    return WideToUtf8(text, WideLength(text), out, policy);
}

}  // namespace standin

#endif
