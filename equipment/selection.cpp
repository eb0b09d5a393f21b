#include "equipment/selection.h"

#include "base/numbertext.h"
#include "definitions/state.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace corvane {

namespace {

constexpr int CandidateColumns = 6;
constexpr int NoChoice = -1;
// String-table lines that say why no balance is shown.
constexpr int CondenserShortNote = 26, CoolerShortNote = 27, NoModelNote = 28, LargerModelNote = 29,
              NeverMeetNote = 59;

// A model that can be offered: its capacity and its row of the product list.
using Candidate = CandidateRow;

// What a walk of one series in a product list found.
struct Candidates {
    int matches = 0;
    std::vector<Candidate> adequate;      // grid rows 1..n once sorted
    std::optional<Candidate> undersized;  // grid row 0
};

float FieldNumber(const State& s, int n) { return NumberFromText(GetFieldValue(s, n)); }
QString FieldText(const State& s, int n) { return s.textBoxes[n].text; }

// The series code of field 530 from its second character on tells where the condensing
// temperature comes from: the ambient at the unit, the condensing-temperature field, or the
// code itself as a number.
float CondensingTemperature(const State& s) {
    const QString code = FieldText(s, 530).mid(1);
    const QString upper = code.toUpper();
    if (upper == QLatin1String("-") || upper == QLatin1String("A")) return FieldNumber(s, 500);
    if (upper == QLatin1String("C")) return FieldNumber(s, 525);
    return NumberFromText(code);
}

// Ratings are published for 60 Hz; a series whose second key text ends in "S" runs at 60 Hz.
float FrequencyFactor(const QString& secondKey, float factor60, float factor50) {
    return secondKey.toUpper().endsWith(QLatin1Char('S')) ? factor60 : factor50;
}

// How a row's key orders against the key sought (in capitals), as the key in capitals would:
// an ASCII key is compared letter by letter without making its capitals.
int CompareKey(const QString& key, const QString& wanted) {
    const qsizetype n = std::min(key.size(), wanted.size());
    for (qsizetype i = 0; i < n; ++i) {
        char16_t c = key[i].unicode();
        if (c >= 0x80) {
            const QString upper = key.toUpper();
            return upper < wanted ? -1 : upper == wanted ? 0 : 1;
        }
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - (u'a' - u'A'));
        const char16_t w = wanted[i].unicode();
        if (c != w) return c < w ? -1 : 1;
    }
    return key.size() < wanted.size() ? -1 : key.size() == wanted.size() ? 0 : 1;
}

// Ascending capacity; equal capacities end in the reverse of their list order, which is what
// exchanging rows whenever the later one is not greater produces. No two candidates are
// equal (their rows differ), so every sorting method gives this one order.
bool ComesBefore(const Candidate& a, const Candidate& b) {
    return a.capacity != b.capacity ? a.capacity < b.capacity : a.product > b.product;
}

// A catalogue lists a series by size, so its candidates arrive nearly in order: insertion
// puts them in order in about one pass. A list far from order, which would cost insertion
// many moves, goes to std::sort once the moves exceed a few per candidate.
void SortCandidates(std::vector<Candidate>& rows) {
    const std::size_t n = rows.size();
    std::size_t movesLeft = 4 * n + 64;
    for (std::size_t i = 1; i < n; ++i) {
        const Candidate moving = rows[i];
        std::size_t j = i;
        for (; j > 0 && ComesBefore(moving, rows[j - 1]); --j) {
            if (movesLeft-- == 0) {
                rows[j] = moving;
                std::sort(rows.begin(), rows.end(), ComesBefore);
                return;
            }
            rows[j] = rows[j - 1];
        }
        rows[j] = moving;
    }
}

// Walks the rows of one series. The list is sorted by key, so the walk ends at the first key
// past the one sought. capacityOf gives nothing for a row that cannot be offered.
template <class CapacityOf>
Candidates CollectCandidates(const std::vector<ProductRow>& list, const QString& key, float required,
                             CapacityOf capacityOf) {
    Candidates found;
    const QString wanted = key.toUpper();
    for (std::size_t i = 1; i < list.size(); ++i) {
        const int order = CompareKey(list[i].fields[0], wanted);
        if (order > 0) break;
        if (order != 0) continue;
        ++found.matches;
        const std::optional<float> capacity = capacityOf(list[i]);
        if (!capacity) continue;
        const Candidate c{*capacity, static_cast<int>(i)};
        if (c.capacity >= required)
            found.adequate.push_back(c);
        else if (!found.undersized || c.capacity >= found.undersized->capacity)
            found.undersized = c;
    }
    SortCandidates(found.adequate);
    return found;
}

