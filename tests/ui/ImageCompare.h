#pragma once
#include "ui/Image.h"

#include <cstdlib>
#include <string>

namespace TestSupport {

// How far two images of the same size are apart, over the RGB channels.
struct ImageDifference {
    bool sameSize = false;
    int largest = 0;          // the largest difference of one channel
    size_t pixelsOver = 0;    // pixels with a channel more than `slack` apart
    double mean = 0;          // mean absolute difference per channel
};

inline ImageDifference compareImages(const UI::Image& a, const UI::Image& b, int slack)
{
    ImageDifference d;
    d.sameSize = a.width() == b.width() && a.height() == b.height();
    if (!d.sameSize)
        return d;
    double total = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const UI::Color p = a.pixel(x, y);
            const UI::Color q = b.pixel(x, y);
            const int diffs[3] = {std::abs(p.r - q.r), std::abs(p.g - q.g), std::abs(p.b - q.b)};
            int worst = 0;
            for (int c : diffs) {
                worst = std::max(worst, c);
                total += c;
            }
            d.largest = std::max(d.largest, worst);
            if (worst > slack)
                ++d.pixelsOver;
        }
    d.mean = total / (3.0 * a.width() * a.height());
    return d;
}

} // namespace TestSupport
