// Peak memory of one LoadImageA beyond the bitmap it makes. Writes a 24-bit
// BMP file of each side given (4096 when none is), loads it, and prints the
// rise of the process's peak resident set over what it held before the call,
// less the bitmap's own bytes: memory the loader used on the way.
//   load_memory [SIDE...]
// Linux only: the peak is VmHWM of /proc/self/status, reset through
// /proc/self/clear_refs before each load.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kBits = 24;
constexpr int kDefaultSide = 4096;

// A field of /proc/self/status in bytes (the file gives kB), or -1.
long long StatusBytes(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(field) + ":";
    while (std::getline(status, line))
        if (line.compare(0, prefix.size(), prefix) == 0) return std::atoll(line.c_str() + prefix.size()) * 1024;
    return -1;
}

bool ResetPeak() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    return static_cast<bool>(clear);
}

// The file is written a row at a time, so writing it takes no memory of note.
bool WritePicture(const std::string& path, int side, std::size_t stride) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return false;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    info.biSize = sizeof info;
    info.biWidth = side;
    info.biHeight = side;
    info.biPlanes = 1;
    info.biBitCount = kBits;
    bool ok = std::fwrite(&file, sizeof file, 1, f) == 1 && std::fwrite(&info, sizeof info, 1, f) == 1;
    std::vector<unsigned char> row(stride);
    for (int y = 0; ok && y < side; ++y) {
        for (std::size_t x = 0; x < stride; ++x) row[x] = static_cast<unsigned char>(x * 7 + y);
        ok = std::fwrite(row.data(), 1, stride, f) == stride;
    }
    return std::fclose(f) == 0 && ok;
}

int Measure(int side) {
    const std::size_t stride = (static_cast<std::size_t>(side) * kBits / 8 + 3) / 4 * 4;
    const double bitmapBytes = static_cast<double>(stride) * side;
    char path[] = "/tmp/load-memory-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0 || !WritePicture(path, side, stride)) {
        std::perror("writing the picture");
        return 1;
    }
    if (!ResetPeak()) {
        std::fprintf(stderr, "cannot reset the peak through /proc/self/clear_refs\n");
        return 1;
    }
    const long long before = StatusBytes("VmRSS");
    HANDLE image = LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    const long long peak = StatusBytes("VmHWM");
    std::remove(path);
    if (image == nullptr) {
        std::fprintf(stderr, "LoadImageA failed: %lu\n", static_cast<unsigned long>(GetLastError()));
        return 1;
    }
    DeleteObject(image);
    const double MiB = 1024.0 * 1024.0;
    std::printf("LoadImageA %d x %d, 24-bit: bitmap %.1f MiB, peak beyond it %.2f MiB\n", side, side,
                bitmapBytes / MiB, (static_cast<double>(peak - before) - bitmapBytes) / MiB);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<int> sides;
    for (int i = 1; i < argc; ++i) sides.push_back(std::atoi(argv[i]));
    if (sides.empty()) sides.push_back(kDefaultSide);
    for (int side : sides)
        if (side <= 0 || Measure(side) != 0) return 1;
    return 0;
}
