#pragma once

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

#include <memory>

#ifdef Q_OS_UNIX
#include <sys/socket.h>
#endif

namespace torumin::testing {

// An HTTP server on the loopback address, for the download tests: every
// connection gets the canned answer for the path it asked for (or the one
// for every other path), and the answer can break off the ways real servers
// and networks do.
class LocalHttpServer final {
public:
    enum class Ending {
        Complete,  // everything, then the connection closes
        Drop,      // `bodyBytesSent` of the body, then the connection is reset
        Stall,     // `bodyBytesSent` of the body, then nothing more, the connection kept open
        Endless,   // the head, then body bytes for as long as the client reads
        Trickle,   // one byte of the body every `trickleMs`
    };

    struct Answer {
        QByteArray status = "200 OK";
        QByteArray body{};
        Ending ending = Ending::Complete;
        qint64 bodyBytesSent = -1;       // for Drop and Stall
        qint64 contentLength = -2;       // -2: the body's size; -1: no Content-Length
        QByteArray headers = {};         // more header lines, each ending in CR LF
        int trickleMs = 0;
    };

    LocalHttpServer()
    {
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] { accept(); });
        m_server.listen(QHostAddress::LocalHost);
    }
    ~LocalHttpServer()
    {
        for (const QPointer<QTcpSocket> &socket : m_sockets) {
            if (socket)
                socket->abort();
        }
    }
    LocalHttpServer(const LocalHttpServer &) = delete;
    LocalHttpServer &operator=(const LocalHttpServer &) = delete;

    void answer(Answer answer) { m_answer = std::move(answer); }
    void answerAt(const QByteArray &path, Answer answer) { m_answers.insert(path, std::move(answer)); }
    [[nodiscard]] QUrl url(const QByteArray &path = "/zipcode/dl/utf/zip/utf_ken_all.zip") const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort()) + QString::fromLatin1(path));
    }
    [[nodiscard]] int connections() const { return m_connections; }
    [[nodiscard]] qint64 bodyBytesWritten() const { return m_bodyBytesWritten; }

private:
    void accept()
    {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            ++m_connections;
            m_sockets.append(socket);
            auto request = std::make_shared<QByteArray>();
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, request] {
                if (request->contains("\r\n\r\n"))
                    return;
                request->append(socket->readAll());
                if (request->contains("\r\n\r\n"))
                    respond(*socket, request->split(' ').value(1));
            });
        }
    }

    void respond(QTcpSocket &socket, const QByteArray &path)
    {
        const Answer &a = m_answers.contains(path) ? m_answers[path] : m_answer;
        QByteArray head = "HTTP/1.1 " + a.status + "\r\nContent-Type: application/zip\r\nConnection: close\r\n"
            + a.headers;
        const qint64 length = a.contentLength == -2 ? a.body.size() : a.contentLength;
        if (length >= 0 && a.ending != Ending::Endless)
            head += "Content-Length: " + QByteArray::number(length) + "\r\n";
        socket.write(head + "\r\n");
        switch (a.ending) {
        case Ending::Complete:
            send(socket, a.body);
            socket.disconnectFromHost();
            break;
        case Ending::Drop:
            send(socket, a.body.left(a.bodyBytesSent));
            QObject::connect(&socket, &QTcpSocket::bytesWritten, &socket, [&socket] {
                if (socket.bytesToWrite() == 0)
                    reset(socket);
            });
            break;
        case Ending::Stall:
            send(socket, a.body.left(a.bodyBytesSent));
            break;
        case Ending::Trickle: {
            auto *timer = new QTimer(&socket);
            QObject::connect(timer, &QTimer::timeout, &socket, [this, &socket, body = a.body, sent = qsizetype(0)]() mutable {
                if (sent < body.size())
                    send(socket, body.mid(sent++, 1));
            });
            timer->start(a.trickleMs);
            break;
        }
        case Ending::Endless: {
            const QByteArray chunk(256 * 1024, 'x');
            send(socket, chunk);
            QObject::connect(&socket, &QTcpSocket::bytesWritten, &socket, [this, &socket, chunk] {
                if (socket.state() == QAbstractSocket::ConnectedState && socket.bytesToWrite() < chunk.size())
                    send(socket, chunk);
            });
            break;
        }
        }
    }

    void send(QTcpSocket &socket, const QByteArray &bytes)
    {
        socket.write(bytes);
        m_bodyBytesWritten += bytes.size();
    }

    // Closing with a zero linger time resets the connection, as a network
    // that breaks does, instead of ending it in order.
    static void reset(QTcpSocket &socket)
    {
#ifdef Q_OS_UNIX
        const linger abrupt{1, 0};
        ::setsockopt(static_cast<int>(socket.socketDescriptor()), SOL_SOCKET, SO_LINGER, &abrupt, sizeof abrupt);
#endif
        socket.abort();
    }

    QTcpServer m_server;
    Answer m_answer;
    QHash<QByteArray, Answer> m_answers;
    QList<QPointer<QTcpSocket>> m_sockets;
    int m_connections = 0;
    qint64 m_bodyBytesWritten = 0;
};

} // namespace torumin::testing
