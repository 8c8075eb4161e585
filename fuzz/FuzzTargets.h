#pragma once

#include <QByteArrayView>

#include <span>

namespace velmora::fuzz {

// One fuzzed reader: runs it on the input and checks what its header promises about the
// result. False means a promise was broken; crashes and sanitizer reports speak for
// themselves.
using FuzzFunction = bool (*)(QByteArrayView data);

struct SFuzzTarget
{
    const char *name; // also the folder name of its corpus, seeds and regression inputs
    FuzzFunction run;
};

std::span<const SFuzzTarget> FuzzTargets();
const SFuzzTarget *FindFuzzTarget(QByteArrayView name);

// The harnesses, one per reader.
bool FuzzId3v2(QByteArrayView data);
bool FuzzId3v1(QByteArrayView data);
bool FuzzGraphics(QByteArrayView data);
bool FuzzNcg(QByteArrayView data);
bool FuzzMidi(QByteArrayView data);
bool FuzzMediaInfoReport(QByteArrayView data);
bool FuzzTextFile(QByteArrayView data);
bool FuzzTextDecoding(QByteArrayView data);
bool FuzzTextConversion(QByteArrayView data);
bool FuzzMp3(QByteArrayView data);
bool FuzzPackagedHeader(QByteArrayView data);
bool FuzzZipArchive(QByteArrayView data);
bool FuzzUnzipOutput(QByteArrayView data);
bool FuzzPlaylist(QByteArrayView data);
bool FuzzManifest(QByteArrayView data);
bool FuzzVersionMarker(QByteArrayView data);
bool FuzzUpdateJournal(QByteArrayView data);
bool FuzzMpl(QByteArrayView data);
bool FuzzMp3FrameWalk(QByteArrayView data);
bool FuzzCdgPackScan(QByteArrayView data);
bool FuzzVerifyHeaders(QByteArrayView data);
bool FuzzPackedPart(QByteArrayView data);

} // namespace velmora::fuzz
