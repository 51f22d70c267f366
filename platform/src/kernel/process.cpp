// ExitProcess: ends the process with the caller's exit code.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

// std::exit runs what the C and C++ runtimes register to run at exit and
// flushes standard streams, as the platform's runtime does when a program
// ends. The host keeps the exit code's low 8 bits, so codes above 255 reach
// the parent reduced modulo 256.
VOID WINAPI ExitProcess(UINT uExitCode) {
    std::fflush(nullptr);
    std::exit(static_cast<int>(uExitCode));
}
