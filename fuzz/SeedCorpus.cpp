// velmora-fuzz-seeds FOLDER: writes the starting corpus of every harness, taken from the
// sample library, into FOLDER/<harness>/.
#include "inspect/Id3v2Tag.h"
#include "rescan/PackedStreams.h"
#include "samplegen/SampleLibrary.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStringList>

#include <cstdio>

using namespace Qt::Literals::StringLiterals;
using velmora::samplegen::SSampleFile;

namespace {

// Seeds stay small so that the fuzzer spends its time on variations, not on long inputs.
constexpr qsizetype kMaxSeedBytes = 64 * 1024;

bool g_failed = false;

void WriteSeed(const QString &folder, const QString &harness, QString name, QByteArrayView bytes)
{
    const QString dir = folder + u'/' + harness;
    QFile file(dir + u'/' + name.replace(u'/', u'_'));
    if (!QDir().mkpath(dir) || !file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(bytes.first(qMin(bytes.size(), kMaxSeedBytes)).toByteArray()) < 0) {
        std::fprintf(stderr, "Cannot write %s\n", qPrintable(file.fileName()));
        g_failed = true;
    }
}

// A text in the three encodings the text-file reader tells apart.
void WriteTextSeeds(const QString &folder, const SSampleFile &sample)
{
    const QString text = QString::fromUtf8(sample.content);
    QByteArray utf16("\xFF\xFE");
    utf16.append(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    WriteSeed(folder, u"text-file"_s, sample.relativePath, sample.content);
    WriteSeed(folder, u"text-file"_s, sample.relativePath + u".utf8"_s, "\xEF\xBB\xBF" + text.toUtf8());
    WriteSeed(folder, u"text-file"_s, sample.relativePath + u".utf16"_s, utf16);
    WriteSeed(folder, u"text-decoding"_s, sample.relativePath, sample.content);
    // The conversion harness reads its code page from the first byte.
    for (char codePage = 0; codePage < 6; ++codePage)
        WriteSeed(folder, u"text-conversion"_s, sample.relativePath + QString::number(codePage),
                  codePage + sample.content);
}

// The ID3 version 2 tag at the start of an MP3 file and a little audio after it.
QByteArrayView Id3v2Part(QByteArrayView image)
{
    const velmora::SId3v2Header header = velmora::ReadId3v2Header(image);
    return image.first(qMin(image.size(), velmora::kId3v2HeaderSize + qsizetype(header.nBodySize) + 64));
}

// The maker's packaged header: its tag, a little-endian length at 12 and the info text.
QByteArray PackagedHeader(QByteArrayView info)
{
    QByteArray header = QByteArray("PCGH").leftJustified(16, '\0');
    const qsizetype length = info.size();
    for (int i = 0; i < 4; ++i)
        header[12 + i] = char(length >> (8 * i));
    return header + info.toByteArray();
}

// The maker's NCG wrapping: a 32-byte header with its tag in front of the content.
QByteArray NcgWrapped(QByteArrayView content)
{
    return QByteArray("KLOVNCG").leftJustified(32, '\0') + content.toByteArray();
}

void WriteSampleSeeds(const QString &folder, const SSampleFile &sample)
{
    const QString suffix = sample.relativePath.section(u'.', -1).toLower();
    const QByteArray &bytes = sample.content;
    // The verification's stream harnesses take the piece size from the first byte.
    const QByteArray piece(1, char(sample.relativePath.size() % 7));
    if (suffix == u"mp3"_s || suffix == u"bak"_s) {
        WriteSeed(folder, u"id3v2"_s, sample.relativePath, Id3v2Part(bytes));
        WriteSeed(folder, u"id3v1"_s, sample.relativePath, bytes.right(128));
        WriteSeed(folder, u"mp3"_s, sample.relativePath, bytes);
        WriteSeed(folder, u"mp3-frame-walk"_s, sample.relativePath, piece + bytes.first(qMin(bytes.size(), 16 * 1024)));
        WriteSeed(folder, u"verify-headers"_s, sample.relativePath, bytes.right(512));
    } else if (suffix == u"cdg"_s || suffix == u"mcg"_s || suffix == u"scdg"_s) {
        WriteSeed(folder, u"graphics"_s, sample.relativePath, bytes);
        WriteSeed(folder, u"ncg"_s, sample.relativePath, NcgWrapped(bytes.first(qMin(bytes.size(), 4096))));
        WriteSeed(folder, u"cdg-pack-scan"_s, sample.relativePath, piece + bytes.first(qMin(bytes.size(), 16 * 1024)));
    } else if (suffix == u"mid"_s || suffix == u"kar"_s || suffix == u"wrk"_s) {
        WriteSeed(folder, u"midi"_s, sample.relativePath, bytes);
        WriteSeed(folder, u"verify-headers"_s, sample.relativePath, bytes);
    } else if (suffix == u"wav"_s) {
        WriteSeed(folder, u"verify-headers"_s, sample.relativePath, bytes.first(qMin(bytes.size(), 4096)));
    } else if (suffix == u"zip"_s) {
        WriteSeed(folder, u"zip-archive"_s, sample.relativePath, bytes);
    } else if (suffix == u"mpl"_s) {
        WriteSeed(folder, u"mpl"_s, sample.relativePath, bytes);
    } else if (suffix == u"txt"_s || suffix == u"xyz"_s) {
        WriteTextSeeds(folder, sample);
        WriteSeed(folder, u"playlist"_s, sample.relativePath, bytes);
    }
}

// A part as a kept check holds it, led by its size as the harness reads it.
QByteArray PackedPart(QByteArrayView bytes)
{
    const QByteArrayView part = bytes.first(std::min<qsizetype>(bytes.size(), 64 * 1024));
    velmora::CPacker packer;
    packer.Add(part);
    const quint32 size = quint32(part.size());
    QByteArray seed(reinterpret_cast<const char *>(&size), 4);
    return seed + packer.Finish();
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: velmora-fuzz-seeds FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    for (const SSampleFile &sample : velmora::samplegen::BuildSampleLibrary())
        WriteSampleSeeds(folder, sample);
    // An NCG file with empty content is the one kind the converter restores.
    WriteSeed(folder, u"ncg"_s, u"empty.ncg"_s, NcgWrapped({}));
    WriteSeed(folder, u"graphics"_s, u"empty.ncg"_s, NcgWrapped({}));
    WriteSeed(folder, u"packaged-header"_s, u"song.pcg"_s,
              PackagedHeader("1|Paper Lanterns|Amber Coast|Harbour Lights|X-(215,128,2004,3,Pop)"));
    WriteSeed(folder, u"packaged-header"_s, u"short.qcg"_s, PackagedHeader("2|Title Only"));
    for (const SSampleFile &sample : velmora::samplegen::BuildSampleLibrary()) {
        if (sample.relativePath.endsWith(u".txt"_s) || sample.relativePath.endsWith(u".cdg"_s))
            WriteSeed(folder, u"packed-part"_s, sample.relativePath, PackedPart(sample.content));
    }
    return g_failed ? 1 : 0;
}
