// The display's names, and the context maker behind CreateDC and CreateIC
// (their wide forms convert the names and call it too).
#ifndef STANDIN_DISPLAY_NAMES_H
#define STANDIN_DISPLAY_NAMES_H

#include "gdi/gdi_objects.h"

namespace standin {

// The driver name every display answers to, and the one display device's
// own name (what EnumDisplayDevices would report for the primary screen).
constexpr const char kDisplayDriverName[] = "DISPLAY";
constexpr const char kDisplayDeviceName[] = "\\\\.\\DISPLAY1";

// A context for the display named by driver and device (compared without
// regard to case), or null with the last error set: ERROR_INVALID_PRINTER_NAME
// for any other device, ERROR_INVALID_PARAMETER for a mode that is not the
// screen's. Takes the API lock itself.
HDC CreateDisplayContext(const char* driver, const char* device, const DEVMODEA* mode,
                         DeviceContext::Source source);

}  // namespace standin

#endif
