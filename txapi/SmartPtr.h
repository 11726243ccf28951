#pragma once

#include "txapi/IAPIObject.h"

#include <cstddef>
#include <type_traits>
#include <utility>

namespace txapi {

namespace detail {

// A new reference to src's view as I, or nullptr when src is null or does not offer I.
template <class I, class J> I* Query(J* src)
{
  if (src == nullptr) return nullptr;
  IAPIObject* view = static_cast<IAPIObject*>(src)->QueryInterface(I::IID);
  return static_cast<I*>(view);
}

// True when a and b are views of one host object (both null counts as the same).
inline bool SameObject(IAPIObject* a, IAPIObject* b)
{
  if (a == b) return true;
  if (a == nullptr || b == nullptr) return false;
  IAPIObject* ia = a->QueryInterface(IAPIObject::IID);
  IAPIObject* ib = b->QueryInterface(IAPIObject::IID);
  const bool same = ia != nullptr && ia == ib;
  if (ia != nullptr) ia->Release();
  if (ib != nullptr) ib->Release();
  return same;
}

} // namespace detail

// A reference-counted holder of one host interface pointer; empty means "no object".
// Copying adds a reference; reset and destruction release it. Taking a holder of another interface asks the
// object for this holder's interface by its identifier, which leaves the holder empty when the source is
// empty or the object does not offer the interface. Taking a holder that denotes the object already held
// changes nothing. Equality compares identity (the objects' IAPIObject views), not pointers.
template <class I> class SmartPtr
{
public:
  using Interface = I;

  SmartPtr() noexcept = default;
  SmartPtr(std::nullptr_t) noexcept {}
  // Holds p with a reference of its own.
  explicit SmartPtr(I* p) noexcept : P(p)
  {
    if (P != nullptr) Base(P)->AddRef();
  }
  SmartPtr(const SmartPtr& other) noexcept : P(other.P)
  {
    if (P != nullptr) Base(P)->AddRef();
  }
  SmartPtr(SmartPtr&& other) noexcept : P(std::exchange(other.P, nullptr)) {}
  template <class J>
  requires(!std::is_same_v<I, J>) SmartPtr(const SmartPtr<J>& other) : P(detail::Query<I>(other.get())) {}
  ~SmartPtr() { reset(); }

  // Takes over a reference that the caller already owns (the result of QueryInterface, for example).
  static SmartPtr Attach(I* p) noexcept
  {
    SmartPtr s;
    s.P = p;
    return s;
  }
  // Gives up the pointer without releasing it; the caller then owns that reference.
  I* Detach() noexcept { return std::exchange(P, nullptr); }

  SmartPtr& operator=(const SmartPtr& other)
  {
    if (detail::SameObject(Base(P), Base(other.P))) return *this;
    SmartPtr(other).swap(*this);
    return *this;
  }
  SmartPtr& operator=(SmartPtr&& other) noexcept
  {
    if (this != &other) {
      reset();
      P = std::exchange(other.P, nullptr);
    }
    return *this;
  }
  template <class J>
  requires(!std::is_same_v<I, J>) SmartPtr& operator=(const SmartPtr<J>& other)
  {
    if (other.get() == nullptr) {
      reset();
      return *this;
    }
    if (P != nullptr && detail::SameObject(Base(P), other.get())) return *this;
    SmartPtr(other).swap(*this);
    return *this;
  }
  SmartPtr& operator=(std::nullptr_t) noexcept
  {
    reset();
    return *this;
  }

  void reset() noexcept
  {
    if (I* p = std::exchange(P, nullptr)) Base(p)->Release();
  }
  void swap(SmartPtr& other) noexcept { std::swap(P, other.P); }

  I* get() const noexcept { return P; }
  I* operator->() const noexcept { return P; }
  I& operator*() const noexcept { return *P; }
  explicit operator bool() const noexcept { return P != nullptr; }
  bool empty() const noexcept { return P == nullptr; }

  template <class J> bool operator==(const SmartPtr<J>& other) const
  {
    return detail::SameObject(Base(P), other.get());
  }
  bool operator==(std::nullptr_t) const noexcept { return P == nullptr; }

private:
  static IAPIObject* Base(I* p) noexcept { return p; }

  I* P = nullptr;
};

} // namespace txapi
