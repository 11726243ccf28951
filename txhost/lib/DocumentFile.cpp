#include "txhost/lib/DocumentFile.h"

#include "txhost/lib/FileInput.h"
#include "txhost/lib/FileOutput.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Kinds.h"
#include "txhost/lib/Model.h"
#include "txhost/lib/Model3D.h"
#include "txhost/lib/Object.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <deque>
#include <filesystem>
#include <initializer_list>
#include <iterator>
#include <map>
#include <span>
#include <system_error>
#include <type_traits>
#include <unordered_map>

namespace txhost {

namespace {

constexpr const char* FormatName = "txhost-document";

// Properties that describe the session, not the document's content.
bool SessionOnly(const std::string& key)
{
  return key == "path" || key == "visible" || key == "fileStamp";
}

// Replaces every reference in v by what to(id, mapped) gives; a reference it does not know (it answers false)
// becomes a reference to nothing.
template <class To> void MapRefs(Value& v, const To& to)
{
  // Most values are numbers and texts, alone or in lists: nothing to look for in them.
  if (!v.is_structured()) return;
  if (IsRef(v)) {
    Value& id = v["$obj"];
    std::uint64_t mapped = 0;
    if (id.is_number_unsigned() && to(id.get<ObjectId>(), mapped))
      id = mapped;
    else
      id = nullptr;
    return;
  }
  for (auto& e : v)
    MapRefs(e, to);
}

// Which references a stored value holds, for an object made when made objects are: none, only to objects made
// by then, or also to later ones.
enum class Refs { None, Back, Ahead };

Refs RefsIn(const Value& v, std::size_t made)
{
  if (!v.is_structured()) return Refs::None;
  if (IsRef(v)) {
    const Value& id = v["$obj"];
    return id.is_number_unsigned() && id.get<std::uint64_t>() >= made ? Refs::Ahead : Refs::Back;
  }
  Refs refs = Refs::None;
  for (const Value& e : v) {
    refs = std::max(refs, RefsIn(e, made));
    if (refs == Refs::Ahead) break;
  }
  return refs;
}

bool Fail(std::string& error, const std::string& message)
{
  error = message;
  return false;
}

// One object of a file as the checks and the making of its object need it. The file's tree of it is gone
// once it is read, its properties moved here: a document is never held twice, as a tree and as objects.
struct StoredObject
{
  const KindSpec* Kind = nullptr;
  std::size_t Parent = 0;
  bool HasParent = false;
  bool Applied = false;
  std::size_t MembersEnd = 0; // its members are StoredObjects::Members from the previous object's end to here
  Value Props;                // null when the file gives none
};

// The objects of a file, in file order. Reading stops keeping them at the first object whose own entry
// is wrong: the checks run in file order, and that one or an earlier one fails them.
struct StoredObjects
{
  std::deque<StoredObject> Objects;
  std::vector<std::uint64_t> Members; // the indices the member lists name, as the file gives them
  std::size_t Count = 0;              // the objects the file holds, kept or not
  // The first wrong object, and what is wrong with it at each step of the checks that its entry alone
  // decides; between them come the steps that need the document's type or the number of objects.
  std::size_t Wrong = std::size_t(-1);
  std::string KindFault;   // not an object, no kind, an unknown kind
  std::string PlaceFault;  // a document inside a document, a bad parent
  std::string MemberFault; // a member list that is no list, or a member that is no index
  std::string StateFault;  // the applied state, the properties

