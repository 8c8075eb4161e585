// Pipes, sockets and devices in a library: listed, never opened, never waited for.
#include "TestSupport.h"

#include "inspect/FileBytes.h"
#include "platform/FileStatus.h"
#include "platform/FindFile.h"
#include "platform/OpenFile.h"

#include <QElapsedTimer>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

namespace {

// A socket file bound at path; the descriptor is kept open for the test.
int BindSocket(const QString &path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    const QByteArray name = path.toUtf8();
    std::memcpy(address.sun_path, name.constData(), std::min<size_t>(size_t(name.size()), sizeof address.sun_path - 1));
    if (::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

TEST(SpecialFiles, PipesAndSocketsAreListedButNeverOpened)
{
    QTemporaryDir dir;
    const QString pipe = dir.filePath(u"stuck.mp3"_s);
    const test::CStuckPipe stuck(pipe, 3000);
    ASSERT_TRUE(stuck.Made());
    const QString socketPath = dir.filePath(u"talk.cdg"_s);
    const int socket = BindSocket(socketPath);
    ASSERT_GE(socket, 0);
    test::WriteBytes(dir.filePath(u"plain.mp3"_s), "bytes");

    CFindFile find;
    ASSERT_TRUE(find.FindFile(dir.path()));
    QMap<QString, SFindRecord> byName;
    SFindRecord record;
    while (find.FindNextFile(record))
        byName.insert(record.cFileName, record);
    EXPECT_TRUE(byName[u"stuck.mp3"_s].IsDevice());
    EXPECT_TRUE(byName[u"talk.cdg"_s].IsDevice());
    EXPECT_FALSE(byName[u"talk.cdg"_s].IsFolder());
    EXPECT_EQ(byName[u"plain.mp3"_s].dwFileAttributes, FILE_ATTRIBUTE_NORMAL);

    // Nobody writes to the pipe: an open that waited for a writer would never return.
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(OpenFileForRead(pipe), nullptr);
    EXPECT_EQ(OpenFileForWrite(pipe, false, false), nullptr);
    EXPECT_FALSE(ReadWholeFile(pipe, 1024).has_value());
    EXPECT_EQ(FileSizeOf(socketPath), -1);
    EXPECT_EQ(OpenFileForRead(u"/dev/null"_s), nullptr);
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_FALSE(stuck.Rescued());

    EXPECT_FALSE(QueryRegularFile(pipe));
    EXPECT_FALSE(QueryRegularFile(dir.path()));
    EXPECT_TRUE(QueryRegularFile(dir.filePath(u"plain.mp3"_s)));
    ASSERT_NE(OpenFileForRead(dir.filePath(u"plain.mp3"_s)), nullptr);
    EXPECT_EQ(OpenFileForRead(dir.filePath(u"plain.mp3"_s))->readAll(), QByteArray("bytes"));
    ::close(socket);
}
