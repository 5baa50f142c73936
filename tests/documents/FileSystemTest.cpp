#include "documents/FileSystem.h"

#include "support/Files.h"

#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace fretloom {
namespace {

using namespace Qt::StringLiterals;
using namespace fretloom::testing;

class DiskFileSystemTest : public ::testing::Test {
protected:
    QString file(const QString& name) const { return folder.filePath(name); }

    QTemporaryDir folder;
    DiskFileSystem disk;
};

TEST_F(DiskFileSystemTest, ReadsAWholeFileAndAnEmptyOne) {
    QByteArray bytes;
    for (int i = 0; i < 200000; ++i)
        bytes += static_cast<char>(i * 7);
    ASSERT_TRUE(writeBytes(file(u"tab.txt"_s), bytes));
    const ReadResult read = disk.readWholeFile(file(u"tab.txt"_s));
    ASSERT_TRUE(read.ok) << read.reason.toStdString();
    EXPECT_EQ(read.bytes, bytes);

    ASSERT_TRUE(writeBytes(file(u"empty.txt"_s), {}));
    const ReadResult empty = disk.readWholeFile(file(u"empty.txt"_s));
    EXPECT_TRUE(empty.ok);
    EXPECT_TRUE(empty.bytes.isEmpty());
}

TEST_F(DiskFileSystemTest, ReadsFilesThatReportNoSize) {
    // Such files have content all the same; a read by the reported size would find nothing.
    const ReadResult read = disk.readWholeFile(u"/proc/self/status"_s);
    ASSERT_TRUE(read.ok) << read.reason.toStdString();
    EXPECT_TRUE(read.bytes.startsWith("Name:"));
}

TEST_F(DiskFileSystemTest, RefusesWhatIsNoRegularFileWithoutBlocking) {
    ASSERT_TRUE(QDir(folder.path()).mkdir(u"folder.txt"_s));
    const QString fifo = file(u"pipe.txt"_s);
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString socketPath = file(u"socket.txt"_s);
    const int socketFd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray socketName = QFile::encodeName(socketPath);
    ASSERT_LT(socketName.size(), qsizetype(sizeof address.sun_path));
    std::copy(socketName.begin(), socketName.end(), address.sun_path);
    ASSERT_EQ(::bind(socketFd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);

    struct Case {
        QString path;
        QString reason;
    };
    // A pipe with no writer would block a plain open for ever; /dev/zero would never end.
    const Case cases[] = {{file(u"folder.txt"_s), u"It is a folder, not a file."_s},
                          {fifo, u"It is a pipe (FIFO), not a regular file."_s},
                          {u"/dev/zero"_s, u"It is a device, not a regular file."_s},
                          {u"/dev/null"_s, u"It is a device, not a regular file."_s},
                          {socketPath, u"It is a socket, not a regular file."_s}};
    for (const Case& c : cases) {
        const ReadResult read = disk.readWholeFile(c.path);
        EXPECT_FALSE(read.ok) << c.path.toStdString();
        EXPECT_EQ(read.reason, c.reason) << c.path.toStdString();
        EXPECT_TRUE(read.bytes.isEmpty());
    }
    ::close(socketFd);
}

TEST_F(DiskFileSystemTest, RefusesAFileOver64MiBAndTakesOneOfExactly64MiB) {
    // Sparse files: the size is there without the bytes on disk.
    const QString over = file(u"over.txt"_s);
    const QString exact = file(u"exact.txt"_s);
    ASSERT_TRUE(writeBytes(over, {}));
    ASSERT_TRUE(writeBytes(exact, {}));
    ASSERT_EQ(::truncate(QFile::encodeName(over).constData(), kMaxTabFileBytes + 1), 0);
    ASSERT_EQ(::truncate(QFile::encodeName(exact).constData(), kMaxTabFileBytes), 0);

    const ReadResult tooLarge = disk.readWholeFile(over);
    EXPECT_FALSE(tooLarge.ok);
    EXPECT_EQ(tooLarge.reason, u"It is larger than 64 MiB, more than any tab; it was not read."_s);
    EXPECT_TRUE(tooLarge.bytes.isEmpty());

    const ReadResult fits = disk.readWholeFile(exact);
    ASSERT_TRUE(fits.ok) << fits.reason.toStdString();
    EXPECT_EQ(fits.bytes.size(), kMaxTabFileBytes);
}

TEST_F(DiskFileSystemTest, NamesTheSystemsReasonForAMissingFile) {
    const ReadResult read = disk.readWholeFile(file(u"missing.txt"_s));
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.reason, u"No such file or directory."_s);
    EXPECT_EQ(disk.readWholeFile(QString()).reason, u"No file name was given."_s);
}

TEST_F(DiskFileSystemTest, WritesANewFileWithTheUsualPermissions) {
    const QString path = file(u"new tab \u00E9.txt"_s);
    const WriteResult written = disk.replaceFile(path, "e  |-0-|\r\n");
    ASSERT_TRUE(written.ok) << written.reason.toStdString();
    EXPECT_EQ(readBytes(path), QByteArray("e  |-0-|\r\n"));
    EXPECT_EQ(entries(folder.path()), QStringList{u"new tab \u00E9.txt"_s});

    const mode_t mask = ::umask(0);
    ::umask(mask);
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0666 & ~mask);
}

