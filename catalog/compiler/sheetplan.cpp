#include "sheetplan.h"

#include <map>

namespace catalogc {

QString FromSource(const std::string& bytes) {
    // Windows-1252 differs from Latin-1 only in 0x80..0x9F; the five holes stay as they are.
    static const char16_t kHigh[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        text += byte >= 0x80 && byte < 0xA0 ? QChar(kHigh[byte - 0x80]) : QChar(byte);
    }
    return text;
}

QString Thousands(long long value) {
    QString digits = QString::number(value < 0 ? -value : value);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, QLatin1Char(','));
    return value < 0 ? QLatin1Char('-') + digits : digits;
}

namespace {

const QString kDegrees = QStringLiteral("\u00B0F");

QString Temperature(int value) {
    return QString::number(value) + QLatin1Char(' ') + kDegrees;
}

// The supplies a model is sold for, from its product-list rows.
std::vector<SheetFact> Supplies(const std::vector<const ListEntry*>& entries) {
    std::vector<SheetFact> facts;
    for (const ListEntry* entry : entries)
        facts.push_back({QString::number(entry->hertz) + QStringLiteral(" Hz supply"), FromSource(entry->description)});
    return facts;
}

DataSheet UnitSheet(const CatalogueInfo& info, const Series& series, const CondensingUnit& unit,
                    const std::vector<const ListEntry*>& entries) {
    DataSheet sheet;
    sheet.model = FromSource(unit.code);
    const QString second = series.condensingRated ? QStringLiteral("condensing") : QStringLiteral("ambient");
    sheet.facts.push_back({QStringLiteral("Refrigerant"), FromSource(series.refrigerant)});
    for (SheetFact& fact : Supplies(entries))
        sheet.facts.push_back(std::move(fact));
    sheet.facts.push_back({QStringLiteral("Suction temperature (SST)"),
                           Temperature(unit.lowestSst) + QStringLiteral(" to ") + Temperature(unit.highestSst)});
    sheet.facts.push_back({series.condensingRated ? QStringLiteral("Condensing temperature")
                                                  : QStringLiteral("Ambient temperature"),
                           Temperature(unit.lowestAmbient) + QStringLiteral(" to ") + Temperature(unit.highestAmbient)});

    SheetTable& table = sheet.table;
    table.caption = QStringLiteral("Capacity of one unit, Btu/h, at %1 Hz").arg(info.ratedHertz);
    table.corner = QStringLiteral("SST, ") + kDegrees;
    table.columnHeading = (series.condensingRated ? QStringLiteral("Condensing temperature, ")
                                                  : QStringLiteral("Ambient temperature, ")) + kDegrees;
    for (const int ambient : unit.ambients)
        table.columns << QString::number(ambient);
    const std::size_t width = unit.ambients.size();
    for (std::size_t row = 0; row < unit.ssts.size(); ++row) {
        table.rows << QString::number(unit.ssts[row]);
        QStringList cells;
        for (std::size_t column = 0; column < width; ++column)
            cells << Thousands(unit.capacities[row * width + column]);
        table.cells.push_back(cells);
    }
    table.note = QStringLiteral("Saturated suction temperature (SST) against the %1 temperature. The unit is "
                                "offered only inside the ranges above.")
                     .arg(second);
    return sheet;
}

DataSheet CoolerSheet(const CatalogueInfo& info, const Series& series, const UnitCooler& cooler,
                      const std::vector<const ListEntry*>& entries) {
    DataSheet sheet;
    sheet.model = FromSource(cooler.code);
    sheet.facts.push_back({QStringLiteral("Refrigerant"), FromSource(series.refrigerant)});
    for (SheetFact& fact : Supplies(entries))
        sheet.facts.push_back(std::move(fact));
    sheet.facts.push_back({QStringLiteral("Rating at 10 ") + kDegrees + QStringLiteral(" TD"),
                           Thousands(cooler.rating) + QStringLiteral(" Btu/h")});
    sheet.facts.push_back({QStringLiteral("Minimum box temperature"), Temperature(cooler.minimumBox)});
    sheet.facts.push_back({QStringLiteral("Defrost"), FromSource(series.defrost)});

    SheetTable& table = sheet.table;
    table.caption = QStringLiteral("Capacity, Btu/h, at %1 Hz").arg(info.ratedHertz);
    table.corner = QString();
    table.columnHeading = QStringLiteral("TD (box air minus SST), ") + kDegrees;
    QStringList cells;
    for (const int td : info.coolerTds) {
        table.columns << QString::number(td);
        // The capacity is proportional to the TD; rounded half up, in whole Btu/h.
        cells << Thousands((static_cast<long long>(cooler.rating) * td + 5) / 10);
    }
    table.rows << QStringLiteral("Capacity");
    table.cells.push_back(cells);
    table.note = QStringLiteral("Offered for boxes warmer than the minimum box temperature.");
    return sheet;
}

} // namespace

std::vector<CatalogueSection> PlanCatalogue(const Catalogue& catalogue) {
    std::map<std::string, const CondensingUnit*> units;
    for (const CondensingUnit& unit : catalogue.units)
        units.emplace(unit.code, &unit);
    std::map<std::string, const UnitCooler*> coolers;
    for (const UnitCooler& cooler : catalogue.coolers)
        coolers.emplace(cooler.code, &cooler);

    // The rows of each sheet, grouped by series; the reader has made sure that a sheet name
    // stands for one model of one series.
    struct Rows {
        const ListEntry* first;
        std::vector<const ListEntry*> entries;
    };
    std::map<std::string, std::vector<Rows>> bySeries;
    std::map<std::string, std::pair<std::string, std::size_t>> sheetIndex;
    for (const std::vector<ListEntry>* list : {&catalogue.unitList, &catalogue.coolerList})
        for (const ListEntry& entry : *list) {
            std::vector<Rows>& rows = bySeries[entry.series];
            const auto [at, inserted] = sheetIndex.emplace(entry.dataSheet, std::pair{entry.series, rows.size()});
            if (inserted)
                rows.push_back({&entry, {}});
            bySeries[at->second.first][at->second.second].entries.push_back(&entry);
        }

    std::vector<CatalogueSection> sections;
    for (const Series& series : catalogue.info.series) {
        CatalogueSection section;
        section.title = FromSource(series.title) + QStringLiteral(" (series ") + FromSource(series.code) +
                        QLatin1Char(')');
        for (const Rows& rows : bySeries[series.code]) {
            const std::string& code = rows.first->code;
            DataSheet sheet;
            if (series.kind == SeriesKind::Units) {
                if (const auto unit = units.find(code); unit != units.end())
                    sheet = UnitSheet(catalogue.info, series, *unit->second, rows.entries);
            } else if (const auto cooler = coolers.find(code); cooler != coolers.end()) {
                sheet = CoolerSheet(catalogue.info, series, *cooler->second, rows.entries);
            }
            if (sheet.model.isEmpty())
                continue; // the reader refuses such a list; nothing to print
            sheet.fileName = FromSource(rows.first->dataSheet);
            sheet.seriesTitle = section.title;
            section.sheets.push_back(std::move(sheet));
        }
        if (!section.sheets.empty())
            sections.push_back(std::move(section));
    }
    return sections;
}

} // namespace catalogc
