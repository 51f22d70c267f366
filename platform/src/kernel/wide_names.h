// Wide file names for the W calls: each converts its names to the host's
// spelling (UTF-8) and hands them to the narrow call, so both forms share
// one implementation and one set of rules.
#ifndef STANDIN_KERNEL_WIDE_NAMES_H
#define STANDIN_KERNEL_WIDE_NAMES_H

#include "support/utf16.h"

#include <string>

namespace standin {

// A name that does not convert, one holding an unpaired surrogate, fails
// with ERROR_INVALID_NAME. The platform's file systems store names as 16-bit
// units and never translate them, so no error of its own covers this case;
// its rule for names is that they may hold any character except those the
// target file system does not allow, and such a name fails with
// ERROR_INVALID_NAME ("The filename, directory name, or volume label syntax
// is incorrect"). ERROR_NO_UNICODE_TRANSLATION belongs to the conversion
// calls (WideCharToMultiByte), which a file call never reports.
constexpr DWORD kUnconvertibleNameError = ERROR_INVALID_NAME;

// A wide name spelled as the host's file system spells it. A null name
// stays null, so the narrow call reports it as it reports its own.
class NarrowName {
public:
    explicit NarrowName(LPCWSTR name)  // throws std::bad_alloc
        : null_(name == nullptr),
          converts_(null_ || WideToUtf8(name, &text_, Unconvertible::Refuse)) {}
    bool Converts() const { return converts_; }
    LPCSTR Get() const { return null_ ? nullptr : text_.c_str(); }

private:
    std::string text_;
    bool null_;
    bool converts_;
};

}  // namespace standin

#endif
