#include "widgets/TextContrast.h"

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

double Linear(int channel)
{
    const double c = std::clamp(channel, 0, 255) / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

int Towards(int from, int to, double share)
{
    return int(std::lround(from + (to - from) * share));
}

SRgb Mix(SRgb from, SRgb to, double share)
{
    return {Towards(from.r, to.r, share), Towards(from.g, to.g, share), Towards(from.b, to.b, share)};
}

} // namespace

double RelativeLuminance(SRgb colour)
{
    return 0.2126 * Linear(colour.r) + 0.7152 * Linear(colour.g) + 0.0722 * Linear(colour.b);
}

double ContrastRatio(SRgb a, SRgb b)
{
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

SRgb ReadableColour(SRgb text, SRgb background, double minimum)
{
    if (ContrastRatio(text, background) >= minimum)
        return text;
    const SRgb black{0, 0, 0};
    const SRgb white{255, 255, 255};
    const SRgb extreme = ContrastRatio(black, background) >= ContrastRatio(white, background) ? black : white;
    if (ContrastRatio(extreme, background) < minimum)
        return extreme;
    // The least share of the way to black or white that reaches the contrast, to 1/1024.
    int low = 0;
    int high = 1024;
    while (low < high) {
        const int middle = (low + high) / 2;
        if (ContrastRatio(Mix(text, extreme, middle / 1024.0), background) >= minimum)
            high = middle;
        else
            low = middle + 1;
    }
    return Mix(text, extreme, low / 1024.0);
}

SRgb DisabledColour(SRgb text, SRgb background)
{
    return Mix(text, background, 0.55);
}

} // namespace velmora
