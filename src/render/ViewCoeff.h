#pragma once

// Coefficients of the world-to-device mapping of one rectangle: device = world·a − b
// relative to the rectangle's left or top edge.
class CViewCoeff {
public:
    virtual ~CViewCoeff() = default;

    // ax = width/(x1 − x0), bx = x0·ax; ay and by likewise for y.
    void Compute(float x0, float x1, float y0, float y1, int width, int height) {
        ax = width / (static_cast<double>(x1) - x0);
        bx = x0 * ax;
        ay = height / (static_cast<double>(y1) - y0);
        by = y0 * ay;
    }

    double ax = 1, bx = 0, ay = 1, by = 0;
};
