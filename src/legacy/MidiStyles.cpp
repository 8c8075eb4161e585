#include "legacy/MidiStyles.h"

#include "legacy/MidiTexts.h"
#include "platform/CodePage.h"

namespace velmora {

namespace {

constexpr int kWesternCodePage = 1252;

// "INFO-KOR(...)" holds the language between the dash and the parenthesis.
int InfoTrackCodePage(QByteArrayView trimmedName)
{
    if (!StartsWithNoCase(trimmedName, "INFO-"))
        return kWesternCodePage;
    const QByteArrayView rest = trimmedName.sliced(5);
    const qsizetype open = rest.indexOf('(');
    return CodePageOfLanguage(open < 0 ? rest : rest.first(open));
}

// The texts between the first "(" and the last ")", split at "|": the second is the title
// and the third the author. With fewer than three pieces the slots stay as they are.
void ReadInfoTexts(QByteArrayView name, MidiSongInfo &info)
{
    const qsizetype open = name.indexOf('(');
    const qsizetype close = name.lastIndexOf(')');
    if (open < 0 || close <= open)
        return;
    const QList<QByteArray> pieces = name.sliced(open + 1, close - open - 1).toByteArray().split('|');
    if (pieces.size() < 3)
        return;
    SetMidiText(info, MidiTextTitle, pieces.at(1));
    SetMidiText(info, MidiTextAuthor, pieces.at(2));
}

} // namespace

int MidiStyleOfTrackName(QByteArrayView name)
{
    const QByteArrayView trimmed = name.trimmed();
    if (StartsWithNoCase(trimmed, "INFO(") || StartsWithNoCase(trimmed, "INFO-"))
        return MidiStyleInfo;
    if (StartsWithNoCase(trimmed, "Set up"))
        return MidiStyleSetUp;
    if (StartsWithNoCase(trimmed, "VC-1"))
        return MidiStyleVc1;
    if (StartsWithNoCase(trimmed, "Words"))
        return MidiStyleWords;
    return MidiStyleNone;
}

int CodePageOfLanguage(QByteArrayView code)
{
    static const struct
    {
        QByteArrayView code;
        int codePage;
    } languages[] = {
        {"UTF8", kUtf8CodePage}, {"KOR", 949}, {"KO", 949}, {"RUS", 1251}, {"RU", 1251},
        {"JPN", 932}, {"JA", 932}, {"CHI", 936}, {"ZHI", 936}, {"ZH", 936},
        {"ENG", kWesternCodePage}, {"EN", kWesternCodePage},
    };
    for (const auto &language : languages) {
        if (EqualsNoCase(code, language.code))
            return language.codePage;
    }
    return 0;
}

void DecideMidiStyle(MidiSongInfo &info)
{
    for (const tagTrackInfo &track : std::as_const(info.tracks)) {
        const int style = MidiStyleOfTrackName(track.szName);
        if (style == MidiStyleNone)
            continue;
        info.nStyle = style;
        if (style == MidiStyleInfo) {
            info.nCodePage = InfoTrackCodePage(track.szName.trimmed());
            ReadInfoTexts(track.szName, info);
        }
        return;
    }
}

} // namespace velmora
