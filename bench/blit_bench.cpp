// BitBlt of the large 24-bit picture onto another: SRCCOPY (the row copy),
// SRCINVERT and PATINVERT (operations with loops of their own) and 0xE2
// (DSPDxax, which only the general per-bit evaluation handles), each also
// by the general route; and FillRect with a solid brush at 24 and 32 bits.
#include "bench_cases.h"
#include "pictures.h"

#include <benchmark/benchmark.h>
#include <standin/testing.h>

#include <string>
#include <utility>

namespace bench {
namespace {

struct BlitCase {
    const char* name;
    DWORD rop;
    bool general;  // every dedicated route off (standin::UseDedicatedRoutes)
};

void RunBlit(benchmark::State& state, BlitCase c) {
    Canvas& source = SharedPicture(kLargeSide, 24);
    Canvas target(kLargeSide, kLargeSide, 24, false);
    source.Select();
    target.Select();
    HBRUSH brush = CreateSolidBrush(RGB(12, 200, 77));
    HGDIOBJ previous = SelectObject(target.dc(), brush);
    standin::UseDedicatedRoutes(!c.general);
    for (auto _ : state) {
        if (!BitBlt(target.dc(), 0, 0, kLargeSide, kLargeSide, source.dc(), 0, 0, c.rop)) {
            state.SkipWithError("BitBlt failed");
            break;
        }
        benchmark::ClobberMemory();
    }
    standin::UseDedicatedRoutes(true);
    state.SetLabel(standin::LastBlitRoute());
    SelectObject(target.dc(), previous);
    DeleteObject(brush);
    source.Deselect();
    state.SetItemsProcessed(state.iterations() * kLargeSide * kLargeSide);
}

void RunFill(benchmark::State& state, int bitCount) {
    Canvas target(kLargeSide, kLargeSide, bitCount, false);
    target.Select();
    HBRUSH brush = CreateSolidBrush(RGB(12, 200, 77));
    const RECT whole{0, 0, kLargeSide, kLargeSide};
    for (auto _ : state) {
        if (!FillRect(target.dc(), &whole, brush)) {
            state.SkipWithError("FillRect failed");
            break;
        }
        benchmark::ClobberMemory();
    }
    target.Deselect();
    DeleteObject(brush);
    state.SetItemsProcessed(state.iterations() * kLargeSide * kLargeSide);
}

}  // namespace

void RegisterBlitBenchmarks() {
    const std::pair<const char*, DWORD> cases[] = {
        {"SRCCOPY", SRCCOPY}, {"SRCINVERT", SRCINVERT}, {"PATINVERT", PATINVERT}, {"DSPDxax", 0x00E20746}};
    for (const auto& [name, rop] : cases)
        for (bool general : {false, true}) {
            // The general route too, to show what each dedicated one saves.
            const std::string full = std::string("BitBlt/") + name + "/24bit/4096x4096" + (general ? "/general" : "");
            benchmark::RegisterBenchmark(full.c_str(), RunBlit, BlitCase{name, rop, general})->UseRealTime();
        }
    for (int bitCount : {24, 32}) {
        const std::string name = "FillRect/solid/" + std::to_string(bitCount) + "bit/4096x4096";
        benchmark::RegisterBenchmark(name.c_str(), RunFill, bitCount)->UseRealTime();
    }
}

}  // namespace bench
