#include "txhost/lib/DocumentFile.h"

#include "txhost/lib/FileInput.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Kinds.h"
#include "txhost/lib/Object.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <random>
#include <unordered_map>
#include <system_error>

namespace txhost {

namespace {

constexpr const char* FormatName = "txhost-document";

// Properties that describe the session, not the document's content.
bool SessionOnly(const std::string& key)
{
  return key == "path" || key == "visible";
}

// Replaces every reference in v by what to(id, mapped) gives; a reference it does not know (it answers false)
// becomes a reference to nothing.
template <class To> void MapRefs(Value& v, const To& to)
{
  if (IsRef(v)) {
    Value& id = v["$obj"];
    std::uint64_t mapped = 0;
    if (id.is_number_unsigned() && to(id.get<ObjectId>(), mapped))
      id = mapped;
    else
      id = nullptr;
    return;
  }
  if (v.is_structured())
    for (auto& e : v)
      MapRefs(e, to);
}

bool Fail(std::string& error, const std::string& message)
{
  error = message;
  return false;
}

struct PendingObject
{
  const KindSpec* Kind = nullptr;
  std::size_t Parent = 0;
  bool HasParent = false;
  std::vector<std::size_t> Members;
  bool Applied = false;
  // Inside the parsed file, which outlives the reading: each value is copied once, into its object.
  const Value* Props = nullptr;
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

// The properties of object i, the document when i is 0.
bool CheckProperties(const Value& props, std::size_t i, std::string& error)
{
  for (const KnownProperty& k : KnownProperties) {
    if (k.DocumentOnly && i != 0) continue;
    auto it = props.find(k.Name);
    if (it != props.end() && !HasType(*it, k.Type))
      return Fail(error, ObjectAt(i) + "property \"" + std::string(k.Name) + "\" must be " + TypeName(k.Type));
  }
  return true;
}

// The index a stored reference names; false for a reference to nothing or a malformed one.
bool RefIndex(const Value& v, std::size_t count, std::size_t& index)
{
  return IsRef(v) && ReadIndex(v["$obj"], count, index);
}

// A 3D document's top part is a part of the document; a 2D document has none.
bool CheckTopPart(const std::vector<PendingObject>& objects, int type, std::string& error)
{
  static const Value none = Value::object();
  const Value& props = objects[0].Props != nullptr ? *objects[0].Props : none;
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

bool Validate(const Value& root, std::vector<PendingObject>& out, int& type, std::string& error)
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
  if (objects == root.end() || !objects->is_array() || objects->empty())
    return Fail(error, "document objects missing");

  const std::size_t n = objects->size();
  const KindTable& table = KindTable::Builtin();
  out.assign(n, {});
  // Which object's list last named each object: a member named twice in one list is kept once, where it
  // first stands, as adding it to the object would keep it.
  std::vector<std::size_t> listedBy(n, n);
  for (std::size_t i = 0; i < n; ++i) {
    const Value& o = (*objects)[i];
    // Named only when something is wrong: a whole file is read in the time of its parse.
    auto where = [i] { return ObjectAt(i); };
    if (!o.is_object()) return Fail(error, where() + "not an object");
    auto kind = o.find("kind");
    if (kind == o.end() || !kind->is_string()) return Fail(error, where() + "kind missing");
    const std::string& kindName = kind->get_ref<const std::string&>();
    const KindSpec* spec = table.Find(kindName);
    if (spec == nullptr || IsServiceKind(kindName))
      return Fail(error, where() + "unknown kind \"" + kindName + "\"");
    const bool isDocument = DocumentTypeOfKind(kindName) != 0;
    if (i == 0 && kindName != DocumentKind(txapi::DocumentTypeEnum(type)))
      return Fail(error, "the first object is not the document");
    if (i != 0 && isDocument) return Fail(error, where() + "a document inside a document");
    PendingObject& p = out[i];
    p.Kind = spec;
    auto parent = o.find("parent");
    if (parent != o.end() && !parent->is_null()) {
      // Parents come first, which also rules out cycles.
      if (!ReadIndex(*parent, i, p.Parent)) return Fail(error, where() + "bad parent");
      p.HasParent = true;
    }
    auto members = o.find("members");
    if (members != o.end()) {
      if (!members->is_array()) return Fail(error, where() + "bad member list");
      for (const Value& m : *members) {
        std::size_t index = 0;
        if (!ReadIndex(m, n, index) || index == i) return Fail(error, where() + "bad member");
        if (listedBy[index] == i) continue;
        listedBy[index] = i;
        p.Members.push_back(index);
      }
    }
    auto applied = o.find("applied");
    if (applied != o.end()) {
      if (!applied->is_boolean()) return Fail(error, where() + "bad applied state");
      p.Applied = applied->get<bool>();
    }
    auto props = o.find("props");
    if (props != o.end()) {
      if (!props->is_object()) return Fail(error, where() + "bad properties");
      if (!CheckProperties(*props, i, error)) return false;
      p.Props = &*props;
    }
  }
  return CheckTopPart(out, type, error);
}

// The library's tree-building parse, with the nesting limit checked as objects and arrays open. (The
// parser's per-value callback, the library's own way to limit nesting, costs time quadratic in the size.)
struct DepthLimitedParse : nlohmann::detail::json_sax_dom_parser<Value>
{
  using Base = nlohmann::detail::json_sax_dom_parser<Value>;
  explicit DepthLimitedParse(Value& root) : Base(root, false) {}

