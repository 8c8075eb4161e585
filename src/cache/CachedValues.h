#pragma once

#include <QByteArray>
#include <QStringList>

#include <optional>

namespace velmora {

struct SMediaExamination;
struct SFileFindings;

// The kept form of each kind of per-file result. Decoding takes bytes from the database,
// which may be damaged or written by someone else: anything that does not read back whole,
// with every value in range, is nullopt, which the checks take as a miss.
QByteArray EncodeSongResult(const QStringList &result);
std::optional<QStringList> DecodeSongResult(QByteArrayView bytes);

QByteArray EncodeExamination(const SMediaExamination &found);
std::optional<SMediaExamination> DecodeExamination(QByteArrayView bytes);

QByteArray EncodeFindings(const SFileFindings &findings);
std::optional<SFileFindings> DecodeFindings(QByteArrayView bytes);

} // namespace velmora
