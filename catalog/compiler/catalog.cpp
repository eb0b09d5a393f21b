#include "catalog.h"

#include <cctype>
#include <charconv>
#include <fstream>
#include <limits>
#include <map>
#include <ostream>
#include <set>

namespace catalogc {

void Diagnostics::Report(const std::string& file, int line, const std::string& message) {
    m_out << file << ':' << line << ": " << message << '\n';
    ++m_count;
}

namespace {

struct SourceLine {
    int number = 0;
    std::vector<std::string> fields;
};

// One source file: its name for messages and its meaningful lines.
struct SourceFile {
    std::string name;
    std::vector<SourceLine> lines;
    bool readable = false;
};

std::vector<std::string> SplitFields(const std::string& text) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = text.find('\t', start);
        fields.push_back(text.substr(start, tab - start));
        if (tab == std::string::npos)
            return fields;
        start = tab + 1;
    }
}

bool IsBlank(const std::string& text) {
    return text.find_first_not_of(" \t") == std::string::npos;
}

// Blank lines and lines starting with '#' are for people; both CRLF and LF line ends are accepted.
SourceFile ReadSourceFile(const std::filesystem::path& path, Diagnostics& diagnostics) {
    SourceFile file;
    file.name = path.string();
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        diagnostics.Report(file.name, 0, "the file cannot be opened");
        return file;
    }
    file.readable = true;
    std::string text;
    int number = 0;
    while (std::getline(in, text)) {
        ++number;
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        if (IsBlank(text) || text.front() == '#')
            continue;
        file.lines.push_back({number, SplitFields(text)});
    }
    return file;
}

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Reads a whole number within [lowest, highest]; returns an empty text or the complaint.
std::string ParseWhole(const std::string& field, const char* what, long long lowest, long long highest,
                       long long& value) {
    const std::string text = Trimmed(field);
    if (text.empty())
        return std::string(what) + " is missing";
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error == std::errc::result_out_of_range)
        return std::string(what) + " '" + text + "' is out of range";
    if (error != std::errc() || stop != end)
        return std::string(what) + " '" + text + "' is not a whole number";
    if (value < lowest || value > highest)
        return std::string(what) + " " + text + " is outside " + std::to_string(lowest) + " to " +
               std::to_string(highest);
    return {};
}

std::string Counted(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + ' ' + (count == 1 ? one : many);
}

constexpr long long kTemperatureLow = std::numeric_limits<std::int16_t>::min();
constexpr long long kTemperatureHigh = std::numeric_limits<std::int16_t>::max();
constexpr long long kCapacityHigh = std::numeric_limits<std::int32_t>::max();

// A code must survive space padding to 16 bytes unchanged and stay distinguishable from others.
std::string CheckCode(const std::string& code) {
    if (code.empty())
        return "the model code is empty";
    if (code.size() > kCodeLength)
        return "model code '" + code + "' has " + std::to_string(code.size()) + " characters; at most " +
               std::to_string(kCodeLength) + " fit";
    if (code.front() == ' ' || code.back() == ' ')
        return "model code '" + code + "' starts or ends with a space";
    for (const char c : code)
        if (static_cast<unsigned char>(c) < 32)
            return "model code '" + code + "' contains a control character";
    return {};
}

class LineReporter {
public:
    LineReporter(const SourceFile& file, const SourceLine& line, Diagnostics& diagnostics)
        : m_file(file), m_line(line), m_diagnostics(diagnostics) {}
    bool operator()(const std::string& message) const {
        if (message.empty())
            return true;
        m_diagnostics.Report(m_file.name, m_line.number, message);
        return false;
    }

private:
    const SourceFile& m_file;
    const SourceLine& m_line;
    Diagnostics& m_diagnostics;
};

// Parses the condensing-unit blocks: MODEL, then one AMBIENT line, then SST lines.
class UnitReader {
public:
    UnitReader(const SourceFile& file, Diagnostics& diagnostics) : m_file(file), m_diagnostics(diagnostics) {}

