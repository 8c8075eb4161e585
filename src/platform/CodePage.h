#pragma once

#include <QByteArray>
#include <QString>

namespace velmora {

// The "ANSI" code page that narrow texts of Windows origin are read in. It is a setting
// ("General/AnsiCodePage"), 1252 unless changed; 65001 means UTF-8.
constexpr int kDefaultAnsiCodePage = 1252;
constexpr int kUtf8CodePage = 65001;

int AnsiCodePage();
void SetAnsiCodePage(int codePage);

// Conversions through iconv; an unknown code page or a failed conversion yields an empty
// result and false in *ok.
QString DecodeCodePage(const QByteArray &bytes, int codePage, bool *ok = nullptr);
QByteArray EncodeCodePage(const QString &text, int codePage, bool *ok = nullptr);

} // namespace velmora
