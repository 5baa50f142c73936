#include "documents/FileSystem.h"

#include <QCryptographicHash>
#include <QFile>
#include <QList>
#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fretloom {

using namespace Qt::StringLiterals;

namespace {

QString systemReason(int error) {
    return qt_error_string(error) + u'.';
}

ReadResult readFailure(const QString& reason) {
    return {false, {}, reason};
}

WriteResult writeFailure(const QString& reason) {
    return {false, reason};
}

// Why a file of this kind is no tab file, or nothing when it is a regular file.
QString notARegularFile(mode_t mode) {
    if (S_ISREG(mode))
        return {};
    if (S_ISDIR(mode))
        return u"It is a folder, not a file."_s;
    if (S_ISFIFO(mode))
        return u"It is a pipe (FIFO), not a regular file."_s;
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return u"It is a device, not a regular file."_s;
    if (S_ISSOCK(mode))
        return u"It is a socket, not a regular file."_s;
    return u"It is not a regular file."_s;
}

QString tooLarge() {
    return u"It is larger than %1 MiB, more than any tab; it was not read."_s.arg(kMaxTabFileBytes /
                                                                                  (1024 * 1024));
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int get() const { return fd_; }
    // Closes now and says whether the close went well; some file systems report late write
    // errors only here.
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool writeAll(int fd, const char* data, qsizetype size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, static_cast<size_t>(size));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (written == 0) {
            errno = EIO;
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

constexpr qsizetype kTagLength = 8;

QByteArray randomTag() {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray tag(kTagLength, Qt::Uninitialized);
    for (char& c : tag)
        c = kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters - 1))];
    return tag;
}

// A save writes to a hidden temporary file beside the file, named "." + name + "." + a random
// tag of 8 letters or digits + ".tmp", so that a later save of the same file can tell what a
// killed one left. A name too long for that keeps its first bytes (whole characters), then "~"
// and a digest of the whole name, so that long names with the same start differ here as well.
QByteArray temporaryPrefix(const QByteArray& name) {
    constexpr qsizetype kNameMax = 255;
    constexpr qsizetype kRoom = kNameMax - 2 - kTagLength - 4;
    if (name.size() <= kRoom)
        return '.' + name + '.';
    const QByteArray digest =
        QCryptographicHash::hash(name, QCryptographicHash::Sha256).toHex().left(16);
    qsizetype keep = kRoom - 1 - digest.size();
    while (keep > 0 && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80)
        --keep;
    return '.' + name.left(keep) + '~' + digest + '.';
}

bool isTemporaryFileOf(const QByteArray& entry, const QByteArray& prefix) {
    if (entry.size() != prefix.size() + kTagLength + 4 || !entry.startsWith(prefix) ||
        !entry.endsWith(".tmp"))
        return false;
    for (qsizetype i = prefix.size(); i < prefix.size() + kTagLength; ++i) {
        const char c = entry[i];
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')))
            return false;
    }
    return true;
}

// A save holds an exclusive lock on its temporary file until the file has its name, so that no
// other save takes it for a leftover. Killing the save releases the lock. False when another
// save is removing the file right now, or has removed it: the caller picks another name.
bool lockAsOurs(int fd) {
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        return errno != EWOULDBLOCK;  // where there are no locks, the save goes on without
    struct stat info {};
    return ::fstat(fd, &info) == 0 && info.st_nlink > 0;
}

