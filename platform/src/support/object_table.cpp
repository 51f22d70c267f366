#include "support/object_table.h"

namespace standin {
namespace {

// Low bits of a handle hold the slot index plus one (so no handle is 0);
// the bits above hold the slot's generation.
constexpr int kIndexBits = sizeof(std::uintptr_t) == 8 ? 24 : 20;
constexpr std::uintptr_t kIndexMask = (std::uintptr_t{1} << kIndexBits) - 1;
constexpr std::uint32_t kGenerationLimit =
    sizeof(std::uintptr_t) == 8 ? 0x7FFFFFFFu : (1u << (32 - kIndexBits)) - 1;
static_assert(ObjectTable::kMaxObjects < kIndexMask, "slot index must fit its bits");

HANDLE Encode(std::size_t index, std::uint32_t generation) {
    std::uintptr_t value = (static_cast<std::uintptr_t>(generation) << kIndexBits) |
                           static_cast<std::uintptr_t>(index + 1);
    return reinterpret_cast<HANDLE>(value);
}

}  // namespace

bool ObjectTable::Decode(HANDLE handle, std::size_t* index) const {
    std::uintptr_t value = reinterpret_cast<std::uintptr_t>(handle);
    std::uintptr_t slot = value & kIndexMask;
    if (slot == 0 || slot > slots_.size()) return false;
    *index = slot - 1;
    const Slot& s = slots_[*index];
    return s.object != nullptr && (value >> kIndexBits) == s.generation;
}

HANDLE ObjectTable::Insert(std::unique_ptr<Object> object) {
    std::size_t index;
    if (!freeSlots_.empty()) {
        index = freeSlots_.back();
        freeSlots_.pop_back();
    } else {
        if (slots_.size() >= kMaxObjects) return nullptr;
        // Room for every slot in the free list, so that Remove, which must
        // not fail, never allocates.
        if (freeSlots_.capacity() <= slots_.size()) freeSlots_.reserve(2 * (slots_.size() + 1));
        slots_.emplace_back();
        index = slots_.size() - 1;
    }
    slots_[index].object = std::move(object);
    return Encode(index, slots_[index].generation);
}

Object* ObjectTable::Find(HANDLE handle) const {
    std::size_t index;
    return Decode(handle, &index) ? slots_[index].object.get() : nullptr;
}

std::unique_ptr<Object> ObjectTable::Remove(HANDLE handle) {
    std::size_t index;
    if (!Decode(handle, &index)) return nullptr;
    Slot& slot = slots_[index];
    std::unique_ptr<Object> object = std::move(slot.object);
    // A slot whose generation would wrap is retired, so an old handle can
    // never come back to life.
    if (++slot.generation < kGenerationLimit) freeSlots_.push_back(index);
    return object;
}

std::size_t ObjectTable::LiveCount(ObjectKind kind) const {
    std::size_t count = 0;
    for (const Slot& slot : slots_) {
        if (slot.object && slot.object->kind == kind && !slot.object->stock) ++count;
    }
    return count;
}

ObjectTable& Objects() {
    static ObjectTable table;
    return table;
}

std::mutex& ApiMutex() {
    static std::mutex mutex;
    return mutex;
}

}  // namespace standin
