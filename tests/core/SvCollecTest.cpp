#include "core/SvCollec.h"
#include "text/SvErrors.h"

#include <gtest/gtest.h>

#include <vector>

using namespace sv;

namespace {

std::vector<std::u16string> Texts(const TSvWideStringList& list) {
  std::vector<std::u16string> texts;
  for (int i = 0; i < list.Count(); ++i)
    texts.push_back(list.Get(i));
  return texts;
}

} // namespace

TEST(SvWideStringList, GrowsByFourEightAndSixteen) {
  TSvWideStringList list;
  std::vector<int> capacities;
  for (int i = 0; i < 20; ++i) {
    EXPECT_EQ(list.Add(u"t" + std::u16string(1, char16_t(u'a' + i))), i);
    if (capacities.empty() || capacities.back() != list.Capacity())
      capacities.push_back(list.Capacity());
  }
  EXPECT_EQ(capacities, (std::vector<int>{4, 8, 16, 32}));
  for (int i = 0; i < 12; ++i)
    list.Add(u"x");
  EXPECT_EQ(list.Capacity(), 32);
  list.Add(u"y");
  EXPECT_EQ(list.Capacity(), 48);

  // Assign sizes the storage once, to the source's count.
  TSvWideStringList copy;
  copy.Assign(list);
  EXPECT_EQ(copy.Capacity(), 33);
  EXPECT_EQ(Texts(copy), Texts(list));
}

TEST(SvWideStringList, LongListsMoveTheirStorageRarely) {
  // Capacity keeps its steps, but the items move only when the storage doubles: a
  // row of a 65,535-language dictionary must not copy its texts 4,000 times.
  TSvWideStringList list;
  const std::u16string* first = nullptr;
  int moves = 0;
  int capacity = 0;
  for (int i = 0; i < 65536; ++i) {
    list.Add(u"text" + std::u16string(1, char16_t(u'a' + i % 26)));
    if (&list.Get(0) != first) {
      first = &list.Get(0);
      ++moves;
    }
    const int step = capacity > 8 ? 16 : capacity > 4 ? 8 : 4;
    if (list.Capacity() != capacity) {
      EXPECT_EQ(list.Capacity(), capacity + step);
      capacity = list.Capacity();
    }
  }
  EXPECT_EQ(list.Capacity(), 65536);
  EXPECT_LE(moves, 20);
  for (int i : {0, 1, 4095, 4096, 65535})
    EXPECT_EQ(list.Get(i), u"text" + std::u16string(1, char16_t(u'a' + i % 26))) << i;
  list.Delete(0);
  EXPECT_EQ(list.Get(0), u"textb");
  EXPECT_EQ(list.Count(), 65535);
}

TEST(SvWideStringList, IndexesAreChecked) {
  TSvWideStringList list;
  list.Clear(); // never held anything
  EXPECT_EQ(list.Capacity(), 0);
  list.AddWithData(u"a", 10);
  list.AddWithData(u"b", 11);
  list.AddWithData(u"c", 12);
  for (int bad : {-1, 3}) {
    try {
      list.Get(bad);
      FAIL();
    } catch (const ESvRangeError& e) {
      EXPECT_STREQ(e.what(), "Out of string list range");
    }
    EXPECT_THROW(list.GetData(bad), ESvRangeError);
    EXPECT_THROW(list.Delete(bad), ESvRangeError);
    EXPECT_THROW(list.Exchange(0, bad), ESvRangeError);
  }
  EXPECT_THROW(list.SetCapacity(2), ESvRangeError);

  list.Delete(0);
  EXPECT_EQ(Texts(list), (std::vector<std::u16string>{u"b", u"c"}));
  EXPECT_EQ(list.GetData(0), 11);
  EXPECT_EQ(list.GetData(1), 12);

  list.Exchange(0, 1);
  EXPECT_EQ(list.Get(0), u"c");
  EXPECT_EQ(list.GetData(0), 12);

  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Capacity(), 0);
}

TEST(SvWideStringList, SortKeepsDataWithTexts) {
  TSvWideStringList list;
  const std::vector<std::u16string> words = {u"pear",  u"apple", u"melon", u"fig",  u"kiwi",
                                             u"grape", u"lemon", u"date",  u"lime", u"banana"};
  for (std::size_t i = 0; i < words.size(); ++i)
    list.AddWithData(words[i], static_cast<int>(i));
  list.Sort();
  EXPECT_EQ(Texts(list),
            (std::vector<std::u16string>{u"apple", u"banana", u"date", u"fig", u"grape", u"kiwi",
                                         u"lemon", u"lime", u"melon", u"pear"}));
  for (int i = 0; i < list.Count(); ++i)
    EXPECT_EQ(words[static_cast<std::size_t>(list.GetData(i))], list.Get(i));

  // A sorted list re-sorts after each append but answers the index before sorting.
  TSvWideStringList sorted;
  sorted.SetSorted(true);
  EXPECT_EQ(sorted.Add(u"c"), 0);
  EXPECT_EQ(sorted.Add(u"a"), 1);
  EXPECT_EQ(sorted.Add(u"b"), 2);
  EXPECT_EQ(Texts(sorted), (std::vector<std::u16string>{u"a", u"b", u"c"}));

  // Assign re-sorts into a sorted receiver; assigning a list to itself keeps it.
  TSvWideStringList target;
  target.SetSorted(true);
  target.Assign(list);
  EXPECT_EQ(Texts(target), Texts(list));
  list.Assign(list);
  EXPECT_EQ(list.Count(), 10);
}
