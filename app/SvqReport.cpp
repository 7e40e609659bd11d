#include "app/SvqReport.h"

#include "app/SvqCommon.h"
#include "core/SvCollec.h"
#include "language/SvLanguage.h"
#include "locale/SvConvert.h"
#include "locale/SvPlatformConvert.h"
#include "locale/SvUtf8.h"
#include "svq/SvSvqFile.h"
#include "text/SvStrings.h"

#include <charconv>
#include <chrono>
#include <clocale>
#include <cmath>
#include <cstring>
#include <ctime>
#include <langinfo.h>
#include <span>

namespace sv {

namespace {

// The texts of the report, in the order of the string table.
const char* const kVersionText = SvN("Version: %d");
const char* const kByteOrderText = SvN("Byte order: %s");
const char* const kCharacterSetText = SvN("Character set: %s");
const char* const kContextText = SvN("Context: %s");
const char* const kLanguagesText = SvN("Languages:");
const char* const kTranslationsText = SvN("Translations:");
const char* const kRowCountText = SvN("Row count: %d");
const char* const kLocaleCountText = SvN("Locale count: %d");
const char* const kDescriptionText = SvN("Description: %s");
const char* const kOwnerText = SvN("Owner: %s");
const char* const kUserText = SvN("User #%d: %s");
const char* const kTimeText = SvN("Time: %s");

const char* const kByteOrderNames[] = {SvN("Big-endian"), SvN("Little-endian")};
// The character-set names are fixed, not localizable.
const char* const kCharacterSetNames[] = {"Unicode", "Ansi", "UTF-8"};
const char* const kContextNames[] = {SvN("None"), SvN("FormType+ComponentName"),
                                     SvN("ComponentName"), SvN("FormType")};

std::string NameOf(std::span<const char* const> names, int byte, bool localized) {
  const int index = byte & 127;
  if (index >= static_cast<int>(names.size()))
    return std::to_string(index);
  return localized ? SvTr(names[index]) : names[index];
}

// The C and POSIX locales, whose date format has a two-digit year.
bool IsPosixTimeLocale() {
  const char* name = std::setlocale(LC_TIME, nullptr);
  if (!name)
    return true;
  return std::strcmp(name, "C") == 0 || std::strcmp(name, "POSIX") == 0 ||
         std::strncmp(name, "C.", 2) == 0;
}

std::string FormatTime(const std::string& format, const std::tm& time) {
  if (format.empty())
    return {};
  char text[256];
  const std::size_t length = std::strftime(text, sizeof text, format.c_str(), &time);
  return std::string(text, length);
}

} // namespace

std::string FourDigitYearFormat(std::string_view format, int year) {
  char digits[8];
  std::snprintf(digits, sizeof digits, "%04d", year);
  std::string result;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size()) {
      const char directive = format[++i];
      if (directive == 'y' || directive == 'Y') {
        result += digits;
      } else {
        result += '%';
        result += directive;
      }
    } else {
      result += format[i];
    }
  }
  return result;
}

std::string ByteOrderName(int byte) {
  return NameOf(kByteOrderNames, byte, true);
}

std::string CharacterSetName(int byte) {
  return NameOf(kCharacterSetNames, byte, false);
}

std::string ContextName(int byte) {
  return NameOf(kContextNames, byte, true);
}

std::string SvqTimeText(double time) {
  using namespace std::chrono;
  constexpr long long kDayMs = 86'400'000;
  // Before 1899-12-30 the value is negative: the day is the floor, the fraction
  // the time of day.
  double whole = std::floor(time);
  long long ms = std::llround((time - whole) * static_cast<double>(kDayMs));
  if (ms >= kDayMs) {
    whole += 1;
    ms -= kDayMs;
  }
  const sys_days day = sys_days(1899y / December / 30) + days(static_cast<long long>(whole));
  const year_month_day date(day);
  const long long seconds = ms / 1000;

  std::tm parts{};
  parts.tm_year = static_cast<int>(date.year()) - 1900;
  parts.tm_mon = static_cast<int>(static_cast<unsigned>(date.month())) - 1;
  parts.tm_mday = static_cast<int>(static_cast<unsigned>(date.day()));
  parts.tm_wday = static_cast<int>(weekday(day).c_encoding());
  parts.tm_yday = (day - sys_days(date.year() / January / 1)).count();
  parts.tm_hour = static_cast<int>(seconds / 3600);
  parts.tm_min = static_cast<int>(seconds / 60 % 60);
  parts.tm_sec = static_cast<int>(seconds % 60);

  const bool posix = IsPosixTimeLocale();
  const char* dateFormat = posix ? "%Y-%m-%d" : ::nl_langinfo(D_FMT);
  const char* timeFormat = posix ? "%H:%M:%S" : ::nl_langinfo(T_FMT);
  std::string text =
      FormatTime(FourDigitYearFormat(dateFormat, static_cast<int>(date.year())), parts);
  if (ms != 0) {
    // Appended in two steps: " " + string trips a false -Wrestrict of gcc 12 at -O3.
    text += ' ';
    text += FormatTime(FourDigitYearFormat(timeFormat, static_cast<int>(date.year())), parts);
  }
  return text;
}

