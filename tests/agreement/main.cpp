// The compile-time checks live in the other sources of this program; they
// pass by building. What a constant expression cannot hold, a pointer made
// from an integer, is checked here when the program runs.
#include <windows.h>

#include <cstdio>

namespace {

bool HandleHasValue(const char *name, HANDLE handle, LONG_PTR expected)
{
    if (reinterpret_cast<LONG_PTR>(handle) == expected)
        return true;
    std::fprintf(stderr, "%s is %lld, expected %lld\n", name,
                 static_cast<long long>(reinterpret_cast<LONG_PTR>(handle)),
                 static_cast<long long>(expected));
    return false;
}

}  // namespace

int main()
{
    bool ok = HandleHasValue("INVALID_HANDLE_VALUE", INVALID_HANDLE_VALUE, -1);
    // A GDI error is all ones in the low 32 bits, sign-extended on 64-bit hosts.
    ok = HandleHasValue("HGDI_ERROR", HGDI_ERROR, -1) && ok;
    return ok ? 0 : 1;
}
