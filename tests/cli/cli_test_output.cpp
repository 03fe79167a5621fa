#include "tests/cli/cli_test_output.h"

#include "base/utf8_path.h"
#include "catalog/sqlite_database.h"
#include "catalog/sqlite_table.h"
#include "tests/cli/cli_test_process.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>

namespace mirelon::test {

namespace {

std::string TsvUnescape(const std::string& field) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 1 < field.size()) {
            const char next = field[++i];
            out += next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next;
        } else {
            out += field[i];
        }
    }
    return out;
}

} // namespace

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> TsvFields(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(TsvUnescape(line.substr(start, tab - start)));
        if (tab == std::string::npos) {
            return fields;
        }
        start = tab + 1;
    }
}

int64_t CatalogueCount(const std::string& summary) {
    std::smatch match;
    if (!std::regex_search(summary, match, std::regex("^Catalogued ([0-9]+) file"))) {
        return -1;
    }
    return std::stoll(match[1]);
}

int64_t RowCount(const std::string& catalogFile) {
    TSQLiteDatabase catalog(catalogFile);
    return catalog.OpenResult("SELECT COUNT(*) FROM tblFiles")->IntegerAt(0);
}

std::map<std::string, std::string> CatalogColumn(const std::string& catalogFile,
                                                 const std::string& column) {
    TSQLiteDatabase catalog(catalogFile);
    std::map<std::string, std::string> rows;
    const auto result = catalog.OpenResult("SELECT fldFullPath, " + column + " FROM tblFiles");
    for (; !result->AtEnd(); result->MoveNext()) {
        rows[result->TextAt(0)] = result->TextAt(1);
    }
    return rows;
}

std::map<std::string, std::string> CatalogChecksums(const std::string& catalogFile) {
    return CatalogColumn(catalogFile, "fldCheckSum");
}

std::set<std::string> CatalogPaths(const std::string& catalogFile) {
    std::set<std::string> paths;
    for (const auto& [path, checksum] : CatalogChecksums(catalogFile)) {
        paths.insert(path);
    }
    return paths;
}

std::set<std::set<std::string>> DuplicateGroups(const std::string& tsv) {
    const auto lines = Lines(tsv);
    EXPECT_FALSE(lines.empty());
    std::map<std::string, std::set<std::string>> byChecksum;
    std::string previousChecksum;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto fields = TsvFields(lines[i]);
        EXPECT_EQ(fields.size(), 12u) << lines[i];
        if (i == 0) {
            EXPECT_EQ(fields.front(), "fldFullPath");
            continue;
        }
        if (fields.size() != 12u) {
            continue;
        }
        EXPECT_LE(previousChecksum, fields[4]);
        previousChecksum = fields[4];
        byChecksum[fields[4]].insert(fields[0]);
    }
    std::set<std::set<std::string>> groups;
    for (const auto& [checksum, paths] : byChecksum) {
        groups.insert(paths);
    }
    return groups;
}

std::string Md5Of(const std::string& file) {
    const ProcessResult result = RunProgram({"md5sum", file});
    // md5sum starts the line with a backslash when it escapes the name (a line feed in it).
    const std::size_t start = result.out.starts_with('\\') ? 1 : 0;
    return result.exitCode == 0 ? result.out.substr(start, 32) : "<" + result.err + ">";
}

std::string FileContents(const std::string& file) {
    std::ifstream in(PathFromUtf8(file), std::ios::binary);
    if (!in) {
        return "<missing>";
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace mirelon::test
