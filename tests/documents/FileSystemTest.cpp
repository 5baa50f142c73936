#include "documents/FileSystem.h"

#include "support/Files.h"

#include <QFileInfo>
#include <QRandomGenerator>
#include <QThread>
#include <csignal>
#include <functional>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
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

int failToSync(int) {
    errno = EIO;
    return -1;
}

TEST_F(DiskFileSystemTest, ADiskThatFailsToSyncFailsTheSaveAndLeavesTheOldFile) {
    DiskFileSystem failing(failToSync);
    expectFailedReplaceLeavesOldFile(failing, folder.path(), u"Input/output error."_s);
}

constexpr uid_t kNobody = 65534;

// Permissions bind every user but root, so as root these tests act as the user nobody.
uid_t actingUser() {
    return ::geteuid() == 0 ? kNobody : ::geteuid();
}

// Runs `act` in a child process as the acting user and gives its exit status.
int asActingUser(const std::function<int()>& act) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            ::_exit(255);
        ::_exit(act());
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

QString makeFolder(const QString& parent, const QString& name, mode_t mode) {
    const QString path = parent + u'/' + name;
    if (!QDir(parent).mkdir(name) || ::chmod(QFile::encodeName(path).constData(), mode) != 0)
        ADD_FAILURE() << "could not make " << path.toStdString();
    return path;
}

// Longer than what the tests save over it, so that a save that leaves the old tail shows.
const QByteArray kOldTab("e  |-0-|-12---|\r\nB  |-1-|------|\r\n");

QString makeFile(const QString& folder, const QString& name, uid_t owner, mode_t mode) {
    const QString path = folder + u'/' + name;
    const QByteArray encoded = QFile::encodeName(path);
    if (!writeBytes(path, kOldTab) || ::chown(encoded.constData(), owner, owner) != 0 ||
        ::chmod(encoded.constData(), mode) != 0)
        ADD_FAILURE() << "could not make " << path.toStdString();
    return path;
}

ino_t inodeOf(const QString& path) {
    struct stat info {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0) << path.toStdString();
    return info.st_ino;
}

TEST_F(DiskFileSystemTest, WritesInPlaceOnlyTheFilesTheUserMayWriteWhereNoneMayBeReplaced) {
    ASSERT_EQ(::chmod(QFile::encodeName(folder.path()).constData(), 0755), 0);
    const uid_t user = actingUser();
    // A folder he may write, holding a file he may only read: renaming over it would work.
    const QString open = makeFolder(folder.path(), u"open"_s, 0777);
    const QString readOnly = makeFile(open, u"read-only.txt"_s, user, 0444);
    // A folder he may only read, holding his files: he may write them but not replace them.
    const QString closed = makeFolder(folder.path(), u"closed"_s, 0755);
    const QString his = makeFile(closed, u"his.txt"_s, user, 0644);
    const QString failing = makeFile(closed, u"failing.txt"_s, user, 0644);
    const ino_t before = inodeOf(his);
    ASSERT_EQ(::chmod(QFile::encodeName(closed).constData(), 0555), 0);

    const int faults = asActingUser([&] {
        DiskFileSystem disk;
        DiskFileSystem failingDisk(failToSync);
        int bits = 0;
        const WriteResult refused = disk.replaceFile(readOnly, "new\r\n");
        if (refused.ok || refused.reason != u"Permission denied."_s || refused.mayBeDamaged)
            bits |= 1;
        if (!disk.replaceFile(his, "new\r\n").ok)
            bits |= 2;
        const WriteResult damaged = failingDisk.replaceFile(failing, "new\r\n");
        if (damaged.ok || damaged.reason != u"Input/output error."_s || !damaged.mayBeDamaged)
            bits |= 4;
        return bits;
    });
    ::chmod(QFile::encodeName(closed).constData(), 0755);
    EXPECT_EQ(faults, 0);
    EXPECT_EQ(readBytes(readOnly), kOldTab);
    // Written where it is, shorter than before: the same file, byte for byte, nothing beside it.
    EXPECT_EQ(readBytes(his), QByteArray("new\r\n"));
    EXPECT_EQ(inodeOf(his), before);
    EXPECT_EQ(entries(open), QStringList{u"read-only.txt"_s});
    EXPECT_EQ(entries(closed), (QStringList{u"failing.txt"_s, u"his.txt"_s}));
}

