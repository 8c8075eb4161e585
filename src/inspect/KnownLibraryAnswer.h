#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <optional>

namespace velmora {

// What the media-library branch answers for a file whose content rules out every format the
// media-information library reads: the library then learns only the file's size, so the
// answer is a playing time of 0, a bit rate of 0 and no title. nullopt means the library
// has to be asked (any other file, or a library that cannot be loaded, which answers nothing).
std::optional<QStringList> KnownMediaLibraryAnswer(const QString &path);

// The library's whole report of such a file, as its Inform call gives it (lines ending in
// "\r\n"): the General section with the file's name and size and nothing else. The
// media-details check takes it instead of asking the library; nullopt as above.
std::optional<QString> KnownMediaLibraryReport(const QString &path);

// The library's text of a file size: three significant digits in Byte(s), KiB, MiB, GiB or
// TiB, the unit chosen on the size as a single-precision number, thousands parted by a blank.
QString LibraryFileSizeText(qint64 size);

// A graphics file that is nothing but CD+G subcode: whole 96-byte packs, every byte a 6-bit
// symbol (the two subchannels above them cleared), every packet empty or TV graphics, and at
// least one instruction the CD+G reader decodes. No container, audio or video format can
// begin or sync inside such bytes.
bool IsBareCdgStream(QByteArrayView bytes);

// Tests switch the shortcut off to compare with the library's own answers.
void UseKnownLibraryAnswers(bool use);

} // namespace velmora
