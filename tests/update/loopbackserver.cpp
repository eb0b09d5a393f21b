#include "tests/update/loopbackserver.h"

#include <QSslSocket>

namespace corvane::test {

bool LoopbackServer::Start() { return listen(QHostAddress::LocalHost, 0); }

bool LoopbackServer::StartTls(const QSslCertificate& certificate, const QSslKey& key) {
    m_tls = true;
    m_certificate = certificate;
    m_key = key;
    return Start();
}

QString LoopbackServer::Base() const {
    return QStringLiteral("%1://127.0.0.1:%2/files").arg(m_tls ? QStringLiteral("https") : QStringLiteral("http")).arg(serverPort());
}

void LoopbackServer::incomingConnection(qintptr descriptor) {
    QTcpSocket* socket = nullptr;
    if (m_tls) {
        auto* tls = new QSslSocket(this);
        tls->setSocketDescriptor(descriptor);
        tls->setLocalCertificate(m_certificate);
        tls->setPrivateKey(m_key);
        tls->startServerEncryption();
        socket = tls;
    } else {
        socket = new QTcpSocket(this);
        socket->setSocketDescriptor(descriptor);
    }
    auto* request = new QByteArray;
    connect(socket, &QTcpSocket::readyRead, socket, [this, socket, request] {
        *request += socket->readAll();
        if (!request->contains("\r\n\r\n")) return;
        const QList<QByteArray> words = request->left(request->indexOf("\r\n")).split(' ');
        request->clear();
        const QByteArray path = words.value(1);
        requested << path;
        Answer answer;
        if (!answers.contains(path)) {
            answer.status = 404;
            answer.body = "not here";
        } else {
            answer = answers.value(path);
        }
        QByteArray head = "HTTP/1.1 " + QByteArray::number(answer.status) + (answer.status == 200 ? " OK" : " Status") + "\r\n";
        head += "Content-Length: " + QByteArray::number(answer.body.size()) + "\r\n";
        head += "Last-Modified: " + answer.lastModified + "\r\n";
        if (answer.kind == Answer::Redirect) head += "Location: " + answer.location + "\r\n";
        head += "Connection: close\r\n\r\n";
        socket->write(head);
        switch (answer.kind) {
        case Answer::Whole:
        case Answer::Redirect:
            socket->write(answer.body);
            socket->disconnectFromHost();
            break;
        case Answer::Truncated:
            socket->write(answer.body.left(answer.body.size() / 2));
            socket->flush();
            socket->disconnectFromHost();
            break;
        case Answer::Stalled:
            break; // the headers and nothing more, until the client gives up
        }
    });
    connect(socket, &QTcpSocket::disconnected, socket, [socket, request] {
        delete request;
        socket->deleteLater();
    });
}

} // namespace corvane::test
