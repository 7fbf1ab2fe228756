#pragma once

// The CSV reader and writer live in the core (the desktop program imports
// paint lists too); the commands use them under their old names.
#include "store/csv.h"

namespace pigmora::cli {

using pigmora::CsvRow;
using pigmora::CsvTable;
using pigmora::expectHeader;
using pigmora::parseCsv;
using pigmora::readCsvFile;
using pigmora::writeCsvRow;

} // namespace pigmora::cli
