#pragma once

// What the printed data sheets and the catalogue show, taken from the checked catalogue: the
// capacity tables come straight from the same numbers that go into the rating files.

#include "catalog.h"

#include <QString>
#include <QStringList>

namespace catalogc {

struct SheetFact {
    QString label, value;
};

// A capacity table: one row per row label, one cell per column.
struct SheetTable {
    QString caption;        // above the table
    QString corner;         // heading of the row-label column
    QString columnHeading;  // spans the data columns
    QStringList columns, rows;
    std::vector<QStringList> cells;
    QString note;           // below the table
};

struct DataSheet {
    QString fileName;       // as the product list names it
    QString model, seriesTitle;
    std::vector<SheetFact> facts;
    SheetTable table;
};

struct CatalogueSection {
    QString title;          // the series' title and code
    std::vector<DataSheet> sheets;
};

// Text of the source (Windows-1252) as Unicode.
QString FromSource(const std::string& bytes);

// Whole numbers as the sheets print them: 27,780.
QString Thousands(long long value);

// The sections of the printed catalogue, in the order of series.tsv; each holds the sheets of
// its series in the order of first mention in the product lists. Every data-sheet name of the
// lists is in exactly one section.
std::vector<CatalogueSection> PlanCatalogue(const Catalogue& catalogue);

} // namespace catalogc
