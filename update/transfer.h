#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <functional>

class QNetworkAccessManager;

namespace corvane {

// Why the program will not fetch from an address, empty when it will: https anywhere, plain
// http only from this computer itself (a local mirror, the tests).
QString AddressProblem(const QUrl& url);

struct FetchOptions {
    qint64 limit = 0;                 // the most bytes the body may have
    int stallTimeoutMs = 30000;       // no byte for this long ends the transfer
    std::function<bool()> cancelled;  // polled while waiting
    std::function<void(qint64 received)> progress;
    bool allowUserInput = false;      // only while a progress bar with Cancel is up
};

struct FetchResult {
    enum class Outcome { Ok, Refused, NetworkError, HttpError, TooLarge, TimedOut, Cancelled };
    Outcome outcome = Outcome::NetworkError;
    int httpStatus = 0;
    QString lastModified;
    QByteArray body;
    QString error;                    // what went wrong, in words, for the log
    bool Ok() const { return outcome == Outcome::Ok; }
};

// Fetches one address as bytes, waiting for the body while the program's events run.
// Redirects are followed only to https addresses; a body over the limit is cut off.
FetchResult Fetch(QNetworkAccessManager& manager, const QUrl& url, const FetchOptions& options);

} // namespace corvane