// Row 1 (the smallest adequate model) unless the best undersized model lies within the
// tolerance and nearer to the requirement; without adequate models, the undersized one
// when it lies within the tolerance.
int ChooseRow(const Candidates& found, float required, float minimum) {
    const bool undersizedQualifies = found.undersized && found.undersized->capacity > minimum;
    if (found.adequate.empty()) return undersizedQualifies ? 0 : NoChoice;
    if (undersizedQualifies &&
        std::fabs(required - found.adequate.front().capacity) > std::fabs(required - found.undersized->capacity))
        return 0;
    return 1;
}

void ClearCandidateGrid(State& s, int number) {
    Grid& grid = s.grids[number];
    grid.Resize(0, CandidateColumns);
    grid.Resize(1, CandidateColumns);
    s.MarkDirty(ControlKind::Grid, number);
}

// The candidate rows are held as numbers; their texts are made when something reads them.
void FillCandidateGrid(State& s, int number, const std::vector<ProductRow>& list, const Candidates& found) {
    std::vector<CandidateRow> rows;
    rows.reserve(1 + found.adequate.size());
    rows.push_back(found.undersized ? *found.undersized : CandidateRow{});   // row 0, empty without one
    rows.insert(rows.end(), found.adequate.begin(), found.adequate.end());
    s.grids[number].WriteCandidates(std::move(rows), CandidateColumns, &list);
    s.MarkDirty(ControlKind::Grid, number);
}

struct ChoiceFields {
    int grid, model, capacity, indicator;
};

void WriteNoChoice(State& s, const ChoiceFields& f) {
    SetFieldValue(s, f.indicator, QString::number(NoChoice));
    SetFieldValue(s, f.model, s.strings[14]);
    SetFieldValue(s, f.capacity, QStringLiteral("0"));
}

void WriteChoice(State& s, const ChoiceFields& f, int row) {
    if (row == NoChoice) {
        WriteNoChoice(s, f);
        return;
    }
    const Grid& grid = s.grids[f.grid];
    const QString model = grid.Text(row, 2);
    const QString capacity = grid.Text(row, 1);
    SetFieldValue(s, f.model, model);
    SetFieldValue(s, f.capacity, capacity);
    SetFieldValue(s, f.indicator, QString::number(row));
}

void LogMissingKey(State& s, const QString& key) {
    s.WriteLog(QStringLiteral("********************** KEY ") + key + QStringLiteral(" NOT FOUND IN PRODUCT LIST"));
}

// The record number that row 1 of a candidate grid points to, when it indexes the array.
template <class T>
const T* ChosenRecord(const State& s, int gridNumber, const std::vector<T>& records) {
    const std::optional<double> number = ReadNumber(s.grids[gridNumber].Text(1, 5));
    if (!number || *number < 1 || *number >= static_cast<double>(records.size())) return nullptr;
    return &records[static_cast<std::size_t>(*number)];
}

float Interpolate(float v, float v0, float v1, float q0, float q1) {
    if (v1 == v0) return q0;
    return (v - v0) * (q1 - q0) / (v1 - v0) + q0;
}

const ChoiceFields CondenserFields{520, 523, 524, 533};
const ChoiceFields CoolerFields{540, 543, 544, 553};

} // namespace

float CoolerCapacity(const State& s, float suction, float difference, float rating) {
    // The rating holds at a temperature difference of 10; k corrects it for the suction temperature.
    const double sst = suction;
    const double k = 0.94857 + 0.0036667 * sst - 0.000052381 * sst * sst;
    return static_cast<float>(std::floor((0.5 + k * difference * rating / 10.0) * s.coolerFrequencyFactor));
}

