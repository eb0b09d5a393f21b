#pragma once

#include "app/batch.h"

namespace corvane {

// The batch services of the window program: the report drawn into a PDF or page images, and
// the update check, which answers the download question Yes.
BatchServices FullBatchServices();

} // namespace corvane
