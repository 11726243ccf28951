#pragma once

#include "txapi/IAPIObject.h"
#include "txhost/lib/Value.h"

#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeindex>
#include <typeinfo>
#include <utility>
#include <vector>

namespace txhost {

class FacetBase;
class Host;
struct KindSpec;

// One call made on a host object: the operation's name and its arguments, in call order.
struct Call
{
  std::string Op;
  Value Arguments; // a JSON array
};

// A host object of the generic model: a kind, a property map, the ordered log of the calls made on it, a
// created/applied state with an update count, a parent and members. It exists from the moment a collection
// hands it out; an update applies it.
// Its interface views (facets) are made on first query, as its kind offers them, and share its one
// reference count. The count holds only references handed out through txapi; the host itself keeps its
// objects until their document is closed and nothing of it is referenced (Host::Collect), or until the host
// is destroyed. An object still referenced then is detached: it lives on until its last release, and any
// call that needs the host throws HostError.
class Object final : public txapi::IAPIObject
{
public:
  Object(Host& host, const KindSpec& kind);
  ~Object();
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;

  int AddRef() override;
  int Release() override;
  txapi::IAPIObject* QueryInterface(std::string_view iid) override;

  // The host object behind any view p of it; nullptr for nullptr or a view of something else.
  static Object* From(const txapi::IAPIObject* p);

  ObjectId Id() const { return ObjId; }
  const std::string& Kind() const;
  const KindSpec& Spec() const { return *KindP; }
  Host& GetHost() const;
  bool Attached() const { return HostP != nullptr; }

  // Properties: an object value, empty when none is set.
  const Value& Props() const;
  bool Has(std::string_view name) const;
  // The property's value; null when it is not set.
  const Value& Prop(std::string_view name) const;
  void Set(std::string_view name, Value value);
  // A number or truth value, written over the one the property holds (see AssignValue).
  template <class T>
  requires std::is_arithmetic_v<T>
  void Set(std::string_view name, T value) { AssignValue(Overwrite(name), value); }
  // The property's storage, for a caller that writes it whole in place: it holds the property's value, or
  // on a renewed object (Host::Forget) the one its former life had, or null.
  Value& Overwrite(std::string_view name);
  // Overwrite, and whether the property was set before in this life: when not, the storage holds null or
  // what the former life set, and the caller writes it whole.
  Value& Overwrite(std::string_view name, bool& wasSet);
  // Sets every property of properties (an object), as Set would one by one: an object that has none set
  // yet takes the whole map.
  void SetAll(Value properties);
  // The property's value, moved out (null when it is not set); the property is then null until set again.
  Value TakeProp(std::string_view name);
  // A text property as wide text; empty when it is not set or not text.
  std::wstring Text(std::string_view name) const;
  // The object a reference property refers to; nullptr when none.
  Object* RefProp(std::string_view name) const;

  // The call log.
  std::span<const Call> Log() const
  {
    return {Calls.data(), RareP != nullptr && RareP->Renewed ? RareP->Logged : Calls.size()};
  }
  std::size_t CallCount(std::string_view op) const;
  std::vector<const Call*> CallsOf(std::string_view op) const;
  // Logs a call; then throws HostError when a fault says this call fails.
  void Record(std::string_view op, Value arguments);
  // Record, with the arguments written by fill(array) into an array that fill makes of exactly the call's
  // arguments: on a renewed object it holds the arguments of the former life's call in its place, to be
  // written over (AssignValue), otherwise nothing.
  template <class Fill> void RecordWith(std::string_view op, Fill&& fill)
  {
    fill(NewCall(op).template get_ref<Value::array_t&>());
    Recorded(op);
  }

  // Created/applied state.
  bool Applied() const { return IsApplied; }
  int UpdateCount() const { return Updates; }
  void MarkApplied() { IsApplied = true; }
  // One update: counted and logged as "Update"; applies the object unless a fault makes it answer false.
  bool Update();

  // Structure.
  Object* Parent() const { return ParentP; }
  void SetParent(Object* parent) { ParentP = parent; }
  const std::vector<Object*>& Members() const { return MemberList; }
  void AddMember(Object* member);
  // Appends members the caller knows to be distinct and not members yet (a document being read), without
  // AddMember's search of the list for each one, which made reading a long member list quadratic.
  void AddNewMembers(const std::vector<Object*>& members);
  bool RemoveMember(const Object* member);
  // The document the object belongs to (a document belongs to itself); nullptr for host services.
  Object* Document() const { return DocumentP; }
  void SetDocument(Object* document);
  // For a document: the objects that belong to it (itself included), in creation order.
  const std::vector<Object*>& Belongings() const;

