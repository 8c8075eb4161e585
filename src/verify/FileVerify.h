#pragma once

#include "verify/VerifyReason.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace velmora {

// What a file is to the verification, by its name.
enum class EFileKind { Other, Mp3, Wav, Ogg, Wma, Cdg, MakerGraphics, Zip, Kar, OtherMedia, Sidecar };
EFileKind FileKindOf(const QString &name);

// The digest of audio or graphics content, to find the same content elsewhere in the tree.
struct SContentPrint
{
    bool bAudio = false;
    QByteArray digest;
    QString strMember; // the member of a package it was found in; empty for the file itself
};

// What the verification learns from one file on its own. It depends on the file's bytes
// and name only, never on other files or where the file lies, so it can be kept and
// reused as long as the file is unchanged.
struct SFileFindings
{
    EFileKind kind = EFileKind::Other;
    bool bRead = false;          // the file could be opened and was read
    qint64 nSize = 0;
    QList<SFileReason> reasons;
    bool bAudio = false;         // it is audio, or a package holding audio
    bool bGraphics = false;      // it is graphics, or a package holding graphics
    double dAudioSeconds = -1;   // playing times; below 0 when unknown
    double dGraphicsSeconds = -1;
    QList<SContentPrint> prints;
};

// Reads the file once, start to end, and judges its bytes.
SFileFindings VerifyFile(const QString &path);

} // namespace velmora