    std::vector<CondensingUnit> Read() {
        for (const SourceLine& line : m_file.lines) {
            const LineReporter report(m_file, line, m_diagnostics);
            const std::string& kind = line.fields.front();
            if (kind == "MODEL")
                ReadModel(line, report);
            else if (kind == "AMBIENT")
                ReadAmbients(line, report);
            else if (kind == "SST")
                ReadSst(line, report);
            else
                report("unknown line kind '" + kind + "'; expected MODEL, AMBIENT or SST");
        }
        FinishModel();
        return std::move(m_units);
    }

private:
    void ReadModel(const SourceLine& line, const LineReporter& report) {
        FinishModel();
        m_current = CondensingUnit{};
        m_current.line = line.number;
        m_hasModel = true;
        m_modelValid = false;
        m_headerRead = line.fields.size() == 6;
        if (!m_headerRead) {
            report("a MODEL line needs 6 fields (MODEL, code, lowest and highest SST, lowest and highest "
                   "ambient), found " + std::to_string(line.fields.size()));
            return;
        }
        m_current.code = line.fields[1];
        bool ok = report(CheckCode(m_current.code));
        if (ok) {
            const auto [previous, inserted] = m_codes.emplace(m_current.code, line.number);
            if (!inserted)
                ok = report("model code '" + m_current.code + "' is already used on line " +
                            std::to_string(previous->second));
        }
        const char* names[] = {"lowest SST", "highest SST", "lowest ambient", "highest ambient"};
        int* targets[] = {&m_current.lowestSst, &m_current.highestSst, &m_current.lowestAmbient,
                          &m_current.highestAmbient};
        for (std::size_t i = 0; i < 4; ++i) {
            long long value = 0;
            if (report(ParseWhole(line.fields[2 + i], names[i], kTemperatureLow, kTemperatureHigh, value)))
                *targets[i] = static_cast<int>(value);
            else
                ok = false;
        }
        m_modelValid = ok;
    }

    bool InModel(const LineReporter& report, const char* kind) {
        if (m_hasModel)
            return true;
        report(std::string("an ") + kind + " line must follow a MODEL line");
        return false;
    }

    void ReadAmbients(const SourceLine& line, const LineReporter& report) {
        if (!InModel(report, "AMBIENT"))
            return;
        if (m_hasAmbients || !m_current.ssts.empty()) {
            m_modelValid = report("model " + m_current.code + " already has its AMBIENT line; it must "
                                  "come once, before the SST lines");
            return;
        }
        m_hasAmbients = true;
        if (line.fields.size() < 2) {
            m_modelValid = report("the AMBIENT line lists no ambient temperature");
            return;
        }
        for (std::size_t i = 1; i < line.fields.size(); ++i) {
            long long value = 0;
            if (!report(ParseWhole(line.fields[i], "ambient", kTemperatureLow, kTemperatureHigh, value))) {
                m_modelValid = false;
                continue;
            }
            if (!m_current.ambients.empty() && value <= m_current.ambients.back())
                m_modelValid = report("ambient " + std::to_string(value) + " does not ascend (it follows " +
                                      std::to_string(m_current.ambients.back()) + ")");
            m_current.ambients.push_back(static_cast<int>(value));
        }
    }

    void ReadSst(const SourceLine& line, const LineReporter& report) {
        if (!InModel(report, "SST"))
            return;
        if (!m_hasAmbients) {
            m_modelValid = report("an SST line must follow the model's AMBIENT line");
            return;
        }
        long long sst = 0;
        if (line.fields.size() < 2 ||
            !report(ParseWhole(line.fields[1], "SST", kTemperatureLow, kTemperatureHigh, sst))) {
            if (line.fields.size() < 2)
                report("the SST line gives no suction temperature");
            m_modelValid = false;
            return;
        }
        if (!m_current.ssts.empty() && sst <= m_current.ssts.back())
            m_modelValid = report("SST " + std::to_string(sst) + " does not ascend (it follows " +
                                  std::to_string(m_current.ssts.back()) + ")");
        m_current.ssts.push_back(static_cast<int>(sst));
        const std::size_t count = line.fields.size() - 2;
        if (count != m_current.ambients.size()) {
            m_modelValid = report("SST " + std::to_string(sst) + " has " + Counted(count, "capacity", "capacities") +
                                  " for " + Counted(m_current.ambients.size(), "ambient", "ambients") +
                                  "; every SST needs one capacity per ambient");
            return;
        }
        for (std::size_t i = 0; i < count; ++i) {
            long long capacity = 0;
            if (!report(ParseWhole(line.fields[2 + i], "capacity", 1, kCapacityHigh, capacity)))
                m_modelValid = false;
            m_current.capacities.push_back(static_cast<std::int32_t>(capacity));
        }
    }

