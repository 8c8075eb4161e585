#include "TestSupport.h"

#include "legacy/ConvertNCG.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

namespace {

QByteArray NcgFile(quint16 contentType, const QByteArray &content = {})
{
    QByteArray bytes = QByteArray("KLOVNCG").leftJustified(32, '\0');
    bytes[8] = 1;
    bytes[14] = char(contentType & 0xFF);
    bytes[15] = char(contentType >> 8);
    return bytes + content;
}

class ConvertNCG : public ::testing::Test
{
protected:
    QString Write(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(name);
        test::WriteBytes(path, bytes);
        return path;
    }
    // Converts into a buffer filled with a marker, which must stay where nothing is restored.
    bool Convert(const QString &path, qsizetype capacity = 64)
    {
        m_buffer = QByteArray(capacity + 8, '\xAA');
        m_length = -7;
        return m_converter.Convert(path, std::span<char>(m_buffer.data(), size_t(capacity)), m_length);
    }
    bool BufferUntouched() const { return m_buffer.count('\xAA') == m_buffer.size(); }

    QTemporaryDir m_dir;
    CConvertNCG m_converter;
    QByteArray m_buffer;
    qsizetype m_length = 0;
};

} // namespace

TEST_F(ConvertNCG, FreshConverterAndHeaderOnlyFiles)
{
    EXPECT_TRUE(m_converter.Header().startsWith(QByteArrayView("KLOVNCG\0", 8)));
    EXPECT_EQ(m_converter.ContentType(), 0);
    EXPECT_TRUE(m_converter.ErrorText().isEmpty());

    // The ending is compared after lower-casing; 32 bytes of type 0 restore to nothing.
    ASSERT_TRUE(Convert(Write(u"song.NCG"_s, NcgFile(0))));
    EXPECT_EQ(m_length, 0);
    EXPECT_TRUE(BufferUntouched());
    EXPECT_TRUE(m_converter.ErrorText().isEmpty());

    // Type 1 must restore to content beginning with KLOVMC, which 32 bytes cannot hold.
    EXPECT_FALSE(Convert(Write(u"mcg.ncg"_s, NcgFile(1))));
    EXPECT_EQ(m_converter.ContentType(), 1);
    EXPECT_EQ(m_length, -7);
    EXPECT_TRUE(m_converter.ErrorText().isEmpty());
}

TEST_F(ConvertNCG, PathRulesAndTheirTexts)
{
    EXPECT_FALSE(Convert(QString()));
    EXPECT_EQ(m_converter.ErrorText(), u"Source path is empty."_s);

    // The text is cleared by the next conversion.
    EXPECT_FALSE(Convert(Write(u"noDot"_s, NcgFile(0))));
    EXPECT_TRUE(m_converter.ErrorText().isEmpty());
    EXPECT_FALSE(Convert(Write(u"song.cdg"_s, NcgFile(0))));
    EXPECT_FALSE(Convert(Write(u"song.ncg.bak"_s, NcgFile(0))));
    EXPECT_TRUE(m_converter.ErrorText().isEmpty());
    EXPECT_EQ(m_length, -7);

    EXPECT_FALSE(Convert(m_dir.filePath(u"missing.ncg"_s)));
    EXPECT_EQ(m_converter.ErrorText(), u"Source file open error."_s);
    QDir(m_dir.path()).mkdir(u"folder.ncg"_s);
    EXPECT_FALSE(Convert(m_dir.filePath(u"folder.ncg"_s)));
    EXPECT_EQ(m_converter.ErrorText(), u"Source file open error."_s);

    EXPECT_TRUE(HasNcgExtension(u"a.b/c.Ncg"_s));
    EXPECT_FALSE(HasNcgExtension(u"a.ncg/c"_s));
}

TEST_F(ConvertNCG, StoredContentIsUnreadable)
{
    // Without the maker's tables nothing but empty content can be restored; the caller's
    // buffer and length stay as they were.
    EXPECT_FALSE(Convert(Write(u"cdg.ncg"_s, NcgFile(0, QByteArray(96, '\x09')))));
    EXPECT_FALSE(Convert(Write(u"ten.ncg"_s, NcgFile(1, QByteArray(10, '\0')))));
    EXPECT_FALSE(Convert(Write(u"mc.ncg"_s, NcgFile(1, QByteArray("KLOVMC").leftJustified(48, '\0')))));
    EXPECT_TRUE(BufferUntouched());
    EXPECT_EQ(m_length, -7);

    // Shorter than its header: no content size can be given.
    EXPECT_FALSE(Convert(Write(u"short.ncg"_s, NcgFile(0).left(31))));
    EXPECT_EQ(m_length, -7);
}

TEST_F(ConvertNCG, ContentLargerThanTheBufferIsNeverRead)
{
    EXPECT_FALSE(Convert(Write(u"big.ncg"_s, NcgFile(0, QByteArray(65, '\0'))), 64));
    EXPECT_EQ(m_converter.ErrorText(), u"Memory allocation failure."_s);
    EXPECT_TRUE(BufferUntouched());

    QFile sparse(m_dir.filePath(u"sparse.ncg"_s));
    ASSERT_TRUE(sparse.open(QIODevice::WriteOnly));
    sparse.write(NcgFile(0));
    ASSERT_TRUE(sparse.resize(qint64(4) * 1024 * 1024 * 1024));
    sparse.close();
    EXPECT_FALSE(Convert(sparse.fileName(), 4 * 1024 * 1024));
    EXPECT_EQ(m_converter.ErrorText(), u"Memory allocation failure."_s);

    // A header-only file fits even a buffer of no bytes.
    EXPECT_TRUE(Convert(Write(u"empty.ncg"_s, NcgFile(0)), 0));
    EXPECT_EQ(m_length, 0);
}

TEST_F(ConvertNCG, InMemoryConversionFollowsTheSameRules)
{
    std::array<char, 16> buffer{};
    qsizetype length = -1;
    EXPECT_TRUE(m_converter.ConvertBytes(NcgFile(0), buffer, length));
    EXPECT_EQ(length, 0);
    EXPECT_FALSE(m_converter.ConvertBytes(QByteArray("KLOVNCG"), buffer, length));
    EXPECT_FALSE(m_converter.ConvertBytes(NcgFile(0, QByteArray(17, '\0')), buffer, length));
    EXPECT_EQ(m_converter.ErrorText(), u"Memory allocation failure."_s);
    EXPECT_EQ(length, 0);
}
