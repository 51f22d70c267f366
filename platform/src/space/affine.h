// Affine maps of the plane, in the platform's XFORM layout: a point (x, y)
// goes to (x * m11 + y * m21 + dx, x * m12 + y * m22 + dy). Products read
// left to right: Then(a, b) is a applied first, then b, as CombineTransform
// and the world-to-page-to-device chain compose them.
#ifndef STANDIN_SPACE_AFFINE_H
#define STANDIN_SPACE_AFFINE_H

namespace standin {

struct Affine {
    double m11 = 1, m12 = 0, m21 = 0, m22 = 1, dx = 0, dy = 0;

    double X(double x, double y) const { return x * m11 + y * m21 + dx; }
    double Y(double x, double y) const { return x * m12 + y * m22 + dy; }
    double determinant() const { return m11 * m22 - m12 * m21; }
    // No rotation or shear: a rectangle maps to a rectangle.
    bool axisAligned() const { return m12 == 0 && m21 == 0; }
    bool identity() const { return axisAligned() && m11 == 1 && m22 == 1 && dx == 0 && dy == 0; }
};

// `first` applied, then `second`.
Affine Then(const Affine& first, const Affine& second);

// Whether every coefficient is a finite number.
bool Finite(const Affine& a);

// The map undoing `a`; false (out untouched) when `a` collapses the plane
// onto a line or a point, or is not finite.
bool Invert(const Affine& a, Affine* out);

}  // namespace standin

#endif
