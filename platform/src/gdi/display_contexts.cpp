// CreateDC and CreateIC for the display: a device context, or an
// information context that only answers questions, for the one screen.
// There are no printers, so every other device name fails.
#include "gdi/display_names.h"
#include "gdi/gdi_objects.h"
#include "gdi/screen.h"

#include "support/api_boundary.h"
#include "support/last_error.h"

#include <cctype>

namespace standin {
namespace {

bool SameName(const char* a, const char* b) {
    for (; *a != '\0' && *b != '\0'; ++a, ++b) {
        if (std::toupper(static_cast<unsigned char>(*a)) != std::toupper(static_cast<unsigned char>(*b)))
            return false;
    }
    return *a == *b;
}

bool NamesDisplay(const char* name) {
    return name != nullptr && (SameName(name, kDisplayDriverName) || SameName(name, kDisplayDeviceName));
}

// A display's DEVMODE, when given, must match the screen's current mode in
// every field it marks.
// (A frequency of 0 or 1 means the hardware's default.)
bool MatchesScreen(const DisplayMode& mode) {
    if ((mode.fields & DM_BITSPERPEL) && mode.bitsPerPel != DWORD{kScreenBitCount}) return false;
    if ((mode.fields & DM_PELSWIDTH) && mode.width != DWORD{kScreenWidth}) return false;
    if ((mode.fields & DM_PELSHEIGHT) && mode.height != DWORD{kScreenHeight}) return false;
    if ((mode.fields & DM_DISPLAYFREQUENCY) && mode.frequency > 1 &&
        mode.frequency != DWORD{kScreenRefreshHz})
        return false;
    return true;
}

}  // namespace

HDC CreateDisplayContext(const char* driver, const char* device, const DisplayMode* mode,
                         DeviceContext::Source source) {
    // "DISPLAY" or the display's device name, as the driver with no device
    // or the same one, or as the device alone; anything else would be a
    // printer.
    const bool display = NamesDisplay(driver) ? device == nullptr || SameName(device, driver)
                                              : driver == nullptr && NamesDisplay(device);
    if (!display) return Fail<HDC>(ERROR_INVALID_PRINTER_NAME);
    if (mode != nullptr && !MatchesScreen(*mode)) return Fail<HDC>(ERROR_INVALID_PARAMETER);
    ApiLock lock(ApiMutex());
    EnsureStockObjects();
    HDC dc = InsertContext(source);
    return dc != nullptr ? dc : Fail<HDC>(ERROR_NOT_ENOUGH_MEMORY);
}

}  // namespace standin

using namespace standin;

HDC WINAPI CreateDCA(LPCSTR pwszDriver, LPCSTR pwszDevice, LPCSTR pszPort, const DEVMODEA* pdm) try {
    (void)pszPort;  // ignored, as on the platform
    const DisplayMode mode = pdm != nullptr ? ModeOf(*pdm) : DisplayMode{};
    return CreateDisplayContext(pwszDriver, pwszDevice, pdm != nullptr ? &mode : nullptr,
                                DeviceContext::Source::CreateDC);
} catch (...) {
    return OutOfMemory<HDC>();
}

HDC WINAPI CreateICA(LPCSTR pszDriver, LPCSTR pszDevice, LPCSTR pszPort, const DEVMODEA* pdm) try {
    (void)pszPort;
    const DisplayMode mode = pdm != nullptr ? ModeOf(*pdm) : DisplayMode{};
    return CreateDisplayContext(pszDriver, pszDevice, pdm != nullptr ? &mode : nullptr,
                                DeviceContext::Source::CreateIC);
} catch (...) {
    return OutOfMemory<HDC>();
}
