#include "core/SvObject.h"

#include "text/SvFormat.h"

#include <typeinfo>

namespace sv {

void TSvPersistent::Assign(const TSvPersistent&) {
  throw ESvInvalidCast(kInvalidCastMessage);
}

void TSvObject::Assign(const TSvPersistent&) {}

bool TSvObject::IsDefault() const {
  const std::unique_ptr<TSvObject> fresh = CreateSame();
  return IsEqual(*fresh);
}

std::unique_ptr<TSvObject> TSvObject::CreateNew() const {
  return std::make_unique<TSvObject>();
}

bool TSvObject::IsEqual(const TSvObject&) const {
  return true;
}

int TSvObject::Compare(const TSvObject&) const {
  return 0;
}

void TSvObject::Clear() {}

std::unique_ptr<TSvObject> TSvObject::Clone() const {
  std::unique_ptr<TSvObject> copy = CreateSame();
  copy->Assign(*this);
  return copy;
}

std::unique_ptr<TSvObject> TSvObject::CreateSame() const {
  std::unique_ptr<TSvObject> fresh = CreateNew();
  const TSvObject* made = fresh.get();
  if (!made || typeid(*made) != typeid(*this))
    throw ESvAssertionError(
        SvFormat("CreateNew of %s does not make an object of its class", {typeid(*this).name()}));
  return fresh;
}

} // namespace sv
