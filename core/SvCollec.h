// The library's lists: TSvWideStringList, wide texts each with an integer attached,
// and TSvObjectList, an owning list of objects.
#pragma once

#include "core/SvObject.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace sv {

// The message of the string list's range error.
inline constexpr const char* kStringListRangeMessage = "Out of string list range";

struct TSvWideStringItem {
  std::u16string Text;
  std::int32_t Data = 0;
};

// Items live in one contiguous array. Capacity grows by 4, 8 or 16 slots at a time;
// the storage underneath grows by doubling and moves the texts, so that appends
// cost amortised constant time however long the list gets.
class TSvWideStringList : public TSvPersistent {
public:
  TSvWideStringList() = default;
  ~TSvWideStringList() override;
  TSvWideStringList(const TSvWideStringList&) = delete;
  TSvWideStringList& operator=(const TSvWideStringList&) = delete;

  // Clear, then a copy of every item of source (a TSvWideStringList, else ESvInvalidCast).
  void Assign(const TSvPersistent& source) override;
  // Releases every item and the storage.
  virtual void Clear();
  // Sorts by text, ignoring case, with the locale's rules; not stable.
  virtual void Sort();

  // AddWithData(s, 0).
  int Add(const std::u16string& s);
  // Appends; returns the index the item had before any re-sorting.
  int AddWithData(const std::u16string& s, std::int32_t data);
  // The text or the data of item index; ESvRangeError outside 0..Count-1.
  const std::u16string& Get(int index) const;
  std::int32_t GetData(int index) const;
  // Removes item index; the items after it move down.
  void Delete(int index);
  // Swaps text and data of two items.
  void Exchange(int i, int j);

  int Count() const { return FCount; }
  int Capacity() const { return FCapacity; }
  // Sets Capacity to n, making room for n items (releasing the storage for 0).
  // n may not be below Count.
  void SetCapacity(int n);
  bool Sorted() const { return FSorted; }
  // When set, the list re-sorts itself after every append.
  void SetSorted(bool sorted) { FSorted = sorted; }

protected:
  // Capacity + 4, + 8 above 4, + 16 above 8.
  void Grow();

private:
  void CheckIndex(int index) const;

  bool FSorted = false;
  int FCount = 0;
  int FCapacity = 0;
  std::vector<TSvWideStringItem> FItems; // the first Count items; reserved beyond
};

// A growable list of objects that it owns; frees them from the last to the first.
class TSvCustomList {
public:
  TSvCustomList() = default;
  virtual ~TSvCustomList();
  TSvCustomList(const TSvCustomList&) = delete;
  TSvCustomList& operator=(const TSvCustomList&) = delete;

  // Frees every element, from the last to the first, and empties the list.
  virtual void Clear();

  // Appends object (not null); returns its index.
  int Add(std::unique_ptr<TSvObject> object);
  // Inserts object (not null) at index 0..Count.
  void Insert(int index, std::unique_ptr<TSvObject> object);
  // The element at index; ESvRangeError outside 0..Count-1. It stays owned by the list.
  TSvObject& Items(int index) const;
  int Count() const { return static_cast<int>(FItems.size()); }
  // Frees element index; the elements after it move down.
  void Delete(int index);
  // Removes element index from the list and hands it to the caller.
  std::unique_ptr<TSvObject> Extract(int index);
  void Exchange(int i, int j);
  // Sorts by compare (below 0, 0, above 0); not stable.
  void Sort(const std::function<int(const TSvObject&, const TSvObject&)>& compare);

private:
  void CheckIndex(int index) const;

  std::vector<std::unique_ptr<TSvObject>> FItems;
};

class TSvObjectList : public TSvCustomList {
public:
  // Clear, then a Clone of every element of source, in order.
  void CopyFrom(const TSvObjectList& source);
};

} // namespace sv
