#include "txhost/lib/Host.h"

#include "txapi/IApplication.h"
#include "txapi/ITavrixLibraryActions.h"
#include "txhost/lib/DocumentFile.h"
#include "txhost/lib/Facet.h"
#include "txhost/lib/FileInput.h"
#include "txhost/lib/FileOutput.h"
#include "txhost/lib/Kinds.h"
#include "txhost/lib/Model.h"

#include <unistd.h>

#include <algorithm>
#include <ostream>
#include <system_error>

namespace txhost {

namespace {

// The view of a host object as interface I, without a reference: the host keeps the object alive itself.
template <class I> I& ViewOf(Object& o)
{
  txapi::IAPIObject* view = o.QueryInterface(I::IID);
  if (view == nullptr)
    throw HostError("txhost: a " + o.Kind() + " object does not offer the expected interface");
  view->Release();
  return *static_cast<I*>(view);
}

// Appended piece by piece: gcc 12 at -O3 takes the concatenated temporaries for out-of-bounds copies.
std::string Quoted(const std::wstring& text)
{
  std::string out = "\"";
  out += ToUtf8(text);
  out += '"';
  return out;
}

// A copy of v whose texts (keys included) print safely: paths may hold bytes that are not UTF-8.
Value PrintableValue(const Value& v)
{
  if (v.is_string()) return Printable(v.get_ref<const std::string&>());
  if (v.is_array()) {
    Value out = Value::array();
    for (const Value& e : v)
      out.push_back(PrintableValue(e));
    return out;
  }
  if (v.is_object()) {
    Value out = Value::object();
    for (const auto& [key, value] : v.items())
      out[Printable(key)] = PrintableValue(value);
    return out;
  }
  return v;
}

// A new document's first write, put off while the document is as it was made (see DeferFirstWrite).
struct FirstWriteState
{
  bool New = false;               // made by the host, and never written or filled since
  std::size_t Objects = 0;        // how many objects it had as made
  std::string Fresh;              // its text as made
  std::filesystem::path Pending;  // the name it took without being written
};

} // namespace

Host::Host()
{
  std::error_code ec;
  Folder = std::filesystem::current_path(ec);
  App = &Create(kinds::Application);
  RegistrarP = &Create(kinds::Registrar);
  DocumentsP = &Create(kinds::Documents);
  ErrorP = &Create(kinds::Error);
  TranslatorP = &Create(kinds::Translator);
  for (Object* o : {App, RegistrarP, DocumentsP, ErrorP, TranslatorP})
    o->MarkApplied();
  App->Set("hideMessage", int(txapi::txShowMessage));
}

Host::~Host()
{
  // The library's function objects may hold references of their own: let them go while all is intact.
  ClearLibraryCallbacks();
  for (auto& o : All)
    o->Detach();
  for (auto& o : All) {
    // Still referenced: the object outlives the host and deletes itself at its last release.
    if (o->RefCount() > 0) static_cast<void>(o.release());
  }
  All.clear();
}

txapi::IApplication& Host::Application()
{
  return ViewOf<txapi::IApplication>(*App);
}

txapi::ITavrixLibraryActions& Host::Registrar()
{
  return ViewOf<txapi::ITavrixLibraryActions>(*RegistrarP);
}

void Host::SetDocumentsFolder(const std::filesystem::path& folder)
{
  std::error_code ec;
  std::filesystem::path absolute = std::filesystem::absolute(folder, ec);
  Folder = (ec ? folder : absolute).lexically_normal();
  // A trailing separator would make "folder/" + name ambiguous for callers that append a separator.
  if (!Folder.has_filename() && Folder.has_parent_path() && Folder != Folder.root_path())
    Folder = Folder.parent_path();
}

namespace {
// The path without "." and empty parts. ".." stays: "a/b/.." is where the link or folder b leads up from,
// which need not be a, and a name that climbs out of a folder must reach the file system as it is, to be
// refused there or go where it says, never be folded into another name inside the folder.
std::filesystem::path WithoutDots(const std::filesystem::path& path)
{
  std::filesystem::path out;
  for (const std::filesystem::path& part : path)
    if (!part.empty() && part != ".") out /= part;
  // A name that ends in a folder keeps saying so.
  if (!path.empty() && !path.has_filename() && out.has_filename()) out /= "";
  return out;
}
} // namespace

std::filesystem::path Host::Resolve(const std::filesystem::path& path) const
{
  if (path.empty()) return path;
  return WithoutDots(path.is_absolute() ? path : Folder / path);
}

int Host::SaveError(const Object& document)
{
  const Value& code = document.Prop("saveError");
  return code.is_number_integer() ? code.get<int>() : 0;
}

void Host::NoteSaveError(Object& document, int code)
{
  // A failure that has no system error leaves none, so that no earlier failure's number is taken for its
  // reason.
  if (code != 0)
    document.Set("saveError", code);
  else
    document.TakeProp("saveError");
}

void Host::SetCurrentLibraryPath(const std::filesystem::path& path)
{
  CurrentLibrary = path;
}

void Host::SetLibraryRecord(const std::wstring& name, const std::filesystem::path& file,
                            const std::wstring& font)
{
  Object* record = FindLibraryRecord(name);
  if (record == nullptr) {
    record = &Create(kinds::LibraryRecord);
    record->MarkApplied();
    LibraryRecords[name] = record;
  }
  record->Set("name", ToUtf8(name));
  record->Set("path", file.string());
  record->Set("font", ToUtf8(font));
}

void Host::RemoveLibraryRecord(const std::wstring& name)
{
  LibraryRecords.erase(name);
}

Object* Host::FindLibraryRecord(const std::wstring& name) const
{
  auto it = LibraryRecords.find(name);
  return it == LibraryRecords.end() ? nullptr : it->second;
}

void Host::SetTranslation(const std::wstring& phrase, const std::wstring& translation)
{
  Translations[phrase] = translation;
}

std::wstring Host::Translate(const std::wstring& phrase) const
{
  auto it = Translations.find(phrase);
  return it == Translations.end() ? phrase : it->second;
}

bool Host::NextAnswer()
{
  if (Answers.empty()) return DefaultAnswer;
  const bool yes = Answers.front();
  Answers.pop_front();
  return yes;
}

void Host::SetHideMessage(txapi::txHideMessageEnum state)
{
  App->Set("hideMessage", int(state));
}

txapi::txHideMessageEnum Host::HideMessage() const
{
  const Value& v = App->Prop("hideMessage");
  return txapi::txHideMessageEnum(v.is_number_integer() ? v.get<int>() : 0);
}

Object& Host::Create(std::string_view kind, Object* document, Object* parent)
{
  // Objects come in runs of a kind: the last kind serves again without a lookup.
  if (LastKind == nullptr || kind != LastKind->Name) LastKind = &KindTable::Builtin().Get(kind);
  const KindSpec& spec = *LastKind;
  std::unique_ptr<Object> made;
  for (SparePool& pool : Spares)
    if (pool.Kind == &spec && pool.Next < pool.Objects.size()) {
      made = std::move(pool.Objects[pool.Next++]);
      made->Renew();
    }
  if (made == nullptr) made = std::make_unique<Object>(*this, spec);
  All.push_back(std::move(made));
  Object& o = *All.back();
  if (DocumentTypeOfKind(spec.Name) != 0) AllDocuments.push_back(&o);
  // A placement handed out on its own is a value: nothing reaches it once the library lets it go.
  if (document == nullptr && parent == nullptr && spec.Name == model::Placement) LoosePlacements.push_back(&o);
  o.SetDocument(document);
  if (parent != nullptr) {
    o.SetParent(parent);
    // A new object is nobody's member yet.
    parent->MemberList.push_back(&o);
  }
  return o;
}

void Host::DropSpares(const Object& keeper)
{
  if (keeper.Id() != SpareKeeper) return;
  Spares.clear();
  SpareKeeper = 0;
}

Object* Host::Find(ObjectId id) const
{
  // The host makes its objects one after the other: the list is in the order of their identifiers.
  auto it = std::lower_bound(All.begin(), All.end(), id,
                             [](const std::unique_ptr<Object>& o, ObjectId i) { return o->Id() < i; });
  return it != All.end() && (*it)->Id() == id ? it->get() : nullptr;
}

std::vector<Object*> Host::Objects() const
{
  std::vector<Object*> out;
  out.reserve(All.size());
  for (const auto& o : All)
    out.push_back(o.get());
  return out;
}

std::vector<Object*> Host::ObjectsOfKind(std::string_view kind) const
{
  std::vector<Object*> out;
  for (const auto& o : All)
    if (o->Kind() == kind) out.push_back(o.get());
  return out;
}

std::vector<Object*> Host::ObjectsOf(const Object& document) const
{
  std::vector<Object*> out = document.Belongings();
  // The document comes first whatever the creation order.
  auto it = std::find(out.begin(), out.end(), &document);
  if (it != out.end()) std::rotate(out.begin(), it, it + 1);
  return out;
}

// Walked with a list of its own, not the call stack: a document read from a file may nest its objects as
// deep as the file holds them. An object already leaving (gathered before) holds nothing, nor does what is
// under it.
bool Host::HeldThroughApi(const Object& o)
{
  if (o.Members().empty()) return o.RefCount() > 0;
  std::vector<const Object*> next{&o};
  std::vector<const Object*> seen;
  bool held = false;
  while (!next.empty() && !held) {
    const Object* at = next.back();
    next.pop_back();
    if (at->Leaving) continue;
    at->Leaving = true; // seen: a member listed twice, or in a cycle, is looked at once
    seen.push_back(at);
    held = at->RefCount() > 0;
    next.insert(next.end(), at->Members().begin(), at->Members().end());
  }
  for (const Object* s : seen)
    s->Leaving = false;
  return held;
}

void Host::Gather(const Object& o, std::vector<const Object*>& out)
{
  // Depth first, in the order the members are listed, with a list of its own: however deep the objects
  // nest, the walk takes no more of the call stack.
  std::vector<const Object*> next{&o};
  while (!next.empty()) {
    const Object* at = next.back();
    next.pop_back();
    if (at->Leaving) continue;
    at->Leaving = true;
    out.push_back(at);
    next.insert(next.end(), at->Members().rbegin(), at->Members().rend());
  }
}

std::size_t Host::Forget(const std::vector<Object*>& deleted, const Object* keeper)
{
  std::vector<const Object*> gone;
  for (Object* o : deleted) {
    if (o == nullptr || o->Leaving || !model::Deleted(*o) || HeldThroughApi(*o)) continue;
    Gather(*o, gone);
  }
  if (keeper == nullptr) {
    Drop(gone);
    return gone.size();
  }
  Spares.clear();
  SpareKeeper = keeper->Id();
  std::vector<std::unique_ptr<Object>> spare;
  Drop(gone, &spare);
  for (std::unique_ptr<Object>& o : spare) {
    auto pool = std::find_if(Spares.begin(), Spares.end(), [&o](const SparePool& p) { return p.Kind == &o->Spec(); });
    if (pool == Spares.end()) pool = Spares.insert(Spares.end(), SparePool{&o->Spec(), {}, 0});
    pool->Objects.push_back(std::move(o));
  }
  return gone.size();
}

void Host::Drop(const std::vector<const Object*>& gone, std::vector<std::unique_ptr<Object>>* spare)
{
  if (gone.empty()) return;
  for (const Object* o : gone)
    o->Leaving = true;
  ObjectId first = 0;
  // What goes is mostly what was made last (a phantom's objects), at the ends of its parent's and its
  // document's lists: taken out last first, each is found and erased at once. A document's list, long, is
  // swept once from the first that goes.
  std::vector<std::pair<Object*, ObjectId>> documents; // (document, the first identifier going from it)
  for (auto it = gone.rbegin(); it != gone.rend(); ++it) {
    const Object* o = *it;
    if (first == 0 || o->Id() < first) first = o->Id();
    Object* parent = o->Parent();
    if (parent != nullptr && !parent->Leaving) parent->RemoveMember(o);
    Object* document = o->Document();
    if (document == nullptr || document->Leaving) continue;
    auto d = std::find_if(documents.begin(), documents.end(),
                          [document](const auto& e) { return e.first == document; });
    if (d == documents.end())
      documents.emplace_back(document, o->Id());
    else
      d->second = std::min(d->second, o->Id());
  }
  for (const auto& [document, from] : documents)
    document->UnlistLeaving(from);
  std::erase_if(AllDocuments, [](const Object* d) { return d->Leaving; });
  std::erase_if(LoosePlacements, [](const Object* p) { return p->Leaving; });
  if (!SourceOwners.empty())
    for (const Object* o : gone)
      SourceOwners.erase(o->Id());
  // Only the list from the first of them on is looked at.
  auto from = std::lower_bound(All.begin(), All.end(), first,
                               [](const std::unique_ptr<Object>& o, ObjectId i) { return o->Id() < i; });
  auto to = from;
  for (auto it = from; it != All.end(); ++it) {
    if (!(*it)->Leaving) {
      if (to != it) *to = std::move(*it);
      ++to;
    } else if (spare != nullptr) {
      (*it)->Leaving = false;
      spare->push_back(std::move(*it));
    } else {
      it->reset();
    }
  }
  All.erase(to, All.end());
}

void Host::SetSourceOwner(const Object& source, const Object& owner)
{
  SourceOwners[source.Id()] = owner.Id();
}

std::size_t Host::Collect()
{
  std::vector<const Object*> released;
  for (const Object* p : LoosePlacements)
    if (p->RefCount() == 0 && p->Members().empty() && !p->Leaving) {
      p->Leaving = true;
      released.push_back(p);
    }
  std::size_t freed = released.size();
  Drop(released);
  // Freeing one document can free the owner of another's source: go on until nothing more goes.
  for (bool more = true; more;) {
    more = false;
    std::vector<Object*> candidates;
    for (Object* d : AllDocuments)
      if (!IsOpen(*d)) candidates.push_back(d);
    for (Object* d : candidates) {
      auto owner = SourceOwners.find(d->Id());
      if (owner != SourceOwners.end() && Find(owner->second) != nullptr) continue;
      // The document's objects and everything under them (processes, groups, frames that belong to none).
      std::vector<const Object*> domain;
      domain.reserve(d->Belongings().size());
      for (const Object* o : d->Belongings())
        Gather(*o, domain);
      const bool held = std::any_of(domain.begin(), domain.end(), [](const Object* o) { return o->RefCount() > 0; });
      if (held) {
        for (const Object* o : domain)
          o->Leaving = false;
        continue;
      }
      freed += domain.size();
      Drop(domain);
      more = true;
    }
  }
  return freed;
}

Object* Host::NewDocument(txapi::DocumentTypeEnum type, bool visible)
{
  const std::string_view kind = DocumentKind(type);
  if (kind.empty()) return nullptr;
  Collect();
  Object& document = Create(kind);
  document.SetDocument(&document);
  document.Set("type", int(type));
  document.Set("path", "");
  document.Set("visible", visible);
  document.MarkApplied();
  // A 3D document's model is its top part.
  if (type == txapi::txDocumentPart || type == txapi::txDocumentAssembly ||
      type == txapi::txDocumentTechnologyAssembly) {
    Object& part = Create(kinds::Part, &document, &document);
    part.Set("name", "");
    part.Set("marking", "");
    part.MarkApplied();
    document.Set("topPart", RefValue(&part));
  }
  OpenDocuments.push_back(&document);
  Active = &document;
  FirstWriteState& first = document.Extra<FirstWriteState>();
  std::string error;
  first.New = DocumentFileText(*this, document, first.Fresh, error);
  first.Objects = document.Belongings().size();
  return &document;
}

Object* Host::OpenDocument(const std::filesystem::path& file, bool visible, std::string* error,
                           bool mayBeSaved)
{
  // A document opened through "folder/.." goes by its plain name when that is the same file.
  std::filesystem::path path = Resolve(file);
  std::error_code same;
  if (const std::filesystem::path plain = path.lexically_normal();
      plain != path && std::filesystem::equivalent(path, plain, same))
    path = plain;
  Collect();
  std::string message;
  bool mayNotSave = false;
  Object* document =
      path.empty() ? nullptr : ReadDocumentFile(*this, path, message, mayBeSaved ? &mayNotSave : nullptr);
  // What opens, saves: a document that would not fit a file once saved is said so now, not at its save
  // after the user's work (its numbers in the writer's form can take more than the file gave them).
  std::string text;
  if (document != nullptr && mayNotSave && !DocumentFileText(*this, *document, text, message)) {
    message = path.string() + ": " +
              (text.size() > MaxDocumentFileBytes
                   ? "the document is too large to save again (" + std::to_string(text.size()) +
                         " bytes; a document file holds at most " + std::to_string(MaxDocumentFileBytes) + ")"
                   : message);
    std::vector<const Object*> made;
    for (const Object* o : document->Belongings())
      Gather(*o, made);
    Drop(made);
    document = nullptr;
  }
  text = std::string();
  if (document == nullptr) {
    if (error != nullptr) *error = path.empty() ? "no file name" : message;
    return nullptr;
  }
  document->Set("path", path.string());
  document->Set("visible", visible);
  OpenDocuments.push_back(document);
  Active = document;
  return document;
}

bool Host::SaveDocument(Object& document, std::string* error)
{
  const std::filesystem::path path = DocumentPath(document);
  if (path.empty()) {
    if (error != nullptr) *error = "the document has no file name";
    return false;
  }
  return SaveDocumentAs(document, path, error);
}

bool Host::SaveDocumentAs(Object& document, const std::filesystem::path& file, std::string* error)
{
  std::string message;
  FileStamp stamp;
  int code = 0;
  const std::filesystem::path path = Resolve(file);
  if (!IsOpen(document)) {
    message = "the document is not open";
  } else if (path.empty() || !path.has_filename()) {
    message = "no file name";
  } else if (WriteDocumentFile(*this, document, path, message, &code, &stamp)) {
    FirstWriteState& first = document.Extra<FirstWriteState>();
    if (first.Pending != path) WritePending(document);
    first = FirstWriteState();
    NoteSaveError(document, 0);
    document.Set("path", path.string());
    // A save over the file this document's own last save made replaces nothing of anyone else's.
    const Value& last = document.Prop("fileStamp");
    if (stamp.Replaced && last.is_array() && last.size() == 5 && last[0] == stamp.PriorDevice &&
        last[1] == stamp.PriorInode)
      stamp.Replaced = last[4] == true;
    document.Set("fileStamp",
                 Value::array({stamp.Device, stamp.Inode, stamp.Size, stamp.Modified, stamp.Replaced}));
    return true;
  }
  NoteSaveError(document, code);
  if (error != nullptr) *error = message;
  return false;
}

bool Host::NameDocument(Object& document, const std::filesystem::path& file, std::string* error)
{
  const std::filesystem::path path = Resolve(file);
  if (IsOpen(document) && !path.empty() && path.has_filename() && DeferFirstWrite(document, path)) {
    document.Set("path", path.string());
    return true;
  }
  return SaveDocumentAs(document, file, error);
}

// A name that could not be written is written at once, so that the save fails as it would have.
bool Host::DeferFirstWrite(Object& document, const std::filesystem::path& path)
{
  FirstWriteState& first = document.Extra<FirstWriteState>();
  // Once it holds something it is no longer new, even if emptied again: a document being filled is
  // looked at once, not written out twice.
  std::string text, error;
  if (first.New && (document.Belongings().size() != first.Objects ||
                    !DocumentFileText(*this, document, text, error) || text != first.Fresh))
    first.New = false;
  if (!first.New) return false;
  std::error_code ec;
  const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
  if (::access(folder.c_str(), W_OK | X_OK) != 0 || std::filesystem::is_directory(path, ec)) return false;
  if (!first.Pending.empty() && first.Pending != path) WritePending(document);
  first.Pending = path;
  return true;
}

void Host::WritePending(Object& document)
{
  FirstWriteState& first = document.Extra<FirstWriteState>();
  if (first.Pending.empty()) return;
  std::string error;
  int code = 0;
  NoteSaveError(document, WriteDocumentText(first.Pending, first.Fresh, error, &code) ? 0 : code);
  first.Pending.clear();
}

void Host::WritePendingFile(const std::filesystem::path& file)
{
  for (Object* d : OpenDocuments)
    if (d->Extra<FirstWriteState>().Pending == file) WritePending(*d);
}

void Host::WritePendingFiles()
{
  for (Object* d : OpenDocuments)
    WritePending(*d);
}

bool Host::CloseDocument(Object& document)
{
  auto it = std::find(OpenDocuments.begin(), OpenDocuments.end(), &document);
  if (it == OpenDocuments.end()) return false;
  // Named and never filled: closed without saving, it leaves no file.
  document.Extra<FirstWriteState>().Pending.clear();
  OpenDocuments.erase(it);
  if (Active == &document) Active = OpenDocuments.empty() ? nullptr : OpenDocuments.back();
  return true;
}

bool Host::IsOpen(const Object& document) const
{
  return std::find(OpenDocuments.begin(), OpenDocuments.end(), &document) != OpenDocuments.end();
}

bool Host::SetActiveDocument(Object* document)
{
  if (document != nullptr && !IsOpen(*document)) return false;
  Active = document;
  return true;
}

int Host::DocumentType(const Object& document)
{
  return DocumentTypeOfKind(document.Kind());
}

std::filesystem::path Host::DocumentPath(const Object& document)
{
  const Value& v = document.Prop("path");
  return v.is_string() ? std::filesystem::path(v.get<std::string>()) : std::filesystem::path();
}

bool Host::IsDocument(const Object& o)
{
  return DocumentTypeOfKind(o.Kind()) != 0;
}

Object* Host::TopPart(const Object& document) const
{
  Object* part = document.RefProp("topPart");
  return part != nullptr && part->Document() == &document ? part : nullptr;
}

void Host::ClearLibraryCallbacks()
{
  Registered = Callbacks{};
  // What the unloaded library registered is gone with it; the registrar's log keeps the history.
  RegistrationsFrom = RegistrarP->Log().size();
}

std::vector<std::string> Host::Registrations() const
{
  std::vector<std::string> out;
  const std::span<const Call> log = RegistrarP->Log();
  for (std::size_t i = std::min(RegistrationsFrom, log.size()); i < log.size(); ++i) {
    const Call& c = log[i];
    if (c.Op == "RegisterRunCommand")
      out.push_back("run-command");
    else if (c.Op == "RegisterCommandState")
      out.push_back("command-state");
    else if (c.Op == "RegisterLibraryId")
      out.push_back("library-id");
  }
  return out;
}

std::vector<std::wstring> Host::Messages() const
{
  std::vector<std::wstring> out;
  for (const Call* c : App->CallsOf("ShowMessage"))
    out.push_back(WideText(c->Arguments.at(0)));
  return out;
}

std::vector<int> Host::HideMessageHistory() const
{
  std::vector<int> out;
  for (const Call* c : App->CallsOf("SetHideMessage"))
    out.push_back(c->Arguments.at(0).get<int>());
  return out;
}

int Host::ErrorResets() const
{
  return int(ErrorP->CallCount("Reset"));
}

std::vector<Object*> Host::Referenced() const
{
  std::vector<Object*> out;
  for (const auto& o : All)
    if (o->RefCount() > 0) out.push_back(o.get());
  return out;
}

void Host::Describe(std::ostream& out, bool everyObject) const
{
  out << "documents: " << OpenDocuments.size() << "\n";
  for (std::size_t i = 0; i < OpenDocuments.size(); ++i) {
    const Object& d = *OpenDocuments[i];
    const std::filesystem::path path = DocumentPath(d);
    out << "  " << (i + 1) << ". " << DocumentTypeName(DocumentType(d)) << " #" << d.Id() << " "
        << (path.empty() ? std::string("(not saved)") : "\"" + Printable(path.string()) + "\"")
        << (&d == Active ? " active" : "") << (d.Prop("visible") == false ? " hidden" : "");
    if (const Object* part = TopPart(d))
      out << " top part " << Quoted(part->Text("name")) << " " << Quoted(part->Text("marking"));
    out << "\n";
    model::DescribeModel(*this, d, out);
  }
  if (Active == nullptr) out << "active document: none\n";
  out << "library: " << (CurrentLibrary.empty() ? std::string("none") : Printable(CurrentLibrary.string())) << "\n";
  out << "callbacks:";
  for (const std::string& r : Registrations())
    out << " " << r;
  out << "\n";
  out << "hide-message: " << int(HideMessage()) << "\n";
  // Worded for a newcomer reading a good run: clearing the last-error record and holding it are routine.
  out << "last-error record cleared by the library: " << ErrorResets()
      << (ErrorResets() == 1 ? " time\n" : " times\n");
  const std::vector<std::wstring> messages = Messages();
  out << "messages: " << messages.size() << "\n";
  for (const std::wstring& m : messages)
    out << "  " << Quoted(m) << "\n";
  const std::vector<Object*> held = Referenced();
  out << "objects the library still holds: " << held.size() << "\n";
  for (const Object* o : held) {
    out << "  #" << o->Id() << " " << o->Kind() << ", " << o->RefCount()
        << (o->RefCount() == 1 ? " reference" : " references");
    if (o == ErrorP) out << " (the host's last-error record: a library keeps it until it is unloaded)";
    out << "\n";
  }
  if (!everyObject) return;
  out << "objects: " << All.size() << "\n";
  for (const auto& o : All) {
    out << "  #" << o->Id() << " " << o->Kind();
    if (IsDocument(*o) && !IsOpen(*o)) out << " closed";
    if (o->Document() != nullptr && o->Document() != o.get()) out << " in #" << o->Document()->Id();
    if (o->Parent() != nullptr) out << " parent #" << o->Parent()->Id();
    out << (o->Applied() ? " applied" : " created") << " updates " << o->UpdateCount() << " calls "
        << o->Log().size() << " " << PrintableValue(o->Props()).dump() << "\n";
  }
}

} // namespace txhost

