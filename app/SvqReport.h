// The report of one SVQ dictionary: header values, languages, rows or their
// number, the locale count and the information block.
#pragma once

#include <string>
#include <string_view>

namespace sv {

// Opens the file and writes the report. Errors of the reader escape; the lines
// written before one stay in the output.
void WriteSvqReport(const std::string& fileName, bool showTranslations);

// A date-time value (days since 1899-12-30 plus the fraction of the day) as text:
// the user's date format with a four-digit year and, unless the time of day is
// exactly midnight, a blank and the user's time format. In the C and POSIX
// locales "%Y-%m-%d" and "%H:%M:%S".
std::string SvqTimeText(double time);
// A strftime format with %y and %Y replaced by year in four digits.
std::string FourDigitYearFormat(std::string_view format, int year);

// The name of a header byte in a name table (the byte AND 127 is the index), or
// that index as a number when the table has no such row.
std::string ByteOrderName(int byte);
std::string CharacterSetName(int byte);
std::string ContextName(int byte);

} // namespace sv