TEST_F(DiskFileSystemTest, AnotherUsersFileInAStickyFolderIsWrittenInPlace) {
    // Only root can give a file to another user; CI runs as root.
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs a file of another user: run as root to test this";
    ASSERT_EQ(::chmod(QFile::encodeName(folder.path()).constData(), 0755), 0);
    // A folder like /tmp, where only a file's owner may replace it, holding a file all may write.
    const QString sticky = makeFolder(folder.path(), u"sticky"_s, 01777);
    const QString shared = makeFile(sticky, u"shared.txt"_s, 0, 0666);
    const ino_t before = inodeOf(shared);
    EXPECT_EQ(
        asActingUser([&] { return DiskFileSystem().replaceFile(shared, "new\r\n").ok ? 0 : 1; }),
        0);
    EXPECT_EQ(readBytes(shared), QByteArray("new\r\n"));
    EXPECT_EQ(inodeOf(shared), before);
    EXPECT_EQ(entries(sticky), QStringList{u"shared.txt"_s});
}

int dieAtOnce(int) {
    ::raise(SIGKILL);
    return 0;
}

int waitForEver(int) {
    for (;;)
        ::pause();
}

// Starts saving to `path` in a child process whose save stops at `sync`, once the temporary file
// holds every byte: `dieAtOnce` leaves it as a kill or a power loss would. Gives the child and the
// file it left.
std::pair<pid_t, QString> startASave(const QString& path, DiskFileSystem::Sync sync) {
    const QString folder = QFileInfo(path).path();
    const QStringList before = entries(folder);
    // A child starts from the random state of this process; moving it on gives each child other
    // temporary names, as separate programs would have.
    QRandomGenerator::global()->generate();
    const pid_t child = ::fork();
    if (child == 0) {
        DiskFileSystem stopping(sync);
        stopping.replaceFile(path, QByteArray(4096, '-'));
        ::_exit(0);
    }
    for (int wait = 0; wait < 1000; ++wait) {
        for (const QString& entry : entries(folder))
            if (!before.contains(entry) && QFileInfo(folder + u'/' + entry).size() == 4096)
                return {child, entry};
        QThread::msleep(10);
    }
    ADD_FAILURE() << "the save never wrote its temporary file";
    return {child, QString()};
}

void endChild(pid_t child) {
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
}

TEST_F(DiskFileSystemTest, ASaveRemovesWhatKilledSavesOfThatFileLeftAndNothingElse) {
    // Names so long that their temporary files carry only their start.
    const QString longName = QString(250, u'a');
    const QString longOther = QString(249, u'a') + u'b';
    std::map<QString, QStringList> leftovers;
    for (const QString& name :
         {u"riff.txt"_s, u"riff.txt"_s, u"riff.txt2"_s, longName, longName, longOther}) {
        const auto [child, left] = startASave(file(name), dieAtOnce);
        endChild(child);
        leftovers[name] << left;
    }
    // Look-alikes of other shapes, and a folder of the very shape.
    const QString tag = leftovers[u"riff.txt"_s][0].right(12).left(8);
    for (const QString& lookAlike : {u".riff.txt.abcdefg.tmp"_s, u"riff.txt."_s + tag + u".tmp"_s})
        ASSERT_TRUE(writeBytes(file(lookAlike), "mine"));
    ASSERT_TRUE(QDir(folder.path()).mkdir(u".riff.txt.folder01.tmp"_s));

    // A save of the same file still running: its temporary file stays.
    const auto [running, itsFile] = startASave(file(u"riff.txt"_s), waitForEver);
    QStringList expected = entries(folder.path());
    for (const QString& name : {u"riff.txt"_s, longName}) {
        ASSERT_TRUE(disk.replaceFile(file(name), "tab\r\n").ok);
        for (const QString& left : leftovers[name])
            expected.removeOne(left);
        expected << name;
        expected.sort();
        EXPECT_EQ(entries(folder.path()), expected);
    }
    // Once it is killed, the next save removes what it left.
    endChild(running);
    ASSERT_TRUE(disk.replaceFile(file(u"riff.txt"_s), "tab\r\n").ok);
    expected.removeOne(itsFile);
    EXPECT_EQ(entries(folder.path()), expected);
    EXPECT_EQ(readBytes(file(u"riff.txt"_s)), QByteArray("tab\r\n"));
}

}  // namespace
}  // namespace fretloom
