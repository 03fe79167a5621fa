#pragma once

#include <stdexcept>
#include <string>

namespace mirelon {

// The one failure type of the catalog access layer; its text names the failed statement. A
// failure that SQLite reported also keeps SQLite's code, its own words and the database file,
// so that a person can be told what is wrong without the statement (DescribeFailure).
class ESQLiteException : public std::runtime_error {
public:
    // A failure of the layer itself ("Transaction already open", ...).
    explicit ESQLiteException(const std::string& text) : std::runtime_error(text) {}
    ESQLiteException(const std::string& text, int code, std::string reason, std::string fileName)
        : std::runtime_error(text), code_(code), reason_(std::move(reason)),
          fileName_(std::move(fileName)) {}

    // SQLite's extended result code; 0 when SQLite reported none.
    int Code() const { return code_; }
    // SQLite's message ("database or disk is full"); empty when SQLite reported none.
    const std::string& Reason() const { return reason_; }
    // The database file the failure concerns; empty when unknown.
    const std::string& FileName() const { return fileName_; }

private:
    int code_ = 0;
    std::string reason_;
    std::string fileName_;
};

} // namespace mirelon
