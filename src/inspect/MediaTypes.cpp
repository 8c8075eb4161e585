#include "inspect/MediaTypes.h"

#include "inspect/FileList.h"

namespace velmora {

namespace {

bool HasAnyEnding(const QString &name, std::initializer_list<const char16_t *> endings)
{
    for (const char16_t *ending : endings) {
        if (HasEnding(name, ending))
            return true;
    }
    return false;
}

} // namespace

bool IsKnownMediaFile(const QString &name)
{
    static const char16_t *const known[] = {u".mp3", u".wma", u".wmv", u".avi", u".wav", u".zip", u".mid",
                                            u".kar", u".wrk", u".mdk", u".cdg", u".mcg", u".ncg", u".scdg",
                                            u".pcg", u".qcg", u".lrc", u".bin", u".cda"};
    const QString extension = ExtensionOf(name).toLower();
    for (const char16_t *candidate : known) {
        if (extension == QStringView(candidate))
            return true;
    }
    return false;
}

ESongRole SongRoleOf(const QString &name)
{
    if (HasAnyEnding(name, {u".mp3", u".wma", u".wav"}))
        return ESongRole::Audio;
    if (HasAnyEnding(name, {u".cdg", u".mcg", u".ncg", u".lrc", u".avi", u".mid", u".wrk", u".wmv"}))
        return ESongRole::Companion;
    return ESongRole::None;
}

} // namespace velmora
