#include "tests/support/filefaults.h"

#include <QFile>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

FileSizeLimit::FileSizeLimit(rlim_t bytes) {
    m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &m_old);
    rlimit lowered = m_old;
    lowered.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &lowered);
}

FileSizeLimit::~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &m_old);
    std::signal(SIGXFSZ, m_oldHandler);
}

ReadOnlyFolder::ReadOnlyFolder(QString path) : m_path(std::move(path)), m_old(QFile::permissions(m_path)) {
    QFile::setPermissions(m_path, QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                                      QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther);
}

ReadOnlyFolder::~ReadOnlyFolder() {
    QFile::setPermissions(m_path, m_old);
}

void SetWritableByEveryone(const QString& path, bool writable) {
    QFileDevice::Permissions permissions =
        QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    if (writable)
        permissions |= QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    QFile::setPermissions(path, permissions);
}

int RunWithoutPrivileges(const std::function<int()>& body) {
    if (geteuid() != 0)
        return body();
    const pid_t child = fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        constexpr uid_t Nobody = 65534;
        if (setgid(Nobody) != 0 || setuid(Nobody) != 0)
            _exit(100);
        _exit(body() & 0xff); // no exit handlers: the child shares the parent's files and settings
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status) == 100 ? -1 : WEXITSTATUS(status);
}