    // The model record's temperature ranges must describe its grid exactly: the selection offers
    // a model only inside them and then interpolates between grid points that must exist.
    void FinishModel() {
        if (!m_hasModel)
            return;
        const CondensingUnit& unit = m_current;
        const auto report = [&](const std::string& message) {
            m_diagnostics.Report(m_file.name, unit.line, "model " + unit.code + ": " + message);
            m_modelValid = false;
        };
        if (!m_headerRead)
            m_modelValid = false; // already reported; a guess at the rest would only add noise
        else if (!m_hasAmbients)
            report("the AMBIENT line is missing");
        else if (unit.ssts.empty())
            report("it has no SST lines");
        else if (m_modelValid) {
            const auto check = [&](const char* what, int declared, int actual) {
                if (declared != actual)
                    report(std::string(what) + " " + std::to_string(declared) + " does not match the grid (" +
                           std::to_string(actual) + ")");
            };
            check("lowest SST", unit.lowestSst, unit.ssts.front());
            check("highest SST", unit.highestSst, unit.ssts.back());
            check("lowest ambient", unit.lowestAmbient, unit.ambients.front());
            check("highest ambient", unit.highestAmbient, unit.ambients.back());
            if (unit.capacities.size() - 1 > static_cast<std::size_t>(kTemperatureHigh))
                report("its " + std::to_string(unit.capacities.size()) + " ratings exceed the " +
                       std::to_string(kTemperatureHigh + 1) + " a model can hold");
        }
        if (m_modelValid)
            m_units.push_back(std::move(m_current));
        m_hasModel = m_hasAmbients = false;
    }

    const SourceFile& m_file;
    Diagnostics& m_diagnostics;
    std::vector<CondensingUnit> m_units;
    std::map<std::string, int> m_codes;
    CondensingUnit m_current;
    bool m_hasModel = false, m_hasAmbients = false, m_modelValid = false, m_headerRead = false;
};

std::vector<UnitCooler> ReadCoolers(const SourceFile& file, Diagnostics& diagnostics) {
    std::vector<UnitCooler> coolers;
    std::map<std::string, int> codes;
    for (const SourceLine& line : file.lines) {
        const LineReporter report(file, line, diagnostics);
        // Fields after the third describe the cooler for people and are not compiled.
        if (line.fields.size() < 3) {
            report("a cooler line needs at least 3 fields (code, rating, minimum box temperature), found " +
                   std::to_string(line.fields.size()));
            continue;
        }
        UnitCooler cooler{line.fields[0], line.number};
        bool ok = report(CheckCode(cooler.code));
        if (ok) {
            const auto [previous, inserted] = codes.emplace(cooler.code, line.number);
            if (!inserted)
                ok = report("model code '" + cooler.code + "' is already used on line " +
                            std::to_string(previous->second));
        }
        long long rating = 0, minimum = 0;
        ok = report(ParseWhole(line.fields[1], "rating", 1, kCapacityHigh, rating)) && ok;
        ok = report(ParseWhole(line.fields[2], "minimum box temperature", std::numeric_limits<std::int32_t>::min(),
                               kCapacityHigh, minimum)) &&
             ok;
        cooler.rating = static_cast<std::int32_t>(rating);
        cooler.minimumBox = static_cast<std::int32_t>(minimum);
        if (ok)
            coolers.push_back(cooler);
    }
    return coolers;
}

