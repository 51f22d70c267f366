// One input's run of calls: the handles it has made (and deleted, to misuse
// later), the caller-side buffers, and the clean-up that must leave nothing
// alive.
#ifndef API_FUZZ_SESSION_H
#define API_FUZZ_SESSION_H

#include "input.h"

#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

namespace apifuzz {

class Session {
public:
    Session(Input& in, const std::string& scratchFile, bool timeCalls)
        : in_(in), scratchFile_(scratchFile), timeCalls_(timeCalls) {}
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Decodes and makes one call.
    void Step();
    // Deletes, closes and frees everything still alive.
    void CleanUp();
    // Empty, or the first broken rule.
    const std::string& failure() const { return failure_; }

private:
    // Call families (calls.cpp).
    void CreateDc();
    void CreateSection();
    void CreatePenOrBrush();
    LOGBRUSH MakeLogBrush(std::vector<std::uint8_t>* packed);
    std::vector<std::uint8_t> PackedDib();
    void Select();
    void Delete();
    void Describe();
    void Draw();
    void Stretch();
    void Blend();
    void TransferOut();
    void TransferIn();
    void HeapCall();
    void FileCall();
    void LoadImageCall();
    void DeviceBitmapCall();
    void ColourCall();
    void DibToDeviceCall();
    void CoordinateCall();
    void ShapeCall();
    void RegionCall();
    void ClipCall();
    HRGN Region() { return static_cast<HRGN>(Choose(regions_)); }

    // Handle choice: mostly a live handle of the kind asked for, otherwise
    // null, a deleted one, a stock object, another kind or a made-up value.
    HANDLE Choose(const std::vector<HANDLE>& preferred);
    HDC Dc() { return static_cast<HDC>(Choose(dcs_)); }
    // A context, most often one made with a section selected into it.
    HDC Canvas() { return static_cast<HDC>(Choose(canvases_.empty() || in_.Below(4) == 0 ? dcs_ : canvases_)); }
    HBITMAP Bitmap() { return static_cast<HBITMAP>(Choose(bitmaps_)); }
    HANDLE AnyObject();
    bool IsLive(HANDLE handle) const;
    // Keeps a new handle, or deletes it at once when its pool is full.
    void Keep(std::vector<HANDLE>* pool, HANDLE handle);
    // Moves a handle that was just deleted or closed to the dead pool.
    void Bury(HANDLE handle);

    void Check(bool ok, const char* rule);
    // Runs `call`, checking that it returns within the time limit.
    template <class Call>
    auto Timed(const char* name, Call call) -> decltype(call()) {
        const auto start = std::chrono::steady_clock::now();
        auto result = call();
        if (timeCalls_ && std::chrono::steady_clock::now() - start >= std::chrono::seconds(1))
            Check(false, name);
        return result;
    }

    Input& in_;
    const std::string& scratchFile_;
    bool timeCalls_;
    std::string failure_;
    std::vector<HANDLE> dcs_, bitmaps_, pens_, brushes_, regions_, files_, dead_;
    std::vector<HANDLE> canvases_;  // contexts made for a new section, a subset of dcs_
    std::vector<void*> blocks_, freedBlocks_;
};

}  // namespace apifuzz

#endif