  // Takes the object's properties out of a tree that goes (Value), or copies them from one kept (const
  // Value): a tree of one object as a whole is never copied.
  template <class V> void Add(V& object);
};

bool IsServiceKind(std::string_view kind)
{
  return kind == kinds::Application || kind == kinds::Registrar || kind == kinds::Documents ||
         kind == kinds::Error || kind == kinds::Translator || kind == kinds::LibraryRecord;
}

bool ReadIndex(const Value& v, std::size_t count, std::size_t& index)
{
  if (!v.is_number_unsigned()) return false;
  const auto i = v.get<std::uint64_t>();
  if (i >= count) return false;
  index = std::size_t(i);
  return true;
}

// The properties the host itself reads, with the type it reads them as. A stored value of another type
// would read as nothing, or worse; any other property is the library's and may hold any value.
enum class PropType { Text, Boolean, Integer, Reference };

struct KnownProperty
{
  std::string_view Name;
  PropType Type;
  // Read by the host from the document object only: on any other object the name is the library's
  // (a sweep keeps its path curves under "path").
  bool DocumentOnly = false;
};

constexpr KnownProperty KnownProperties[]{
    {"name", PropType::Text},        {"marking", PropType::Text}, {"path", PropType::Text, true},
    {"font", PropType::Text},        {"visible", PropType::Boolean}, {"type", PropType::Integer},
    {"hideMessage", PropType::Integer}, {"topPart", PropType::Reference},
};

bool HasType(const Value& v, PropType type)
{
  switch (type) {
  case PropType::Text:
    return v.is_string();
  case PropType::Boolean:
    return v.is_boolean();
  case PropType::Integer:
    return v.is_number_integer();
  case PropType::Reference:
    return v.is_null() || IsRef(v);
  }
  return false;
}

const char* TypeName(PropType type)
{
  switch (type) {
  case PropType::Text:
    return "text";
  case PropType::Boolean:
    return "true or false";
  case PropType::Integer:
    return "a whole number";
  case PropType::Reference:
    return "a reference";
  }
  return "";
}

// Where object i of a file is, for a message.
std::string ObjectAt(std::size_t i)
{
  return "object " + std::to_string(i) + ": ";
}

// What is wrong with the properties of object i (the document when i is 0); empty when nothing is.
// The properties are looked at once each, and the first of the known ones that is wrong is named.
std::string PropertyFault(const Value& props, std::size_t i)
{
  constexpr std::size_t none = std::size(KnownProperties);
  std::size_t first = none;
  for (const auto& [key, value] : props.get_ref<const Value::object_t&>())
    for (std::size_t k = 0; k < none; ++k) {
      const KnownProperty& known = KnownProperties[k];
      if (key.size() != known.Name.size() || key[0] != known.Name[0] || key != known.Name) continue;
      if (!(known.DocumentOnly && i != 0) && !HasType(value, known.Type)) first = std::min(first, k);
      break;
    }
  if (first == none) return {};
  const KnownProperty& k = KnownProperties[first];
  return "property \"" + std::string(k.Name) + "\" must be " + TypeName(k.Type);
}

// The index a stored reference names; false for a reference to nothing or a malformed one.
bool RefIndex(const Value& v, std::size_t count, std::size_t& index)
{
  return IsRef(v) && ReadIndex(v["$obj"], count, index);
}

// A 3D document's top part is a part of the document; a 2D document has none.
bool CheckTopPart(const std::deque<StoredObject>& objects, int type, std::string& error)
{
  static const Value none = Value::object();
  const Value& props = objects[0].Props.is_object() ? objects[0].Props : none;
  auto it = props.find("topPart");
  if (it == props.end() || it->is_null() || (IsRef(*it) && (*it)["$obj"].is_null())) return true;
  const bool is3D = type == txapi::txDocumentPart || type == txapi::txDocumentAssembly ||
                    type == txapi::txDocumentTechnologyAssembly;
  if (!is3D) return Fail(error, "a " + DocumentTypeName(type) + " has no top part");
  std::size_t index = 0;
  if (!RefIndex(*it, objects.size(), index)) return Fail(error, "the top part is not an object of the file");
  if (index == 0) return Fail(error, "the top part is the document itself");
  if (objects[index].Kind->Name != kinds::Part) return Fail(error, "the top part is not a part");
  return true;
}

template <class V> void StoredObjects::Add(V& o)
{
  const std::size_t i = Count++;
  if (Wrong < i) return;
  auto wrong = [&](std::string& fault, std::string message) {
    Wrong = i;
    fault = std::move(message);
  };
  if (!o.is_object()) return wrong(KindFault, "not an object");
  auto kind = o.find("kind");
  if (kind == o.end() || !kind->is_string()) return wrong(KindFault, "kind missing");
  const std::string& kindName = kind->template get_ref<const std::string&>();
  const KindSpec* spec = KindTable::Builtin().Find(kindName);
  if (spec == nullptr || IsServiceKind(kindName)) return wrong(KindFault, "unknown kind \"" + kindName + "\"");
  StoredObject& p = Objects.emplace_back();
  p.Kind = spec;
  p.MembersEnd = Members.size();
  // Whether the first object is the document the file's type names is for the checks to say.
  if (i != 0 && DocumentTypeOfKind(kindName) != 0) return wrong(PlaceFault, "a document inside a document");
  auto parent = o.find("parent");
  if (parent != o.end() && !parent->is_null()) {
    // Parents come first, which also rules out cycles.
    if (!ReadIndex(*parent, i, p.Parent)) return wrong(PlaceFault, "bad parent");
    p.HasParent = true;
  }
  auto members = o.find("members");
  if (members != o.end()) {
    if (!members->is_array()) return wrong(MemberFault, "bad member list");
    for (const Value& m : *members) {
      if (!m.is_number_unsigned()) return wrong(MemberFault, "bad member");
      Members.push_back(m.get<std::uint64_t>());
    }
    p.MembersEnd = Members.size();
  }
  auto applied = o.find("applied");
  if (applied != o.end()) {
    if (!applied->is_boolean()) return wrong(StateFault, "bad applied state");
    p.Applied = applied->template get<bool>();
  }
  auto props = o.find("props");
  if (props != o.end()) {
    if (!props->is_object()) return wrong(StateFault, "bad properties");
    if (std::string fault = PropertyFault(*props, i); !fault.empty()) return wrong(StateFault, std::move(fault));
    if constexpr (std::is_const_v<V>)
      p.Props = *props;
    else
      p.Props = std::move(*props);
  }
}

// The document's own entries: its format, version and type, and a list of objects.
bool CheckDocument(const Value& root, int& type, std::string& error)
{
  if (!root.is_object()) return Fail(error, "not a document file (no JSON object)");
  auto format = root.find("format");
  if (format == root.end() || *format != FormatName) return Fail(error, "not a document file (format)");
  auto version = root.find("version");
  if (version == root.end() || !version->is_number_integer() || *version != DocumentFileVersion)
    return Fail(error, "unsupported document file version");
  auto t = root.find("type");
  if (t == root.end()) return Fail(error, "document type missing");
  // A number that is no whole number of 64 bits (1e300, 2^64) is out of range, not some other type.
  if (t->is_number_float() || (t->is_number_unsigned() && t->get<std::uint64_t>() > 1000))
    return Fail(error, "document type out of range");
  if (!t->is_number_integer()) return Fail(error, "document type is not a number");
  const auto typeValue = t->get<std::int64_t>();
  if (typeValue < 0 || typeValue > 1000 || DocumentKind(txapi::DocumentTypeEnum(typeValue)).empty())
    return Fail(error, "unsupported document type " + std::to_string(typeValue));
  type = int(typeValue);
  auto objects = root.find("objects");
  if (objects == root.end() || !objects->is_array()) return Fail(error, "document objects missing");
  return true;
}

// Whether an object is among its own members, directly or through theirs: every walk of a document's
// members (a macro's drawing inside the macros it holds) would go round for ever. Each object is visited
// once, with a stack of its own, so a deep document takes no more than its size.
bool CheckMemberCycles(const StoredObjects& s, std::string& error)
{
  const std::size_t n = s.Objects.size();
  auto first = [&](std::size_t i) { return i == 0 ? std::size_t(0) : s.Objects[i - 1].MembersEnd; };
  enum : char { New, Open, Done };
  std::vector<char> state(n, New);
  std::vector<std::pair<std::size_t, std::size_t>> path; // an object open, and where its next member is
  for (std::size_t root = 0; root < n; ++root) {
    if (state[root] != New) continue;
    state[root] = Open;
    path.emplace_back(root, first(root));
    while (!path.empty()) {
      auto& [o, next] = path.back();
      if (next == s.Objects[o].MembersEnd) {
        state[o] = Done;
        path.pop_back();
        continue;
      }
      const auto m = std::size_t(s.Members[next++]);
      if (state[m] == Open) return Fail(error, ObjectAt(m) + "bad member (a member of its own members)");
      if (state[m] == New) {
        state[m] = Open;
        path.emplace_back(m, first(m));
      }
    }
  }
  return true;
}

// Whether a 3D macro object is among the objects it groups, directly or through the macros it groups: they
// are listed by reference (its property "members"), not as its members, and every walk of the model tree
// (a print of it) would go round for ever, as through a 2D macro among its own members.
bool CheckMacroCycles(const StoredObjects& s, std::string& error)
{
  const std::size_t n = s.Objects.size();
  // The macros each macro lists, as indices into the objects.
  auto grouped = [&](std::size_t i, std::vector<std::size_t>& out) {
    out.clear();
    const StoredObject& o = s.Objects[i];
    if (o.Kind->Name != model::Macro3D || !o.Props.is_object()) return;
    const auto members = o.Props.find("members");
    if (members == o.Props.end() || !members->is_array()) return;
    for (const Value& r : *members)
      if (std::size_t m = 0; RefIndex(r, n, m) && s.Objects[m].Kind->Name == model::Macro3D) out.push_back(m);
  };
  enum : char { New, Open, Done };
  std::vector<char> state(n, New);
  struct Step
  {
    std::size_t Object;
    std::vector<std::size_t> Members;
    std::size_t Next = 0;
  };
  std::vector<Step> path;
  for (std::size_t root = 0; root < n; ++root) {
    if (state[root] != New || s.Objects[root].Kind->Name != model::Macro3D) continue;
    state[root] = Open;
    path.push_back({root, {}});
    grouped(root, path.back().Members);
    while (!path.empty()) {
      Step& step = path.back();
      if (step.Next == step.Members.size()) {
        state[step.Object] = Done;
        path.pop_back();
        continue;
      }
      const std::size_t m = step.Members[step.Next++];
      if (state[m] == Open) return Fail(error, ObjectAt(m) + "bad member (a 3D macro among its own members)");
      if (state[m] == New) {
        state[m] = Open;
        path.push_back({m, {}});
        grouped(m, path.back().Members);
      }
    }
  }
  return true;
}

// The objects, in file order, each step by step; a member named twice in one list is kept once, where it
// first stands, as adding it to the object would keep it.
bool CheckObjects(StoredObjects& s, int type, std::string& error)
{
  if (s.Count == 0) return Fail(error, "document objects missing");
  const std::size_t n = s.Count;
  // Which object's list last named each object.
  std::vector<std::size_t> listedBy(n, n);
  std::size_t from = 0, kept = 0;
  for (std::size_t i = 0; i <= s.Wrong && i < n; ++i) {
    const bool wrong = i == s.Wrong;
    auto fail = [&](const std::string& fault) { return Fail(error, ObjectAt(i) + fault); };
    if (wrong && !s.KindFault.empty()) return fail(s.KindFault);
    StoredObject& p = s.Objects[i];
    if (i == 0 && p.Kind->Name != DocumentKind(txapi::DocumentTypeEnum(type)))
      return Fail(error, "the first object is not the document");
    if (wrong && !s.PlaceFault.empty()) return fail(s.PlaceFault);
    for (; from < p.MembersEnd; ++from) {
      const std::uint64_t m = s.Members[from];
      if (m >= n || m == i) return fail("bad member");
      if (listedBy[m] == i) continue;
      listedBy[m] = i;
      s.Members[kept++] = m;
    }
    p.MembersEnd = kept;
    if (wrong && !s.MemberFault.empty()) return fail(s.MemberFault);
    if (wrong) return fail(s.StateFault);
  }
  return CheckMemberCycles(s, error) && CheckMacroCycles(s, error) && CheckTopPart(s.Objects, type, error);
}

// The arrays of text that hold many elements, each as (the how-manieth array it is, its elements), in the
// order they open. The parse makes each at its size at once: grown as it filled, an array of n values held
// room for up to 2n while it grew, and copied them at each step. Counted on the text alone (a comma
// between values is one more); where the text is no JSON the count may be off, which costs only room.
// Sorted by the first.
std::vector<std::pair<std::size_t, std::size_t>> LongArrays(std::string_view text)
{
  constexpr std::size_t Long = 64;
  constexpr std::size_t NoArray = std::size_t(-1);
  struct Open
  {
    std::size_t Ordinal = NoArray; // the how-manieth array; NoArray for an object or outside everything
    std::size_t Count = 0;
    bool Pending = false; // a value since the last comma
  };
  std::vector<std::pair<std::size_t, std::size_t>> out;
  std::vector<Open> outer; // the ones the current one is inside
  Open top;
  std::size_t arrays = 0;
  // Nested deeper than a document may be, the text is refused by the parse: counting stops there.
  for (std::size_t i = 0; i < text.size() && outer.size() <= std::size_t(MaxDocumentFileDepth); ++i) {
    const char c = text[i];
    switch (c) {
    case ' ': case '\n': case '\r': case '\t':
      break;
    case ',': case ']': case '}':
      if (top.Pending) ++top.Count;
      top.Pending = false;
      if (c == ',' || outer.empty()) break;
      if (top.Ordinal != NoArray && top.Count >= Long) out.emplace_back(top.Ordinal, top.Count);
      top = outer.back();
      outer.pop_back();
      break;
    case '[': case '{':
      top.Pending = true;
      outer.push_back(top);
      top = Open{c == '[' ? arrays++ : NoArray};
      break;
    case '"':
      top.Pending = true;
      for (++i; i < text.size() && text[i] != '"'; ++i)
        if (text[i] == '\\') ++i;
      break;
    default:
      top.Pending = true;
    }
  }
  std::sort(out.begin(), out.end());
  return out;
}

// The tree of a document file's text, parsed with the nesting limit checked as objects and arrays open (the
// parser's per-value callback, the library's own way to limit nesting, costs time quadratic in the size),
// and arrays made at their size. With a list to keep them in, the objects of the document's object list
// go there one by one as they are read, and the tree keeps an empty list: a large document is never held
// whole as a tree of values next to what is made of it.
class DocumentParse
{
public:
  DocumentParse(Value& root, std::string_view text, StoredObjects* objects, bool measure)
      : Root(root), Sizes(LongArrays(text)), Objects(objects), Measure(measure)
  {
  }