  int Depth = 0;
  std::string Error;

  bool Open()
  {
    if (++Depth <= MaxDocumentFileDepth) return true;
    Error = "nested more than " + std::to_string(MaxDocumentFileDepth) + " levels deep";
    return false;
  }
  bool start_object(std::size_t n) { return Open() && Base::start_object(n); }
  bool start_array(std::size_t n) { return Open() && Base::start_array(n); }
  bool end_object()
  {
    --Depth;
    return Base::end_object();
  }
  bool end_array()
  {
    --Depth;
    return Base::end_array();
  }
  // JSON has no infinity or NaN; a number too large for a double would come back as one.
  bool number_float(double value, const std::string& text)
  {
    if (std::isfinite(value)) return Base::number_float(value, text);
    Error = "a number out of range (" + text.substr(0, 40) + ")";
    return false;
  }
  bool parse_error(std::size_t position, const std::string& token, const nlohmann::json::exception& e)
  {
    // The library's own text names its internals; say what is wrong and where.
    const bool utf8 = std::string_view(e.what()).find("UTF-8") != std::string_view::npos;
    Error = std::string(utf8 ? "text that is not valid UTF-8" : "not valid JSON") +
            (position > 0 ? " (at byte " + std::to_string(position) + ")" : "");
    Base::parse_error(position, token, e);
    return false;
  }
};

// The process, a count of this process's saves and a random number: unique among live processes, and
// unlikely to meet a file left by a crashed one (a meeting is retried).
std::string TemporarySuffix()
{
  static std::atomic<unsigned long> count{0};
  return std::to_string(::getpid()) + "-" + std::to_string(++count) + "-" +
         std::to_string(std::random_device()());
}

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

// Makes the tree what a parse of its text gives; where it holds a number that is not finite ("property
// NAME of a KIND"), or nothing.
std::string NonFinite(Value& root)
{
  AsParsed(root["version"]);
  AsParsed(root["type"]);
  for (Value& o : root["objects"])
    for (auto& [key, value] : o["props"].items())
      if (!AsParsed(value)) return "property " + key + " of a " + o["kind"].get<std::string>();
  return {};
}

// The document as its file holds it: the tree and its text.
bool DocumentText(const Host& host, const Object& document, const std::filesystem::path& file, Value& root,
                  std::string& text, std::string& error)
{
  const std::vector<Object*> objects = host.ObjectsOf(document);
  std::unordered_map<ObjectId, std::size_t> index;
  index.reserve(objects.size());
  for (std::size_t i = 0; i < objects.size(); ++i)
    index[objects[i]->Id()] = i;

  Value list = Value::array();
  for (const Object* o : objects) {
    Value props = Value::object();
    for (const auto& [key, value] : o->Props().items())
      if (o != &document || !SessionOnly(key)) props[key] = value;
    MapRefs(props, [&](ObjectId id, std::uint64_t& mapped) {
      auto it = index.find(id);
      if (it == index.end()) return false;
      mapped = it->second;
      return true;
    });
    Value entry = Value::object();
    entry["kind"] = o->Kind();
    auto p = o->Parent() != nullptr ? index.find(o->Parent()->Id()) : index.end();
    entry["parent"] = p != index.end() ? Value(p->second) : Value(nullptr);
    Value members = Value::array();
    for (const Object* m : o->Members()) {
      auto it = index.find(m->Id());
      if (it != index.end()) members.push_back(it->second);
    }
    entry["members"] = std::move(members);
    entry["applied"] = o->Applied();
    entry["props"] = std::move(props);
    list.push_back(std::move(entry));
  }
  root = Value::object();
  root["format"] = FormatName;
  root["version"] = DocumentFileVersion;
  root["type"] = Host::DocumentType(document);
  root["objects"] = std::move(list);

  // JSON would hold a number that is not finite as null: the document read back would not be the one saved.
  if (const std::string where = NonFinite(root); !where.empty())
    return Fail(error, "cannot write " + file.string() + ": " + where + " is not a finite number");
  try {
    text = root.dump(1, ' ');
    // The indented form is for people reading the file. Its indentation can take several times the bytes of
    // the content (a user-data block of byte values tripled), so a document that fits the reader's limit
    // only without it is written without it: what the host saves, it opens again.
    if (text.size() >= MaxDocumentFileBytes) text = root.dump();
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

// Writes text as the file, through a temporary file beside it.
bool WriteText(const std::filesystem::path& file, const std::string& text, std::string& error)
{
  // Say why in the user's terms and name the user's file, not the temporary one. A missing folder is
  // said so only when it is missing.
  const std::filesystem::path folder =
      file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
  auto why = [&](int e) {
    std::error_code ec;
    if (e == ENOENT && !std::filesystem::is_directory(folder, ec))
      return "cannot write " + file.string() + ": no such folder";
    if (e == EISDIR) return "cannot write " + file.string() + ": a folder is in the way";
    return "cannot write " + file.string() + ": " + std::strerror(e);
  };
  // A temporary name of this save alone: saves of one document from several processes (or threads) never
  // write into each other's file, and the last rename wins with a whole document.
  int fd = -1;
  std::filesystem::path temporary;
  for (int attempt = 0; fd < 0; ++attempt) {
    temporary = file;
    temporary += ".txhost-tmp-" + TemporarySuffix();
    fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && (errno != EEXIST || attempt >= 100)) return Fail(error, why(errno));
  }
  std::size_t done = 0;
  int failure = 0;
  while (done < text.size() && failure == 0) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno != EINTR) failure = errno;
    if (n > 0) done += std::size_t(n);
  }
  // On disk before the rename: a crash never leaves an empty file under the document's name.
  if (failure == 0 && ::fsync(fd) != 0) failure = errno;
  if (::close(fd) != 0 && failure == 0) failure = errno;
  if (failure == 0 && ::rename(temporary.c_str(), file.c_str()) != 0) failure = errno;
  if (failure != 0) {
    ::unlink(temporary.c_str());
    return Fail(error, why(failure));
  }
  return true;
}

} // namespace

bool DocumentFileText(const Host& host, const Object& document, std::string& text, std::string& error)
{
  Value root;
  return DocumentText(host, document, Host::DocumentPath(document), root, text, error);
}

bool WriteDocumentFile(Host& host, const Object& document, const std::filesystem::path& file, std::string& error)
{
  Value root;
  std::string text;
  if (!DocumentText(host, document, file, root, text, error) || !WriteText(file, text, error)) return false;
  // The tree of what was just written is the tree the next read of the file would parse: a part file
  // saved and then inserted as a component is not parsed again.
  Host::ParsedFile& known = host.ParsedFiles()[file];
  known.Text = std::move(text);
  known.Root = std::move(root);
  return true;
}

bool WriteDocumentText(const std::filesystem::path& file, const std::string& text, std::string& error)
{
  return WriteText(file, text, error);
}

Object* ReadDocumentFile(Host& host, const std::filesystem::path& file, std::string& error)
{
  // A document named there and not yet written is on disk before anyone reads the file.
  host.WritePendingFile(file);
  std::string text;
  if (!ReadInputFile(file, MaxDocumentFileBytes, text, error)) return nullptr;

  Host::ParsedFile& known = host.ParsedFiles()[file];
  if (known.Text.empty() || known.Text != text) {
    // Nesting is checked in a pass of its own: the parser's per-value callback costs time quadratic in the
    // size of the file.
    Value parsedRoot;
    DepthLimitedParse parse(parsedRoot);
    bool parsed = false;
    try {
      parsed = nlohmann::json::sax_parse(text, &parse);
    } catch (const nlohmann::json::exception&) {
    }
    if (!parsed) {
      host.ParsedFiles().erase(file);
      Fail(error, file.string() + ": " + (parse.Error.empty() ? std::string("not valid JSON") : parse.Error));
      return nullptr;
    }
    known.Text = std::move(text);
    known.Root = std::move(parsedRoot);
  }
  const Value& root = known.Root;

  std::vector<PendingObject> pending;
  int type = 0;
  if (!Validate(root, pending, type, error)) {
    error = file.string() + ": " + error;
    return nullptr;
  }

  // Everything checked: make the objects, then wire them.
  std::vector<Object*> made;
  made.reserve(pending.size());
  Object* document = nullptr;
  for (const PendingObject& p : pending) {
    Object& o = host.Create(p.Kind->Name, document, nullptr);
    if (document == nullptr) {
      document = &o;
      o.SetDocument(&o);
    }
    made.push_back(&o);
  }
  // A stored reference is an index into the file's objects.
  auto toHost = [&](ObjectId index, std::uint64_t& mapped) {
    if (index >= made.size()) return false;
    mapped = made[std::size_t(index)]->Id();
    return true;
  };
  for (std::size_t i = 0; i < pending.size(); ++i) {
    PendingObject& p = pending[i];
    Object& o = *made[i];
    if (p.HasParent) o.SetParent(made[p.Parent]);
    std::vector<Object*> members;
    members.reserve(p.Members.size());
    for (std::size_t m : p.Members)
      members.push_back(made[m]);
    o.AddNewMembers(members);
    if (p.Applied) o.MarkApplied();
    if (p.Props == nullptr) continue;
    for (const auto& [key, value] : p.Props->items()) {
      if (i == 0 && SessionOnly(key)) continue;
      Value copy = value;
      MapRefs(copy, toHost);
      o.Set(key, std::move(copy));
    }
  }
  document->Set("type", type);
  return document;
}

} // namespace txhost
