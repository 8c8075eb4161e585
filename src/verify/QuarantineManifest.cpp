#include "verify/QuarantineManifest.h"

#include "platform/NativeName.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kManifestVersion = 1;
const QString kKind = u"velmora-quarantine"_s;

QString StateName(SQuarantineMove::EState state)
{
    switch (state) {
    case SQuarantineMove::EState::Moved: return u"moved"_s;
    case SQuarantineMove::EState::Failed: return u"failed"_s;
    case SQuarantineMove::EState::Planned: break;
    }
    return u"planned"_s;
}

std::optional<SQuarantineMove::EState> StateNamed(const QString &name)
{
    if (name == u"moved"_s) return SQuarantineMove::EState::Moved;
    if (name == u"failed"_s) return SQuarantineMove::EState::Failed;
    if (name == u"planned"_s) return SQuarantineMove::EState::Planned;
    return std::nullopt;
}

// A name that is not valid UTF-8 on disk does not survive JSON text: its bytes go beside it.
void PutPath(QJsonObject &object, const QString &key, const QString &path)
{
    object.insert(key, path);
    const QByteArray native = EncodeNativeName(path);
    if (QString::fromUtf8(native) != path)
        object.insert(key + u"Native"_s, QString::fromLatin1(native.toBase64()));
}

QString TakePath(const QJsonObject &object, const QString &key)
{
    const QJsonValue native = object.value(key + u"Native"_s);
    if (native.isString())
        return DecodeNativeName(QByteArray::fromBase64(native.toString().toLatin1()));
    return object.value(key).toString();
}

} // namespace

QByteArray ManifestJson(const SQuarantineManifest &manifest)
{
    QJsonArray moves;
    for (const SQuarantineMove &move : manifest.moves) {
        QJsonObject entry;
        PutPath(entry, u"from"_s, move.strFrom);
        PutPath(entry, u"to"_s, move.strTo);
        entry.insert(u"size"_s, move.nSize);
        entry.insert(u"state"_s, StateName(move.state));
        if (!move.strReason.isEmpty())
            entry.insert(u"reason"_s, move.strReason);
        moves.append(entry);
    }
    QJsonObject root;
    root.insert(u"kind"_s, kKind);
    root.insert(u"version"_s, kManifestVersion);
    root.insert(u"created"_s, manifest.strCreated);
    PutPath(root, u"folder"_s, manifest.strFolder);
    PutPath(root, u"target"_s, manifest.strTarget);
    root.insert(u"moves"_s, moves);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

std::optional<SQuarantineManifest> ParseManifest(const QByteArray &json, QString *error)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    const QJsonObject root = document.object();
    if (document.isNull() || root.value(u"kind"_s).toString() != kKind) {
        *error = u"not a quarantine manifest of velmora"_s;
        return std::nullopt;
    }
    if (root.value(u"version"_s).toInt() != kManifestVersion) {
        *error = u"a manifest of another version (%1)"_s.arg(root.value(u"version"_s).toInt());
        return std::nullopt;
    }
    SQuarantineManifest manifest;
    manifest.strCreated = root.value(u"created"_s).toString();
    manifest.strFolder = TakePath(root, u"folder"_s);
    manifest.strTarget = TakePath(root, u"target"_s);
    for (const QJsonValue &value : root.value(u"moves"_s).toArray()) {
        const QJsonObject entry = value.toObject();
        SQuarantineMove move;
        move.strFrom = TakePath(entry, u"from"_s);
        move.strTo = TakePath(entry, u"to"_s);
        move.nSize = entry.value(u"size"_s).toInteger(-1);
        move.strReason = entry.value(u"reason"_s).toString();
        const auto state = StateNamed(entry.value(u"state"_s).toString());
        if (!state || move.strFrom.isEmpty() || move.strTo.isEmpty()) {
            *error = u"the manifest has a damaged entry"_s;
            return std::nullopt;
        }
        move.state = *state;
        manifest.moves.append(move);
    }
    return manifest;
}

} // namespace velmora
