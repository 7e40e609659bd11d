// What changed between two dictionaries: languages added and removed, header values
// and the information block, and rows matched by their key (form type, component
// name, source text). Rows whose key repeats are paired in their order of
// appearance. The old dictionary's rows are held in memory, the new one's are
// streamed, and every change goes to a visitor as it is found.
#pragma once

#include "export/SvExportSource.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace sv {

// A header value (a number), a string of the information block, its users, or
// nothing (no information block, no time stamp).
using TSvDiffValue = std::variant<std::monostate, long long, std::string, std::vector<std::string>>;

struct TSvDiffField {
  const char* Name; // "version", "byte_order", ...; "description", "owner", "users", "time"
  TSvDiffValue Old;
  TSvDiffValue New;
};

// Everything known before the rows are compared.
struct TSvDiffHead {
  std::vector<std::string> LanguagesAdded;   // codes, in the new dictionary's column order
  std::vector<std::string> LanguagesRemoved; // codes, in the old dictionary's column order
  std::vector<TSvDiffField> Header;          // only the values that changed
  std::vector<TSvDiffField> Information;     // likewise
};

enum class TSvDiffKind { Added, Removed, Changed };

struct TSvDiffText {
  std::string_view Code;
  std::optional<std::u16string_view> Old; // none: the language is not in the old dictionary
  std::optional<std::u16string_view> New;
};

// A row that was added, removed or changed. The views die when the visitor returns.
struct TSvDiffRow {
  TSvDiffKind Kind = TSvDiffKind::Changed;
  int OldRow = -1; // its index in the old dictionary; -1 for an added row
  int NewRow = -1; // its index in the new dictionary; -1 for a removed row
  std::u16string_view FormType;
  std::u16string_view ComponentName;
  std::u16string_view Source;
  // Added and removed rows: every language of their dictionary in column order;
  // changed rows: the common languages whose text differs, in the new column order.
  std::vector<TSvDiffText> Texts;
};

struct TSvDiffCounts {
  std::size_t Added = 0;
  std::size_t Removed = 0;
  std::size_t Changed = 0;
  std::size_t Unchanged = 0;
};

class TSvDiffVisitor {
public:
  virtual ~TSvDiffVisitor() = default;
  virtual void Head(const TSvDiffHead& head) = 0;
  // Added and changed rows in the new dictionary's order, then removed rows in the
  // old dictionary's order.
  virtual void Change(const TSvDiffRow& row) = 0;
  virtual void End(const TSvDiffCounts& counts) = 0;
};

// The source column of a dictionary: the language whose code or id is code
// (ignoring ASCII case), the first language for an empty code (-1 when the
// dictionary has none: its source texts are all empty). ESvError
// "PATH: no language 'CODE'" when no language has the code.
int DiffSourceColumn(const TSvExportSource& source, std::string_view code);

// Compares the dictionaries and reports to visitor; true when nothing differs. The
// readers' errors escape; the visitor may have been called by then.
bool DiffDictionaries(TSvExportSource& oldSource, TSvExportSource& newSource,
                      std::string_view sourceCode, TSvDiffVisitor& visitor);

} // namespace sv
