#pragma once
// A database server that does not answer: a TCP port on 127.0.0.1 that takes connections (the kernel's
// backlog does) and never says a word, as a server behind a dead link or a hung one looks to libpq.
// Address() names it with connect_timeout=2, libpq's shortest wait, unless told another.

#include <QString>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

class SilentServer {
public:
    SilentServer() {
        m_socket = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (m_socket < 0 || ::bind(m_socket, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            ::listen(m_socket, 16) != 0 ||
            ::getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            return;
        m_port = ntohs(address.sin_port);
    }
    ~SilentServer() {
        if (m_socket >= 0)
            ::close(m_socket);
    }
    SilentServer(const SilentServer&) = delete;
    SilentServer& operator=(const SilentServer&) = delete;

    bool Listening() const { return m_port != 0; }
    QString Address(int connectTimeout = 2) const {
        return QStringLiteral("postgresql://bench@127.0.0.1:%1/corvexzr?connect_timeout=%2")
            .arg(m_port)
            .arg(connectTimeout);
    }

private:
    int m_socket = -1;
    int m_port = 0;
};
