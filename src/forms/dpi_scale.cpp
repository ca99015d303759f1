#include "forms/dpi_scale.h"

#include <cstdint>

namespace vantor {

namespace {

// value * numerator / denominator, rounded half away from zero.
int MulDivRound(int value, int numerator, int denominator) {
    const std::int64_t product = static_cast<std::int64_t>(value) * numerator;
    const std::int64_t half = denominator / 2;
    const std::int64_t q = product >= 0 ? (product + half) / denominator
                                        : -((-product + half) / denominator);
    return static_cast<int>(q);
}

}  // namespace

int UsableDpi(int dpi) {
    // Windows scales up to 500 %; a DPI outside 1/4 .. 8 times 96 is no answer to trust.
    return dpi >= kDesignDpi / 4 && dpi <= kDesignDpi * 8 ? dpi : kDesignDpi;
}

int ScaleToDpi(int value, int dpi) {
    return MulDivRound(value, UsableDpi(dpi), kDesignDpi);
}

int ScaleFromDpi(int pixels, int dpi) {
    return MulDivRound(pixels, kDesignDpi, UsableDpi(dpi));
}

DesignRect ScaleRect(const DesignRect& rect, int dpi) {
    const int left = ScaleToDpi(rect.x, dpi), top = ScaleToDpi(rect.y, dpi);
    return {left, top, ScaleToDpi(rect.x + rect.width, dpi) - left,
            ScaleToDpi(rect.y + rect.height, dpi) - top};
}

int FontHeightForDpi(int heightAt96, int dpi) {
    return ScaleToDpi(heightAt96, dpi);
}

}  // namespace vantor
