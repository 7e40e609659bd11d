#include "stats/SvDiff.h"

#include "export/SvExportCodes.h"
#include "text/SvErrors.h"
#include "text/SvFormat.h"
#include "text/SvStrings.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <new>
#include <sys/mman.h>

namespace sv {

namespace {

struct TKey {
  std::u16string_view FormType;
  std::u16string_view ComponentName;
  std::u16string_view Source;
  bool operator==(const TKey&) const = default;
};

struct TKeyHash {
  std::size_t operator()(const TKey& key) const {
    const std::hash<std::u16string_view> hash;
    std::size_t h = hash(key.Source);
    h ^= hash(key.ComponentName) + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
    h ^= hash(key.FormType) + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
    return h;
  }
};

std::u16string_view TextAt(const TSvSvqRowView& row, int column) {
  return column >= 0 && static_cast<std::size_t>(column) < row.Texts.size() ? row.Texts[column]
                                                                            : std::u16string_view();
}

// UTF-16 units one after another, in huge pages where the system gives them on
// request: the texts of a big dictionary would otherwise cost a page fault every
// 2048 units. Capacity that is never touched costs no memory.
class TUnitPool {
public:
  void Reserve(std::size_t units) {
    if (units <= FCapacity)
      return;
    constexpr std::size_t kHuge = 2 << 20;
    const std::size_t bytes = (units * sizeof(char16_t) + kHuge - 1) / kHuge * kHuge;
    TData data(static_cast<char16_t*>(std::aligned_alloc(kHuge, bytes)));
    if (!data)
      throw std::bad_alloc();
    ::madvise(data.get(), bytes, MADV_HUGEPAGE); // a hint: without it, small pages
    if (FSize > 0)
      std::memcpy(data.get(), FData.get(), FSize * sizeof(char16_t));
    FData = std::move(data);
    FCapacity = bytes / sizeof(char16_t);
  }
  void Append(std::u16string_view text) {
    if (text.empty())
      return;
    if (FSize + text.size() > FCapacity)
      Reserve(std::max(2 * FCapacity, FSize + text.size()));
    std::memcpy(FData.get() + FSize, text.data(), text.size() * sizeof(char16_t));
    FSize += text.size();
  }
  std::size_t size() const { return FSize; }
  std::u16string_view View(std::size_t start, std::size_t end) const {
    return std::u16string_view(FData.get() + start, end - start);
  }

private:
  struct TFree {
    void operator()(char16_t* data) const { std::free(data); }
  };
  using TData = std::unique_ptr<char16_t, TFree>;
  TData FData;
  std::size_t FSize = 0;
  std::size_t FCapacity = 0;
};

// The old dictionary's rows: their strings one after another in one buffer, and
// the rows of each key chained in their order, so that pairing takes the earliest
// row not yet paired.
class TOldRows {
public:
  // The row texts of a file take 2 bytes a unit: its size bounds the pool, which is
  // reserved once so that it is never copied while it grows (untouched pages cost
  // no memory).
  TOldRows(int columns, int sourceColumn, int rows, std::uintmax_t fileSize)
      : FColumns(columns), FSourceColumn(sourceColumn) {
    FPool.Reserve(static_cast<std::size_t>(fileSize / 2));
    FStarts.reserve(static_cast<std::size_t>(rows) * (columns + 2) + 1);
  }

  void Add(const TSvSvqRowView& row) {
    FStarts.push_back(FPool.size());
    FPool.Append(row.FormType);
    FStarts.push_back(FPool.size());
    FPool.Append(row.ComponentName);
    for (int c = 0; c < FColumns; ++c) {
      FStarts.push_back(FPool.size());
      FPool.Append(TextAt(row, c));
    }
  }

  // Called once every row is added: the pool no longer moves, keys may view it.
  void Index() {
    FStarts.push_back(FPool.size());
    const std::size_t rows = Count();
    FNext.assign(rows, kNone);
    FPaired.assign(rows, false);
    std::size_t slots = 16;
    while (slots < 2 * rows)
      slots *= 2;
    FSlots.assign(slots, TSlot{});
    for (std::size_t r = 0; r < rows; ++r) {
      const TKey key = KeyOf(r);
      TSlot& slot = Find(key, TKeyHash()(key));
      if (slot.KeyRow == kNone) {
        slot.KeyRow = slot.First = slot.Last = r;
      } else if (slot.First == kNone) {
        slot.First = slot.Last = r;
      } else {
        FNext[slot.Last] = r;
        slot.Last = r;
      }
    }
  }

