#pragma once

#include <exception>
#include <string>

namespace mirelon {

// A failure in words for a person. A catalog failure that SQLite reported names the database
// file and says what is wrong with it, in SQLite's own words, never the statement that failed
// ("/data/files.db is not a catalog (file is not a database)"); any other failure is its text.
std::string DescribeFailure(const std::exception& error);

} // namespace mirelon
