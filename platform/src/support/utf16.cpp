#include "support/utf16.h"

#include <cstdint>

namespace standin {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

void AppendUtf8(char32_t c, std::string* out) {
    if (c < 0x80) {
        out->push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out->push_back(static_cast<char>(0xC0 | (c >> 6)));
        out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out->push_back(static_cast<char>(0xE0 | (c >> 12)));
        out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out->push_back(static_cast<char>(0xF0 | (c >> 18)));
        out->push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

void AppendUtf16(char32_t c, WideString* out) {
    if (c < 0x10000) {
        out->push_back(static_cast<WCHAR>(c));
    } else {
        c -= 0x10000;
        out->push_back(static_cast<WCHAR>(0xD800 + (c >> 10)));
        out->push_back(static_cast<WCHAR>(0xDC00 + (c & 0x3FF)));
    }
}

// Decodes one UTF-8 sequence at `s` (with `left` bytes available) into `*c`
// and returns the bytes it used, or returns zero with `*used` set to the
// length of the maximal ill-formed part (at least one byte). The ranges of
// the second byte are Unicode's table of well-formed sequences, which
// excludes overlong forms, surrogates and values past U+10FFFF.
std::size_t DecodeUtf8(const unsigned char* s, std::size_t left, char32_t* c,
                       std::size_t* used) {
    const unsigned lead = s[0];
    *used = 1;
    if (lead < 0x80) {
        *c = lead;
        return 1;
    }
    std::size_t length;
    unsigned low = 0x80, high = 0xBF;  // the second byte's range
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    char32_t value = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned byte = i < left ? s[i] : 0;
        const unsigned lo = i == 1 ? low : 0x80, hi = i == 1 ? high : 0xBF;
        if (i >= left || byte < lo || byte > hi) {
            *used = i;
            return 0;
        }
        value = (value << 6) | (byte & 0x3F);
    }
    *c = value;
    *used = length;
    return length;
}

}  // namespace

std::size_t WideLength(const WCHAR* text) {
    std::size_t n = 0;
    while (text[n] != 0) ++n;
    return n;
}

bool WideToUtf8(const WCHAR* text, std::size_t count, std::string* out,
                Unconvertible policy) {
    out->clear();
    out->reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        char32_t c = text[i];
        if (IsHighSurrogate(c) && i + 1 < count && IsLowSurrogate(text[i + 1])) {
            c = 0x10000 + ((c - 0xD800) << 10) + (char32_t{text[i + 1]} - 0xDC00);
            ++i;
        } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
            if (policy == Unconvertible::Refuse) return false;
            c = kReplacement;
        }
        AppendUtf8(c, out);
    }
    return true;
}

bool Utf8ToWide(const char* text, std::size_t count, WideString* out, Unconvertible policy) {
    out->clear();
    out->reserve(count);
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    std::size_t i = 0;
    while (i < count) {
        char32_t c = 0;
        std::size_t used = 0;
        if (DecodeUtf8(bytes + i, count - i, &c, &used) == 0) {
            if (policy == Unconvertible::Refuse) return false;
            c = kReplacement;
        }
        AppendUtf16(c, out);
        i += used;
    }
    return true;
}

}  // namespace standin
