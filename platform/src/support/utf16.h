// The platform's wide strings (UTF-16) as the host's text (UTF-8: file
// names, standard error). The wide calls convert their strings here and hand
// them to the narrow implementation. No call yet hands a string back, so
// there is no conversion the other way.
#ifndef STANDIN_UTF16_H
#define STANDIN_UTF16_H

#include <windows.h>

#include <cstddef>
#include <string>

namespace standin {

// What a conversion does with an unpaired surrogate, which has no UTF-8
// form. A file name refuses it, since a name changed on the way would name
// another file; text shown to a person replaces each with U+FFFD.
enum class Unconvertible { Refuse, Replace };

// Units before the terminating zero.
std::size_t WideLength(const WCHAR* text);

// Converts `count` units at `text`, which may hold zeros, into `out`. False,
// with `out` unspecified, when `policy` is Refuse and the text does not
// convert. Allocation failure throws, as the API boundary expects.
bool WideToUtf8(const WCHAR* text, std::size_t count, std::string* out,
                Unconvertible policy);

// The same up to the terminating zero.
inline bool WideToUtf8(const WCHAR* text, std::string* out, Unconvertible policy) {
    return WideToUtf8(text, WideLength(text), out, policy);
}

}  // namespace standin

#endif
