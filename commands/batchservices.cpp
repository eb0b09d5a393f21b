#include "commands/batchservices.h"

#include "base/platform.h"
#include "definitions/state.h"
#include "report/reportpages.h"
#include "update/updatecheck.h"

namespace corvane {

BatchServices FullBatchServices() {
    BatchServices services;
    services.writePdf = [](State& s, const QString& path, QString* error) {
        return WriteReportPdf(s, path, s.platform.DefaultPaper(), error);
    };
    services.writePageImages = [](State& s, const QString& path, QString* error) {
        return WritePageImages(s, PageImageBase(path), s.platform.DefaultPaper(), error);
    };
    services.checkForUpdates = [](State& s) {
        UpdateOptions update;
        update.askBeforeDownload = false;
        const UpdateResult result = UpdateCheck(s, update);
        return result == UpdateResult::UpToDate || result == UpdateResult::Updated;
    };
    return services;
}

} // namespace corvane
