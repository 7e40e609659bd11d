#include "core/SvCollec.h"

#include "core/SvQuickSort.h"
#include "locale/SvConvert.h"
#include "text/SvFormat.h"

#include <algorithm>
#include <utility>

namespace sv {

// ---- TSvWideStringList ----

TSvWideStringList::~TSvWideStringList() {
  Clear();
}

void TSvWideStringList::Assign(const TSvPersistent& source) {
  if (&source == this)
    return; // clearing first would lose the items
  Clear();
  const TSvWideStringList& list = SvCast<TSvWideStringList>(source);
  SetCapacity(list.FCount);
  for (int i = 0; i < list.FCount; ++i)
    AddWithData(list.FItems[i].Text, list.FItems[i].Data);
}

void TSvWideStringList::Clear() {
  std::vector<TSvWideStringItem>().swap(FItems); // releases the storage
  FCapacity = 0;
  FCount = 0;
}

void TSvWideStringList::Sort() {
  if (FCount <= 1)
    return;
  std::u16string pivot;
  SvQuickSort(
      0, FCount - 1, [&](int i) { return CompareWideText(FItems[i].Text, pivot, 0, true); },
      [&](int i) { pivot = FItems[i].Text; }, [&](int i, int j) { Exchange(i, j); });
}

int TSvWideStringList::Add(const std::u16string& s) {
  return AddWithData(s, 0);
}

int TSvWideStringList::AddWithData(const std::u16string& s, std::int32_t data) {
  if (FCount == FCapacity)
    Grow();
  const int index = FCount;
  FItems.push_back(TSvWideStringItem{s, data});
  ++FCount;
  if (FSorted)
    Sort();
  return index;
}

const std::u16string& TSvWideStringList::Get(int index) const {
  CheckIndex(index);
  return FItems[index].Text;
}

std::int32_t TSvWideStringList::GetData(int index) const {
  CheckIndex(index);
  return FItems[index].Data;
}

void TSvWideStringList::Delete(int index) {
  CheckIndex(index);
  FItems.erase(FItems.begin() + index);
  --FCount;
}

void TSvWideStringList::Exchange(int i, int j) {
  CheckIndex(i);
  CheckIndex(j);
  std::swap(FItems[i], FItems[j]);
}

void TSvWideStringList::SetCapacity(int n) {
  if (n < FCount)
    throw ESvRangeError(kStringListRangeMessage);
  if (n == 0)
    std::vector<TSvWideStringItem>().swap(FItems);
  else
    FItems.reserve(static_cast<std::size_t>(n));
  FCapacity = n;
}

void TSvWideStringList::Grow() {
  const int delta = FCapacity > 8 ? 16 : FCapacity > 4 ? 8 : 4;
  // The storage at least doubles when it must move, so the stepped Capacity does
  // not make every step a copy of the whole array.
  const std::size_t room = FItems.capacity();
  if (static_cast<std::size_t>(FCapacity + delta) > room)
    FItems.reserve(std::max(static_cast<std::size_t>(FCapacity + delta), room * 2));
  FCapacity += delta;
}

void TSvWideStringList::CheckIndex(int index) const {
  if (index < 0 || index >= FCount)
    throw ESvRangeError(kStringListRangeMessage);
}

// ---- TSvCustomList ----

TSvCustomList::~TSvCustomList() {
  while (!FItems.empty())
    FItems.pop_back();
}

void TSvCustomList::Clear() {
  while (!FItems.empty())
    FItems.pop_back();
}

int TSvCustomList::Add(std::unique_ptr<TSvObject> object) {
  Insert(Count(), std::move(object));
  return Count() - 1;
}

void TSvCustomList::Insert(int index, std::unique_ptr<TSvObject> object) {
  if (!object)
    throw ESvAssertionError("A list cannot hold an empty object reference");
  if (index < 0 || index > Count())
    throw ESvRangeError(SvFormat("List index out of bounds (%d)", {index}));
  FItems.insert(FItems.begin() + index, std::move(object));
}

TSvObject& TSvCustomList::Items(int index) const {
  CheckIndex(index);
  return *FItems[static_cast<std::size_t>(index)];
}

void TSvCustomList::Delete(int index) {
  Extract(index).reset();
}

std::unique_ptr<TSvObject> TSvCustomList::Extract(int index) {
  CheckIndex(index);
  std::unique_ptr<TSvObject> object = std::move(FItems[static_cast<std::size_t>(index)]);
  FItems.erase(FItems.begin() + index);
  return object;
}

void TSvCustomList::Exchange(int i, int j) {
  CheckIndex(i);
  CheckIndex(j);
  std::swap(FItems[static_cast<std::size_t>(i)], FItems[static_cast<std::size_t>(j)]);
}

void TSvCustomList::Sort(const std::function<int(const TSvObject&, const TSvObject&)>& compare) {
  if (Count() <= 1)
    return;
  const TSvObject* pivot = nullptr;
  SvQuickSort(
      0, Count() - 1, [&](int i) { return compare(*FItems[static_cast<std::size_t>(i)], *pivot); },
      [&](int i) { pivot = FItems[static_cast<std::size_t>(i)].get(); },
      [&](int i, int j) {
        std::swap(FItems[static_cast<std::size_t>(i)], FItems[static_cast<std::size_t>(j)]);
      });
}

void TSvCustomList::CheckIndex(int index) const {
  if (index < 0 || index >= Count())
    throw ESvRangeError(SvFormat("List index out of bounds (%d)", {index}));
}

// ---- TSvObjectList ----

void TSvObjectList::CopyFrom(const TSvObjectList& source) {
  if (&source == this)
    return; // clearing first would free the elements to be copied
  Clear();
  for (int i = 0; i < source.Count(); ++i)
    Add(source.Items(i).Clone());
}

} // namespace sv
