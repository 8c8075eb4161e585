#pragma once

#include <QByteArray>
#include <QString>

namespace velmora {

// The "ANSI" code page that narrow texts of Windows origin are read in. It is a setting
// ("General/AnsiCodePage"), 1252 unless changed; 65001 means UTF-8.
constexpr int kDefaultAnsiCodePage = 1252;
constexpr int kUtf8CodePage = 65001;
// Stands for "the ANSI code page, whatever it is set to" wherever a code page is taken.
constexpr int kAnsiCodePage = -1;

int AnsiCodePage();
void SetAnsiCodePage(int codePage);

// kAnsiCodePage as the configured ANSI code page, any other value unchanged.
int ResolveCodePage(int codePage);

// Conversions through iconv. Bytes that are not valid in the code page decode as U+FFFD;
// characters the code page cannot hold encode as "#". An unknown code page yields an empty
// result and false in *ok.
QString DecodeCodePage(const QByteArray &bytes, int codePage, bool *ok = nullptr);
QByteArray EncodeCodePage(const QString &text, int codePage, bool *ok = nullptr);

} // namespace velmora
