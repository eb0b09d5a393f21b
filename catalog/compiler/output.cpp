#include "catalog.h"

#include <fstream>
#include <limits>
#include <map>
#include <system_error>

namespace catalogc {

namespace {

// Record layouts read by the program: little-endian integers, no padding, codes space-padded.
constexpr std::size_t kModelRecordLength = 42;
constexpr std::size_t kRatingRecordLength = 10;
constexpr std::size_t kCoolerRecordLength = 24;

class RecordBuffer {
public:
    void Put16(int value) { PutLittleEndian(static_cast<std::uint16_t>(value), 2); }
    void Put32(std::int64_t value) { PutLittleEndian(static_cast<std::uint32_t>(value), 4); }
    void PutCode(const std::string& code) {
        m_bytes.append(code);
        m_bytes.append(kCodeLength - code.size(), ' ');
    }
    void PutZeros(std::size_t count) { m_bytes.append(count, '\0'); }
    const std::string& Bytes() const { return m_bytes; }
    std::size_t Size() const { return m_bytes.size(); }

private:
    void PutLittleEndian(std::uint32_t value, int count) {
        for (int i = 0; i < count; ++i)
            m_bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
    std::string m_bytes;
};

std::string ListText(const std::vector<ListEntry>& entries) {
    std::string text;
    for (const ListEntry& entry : entries)
        text += entry.key + '\t' + entry.description + '\t' + entry.code + '\t' + entry.dataSheet + "\r\n";
    return text;
}

std::filesystem::path PartPath(const std::filesystem::path& path) {
    std::filesystem::path temporary = path;
    temporary += ".part";
    return temporary;
}

// The five files belong together: each is written beside its target first, and only when all
// five are complete do they replace the old ones, so a failure leaves the old set (and no
// .part file) behind, never a mix of old and new.
std::string WriteFiles(const std::filesystem::path& dir, const std::map<std::string, std::string>& files) {
    std::error_code ignored;
    const auto removeParts = [&] {
        for (const auto& entry : files) std::filesystem::remove(PartPath(dir / entry.first), ignored);
    };
    for (const auto& [name, bytes] : files) {
        const std::filesystem::path path = dir / name;
        std::filesystem::file_status status = std::filesystem::status(path, ignored);
        if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
            removeParts();
            return path.string() + ": exists and is not a regular file; it is left as it is";
        }
        std::ofstream out(PartPath(path), std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            removeParts();
            return path.string() + ": the file cannot be written";
        }
    }
    for (const auto& [name, bytes] : files) {
        std::error_code error;
        std::filesystem::rename(PartPath(dir / name), dir / name, error);
        if (error) {
            removeParts();
            return (dir / name).string() + ": the file cannot be replaced (" + error.message() + ")";
        }
    }
    return {};
}

} // namespace

std::string WriteProductData(const Catalogue& catalogue, const std::filesystem::path& outputDir) {
    std::error_code error;
    std::filesystem::create_directories(outputDir, error);
    if (error)
        return outputDir.string() + ": the folder cannot be created (" + error.message() + ")";

    RecordBuffer models, ratings, coolers;
    std::int64_t nextRating = 1; // record numbers count from 1
    for (const CondensingUnit& unit : catalogue.units) {
        const std::size_t groupSize = unit.ambients.size();
        models.Put16(0);
        models.Put32(nextRating);
        models.Put16(static_cast<int>(unit.capacities.size() - 1)); // records first .. first + extent
        models.Put16(static_cast<int>(groupSize));
        models.PutCode(unit.code);
        models.Put16(unit.lowestAmbient);
        models.Put16(unit.highestAmbient);
        models.Put16(unit.lowestSst);
        models.Put16(unit.highestSst);
        models.PutZeros(8);
        for (std::size_t i = 0; i < unit.capacities.size(); ++i) {
            ratings.Put16(0);
            ratings.Put16(unit.ssts[i / groupSize]);
            ratings.Put16(unit.ambients[i % groupSize]);
            ratings.Put32(unit.capacities[i]);
        }
        nextRating += static_cast<std::int64_t>(unit.capacities.size());
    }
    if (nextRating - 1 > std::numeric_limits<std::int32_t>::max())
        return "the catalogue holds more condensing-unit ratings than the rating file can number";
    for (const UnitCooler& cooler : catalogue.coolers) {
        coolers.PutCode(cooler.code);
        coolers.Put32(cooler.rating);
        coolers.Put32(cooler.minimumBox);
    }

    // A mismatch here would be a fault of this program, not of the source.
    if (models.Size() != catalogue.units.size() * kModelRecordLength ||
        ratings.Size() != static_cast<std::size_t>(nextRating - 1) * kRatingRecordLength ||
        coolers.Size() != catalogue.coolers.size() * kCoolerRecordLength)
        return "internal error: a record has the wrong length";

    const std::map<std::string, std::string> files = {
        {"CModels.rec", models.Bytes()},
        {"CRatings.rec", ratings.Bytes()},
        {"ERatings.rec", coolers.Bytes()},
        {"CProdList.data", ListText(catalogue.unitList)},
        {"EProdList.data", ListText(catalogue.coolerList)},
    };
    return WriteFiles(outputDir, files);
}

} // namespace catalogc
