#include "legacy/MidiTitles.h"

#include "inspect/TextDecoding.h"
#include "platform/CodePage.h"

#include <algorithm>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

// VC-1 files mark their artist with the Korean word for "song" and a colon, or in English.
const QByteArrayView kKoreanSongMark("\xB3\xEB\xB7\xA1:");
const QByteArrayView kEnglishSongMark("SONG:");

bool HasColonAtFifthByte(const QByteArray &text)
{
    return text.size() > 4 && text.at(4) == ':';
}

QByteArray Vc1Artist(const MidiSongInfo &info)
{
    for (const EMidiTextSlot slot : {MidiTextAuthor, MidiTextInstructions, MidiTextCopyright}) {
        const QByteArray &text = info.aszTexts[slot];
        if (text.startsWith(kKoreanSongMark) || text.startsWith(kEnglishSongMark))
            return text.sliced(kKoreanSongMark.size());
    }
    return {};
}

} // namespace

void DecideMidiCodePage(MidiSongInfo &info)
{
    if (info.nCodePage != 0)
        return;
    switch (info.nStyle) {
    case MidiStyleInfo:
    case MidiStyleWords:
        info.nCodePage = 1252;
        break;
    case MidiStyleSetUp:
        info.nCodePage = 932;
        break;
    case MidiStyleVc1:
        if (HasColonAtFifthByte(info.aszTexts[MidiTextCopyright])
            || HasColonAtFifthByte(info.aszTexts[MidiTextInstructions])
            || HasColonAtFifthByte(info.aszTexts[MidiTextAuthor]))
            info.nCodePage = 949;
        else
            info.nCodePage = GuessCodePage(info.aszTexts[MidiTextTitle]);
        break;
    default:
        break;
    }
}

QString DecodeMidiText(const QByteArray &text, int codePage)
{
    if (text.isEmpty())
        return {};
    // Code page 0 is what Windows calls the ANSI code page.
    bool ok = false;
    QString decoded = DecodeCodePage(text, codePage != 0 ? codePage : AnsiCodePage(), &ok);
    if (!ok)
        return {};
    // A text cut to its slot may end inside a double-byte character; that half is dropped
    // rather than shown as a replacement character.
    if (text.size() >= kMaxMidiText && decoded.endsWith(QChar::ReplacementCharacter))
        decoded.chop(1);
    return decoded;
}

void ConvertMidiTitles(MidiSongInfo &info)
{
    if (info.nStyle == MidiStyleNone)
        return;
    info.strTitle = DecodeMidiText(info.aszTexts[MidiTextTitle], info.nCodePage);
    const QByteArray artist = info.nStyle == MidiStyleVc1 ? Vc1Artist(info) : info.aszTexts[MidiTextAuthor];
    info.strArtist = DecodeMidiText(artist, info.nCodePage);
}

void ApplyKarFileName(MidiSongInfo &info, const QString &fileName)
{
    if (info.nStyle != MidiStyleNone || !fileName.endsWith(u".kar"_s, Qt::CaseInsensitive))
        return;
    // Paths may come with either separator.
    const qsizetype slash = std::max(fileName.lastIndexOf(u'/'), fileName.lastIndexOf(u'\\'));
    const QString name = fileName.sliced(slash + 1).chopped(4);
    const qsizetype dash = name.indexOf(u'-');
    if (dash < 0)
        return;
    info.strTitle = name.first(dash);
    info.strArtist = name.sliced(dash + 1).replace(u'_', u' ');
}

} // namespace velmora
