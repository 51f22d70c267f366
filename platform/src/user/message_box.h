// Message boxes without a desktop: the line written to standard error and
// the button that answers.
#ifndef STANDIN_MESSAGE_BOX_H
#define STANDIN_MESSAGE_BOX_H

#include <windows.h>

#include <string>

namespace standin {

// The box's caption and text as one line: "caption: text", line breaks in
// either turned into spaces, "Error" for a null caption (the platform's
// default title) and nothing for a null text; ends in a newline.
std::string MessageLine(const char* caption, const char* text);

// Shows the box (writes its line) and returns the default button's ID, or
// 0 with ERROR_INVALID_MSGBOX_STYLE when the type names no button set.
int ShowMessageBox(const std::string& line, UINT type);

}  // namespace standin

#endif
