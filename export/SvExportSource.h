// A dictionary as the writers see it: header values, its languages with codes and
// names in UTF-8, the information block in UTF-8, and its rows streamed one at a
// time as UTF-16 views. Reading never depends on the user's locale.
#pragma once

#include "svq/SvSvqFile.h"

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace sv {

struct TSvExportLanguage {
  int Index = 0;
  std::string Code; // unique BCP 47 tag (see SvExportCodes.h)
  std::string Id;   // the locale code string ("de_DE"), as the report prints it
  std::string Name; // UTF-8
};

struct TSvExportInformation {
  bool Present = false;
  std::string Description; // UTF-8
  std::string Owner;
  std::vector<std::string> Users;
  double Time = 0; // days since 1899-12-30; 0 is no time
};

// Characters replaced by U+FFFD, by row (-1: the language records and the
// information block) and language column (-1: not a column's text).
class TSvReplacements {
public:
  void Add(int row, int column, std::size_t count) {
    if (count > 0)
      FCounts[{row, column}] += count;
  }
  std::size_t Total() const;
  bool Empty() const { return FCounts.empty(); }
  // (row, column) -> count, in row order.
  const std::map<std::pair<int, int>, std::size_t>& Counts() const { return FCounts; }

private:
  std::map<std::pair<int, int>, std::size_t> FCounts;
};

class TSvExportSource {
public:
  // Opens the dictionary and reads its languages and information block; the
  // reader's errors escape.
  explicit TSvExportSource(const std::string& fileName);

  const std::string& FileName() const { return FFileName; }
  // The file name without its folder and without ".svq".
  std::string BaseName() const;
  int Version() const { return FFile.Version(); }
  int ByteOrder() const { return FFile.ByteOrder(); }
  int CharacterSet() const { return FFile.CharacterSet(); }
  int ContextKind() const { return FFile.ContextKind(); }
  int LocaleCount() const { return FFile.LocaleCount(); }
  int RowCount() const { return FFile.RowCount(); }
  bool HasFormType() const;
  bool HasComponentName() const;

  const std::vector<TSvExportLanguage>& Languages() const { return FLanguages; }
  const TSvExportInformation& Information() const { return FInformation; }

  // The column whose code or id is code, ignoring ASCII case; -1 when none is.
  int FindLanguage(std::string_view code) const;

  // Calls visit for every row in order (index, view); the view dies when visit
  // returns. May be called again: each pass reads the rows from the file.
  template <class TVisit>
  void ForEachRow(TVisit&& visit) {
    const int rows = FFile.RowCount();
    if (rows == 0)
      return;
    FFile.SeekTranslations();
    for (int r = 0; r < rows; ++r)
      visit(r, FFile.ReadRowView());
  }

  // Replacements made while reading names and the information block; writers
  // add theirs.
  TSvReplacements& Replacements() { return FReplacements; }

private:
  std::string DecodeString(const TSvSvqString& text, int codePage);

  std::string FFileName;
  TSvSvqFile FFile;
  std::vector<TSvExportLanguage> FLanguages;
  TSvExportInformation FInformation;
  TSvReplacements FReplacements;
};

// "YYYY-MM-DDThh:mm:ss" of a date-time value; empty for 0.
std::string IsoDateTime(double time);

} // namespace sv
