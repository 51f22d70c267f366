#include "region_rects.h"

#include <cstring>

namespace testing_support {

std::string RectsOf(HRGN region) {
    const DWORD size = GetRegionData(region, 0, nullptr);
    if (size < sizeof(RGNDATAHEADER)) return "bad";
    std::vector<unsigned char> bytes(size);
    auto* data = reinterpret_cast<RGNDATA*>(bytes.data());
    if (GetRegionData(region, size, data) != size) return "bad";
    std::string text;
    for (DWORD i = 0; i < data->rdh.nCount; ++i) {
        RECT r;
        std::memcpy(&r, bytes.data() + sizeof(RGNDATAHEADER) + i * sizeof(RECT), sizeof r);
        if (!text.empty()) text += ' ';
        text += std::to_string(r.left) + ',' + std::to_string(r.top) + ',' + std::to_string(r.right) + ',' +
                std::to_string(r.bottom);
    }
    return text;
}

std::vector<unsigned char> RecordOf(const std::vector<RECT>& rects) {
    std::vector<unsigned char> bytes(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
    RGNDATAHEADER header{};
    header.dwSize = sizeof(RGNDATAHEADER);
    header.iType = RDH_RECTANGLES;
    header.nCount = static_cast<DWORD>(rects.size());
    std::memcpy(bytes.data(), &header, sizeof header);
    if (!rects.empty()) std::memcpy(bytes.data() + sizeof header, rects.data(), rects.size() * sizeof(RECT));
    return bytes;
}

HRGN RegionOf(const std::vector<RECT>& rects, const XFORM* transform) {
    const std::vector<unsigned char> bytes = RecordOf(rects);
    return ExtCreateRegion(transform, static_cast<DWORD>(bytes.size()), reinterpret_cast<const RGNDATA*>(bytes.data()));
}

}  // namespace testing_support
