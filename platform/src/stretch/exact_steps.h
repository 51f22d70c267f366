// Exact integer stepping of a linear function's floor, for loops that walk
// a row pixel by pixel through a mapping with a large rational slope
// (PlgBlt's inverse mapping, GradientFill's triangles): one division when
// the row starts, additions after it.
#ifndef STANDIN_STRETCH_EXACT_STEPS_H
#define STANDIN_STRETCH_EXACT_STEPS_H

namespace standin {

// 128 bits hold every product these loops form: coordinates below 2^29,
// spans below 2^28 and 16-bit colours.
using Wide = __int128;

// floor(n / d) for d > 0.
inline Wide FloorDivide(Wide n, Wide d) {
    const Wide q = n / d;
    return (n % d != 0 && n < 0) ? q - 1 : q;
}

// floor((start + k * step) / denominator) for k = 0, 1, 2, ...; the
// denominator is positive.
class ExactStepper {
public:
    ExactStepper(Wide start, Wide step, Wide denominator)
        : q_(FloorDivide(start, denominator)),
          r_(start - q_ * denominator),
          stepQ_(FloorDivide(step, denominator)),
          stepR_(step - stepQ_ * denominator),
          den_(denominator) {}
    Wide value() const { return q_; }
    void Next() {
        q_ += stepQ_;
        r_ += stepR_;
        if (r_ >= den_) r_ -= den_, ++q_;
    }

private:
    Wide q_, r_, stepQ_, stepR_, den_;
};

}  // namespace standin

#endif
