#include "widgets/TextContrast.h"

#include <gtest/gtest.h>

using namespace velmora;

TEST(TextContrast, RatiosOfKnownPairs)
{
    EXPECT_NEAR(ContrastRatio({0, 0, 0}, {255, 255, 255}), 21.0, 1e-9);
    EXPECT_NEAR(ContrastRatio({255, 255, 255}, {0, 0, 0}), 21.0, 1e-9);
    EXPECT_NEAR(ContrastRatio({119, 119, 119}, {255, 255, 255}), 4.48, 0.01);
    EXPECT_NEAR(ContrastRatio({118, 118, 118}, {255, 255, 255}), 4.54, 0.01);
    EXPECT_NEAR(ContrastRatio({255, 0, 0}, {255, 255, 255}), 4.0, 0.01);
    EXPECT_NEAR(RelativeLuminance({128, 128, 128}), 0.2158, 0.0001);
}

TEST(TextContrast, ReadableColoursKeepWhatIsReadableAndMoveTheRestJustEnough)
{
    // Black on white and blue on white are fine as they are.
    EXPECT_EQ(ReadableColour({0, 0, 0}, {255, 255, 255}), (SRgb{0, 0, 0}));
    EXPECT_EQ(ReadableColour({0, 0, 255}, {255, 255, 255}), (SRgb{0, 0, 255}));
    // Grey and red on white become darker, and only just as much as needed.
    for (const SRgb text : {SRgb{128, 128, 128}, SRgb{255, 0, 0}, SRgb{0, 128, 255}}) {
        const SRgb readable = ReadableColour(text, {255, 255, 255});
        EXPECT_GE(ContrastRatio(readable, {255, 255, 255}), kReadableContrast);
        EXPECT_LT(ContrastRatio(readable, {255, 255, 255}), kReadableContrast + 0.2);
        EXPECT_LE(readable.r, text.r);
        EXPECT_LE(readable.g, text.g);
        EXPECT_LE(readable.b, text.b);
    }
    // Black and blue on a dark background become lighter.
    const SRgb dark{0x25, 0x25, 0x25};
    for (const SRgb text : {SRgb{0, 0, 0}, SRgb{0, 0, 255}}) {
        const SRgb readable = ReadableColour(text, dark);
        EXPECT_GE(ContrastRatio(readable, dark), kReadableContrast);
        EXPECT_GT(RelativeLuminance(readable), RelativeLuminance(text));
    }
    // On the hardest background, a mid grey, one of black and white always reaches 4.5.
    for (int grey = 100; grey <= 140; ++grey)
        EXPECT_GE(ContrastRatio(ReadableColour({grey, grey, grey}, {grey, grey, grey}), {grey, grey, grey}),
                  kReadableContrast) << grey;
}

TEST(TextContrast, DisabledTextIsFainterButThere)
{
    const SRgb bar{0xF4, 0xF7, 0xFC};
    const SRgb disabled = DisabledColour({0, 0, 0}, bar);
    EXPECT_LT(ContrastRatio(disabled, bar), ContrastRatio({0, 0, 0}, bar) / 2);
    EXPECT_GT(ContrastRatio(disabled, bar), 1.5);
}
