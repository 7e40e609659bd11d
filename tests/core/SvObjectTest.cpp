#include "core/SvObject.h"
#include "core/SvClasses.h"
#include "core/SvCollec.h"
#include "text/SvErrors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace sv;

namespace {

// A small model object with one field, its ordering by that field.
class TNumber : public TSvObject {
public:
  explicit TNumber(int value = 0) : FValue(value) {}
  std::unique_ptr<TSvObject> CreateNew() const override { return std::make_unique<TNumber>(); }
  void Assign(const TSvPersistent& source) override {
    TSvObject::Assign(source);
    FValue = SvCast<TNumber>(source).FValue;
  }
  bool IsEqual(const TSvObject& other) const override {
    const auto* number = dynamic_cast<const TNumber*>(&other);
    return number && number->FValue == FValue;
  }
  int Compare(const TSvObject& other) const override {
    return FValue - SvCast<TNumber>(other).FValue;
  }
  int FValue;
};

class TWord : public TNumber {
public:
  using TNumber::TNumber;
  std::unique_ptr<TSvObject> CreateNew() const override { return std::make_unique<TWord>(); }
};

// Forgets to override CreateNew.
class TForgetful : public TNumber {
public:
  using TNumber::TNumber;
};

// Every pair compares equal.
class TFlat : public TSvObject {
public:
  explicit TFlat(int id = 0) : FId(id) {}
  std::unique_ptr<TSvObject> CreateNew() const override { return std::make_unique<TFlat>(); }
  int FId;
};

std::vector<int> Values(const TSvItems& items) {
  std::vector<int> values;
  for (int i = 0; i < items.Count(); ++i)
    values.push_back(static_cast<const TNumber&>(items.Items().Items(i)).FValue);
  return values;
}

} // namespace

TEST(SvObject, DefaultEqualityAndCloneFollowTheClass) {
  EXPECT_TRUE(TSvObject().IsDefault());
  EXPECT_TRUE(TNumber().IsDefault());
  EXPECT_FALSE(TNumber(3).IsDefault());
  EXPECT_TRUE(TSvItems().IsDefault());

  const TWord word(7);
  std::unique_ptr<TSvObject> copy = word.Clone();
  ASSERT_NE(dynamic_cast<TWord*>(copy.get()), nullptr);
  EXPECT_TRUE(copy->IsEqual(word));
  EXPECT_EQ(SvClone(word)->FValue, 7);

  // A class without its own CreateNew would clone into a lesser object.
  EXPECT_THROW(TForgetful(1).Clone(), ESvAssertionError);
  EXPECT_THROW(TForgetful(1).IsDefault(), ESvAssertionError);
}

TEST(SvObject, AssignFromTheWrongClassIsAnInvalidCast) {
  TNumber number(1);
  TSvObject plain;
  plain.Assign(number); // the root accepts anything
  try {
    number.Assign(TSvItems());
    FAIL();
  } catch (const ESvInvalidCast& e) {
    EXPECT_STREQ(e.what(), kInvalidCastMessage);
  }
  EXPECT_THROW(TSvItems().Assign(number), ESvInvalidCast);
  EXPECT_THROW(TSvWideStringList().Assign(number), ESvInvalidCast);
}

TEST(SvItems, CloneIsDeepAndIndependent) {
  auto source = std::make_unique<TSvItems>();
  source->Items().Add(std::make_unique<TNumber>(1));
  source->Items().Add(std::make_unique<TWord>(2));
  source->Items().Add(std::make_unique<TNumber>(3));

  std::unique_ptr<TSvItems> copy = SvClone(*source);
  ASSERT_EQ(copy->Count(), 3);
  for (int i = 0; i < 3; ++i) {
    const TSvObject& original = source->Items().Items(i);
    const TSvObject& cloned = copy->Items().Items(i);
    EXPECT_NE(&original, &cloned);
    EXPECT_EQ(typeid(original), typeid(cloned));
    EXPECT_TRUE(cloned.IsEqual(original));
  }
  source.reset();
  EXPECT_EQ(Values(*copy), (std::vector<int>{1, 2, 3}));

  // Assign replaces the former elements and survives assignment from itself.
  TSvItems other;
  other.Items().Add(std::make_unique<TNumber>(9));
  other.Assign(*copy);
  EXPECT_EQ(Values(other), (std::vector<int>{1, 2, 3}));
  other.Assign(other);
  EXPECT_EQ(Values(other), (std::vector<int>{1, 2, 3}));
}

TEST(SvItems, SortsByCompare) {
  TSvItems items;
  items.Sort(); // empty: nothing happens
  for (int v : {5, 3, 9, 1, 5, 7, 2, 8, 0, 6, 4})
    items.Items().Add(std::make_unique<TNumber>(v));
  items.Sort();
  EXPECT_EQ(Values(items), (std::vector<int>{0, 1, 2, 3, 4, 5, 5, 6, 7, 8, 9}));

  // All equal: every object is kept, in some order.
  TSvItems flat;
  for (int id = 0; id < 9; ++id)
    flat.Items().Add(std::make_unique<TFlat>(id));
  flat.Sort();
  std::vector<int> ids;
  for (int i = 0; i < flat.Count(); ++i)
    ids.push_back(static_cast<const TFlat&>(flat.Items().Items(i)).FId);
  std::sort(ids.begin(), ids.end());
  EXPECT_EQ(ids, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST(SvObjectList, OwnsItsElementsAndChecksIndexes) {
  TSvObjectList list;
  EXPECT_THROW(list.Add(nullptr), ESvAssertionError);
  list.Add(std::make_unique<TNumber>(1));
  list.Add(std::make_unique<TNumber>(3));
  list.Insert(1, std::make_unique<TNumber>(2));
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(static_cast<TNumber&>(list.Items(1)).FValue, 2);
  EXPECT_THROW(list.Items(3), ESvRangeError);
  EXPECT_THROW(list.Items(-1), ESvRangeError);
  EXPECT_THROW(list.Insert(5, std::make_unique<TNumber>()), ESvRangeError);

  std::unique_ptr<TSvObject> taken = list.Extract(0);
  EXPECT_EQ(static_cast<TNumber&>(*taken).FValue, 1);
  list.Delete(0);
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(static_cast<TNumber&>(list.Items(0)).FValue, 3);

  TSvObjectList copy;
  copy.CopyFrom(list);
  copy.CopyFrom(copy);
  ASSERT_EQ(copy.Count(), 1);
  EXPECT_NE(&copy.Items(0), &list.Items(0));
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(static_cast<TNumber&>(copy.Items(0)).FValue, 3);
}
