// The root of the library's model objects: a uniform way to be copied, compared,
// ordered, reset and cloned.
#pragma once

#include "text/SvErrors.h"

#include <memory>

namespace sv {

// The base of everything that can be copied with Assign.
class TSvPersistent {
public:
  virtual ~TSvPersistent() = default;
  // Copies source into this object. Here: not supported for any source.
  virtual void Assign(const TSvPersistent& source);

protected:
  TSvPersistent() = default;
  TSvPersistent(const TSvPersistent&) = default;
  TSvPersistent& operator=(const TSvPersistent&) = default;
};

// source as a T, or ESvInvalidCast.
template <class T> const T& SvCast(const TSvPersistent& source) {
  const T* typed = dynamic_cast<const T*>(&source);
  if (!typed)
    throw ESvInvalidCast(kInvalidCastMessage);
  return *typed;
}

class TSvObject : public TSvPersistent {
public:
  TSvObject() = default;

  // Does nothing, for any source; subclasses call it first and then copy their own fields.
  void Assign(const TSvPersistent& source) override;
  // True when the object equals a fresh instance of its own class.
  virtual bool IsDefault() const;
  // The virtual constructor: a new object of the receiver's exact class in its default
  // state. Every class that can be instantiated overrides it.
  virtual std::unique_ptr<TSvObject> CreateNew() const;
  virtual bool IsEqual(const TSvObject& other) const;
  // Below 0, 0 or above 0 as the object sorts before, with or after other.
  virtual int Compare(const TSvObject& other) const;
  // Resets the object to its empty state; does nothing here.
  virtual void Clear();

  // CreateNew, then Assign from this object.
  std::unique_ptr<TSvObject> Clone() const;

protected:
  TSvObject(const TSvObject&) = default;
  TSvObject& operator=(const TSvObject&) = default;

  // CreateNew, checked to yield the receiver's exact class: a class that forgot to
  // override CreateNew would otherwise clone into a lesser object.
  std::unique_ptr<TSvObject> CreateSame() const;
};

// Clone with the static type kept.
template <class T> std::unique_ptr<T> SvClone(const T& object) {
  std::unique_ptr<TSvObject> copy = object.Clone();
  T* typed = dynamic_cast<T*>(copy.get());
  if (!typed)
    throw ESvInvalidCast(kInvalidCastMessage);
  copy.release();
  return std::unique_ptr<T>(typed);
}

} // namespace sv
