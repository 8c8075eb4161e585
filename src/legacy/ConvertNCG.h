#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>
#include <span>

namespace velmora {

// Restores the graphics content of the maker's NCG files: a 32-byte header (tag, version and
// content type) followed by the content in its stored, scrambled form.
class CConvertNCG
{
public:
    static constexpr qsizetype kHeaderSize = 16;
    static constexpr qsizetype kContentOffset = 32;
    static constexpr quint16 kContentCdg = 0;
    static constexpr quint16 kContentMcg = 1;

    CConvertNCG();

    // Converts the file at path (its name must end in ".ncg", any case) into buffer. On
    // success outLength is the content size (file size - 32); on failure it is left alone
    // and ErrorText() may say why. Never writes past the end of buffer.
    bool Convert(const QString &path, std::span<char> buffer, qsizetype &outLength);
    // The same for a whole NCG file already in memory; no name rules apply.
    bool ConvertBytes(QByteArrayView file, std::span<char> buffer, qsizetype &outLength);

    const QString &ErrorText() const { return m_errorText; }
    QByteArrayView Header() const { return QByteArrayView(m_header.data(), kHeaderSize); }
    // Header bytes 14-15: kContentCdg or kContentMcg.
    quint16 ContentType() const;

private:
    bool Fail(const QString &errorText);
    bool ConvertLoaded(QByteArray &file, std::span<char> buffer, qsizetype &outLength);

    std::array<char, kHeaderSize> m_header{};
    QString m_errorText;
};

// Whether the text of path from its last "." on, lower-cased, is ".ncg".
bool HasNcgExtension(const QString &path);

} // namespace velmora
