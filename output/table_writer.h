#pragma once

#include <memory>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

namespace mirelon {

enum class OutputFormat { Tsv, Csv, Json };

struct OutputColumn {
    std::string_view name;
    // Whole numbers are written as JSON numbers; the other formats do not care.
    bool numeric = false;
};

// Writes rows of texts as TSV or CSV with a header line, or as a JSON array of objects keyed by
// the column names. Rows are written as they come, so a result need not be held whole.
class TTableWriter {
public:
    virtual ~TTableWriter() = default;
    // The columns stay referenced until Finish.
    virtual void Start(std::span<const OutputColumn> columns) = 0;
    // One text per column, in column order.
    virtual void Row(std::span<const std::string> cells) = 0;
    virtual void Finish() = 0;
};

std::unique_ptr<TTableWriter> MakeTableWriter(OutputFormat format, std::ostream& out);

// "tsv", "csv" or "json"; false for anything else.
bool ParseOutputFormat(std::string_view name, OutputFormat& format);

} // namespace mirelon