void WriteSvqReport(const std::string& fileName, bool showTranslations) {
  TSvSvqFile file;
  file.Open(fileName);

  WriteLine();
  WriteLineFmt(SvTr(kVersionText), {file.Version()});
  WriteLineFmt(SvTr(kByteOrderText), {ByteOrderName(file.ByteOrder())});
  WriteLineFmt(SvTr(kCharacterSetText), {CharacterSetName(file.CharacterSet())});
  WriteLineFmt(SvTr(kContextText), {ContextName(file.ContextKind())});
  WriteLine();

  // One forward pass over the language block: record i decodes as ReadLanguage(i)
  // would decode it, without reading records 0 to i-1 again.
  WriteLine(SvTr(kLanguagesText));
  file.SeekLanguages();
  for (int i = 0; i < file.LanguageCount(); ++i) {
    const TSvProjectLanguage* language = file.ReadNextLanguage();
    WriteLineFmt("#%d: %s, %s", {i, language->GetDisplayName(0), language->GetId()});
  }
  WriteLine();

  if (showTranslations && file.RowCount() > 0) {
    WriteLine(SvTr(kTranslationsText));
    file.SeekTranslations();
    // In the UTF-8 system code page the texts go straight from the reader's buffer
    // into the line; elsewhere they are narrowed in the code page.
    const bool utf8 = SystemCodePage() == 65001;
    std::u16string copy;
    std::string line;
    for (int r = 0; r < file.RowCount(); ++r) {
      // The row is read whole before any of its line is written; its views die at
      // the next read.
      const TSvSvqRowView& row = file.ReadRowView();
      if (row.Texts.empty())
        (void)TSvWideStringList().Get(0); // no column 0: the list's range error
      if (utf8 && !EscapesOutput()) {
        // Straight into the output buffer, a text at a time (the row is read whole
        // already): the line as below, and its line break.
        char* out = BeginRawOutput(16);
        *out++ = '#';
        EndRawOutput(std::to_chars(out, out + 15, r).ptr);
        for (std::size_t c = 0; c < row.Texts.size(); ++c) {
          out = BeginRawOutput(Utf8Room(row.Texts[c].size()) + 4);
          std::memcpy(out, c > 0 ? ", \"" : ": \"", 3);
          out = WriteUtf8(row.Texts[c], out + 3);
          *out++ = '"';
          EndRawOutput(out);
        }
        WriteRaw("\n");
        continue;
      }
      // The row line: "#%d: " and the quoted text of column 0, then ", " and the
      // quoted text of each further column.
      line.assign(1, '#');
      char number[16];
      line.append(number, std::to_chars(number, number + sizeof number, r).ptr);
      line += ": \"";
      for (std::size_t c = 0; c < row.Texts.size(); ++c) {
        if (c > 0)
          line += ", \"";
        if (utf8) {
          AppendUtf8(row.Texts[c], line);
        } else {
          copy.assign(row.Texts[c]);
          line += WideToAnsi(copy, 0);
        }
        line += '"';
      }
      WriteLine(line);
    }
  } else {
    WriteLineFmt(SvTr(kRowCountText), {file.RowCount()});
  }
  WriteLine();
  WriteLineFmt(SvTr(kLocaleCountText), {file.LocaleCount()});
  WriteLine();

  std::string description, owner;
  std::vector<std::string> users;
  TSvDateTime time = 0;
  file.ReadInformation(description, owner, &users, time);
  if (!description.empty())
    WriteLineFmt(SvTr(kDescriptionText), {description});
  if (!owner.empty())
    WriteLineFmt(SvTr(kOwnerText), {owner});
  for (std::size_t j = 0; j < users.size(); ++j)
    WriteLineFmt(SvTr(kUserText), {static_cast<int>(j + 1), users[j]});
  WriteLineFmt(SvTr(kTimeText), {SvqTimeText(time)});
}

} // namespace sv
