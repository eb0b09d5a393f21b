// catalogc: turns the readable equipment catalogue into the product-data files of the program.

#include "catalog.h"

#include <QGuiApplication>
#include <QLoggingCategory>

#include <charconv>
#include <cstring>
#include <iostream>

namespace {

constexpr int kBadSource = 1;
constexpr int kBadUsage = 2;
constexpr int kLargestGenerated = 9999999; // codes carry seven digits

int ShowUsage() {
    std::cerr << "usage: catalogc SOURCE_DIR OUTPUT_DIR [--sheets DIR] [--catalogue FILE]\n"
                 "       catalogc --generate COUNT DIR\n"
                 "The first form checks the catalogue source in SOURCE_DIR and writes CModels.rec,\n"
                 "CRatings.rec, ERatings.rec, CProdList.data and EProdList.data into OUTPUT_DIR;\n"
                 "with --sheets it also writes one PDF data sheet per model into DIR, and with\n"
                 "--catalogue the whole catalogue as one PDF.\n"
                 "The second writes a synthetic source of COUNT condensing units and COUNT unit\n"
                 "coolers into DIR, for benchmarks.\n";
    return kBadUsage;
}

int Generate(const char* countText, const char* dir) {
    int count = 0;
    const char* end = countText + std::strlen(countText);
    const auto [stop, error] = std::from_chars(countText, end, count);
    if (error != std::errc() || stop != end || count < 1 || count > kLargestGenerated) {
        std::cerr << "catalogc: the count must be a whole number from 1 to " << kLargestGenerated << '\n';
        return kBadUsage;
    }
    if (const std::string failure = catalogc::GenerateSource(count, dir); !failure.empty()) {
        std::cerr << failure << '\n';
        return kBadSource;
    }
    return 0;
}

struct Request {
    const char* sourceDir = nullptr;
    const char* outputDir = nullptr;
    const char* sheetDir = nullptr;
    const char* cataloguePath = nullptr;
};

int Compile(const Request& request, int& argc, char** argv) {
    catalogc::Diagnostics diagnostics(std::cerr);
    const catalogc::Catalogue catalogue = catalogc::ReadCatalogue(request.sourceDir, diagnostics);
    if (diagnostics.Count() > 0) {
        std::cerr << "catalogc: " << diagnostics.Count() << " problem(s) in the catalogue; nothing written\n";
        return kBadSource;
    }
    if (const std::string failure = catalogc::WriteProductData(catalogue, request.outputDir); !failure.empty()) {
        std::cerr << failure << '\n';
        return kBadSource;
    }
    std::size_t ratings = 0;
    for (const catalogc::CondensingUnit& unit : catalogue.units)
        ratings += unit.capacities.size();
    std::cout << "catalogc: " << catalogue.units.size() << " condensing units (" << ratings << " ratings), "
              << catalogue.coolers.size() << " unit coolers, " << catalogue.unitList.size() << " + "
              << catalogue.coolerList.size() << " list entries\n";
    if (!request.sheetDir && !request.cataloguePath)
        return 0;

    // The PDFs need fonts, which Qt only offers to a GUI application; the build has no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Starting the platform may complain about a missing runtime folder, which a build does
    // not need; such start-up talk would only hide the compiler's own messages.
    QLoggingCategory::setFilterRules(QStringLiteral("default.warning=false"));
    QGuiApplication application(argc, argv);
    QLoggingCategory::setFilterRules(QString());
    if (request.sheetDir)
        if (const std::string failure = catalogc::WriteDataSheets(catalogue, request.sheetDir); !failure.empty()) {
            std::cerr << failure << '\n';
            return kBadSource;
        }
    if (request.cataloguePath)
        if (const std::string failure = catalogc::WriteCatalogueDocument(catalogue, request.cataloguePath);
            !failure.empty()) {
            std::cerr << failure << '\n';
            return kBadSource;
        }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--generate") == 0)
        return Generate(argv[2], argv[3]);
    if (argc < 3 || argv[1][0] == '-' || argv[2][0] == '-')
        return ShowUsage();
    Request request{argv[1], argv[2]};
    for (int i = 3; i < argc; i += 2) {
        if (i + 1 >= argc)
            return ShowUsage();
        if (std::strcmp(argv[i], "--sheets") == 0 && !request.sheetDir)
            request.sheetDir = argv[i + 1];
        else if (std::strcmp(argv[i], "--catalogue") == 0 && !request.cataloguePath)
            request.cataloguePath = argv[i + 1];
        else
            return ShowUsage();
    }
    return Compile(request, argc, argv);
}
