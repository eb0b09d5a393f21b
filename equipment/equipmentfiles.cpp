#include "equipment/equipmentfiles.h"

#include "definitions/datafiles.h"
#include "base/record.h"
#include "definitions/state.h"

#include <QFile>
#include <QHash>
#include <QtEndian>
#include <algorithm>
#include <limits>

namespace corvane {

namespace {

constexpr int ModelRecordLength = 42;
constexpr int RatingRecordLength = 10;
constexpr int CoolerRecordLength = 24;
constexpr int CodeLength = 16;

// One fixed-length record: little-endian integers and single-byte text at fixed offsets.
class RecordBytes {
public:
    explicit RecordBytes(const char* data) : m_data(data) {}
    qint16 Int16(int offset) const { return qFromLittleEndian<qint16>(m_data + offset); }
    qint32 Int32(int offset) const { return qFromLittleEndian<qint32>(m_data + offset); }
    QString Text(int offset, int length) const { return FromCp1252(QByteArrayView(m_data + offset, length)); }

private:
    const char* m_data;
};

// A file that is a few bytes short of (or past) a whole number of records still counts the
// nearest whole number, so a truncated copy loses at most its damaged last record's tail.
qint64 RecordCount(qint64 bytes, int length) {
    const qint64 count = (2 * bytes + length) / (2 * length);
    return std::min<qint64>(count, std::numeric_limits<int>::max() - 1);
}

// Reads every record of a product-data file into out[1..count]; out[0] stays empty so that
// record numbers index the array directly. The bytes past the end of a short last record
// read as zeros.
template <class T, class Parse>
void ReadRecordFile(State& s, const QString& name, int length, std::vector<T>& out, Parse parse) {
    const QString path = s.productFolder + name;
    s.WriteLog(QStringLiteral(">ReadRecordFile(") + path + QLatin1Char(')'));
    FileExists(s, path, true);
    if (const QString refused = CheckReadable(path, MaxRecordFileBytes); !refused.isEmpty()) {
        s.WriteLog(refused);
        FailResourceFile(s, path);
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) FailResourceFile(s, path);
    const qint64 count = RecordCount(file.size(), length);
    out.clear();
    out.reserve(static_cast<std::size_t>(count) + 1);
    out.emplace_back();
    // Blocks of records keep the number of reads small; the block is bounded, whatever the file size.
    constexpr qint64 BlockRecords = 4096;
    QByteArray block;
    for (qint64 done = 0; done < count;) {
        const qint64 n = std::min(BlockRecords, count - done);
        block.fill('\0', n * length);
        file.read(block.data(), n * length);
        for (qint64 i = 0; i < n; ++i) out.push_back(parse(RecordBytes(block.constData() + i * length)));
        done += n;
    }
    s.WriteLog(name + QStringLiteral(" records = ") + QString::number(count));
}

// The key under which a product list finds its model: the code cut or padded to the record's width.
QString RecordCode(const QString& code) { return code.leftJustified(CodeLength, QLatin1Char(' '), true); }

// The first record that holds each code, as a product list looks it up from record 1 upwards.
template <class T>
QHash<QString, int> FirstRecordOfCode(const std::vector<T>& records) {
    QHash<QString, int> index;
    index.reserve(static_cast<qsizetype>(records.size()));
    // insert() replaces, so walking down from the last record leaves the earliest one.
    for (std::size_t i = records.size(); i-- > 1;) index.insert(records[i].code, static_cast<int>(i));
    return index;
}

void ReadProductList(State& s, const QString& name, std::vector<ProductRow>& out,
                     const QHash<QString, int>& recordOfCode) {
    const QString path = s.productFolder + name;
    s.WriteLog(QStringLiteral(">ReadProductList(") + path + QLatin1Char(')'));
    FileExists(s, path, true);
    LineReader reader(path);
    if (!reader.Open()) {
        s.WriteLog(reader.Refusal());
        FailResourceFile(s, path);
    }
    for (const QString& problem : reader.Problems().Formatted()) s.WriteLog(problem);
    // Candidate lists made from the old list keep what they show.
    for (auto& [n, grid] : s.grids) grid.ReleaseProducts(&out);
    out.clear();
    out.emplace_back();
    while (!reader.AtEnd()) {
        const QString line = reader.ReadLine();
        // A blank line is no product; as a row it would match an empty series key.
        if (line.trimmed().isEmpty()) continue;
        const Record record = Record::Parse(line);
        ProductRow row;
        for (int i = 0; i < 4; ++i) row.fields[i] = record.Field(i + 1);
        row.record = recordOfCode.value(RecordCode(row.fields[2]), 0);
        out.push_back(std::move(row));
    }
    s.WriteLog(name + QStringLiteral(" rows = ") + QString::number(out.size() - 1));
}

} // namespace

void ReadCondenserRatings(State& s) {
    ReadRecordFile(s, QStringLiteral("CRatings.rec"), RatingRecordLength, s.condenserRatings,
                   [](const RecordBytes& r) {
                       CondenserRating rating;
                       rating.suction = r.Int16(2);
                       rating.ambient = r.Int16(4);
                       rating.capacity = r.Int32(6);
                       return rating;
                   });
}

void ReadCondenserModels(State& s) {
    ReadRecordFile(s, QStringLiteral("CModels.rec"), ModelRecordLength, s.condenserModels,
                   [](const RecordBytes& r) {
                       CondenserModel model;
                       model.firstRating = r.Int32(2);
                       model.extent = r.Int16(6);
                       model.groupSize = r.Int16(8);
                       model.code = r.Text(10, CodeLength);
                       model.minAmbient = r.Int16(26);
                       model.maxAmbient = r.Int16(28);
                       model.minSuction = r.Int16(30);
                       model.maxSuction = r.Int16(32);
                       return model;
                   });
}

void ReadCondenserProducts(State& s) {
    ReadProductList(s, QStringLiteral("CProdList.data"), s.condenserProducts, FirstRecordOfCode(s.condenserModels));
}

void ReadCoolerRatings(State& s) {
    ReadRecordFile(s, QStringLiteral("ERatings.rec"), CoolerRecordLength, s.coolerRatings,
                   [](const RecordBytes& r) {
                       CoolerRating rating;
                       rating.code = r.Text(0, CodeLength);
                       rating.rating = r.Int32(16);
                       rating.minBoxTemp = r.Int32(20);
                       return rating;
                   });
}

void ReadCoolerProducts(State& s) {
    ReadProductList(s, QStringLiteral("EProdList.data"), s.coolerProducts, FirstRecordOfCode(s.coolerRatings));
}

void ReadEquipmentFiles(State& s) {
    ReadCondenserRatings(s);
    ReadCondenserModels(s);
    ReadCondenserProducts(s);
    ReadCoolerRatings(s);
    ReadCoolerProducts(s);
}

} // namespace corvane
