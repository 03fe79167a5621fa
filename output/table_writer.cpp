#include "output/table_writer.h"

#include "output/field_escaping.h"

#include <algorithm>
#include <vector>

namespace mirelon {

namespace {

bool IsJsonInteger(std::string_view text) {
    if (!text.empty() && text.front() == '-') {
        text.remove_prefix(1);
    }
    if (text.empty() || (text.size() > 1 && text.front() == '0')) {
        return false;
    }
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// TSV and CSV differ only in the field escaping, the separator and the line end.
class TDelimitedWriter : public TTableWriter {
public:
    using Escape = std::string (*)(std::string_view);

    TDelimitedWriter(std::ostream& out, char separator, std::string_view lineEnd, Escape escape)
        : out_(out), separator_(separator), lineEnd_(lineEnd), escape_(escape) {}

    void Start(std::span<const OutputColumn> columns) override {
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (i > 0) {
                out_ << separator_;
            }
            out_ << escape_(columns[i].name);
        }
        out_ << lineEnd_;
    }

    void Row(std::span<const std::string> cells) override {
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (i > 0) {
                out_ << separator_;
            }
            out_ << escape_(cells[i]);
        }
        out_ << lineEnd_;
    }

    void Finish() override { out_.flush(); }

private:
    std::ostream& out_;
    char separator_;
    std::string_view lineEnd_;
    Escape escape_;
};

class TJsonWriter : public TTableWriter {
public:
    explicit TJsonWriter(std::ostream& out) : out_(out) {}

    void Start(std::span<const OutputColumn> columns) override {
        columns_ = columns;
        keys_.clear();
        for (const OutputColumn& column : columns) {
            keys_.push_back(JsonString(column.name));
        }
        out_ << '[';
        rows_ = 0;
    }

    void Row(std::span<const std::string> cells) override {
        out_ << (rows_++ == 0 ? "\n  {" : ",\n  {");
        for (std::size_t i = 0; i < cells.size() && i < keys_.size(); ++i) {
            if (i > 0) {
                out_ << ", ";
            }
            out_ << keys_[i] << ": ";
            if (columns_[i].numeric && IsJsonInteger(cells[i])) {
                out_ << cells[i];
            } else {
                out_ << JsonString(cells[i]);
            }
        }
        out_ << '}';
    }

    void Finish() override {
        out_ << (rows_ == 0 ? "]\n" : "\n]\n");
        out_.flush();
    }

private:
    std::ostream& out_;
    std::span<const OutputColumn> columns_;
    std::vector<std::string> keys_;
    std::size_t rows_ = 0;
};

} // namespace

std::unique_ptr<TTableWriter> MakeTableWriter(OutputFormat format, std::ostream& out) {
    switch (format) {
    case OutputFormat::Csv:
        return std::make_unique<TDelimitedWriter>(out, ',', "\r\n", &CsvField);
    case OutputFormat::Json:
        return std::make_unique<TJsonWriter>(out);
    case OutputFormat::Tsv:
        break;
    }
    return std::make_unique<TDelimitedWriter>(out, '\t', "\n", &TsvField);
}

bool ParseOutputFormat(std::string_view name, OutputFormat& format) {
    if (name == "tsv") {
        format = OutputFormat::Tsv;
    } else if (name == "csv") {
        format = OutputFormat::Csv;
    } else if (name == "json") {
        format = OutputFormat::Json;
    } else {
        return false;
    }
    return true;
}

} // namespace mirelon
