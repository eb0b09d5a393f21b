#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSslCertificate>
#include <QSslKey>
#include <QTcpServer>

namespace corvane::test {

// A small HTTP server on 127.0.0.1 (and nowhere else) that answers from a table of paths,
// optionally over TLS. Each answer can misbehave the way a broken or hostile server does.
class LoopbackServer : public QTcpServer {
public:
    struct Answer {
        int status = 200;
        QByteArray body;
        QByteArray lastModified = "Sat, 05 Dec 2026 10:00:00 GMT";   // sent as given, also empty
        enum Kind { Whole, Truncated, Stalled, Redirect } kind = Whole;
        QByteArray location;                                          // for Redirect
    };

    bool Start();
    bool StartTls(const QSslCertificate& certificate, const QSslKey& key);
    // "http://127.0.0.1:PORT/files" (or https).
    QString Base() const;

    QHash<QByteArray, Answer> answers;    // by request path, e.g. "/files/Newest.ver"
    QList<QByteArray> requested;

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    void Serve(QTcpSocket* socket);
    bool m_tls = false;
    QSslCertificate m_certificate;
    QSslKey m_key;
};

} // namespace corvane::test