// The catalogue's own lines (TITLE, EDITION, RATED, TD) and its series (UNITS, COOLERS).
CatalogueInfo ReadSeries(const SourceFile& file, Diagnostics& diagnostics) {
    CatalogueInfo info;
    std::map<std::string, int> seen, codes;
    for (const SourceLine& line : file.lines) {
        const LineReporter report(file, line, diagnostics);
        const std::string& kind = line.fields.front();
        const bool isSeries = kind == "UNITS" || kind == "COOLERS";
        if (!isSeries && kind != "TITLE" && kind != "EDITION" && kind != "RATED" && kind != "TD") {
            report("unknown line kind '" + kind + "'; expected TITLE, EDITION, RATED, TD, UNITS or COOLERS");
            continue;
        }
        if (!isSeries) {
            if (const auto [previous, inserted] = seen.emplace(kind, line.number); !inserted) {
                report("the " + kind + " line is already given on line " + std::to_string(previous->second));
                continue;
            }
        }
        if (kind == "TITLE" || kind == "EDITION") {
            if (line.fields.size() != 2 || Trimmed(line.fields[1]).empty()) {
                report("a " + kind + " line needs its text in the second field");
                continue;
            }
            (kind == "TITLE" ? info.title : info.edition) = Trimmed(line.fields[1]);
        } else if (kind == "RATED") {
            long long hertz = 0;
            if (line.fields.size() != 2)
                report("a RATED line needs 2 fields (RATED, the supply frequency of the ratings in Hz)");
            else if (report(ParseWhole(line.fields[1], "supply frequency", 1, 1000, hertz)))
                info.ratedHertz = static_cast<int>(hertz);
        } else if (kind == "TD") {
            if (line.fields.size() < 2) {
                report("the TD line lists no temperature difference");
                continue;
            }
            for (std::size_t i = 1; i < line.fields.size(); ++i) {
                long long td = 0;
                if (!report(ParseWhole(line.fields[i], "TD", 1, 100, td)))
                    continue;
                if (!info.coolerTds.empty() && td <= info.coolerTds.back())
                    report("TD " + std::to_string(td) + " does not ascend (it follows " +
                           std::to_string(info.coolerTds.back()) + ")");
                else
                    info.coolerTds.push_back(static_cast<int>(td));
            }
        } else {
            const bool units = kind == "UNITS";
            if (line.fields.size() != 5) {
                report(std::string("a ") + kind + " line needs 5 fields (" + kind + ", series code, title, refrigerant, " +
                       (units ? "AMBIENT or CONDENSING" : "defrost type") + "), found " +
                       std::to_string(line.fields.size()));
                continue;
            }
            Series series{units ? SeriesKind::Units : SeriesKind::Coolers, line.fields[1], Trimmed(line.fields[2]),
                          Trimmed(line.fields[3]), false, {}, line.number};
            bool ok = true;
            if (Trimmed(series.code).empty() || Trimmed(series.code) != series.code)
                ok = report("series code '" + series.code + "' is empty or starts or ends with a space");
            else if (const auto [previous, inserted] = codes.emplace(series.code, line.number); !inserted)
                ok = report("series " + series.code + " is already described on line " +
                            std::to_string(previous->second));
            if (series.title.empty())
                ok = report("series " + series.code + " has no title");
            if (series.refrigerant.empty())
                ok = report("series " + series.code + " names no refrigerant");
            const std::string last = Trimmed(line.fields[4]);
            if (units) {
                series.condensingRated = last == "CONDENSING";
                if (last != "AMBIENT" && last != "CONDENSING")
                    ok = report("series " + series.code + ": the last field must say AMBIENT or CONDENSING, not '" +
                                last + "'");
            } else if (last.empty()) {
                ok = report("series " + series.code + " names no defrost type");
            } else {
                series.defrost = last;
            }
            if (ok)
                info.series.push_back(std::move(series));
        }
    }
    if (file.readable)
        for (const char* required : {"TITLE", "EDITION", "RATED", "TD"})
            if (!seen.contains(required))
                diagnostics.Report(file.name, 0, std::string("the ") + required + " line is missing");
    return info;
}

