#include "query/query_texts.h"

#include "query/month_shift.h"

namespace mirelon {

OldFilesBounds MakeOldFilesBounds(TDateTime now, int months) {
    return {DateText(ShiftYears(now, -10)), DateText(ShiftMonths(now, -months))};
}

std::string InGroupOrder(std::string_view duplicatesQuery) {
    return std::string(duplicatesQuery) + " ORDER BY fldCheckSum, fldFullPath";
}

std::string OldFilesQuery(const OldFilesBounds& bounds) {
    // Date texts hold only digits, '-', ':' and a blank, so they go in without escaping.
    return "SELECT * FROM tblFiles WHERE [fldDateAccessed] BETWEEN '" + bounds.lower + "' AND '" +
           bounds.upper + "'";
}

} // namespace mirelon