  // Host-side state that is no property (function objects, scripted queues, ...): one value of each type T
  // per object, made on first use. Function objects of a library kept here must be dropped before the
  // library is unloaded.
  template <class T> T& Extra()
  {
    auto& extras = Rarely().Extras;
    for (auto& [type, value] : extras)
      if (type == std::type_index(typeid(T))) return *static_cast<T*>(value.get());
    auto value = std::make_shared<T>();
    extras.emplace_back(std::type_index(typeid(T)), value);
    return *value;
  }

  // The extra of type T when the object has one, never making one: a count over every object of the host
  // stays a read and allocates nothing.
  template <class T> T* FindExtra() const
  {
    if (RareP == nullptr) return nullptr;
    for (auto& [type, value] : RareP->Extras)
      if (type == std::type_index(typeid(T))) return static_cast<T*>(value.get());
    return nullptr;
  }

  // References handed out through txapi and not yet released.
  int RefCount() const { return Refs; }
  // The object answers the query for iid (its kind offers it and no fault refuses it).
  bool Offers(std::string_view iid) const;

private:
  friend class Host;
  void Detach();
  void Unlist(const Object* o); // takes o out of this document's list
  // Takes the objects that are leaving out of this document's list, looking from identifier first on.
  void UnlistLeaving(ObjectId first);
  // Makes a spare object (out of its host, unreferenced) a new one of its kind, with the next identifier:
  // what Host::Create would make, without allocating it anew.
  void Renew();
  // The argument array of a call appended to the log: empty, or on a renewed object the former call's.
  Value& NewCall(std::string_view op);
  void Recorded(std::string_view op);  // the faults' say on the call just logged
  void Settle() const;                  // takes out the former properties not set again
  const Value* Read(std::string_view name) const; // the property as set; nullptr when it is not

  // What few objects have, apart: a large document's many objects stay small.
  struct Rare
  {
    std::vector<Object*> Belonging; // of a document: what belongs to it, by identifier
    std::vector<std::pair<std::type_index, std::shared_ptr<void>>> Extras;
    // A renewed object's former properties and calls, whose storage the new ones take as they are set and
    // logged: a phantom's objects are drawn again with the same properties and calls at every move. The
    // former properties stay where they are in the map, listed here until set again: any read first takes
    // out those still listed, so that nothing of the former life ever shows. The former calls stay in the
    // log past the calls of this life, which are the first Logged of them; the log shows those alone.
    std::vector<Value::object_t::iterator> FormerProperties;
    bool Renewed = false;
    std::size_t Logged = 0;
    // The property read last: a document's stack of placements is read for every object drawn into it.
    // Valid while Found; nothing but Settle takes a property out of the map.
    Value::object_t::iterator LastRead;
    bool Found = false;
  };
  Rare& Rarely();

  Host* HostP;
  const KindSpec* KindP;
  ObjectId ObjId;
  int Refs = 0;
  int Updates = 0;
  bool IsApplied = false;
  bool Reported = false;        // already named by a reference report
  mutable bool Leaving = false; // being taken out of its host (Host::Drop)
  mutable Value Properties;     // null until the first property is set; see Rare::FormerProperties
  std::vector<Call> Calls;
  Object* ParentP = nullptr;
  std::vector<Object*> MemberList;
  Object* DocumentP = nullptr;
  Object* LivePrev = nullptr; // the process's live objects
  Object* LiveNext = nullptr;
  std::vector<std::unique_ptr<FacetBase>> Facets; // made on first query, one per offered interface
  std::unique_ptr<Rare> RareP;

  friend struct Registry;
  friend std::vector<struct HeldObject> HeldObjects();
  friend void MarkHeldObjectsReported();
};

// An object that is still referenced.
struct HeldObject
{
  ObjectId Id;
  std::string Kind;
  int Refs;
  bool Detached;
};

// Every object of any host in this process that is still referenced and not reported before.
std::vector<HeldObject> HeldObjects();
// Marks the objects HeldObjects() names as reported, so that one leak is named once.
void MarkHeldObjectsReported();
// The live objects of every host in this process, detached ones included.
std::size_t LiveObjectCount();
// Releases of objects whose count was already zero, since the last call (which resets the count).
int TakeOverReleases();

} // namespace txhost
