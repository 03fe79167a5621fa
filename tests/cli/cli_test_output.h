#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace mirelon::test {

std::vector<std::string> Lines(const std::string& text);
// The fields of one TSV line, with \\, \t, \n and \r read back.
std::vector<std::string> TsvFields(const std::string& line);
// N of the summary's "Catalogued N files" line; -1 when there is none.
int64_t CatalogueCount(const std::string& summary);
// The rows of tblFiles in the catalog file.
int64_t RowCount(const std::string& catalogFile);
// One column of every row of tblFiles, by full path.
std::map<std::string, std::string> CatalogColumn(const std::string& catalogFile,
                                                 const std::string& column);
// The catalog's full paths and checksums.
std::map<std::string, std::string> CatalogChecksums(const std::string& catalogFile);
std::set<std::string> CatalogPaths(const std::string& catalogFile);
// The groups of paths that `duplicates` printed (TSV), one set per checksum; checks on the way
// that each group's rows come together, sorted by checksum.
std::set<std::set<std::string>> DuplicateGroups(const std::string& tsv);
// The MD5 checksum of a file as md5sum prints it (Linux: it runs md5sum).
std::string Md5Of(const std::string& file);
// A file's bytes, to tell whether it changed; "<missing>" when it cannot be read.
std::string FileContents(const std::string& file);

} // namespace mirelon::test
