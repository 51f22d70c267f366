#include "session.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace apifuzz {
namespace {

// Live handles of one kind an input may hold at once, and deleted ones it
// remembers for misuse.
constexpr std::size_t kMaxLive = 6;
constexpr std::size_t kMaxDead = 16;
constexpr int kStockIndices = 10;  // WHITE_BRUSH .. NULL_PEN, and one past

void Erase(std::vector<HANDLE>* pool, HANDLE handle) {
    pool->erase(std::remove(pool->begin(), pool->end(), handle), pool->end());
}

}  // namespace

void Session::Step() {
    switch (in_.Below(36)) {  // 35 loads an image
        case 0: case 1: CreateDc(); break;
        case 2: case 3: case 4: CreateSection(); break;
        case 5: CreatePenOrBrush(); break;
        case 6: case 7: Select(); break;
        case 8: Delete(); break;
        case 9: Describe(); break;
        case 10: case 11: case 12: Draw(); break;
        case 13: case 14: case 15: case 16: Stretch(); break;
        case 17: case 18: TransferOut(); break;
        case 19: case 20: TransferIn(); break;
        case 21: HeapCall(); break;
        case 22: FileCall(); break;
        case 23: CoordinateCall(); break;
        case 24: case 25: DeviceBitmapCall(); break;
        case 26: ColourCall(); break;
        case 27: case 28: DibToDeviceCall(); break;
        case 29: case 30: Blend(); break;
        case 31: ShapeCall(); break;
        case 32: case 33: RegionCall(); break;
        case 34: ClipCall(); break;
        default: LoadImageCall(); break;
    }
}

HANDLE Session::Choose(const std::vector<HANDLE>& preferred) {
    switch (in_.Below(12)) {
        case 0: return nullptr;
        case 1: return dead_.empty() ? nullptr : dead_[in_.Below(static_cast<unsigned>(dead_.size()))];
        case 2: return GetStockObject(static_cast<int>(in_.Below(kStockIndices + 1)));
        case 3: return reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(in_.U32()));
        case 4: return AnyObject();
        default:
            return preferred.empty() ? nullptr : preferred[in_.Below(static_cast<unsigned>(preferred.size()))];
    }
}

HANDLE Session::AnyObject() {
    const std::vector<HANDLE>* pools[] = {&dcs_, &bitmaps_, &pens_, &brushes_, &regions_, &files_};
    const std::vector<HANDLE>& pool = *pools[in_.Below(6)];
    return pool.empty() ? nullptr : pool[in_.Below(static_cast<unsigned>(pool.size()))];
}

bool Session::IsLive(HANDLE handle) const {
    for (const std::vector<HANDLE>* pool : {&dcs_, &bitmaps_, &pens_, &brushes_, &regions_, &files_})
        if (std::find(pool->begin(), pool->end(), handle) != pool->end()) return true;
    return false;
}

void Session::Keep(std::vector<HANDLE>* pool, HANDLE handle) {
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return;
    if (std::find(pool->begin(), pool->end(), handle) != pool->end()) return;
    if (pool->size() < kMaxLive) {
        pool->push_back(handle);
        return;
    }
    const BOOL deleted = pool == &dcs_     ? DeleteDC(static_cast<HDC>(handle))
                         : pool == &files_ ? CloseHandle(handle)
                                           : DeleteObject(handle);
    Check(deleted != FALSE, "a new, unselected object can be deleted");
}

void Session::Bury(HANDLE handle) {
    for (std::vector<HANDLE>* pool : {&dcs_, &canvases_, &bitmaps_, &pens_, &brushes_, &regions_, &files_})
        Erase(pool, handle);
    if (dead_.size() >= kMaxDead) dead_.erase(dead_.begin());
    dead_.push_back(handle);
}

void Session::Check(bool ok, const char* rule) {
    if (ok || !failure_.empty()) return;
    failure_ = rule;
}

void Session::CleanUp() {
    for (HANDLE file : files_) Check(CloseHandle(file) != FALSE, "every open file closes");
    for (void* block : blocks_) Check(HeapFree(GetProcessHeap(), 0, block) != FALSE, "every live block frees");
    // Contexts first: deleting one releases what is selected into it.
    for (HANDLE dc : dcs_) Check(DeleteDC(static_cast<HDC>(dc)) != FALSE, "every context deletes");
    for (const std::vector<HANDLE>* pool : {&bitmaps_, &pens_, &brushes_, &regions_})
        for (HANDLE object : *pool) Check(DeleteObject(object) != FALSE, "every object deletes once released");
    files_.clear();
    blocks_.clear();
    dcs_.clear();
    canvases_.clear();
    bitmaps_.clear();
    pens_.clear();
    brushes_.clear();
    regions_.clear();
    DeleteFileA(scratchFile_.c_str());
    std::remove(scratchFile_.c_str());
}

}  // namespace apifuzz