TEST_F(DiskFileSystemTest, ReplacesAFileWholeKeepingItsPermissions) {
    const QString path = file(u"riff"_s);
    ASSERT_TRUE(writeBytes(path, QByteArray(5000, 'x')));
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    ASSERT_TRUE(disk.replaceFile(path, "short\r\n").ok);
    EXPECT_EQ(readBytes(path), QByteArray("short\r\n"));
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(entries(folder.path()), QStringList{u"riff"_s});
}

TEST_F(DiskFileSystemTest, WritesThroughASymbolicLinkAndKeepsTheLink) {
    const QString real = file(u"real.txt"_s);
    const QString link = file(u"link.txt"_s);
    ASSERT_TRUE(writeBytes(real, "old"));
    ASSERT_TRUE(QFile::link(real, link));
    ASSERT_TRUE(disk.replaceFile(link, "new").ok);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(readBytes(real), QByteArray("new"));
    EXPECT_EQ(entries(folder.path()), (QStringList{u"link.txt"_s, u"real.txt"_s}));
}

TEST_F(DiskFileSystemTest, RefusesAFolderAPipeAndAMissingFolderLeavingNothingBehind) {
    ASSERT_TRUE(QDir(folder.path()).mkdir(u"folder.txt"_s));
    const QString fifo = file(u"pipe.txt"_s);
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);

    WriteResult written = disk.replaceFile(file(u"folder.txt"_s), "x");
    EXPECT_FALSE(written.ok);
    EXPECT_EQ(written.reason, u"It is a folder, not a file."_s);
    written = disk.replaceFile(fifo, "x");
    EXPECT_FALSE(written.ok);
    EXPECT_EQ(written.reason, u"It is a pipe (FIFO), not a regular file."_s);
    written = disk.replaceFile(file(u"gone/tab.txt"_s), "x");
    EXPECT_FALSE(written.ok);
    EXPECT_EQ(written.reason, u"The folder \"%1\" does not exist."_s.arg(file(u"gone"_s)));
    EXPECT_EQ(entries(folder.path()), (QStringList{u"folder.txt"_s, u"pipe.txt"_s}));
    EXPECT_TRUE(entries(file(u"folder.txt"_s)).isEmpty());
}

// A write that runs out of room must leave the old file as it was and no temporary file.
void expectFailedReplaceLeavesOldFile(DiskFileSystem& disk, const QString& folder,
                                      const QString& expectedReason) {
    const QString path = folder + u"/riff.txt"_s;
    const QByteArray old("old tab\r\n");
    ASSERT_TRUE(writeBytes(path, old));
    const WriteResult written = disk.replaceFile(path, QByteArray(64 * 1024, '-'));
    EXPECT_FALSE(written.ok);
    EXPECT_EQ(written.reason, expectedReason);
    EXPECT_EQ(readBytes(path), old);
    EXPECT_EQ(entries(folder), QStringList{u"riff.txt"_s});
}

TEST_F(DiskFileSystemTest, AFullDiskLeavesTheOldFileByteForByte) {
    SmallTmpfs disk16k;
    if (!disk16k.mounted())
        GTEST_SKIP() << "this process may not mount a tmpfs; the file size limit test stands in";
    expectFailedReplaceLeavesOldFile(disk, disk16k.path(), u"No space left on device."_s);
}

TEST_F(DiskFileSystemTest, AFileSizeLimitLeavesTheOldFileByteForByte) {
    FileSizeLimit limit(4096);
    expectFailedReplaceLeavesOldFile(disk, folder.path(), u"File too large."_s);
}

}  // namespace
}  // namespace fretloom