// Removes the temporary files that killed saves of the file left in `folder`: those named after
// it whose lock nobody holds. Whatever fails here is left for the next save.
void removeLeftovers(const QByteArray& folder, const QByteArray& prefix) {
    QList<QByteArray> found;
    if (DIR* dir = ::opendir(folder.constData())) {
        while (const dirent* entry = ::readdir(dir))
            if (isTemporaryFileOf(QByteArray(entry->d_name), prefix))
                found << QByteArray(entry->d_name);
        ::closedir(dir);
    }
    for (const QByteArray& name : found) {
        const QByteArray path = folder + '/' + name;
        constexpr int kFlags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;
        int fd = ::open(path.constData(), O_RDONLY | kFlags);
        if (fd < 0)
            fd = ::open(path.constData(), O_WRONLY | kFlags);
        Descriptor file(fd);
        struct stat held {};
        struct stat named {};
        if (fd < 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::fstat(fd, &held) != 0 ||
            !S_ISREG(held.st_mode) || held.st_nlink == 0)
            continue;
        // Still the file that was locked, not one that took its name since.
        if (::lstat(path.constData(), &named) == 0 && named.st_dev == held.st_dev &&
            named.st_ino == held.st_ino)
            ::unlink(path.constData());
    }
}

}  // namespace

DiskFileSystem::DiskFileSystem(Sync sync) : sync_(sync ? sync : ::fsync) {}

ReadResult DiskFileSystem::readWholeFile(const QString& path) {
    if (path.isEmpty())
        return readFailure(u"No file name was given."_s);
    const QByteArray name = QFile::encodeName(path);

    // Look before opening: opening a pipe or a device can block or have effects of its own.
    struct stat info {};
    if (::stat(name.constData(), &info) != 0)
        return readFailure(systemReason(errno));
    if (const QString refusal = notARegularFile(info.st_mode); !refusal.isEmpty())
        return readFailure(refusal);
    if (info.st_size > kMaxTabFileBytes)
        return readFailure(tooLarge());

    // Non-blocking in case the name was given to a pipe since the look.
    Descriptor file(::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.get() < 0)
        return readFailure(systemReason(errno));
    if (::fstat(file.get(), &info) != 0)
        return readFailure(systemReason(errno));
    if (const QString refusal = notARegularFile(info.st_mode); !refusal.isEmpty())
        return readFailure(refusal);
    if (info.st_size > kMaxTabFileBytes)
        return readFailure(tooLarge());

    // Read to the end rather than to the size seen: some files report no size, others grow.
    QByteArray bytes(static_cast<qsizetype>(info.st_size) + 1, Qt::Uninitialized);
    qsizetype total = 0;
    for (;;) {
        if (total == bytes.size()) {
            if (total > kMaxTabFileBytes)
                return readFailure(tooLarge());
            bytes.resize(std::min<qsizetype>(total * 2 + 4096, kMaxTabFileBytes + 1));
        }
        const ssize_t got =
            ::read(file.get(), bytes.data() + total, static_cast<size_t>(bytes.size() - total));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return readFailure(systemReason(errno));
        }
        if (got == 0)
            break;
        total += got;
    }
    if (total > kMaxTabFileBytes)
        return readFailure(tooLarge());
    bytes.truncate(total);
    if (!file.close())
        return readFailure(systemReason(errno));
    return {true, bytes, {}};
}

