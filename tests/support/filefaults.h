#pragma once
// Ways a save can fail, made on purpose: a disk that fills up half-way and a folder the program may not
// write into. Both work whether the tests run as a normal user or as root.

#include <QFileDevice>
#include <QString>
#include <functional>
#include <sys/resource.h>

// Lowers the largest file this process may write, for the scope's life; writes beyond it fail the way
// writes to a full disk do (the file-size signal is ignored meanwhile).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

// Makes a folder read-only (r-x for everyone) for the scope's life, then gives it back its permissions.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(QString path);
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

private:
    QString m_path;
    QFileDevice::Permissions m_old;
};

// Makes a file writable by everyone, or by no one, so that a test sees the same as a normal user and
// as root's unprivileged child (below).
void SetWritableByEveryone(const QString& path, bool writable);

// Runs `body` in a process that the folder permissions apply to: the test process itself for a normal
// user; for root (who writes anywhere) a child process that has given up root for "nobody". Returns
// what `body` returned, or -1 when the child could not be run or did not end normally.
int RunWithoutPrivileges(const std::function<int()>& body);
