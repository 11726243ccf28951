#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"
#include "txhost/lib/Object.h"
#include "txhost/lib/Value.h"

#include <cstddef>
#include <memory>
#include <string_view>

namespace txhost {

// One interface view of a host object. Implementations map each call onto the generic object model:
// log it with Call(), then read or write the owner's properties, structure and state.
class FacetBase
{
public:
  FacetBase(Object& owner, std::string_view interfaceName) : Owner(owner), Name(interfaceName) {}
  virtual ~FacetBase() = default;
  FacetBase(const FacetBase&) = delete;
  FacetBase& operator=(const FacetBase&) = delete;

  // This facet's interface, as its IAPIObject base.
  virtual txapi::IAPIObject* AsInterface() = 0;
  Object& Model() const { return Owner; }
  std::string_view InterfaceName() const { return Name; }

protected:
  Host& ModelHost() const { return Owner.GetHost(); }

  // Logs the call op with its arguments on the owner (and throws when a fault says so).
  template <class... A> void Log(std::string_view op, const A&... args)
  {
    Owner.RecordWith(op, [&](Value::array_t& a) {
      a.resize(sizeof...(A));
      [[maybe_unused]] std::size_t i = 0;
      (AssignValue(a[i++], args), ...);
    });
  }

  // True when a fault makes the operation op of this interface hand out nothing.
  bool HandOutRefused(std::string_view op) const;

  // A new holder of o's view as I; empty when o is null or does not offer I.
  template <class I> static txapi::SmartPtr<I> HandOut(Object* o)
  {
    if (o == nullptr) return {};
    return txapi::SmartPtr<I>::Attach(static_cast<I*>(o->QueryInterface(I::IID)));
  }

private:
  Object& Owner;
  std::string_view Name;
};

// The base of an implementation of interface I: reference counting and queries go to the owner.
template <class I> class Facet : public FacetBase, public I
{
public:
  using Interface = I;
  Facet(Object& owner, std::string_view interfaceName) : FacetBase(owner, interfaceName) {}

  int AddRef() final { return Model().AddRef(); }
  int Release() final { return Model().Release(); }
  txapi::IAPIObject* QueryInterface(std::string_view iid) final { return Model().QueryInterface(iid); }
  txapi::IAPIObject* AsInterface() final { return static_cast<I*>(this); }
};

// How a kind offers one interface: its identifier, its name and the maker of its facet.
struct FacetEntry
{
  std::string_view Iid;
  std::string_view Name;
  std::unique_ptr<FacetBase> (*Make)(Object& owner, std::string_view name);
};

// The entry of facet class F, which implements F::Interface.
template <class F> FacetEntry Offer(std::string_view interfaceName)
{
  return {F::Interface::IID.text(), interfaceName,
          [](Object& owner, std::string_view name) -> std::unique_ptr<FacetBase> {
            return std::make_unique<F>(owner, name);
          }};
}

} // namespace txhost
