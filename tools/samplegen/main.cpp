// velmora-samplegen [--songs N [--seed S] [--size small|full]] OUTDIR: writes the
// deterministic sample karaoke library into OUTDIR, or with --songs a generated library of N
// songs for measurements, of short songs or of full-length ones.

#include "samplegen/SampleLibrary.h"
#include "samplegen/ScaledLibrary.h"

#include <QString>
#include <QStringList>

#include <cstdio>
#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kUsageOrWriteError = 2;
constexpr quint64 kDefaultSeed = 1;

struct SArguments
{
    bool bHelp = false;
    int nSongs = 0; // 0: the bundled sample library
    quint64 nSeed = kDefaultSeed;
    bool bSeedGiven = false;
    velmora::samplegen::ESongSize size = velmora::samplegen::ESongSize::Small;
    bool bSizeGiven = false;
    QString strOutDir;
};

void PrintUsage(std::FILE *stream)
{
    std::fprintf(stream,
                 "usage: velmora-samplegen [--songs N [--seed S] [--size small|full]] OUTDIR\n"
                 "Without --songs, writes a small sample karaoke library (MP3, CD+G and problem files)\n"
                 "into OUTDIR. With --songs, writes a library of N songs (1 to %d) in artist folders:\n"
                 "MP3 + CD+G pairs, zip packages, MIDI files and problem files, the same for the same\n"
                 "seed (default %llu). --size small (the default) writes songs of 2 to 4 seconds;\n"
                 "--size full writes full-length songs as real libraries hold them: 3 to 5 MB MP3s\n"
                 "with real frame headers and about 1.4 MB of CD+G each.\n",
                 velmora::samplegen::kMaxScaledSongs, static_cast<unsigned long long>(kDefaultSeed));
}

std::optional<SArguments> ParseArguments(const QStringList &arguments, QString *error)
{
    SArguments parsed;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == u"-h"_s || argument == u"--help"_s) {
            parsed.bHelp = true;
            return parsed;
        }
        if (argument == u"--size"_s) {
            const QString value = i + 1 < arguments.size() ? arguments.at(++i) : QString();
            if (value != u"small"_s && value != u"full"_s) {
                *error = u"--size needs small or full"_s;
                return std::nullopt;
            }
            parsed.size = value == u"full"_s ? velmora::samplegen::ESongSize::Full : velmora::samplegen::ESongSize::Small;
            parsed.bSizeGiven = true;
            continue;
        }
        if (argument == u"--songs"_s || argument == u"--seed"_s) {
            if (i + 1 >= arguments.size()) {
                *error = argument + u" needs a value"_s;
                return std::nullopt;
            }
            const QString value = arguments.at(++i);
            bool ok = false;
            if (argument == u"--songs"_s) {
                parsed.nSongs = value.toInt(&ok);
                ok = ok && parsed.nSongs >= 1 && parsed.nSongs <= velmora::samplegen::kMaxScaledSongs;
            } else {
                parsed.nSeed = value.toULongLong(&ok);
                parsed.bSeedGiven = true;
            }
            if (!ok) {
                *error = u"bad value for "_s + argument + u": "_s + value;
                return std::nullopt;
            }
        } else if (argument.startsWith(u'-')) {
            *error = u"unknown option "_s + argument;
            return std::nullopt;
        } else if (!parsed.strOutDir.isEmpty()) {
            *error = u"expected one output folder"_s;
            return std::nullopt;
        } else {
            parsed.strOutDir = argument;
        }
    }
    if (parsed.strOutDir.isEmpty())
        *error = u"expected one output folder"_s;
    else if (parsed.bSeedGiven && parsed.nSongs == 0)
        *error = u"--seed goes with --songs"_s;
    else if (parsed.bSizeGiven && parsed.nSongs == 0)
        *error = u"--size goes with --songs"_s;
    if (!error->isEmpty())
        return std::nullopt;
    return parsed;
}

int WriteBundled(const QString &outDir)
{
    QString error;
    int fileCount = 0;
    if (!velmora::samplegen::WriteSampleLibrary(outDir, &error, &fileCount)) {
        std::fprintf(stderr, "velmora-samplegen: %s\n", error.toLocal8Bit().constData());
        return kUsageOrWriteError;
    }
    std::printf("Sample library written to %s (%d files)\n", outDir.toLocal8Bit().constData(), fileCount);
    return 0;
}

int WriteScaled(const SArguments &arguments)
{
    QString error;
    velmora::samplegen::SScaledLibraryCounts counts;
    if (!velmora::samplegen::WriteScaledLibrary(arguments.strOutDir, arguments.nSongs, arguments.nSeed, &error,
                                                &counts, arguments.size)) {
        std::fprintf(stderr, "velmora-samplegen: %s\n", error.toLocal8Bit().constData());
        return kUsageOrWriteError;
    }
    std::printf("Library of %d songs written to %s (%d files in %d folders: %d pairs, %d zips, %d MIDI,"
                " %d problem files)\n",
                counts.nSongs, arguments.strOutDir.toLocal8Bit().constData(), counts.nFiles, counts.nFolders,
                counts.nPairs, counts.nZips, counts.nMidi, counts.nBrokenMp3 + counts.nLoneMp3 + counts.nUnknown);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));

    QString error;
    const auto parsed = ParseArguments(arguments, &error);
    if (!parsed) {
        std::fprintf(stderr, "velmora-samplegen: %s\n", error.toLocal8Bit().constData());
        PrintUsage(stderr);
        return kUsageOrWriteError;
    }
    if (parsed->bHelp) {
        PrintUsage(stdout);
        return 0;
    }
    return parsed->nSongs > 0 ? WriteScaled(*parsed) : WriteBundled(parsed->strOutDir);
}
