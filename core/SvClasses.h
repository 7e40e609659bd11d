// TSvItems: a model object that owns a list of objects and sorts them by their own
// ordering.
#pragma once

#include "core/SvCollec.h"
#include "core/SvObject.h"

#include <memory>

namespace sv {

class TSvItems : public TSvObject {
public:
  TSvItems() = default;

  std::unique_ptr<TSvObject> CreateNew() const override;
  // Source must be a TSvItems; this object ends up with clones of its elements.
  void Assign(const TSvPersistent& source) override;
  // Sorts the elements by their Compare; not stable.
  virtual void Sort();

  int Count() const { return FItems.Count(); }
  TSvObjectList& Items() { return FItems; }
  const TSvObjectList& Items() const { return FItems; }

private:
  TSvObjectList FItems;
};

} // namespace sv
