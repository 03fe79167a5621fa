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
std::map<std::string, std::string> CatalogChecksums(const std::string& catalogFile);
std::set<std::string> CatalogPaths(const std::string& catalogFile);
// The MD5 checksum of a file as md5sum prints it, to tell whether it changed.
std::string Md5Of(const std::string& file);

} // namespace mirelon::test
