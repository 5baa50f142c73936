#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

namespace fretloom {

// The largest file Open takes; more is no tab and would only eat memory.
inline constexpr qint64 kMaxTabFileBytes = qint64(64) * 1024 * 1024;

struct ReadResult {
    bool ok = false;
    QByteArray bytes;
    QString reason;  // why not, as a sentence for the user
};

struct WriteResult {
    bool ok = false;
    QString reason;
    // The failure came after the file had begun to be overwritten in place.
    bool mayBeDamaged = false;
};

// The files the tab flows touch, behind a seam so they can be tested with any file system.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // The whole content of a regular file of at most kMaxTabFileBytes. Folders, pipes,
    // devices and sockets are refused without being opened for reading, so nothing blocks.
    virtual ReadResult readWholeFile(const QString& path) = 0;

    // Replaces the file at `path` with `bytes` in one step: the bytes go to a temporary file in
    // the same folder, reach the disk and are checked before that file takes the name. On
    // failure the old file keeps every byte and no temporary file is left. The folder must exist.
    // Where the file may be written but not replaced (its folder is closed to the user), it is
    // written in place, reaches the disk and is read back; a failure then may leave it damaged.
    // Temporary files that earlier saves of the same file left behind when they were killed are
    // removed first; those of other files, and those that a save still running is writing, stay.
    virtual WriteResult replaceFile(const QString& path, QByteArrayView bytes) = 0;
};

// The real disk, through POSIX calls.
class DiskFileSystem : public FileSystem {
public:
    // How written data is brought to the disk: fsync(2), or a stand-in that tests make fail.
    using Sync = int (*)(int fd);
    explicit DiskFileSystem(Sync sync = nullptr);

    ReadResult readWholeFile(const QString& path) override;
    WriteResult replaceFile(const QString& path, QByteArrayView bytes) override;

private:
    WriteResult writeInPlace(const QByteArray& target, QByteArrayView bytes);

    Sync sync_;
};

}  // namespace fretloom