  std::string Error;
  // With measure, at most how many bytes the document's saved form may take beyond its text: what its
  // numbers take more in the form the writer gives them ("1e14" is written "100000000000000.0"), and a
  // reference to nothing written as null. Every other value is written as short as a text can give it.
  std::size_t Growth = 0;

  bool null() { return Put(nullptr); }
  bool boolean(bool value) { return Put(value); }
  bool number_integer(std::int64_t value) { return Put(value); }
  bool number_unsigned(std::uint64_t value) { return Put(value); }
  // JSON has no infinity or NaN; a number too large for a double would come back as one.
  bool number_float(double value, const std::string& text)
  {
    if (std::isfinite(value)) {
      if (Measure) {
        char written[64];
        const auto length =
            std::size_t(nlohmann::detail::to_chars(written, written + sizeof written, value) - written);
        Growth += length > text.size() ? length - text.size() : 0;
      }
      return Put(value);
    }
    Error = "a number out of range (" + text.substr(0, 40) + ")";
    return false;
  }
  bool string(std::string& value) { return Put(std::move(value)); }
  bool binary(Value::binary_t& value) { return Put(std::move(value)); }
  bool start_object(std::size_t)
  {
    if (!Open()) return false;
    Stack.push_back(Place(Value::object()));
    return true;
  }
  bool key(std::string& name)
  {
    // The document's object list, when its objects are kept as read.
    ObjectListNext = Objects != nullptr && Stack.size() == 1 && name == "objects";
    if (Measure && name == "$obj") Growth += 3; // a one-character index written as null
    Slot = &(*Stack.back())[std::move(name)];
    return true;
  }
  bool end_object() { return Close(); }
  bool start_array(std::size_t)
  {
    if (!Open()) return false;
    const bool list = ObjectListNext;
    Value* array = Place(Value::array());
    const std::size_t ordinal = Arrays++;
    while (Next < Sizes.size() && Sizes[Next].first < ordinal)
      ++Next;
    if (Next < Sizes.size() && Sizes[Next].first == ordinal && !list)
      array->get_ref<Value::array_t&>().reserve(Sizes[Next].second);
    if (list) {
      // A list named twice: the last one stands, as in a tree.
      ObjectList = array;
      *Objects = StoredObjects();
    }
    Stack.push_back(array);
    return true;
  }
  bool end_array()
  {
    if (Stack.back() == ObjectList) ObjectList = nullptr;
    return Close();
  }
  bool parse_error(std::size_t position, const std::string&, const nlohmann::json::exception& e)
  {
    // The library's own text names its internals; say what is wrong and where.
    const bool utf8 = std::string_view(e.what()).find("UTF-8") != std::string_view::npos;
    Error = std::string(utf8 ? "text that is not valid UTF-8" : "not valid JSON") +
            (position > 0 ? " (at byte " + std::to_string(position) + ")" : "");
    return false;
  }

private:
  bool Open()
  {
    if (++Depth <= MaxDocumentFileDepth) return true;
    // Appended piece by piece: gcc 12 at -O3 takes the concatenated temporaries for out-of-bounds copies.
    Error = "nested more than ";
    Error += std::to_string(MaxDocumentFileDepth);
    Error += " levels deep";
    return false;
  }
  bool Close()
  {
    --Depth;
    Stack.pop_back();
    TakeObject();
    return true;
  }
  // Puts a value where the next one goes; where it is.
  template <class V> Value* Place(V&& value)
  {
    ObjectListNext = false;
    if (Stack.empty()) {
      Root = Value(std::forward<V>(value));
      return &Root;
    }
    if (Stack.back()->is_array()) {
      Value::array_t& array = Stack.back()->get_ref<Value::array_t&>();
      array.emplace_back(std::forward<V>(value));
      return &array.back();
    }
    *Slot = Value(std::forward<V>(value));
    return Slot;
  }
  template <class V> bool Put(V&& value)
  {
    Place(std::forward<V>(value));
    TakeObject();
    return true;
  }
  // An object of the document's list that is read whole goes to the list of objects.
  void TakeObject()
  {
    if (ObjectList == nullptr || Stack.empty() || Stack.back() != ObjectList || ObjectList->empty()) return;
    Value::array_t& list = ObjectList->get_ref<Value::array_t&>();
    Objects->Add(list.back());
    list.pop_back();
  }