WriteResult DiskFileSystem::replaceFile(const QString& path, QByteArrayView bytes) {
    if (path.isEmpty())
        return writeFailure(u"No file name was given."_s);
    QByteArray target = QFile::encodeName(path);

    // Saving to a symbolic link writes the file it points to and keeps the link.
    struct stat info {};
    if (::lstat(target.constData(), &info) == 0 && S_ISLNK(info.st_mode)) {
        if (char* real = ::realpath(target.constData(), nullptr)) {
            target = real;
            std::free(real);
        }
    }

    bool exists = false;
    if (::stat(target.constData(), &info) == 0) {
        exists = true;
        if (const QString refusal = notARegularFile(info.st_mode); !refusal.isEmpty())
            return writeFailure(refusal);
        // Renaming over it would succeed even where writing to it is not allowed.
        if (::access(target.constData(), W_OK) != 0)
            return writeFailure(systemReason(errno));
    } else if (errno != ENOENT) {
        return writeFailure(systemReason(errno));
    }

    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = slash < 0    ? QByteArray(".")
                              : slash == 0 ? QByteArray("/")
                                           : target.left(slash);
    const QByteArray baseName = target.mid(slash + 1);
    struct stat folderInfo {};
    if (::stat(folder.constData(), &folderInfo) != 0) {
        if (errno == ENOENT)
            return writeFailure(
                u"The folder \"%1\" does not exist."_s.arg(QFile::decodeName(folder)));
        return writeFailure(systemReason(errno));
    }
    if (!S_ISDIR(folderInfo.st_mode))
        return writeFailure(systemReason(ENOTDIR));

    // A hidden temporary file beside the target, so the final rename stays on one file system.
    const QByteArray prefix = temporaryPrefix(baseName);
    removeLeftovers(folder, prefix);
    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = folder + '/' + prefix + randomTag() + ".tmp";
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY,
                    exists ? 0600 : 0666);
        if (fd < 0 && (errno == EACCES || errno == EPERM) && exists)
            return writeInPlace(target, bytes);
        if (fd < 0 && errno != EEXIST)
            return writeFailure(systemReason(errno));
        if (fd >= 0 && !lockAsOurs(fd)) {
            ::close(fd);
            fd = -1;
        }
    }
    if (fd < 0)
        return writeFailure(systemReason(EEXIST));
    Descriptor file(fd);
    // Keeps the lock when the file is closed to learn of late write errors, until the rename.
    const Descriptor lock(::dup(fd));

    const auto fail = [&](int error) {
        if (file.get() >= 0)
            file.close();
        ::unlink(temporary.constData());
        return writeFailure(systemReason(error));
    };

    if (exists) {
        // Keep the owner and permissions of the file being replaced, as far as allowed.
        if (::fchown(file.get(), info.st_uid, info.st_gid) != 0) {
            // Only the owner may keep a foreign group or owner; the content matters more.
        }
        if (::fchmod(file.get(), info.st_mode & 07777) != 0)
            return fail(errno);
    }
    if (!writeAll(file.get(), bytes.data(), bytes.size()))
        return fail(errno);
    if (sync_(file.get()) != 0)
        return fail(errno);
    struct stat written {};
    if (::fstat(file.get(), &written) != 0)
        return fail(errno);
    if (written.st_size != bytes.size())
        return fail(EIO);
    if (!file.close())
        return fail(errno);
    if (::rename(temporary.constData(), target.constData()) != 0) {
        // A folder where others' files may not be replaced (the sticky bit of /tmp).
        if ((errno == EACCES || errno == EPERM) && exists) {
            ::unlink(temporary.constData());
            return writeInPlace(target, bytes);
        }
        return fail(errno);
    }

    // Make the new name itself durable; the data already is, so a failure here loses nothing.
    const int folderFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
    return {true, {}};
}

// The file may be written but its folder does not let it be replaced: the bytes go into the file
// itself. Room for all of them is asked for first, so that a full disk fails before anything
// changes; after that a failure may leave the file part old, part new.
WriteResult DiskFileSystem::writeInPlace(const QByteArray& target, QByteArrayView bytes) {
    Descriptor file(::open(target.constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.get() < 0)
        return writeFailure(systemReason(errno));
    const int fd = file.get();
    if (!bytes.isEmpty() && ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, bytes.size()) != 0 &&
        errno != EOPNOTSUPP && errno != ENOSYS)
        return writeFailure(systemReason(errno));

    const auto damaged = [](int error) {
        return WriteResult{false, systemReason(error), true};
    };
    if (::lseek(fd, 0, SEEK_SET) != 0 || !writeAll(fd, bytes.data(), bytes.size()))
        return damaged(errno);
    if (::ftruncate(fd, bytes.size()) != 0 || sync_(fd) != 0)
        return damaged(errno);
    // Read back what reached the file.
    QByteArray back(bytes.size(), Qt::Uninitialized);
    qsizetype total = 0;
    while (total < back.size()) {
        const ssize_t got =
            ::pread(fd, back.data() + total, static_cast<size_t>(back.size() - total), total);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return damaged(got < 0 ? errno : EIO);
        total += got;
    }
    if (back != bytes)
        return damaged(EIO);
    if (!file.close())
        return damaged(errno);
    return {true, {}};
}

}  // namespace fretloom
