#pragma once

#include <QByteArray>
#include <QString>

namespace velmora {

// The "ANSI" code page that narrow texts of Windows origin are read in. It is a setting
// ("General/AnsiCodePage", also read from a [General] section of the settings file); unset,
// the user's locale decides as Windows' system code page would (LocaleCodePage). 65001
// means UTF-8.
constexpr int kDefaultAnsiCodePage = 1252;
constexpr int kUtf8CodePage = 65001;
// Stands for "the ANSI code page, whatever it is set to" wherever a code page is taken.
constexpr int kAnsiCodePage = -1;

int AnsiCodePage();
void SetAnsiCodePage(int codePage);
// Forgets the code page in use: the next AnsiCodePage() reads the setting (or locale) again.
void ResetAnsiCodePage();

// The code page of the locale named by LC_ALL, LC_CTYPE or LANG (the first one set): 949 for
// Korean, 932 for Japanese, 950 for Chinese of Taiwan, Hong Kong and Macau, 936 for other
// Chinese, 1252 for anything else.
int LocaleCodePage();
int CodePageOfLocale(const QString &locale);

// The code pages a user may choose: 1252, 1251, 949, 932, 936, 950 and 65001.
bool IsSupportedCodePage(int codePage);

// kAnsiCodePage as the configured ANSI code page, any other value unchanged.
int ResolveCodePage(int codePage);

// Conversions through iconv. Bytes that are not valid in the code page decode as U+FFFD;
// characters the code page cannot hold encode as "#". An unknown code page yields an empty
// result and false in *ok.
QString DecodeCodePage(const QByteArray &bytes, int codePage, bool *ok = nullptr);
QByteArray EncodeCodePage(const QString &text, int codePage, bool *ok = nullptr);

} // namespace velmora