  Value& Root;
  std::vector<Value*> Stack; // the objects and arrays open, innermost last
  Value* Slot = nullptr;     // where an object's next value goes
  int Depth = 0;
  std::vector<std::pair<std::size_t, std::size_t>> Sizes;
  std::size_t Arrays = 0, Next = 0;
  StoredObjects* Objects;
  bool Measure;
  bool ObjectListNext = false; // the value that comes is the document's object list
  Value* ObjectList = nullptr; // the document's object list, while it is read
};

// Makes v what a parse of its text gives (a whole number not below 0 reads as an unsigned one; the text
// is the same); false when v holds a number that is not finite, which JSON would hold as null.
bool AsParsed(Value& v)
{
  if (v.is_number_float()) return std::isfinite(v.get<double>());
  if (v.is_number_integer() && !v.is_number_unsigned()) {
    if (const auto n = v.get<std::int64_t>(); n >= 0) v = std::uint64_t(n);
    return true;
  }
  bool finite = true;
  if (v.is_structured())
    for (Value& e : v)
      finite = AsParsed(e) && finite;
  return finite;
}

std::size_t Digits(std::uint64_t u)
{
  std::size_t digits = 1;
  for (; u >= 10; u /= 10)
    ++digits;
  return digits;
}

// At least how many bytes v takes in the indented form at this indentation, counted until stop: texts
// without their escapes, fractions as one digit.
std::size_t IndentedAtLeast(const Value& v, std::size_t indent, std::size_t stop)
{
  switch (v.type()) {
  case Value::value_t::array:
  case Value::value_t::object: {
    if (v.empty()) return 2;
    // The brackets, the commas, and a line of its own for each value and for the closing bracket.
    std::size_t n = 2 + (v.size() - 1) + 1 + indent;
    for (auto it = v.begin(); it != v.end() && n < stop; ++it) {
      n += 1 + indent + 1 + IndentedAtLeast(*it, indent + 1, stop);
      if (v.is_object()) n += it.key().size() + 4; // "key": value
    }
    return n;
  }
  case Value::value_t::string:
    return v.get_ref<const std::string&>().size() + 2;
  case Value::value_t::number_unsigned:
    return Digits(v.get<std::uint64_t>());
  case Value::value_t::number_integer: {
    const auto i = v.get<std::int64_t>();
    return i < 0 ? 1 + Digits(0 - std::uint64_t(i)) : Digits(std::uint64_t(i));
  }
  case Value::value_t::boolean:
    return v.get<bool>() ? 4 : 5;
  case Value::value_t::null:
    return 4;
  default:
    return 1;
  }
}

// The text of root in the indented form, when it takes at most limit bytes; false as soon as it would take
// more (the text is then not made whole, which took as long as the form written in its place). Once the
// text grows past measureFrom bytes, root is measured first (IndentedAtLeast): a document that cannot fit
// is given up at once, and one of ordinary size is never measured.
bool IndentedText(const Value& root, std::size_t limit, std::size_t measureFrom, std::string& text)
{
  struct TooLong
  {
  };
  // Written into the text's room directly, which the text is grown to ahead (the serializer writes a few
  // bytes at a time: a string's append per write took as long as the rest of writing).
  struct LimitedText : nlohmann::detail::output_adapter_protocol<char>
  {
    std::string& Text;
    std::size_t Limit;
    const Value& Root;
    std::size_t Check; // the length at which to look again: where it is measured, then the limit
    std::size_t Length = 0;
    LimitedText(std::string& text, std::size_t limit, std::size_t measureFrom, const Value& root)
        : Text(text), Limit(limit), Root(root), Check(std::min(limit, measureFrom))
    {
      Text.resize(Text.capacity());
    }
    // Before n more bytes: throws when the text would take more than the limit.
    void Look(std::size_t n)
    {
      if (n > Limit - Length) throw TooLong();
      if (Check == Limit) return;
      Check = Limit;
      if (IndentedAtLeast(Root, 0, Limit + 1) > Limit) throw TooLong();
    }
    void Room(std::size_t n) { Text.resize(std::max(2 * Text.size(), Length + n + 4096)); }
    void write_character(char c) override
    {
      if (Length >= Check) Look(1);
      if (Length == Text.size()) Room(1);
      Text[Length++] = c;
    }
    void write_characters(const char* s, std::size_t n) override
    {
      if (n > Check - Length || Length > Check) Look(n);
      if (n > Text.size() - Length) Room(n);
      std::memcpy(Text.data() + Length, s, n);
      Length += n;
    }
  };
  text.clear();
  try {
    auto written = std::make_shared<LimitedText>(text, limit, measureFrom, root);
    nlohmann::detail::serializer<Value> out(written, ' ');
    out.dump(root, true, false, 1);
    text.resize(written->Length);
  } catch (const TooLong&) {
    text = std::string();
    return false;
  } catch (...) {
    text.clear();
    throw;
  }
  return true;
}

// Makes dst what a copy of src would be, taking dst's storage wherever the two have the same shape: a
// document saved again mostly has the same objects with the same properties, and its tree is written over the
// last.
void CopyOver(Value& dst, const Value& src)
{
  using Type = Value::value_t;
  if (dst.type() == src.type()) switch (src.type()) {
    case Type::object: {
      Value::object_t& d = dst.get_ref<Value::object_t&>();
      const Value::object_t& s = src.get_ref<const Value::object_t&>();
      if (d.size() != s.size() ||
          !std::equal(d.begin(), d.end(), s.begin(),
                      [](const auto& a, const auto& b) { return a.first == b.first; }))
        break;
      auto at = d.begin();
      for (const auto& entry : s)
        CopyOver((at++)->second, entry.second);
      return;
    }
    case Type::array: {
      Value::array_t& d = dst.get_ref<Value::array_t&>();
      const Value::array_t& s = src.get_ref<const Value::array_t&>();
      for (std::size_t i = s.size(); i < d.size(); ++i)
        Empty(d[i]);
      if (d.size() > s.size()) d.resize(s.size());
      const std::size_t kept = d.size();
      for (std::size_t i = 0; i < kept; ++i)
        CopyOver(d[i], s[i]);
      d.insert(d.end(), s.begin() + std::ptrdiff_t(kept), s.end());
      return;
    }
    case Type::string:
      dst.get_ref<std::string&>() = src.get_ref<const std::string&>();
      return;
    case Type::boolean:
      dst.get_ref<bool&>() = src.get<bool>();
      return;
    case Type::number_integer:
      *dst.get_ptr<Value::number_integer_t*>() = *src.get_ptr<const Value::number_integer_t*>();
      return;
    case Type::number_unsigned:
      *dst.get_ptr<Value::number_unsigned_t*>() = *src.get_ptr<const Value::number_unsigned_t*>();
      return;
    case Type::number_float:
      *dst.get_ptr<Value::number_float_t*>() = *src.get_ptr<const Value::number_float_t*>();
      return;
    case Type::null:
      return;
    default:
      break;
    }
  Empty(dst);
  dst = src;
}

// v as an object of exactly these keys, in their order (which is the map's), each value left where it was
// when v had them all, else null.
Value::object_t& Shaped(Value& v, std::span<const char* const> keys)
{
  if (v.is_object()) {
    Value::object_t& map = v.get_ref<Value::object_t&>();
    if (map.size() == keys.size() && std::equal(map.begin(), map.end(), keys.begin(),
                                                [](const auto& a, const char* b) { return a.first == b; }))
      return map;
  }
  Empty(v);
  v = Value(Value::value_t::object);
  Value::object_t& map = v.get_ref<Value::object_t&>();
  for (const char* key : keys)
    map.emplace_hint(map.end(), key, Value());
  return map;
}

// Of a document's objects, those its file holds: a deleted object is no part of it, nor is anything under
// one (a cancelled phantom's macro and its content).
std::vector<Object*> Saved(std::vector<Object*> objects)
{
  std::unordered_map<const Object*, bool> gone; // decided so far: whether it or an object above it is deleted
  std::vector<const Object*> path;
  const std::size_t count = objects.size(); // parents never loop; a walk longer than this would
  std::erase_if(objects, [&](const Object* o) {
    // Up the parents to the first one decided (or none), then down again.
    path.clear();
    bool deleted = false;
    for (const Object* at = o; at != nullptr && path.size() <= count; at = at->Parent()) {
      if (auto it = gone.find(at); it != gone.end()) {
        deleted = it->second;
        break;
      }
      path.push_back(at);
    }
    for (auto it = path.rbegin(); it != path.rend(); ++it)
      gone[*it] = deleted = deleted || model::Deleted(**it);
    return deleted;
  });
  return objects;
}

// The document as its file holds it: the tree and its text. The tree is written over what root holds (the
// tree of the file's last save or read, or nothing).
bool DocumentText(const Host& host, const Object& document, const std::filesystem::path& file, Value& root,
                  std::string& text, std::string& error)
{
  const std::vector<Object*> objects = Saved(host.ObjectsOf(document));
  std::unordered_map<ObjectId, std::size_t> index;
  index.reserve(objects.size());
  for (std::size_t i = 0; i < objects.size(); ++i)
    index[objects[i]->Id()] = i;

  static constexpr const char* rootKeys[]{"format", "objects", "type", "version"};
  Value::object_t& r = Shaped(root, rootKeys);
  auto field = r.begin();
  Value& format = (field++)->second;
  Value& list = (field++)->second;
  Value& type = (field++)->second;
  Value& version = field->second;
  CopyOver(format, Value(FormatName));
  for (auto [slot, number] :
       {std::pair<Value*, int>{&type, Host::DocumentType(document)}, {&version, DocumentFileVersion}}) {
    Value v = number;
    AsParsed(v);
    CopyOver(*slot, v);
  }
  if (!list.is_array()) {
    Empty(list);
    list = Value(Value::value_t::array);
  }
  Value::array_t& entries = list.get_ref<Value::array_t&>();
  for (std::size_t i = objects.size(); i < entries.size(); ++i)
    Empty(entries[i]);
  entries.resize(objects.size());
  // The first property that holds a number that is not finite, as "property NAME of a KIND".
  std::string where;
  Value own; // the document's own properties
  for (std::size_t i = 0; i < objects.size(); ++i) {
    const Object* o = objects[i];
    // What the reader takes when it is missing is left out (not applied, no members, no parent, no
    // properties): a file of many small objects is then no larger saved than it was when it opened.
    const Value* ownProps = &o->Props();
    if (o == &document) {
      Empty(own);
      own = Value(Value::value_t::object);
      Value::object_t& map = own.get_ref<Value::object_t&>();
      for (const auto& [key, value] : o->Props().get_ref<const Value::object_t&>())
        if (!SessionOnly(key)) map.emplace_hint(map.end(), key, value);
      ownProps = &own;
    }
    std::size_t listed = 0;
    for (const Object* member : o->Members())
      listed += index.count(member->Id());
    auto p = o->Parent() != nullptr ? index.find(o->Parent()->Id()) : index.end();
    const char* keys[5];
    std::size_t count = 0;
    if (o->Applied()) keys[count++] = "applied";
    keys[count++] = "kind";
    if (listed != 0) keys[count++] = "members";
    if (p != index.end()) keys[count++] = "parent";
    if (!ownProps->empty()) keys[count++] = "props";
    auto slot = Shaped(entries[i], std::span(keys, count)).begin();
    if (o->Applied()) AssignValue((slot++)->second, true);
    Value& kind = (slot++)->second;
    if (kind.is_string())
      kind.get_ref<std::string&>() = o->Kind();
    else
      kind = o->Kind();
    if (listed != 0) {
      Value& members = (slot++)->second;
      if (!members.is_array()) members = Value(Value::value_t::array);
      Value::array_t& m = members.get_ref<Value::array_t&>();
      listed = 0;
      for (const Object* member : o->Members()) {
        auto it = index.find(member->Id());
        if (it == index.end()) continue;
        if (listed < m.size())
          AssignValue(m[listed], std::uint64_t(it->second));
        else
          m.emplace_back(std::uint64_t(it->second));
        ++listed;
      }
      for (std::size_t k = listed; k < m.size(); ++k)
        Empty(m[k]);
      m.resize(listed);
    }
    if (p != index.end()) AssignValue((slot++)->second, std::uint64_t(p->second));
    if (ownProps->empty()) continue;
    Value& props = slot->second;
    CopyOver(props, *ownProps);
    MapRefs(props, [&](ObjectId id, std::uint64_t& mapped) {
      auto it = index.find(id);
      if (it == index.end()) return false;
      mapped = it->second;
      return true;
    });
    // What a parse of the text would give (AsParsed), once the references are mapped.
    if (where.empty())
      for (auto& [key, value] : props.get_ref<Value::object_t&>())
        if (!AsParsed(value)) {
          where = "property " + key + " of a " + o->Kind();
          break;
        }
  }
  Empty(own);

  // JSON would hold a number that is not finite as null: the document read back would not be the one saved.
  if (!where.empty())
    return Fail(error, "cannot write " + file.string() + ": " + where + " is not a finite number");
  try {
    // The indented form is for people reading the file. Its indentation can take several times the bytes of
    // the content (a user-data block of byte values tripled), so a document that fits the reader's limit
    // only without it is written without it: what the host saves, it opens again.
    // A large document is measured before much of it is written out.
    if (!IndentedText(root, MaxDocumentFileBytes - 1, MaxKeptParseBytes, text)) text = root.dump();
  } catch (const nlohmann::json::exception&) {
    return Fail(error, "cannot write " + file.string() + ": a text of the document is not valid UTF-8");
  }
  text += '\n';
  if (text.size() > MaxDocumentFileBytes)
    return Fail(error, "cannot write " + file.string() + ": the document is too large to save (" +
                           std::to_string(text.size()) + " bytes; a document file holds at most " +
                           std::to_string(MaxDocumentFileBytes) + ")");
  return true;
}

// The parse of a document file the host keeps, so that a file read again unchanged (the components of an
// assembly that are one part, a part file saved and then inserted) is not parsed again. Only files of
// ordinary size are kept, and a bounded amount of them: a tree takes many times the bytes of its text, and a
// large document would be held twice, as its tree and as its objects.
// Keeps the text and tree of file (dropping what was kept of it before), unless the text is too large; the
// tree kept, or root.
// Lets a kept parse go, its tree emptied from the innermost values out (Empty).
std::map<std::filesystem::path, Host::ParsedFile>::iterator
DropParse(std::map<std::filesystem::path, Host::ParsedFile>& kept,
          std::map<std::filesystem::path, Host::ParsedFile>::iterator it)
{
  Empty(it->second.Root);
  return kept.erase(it);
}

const Value& Remember(Host& host, const std::filesystem::path& file, std::string text, Value&& root)
{
  auto& kept = host.ParsedFiles();
  if (auto old = kept.find(file); old != kept.end()) DropParse(kept, old);
  if (text.size() > MaxKeptParseBytes) return root;
  std::size_t total = text.size();
  for (const auto& [path, parsed] : kept)
    total += parsed.Text.size();
  for (auto it = kept.begin(); total > MaxKeptParsesBytes && it != kept.end();) {
    total -= it->second.Text.size();
    it = DropParse(kept, it);
  }
  Host::ParsedFile& entry = kept[file];
  entry.Text = std::move(text);
  entry.Root = std::move(root);
  return entry.Root;
}

} // namespace

bool DocumentFileText(const Host& host, const Object& document, std::string& text, std::string& error)
{
  Value root;
  const bool made = DocumentText(host, document, Host::DocumentPath(document), root, text, error);
  Empty(root);
  return made;
}

bool WriteDocumentFile(Host& host, const Object& document, const std::filesystem::path& file,
                       std::string& error, int* code, FileStamp* stamp)
{
  if (code != nullptr) *code = 0;
  Value root;
  std::string text;
  // A file saved again mostly keeps its size and shape: its text is made in room of that size, and its tree
  // written over the one kept of it. That one goes: if the save fails, the file is read again from disk.
  auto& kept = host.ParsedFiles();
  if (auto last = kept.find(file); last != kept.end()) {
    text.reserve(last->second.Text.size());
    root = std::move(last->second.Root);
    kept.erase(last);
  }
  const bool written = DocumentText(host, document, file, root, text, error) &&
                       WriteOutputFile(file, text, error, code, stamp);
  // The tree of what was just written is the tree the next read of the file would parse: a part file
  // saved and then inserted as a component is not parsed again.
  if (written) Remember(host, file, std::move(text), std::move(root));
  Empty(root); // unless kept
  return written;
}

bool WriteDocumentText(const std::filesystem::path& file, const std::string& text, std::string& error,
                       int* code)
{
  return WriteOutputFile(file, text, error, code);
}

Object* ReadDocumentFile(Host& host, const std::filesystem::path& file, std::string& error, bool* mayNotSave)
{
  if (mayNotSave != nullptr) *mayNotSave = false;
  // A document named there and not yet written is on disk before anyone reads the file.
  host.WritePendingFile(file);
  std::string text;
  if (!ReadInputFile(file, MaxDocumentFileBytes, text, error, false)) return nullptr;

  auto& parsedFiles = host.ParsedFiles();
  auto known = parsedFiles.find(file);
  if (known != parsedFiles.end() && known->second.Text != text) {
    DropParse(parsedFiles, known);
    known = parsedFiles.end();
  }
  // A document too large to keep the tree of is read straight into its objects.
  const bool whole = known != parsedFiles.end() || text.size() <= MaxKeptParseBytes;
  // Written in the writer's form, no value takes five times the text it was read from ("1e14", the most),
  // and the document's own type may be added: a text of up to an eighth of the limit saves within it.
  const std::size_t read = text.size();
  const bool measure = mayNotSave != nullptr && read > MaxDocumentFileBytes / 8;
  std::size_t growth = 32;
  StoredObjects objects;
  Value parsedRoot;
  const Value* root = known != parsedFiles.end() ? &known->second.Root : &parsedRoot;
  if (known == parsedFiles.end()) {
    DocumentParse parse(parsedRoot, text, whole ? nullptr : &objects, measure);
    bool parsed = false;
    try {
      parsed = nlohmann::json::sax_parse(text.data(), text.data() + text.size(), &parse);
    } catch (const nlohmann::json::exception&) {
    }
    if (!parsed) {
      Fail(error, file.string() + ": " + (parse.Error.empty() ? std::string("not valid JSON") : parse.Error));
      return nullptr;
    }
    growth += parse.Growth;
    if (whole)
      root = &Remember(host, file, std::move(text), std::move(parsedRoot));
    else
      text = std::string();
  }

  int type = 0;
  bool valid = CheckDocument(*root, type, error);
  if (valid && whole)
    for (const Value& o : root->at("objects"))
      objects.Add(o);
  if (!valid || !CheckObjects(objects, type, error)) {
    error = file.string() + ": " + error;
    return nullptr;
  }

  // Everything checked: the objects are made in file order, each with what refers back to objects made
  // before it, and its entry is let go (a large document is not held twice while its objects are made);
  // then what refers ahead, and the members.
  const std::size_t count = objects.Objects.size();
  std::vector<Object*> made;
  made.reserve(count);
  // A stored reference is an index into the file's objects.
  auto toHost = [&](ObjectId index, std::uint64_t& mapped) {
    if (index >= made.size()) return false;
    mapped = made[std::size_t(index)]->Id();
    return true;
  };
  std::vector<std::pair<std::size_t, std::string>> ahead; // properties that refer to objects made later
  std::vector<std::pair<std::size_t, std::size_t>> lists; // objects with members, and where their members end
  Object* document = nullptr;
  for (std::size_t i = 0, listed = 0; i < count; ++i) {
    StoredObject p = std::move(objects.Objects.front());
    objects.Objects.pop_front();
    Object& o = host.Create(p.Kind->Name, document, nullptr);
    if (document == nullptr) {
      document = &o;
      o.SetDocument(&o);
    }
    made.push_back(&o);
    if (p.HasParent) o.SetParent(made[p.Parent]);
    if (p.MembersEnd != listed) lists.emplace_back(i, listed = p.MembersEnd);
    if (p.Applied) o.MarkApplied();
    if (!p.Props.is_object()) continue;
    // Moved, not copied: what was read is held once, and becomes the object's properties as a whole.
    Value::object_t& props = p.Props.get_ref<Value::object_t&>();
    for (auto it = props.begin(); it != props.end();) {
      if (i == 0 && SessionOnly(it->first)) {
        it = props.erase(it);
        continue;
      }
      const Refs refs = RefsIn(it->second, made.size());
      if (refs == Refs::Ahead)
        ahead.emplace_back(i, it->first);
      else if (refs == Refs::Back)
        MapRefs(it->second, toHost);
      ++it;
    }
    o.SetAll(std::move(p.Props));
  }
  for (const auto& [i, key] : ahead) {
    Value v = made[i]->TakeProp(key);
    MapRefs(v, toHost);
    made[i]->Set(key, std::move(v));
  }
  std::vector<Object*> members;
  for (std::size_t from = 0; const auto& [i, end] : lists) {
    members.clear();
    for (; from < end; ++from)
      members.push_back(made[objects.Members[from]]);
    made[i]->AddNewMembers(members);
  }
  document->Set("type", type);
  if (measure) *mayNotSave = read + growth > MaxDocumentFileBytes;
  return document;
}

} // namespace txhost
