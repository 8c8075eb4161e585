#include "samplegen/JukeboxSamples.h"

#include "samplegen/CdgWriter.h"
#include "samplegen/Id3Writer.h"
#include "samplegen/Mp3Writer.h"
#include "samplegen/TextEncoding.h"

using namespace Qt::Literals::StringLiterals;

namespace velmora::samplegen {

namespace {

QByteArray Mp3(const QString &title, int seconds)
{
    const SId3Fields tags{title, u"Jukebox Band"_s, u"Numbers"_s, 2001, 1, u"Pop"_s, 13, {}};
    return MakeMp3File(&tags, true, true, Mp3FramesForSeconds(seconds));
}

} // namespace

void AddJukeboxSamples(QList<SSampleFile> &files)
{
    const QString zr0 = u"Jukebox/ZR000000/"_s;
    // Song 42: graphics, its MP3 and a second, dashed MP3; song 15 is listed but has no files.
    files.append({zr0 + u"42.cdg"_s, MakeCdgPackets(2)});
    files.append({zr0 + u"42-.mp3"_s, Mp3(u"Forty-Two (alternate)"_s, 2)});
    files.append({zr0 + u"42.mp3"_s, Mp3(u"Forty-Two"_s, 2)});
    files.append({zr0 + u"1.cdg"_s, MakeCdgPackets(1)});
    files.append({zr0 + u"1.mp3"_s, Mp3(u"One"_s, 1)});
    files.append({zr0 + u"ZR000000.TXT"_s,
                  Utf16WithMark(u"1|First Song|Jukebox Band|Numbers\r\n"
                                u"42|\ud55c\uad6d \ub178\ub798|\uac00\uc218|Album\r\n" // Korean title and artist
                                u"15|Listed Without Files|Nobody\r\n"
                                u"0|not a song|x\r\n"_s)});

    const QString zr2 = u"Jukebox/ZR002000/"_s;
    files.append({zr2 + u"7.avi"_s, QByteArrayLiteral("RIFF\x04\x00\x00\x00" "AVI ")});
    files.append({zr2 + u"7.mp3"_s, Mp3(u"Seven"_s, 1)});
    files.append({zr2 + u"ZR002000.txt"_s, QByteArrayLiteral("\xEF\xBB\xBF" "7|Seven Seas|Caf\xC3\xA9 Trio\r\n")});

    // An ANSI list written on a Korean system: "3001|노래|가수" in code page 949.
    const QString zr3 = u"Jukebox/ZR003000/"_s;
    files.append({zr3 + u"3001.cdg"_s, MakeCdgPackets(1)});
    files.append({zr3 + u"3001.mp3"_s, Mp3(u"Korean Song"_s, 1)});
    files.append({zr3 + u"ZR003000.txt"_s, QByteArrayLiteral("3001|\xB3\xEB\xB7\xA1|\xB0\xA1\xBC\xF6\r\n")});
}

} // namespace velmora::samplegen
