#include "space/affine.h"

#include <cmath>

namespace standin {

Affine Then(const Affine& a, const Affine& b) {
    Affine r;
    r.m11 = a.m11 * b.m11 + a.m12 * b.m21;
    r.m12 = a.m11 * b.m12 + a.m12 * b.m22;
    r.m21 = a.m21 * b.m11 + a.m22 * b.m21;
    r.m22 = a.m21 * b.m12 + a.m22 * b.m22;
    r.dx = a.dx * b.m11 + a.dy * b.m21 + b.dx;
    r.dy = a.dx * b.m12 + a.dy * b.m22 + b.dy;
    return r;
}

bool Finite(const Affine& a) {
    return std::isfinite(a.m11) && std::isfinite(a.m12) && std::isfinite(a.m21) && std::isfinite(a.m22) &&
           std::isfinite(a.dx) && std::isfinite(a.dy);
}

bool Invert(const Affine& a, Affine* out) {
    const double det = a.determinant();
    if (!Finite(a) || det == 0 || !std::isfinite(1 / det)) return false;
    Affine r;
    r.m11 = a.m22 / det;
    r.m12 = -a.m12 / det;
    r.m21 = -a.m21 / det;
    r.m22 = a.m11 / det;
    r.dx = -(a.dx * r.m11 + a.dy * r.m21);
    r.dy = -(a.dx * r.m12 + a.dy * r.m22);
    if (!Finite(r)) return false;
    *out = r;
    return true;
}

}  // namespace standin
