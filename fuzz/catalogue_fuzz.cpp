// The catalogue compiler on any source: the input holds the four source files, separated by
// lines "@@@@" (condensers, coolers, condensing-unit list, cooler list). A source without
// problems is written out as product data.

#include "catalog/compiler/catalog.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

const std::filesystem::path& WorkFolder() {
    static const std::filesystem::path folder = [] {
        std::filesystem::path p = std::filesystem::temp_directory_path() /
                                  ("corvane-catalogue-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(p / "source");
        std::atexit([] { std::error_code e; std::filesystem::remove_all(WorkFolder(), e); });
        return p;
    }();
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const char* names[] = {catalogc::kUnitFile, catalogc::kCoolerFile, catalogc::kUnitListFile,
                           catalogc::kCoolerListFile};
    const std::filesystem::path source = WorkFolder() / "source";
    std::size_t start = 0;
    for (const char* name : names) {
        std::size_t end = input.find("\n@@@@\n", start);
        const std::string part = start <= input.size() ? input.substr(start, end == std::string::npos ? std::string::npos : end - start) : std::string();
        std::ofstream(source / name, std::ios::binary | std::ios::trunc) << part;
        start = end == std::string::npos ? input.size() + 1 : end + 6;
    }
    std::ostringstream messages;
    catalogc::Diagnostics diagnostics(messages);
    const catalogc::Catalogue catalogue = catalogc::ReadCatalogue(source, diagnostics);
    if (diagnostics.Count() == 0) catalogc::WriteProductData(catalogue, WorkFolder() / "out");
    return 0;
}
