#pragma once

#include "txapi/Enums.h"
#include "txapi/ITavrixLibraryActions.h"
#include "txhost/lib/Faults.h"
#include "txhost/lib/Object.h"

#include <deque>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace txapi {
class IApplication;
} // namespace txapi

namespace txhost {

class SolidLink;

// The stand-in host: an application with its documents and services, over the generic object model.
// Libraries reach it only through txapi (Application(), Registrar()); the host's own user (the txhost
// program, tests) drives and inspects it through this class.
class Host
{
public:
  Host();
  ~Host();
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  // What a library's load entry point receives.
  txapi::IApplication& Application();
  txapi::ITavrixLibraryActions& Registrar();

  // The host's service objects.
  Object& ApplicationObject() const { return *App; }
  Object& RegistrarObject() const { return *RegistrarP; }
  Object& DocumentsObject() const { return *DocumentsP; }
  Object& ErrorObject() const { return *ErrorP; }
  Object& TranslatorObject() const { return *TranslatorP; }

  Faults& GetFaults() { return FaultSet; }
  const Faults& GetFaults() const { return FaultSet; }

  // The folder for the user's documents (folder kind 2), where relative document paths lead. It starts as
  // the working directory.
  void SetDocumentsFolder(const std::filesystem::path& folder);
  const std::filesystem::path& DocumentsFolder() const { return Folder; }
  // An absolute, lexically normal path: a relative one is taken from the documents folder.
  std::filesystem::path Resolve(const std::filesystem::path& path) const;

  // The library being loaded or run, and the records of connected libraries.
  void SetCurrentLibraryPath(const std::filesystem::path& path);
  const std::filesystem::path& CurrentLibraryPath() const { return CurrentLibrary; }
  void SetLibraryRecord(const std::wstring& name, const std::filesystem::path& file,
                        const std::wstring& font);
  void RemoveLibraryRecord(const std::wstring& name);
  Object* FindLibraryRecord(const std::wstring& name) const;

  // The translation service: offered by default, with no phrases (every phrase translates to itself).
  void OfferTranslator(bool offered) { TranslatorIsOffered = offered; }
  bool TranslatorOffered() const { return TranslatorIsOffered; }
  void SetTranslation(const std::wstring& phrase, const std::wstring& translation);
  std::wstring Translate(const std::wstring& phrase) const;

  // Answers of the question box: queued ones first, then the default (yes).
  void QueueAnswer(bool yes) { Answers.push_back(yes); }
  void SetDefaultAnswer(bool yes) { DefaultAnswer = yes; }
  bool NextAnswer();

  // The hide-message state as the user sets it (the library's own changes are logged on the application).
  void SetHideMessage(txapi::txHideMessageEnum state);
  txapi::txHideMessageEnum HideMessage() const;

  // Objects, in creation order.
  Object& Create(std::string_view kind, Object* document = nullptr, Object* parent = nullptr);
  Object* Find(ObjectId id) const;
  std::vector<Object*> Objects() const;
  std::vector<Object*> ObjectsOfKind(std::string_view kind) const;
  // The document itself, then every object that belongs to it.
  std::vector<Object*> ObjectsOf(const Object& document) const;
  // Takes deleted objects out of the host, each with its members, when no reference to any of them is held
  // through txapi; so that what a document once held and dropped costs nothing later. The others stay
  // (deleted, and still found). Returns how many objects went.
  // With a keeper (a drawing group emptied while open, to be drawn again at once), what went is kept as
  // spares instead of being destroyed, replacing the spares kept before: the next objects the host makes
  // are made of spares of their kinds while there are some, each the same new object to every observer
  // (identifier included) without the allocations of one.
  std::size_t Forget(const std::vector<Object*>& deleted, const Object* keeper = nullptr);
  // Destroys the spares kept for keeper, if any are left.
  void DropSpares(const Object& keeper);
  // Frees what closed documents held, and the documents read as the source of an object (a component,
  // a billet, a phantom) once that object is gone: each with everything under it, when nothing of it is
  // referenced through txapi. The host calls it before it makes or opens a document; returns how many
  // objects went.
  std::size_t Collect();
  // The source document read for owner (a component's part file): it stays while owner does.
  void SetSourceOwner(const Object& source, const Object& owner);

