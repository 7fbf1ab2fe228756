#pragma once

#include "data/status.h"

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace pigmora {

using CsvRow = std::vector<std::string>;

// A UTF-8 CSV file with a header row (RFC 4180 quoting; CRLF or LF line ends;
// a UTF-8 byte-order mark is skipped). Rows after the header keep their line
// numbers for messages.
struct CsvTable {
    CsvRow header;
    std::vector<CsvRow> rows;
    std::vector<int> lineNumbers;
};

// Reads and parses a whole CSV file; refuses files that are not valid UTF-8,
// have unbalanced quotes or are larger than maxBytes.
Result<CsvTable> readCsvFile(const std::string &path, std::size_t maxBytes = 64 * 1024 * 1024);
Result<CsvTable> parseCsv(std::string_view text);

// Checks that the header is exactly the expected field names.
Status expectHeader(const CsvTable &table, const std::vector<std::string_view> &names);

// Writes one row, quoting fields that hold a comma, quote or line break.
void writeCsvRow(std::ostream &out, const std::vector<std::string> &fields);

} // namespace pigmora
