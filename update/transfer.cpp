#include "update/transfer.h"

#include <QEventLoop>
#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QTimer>

#include <optional>
#include <utility>

namespace corvane {

namespace {

bool IsLoopbackHost(const QString& host) {
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0) return true;
    const QHostAddress address(host);
    return !address.isNull() && address.isLoopback();
}

constexpr int MaxRedirects = 5;
constexpr int CancelPollMs = 50;

} // namespace

QString AddressProblem(const QUrl& url) {
    if (!url.isValid() || url.host().isEmpty()) return QStringLiteral("'%1' is not a web address").arg(url.toString());
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("https")) return QString();
    if (scheme == QLatin1String("http") && IsLoopbackHost(url.host())) return QString();
    return QStringLiteral("'%1' is not a secure (https) address").arg(url.toString());
}

FetchResult Fetch(QNetworkAccessManager& manager, const QUrl& url, const FetchOptions& options) {
    FetchResult result;
    const QString problem = AddressProblem(url);
    if (!problem.isEmpty()) {
        result.outcome = FetchResult::Outcome::Refused;
        result.error = problem;
        return result;
    }
    // A loopback address never goes through a proxy; other addresses use the system's.
    manager.setProxy(IsLoopbackHost(url.host()) ? QNetworkProxy(QNetworkProxy::NoProxy)
                                                : QNetworkProxy(QNetworkProxy::DefaultProxy));
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::UserVerifiedRedirectPolicy);
    request.setMaximumRedirectsAllowed(MaxRedirects);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);

    QPointer<QNetworkReply> reply = manager.get(request);
    QEventLoop loop;
    QTimer stall;
    stall.setSingleShot(true);
    stall.setInterval(options.stallTimeoutMs);
    QTimer poll;
    poll.setInterval(CancelPollMs);
    // The first reason this side ends the transfer is the one reported.
    std::optional<std::pair<FetchResult::Outcome, QString>> stopped;
    auto end = [&](FetchResult::Outcome outcome, const QString& why) {
        if (!stopped) stopped.emplace(outcome, why);
        if (reply) reply->abort();
    };
    bool ended = false;
    QObject::connect(reply, &QNetworkReply::redirected, &loop, [&](const QUrl& target) {
        if (target.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0)
            Q_EMIT reply->redirectAllowed();
        else
            end(FetchResult::Outcome::Refused,
                QStringLiteral("redirected to '%1', which is not a secure (https) address").arg(target.toString()));
    });
    QObject::connect(reply, &QNetworkReply::metaDataChanged, &loop, [&] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > options.limit)
            end(FetchResult::Outcome::TooLarge, QStringLiteral("the server announces %1 bytes, more than the %2 expected")
                                                    .arg(length.toLongLong())
                                                    .arg(options.limit));
    });
    QObject::connect(reply, &QNetworkReply::readyRead, &loop, [&] {
        stall.start();
        const QByteArray chunk = reply->readAll();
        if (result.body.size() + chunk.size() > options.limit) {
            end(FetchResult::Outcome::TooLarge,
                QStringLiteral("the server sent more than the %1 bytes expected").arg(options.limit));
            return;
        }
        result.body += chunk;
        if (options.progress) options.progress(result.body.size());
    });
    QObject::connect(reply, &QNetworkReply::uploadProgress, &loop, [&] { stall.start(); });
    QObject::connect(reply, &QNetworkReply::finished, &loop, [&] {
        ended = true;
        loop.quit();
    });
    QObject::connect(&stall, &QTimer::timeout, &loop, [&] {
        end(FetchResult::Outcome::TimedOut,
            QStringLiteral("no answer for %1 seconds").arg(options.stallTimeoutMs / 1000.0));
    });
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (options.cancelled && options.cancelled()) end(FetchResult::Outcome::Cancelled, QStringLiteral("cancelled"));
    });
    stall.start();
    if (options.cancelled) poll.start();
    if (!ended) loop.exec(options.allowUserInput ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    stall.stop();
    poll.stop();

    if (!reply) return result;
    result.httpStatus = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    result.lastModified = QString::fromLatin1(reply->rawHeader("Last-Modified")).trimmed();
    if (stopped) {
        result.outcome = stopped->first;
        result.error = stopped->second;
        result.body.clear();
    } else if (reply->error() != QNetworkReply::NoError) {
        result.outcome = result.httpStatus >= 400 ? FetchResult::Outcome::HttpError : FetchResult::Outcome::NetworkError;
        result.error = reply->errorString();
        result.body.clear();
    } else {
        const QByteArray rest = reply->readAll();
        if (result.body.size() + rest.size() > options.limit) {
            result.outcome = FetchResult::Outcome::TooLarge;
            result.error = QStringLiteral("the server sent more than the %1 bytes expected").arg(options.limit);
            result.body.clear();
        } else {
            result.body += rest;
            result.outcome = FetchResult::Outcome::Ok;
        }
    }
    reply->deleteLater();
    return result;
}

} // namespace corvane