  std::size_t Count() const { return FStarts.size() / (FColumns + 2); }

  // The earliest unpaired row of key, now paired; kNone when there is none.
  std::size_t Pair(const TKey& key) {
    TSlot& slot = Find(key, TKeyHash()(key));
    const std::size_t row = slot.First;
    if (row == kNone)
      return kNone;
    slot.First = FNext[row];
    FPaired[row] = true;
    return row;
  }

  bool Paired(std::size_t row) const { return FPaired[row]; }
  // Field 0 is the form type, 1 the component name, 2 + c the text of column c.
  std::u16string_view Field(std::size_t row, int field) const {
    const std::size_t at = row * (FColumns + 2) + field;
    return FPool.View(FStarts[at], FStarts[at + 1]);
  }
  TKey KeyOf(std::size_t row) const {
    return {Field(row, 0), Field(row, 1),
            FSourceColumn >= 0 ? Field(row, 2 + FSourceColumn) : std::u16string_view()};
  }

  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

private:
  // A key of the open-addressed table: the row that holds it, and its rows not yet
  // paired as a chain through FNext.
  struct TSlot {
    std::size_t Hash = 0;
    std::size_t KeyRow = kNone; // kNone: an empty slot
    std::size_t First = kNone;
    std::size_t Last = kNone;
  };
  // The slot of key, or the empty slot where it would go.
  TSlot& Find(const TKey& key, std::size_t hash) {
    const std::size_t mask = FSlots.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
      TSlot& slot = FSlots[i];
      if (slot.KeyRow == kNone) {
        slot.Hash = hash;
        return slot;
      }
      if (slot.Hash == hash && KeyOf(slot.KeyRow) == key)
        return slot;
    }
  }

  int FColumns;
  int FSourceColumn;
  TUnitPool FPool;
  std::vector<std::size_t> FStarts;
  std::vector<std::size_t> FNext;
  std::vector<bool> FPaired;
  std::vector<TSlot> FSlots;
};

TSvDiffValue InformationString(const TSvExportInformation& information, const std::string& text) {
  return information.Present ? TSvDiffValue(text) : TSvDiffValue();
}

void AddIfChanged(std::vector<TSvDiffField>& fields, const char* name, TSvDiffValue oldValue,
                  TSvDiffValue newValue) {
  if (oldValue != newValue)
    fields.push_back({name, std::move(oldValue), std::move(newValue)});
}

// The header values and the information block; the languages are the caller's.
TSvDiffHead CompareHead(const TSvExportSource& oldSource, const TSvExportSource& newSource) {
  TSvDiffHead head;
  const auto number = [](int value) { return TSvDiffValue(static_cast<long long>(value)); };
  AddIfChanged(head.Header, "version", number(oldSource.Version()), number(newSource.Version()));
  AddIfChanged(head.Header, "byte_order", number(oldSource.ByteOrder()), number(newSource.ByteOrder()));
  AddIfChanged(head.Header, "character_set", number(oldSource.CharacterSet()),
               number(newSource.CharacterSet()));
  AddIfChanged(head.Header, "context_kind", number(oldSource.ContextKind()),
               number(newSource.ContextKind()));
  AddIfChanged(head.Header, "locale_count", number(oldSource.LocaleCount()),
               number(newSource.LocaleCount()));

  const TSvExportInformation& o = oldSource.Information();
  const TSvExportInformation& n = newSource.Information();
  AddIfChanged(head.Information, "description", InformationString(o, o.Description),
               InformationString(n, n.Description));
  AddIfChanged(head.Information, "owner", InformationString(o, o.Owner), InformationString(n, n.Owner));
  AddIfChanged(head.Information, "users", o.Present ? TSvDiffValue(o.Users) : TSvDiffValue(),
               n.Present ? TSvDiffValue(n.Users) : TSvDiffValue());
  const auto time = [](const TSvExportInformation& information) {
    return information.Present && information.Time != 0 ? TSvDiffValue(IsoDateTime(information.Time))
                                                        : TSvDiffValue();
  };
  // Times are compared as stored: two stamps a fraction of a second apart differ.
  if (o.Present != n.Present || o.Time != n.Time)
    head.Information.push_back({"time", time(o), time(n)});
  return head;
}

} // namespace