// A data-sheet name becomes a file in the program's sheet folder, so it must stay there.
std::string CheckSheetName(const std::string& name) {
    if (Trimmed(name).empty())
        return "the data-sheet file name is empty";
    if (Trimmed(name) != name)
        return "data-sheet file '" + name + "' starts or ends with a space";
    if (name.find_first_of("/\\:") != std::string::npos || name.find("..") != std::string::npos)
        return "data-sheet file '" + name + "' must be a plain file name, without a folder, a drive or '..'";
    for (const char c : name)
        if (static_cast<unsigned char>(c) < 32)
            return "data-sheet file '" + name + "' contains a control character";
    std::string ending = name.size() > 4 ? name.substr(name.size() - 4) : std::string();
    for (char& c : ending)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ending != ".pdf")
        return "data-sheet file '" + name + "' must end in .pdf";
    return {};
}

// The key is the series code, '-' and a frequency code such as 50 or 60S. The program takes its
// 60 Hz factor for keys that end in S, so a sheet that printed another supply would disagree.
bool SplitKey(ListEntry& entry, const std::set<std::string>& series, const LineReporter& report) {
    const std::size_t dash = entry.key.rfind('-');
    if (dash == std::string::npos || dash == 0)
        return report("series key " + entry.key + " needs the form SERIES-FREQUENCY, for example MA-60S");
    entry.series = entry.key.substr(0, dash);
    if (!series.contains(entry.series))
        return report("series " + entry.series + " of key " + entry.key + " is not described in " + kSeriesFile);
    const std::string frequency = entry.key.substr(dash + 1);
    std::size_t digits = 0;
    while (digits < frequency.size() && digits < 4 && std::isdigit(static_cast<unsigned char>(frequency[digits])))
        ++digits;
    if (digits == 0 || digits == 4)
        return report("series key " + entry.key + " gives no supply frequency after its '-'");
    entry.hertz = std::stoi(frequency.substr(0, digits));
    const bool sixty = std::toupper(static_cast<unsigned char>(entry.key.back())) == 'S';
    if ((entry.hertz == 60) != sixty)
        return report("series key " + entry.key + " names " + std::to_string(entry.hertz) +
                      " Hz, but the program takes its 60 Hz factor exactly for keys that end in S");
    return true;
}

// The selection walks a list from its start and stops at the first key greater than the one it
// wants, so the keys must ascend in byte order, and each code must name a model of `codes`.
std::vector<ListEntry> ReadList(const SourceFile& file, const std::set<std::string>& codes,
                                const std::string& modelFile, const std::set<std::string>& series,
                                Diagnostics& diagnostics) {
    std::vector<ListEntry> entries;
    std::string previousKey;
    int previousLine = 0;
    for (const SourceLine& line : file.lines) {
        const LineReporter report(file, line, diagnostics);
        if (line.fields.size() != 4) {
            report("a list line needs 4 fields (series key, description, model code, data sheet), found " +
                   std::to_string(line.fields.size()));
            continue;
        }
        ListEntry entry{line.fields[0], line.fields[1], line.fields[2], line.fields[3], line.number, {}, 0};
        bool ok = true;
        // The program reads 255 characters after each tab, and the tab that ends a field must
        // be among them: a longer field would swallow the fields after it.
        static const char* const names[] = {"series key", "description", "model code", "data-sheet file name"};
        for (std::size_t i = 1; i < line.fields.size(); ++i)
            if (line.fields[i].size() > kMaxListField)
                ok = report(std::string("the ") + names[i] + " has " + std::to_string(line.fields[i].size()) +
                            " characters; at most " + std::to_string(kMaxListField) + " are read");
        if (Trimmed(entry.key).empty())
            ok = report("the series key is empty");
        else if (Trimmed(entry.key) != entry.key) // the selection compares keys exactly
            ok = report("series key '" + entry.key + "' starts or ends with a space");
        else if (entry.key < previousKey)
            ok = report("series key " + entry.key + " sorts before " + previousKey + " on line " +
                        std::to_string(previousLine) + "; the list must ascend by key");
        if (!report(CheckCode(entry.code)))
            ok = false;
        else if (!codes.contains(entry.code))
            ok = report("model code '" + entry.code + "' is not in " + modelFile);
        if (Trimmed(entry.description).empty())
            ok = report("the description is empty");
        if (!report(CheckSheetName(entry.dataSheet)))
            ok = false;
        if (ok && !SplitKey(entry, series, report))
            ok = false;
        if (!Trimmed(entry.key).empty() && entry.key >= previousKey) {
            previousKey = entry.key;
            previousLine = entry.line;
        }
        if (ok)
            entries.push_back(std::move(entry));
    }
    return entries;
}

