#include "catalog.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <system_error>

namespace catalogc {

namespace {

std::string Code(const char* prefix, int number) {
    char text[kCodeLength + 1];
    std::snprintf(text, sizeof text, "%s%07d", prefix, number);
    return text;
}

// Spreads `count` sizes evenly on a logarithmic scale, as a real size ladder roughly does.
double Size(int index, int count, double smallest, double largest) {
    if (count < 2)
        return smallest;
    return smallest * std::pow(largest / smallest, static_cast<double>(index) / (count - 1));
}

// Medium-temperature capacity multiplier, rated at +20 F SST and 90 F ambient.
double Multiplier(int sst, int ambient) {
    const double x = sst - 20;
    return (1 + 0.02252 * x + 0.0001394 * x * x) * (1 - 0.0085 * (ambient - 90));
}

std::string Save(const std::filesystem::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    return out ? std::string() : path.string() + ": the file cannot be written";
}

} // namespace

// The synthetic catalogue is built for timing the selection, not for realism: every unit sits
// in series MA-60S with a grid wide enough (SST -40 to 45 F) to be offered for any box, and every
// cooler in LPA-60S with a -30 F minimum box, so a selection walks all of them.
std::string GenerateSource(int count, const std::filesystem::path& dir) {
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error)
        return dir.string() + ": the folder cannot be created (" + error.message() + ")";

    const int ambients[] = {80, 90, 95, 100, 110};
    std::string units = "# Synthetic condensing units for benchmarks\n";
    std::string unitList = "#Key\tDescription\tModel\tDataSheet\n";
    std::string coolers = "#Code\tRating_Btuh\tMinBox_F\n";
    std::string coolerList = unitList;
    for (int i = 0; i < count; ++i) {
        const std::string unitCode = Code("GU", i + 1);
        const double rated = Size(i, count, 4000.0, 400000.0);
        units += "MODEL\t" + unitCode + "\t-40\t45\t80\t110\nAMBIENT";
        for (const int ambient : ambients)
            units += '\t' + std::to_string(ambient);
        units += '\n';
        for (int sst = -40; sst <= 45; sst += 5) {
            units += "SST\t" + std::to_string(sst);
            for (const int ambient : ambients)
                units += '\t' + std::to_string(std::lround(rated * Multiplier(sst, ambient)));
            units += '\n';
        }
        unitList += "MA-60S\tsynthetic unit\t" + unitCode + '\t' + unitCode + ".pdf\n";

        const std::string coolerCode = Code("GC", i + 1);
        coolers += coolerCode + '\t' + std::to_string(std::lround(Size(i, count, 1000.0, 200000.0))) + "\t-30\n";
        coolerList += "LPA-60S\tsynthetic cooler\t" + coolerCode + '\t' + coolerCode + ".pdf\n";
    }
    std::string series = "TITLE\tSynthetic catalogue\nEDITION\tbenchmark\nRATED\t60\nTD\t8\t10\t12\t15\n"
                               "UNITS\tMA\tSynthetic condensing units\tR-448A\tAMBIENT\n"
                               "COOLERS\tLPA\tSynthetic unit coolers\tR-448A\tAir\n";
    for (const auto& [name, text] : {std::pair{kUnitFile, &units}, std::pair{kCoolerFile, &coolers},
                                     std::pair{kUnitListFile, &unitList}, std::pair{kCoolerListFile, &coolerList},
                                     std::pair{kSeriesFile, &series}})
        if (std::string failure = Save(dir / name, *text); !failure.empty())
            return failure;
    return {};
}

} // namespace catalogc
