#include "txhost/lib/Object.h"

#include "txhost/lib/Facet.h"
#include "txhost/lib/Faults.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Kinds.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>
#include <utility>

namespace txhost {

// Every live object of every host in the process, so that references still held can be named after a test,
// and detached objects stay reachable until their last release.
struct Registry
{
  std::mutex Lock;
  Object* First = nullptr; // the live objects, linked through the objects themselves: no allocation per object
  std::size_t Count = 0;
  std::atomic<ObjectId> NextId{1};
  int OverReleases = 0;

  template <class F> void ForEach(F&& f)
  {
    for (Object* o = First; o != nullptr; o = o->LiveNext)
      f(o);
  }

  static Registry& Get()
  {
    // Never destroyed: detached objects may be released by a library's static destructors at exit.
    static Registry* r = new Registry;
    return *r;
  }
};

namespace {

// A property name as the map compares it, compared in line: names are short and differ early, and a
// phantom's objects look theirs up thousands of times at every move.
struct PropertyName
{
  std::string_view Name;
};

// Told apart mostly by the first character; the rest as the library compares it.
int CompareNames(std::string_view a, std::string_view b)
{
  const std::size_t n = std::min(a.size(), b.size());
  if (n > 0 && a[0] != b[0])
    return static_cast<unsigned char>(a[0]) < static_cast<unsigned char>(b[0]) ? -1 : 1;
  if (n > 1)
    if (const int c = std::memcmp(a.data() + 1, b.data() + 1, n - 1); c != 0) return c;
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

[[maybe_unused]] bool operator<(const std::string& a, PropertyName b)
{
  return CompareNames(a, b.Name) < 0;
}
[[maybe_unused]] bool operator<(PropertyName a, const std::string& b)
{
  return CompareNames(a.Name, b) < 0;
}

// Names that differ mostly differ at an end ("x1", "x2").
bool SameName(std::string_view a, std::string_view b)
{
  const std::size_t n = a.size();
  if (n != b.size()) return false;
  if (n == 0) return true;
  if (a[0] != b[0] || a[n - 1] != b[n - 1]) return false;
  return n <= 2 || std::memcmp(a.data() + 1, b.data() + 1, n - 2) == 0;
}

Value* FindProperty(Value& properties, std::string_view name)
{
  if (!properties.is_object()) return nullptr;
  Value::object_t& map = properties.get_ref<Value::object_t&>();
  auto it = map.find(PropertyName{name});
  return it == map.end() ? nullptr : &it->second;
}

const Value NullValue;
const Value NoProperties = Value::object();
const std::vector<Object*> NoObjects;
} // namespace

Object::Object(Host& host, const KindSpec& kind) : HostP(&host), KindP(&kind)
{
  Registry& r = Registry::Get();
  ObjId = r.NextId++;
  std::lock_guard lock(r.Lock);
  LiveNext = r.First;
  if (r.First != nullptr) r.First->LivePrev = this;
  r.First = this;
  ++r.Count;
}

Object::~Object()
{
  {
    Registry& r = Registry::Get();
    std::lock_guard lock(r.Lock);
    (LivePrev != nullptr ? LivePrev->LiveNext : r.First) = LiveNext;
    if (LiveNext != nullptr) LiveNext->LivePrev = LivePrev;
    --r.Count;
  }
  // Host-side state and views go first, as they always did, while the properties are whole; the properties
  // then go without the library's copy of their values.
  RareP.reset();
  Facets.clear();
  Empty(Properties);
  for (Call& c : Calls)
    Empty(c.Arguments);
}

int Object::AddRef()
{
  return ++Refs;
}

int Object::Release()
{
  if (Refs <= 0) {
    // A release the object never handed out; counted for the reference report instead of corrupting it.
    Registry& r = Registry::Get();
    std::lock_guard lock(r.Lock);
    ++r.OverReleases;
    return 0;
  }
  const int left = --Refs;
  if (left == 0 && HostP == nullptr) delete this;
  return left;
}

txapi::IAPIObject* Object::QueryInterface(std::string_view iid)
{
  // Asked mostly with the identifiers' own texts: known by where they are before they are compared.
  const std::string_view identity = txapi::IAPIObject::IID.text();
  if (iid.data() == identity.data() && iid.size() == identity.size()) {
    AddRef();
    return this;
  }
  const FacetEntry* entry = nullptr;
  for (const FacetEntry& e : KindP->Facets)
    if (e.Iid.data() == iid.data() && e.Iid.size() == iid.size()) {
      entry = &e;
      break;
    }
  if (entry == nullptr) {
    if (iid == identity) {
      AddRef();
      return this;
    }
    entry = KindP->Find(iid);
  }
  if (entry == nullptr) return nullptr;
  if (HostP != nullptr && HostP->GetFaults().InterfaceRefused(*this, iid)) return nullptr;
  // A view is made with its entry's name: known by where the name is, and by the name itself only if not.
  FacetBase* facet = nullptr;
  for (const auto& f : Facets)
    if (f->InterfaceName().data() == entry->Name.data() && f->InterfaceName().size() == entry->Name.size()) {
      facet = f.get();
      break;
    }
  if (facet == nullptr)
    for (const auto& f : Facets)
      if (f->InterfaceName() == entry->Name) {
        facet = f.get();
        break;
      }
  if (facet == nullptr) {
    Facets.push_back(entry->Make(*this, entry->Name));
    facet = Facets.back().get();
  }
  AddRef();
  return facet->AsInterface();
}

Object* Object::From(const txapi::IAPIObject* p)
{
  if (p == nullptr) return nullptr;
  auto* mutableP = const_cast<txapi::IAPIObject*>(p);
  txapi::IAPIObject* identity = mutableP->QueryInterface(txapi::IAPIObject::IID);
  if (identity == nullptr) return nullptr;
  auto* o = dynamic_cast<Object*>(identity);
  identity->Release();
  return o;
}

const std::string& Object::Kind() const
{
  return KindP->Name;
}

Host& Object::GetHost() const
{
  if (HostP == nullptr) throw HostError("txhost: the host of this " + KindP->Name + " object is gone");
  return *HostP;
}

const Value& Object::Props() const
{
  Settle();
  return Properties.is_null() ? NoProperties : Properties;
}

const Value* Object::Read(std::string_view name) const
{
  Settle();
  if (RareP == nullptr) return FindProperty(Properties, name);
  Rare& rare = *RareP;
  if (rare.Found && SameName(rare.LastRead->first, name)) return &rare.LastRead->second;
  if (!Properties.is_object()) return nullptr;
  Value::object_t& map = Properties.get_ref<Value::object_t&>();
  auto it = map.find(PropertyName{name});
  if (it == map.end()) return nullptr;
  rare.LastRead = it;
  rare.Found = true;
  return &it->second;
}

bool Object::Has(std::string_view name) const
{
  return Read(name) != nullptr;
}

const Value& Object::Prop(std::string_view name) const
{
  const Value* v = Read(name);
  return v != nullptr ? *v : NullValue;
}

void Object::Set(std::string_view name, Value value)
{
  // Swapped in: the former value goes with the argument, without the copy assignment's temporary.
  Overwrite(name).swap(value);
}

void Object::SetAll(Value properties)
{
  if (!properties.is_object() || properties.empty()) return;
  Settle();
  if (Properties.is_object() && !Properties.empty()) {
    for (auto& [name, value] : properties.get_ref<Value::object_t&>())
      Set(name, std::move(value));
    return;
  }
  if (RareP != nullptr) RareP->Found = false;
  Properties.swap(properties);
}

Value& Object::Overwrite(std::string_view name)
{
  bool wasSet = false;
  return Overwrite(name, wasSet);
}

Value& Object::Overwrite(std::string_view name, bool& wasSet)
{
  wasSet = false;
  // A renewed object sets again what its former life set: those are found in its short list of them.
  if (RareP != nullptr && !RareP->FormerProperties.empty()) {
    auto& former = RareP->FormerProperties;
    for (auto f = former.begin(); f != former.end(); ++f)
      if (SameName((*f)->first, name)) {
        Value& v = (*f)->second;
        *f = former.back();
        former.pop_back();
        return v;
      }
  }
  if (!Properties.is_object()) Properties = Value::object();
  Value::object_t& properties = Properties.get_ref<Value::object_t&>();
  auto it = properties.lower_bound(PropertyName{name});
  if (it != properties.end() && SameName(it->first, name)) {
    wasSet = true;
    return it->second;
  }
  return properties.emplace_hint(it, std::string(name), Value())->second;
}

void Object::Settle() const
{
  if (RareP == nullptr || RareP->FormerProperties.empty()) return;
  Value::object_t& properties = Properties.get_ref<Value::object_t&>();
  RareP->Found = false;
  for (auto it : RareP->FormerProperties) {
    Empty(it->second);
    properties.erase(it);
  }
  RareP->FormerProperties.clear();
}

Value Object::TakeProp(std::string_view name)
{
  const Value* v = Read(name);
  return v == nullptr ? Value() : std::move(*const_cast<Value*>(v)); // the properties are this object's own
}

std::wstring Object::Text(std::string_view name) const
{
  return WideText(Prop(name));
}

Object* Object::RefProp(std::string_view name) const
{
  const ObjectId id = RefId(Prop(name));
  if (id == 0 || HostP == nullptr) return nullptr;
  return HostP->Find(id);
}

std::size_t Object::CallCount(std::string_view op) const
{
  const std::span<const Call> log = Log();
  return std::size_t(std::count_if(log.begin(), log.end(), [&](const Call& c) { return c.Op == op; }));
}

std::vector<const Call*> Object::CallsOf(std::string_view op) const
{
  std::vector<const Call*> out;
  for (const auto& c : Log())
    if (c.Op == op) out.push_back(&c);
  return out;
}

void Object::Record(std::string_view op, Value arguments)
{
  NewCall(op) = std::move(arguments);
  Recorded(op);
}

Value& Object::NewCall(std::string_view op)
{
  if (RareP != nullptr && RareP->Renewed) {
    Rare& rare = *RareP;
    if (rare.Logged < Calls.size()) {
      // The former life's call in this place, taken as it is.
      Call& former = Calls[rare.Logged++];
      if (!SameName(former.Op, op)) former.Op.assign(op);
      // Its arguments stay for the caller to write over (RecordWith) or replace (Record).
      if (!former.Arguments.is_array()) former.Arguments = Value(Value::value_t::array);
      return former.Arguments;
    }
    ++rare.Logged;
  }
  // Made as what it is: the initializer-list form of an empty array takes several times as long.
  Calls.push_back({std::string(op), Value(Value::value_t::array)});
  return Calls.back().Arguments;
}

void Object::Recorded(std::string_view op)
{
  if (HostP == nullptr) return;
  Faults& faults = HostP->GetFaults();
  if (faults.CountCall(*this, op) == Faults::Failure::Throw || faults.CallThrows(*this, op))
    throw HostError("txhost: " + KindP->Name + "." + std::string(op) + " failed (injected)");
}

bool Object::Update()
{
  RecordWith("Update", [](Value::array_t& a) { a.clear(); });
  ++Updates;
  if (HostP != nullptr &&
      (HostP->GetFaults().TakeAnswer(*this, "Update") || HostP->GetFaults().UpdateFails(*this)))
    return false;
  IsApplied = true;
  return true;
}

// Members come and go mostly at the end of the list (the latest drawn, a phantom's objects): searched from
// there, a long list costs nothing.
void Object::AddMember(Object* member)
{
  if (member != nullptr && std::find(MemberList.rbegin(), MemberList.rend(), member) == MemberList.rend())
    MemberList.push_back(member);
}

void Object::AddNewMembers(const std::vector<Object*>& members)
{
  MemberList.reserve(MemberList.size() + members.size());
  for (Object* m : members)
    if (m != nullptr) MemberList.push_back(m);
}

bool Object::RemoveMember(const Object* member)
{
  auto it = std::find(MemberList.rbegin(), MemberList.rend(), member);
  if (it == MemberList.rend()) return false;
  MemberList.erase(std::next(it).base());
  return true;
}

void Object::SetDocument(Object* document)
{
  if (document == DocumentP) return;
  if (DocumentP != nullptr) DocumentP->Unlist(this);
  DocumentP = document;
  if (document == nullptr) return;
  // In creation order, which is the order of the identifiers.
  std::vector<Object*>& list = document->Rarely().Belonging;
  if (list.empty() || list.back()->Id() < ObjId) {
    list.push_back(this);
    return;
  }
  list.insert(std::lower_bound(list.begin(), list.end(), ObjId,
                               [](const Object* o, ObjectId id) { return o->Id() < id; }),
              this);
}

void Object::Unlist(const Object* o)
{
  if (RareP == nullptr) return;
  std::vector<Object*>& list = RareP->Belonging;
  auto it = std::lower_bound(list.begin(), list.end(), o->Id(),
                             [](const Object* b, ObjectId id) { return b->Id() < id; });
  if (it != list.end() && *it == o) list.erase(it);
}

void Object::UnlistLeaving(ObjectId first)
{
  if (RareP == nullptr) return;
  std::vector<Object*>& list = RareP->Belonging;
  auto from = std::lower_bound(list.begin(), list.end(), first,
                               [](const Object* b, ObjectId id) { return b->Id() < id; });
  list.erase(std::remove_if(from, list.end(), [](const Object* b) { return b->Leaving; }), list.end());
}

const std::vector<Object*>& Object::Belongings() const
{
  return RareP != nullptr ? RareP->Belonging : NoObjects;
}

Object::Rare& Object::Rarely()
{
  if (RareP == nullptr) RareP = std::make_unique<Rare>();
  return *RareP;
}

bool Object::Offers(std::string_view iid) const
{
  if (iid == txapi::IAPIObject::IID.text()) return true;
  if (KindP->Find(iid) == nullptr) return false;
  return HostP == nullptr || !HostP->GetFaults().InterfaceRefused(*this, iid);
}

void Object::Detach()
{
  HostP = nullptr;
  ParentP = nullptr;
  DocumentP = nullptr;
  MemberList.clear();
  if (RareP != nullptr) RareP->Belonging.clear();
}

void Object::Renew()
{
  ObjId = Registry::Get().NextId++;
  Refs = 0;
  // What the former life set and logged becomes the storage of what the new one sets and logs; the
  // properties the life before it left unused go, its calls stay as storage.
  Rare& rare = Rarely();
  Settle(); // what the life before it left unused
  if (Properties.is_object()) {
    Value::object_t& properties = Properties.get_ref<Value::object_t&>();
    for (auto it = properties.begin(); it != properties.end(); ++it)
      rare.FormerProperties.push_back(it);
  }
  rare.Renewed = true;
  rare.Logged = 0;
  IsApplied = false;
  Updates = 0;
  ParentP = nullptr;
  MemberList.clear();
  DocumentP = nullptr;
  rare.Belonging.clear();
  // A facet holds nothing but its owner: the views made stay valid for the new object.
  rare.Extras.clear();
  Reported = false;
  Leaving = false;
}

std::vector<HeldObject> HeldObjects()
{
  Registry& r = Registry::Get();
  std::lock_guard lock(r.Lock);
  std::vector<HeldObject> out;
  r.ForEach([&out](Object* o) {
    if (o->Refs > 0 && !o->Reported) out.push_back({o->Id(), o->Kind(), o->Refs, !o->Attached()});
  });
  std::sort(out.begin(), out.end(), [](const HeldObject& a, const HeldObject& b) { return a.Id < b.Id; });
  return out;
}

void MarkHeldObjectsReported()
{
  Registry& r = Registry::Get();
  std::lock_guard lock(r.Lock);
  r.ForEach([](Object* o) {
    if (o->Refs > 0) o->Reported = true;
  });
}

std::size_t LiveObjectCount()
{
  Registry& r = Registry::Get();
  std::lock_guard lock(r.Lock);
  return r.Count;
}

int TakeOverReleases()
{
  Registry& r = Registry::Get();
  std::lock_guard lock(r.Lock);
  return std::exchange(r.OverReleases, 0);
}

} // namespace txhost