float CondenserCapacity(const State& s, const CondenserModel& model, float suction, float ambient) {
    const std::vector<CondenserRating>& r = s.condenserRatings;
    const qint64 first = model.firstRating;
    const qint64 last = first + model.extent;
    const qint64 group = model.groupSize;
    if (group <= 0 || first < 1) return 0;
    // Only the model's own records may take part, so damaged data gives no capacity rather
    // than a neighbour's.
    const auto inModel = [&](qint64 j) { return j >= first && j <= last && j < static_cast<qint64>(r.size()); };
    const auto A = [&](qint64 j) { return static_cast<float>(r[static_cast<std::size_t>(j)].suction); };
    const auto B = [&](qint64 j) { return static_cast<float>(r[static_cast<std::size_t>(j)].ambient); };
    const auto Q = [&](qint64 j) { return static_cast<float>(r[static_cast<std::size_t>(j)].capacity); };
    const float S = std::floor(suction + 0.5f);
    const float T = std::floor(ambient + 0.5f);

    // The group of the suction temperature sought, or the first above it. Every model of a
    // series is weighed on every keystroke, so the groups below are passed over in a plain loop.
    const qint64 end = std::min(last, static_cast<qint64>(r.size()) - 1);
    qint64 g = first;
    while (g <= end && !(A(g) >= S))
        g += group;

    float capacity = 0;
    for (; inModel(g); g += group) {
        if (A(g) == S) {
            for (qint64 j = g; j < g + group && inModel(j); ++j) {
                if (B(j) == T) {
                    capacity = Q(j);
                    break;
                }
                if (B(j) > T) {
                    if (j > g) capacity = Interpolate(ambient, B(j - 1), B(j), Q(j - 1), Q(j));
                    break;
                }
            }
            break;
        }
        if (A(g) > S) {
            if (g - group < first) break;   // below the model's lowest suction temperature
            for (qint64 j = g; j < g + group && inModel(j); ++j) {
                const qint64 below = j - group;
                if (B(j) == T) {
                    capacity = Interpolate(suction, A(below), A(j), Q(below), Q(j));
                    break;
                }
                if (B(j) > T) {
                    if (j > g) {
                        const float lower = Interpolate(ambient, B(below - 1), B(below), Q(below - 1), Q(below));
                        const float upper = Interpolate(ambient, B(j - 1), B(j), Q(j - 1), Q(j));
                        capacity = Interpolate(suction, A(below), A(j), lower, upper);
                    }
                    break;
                }
            }
            break;
        }
    }
    return capacity * s.condenserFrequencyFactor;
}

void ResetCoolerCandidates(State& s) { ClearCandidateGrid(s, CoolerFields.grid); }

void SelectCondenser(State& s) {
    s.WriteLog(QStringLiteral(">Condenser()"));
    const float suction = FieldNumber(s, 501) - FieldNumber(s, 502);
    const float ambient = CondensingTemperature(s);
    const float units = FieldNumber(s, 522);
    const QString key = FieldText(s, 530) + FieldText(s, 531);
    s.condenserFrequencyFactor =
        FrequencyFactor(FieldText(s, 531), s.constants.condenser60HzFactor, s.constants.condenser50HzFactor);
    if (!(units > 0)) {   // the input checks report the count; nothing can be sized for it
        ClearCandidateGrid(s, CondenserFields.grid);
        WriteNoChoice(s, CondenserFields);
        return;
    }
    const float required = FieldNumber(s, 503) / units;
    const float minimum = (100 - s.constants.underRange) * required / 100;

    const Candidates found = CollectCandidates(
        s.condenserProducts, key, required, [&](const ProductRow& row) -> std::optional<float> {
            if (row.record <= 0 || row.record >= static_cast<int>(s.condenserModels.size())) return std::nullopt;
            const CondenserModel& m = s.condenserModels[static_cast<std::size_t>(row.record)];
            if (!(suction >= m.minSuction && suction <= m.maxSuction && ambient >= m.minAmbient &&
                  ambient <= m.maxAmbient))
                return std::nullopt;
            return CondenserCapacity(s, m, suction, ambient);
        });
    if (found.matches == 0) LogMissingKey(s, key);
    FillCandidateGrid(s, CondenserFields.grid, s.condenserProducts, found);
    WriteChoice(s, CondenserFields, ChooseRow(found, required, minimum));
}

