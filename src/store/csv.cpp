#include "store/csv.h"

#include "data/utf8.h"
#include "store/safefile.h"

#include <filesystem>
#include <ostream>
#include <sstream>

namespace pigmora {

Result<CsvTable> parseCsv(std::string_view text)
{
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    if (!isValidUtf8(text))
        return Status::error("not valid UTF-8 text");

    CsvTable table;
    CsvRow row;
    std::string field;
    bool inQuotes = false;
    bool rowHasContent = false;
    int line = 1;
    int rowLine = 1;
    auto endRow = [&] {
        row.push_back(std::move(field));
        field.clear();
        if (rowHasContent || row.size() > 1) {
            if (table.header.empty() && table.rows.empty()) {
                table.header = std::move(row);
            } else {
                table.rows.push_back(std::move(row));
                table.lineNumbers.push_back(rowLine);
            }
        }
        row.clear();
        rowHasContent = false;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inQuotes) {
            if (c == '"') {
                if (i + 1 < text.size() && text[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else {
                    inQuotes = false;
                }
            } else {
                if (c == '\n')
                    ++line;
                field += c;
            }
            continue;
        }
        switch (c) {
        case '"':
            inQuotes = true;
            rowHasContent = true;
            break;
        case ',':
            row.push_back(std::move(field));
            field.clear();
            rowHasContent = true;
            break;
        case '\r':
            break;
        case '\n':
            endRow();
            ++line;
            rowLine = line;
            break;
        default:
            field += c;
            rowHasContent = true;
            break;
        }
    }
    if (inQuotes)
        return Status::error("a quoted field is not closed");
    if (rowHasContent || !field.empty() || !row.empty())
        endRow();
    if (table.header.empty())
        return Status::error("no header row");
    return table;
}

Result<CsvTable> readCsvFile(const std::string &path, std::size_t maxBytes)
{
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        return Status::error(path + " is a folder, not a CSV file");
    const auto text = safefile::readWholeFile(path, maxBytes);
    if (!text)
        return Status::error(text.message());
    auto table = parseCsv(*text);
    if (!table)
        return Status::error(path + ": " + table.message());
    return table;
}

Status expectHeader(const CsvTable &table, const std::vector<std::string_view> &names)
{
    bool matches = table.header.size() == names.size();
    for (std::size_t i = 0; matches && i < names.size(); ++i)
        matches = table.header[i] == names[i];
    if (matches)
        return Status::ok();
    std::string expected;
    for (std::string_view name : names)
        expected += (expected.empty() ? "" : ",") + std::string(name);
    return Status::error("the header row must be " + expected);
}

void writeCsvRow(std::ostream &out, const std::vector<std::string> &fields)
{
    bool first = true;
    for (const std::string &field : fields) {
        if (!first)
            out << ',';
        first = false;
        if (field.find_first_of(",\"\r\n") == std::string::npos) {
            out << field;
            continue;
        }
        out << '"';
        for (char c : field) {
            if (c == '"')
                out << '"';
            out << c;
        }
        out << '"';
    }
    out << '\n';
}

} // namespace pigmora