// One sheet describes one model of one series. Names are compared without letter case, since
// two names that differ only in case are one file on some systems.
void CheckSheetsAgree(const Catalogue& catalogue, const std::string& unitListName,
                      const std::string& coolerListName, Diagnostics& diagnostics) {
    struct Use {
        const ListEntry* entry;
        const std::string* file;
    };
    std::map<std::string, Use> uses;
    for (const auto& [list, file] : {std::pair{&catalogue.unitList, &unitListName},
                                     std::pair{&catalogue.coolerList, &coolerListName}})
        for (const ListEntry& entry : *list) {
            std::string folded = entry.dataSheet;
            for (char& c : folded)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            const auto [previous, inserted] = uses.emplace(folded, Use{&entry, file});
            if (inserted)
                continue;
            const ListEntry& first = *previous->second.entry;
            if (first.code != entry.code || first.series != entry.series || previous->second.file != file)
                diagnostics.Report(*file, entry.line,
                                   "data-sheet file '" + entry.dataSheet + "' is already the sheet of model " +
                                       first.code + " in series " + first.series + " (" + *previous->second.file +
                                       ":" + std::to_string(first.line) + "); one sheet describes one model");
        }
}

} // namespace

Catalogue ReadCatalogue(const std::filesystem::path& sourceDir, Diagnostics& diagnostics) {
    Catalogue catalogue;
    const SourceFile unitFile = ReadSourceFile(sourceDir / kUnitFile, diagnostics);
    const SourceFile coolerFile = ReadSourceFile(sourceDir / kCoolerFile, diagnostics);
    const SourceFile unitListFile = ReadSourceFile(sourceDir / kUnitListFile, diagnostics);
    const SourceFile coolerListFile = ReadSourceFile(sourceDir / kCoolerListFile, diagnostics);
    const SourceFile seriesFile = ReadSourceFile(sourceDir / kSeriesFile, diagnostics);
    catalogue.info = ReadSeries(seriesFile, diagnostics);

    catalogue.units = UnitReader(unitFile, diagnostics).Read();
    catalogue.coolers = ReadCoolers(coolerFile, diagnostics);
    if (unitFile.readable && catalogue.units.empty() && diagnostics.Count() == 0)
        diagnostics.Report(unitFile.name, 0, "the file describes no condensing unit");
    if (coolerFile.readable && catalogue.coolers.empty() && diagnostics.Count() == 0)
        diagnostics.Report(coolerFile.name, 0, "the file describes no unit cooler");

    // A code rejected in its own file is already reported; count it as present so that the lists
    // do not repeat the complaint.
    std::set<std::string> unitCodes, coolerCodes;
    for (const SourceLine& line : unitFile.lines)
        if (line.fields.front() == "MODEL" && line.fields.size() > 1)
            unitCodes.insert(line.fields[1]);
    for (const SourceLine& line : coolerFile.lines)
        coolerCodes.insert(line.fields.front());
    std::set<std::string> unitSeries, coolerSeries;
    for (const Series& series : catalogue.info.series)
        (series.kind == SeriesKind::Units ? unitSeries : coolerSeries).insert(series.code);
    catalogue.unitList = ReadList(unitListFile, unitCodes, kUnitFile, unitSeries, diagnostics);
    catalogue.coolerList = ReadList(coolerListFile, coolerCodes, kCoolerFile, coolerSeries, diagnostics);
    CheckSheetsAgree(catalogue, unitListFile.name, coolerListFile.name, diagnostics);
    return catalogue;
}

} // namespace catalogc
