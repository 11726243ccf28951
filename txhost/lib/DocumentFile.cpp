#include "txhost/lib/DocumentFile.h"

#include "txhost/lib/Host.h"
#include "txhost/lib/Kinds.h"
#include "txhost/lib/Object.h"

#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <system_error>

namespace txhost {

namespace {

constexpr const char* FormatName = "txhost-document";

// Properties that describe the session, not the document's content.
bool SessionOnly(const std::string& key)
{
  return key == "path" || key == "visible";
}

// Replaces every reference in v through map; a reference map does not know becomes a reference to nothing.
template <class Map> void MapRefs(Value& v, const Map& map)
{
  if (IsRef(v)) {
    const Value& id = v["$obj"];
    if (id.is_number_unsigned()) {
      auto it = map.find(id.get<ObjectId>());
      if (it != map.end()) {
        v["$obj"] = it->second;
        return;
      }
    }
    v["$obj"] = nullptr;
    return;
  }
  if (v.is_structured())
    for (auto& e : v)
      MapRefs(e, map);
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
  Value Props;
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

bool Validate(const Value& root, std::vector<PendingObject>& out, int& type, std::string& error)
{
  if (!root.is_object()) return Fail(error, "not a document file (no JSON object)");
  auto format = root.find("format");
  if (format == root.end() || *format != FormatName) return Fail(error, "not a document file (format)");
  auto version = root.find("version");
  if (version == root.end() || !version->is_number_integer() || *version != DocumentFileVersion)
    return Fail(error, "unsupported document file version");
  auto t = root.find("type");
  if (t == root.end() || !t->is_number_integer()) return Fail(error, "document type missing");
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
  for (std::size_t i = 0; i < n; ++i) {
    const Value& o = (*objects)[i];
    const std::string where = "object " + std::to_string(i) + ": ";
    if (!o.is_object()) return Fail(error, where + "not an object");
    auto kind = o.find("kind");
    if (kind == o.end() || !kind->is_string()) return Fail(error, where + "kind missing");
    const std::string& kindName = kind->get_ref<const std::string&>();
    const KindSpec* spec = table.Find(kindName);
    if (spec == nullptr || IsServiceKind(kindName))
      return Fail(error, where + "unknown kind \"" + kindName + "\"");
    const bool isDocument = DocumentTypeOfKind(kindName) != 0;
    if (i == 0 && kindName != DocumentKind(txapi::DocumentTypeEnum(type)))
      return Fail(error, "the first object is not the document");
    if (i != 0 && isDocument) return Fail(error, where + "a document inside a document");
    PendingObject& p = out[i];
    p.Kind = spec;
    auto parent = o.find("parent");
    if (parent != o.end() && !parent->is_null()) {
      // Parents come first, which also rules out cycles.
      if (!ReadIndex(*parent, i, p.Parent)) return Fail(error, where + "bad parent");
      p.HasParent = true;
    }
    auto members = o.find("members");
    if (members != o.end()) {
      if (!members->is_array()) return Fail(error, where + "bad member list");
      for (const Value& m : *members) {
        std::size_t index = 0;
        if (!ReadIndex(m, n, index) || index == i) return Fail(error, where + "bad member");
        p.Members.push_back(index);
      }
    }
    auto applied = o.find("applied");
    if (applied != o.end()) {
      if (!applied->is_boolean()) return Fail(error, where + "bad applied state");
      p.Applied = applied->get<bool>();
    }
    auto props = o.find("props");
    if (props != o.end()) {
      if (!props->is_object()) return Fail(error, where + "bad properties");
      p.Props = *props;
    } else {
      p.Props = Value::object();
    }
  }
  return true;
}

struct TooDeep
{
};

} // namespace

bool WriteDocumentFile(const Host& host, const Object& document, const std::filesystem::path& file,
                       std::string& error)
{
  const std::vector<Object*> objects = host.ObjectsOf(document);
  std::map<ObjectId, std::size_t> index;
  for (std::size_t i = 0; i < objects.size(); ++i)
    index[objects[i]->Id()] = i;

  Value list = Value::array();
  for (const Object* o : objects) {
    Value props = Value::object();
    for (const auto& [key, value] : o->Props().items())
      if (o != &document || !SessionOnly(key)) props[key] = value;
    MapRefs(props, index);
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
  Value root = Value::object();
  root["format"] = FormatName;
  root["version"] = DocumentFileVersion;
  root["type"] = Host::DocumentType(document);
  root["objects"] = std::move(list);

  std::string text = root.dump(1, ' ');
  text += '\n';
  std::filesystem::path temporary = file;
  temporary += ".txhost-tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return Fail(error, "cannot write " + temporary.string());
    out.write(text.data(), std::streamsize(text.size()));
    out.close();
    if (!out) {
      std::error_code ignored;
      std::filesystem::remove(temporary, ignored);
      return Fail(error, "cannot write " + temporary.string());
    }
  }
  std::error_code ec;
  std::filesystem::rename(temporary, file, ec);
  if (ec) {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    return Fail(error, "cannot write " + file.string() + ": " + ec.message());
  }
  return true;
}

Object* ReadDocumentFile(Host& host, const std::filesystem::path& file, std::string& error)
{
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) {
    Fail(error, "no document file " + file.string());
    return nullptr;
  }
  const auto size = std::filesystem::file_size(file, ec);
  if (ec || size > MaxDocumentFileBytes) {
    Fail(error, "document file too large or unreadable: " + file.string());
    return nullptr;
  }
  std::ifstream in(file, std::ios::binary);
  std::string text;
  text.resize(std::size_t(size));
  if (!in.read(text.data(), std::streamsize(size))) {
    Fail(error, "cannot read " + file.string());
    return nullptr;
  }

  Value root;
  try {
    root = Value::parse(text, [](int depth, nlohmann::json::parse_event_t, Value&) {
      if (depth > MaxDocumentFileDepth) throw TooDeep{};
      return true;
    });
  } catch (const TooDeep&) {
    Fail(error, file.string() + ": nested too deeply");
    return nullptr;
  } catch (const nlohmann::json::exception& e) {
    Fail(error, file.string() + ": " + e.what());
    return nullptr;
  }

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
  std::map<ObjectId, ObjectId> toHost;
  for (std::size_t i = 0; i < made.size(); ++i)
    toHost[ObjectId(i)] = made[i]->Id();
  for (std::size_t i = 0; i < pending.size(); ++i) {
    PendingObject& p = pending[i];
    Object& o = *made[i];
    if (p.HasParent) o.SetParent(made[p.Parent]);
    for (std::size_t m : p.Members)
      o.AddMember(made[m]);
    if (p.Applied) o.MarkApplied();
    MapRefs(p.Props, toHost);
    for (auto& [key, value] : p.Props.items())
      if (i != 0 || !SessionOnly(key)) o.Set(key, value);
  }
  document->Set("type", type);
  return document;
}

} // namespace txhost
