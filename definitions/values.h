#pragma once

#include <QString>

namespace corvane {

class State;
struct Grid;

// Unit-table rows of the categories the unit switches act on.
namespace UnitRow {
constexpr int Short = 1, Long = 2, Area = 3, Volume = 4, Weight = 5, Temperature = 6, TempDifference = 7,
              Flow = 8, LoadH = 9, Power = 10;
}

// Columns of the unit table read from the language file, and its row count.
namespace UnitColumn {
constexpr int Name = 1, Imperial = 2, Metric = 3, Conversion = 4;
constexpr int Rows = 21;
} // namespace UnitColumn

// How a category converts: metric = imperial x factor, or Fahrenheit to Celsius.
struct Conversion {
    bool valid = false;
    bool ftoc = false;
    double factor = 1;

    double ToMetric(double v) const { return ftoc ? (v - 32.0) / 1.8 : v * factor; }
    double ToImperial(double v) const { return ftoc ? v * 1.8 + 32.0 : v / factor; }
};

Conversion ConversionOfRow(const State& s, int row);
QString ImperialName(const State& s, int row);
QString MetricName(const State& s, int row);
// The unit category a grid row names (its hidden per-row category), empty when none.
QString CategoryOfGridRow(const Grid& g, int r);

// Row of a category name in the unit table (case-insensitive, first match), -1 when absent.
int CategoryRow(const State& s, const QString& category);
// Row of field n's category, -1 for NONE, an unknown name or a field without a unit label.
int FieldCategoryRow(const State& s, int n);
// Imperial (metric false) or metric unit name of a category; the name itself when absent.
QString UnitName(const State& s, const QString& category, bool metric);
// The caption a unit label or a grid unit cell gets when the language file names its
// category: empty for NONE, otherwise the imperial name, except that field 401 shows the
// metric name when that begins with "W" (its power is entered in watts in both systems).
// Pass n = -1 for a grid row.
QString InitialUnitName(const State& s, int n, const QString& category);

// Display rule: the shown text of field n from its stored value.
QString DisplayText(const State& s, int n);
// Entry rule: the stored value of field n from its shown text.
void ApplyEntryRule(State& s, int n);

// Grid cell reader and writer: cells hold shown texts; these convert to and from stored
// (imperial) values by the row's category and the unit its unit cell names.
QString ReadGridCell(const State& s, int g, int r, int c);
void WriteGridCell(State& s, int g, int r, int c, const QString& storedValue);

} // namespace corvane