void SelectCooler(State& s) {
    s.WriteLog(QStringLiteral(">Cooler()"));
    const float condenser = FieldNumber(s, 524);
    const float coolers = FieldNumber(s, 542);
    // Without a condenser (or with no cooler to share it) there is nothing to size; the
    // indicator is cleared too, so that no earlier choice can feed the balance.
    if (condenser == 0 || !(coolers > 0)) {
        ResetCoolerCandidates(s);
        WriteNoChoice(s, CoolerFields);
        return;
    }
    const float box = FieldNumber(s, 501);
    const float difference = FieldNumber(s, 502);
    const float suction = box - difference;
    const float required = condenser * FieldNumber(s, 522) / coolers;
    const float minimum = (100 - s.constants.underRange) * required / 100;
    const QString key = FieldText(s, 550) + FieldText(s, 551);
    s.coolerFrequencyFactor =
        FrequencyFactor(FieldText(s, 551), s.constants.cooler60HzFactor, s.constants.cooler50HzFactor);

    const Candidates found = CollectCandidates(
        s.coolerProducts, key, required, [&](const ProductRow& row) -> std::optional<float> {
            if (row.record <= 0 || row.record >= static_cast<int>(s.coolerRatings.size())) return std::nullopt;
            const CoolerRating& r = s.coolerRatings[static_cast<std::size_t>(row.record)];
            if (!(box > static_cast<float>(r.minBoxTemp))) return std::nullopt;
            return CoolerCapacity(s, suction, difference, static_cast<float>(r.rating));
        });
    s.WriteLog(QStringLiteral("Key ") + key + QStringLiteral(" has ") + QString::number(found.matches) +
               QStringLiteral(" matches"));
    if (found.matches == 0) LogMissingKey(s, key);
    FillCandidateGrid(s, CoolerFields.grid, s.coolerProducts, found);
    WriteChoice(s, CoolerFields, ChooseRow(found, required, minimum));
}

namespace {

// Why a pair has no balance, as one line of the string table; 0 when it has one to compute.
int NoBalanceReason(const State& s) {
    const float condenser = FieldNumber(s, 533), cooler = FieldNumber(s, 553);
    if (condenser == NoChoice || cooler == NoChoice) return NoModelNote;
    if (condenser == 0) return CondenserShortNote;
    if (cooler == 0) return CoolerShortNote;
    if (condenser != 1 || cooler != 1) return LargerModelNote;
    return 0;
}

} // namespace

void CalculateBalance(State& s) {
    s.WriteLog(QStringLiteral(">Balance()"));
    // The balance fields read 0 without a balance; the note beside them says why.
    const auto writeZeros = [&](int note) {
        for (int n : {560, 561, 562}) SetFieldValue(s, n, QStringLiteral("0"));
        s.balanceNote = s.strings[note];
        s.MarkDirty(ControlKind::TextBox, 560);
    };
    s.balanceNote.clear();
    s.MarkDirty(ControlKind::TextBox, 560);
    // Only a pair that the selections chose as adequate has a meaningful balance.
    if (const int note = NoBalanceReason(s)) {
        writeZeros(note);
        return;
    }
    const CondenserModel* model = ChosenRecord(s, CondenserFields.grid, s.condenserModels);
    const CoolerRating* cooler = ChosenRecord(s, CoolerFields.grid, s.coolerRatings);
    if (!model || !cooler) {
        writeZeros(NoModelNote);
        return;
    }
    const float box = FieldNumber(s, 501);
    const float s1 = box - FieldNumber(s, 502);
    // The second point lies 5 degrees below, unless that leaves the model's data.
    const float s2 = s1 - 5 <= model->minSuction ? s1 + 5 : s1 - 5;
    const float ambient = CondensingTemperature(s);
    const double units = FieldNumber(s, 522);
    const double coolers = FieldNumber(s, 542);

    const double q1 = units * CondenserCapacity(s, *model, s1, ambient);
    const double q2 = units * CondenserCapacity(s, *model, s2, ambient);
    const double perDegree = coolers * CoolerCapacity(s, s1, 10, static_cast<float>(cooler->rating)) / 10.0;
    const double p1 = perDegree * std::fabs(box - s1);
    const double p2 = perDegree * (box - s2);

    // Two straight lines of capacity against suction temperature through their two points.
    const double condenserSlope = (q2 - q1) / (s2 - s1);
    const double coolerSlope = (p2 - p1) / (s2 - s1);
    if (condenserSlope == coolerSlope) {   // parallel lines never balance
        writeZeros(NeverMeetNote);
        return;
    }
    const double balanceSuction = s1 + (p1 - q1) / (condenserSlope - coolerSlope);
    const double balanceCapacity = q1 + condenserSlope * (balanceSuction - s1);
    if (!std::isfinite(balanceSuction) || !std::isfinite(balanceCapacity)) {
        writeZeros(NeverMeetNote);
        return;
    }
    s.WriteLog(QStringLiteral("Balance = ") + TextFromDouble(balanceCapacity) + QStringLiteral(" at ") +
               TextFromDouble(balanceSuction));
    SetFieldValue(s, 560, TextFromDouble(std::floor(balanceCapacity + 0.5)));
    SetFieldValue(s, 561, TextFromDouble(balanceSuction));
    SetFieldValue(s, 562, TextFromDouble(std::fabs(box - balanceSuction)));
}

} // namespace corvane
