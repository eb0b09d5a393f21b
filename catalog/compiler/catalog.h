#pragma once

// In-memory form of the equipment catalogue source and the checks that make it safe for the
// program's condenser and cooler selection.

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

namespace catalogc {

// Names of the source files inside the source folder.
inline constexpr const char* kUnitFile = "condensers.tsv";
inline constexpr const char* kCoolerFile = "coolers.tsv";
inline constexpr const char* kUnitListFile = "condenser_list.tsv";
inline constexpr const char* kCoolerListFile = "cooler_list.tsv";
inline constexpr const char* kSeriesFile = "series.tsv";

// The binary files hold codes in 16 space-padded bytes.
inline constexpr std::size_t kCodeLength = 16;
// The longest field after the first of a list line that the program reads whole.
inline constexpr std::size_t kMaxListField = 254;

struct CondensingUnit {
    std::string code;
    int line = 0;                   // line of its MODEL line, for messages
    int lowestSst = 0, highestSst = 0;
    int lowestAmbient = 0, highestAmbient = 0;
    std::vector<int> ambients;      // one per rating in each SST group, ascending
    std::vector<int> ssts;          // ascending
    std::vector<std::int32_t> capacities; // ssts.size() x ambients.size(), SST-major
};

struct UnitCooler {
    std::string code;
    int line = 0;
    std::int32_t rating = 0;        // Btu/h at 10 F TD
    std::int32_t minimumBox = 0;    // offered only for boxes warmer than this
};

struct ListEntry {
    std::string key, description, code, dataSheet;
    int line = 0;
    std::string series;             // the key up to its last '-'
    int hertz = 0;                  // the supply that the rest of the key names
};

enum class SeriesKind { Units, Coolers };

// A product series as the data sheets and the printed catalogue present it.
struct Series {
    SeriesKind kind = SeriesKind::Units;
    std::string code, title, refrigerant;
    bool condensingRated = false;   // units: the grid's second temperature is the condensing one
    std::string defrost;            // coolers
    int line = 0;
};

// What the catalogue says about itself (series.tsv), for the printed sheets.
struct CatalogueInfo {
    std::string title, edition;
    int ratedHertz = 0;             // the supply the capacities are stated for
    std::vector<int> coolerTds;     // the TDs of a cooler sheet's capacity table, ascending
    std::vector<Series> series;     // in the order of the printed catalogue
};

struct Catalogue {
    CatalogueInfo info;
    std::vector<CondensingUnit> units;
    std::vector<UnitCooler> coolers;
    std::vector<ListEntry> unitList;
    std::vector<ListEntry> coolerList;
};

// Collects "file:line: message" diagnostics on a stream.
class Diagnostics {
public:
    explicit Diagnostics(std::ostream& out) : m_out(out) {}
    void Report(const std::string& file, int line, const std::string& message);
    int Count() const { return m_count; }

private:
    std::ostream& m_out;
    int m_count = 0;
};

// Reads and checks the four source files; every problem is reported, and the result is only
// usable when the diagnostics count stayed at zero.
Catalogue ReadCatalogue(const std::filesystem::path& sourceDir, Diagnostics& diagnostics);

// Writes the five product-data files; returns an empty text or the reason for failure.
std::string WriteProductData(const Catalogue& catalogue, const std::filesystem::path& outputDir);

// Writes one PDF data sheet per data-sheet name of the product lists into `sheetDir`;
// returns an empty text or the reason for failure. Needs a QGuiApplication.
std::string WriteDataSheets(const Catalogue& catalogue, const std::filesystem::path& sheetDir);

// Writes the whole catalogue as one PDF: a contents page, then one section per series.
std::string WriteCatalogueDocument(const Catalogue& catalogue, const std::filesystem::path& path);

// Writes a synthetic but valid source of `count` condensing units and `count` coolers.
std::string GenerateSource(int count, const std::filesystem::path& dir);

} // namespace catalogc
