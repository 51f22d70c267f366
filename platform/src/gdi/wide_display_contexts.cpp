// CreateDCW and CreateICW: the names converted to UTF-8 and handed to the
// narrow forms' maker. A name that does not convert names no display.
#include "gdi/display_names.h"

#include "support/api_boundary.h"
#include "support/last_error.h"
#include "support/utf16.h"

#include <string>

namespace standin {
namespace {

// A null name stays null.
bool Narrow(const WCHAR* name, std::string* out, const char** narrowed) {
    *narrowed = nullptr;
    if (name == nullptr) return true;
    if (!WideToUtf8(name, out, Unconvertible::Refuse)) return false;
    *narrowed = out->c_str();
    return true;
}

HDC CreateWide(const WCHAR* driver, const WCHAR* device, const DEVMODEW* mode,
               DeviceContext::Source source) {
    std::string driverText, deviceText;
    const char *narrowDriver, *narrowDevice;
    if (!Narrow(driver, &driverText, &narrowDriver) || !Narrow(device, &deviceText, &narrowDevice))
        return Fail<HDC>(ERROR_INVALID_PRINTER_NAME);
    const DisplayMode fields = mode != nullptr ? ModeOf(*mode) : DisplayMode{};
    return CreateDisplayContext(narrowDriver, narrowDevice, mode != nullptr ? &fields : nullptr, source);
}

}  // namespace
}  // namespace standin

using namespace standin;

HDC WINAPI CreateDCW(LPCWSTR pwszDriver, LPCWSTR pwszDevice, LPCWSTR pszPort, const DEVMODEW* pdm) try {
    (void)pszPort;
    return CreateWide(pwszDriver, pwszDevice, pdm, DeviceContext::Source::CreateDC);
} catch (...) {
    return OutOfMemory<HDC>();
}

HDC WINAPI CreateICW(LPCWSTR pszDriver, LPCWSTR pszDevice, LPCWSTR pszPort, const DEVMODEW* pdm) try {
    (void)pszPort;
    return CreateWide(pszDriver, pszDevice, pdm, DeviceContext::Source::CreateIC);
} catch (...) {
    return OutOfMemory<HDC>();
}
