#pragma once

#include "base/record.h"

#include <QByteArray>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QList>
#include <QStringList>

namespace corvane::test {

// Builds the five product-data files in memory (little-endian records, codes padded to 16
// characters, TAB-separated product lists) so that tests and benchmarks need no compiled
// catalogue.
struct CatalogueWriter {
    QByteArray models, ratings, coolers, condenserList, coolerList;
    int ratingCount = 0;

    // One condensing unit: suctions.size() groups of ambients.size() ratings, row by row.
    void AddCondenser(const QString& code, const QList<int>& suctions, const QList<int>& ambients,
                      const QList<int>& capacities) {
        models += Records([&](QDataStream& out) {
            out << qint16(0) << qint32(ratingCount + 1) << qint16(capacities.size() - 1) << qint16(ambients.size());
            PutCode(out, code);
            out << qint16(ambients.front()) << qint16(ambients.back()) << qint16(suctions.front())
                << qint16(suctions.back()) << qint64(0);
        });
        ratings += Records([&](QDataStream& out) {
            for (int i = 0; i < capacities.size(); ++i)
                out << qint16(0) << qint16(suctions[i / ambients.size()]) << qint16(ambients[i % ambients.size()])
                    << qint32(capacities[i]);
        });
        ratingCount += static_cast<int>(capacities.size());
    }

    void AddCooler(const QString& code, int rating, int minBox) {
        coolers += Records([&](QDataStream& out) {
            PutCode(out, code);
            out << qint32(rating) << qint32(minBox);
        });
    }

    static QByteArray Line(const QStringList& fields) { return ToCp1252(fields.join(QLatin1Char('\t'))) + "\r\n"; }

    void Write(const QString& folder) const {
        QDir().mkpath(folder);
        const std::pair<const char*, const QByteArray*> files[] = {
            {"CModels.rec", &models}, {"CRatings.rec", &ratings}, {"ERatings.rec", &coolers},
            {"CProdList.data", &condenserList}, {"EProdList.data", &coolerList}};
        for (const auto& [name, bytes] : files) {
            QFile file(folder + QLatin1Char('/') + QLatin1String(name));
            if (file.open(QIODevice::WriteOnly)) file.write(*bytes);
        }
    }

private:
    template <class Fill>
    static QByteArray Records(Fill fill) {
        QByteArray bytes;
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out.setByteOrder(QDataStream::LittleEndian);
        fill(out);
        return bytes;
    }
    static void PutCode(QDataStream& out, const QString& code) {
        out.writeRawData(ToCp1252(code).leftJustified(16, ' ', true).constData(), 16);
    }
};

} // namespace corvane::test
