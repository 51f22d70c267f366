// MessageBoxA and MessageBoxW. There is no desktop to show a box on, so the box is written
// to standard error as one line and answered at once by its default button,
// as a user pressing Enter would. The owner window does not matter: any
// handle, or none, is accepted.
#include "user/message_box.h"

#include "support/api_boundary.h"
#include "support/last_error.h"
#include "support/utf16.h"

#include <cstdio>

namespace standin {
namespace {

// The buttons of each MB_TYPEMASK value, left to right.
struct ButtonSet {
    int count;
    int ids[3];
};

constexpr ButtonSet kButtonSets[] = {
    {1, {IDOK}},                           // MB_OK
    {2, {IDOK, IDCANCEL}},                 // MB_OKCANCEL
    {3, {IDABORT, IDRETRY, IDIGNORE}},     // MB_ABORTRETRYIGNORE
    {3, {IDYES, IDNO, IDCANCEL}},          // MB_YESNOCANCEL
    {2, {IDYES, IDNO}},                    // MB_YESNO
    {2, {IDRETRY, IDCANCEL}},              // MB_RETRYCANCEL
    {3, {IDCANCEL, IDTRYAGAIN, IDCONTINUE}},  // MB_CANCELTRYCONTINUE
};

void AppendOneLine(std::string* line, const char* text) {
    for (; *text != '\0'; ++text) {
        // A CR LF pair becomes one space.
        if (*text == '\r' && text[1] == '\n') continue;
        line->push_back(*text == '\r' || *text == '\n' ? ' ' : *text);
    }
}

}  // namespace

std::string MessageLine(const char* caption, const char* text) {
    std::string line;
    AppendOneLine(&line, caption != nullptr ? caption : "Error");
    line += ": ";
    if (text != nullptr) AppendOneLine(&line, text);
    line += '\n';
    return line;
}

int ShowMessageBox(const std::string& line, UINT type) {
    const UINT set = type & MB_TYPEMASK;
    if (set >= sizeof kButtonSets / sizeof kButtonSets[0]) return Fail<int>(ERROR_INVALID_MSGBOX_STYLE);
    const ButtonSet& buttons = kButtonSets[set];
    // MB_DEFBUTTONn picks the nth button. One past them is the Help button
    // when MB_HELP adds it, but Help does not close a box, and a number
    // past every button picks none: both leave the first as the default.
    const int chosen = static_cast<int>((type & MB_DEFMASK) >> 8);
    const int id = chosen < buttons.count ? buttons.ids[chosen] : buttons.ids[0];
    // One write, so that lines from several threads do not interleave.
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
    return id;
}

}  // namespace standin

using namespace standin;

int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) try {
    (void)hWnd;
    return ShowMessageBox(MessageLine(lpCaption, lpText), uType);
} catch (...) {
    return OutOfMemory<int>();
}

// Text for a person: what does not convert shows as U+FFFD.
int WINAPI MessageBoxW(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType) try {
    (void)hWnd;
    std::string text, caption;
    if (lpText != nullptr) WideToUtf8(lpText, &text, Unconvertible::Replace);
    if (lpCaption != nullptr) WideToUtf8(lpCaption, &caption, Unconvertible::Replace);
    return ShowMessageBox(MessageLine(lpCaption != nullptr ? caption.c_str() : nullptr,
                                      lpText != nullptr ? text.c_str() : nullptr),
                          uType);
} catch (...) {
    return OutOfMemory<int>();
}