  // Documents. A new or opened document becomes the active one; closing one takes it out of the list and
  // makes the last remaining one active.
  Object* NewDocument(txapi::DocumentTypeEnum type, bool visible);
  // An open that may be saved (mayBeSaved) refuses a document that would not fit a file once saved; one only
  // read (checked, drawn, exported) takes any document the reader accepts.
  Object* OpenDocument(const std::filesystem::path& file, bool visible, std::string* error = nullptr,
                       bool mayBeSaved = true);
  // The system's error number of the document's last save, 0 when it was written or failed without one
  // (offered to libraries through the stand-in's own IDocumentSaveRecord).
  static int SaveError(const Object& document);
  bool SaveDocument(Object& document, std::string* error = nullptr);
  bool SaveDocumentAs(Object& document, const std::filesystem::path& file, std::string* error = nullptr);
  // A library's save under a new name. A new document that holds nothing yet only takes the name: it is
  // written at its first save or close with saving, or before its file is read, whichever comes first, and
  // closed without saving it leaves no file. (A build names each new part at once and fills it after:
  // written at once, every part file would be written twice.) Any other document is saved as by
  // SaveDocumentAs.
  bool NameDocument(Object& document, const std::filesystem::path& file, std::string* error = nullptr);
  bool CloseDocument(Object& document);
  // Writes a document that took the name file and was not written yet (a reader of file needs it on disk).
  void WritePendingFile(const std::filesystem::path& file);
  // Writes every open document named and not written yet, as its naming would have: when a library's
  // command ends, what it left open is on disk for the user.
  void WritePendingFiles();
  bool IsOpen(const Object& document) const;
  const std::vector<Object*>& Documents() const { return OpenDocuments; }
  Object* ActiveDocument() const { return Active; }
  // Makes an open document (or none, for nullptr) the active one; false for a document that is not open.
  bool SetActiveDocument(Object* document);
  static int DocumentType(const Object& document);
  static std::filesystem::path DocumentPath(const Object& document);
  static bool IsDocument(const Object& o);
  Object* TopPart(const Object& document) const;
  // The solid modeller the host makes its parts' features with, when one is attached (a program or test
  // that links the solid evaluator): a feature it cannot make, that changes nothing or leaves its part in
  // other than one solid fails. Without one the host fails only what it cannot place.
  void SetSolidModeller(SolidLink* solids) { Modeller = solids; }
  SolidLink* SolidModeller() const { return Modeller; }

  // What the library registered, as copies the host owns.
  struct Callbacks
  {
    txapi::RunCommandFunction RunCommand;
    txapi::CommandStateFunction CommandState;
    txapi::LibraryIdFunction LibraryId;
  };
  Callbacks& LibraryCallbacks() { return Registered; }
  // Destroys the registered function objects (before their library is unloaded) and forgets the
  // registrations.
  void ClearLibraryCallbacks();
  // The registrations of the loaded library in the order it made them: "run-command", "command-state", "library-id".
  std::vector<std::string> Registrations() const;

  // Told of each message box as the library shows it, before the step that shows it ends (a host's box
  // appears at once; the transcript lists it only after the step).
  void SetMessageWatch(std::function<void(const std::wstring&)> watch) { MessageWatch = std::move(watch); }
  void MessageShown(const std::wstring& text) const
  {
    if (MessageWatch) MessageWatch(text);
  }

  // Inspection shortcuts over the logs.
  std::vector<std::wstring> Messages() const;
  std::vector<int> HideMessageHistory() const;
  int ErrorResets() const;
  // This host's objects that are still referenced through txapi.
  std::vector<Object*> Referenced() const;
  // What the host holds: documents, library, messages, references; with everyObject, every object too.
  void Describe(std::ostream& out, bool everyObject) const;

  // The last text read or written of document files and the tree it parses to: a file read again unchanged
  // (the components of an assembly that are one part) is not parsed again. Kept for files of ordinary size
  // only, and within a bound in all (DocumentFile.h).
  struct ParsedFile
  {
    std::string Text;
    Value Root;
  };
  std::map<std::filesystem::path, ParsedFile>& ParsedFiles() { return Parsed; }

private:
  static void NoteSaveError(Object& document, int code);
  bool DeferFirstWrite(Object& document, const std::filesystem::path& path);
  void WritePending(Object& document);
  // Takes the objects (distinct, marked as leaving) out of the host and destroys them; with spare, hands
  // them over there in creation order instead.
  void Drop(const std::vector<const Object*>& gone, std::vector<std::unique_ptr<Object>>* spare = nullptr);
  // Appends o and everything under it to out, each once, marking them as leaving.
  static void Gather(const Object& o, std::vector<const Object*>& out);
  // Whether o or anything under it is referenced through txapi.
  static bool HeldThroughApi(const Object& o);

  std::vector<std::unique_ptr<Object>> All; // in creation order, which is the order of their identifiers
  std::vector<Object*> AllDocuments;        // open, closed and read as sources
  std::vector<Object*> LoosePlacements;     // handed out on their own, freed once released
  std::unordered_map<ObjectId, ObjectId> SourceOwners;
  Faults FaultSet;
  Object* App = nullptr;
  Object* RegistrarP = nullptr;
  Object* DocumentsP = nullptr;
  Object* ErrorP = nullptr;
  Object* TranslatorP = nullptr;
  std::vector<Object*> OpenDocuments;
  Object* Active = nullptr;
  SolidLink* Modeller = nullptr;
  std::filesystem::path Folder;
  std::filesystem::path CurrentLibrary;
  std::map<std::wstring, Object*> LibraryRecords;
  bool TranslatorIsOffered = true;
  std::map<std::wstring, std::wstring> Translations;
  std::deque<bool> Answers;
  bool DefaultAnswer = true;
  Callbacks Registered;
  std::function<void(const std::wstring&)> MessageWatch;
  std::size_t RegistrationsFrom = 0; // the registrar's log entry where the loaded library's begin
  std::map<std::filesystem::path, ParsedFile> Parsed;
  struct SparePool
  {
    const KindSpec* Kind;
    std::vector<std::unique_ptr<Object>> Objects; // taken from Next on
    std::size_t Next;
  };
  std::vector<SparePool> Spares; // one per kind; see Forget
  ObjectId SpareKeeper = 0;
  const KindSpec* LastKind = nullptr; // the kind Create made last
};

} // namespace txhost
