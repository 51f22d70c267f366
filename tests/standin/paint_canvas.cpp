#include "paint_canvas.h"

namespace testing_support {

PaintCanvas::PaintCanvas(int width, int height, int bitCount, const std::vector<RGBQUAD>& colors)
    : width_(width), height_(height < 0 ? -height : height) {
    dc_ = CreateCompatibleDC(nullptr);
    dib_ = MakeDib(width, height, bitCount, colors);
    previousBitmap_ = SelectObject(dc_, dib_.bitmap);
}

PaintCanvas::~PaintCanvas() {
    for (auto it = selected_.rbegin(); it != selected_.rend(); ++it) {
        SelectObject(dc_, it->second);
        DeleteObject(it->first);
    }
    SelectObject(dc_, previousBitmap_);
    DeleteObject(dib_.bitmap);
    DeleteDC(dc_);
}

void PaintCanvas::Fill(COLORREF color) {
    RECT all{0, 0, width_, height_};
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc_, &all, brush);
    DeleteObject(brush);
}

void PaintCanvas::Use(HGDIOBJ object) { selected_.emplace_back(object, SelectObject(dc_, object)); }

std::string PaintCanvas::Picture(const std::map<COLORREF, char>& legend) const {
    // GetPixel reads nothing outside the clip region: the picture is read whole.
    const int saved = SaveDC(dc_);
    SelectClipRgn(dc_, nullptr);
    std::string text;
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            auto it = legend.find(GetPixel(dc_, x, y));
            text += it != legend.end() ? it->second : '?';
        }
        text += '\n';
    }
    RestoreDC(dc_, saved);
    return text;
}

const std::map<COLORREF, char>& BasicLegend() {
    static const std::map<COLORREF, char> legend{{RGB(255, 255, 255), '.'},
                                                 {RGB(0, 0, 0), '#'},
                                                 {RGB(255, 0, 0), 'r'},
                                                 {RGB(0, 255, 0), 'g'},
                                                 {RGB(0, 0, 255), 'b'}};
    return legend;
}

std::string Rows(std::initializer_list<const char*> rows) {
    std::string text;
    for (const char* row : rows) text += std::string(row) + "\n";
    return text;
}

}  // namespace testing_support
