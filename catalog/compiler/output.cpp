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

// Writing beside the target and renaming keeps a failed build from leaving half a file that the
// program would read as a shorter catalogue.
std::string WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::path temporary = path;
    temporary += ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out)
            return path.string() + ": the file cannot be written";
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error)
        return path.string() + ": the file cannot be replaced (" + error.message() + ")";
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
    for (const auto& [name, bytes] : files)
        if (std::string failure = WriteFile(outputDir / name, bytes); !failure.empty())
            return failure;
    return {};
}

} // namespace catalogc
