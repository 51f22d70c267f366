// The display's names and modes, and the context maker behind CreateDC
// and CreateIC in both forms.
#ifndef STANDIN_DISPLAY_NAMES_H
#define STANDIN_DISPLAY_NAMES_H

#include "gdi/gdi_objects.h"

namespace standin {

// The driver name every display answers to, and the one display device's
// own name (what EnumDisplayDevices would report for the primary screen).
constexpr const char kDisplayDriverName[] = "DISPLAY";
constexpr const char kDisplayDeviceName[] = "\\\\.\\DISPLAY1";

// The fields of a DEVMODEA or DEVMODEW that describe a display's mode.
struct DisplayMode {
    DWORD fields = 0;
    DWORD bitsPerPel = 0;
    DWORD width = 0;
    DWORD height = 0;
    DWORD frequency = 0;
};

template <class DevMode>
DisplayMode ModeOf(const DevMode& mode) {
    return DisplayMode{mode.dmFields, mode.dmBitsPerPel, mode.dmPelsWidth, mode.dmPelsHeight,
                       mode.dmDisplayFrequency};
}

// A context for the display named by driver and device (compared without
// regard to case), or null with the last error set: ERROR_INVALID_PRINTER_NAME
// for any other device, ERROR_INVALID_PARAMETER for a mode that is not the
// screen's. Takes the API lock itself.
HDC CreateDisplayContext(const char* driver, const char* device, const DisplayMode* mode,
                         DeviceContext::Source source);

}  // namespace standin

#endif
