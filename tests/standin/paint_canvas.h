// A memory context drawing into a fresh DIB section, for the brush and pen
// tests: fills, selections and the picture read back as text.
#ifndef PAINT_CANVAS_H
#define PAINT_CANVAS_H

#include "test_support.h"

#include <windows.h>

#include <initializer_list>
#include <map>
#include <string>
#include <vector>

namespace testing_support {

class PaintCanvas {
public:
    PaintCanvas(int width, int height, int bitCount = 24, const std::vector<RGBQUAD>& colors = {});
    ~PaintCanvas();
    PaintCanvas(const PaintCanvas&) = delete;
    PaintCanvas& operator=(const PaintCanvas&) = delete;

    HDC dc() const { return dc_; }
    const Dib& dib() const { return dib_; }
    void Fill(COLORREF color);
    // Selects a brush or pen for the canvas's life (deleted at the end);
    // the canvas's default is put back first.
    void Use(HGDIOBJ object);
    // The picture as text, one line per row, each pixel by `legend`: '?'
    // for a colour it does not name.
    std::string Picture(const std::map<COLORREF, char>& legend) const;

private:
    int width_, height_;
    HDC dc_;
    Dib dib_;
    HGDIOBJ previousBitmap_;
    std::vector<std::pair<HGDIOBJ, HGDIOBJ>> selected_;  // object, what it replaced
};

// Expected pictures written a row a line, as Picture gives them.
std::string Rows(std::initializer_list<const char*> rows);

// The legend most tests use: '.' white, '#' black, 'r' red, 'g' green,
// 'b' blue.
const std::map<COLORREF, char>& BasicLegend();

}  // namespace testing_support

#endif
