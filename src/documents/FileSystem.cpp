#include "documents/FileSystem.h"

#include <QFile>
#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
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

QByteArray randomTag() {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray tag(8, Qt::Uninitialized);
    for (char& c : tag)
        c = kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters - 1))];
    return tag;
}

}  // namespace

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
    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = folder + "/." + baseName.left(200) + '.' + randomTag() + ".tmp";
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY,
                    exists ? 0600 : 0666);
        if (fd < 0 && errno != EEXIST)
            return writeFailure(systemReason(errno));
    }
    if (fd < 0)
        return writeFailure(systemReason(EEXIST));
    Descriptor file(fd);

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
    if (::fsync(file.get()) != 0)
        return fail(errno);
    struct stat written {};
    if (::fstat(file.get(), &written) != 0)
        return fail(errno);
    if (written.st_size != bytes.size())
        return fail(EIO);
    if (!file.close())
        return fail(errno);
    if (::rename(temporary.constData(), target.constData()) != 0)
        return fail(errno);

    // Make the new name itself durable; the data already is, so a failure here loses nothing.
    const int folderFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
    return {true, {}};
}

}  // namespace fretloom
