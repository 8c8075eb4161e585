#pragma once

namespace velmora {

// A colour of the screen, each channel 0 to 255.
struct SRgb
{
    int r = 0;
    int g = 0;
    int b = 0;
    bool operator==(const SRgb &) const = default;
};

// The contrast text needs to be read by most people (WCAG level AA, normal text).
constexpr double kReadableContrast = 4.5;

// Relative luminance of an sRGB colour, 0 (black) to 1 (white), as WCAG 2 defines it.
double RelativeLuminance(SRgb colour);

// (L1 + 0.05) / (L2 + 0.05) with L1 the lighter of the two: 1 for equal colours, 21 for black
// on white.
double ContrastRatio(SRgb a, SRgb b);

// The text colour itself when it reaches `minimum` against the background; otherwise the
// same hue made darker (on a light background) or lighter (on a dark one) by the least that
// reaches it, or black or white when nothing else does.
SRgb ReadableColour(SRgb text, SRgb background, double minimum = kReadableContrast);

// A colour between the text and its background, for text that is there but cannot be used:
// clearly fainter than the text, still visible.
SRgb DisabledColour(SRgb text, SRgb background);

} // namespace velmora
