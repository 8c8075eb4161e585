#include "samplegen/ScaledLibrary.h"

#include "samplegen/CdgWriter.h"
#include "samplegen/Id3Writer.h"
#include "samplegen/MidiSamples.h"
#include "samplegen/Mp3Writer.h"
#include "samplegen/OtherFormats.h"
#include "samplegen/SampleFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <array>

using namespace Qt::Literals::StringLiterals;

namespace velmora::samplegen {

namespace {

// SplitMix64: small, fast and the same on every platform, unlike the standard
// distributions, whose results may differ between library versions.
class CScaledRandom
{
public:
    CScaledRandom(quint64 seed, quint64 stream, quint64 salt)
        : m_state(seed ^ (stream * 0x9E3779B97F4A7C15ULL) ^ (salt << 56))
    {
        Next();
    }

    quint64 Next()
    {
        quint64 z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // 0..bound-1; the slight bias of the remainder does not matter for sample names.
    int Below(int bound) { return int(Next() % quint64(bound)); }
    template <typename T, size_t N>
    const T &Pick(const std::array<T, N> &items) { return items[size_t(Below(int(N)))]; }
    template <size_t N>
    QString Word(const std::array<QStringView, N> &words) { return Pick(words).toString(); }

private:
    quint64 m_state;
};

constexpr quint64 kArtistSalt = 1;
constexpr quint64 kSongSalt = 2;

const std::array<QStringView, 24> kFirstNames = {
    u"Amber", u"Nina", u"Lena", u"Marco", u"Ivy", u"Jonah", u"Clara", u"Felix",
    u"Rosa", u"Tomas", u"Maya", u"Oskar", u"Sofia", u"Elias", u"Hana", u"Victor",
    u"Greta", u"Leon", u"Aria", u"Dario", u"Mila", u"Ruben", u"Zoe", u"Anton"};
const std::array<QStringView, 24> kLastNames = {
    u"Castell", u"Moor", u"Vance", u"Holm", u"Rivera", u"Lind", u"Okafor", u"Brandt",
    u"Sato", u"Keller", u"Novak", u"Dufresne", u"Marsh", u"Quinn", u"Falk", u"Ortega",
    u"Winter", u"Bloom", u"Park", u"Haas", u"Reyes", u"Stone", u"Lowe", u"Berg"};
const std::array<QStringView, 24> kWords = {
    u"Paper", u"Midnight", u"Northern", u"Quiet", u"Velvet", u"Silver", u"Golden", u"Summer",
    u"Harbour", u"Lantern", u"River", u"Ferry", u"Sky", u"Heart", u"Road", u"Rain",
    u"Dancing", u"Broken", u"Morning", u"Echo", u"Garden", u"Fire", u"Ocean", u"Letters"};

struct SGenre
{
    QStringView name;
    int index; // version 1 genre number
};
const std::array<SGenre, 8> kGenres = {{{u"Pop", 13}, {u"Rock", 17}, {u"Country", 2}, {u"Jazz", 8},
                                        {u"Blues", 0}, {u"Dance", 3}, {u"Folk", 80}, {u"Electronic", 52}}};

// Slots of the 50-song cycle that are not plain pairs.
EScaledSongKind KindOfSlot(int slot)
{
    switch (slot) {
    case 9: case 23: case 37:
        return EScaledSongKind::Zip;
    case 5: case 19: case 33: case 47:
        return EScaledSongKind::Midi;
    case 41:
        return EScaledSongKind::BrokenMp3;
    case 29:
        return EScaledSongKind::LoneMp3;
    default:
        return EScaledSongKind::Pair;
    }
}

// Two words drawn one after the other: the operands of one "+" may be evaluated in any
// order, which would make the names depend on the compiler.
QString TwoWords(CScaledRandom &random, const std::array<QStringView, 24> &first,
                 const std::array<QStringView, 24> &second)
{
    const QString one = random.Word(first);
    return one + u' ' + random.Word(second);
}

QString ArtistName(int folder, quint64 seed)
{
    CScaledRandom random(seed, quint64(folder), kArtistSalt);
    if (random.Below(3) == 0)
        return u"The "_s + TwoWords(random, kWords, kWords) + u's';
    return TwoWords(random, kFirstNames, kLastNames);
}

QString FolderOf(int index, quint64 seed)
{
    const int folder = index / kScaledSongsPerFolder;
    const QString artistFolder = u"%1 %2"_s.arg(folder + 1, 3, 10, QChar(u'0')).arg(ArtistName(folder, seed));
    return index % kScaledSongsPerFolder >= kScaledDuetsFrom ? artistFolder + u"/Duets"_s : artistFolder;
}

QString SongTitle(CScaledRandom &random)
{
    QString title = random.Word(kWords);
    for (int extra = random.Below(3); extra > 0; --extra)
        title += u' ' + random.Word(kWords);
    return title;
}

// The tags; now and then a title that needs more than ASCII in the tag (never in a name).
SId3Fields SongTags(CScaledRandom &random, const QString &title, const QString &artist)
{
    const SGenre &genre = random.Pick(kGenres);
    SId3Fields tags;
    tags.title = random.Below(20) == 0 ? title + u" (Caf\u00e9 Mix)"_s : title;
    tags.artist = artist;
    tags.album = TwoWords(random, kWords, kWords);
    tags.year = 1960 + random.Below(65);
    tags.track = 1 + random.Below(20);
    tags.genre = genre.name.toString();
    tags.genreIndex = genre.index;
    tags.comment = u"Scaled sample"_s;
    return tags;
}

// Most songs carry both tags; some only one and a few none, as in real collections.
QByteArray TaggedMp3(CScaledRandom &random, const SId3Fields &tags, int seconds, ESongSize size, quint64 payloadSeed)
{
    const int draw = random.Below(20);
    const bool withV2 = draw < 17;
    const bool withV1 = draw < 14 || draw == 17 || draw == 18;
    if (size == ESongSize::Full)
        return MakeFullLengthMp3File(&tags, withV2, withV1, seconds, payloadSeed);
    return MakeMp3File(&tags, withV2, withV1, Mp3FramesForSeconds(seconds));
}

constexpr int kFullShortestSeconds = 150;
constexpr int kFullSecondsRange = 101;

// MIDI songs reuse the bundled MIDI samples as bodies (they carry their own titles and
// playing times), plus the smallest possible MIDI file.
const QList<SSampleFile> &MidiBodies()
{
    static const QList<SSampleFile> bodies = [] {
        QList<SSampleFile> files;
        AddMidiSamples(files);
        files.append({u"Minimal.mid"_s, MakeMinimalMidiFile()});
        return files;
    }();
    return bodies;
}

void AddMidiSong(QList<SSampleFile> &files, CScaledRandom &random, const QString &base)
{
    const QList<SSampleFile> &bodies = MidiBodies();
    const SSampleFile &body = bodies.at(random.Below(int(bodies.size())));
    const QString extension = body.relativePath.mid(body.relativePath.lastIndexOf(u'.'));
    files.append({base + extension, body.content});
}

QString UnknownFilePath(int folder, quint64 seed)
{
    return FolderOf(folder * kScaledSongsPerFolder, seed) + u"/Folder Notes.xyz"_s;
}

QByteArray UnknownFileContent(int folder)
{
    return QByteArrayLiteral("Velmora scaled sample library, folder ") + QByteArray::number(folder + 1)
        + QByteArrayLiteral("\nA type no checker knows.\n");
}

} // namespace

EScaledSongKind ScaledSongKind(int index)
{
    return KindOfSlot(index % 50);
}

SScaledLibraryCounts CountScaledLibrary(int songs)
{
    SScaledLibraryCounts counts;
    counts.nSongs = std::max(songs, 0);
    for (int index = 0; index < counts.nSongs; ++index) {
        switch (ScaledSongKind(index)) {
        case EScaledSongKind::Pair: ++counts.nPairs; break;
        case EScaledSongKind::Zip: ++counts.nZips; break;
        case EScaledSongKind::Midi: ++counts.nMidi; break;
        case EScaledSongKind::BrokenMp3: ++counts.nBrokenMp3; break;
        case EScaledSongKind::LoneMp3: ++counts.nLoneMp3; break;
        }
        if (index % kScaledSongsPerFolder == 0 || index % kScaledSongsPerFolder == kScaledDuetsFrom)
            ++counts.nFolders;
    }
    counts.nUnknown = (counts.nSongs + kScaledSongsPerFolder - 1) / kScaledSongsPerFolder;
    counts.nFiles = 2 * counts.nPairs + counts.nZips + counts.nMidi + 2 * counts.nBrokenMp3 + counts.nLoneMp3
        + counts.nUnknown;
    return counts;
}

QList<SSampleFile> BuildScaledSong(int index, quint64 seed, ESongSize size)
{
    CScaledRandom random(seed, quint64(index), kSongSalt);
    const QString artist = ArtistName(index / kScaledSongsPerFolder, seed);
    const QString title = SongTitle(random);
    // The catalogue number keeps every name unique, whatever the words drawn.
    const QString base = u"%1/KV%2 - %3 - %4"_s.arg(FolderOf(index, seed)).arg(index + 1, 6, 10, QChar(u'0')).arg(artist, title);
    const bool full = size == ESongSize::Full;
    const int seconds = full ? kFullShortestSeconds + random.Below(kFullSecondsRange) : 2 + random.Below(3);
    const SId3Fields tags = SongTags(random, title, artist);
    // Full-length songs are each unlike the others; small ones keep their bytes of old.
    const quint64 songSeed = seed * 1000003u + quint64(index);
    const quint32 variant = full ? quint32(songSeed % 0xFFFFFFFFu) | 1u : 0u;
    const QByteArray graphics = MakeCdgPackets(seconds, variant);
    const qsizetype brokenSize = full ? qsizetype(seconds) * kFullMp3BitRate * 125
                                      : qsizetype(Mp3FramesForSeconds(seconds)) * kMp3FrameBytes;

    QList<SSampleFile> files;
    switch (ScaledSongKind(index)) {
    case EScaledSongKind::Pair:
        files.append({base + u".cdg"_s, graphics});
        files.append({base + u".mp3"_s, TaggedMp3(random, tags, seconds, size, songSeed)});
        break;
    case EScaledSongKind::Zip: {
        const QString name = base.mid(base.lastIndexOf(u'/') + 1);
        files.append({base + u".zip"_s, MakeStoredZip({{name + u".cdg"_s, graphics},
                                                       {name + u".mp3"_s, TaggedMp3(random, tags, seconds, size, songSeed)}})});
        break;
    }
    case EScaledSongKind::Midi:
        AddMidiSong(files, random, base);
        break;
    case EScaledSongKind::BrokenMp3:
        // Zeros only: no tag and no byte that could start a frame sync.
        files.append({base + u".cdg"_s, graphics});
        files.append({base + u".mp3"_s, QByteArray(brokenSize, '\0')});
        break;
    case EScaledSongKind::LoneMp3:
        files.append({base + u".mp3"_s, TaggedMp3(random, tags, seconds, size, songSeed)});
        break;
    }
    return files;
}

void ForEachScaledFile(int songs, quint64 seed, const std::function<bool(const SSampleFile &)> &sink, ESongSize size)
{
    for (int index = 0; index < songs; ++index) {
        if (index % kScaledSongsPerFolder == 0) {
            const int folder = index / kScaledSongsPerFolder;
            if (!sink({UnknownFilePath(folder, seed), UnknownFileContent(folder)}))
                return;
        }
        for (const SSampleFile &file : BuildScaledSong(index, seed, size)) {
            if (!sink(file))
                return;
        }
    }
}

QList<SSampleFile> BuildScaledLibrary(int songs, quint64 seed)
{
    QList<SSampleFile> files;
    ForEachScaledFile(songs, seed, [&files](const SSampleFile &file) {
        files.append(file);
        return true;
    });
    return files;
}

bool WriteScaledLibrary(const QString &folder, int songs, quint64 seed, QString *error,
                        SScaledLibraryCounts *written, ESongSize size)
{
    if (written)
        *written = {};
    if (songs < 1 || songs > kMaxScaledSongs)
        return FailSampleWrite(error, u"write a library of"_s, QString::number(songs) + u" songs"_s,
                    u"the count must be 1 to %1"_s.arg(kMaxScaledSongs));
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return FailSampleWrite(error, u"create folder"_s, folder, u"permission denied or invalid path"_s);
    const QDir root(folder);

    QSet<QString> subfolders;
    bool ok = true;
    int files = 0;
    ForEachScaledFile(songs, seed, [&](const SSampleFile &file) {
        const QString path = root.filePath(file.relativePath);
        const QString parent = QFileInfo(path).path();
        if (!subfolders.contains(parent)) {
            if (!QDir().mkpath(parent))
                return ok = FailSampleWrite(error, u"create folder"_s, parent, u"permission denied or invalid path"_s);
            subfolders.insert(parent);
        }
        ok = WriteSampleFile(path, file.content, error);
        files += ok ? 1 : 0;
        return ok;
    }, size);
    // Last, because writing into a folder changes its time.
    for (const QString &subfolder : std::as_const(subfolders)) {
        if (ok && !SetSampleFolderTime(subfolder, error))
            ok = false;
    }
    if (ok && written) {
        *written = CountScaledLibrary(songs);
        written->nFiles = files;
    }
    return ok;
}

} // namespace velmora::samplegen
