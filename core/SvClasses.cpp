#include "core/SvClasses.h"

namespace sv {

std::unique_ptr<TSvObject> TSvItems::CreateNew() const {
  return std::make_unique<TSvItems>();
}

void TSvItems::Assign(const TSvPersistent& source) {
  TSvObject::Assign(source);
  FItems.CopyFrom(SvCast<TSvItems>(source).FItems);
}

void TSvItems::Sort() {
  // Every element is a TSvObject by the list's type, so the first one need not be examined.
  FItems.Sort([](const TSvObject& a, const TSvObject& b) { return a.Compare(b); });
}

} // namespace sv
