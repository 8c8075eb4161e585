#include "fuzz/FuzzTargets.h"

#include <algorithm>

namespace velmora::fuzz {

namespace {

constexpr SFuzzTarget kTargets[] = {
    {"id3v2", FuzzId3v2},
    {"id3v1", FuzzId3v1},
    {"graphics", FuzzGraphics},
    {"ncg", FuzzNcg},
    {"midi", FuzzMidi},
    {"mediainfo-report", FuzzMediaInfoReport},
    {"text-file", FuzzTextFile},
    {"text-decoding", FuzzTextDecoding},
    {"text-conversion", FuzzTextConversion},
    {"mp3", FuzzMp3},
    {"packaged-header", FuzzPackagedHeader},
    {"zip-archive", FuzzZipArchive},
    {"unzip-output", FuzzUnzipOutput},
    {"playlist", FuzzPlaylist},
    {"update-manifest", FuzzManifest},
    {"version-marker", FuzzVersionMarker},
    {"update-journal", FuzzUpdateJournal},
    {"mpl", FuzzMpl},
    {"mp3-frame-walk", FuzzMp3FrameWalk},
    {"cdg-pack-scan", FuzzCdgPackScan},
    {"verify-headers", FuzzVerifyHeaders},
    {"packed-part", FuzzPackedPart},
};

} // namespace

std::span<const SFuzzTarget> FuzzTargets()
{
    return kTargets;
}

const SFuzzTarget *FindFuzzTarget(QByteArrayView name)
{
    const auto found = std::find_if(std::begin(kTargets), std::end(kTargets),
                                    [&](const SFuzzTarget &target) { return name == QByteArrayView(target.name); });
    return found == std::end(kTargets) ? nullptr : found;
}

} // namespace velmora::fuzz