int DiffSourceColumn(const TSvExportSource& source, std::string_view code) {
  if (code.empty())
    return source.Languages().empty() ? -1 : 0;
  const int column = source.FindLanguage(code);
  if (column < 0)
    throw ESvError(SvFormat(SvTr("%s: no language '%s'"), {source.FileName(), std::string(code)}));
  return column;
}

bool DiffDictionaries(TSvExportSource& oldSource, TSvExportSource& newSource,
                      std::string_view sourceCode, TSvDiffVisitor& visitor) {
  const int oldSourceColumn = DiffSourceColumn(oldSource, sourceCode);
  const int newSourceColumn = DiffSourceColumn(newSource, sourceCode);
  const auto& oldLanguages = oldSource.Languages();
  const auto& newLanguages = newSource.Languages();
  const int oldColumns = static_cast<int>(oldLanguages.size());
  const int newColumns = static_cast<int>(newLanguages.size());

  // The old column of each new column, matched by code; -1 for an added language.
  std::vector<int> oldColumnOf(newColumns, -1);
  for (int c = 0; c < newColumns; ++c)
    for (int o = 0; o < oldColumns; ++o)
      if (SameCode(oldLanguages[o].Code, newLanguages[c].Code))
        oldColumnOf[c] = o;

  std::error_code error;
  const std::uintmax_t fileSize = std::filesystem::file_size(oldSource.FileName(), error);
  TOldRows oldRows(oldColumns, oldSourceColumn, oldSource.RowCount(), error ? 0 : fileSize);
  oldSource.ForEachRow([&](int, const TSvSvqRowView& row) { oldRows.Add(row); });
  oldRows.Index();

  TSvDiffHead head = CompareHead(oldSource, newSource);
  std::vector<bool> kept(oldColumns, false);
  for (int c = 0; c < newColumns; ++c) {
    if (oldColumnOf[c] < 0)
      head.LanguagesAdded.push_back(newLanguages[c].Code);
    else
      kept[oldColumnOf[c]] = true;
  }
  for (int o = 0; o < oldColumns; ++o)
    if (!kept[o])
      head.LanguagesRemoved.push_back(oldLanguages[o].Code);
  bool same = head.LanguagesAdded.empty() && head.LanguagesRemoved.empty() && head.Header.empty() &&
              head.Information.empty();
  visitor.Head(head);

  TSvDiffCounts counts;
  TSvDiffRow change;
  newSource.ForEachRow([&](int index, const TSvSvqRowView& row) {
    const TKey key{row.FormType, row.ComponentName, TextAt(row, newSourceColumn)};
    const std::size_t paired = oldRows.Pair(key);
    change.Texts.clear();
    if (paired == TOldRows::kNone) {
      change.Kind = TSvDiffKind::Added;
      for (int c = 0; c < newColumns; ++c)
        change.Texts.push_back({newLanguages[c].Code, std::nullopt, TextAt(row, c)});
      ++counts.Added;
    } else {
      for (int c = 0; c < newColumns; ++c) {
        if (oldColumnOf[c] < 0)
          continue;
        const std::u16string_view oldText = oldRows.Field(paired, 2 + oldColumnOf[c]);
        if (oldText != TextAt(row, c))
          change.Texts.push_back({newLanguages[c].Code, oldText, TextAt(row, c)});
      }
      if (change.Texts.empty()) {
        ++counts.Unchanged;
        return;
      }
      change.Kind = TSvDiffKind::Changed;
      ++counts.Changed;
    }
    change.OldRow = paired == TOldRows::kNone ? -1 : static_cast<int>(paired);
    change.NewRow = index;
    change.FormType = key.FormType;
    change.ComponentName = key.ComponentName;
    change.Source = key.Source;
    visitor.Change(change);
  });

  for (std::size_t r = 0; r < oldRows.Count(); ++r) {
    if (oldRows.Paired(r))
      continue;
    const TKey key = oldRows.KeyOf(r);
    change.Kind = TSvDiffKind::Removed;
    change.OldRow = static_cast<int>(r);
    change.NewRow = -1;
    change.FormType = key.FormType;
    change.ComponentName = key.ComponentName;
    change.Source = key.Source;
    change.Texts.clear();
    for (int c = 0; c < oldColumns; ++c)
      change.Texts.push_back({oldLanguages[c].Code, oldRows.Field(r, 2 + c), std::nullopt});
    ++counts.Removed;
    visitor.Change(change);
  }
  visitor.End(counts);
  return same && counts.Added == 0 && counts.Removed == 0 && counts.Changed == 0;
}

} // namespace sv
