// GetDIBits and SetDIBits converting the large picture between 24 and 32
// bits, and memcpy of the same bytes as the floor they are measured against.
#include "bench_cases.h"
#include "heap_counter.h"
#include "pictures.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace bench {
namespace {

struct Buffer {
    BITMAPINFO info;
    std::vector<std::uint8_t> bytes;
};

// A bottom-up buffer of the large picture's size at `bitCount` bits, its
// pages touched before timing.
Buffer MakeBuffer(int bitCount) {
    Buffer buffer;
    std::memset(&buffer.info, 0, sizeof buffer.info);
    BITMAPINFOHEADER& h = buffer.info.bmiHeader;
    h.biSize = sizeof(BITMAPINFOHEADER);
    h.biWidth = kLargeSide;
    h.biHeight = kLargeSide;
    h.biPlanes = 1;
    h.biBitCount = static_cast<WORD>(bitCount);
    h.biCompression = BI_RGB;
    buffer.bytes.assign(static_cast<std::size_t>(kLargeSide) * kLargeSide * bitCount / 8, 1);
    return buffer;
}

std::size_t PictureBytes(int bitCount) {
    return static_cast<std::size_t>(kLargeSide) * kLargeSide * bitCount / 8;
}

void ReportTransfer(benchmark::State& state, std::size_t extraHeap) {
    state.SetItemsProcessed(state.iterations() * kLargeSide * kLargeSide);
    state.counters["extra_heap_bytes"] = static_cast<double>(extraHeap);
}

// Reads a bitmap at `from` bits into a buffer at `to` bits.
void RunGet(benchmark::State& state, int from, int to) {
    Canvas& bitmap = SharedPicture(kLargeSide, from);
    bitmap.Deselect();
    Buffer buffer = MakeBuffer(to);
    HDC dc = CreateCompatibleDC(nullptr);
    std::size_t extraHeap = 0;
    for (auto _ : state) {
        StartHeapWatch();
        if (GetDIBits(dc, bitmap.bitmap(), 0, kLargeSide, buffer.bytes.data(), &buffer.info,
                      DIB_RGB_COLORS) != kLargeSide) {
            state.SkipWithError("GetDIBits failed");
            break;
        }
        extraHeap = std::max(extraHeap, HeapPeakSinceWatch());
        benchmark::ClobberMemory();
    }
    DeleteDC(dc);
    ReportTransfer(state, extraHeap);
}

// Writes a buffer at `from` bits (the picture, read out once) into a bitmap
// at `to` bits.
void RunSet(benchmark::State& state, int from, int to) {
    Canvas& picture = SharedPicture(kLargeSide, from);
    picture.Deselect();
    Buffer buffer = MakeBuffer(from);
    std::memcpy(buffer.bytes.data(), picture.bits(), buffer.bytes.size());
    Canvas bitmap(kLargeSide, kLargeSide, to, false);
    HDC dc = CreateCompatibleDC(nullptr);
    std::size_t extraHeap = 0;
    for (auto _ : state) {
        StartHeapWatch();
        if (SetDIBits(dc, bitmap.bitmap(), 0, kLargeSide, buffer.bytes.data(), &buffer.info,
                      DIB_RGB_COLORS) != kLargeSide) {
            state.SkipWithError("SetDIBits failed");
            break;
        }
        extraHeap = std::max(extraHeap, HeapPeakSinceWatch());
        benchmark::ClobberMemory();
    }
    DeleteDC(dc);
    ReportTransfer(state, extraHeap);
}

// StretchDIBits of a caller's 24-bit buffer holding the large picture onto
// a 24-bit section half its side in HALFTONE mode: StretchBlt's 2:1
// reduction, reading the caller's rows in place.
void RunStretchDibits(benchmark::State& state) {
    Canvas& picture = SharedPicture(kLargeSide, 24);
    picture.Deselect();
    Buffer buffer = MakeBuffer(24);
    std::memcpy(buffer.bytes.data(), picture.bits(), buffer.bytes.size());
    Canvas target(kLargeSide / 2, kLargeSide / 2, 24, false);
    target.Select();
    SetStretchBltMode(target.dc(), HALFTONE);
    std::size_t extraHeap = 0;
    for (auto _ : state) {
        StartHeapWatch();
        if (StretchDIBits(target.dc(), 0, 0, kLargeSide / 2, kLargeSide / 2, 0, 0, kLargeSide, kLargeSide,
                          buffer.bytes.data(), &buffer.info, DIB_RGB_COLORS, SRCCOPY) == 0) {
            state.SkipWithError("StretchDIBits failed");
            break;
        }
        extraHeap = std::max(extraHeap, HeapPeakSinceWatch());
        benchmark::ClobberMemory();
    }
    target.Deselect();
    ReportTransfer(state, extraHeap);
}

// The floor: copying the large picture's bytes at `bitCount` bits.
void RunMemcpy(benchmark::State& state, int bitCount) {
    const std::size_t bytes = PictureBytes(bitCount);
    std::vector<std::uint8_t> from(bytes, 1), to(bytes, 2);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kLargeSide * kLargeSide);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
}

std::string Depths(int from, int to) {
    return std::to_string(from) + "bit->" + std::to_string(to) + "bit";
}

}  // namespace

void RegisterTransferBenchmarks() {
    const std::string size = std::to_string(kLargeSide) + "x" + std::to_string(kLargeSide) + "/";
    for (auto [from, to] : {std::pair{24, 32}, std::pair{32, 24}}) {
        benchmark::RegisterBenchmark(("GetDIBits/" + size + Depths(from, to)).c_str(), RunGet, from, to)->UseRealTime();
        benchmark::RegisterBenchmark(("SetDIBits/" + size + Depths(from, to)).c_str(), RunSet, from, to)->UseRealTime();
    }
    benchmark::RegisterBenchmark(("StretchDIBits/HALFTONE/24bit/" + std::to_string(kLargeSide) + "->" +
                                  std::to_string(kLargeSide / 2)).c_str(), RunStretchDibits)->UseRealTime();
    for (int bitCount : {24, 32})
        benchmark::RegisterBenchmark(("memcpy/" + size + std::to_string(bitCount) + "bit").c_str(),
                                     RunMemcpy, bitCount)->UseRealTime();
}

}  // namespace bench
