// Facets of the application and its services.

#include "txapi/IApplication.h"
#include "txapi/IDocuments.h"
#include "txapi/ILibraryRecord.h"
#include "txapi/IProgressBar.h"
#include "txapi/ITavrixAPIObject.h"
#include "txapi/ITavrixDocument.h"
#include "txapi/ITavrixError.h"
#include "txapi/ITavrixLibraryActions.h"
#include "txapi/ITranslator.h"
#include "txapi/IEvents.h"
#include "txapi/IPropertyPanel.h"
#include "txhost/lib/Events.h"
#include "txhost/lib/Facets.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Kinds.h"
#include "txhost/lib/Text.h"

namespace txhost::facets {

namespace {

class TavrixAPIObjectFacet final : public Facet<txapi::ITavrixAPIObject>
{
public:
  using Facet::Facet;

  int GetTypeCode() override
  {
    Log("GetTypeCode");
    return Model().Spec().TypeCode;
  }
};

class ApplicationFacet final : public Facet<txapi::IApplication>
{
public:
  using Facet::Facet;

  txapi::SmartPtr<txapi::ITavrixDocument> GetActiveDocument() override
  {
    Log("GetActiveDocument");
    return HandOut<txapi::ITavrixDocument>(ModelHost().ActiveDocument());
  }

  txapi::SmartPtr<txapi::IDocuments> GetDocuments() override
  {
    Log("GetDocuments");
    if (HandOutRefused("GetDocuments")) return {};
    return HandOut<txapi::IDocuments>(&ModelHost().DocumentsObject());
  }

  txapi::txHideMessageEnum GetHideMessage() override
  {
    Log("GetHideMessage");
    return ModelHost().HideMessage();
  }

  void SetHideMessage(txapi::txHideMessageEnum state) override
  {
    Log("SetHideMessage", state);
    ModelHost().SetHideMessage(state);
  }

  txapi::SmartPtr<txapi::ITavrixError> GetTavrixError() override
  {
    Log("GetTavrixError");
    if (HandOutRefused("GetTavrixError")) return {};
    return HandOut<txapi::ITavrixError>(&ModelHost().ErrorObject());
  }

  std::wstring GetFolder(int kind) override
  {
    Log("GetFolder", kind);
    return kind == DocumentsFolderKind ? FromPath(ModelHost().DocumentsFolder()) : std::wstring();
  }

  txapi::SmartPtr<txapi::ITranslator> GetTranslator() override
  {
    Log("GetTranslator");
    if (!ModelHost().TranslatorOffered() || HandOutRefused("GetTranslator")) return {};
    return HandOut<txapi::ITranslator>(&ModelHost().TranslatorObject());
  }

  void ShowMessage(const std::wstring& text) override
  {
    Log("ShowMessage", text);
    ModelHost().MessageShown(text);
  }

  bool AskQuestion(const std::wstring& text, const std::wstring& caption) override
  {
    Log("AskQuestion", text, caption);
    return ModelHost().NextAnswer();
  }

  txapi::SmartPtr<txapi::IProgressBar> GetProgressBar() override
  {
    Log("GetProgressBar");
    if (HandOutRefused("GetProgressBar")) return {};
    Host& host = ModelHost();
    const std::vector<Object*> bars = host.ObjectsOfKind(kinds::ProgressBar);
    Object* bar = bars.empty() ? nullptr : bars.front();
    if (bar == nullptr) {
      bar = &host.Create(kinds::ProgressBar);
      bar->MarkApplied();
    }
    return HandOut<txapi::IProgressBar>(bar);
  }

  void ShowHelp(int context) override { Log("ShowHelp", context); }

  std::wstring GetCurrentLibraryPath() override
  {
    Log("GetCurrentLibraryPath");
    return FromPath(ModelHost().CurrentLibraryPath());
  }

  txapi::SmartPtr<txapi::ILibraryRecord> GetLibraryRecord(const std::wstring& name) override
  {
    Log("GetLibraryRecord", name);
    if (HandOutRefused("GetLibraryRecord")) return {};
    return HandOut<txapi::ILibraryRecord>(ModelHost().FindLibraryRecord(name));
  }

  txapi::SmartPtr<txapi::IProcessParam> NewProcessParam() override
  {
    Log("NewProcessParam");
    if (HandOutRefused("NewProcessParam")) return {};
    return HandOut<txapi::IProcessParam>(&txhost::NewProcessParam(ModelHost()));
  }

  txapi::SmartPtr<txapi::IApplicationEvents> GetApplicationEvents() override
  {
    Log("GetApplicationEvents");
    if (HandOutRefused("GetApplicationEvents")) return {};
    return HandOut<txapi::IApplicationEvents>(&Model());
  }

  txapi::SmartPtr<txapi::IAPIObject> RefreshDocument(const txapi::SmartPtr<txapi::ITavrixDocument>& doc,
                                                      int mode) override
  {
    Log("RefreshDocument", doc, mode);
    return HandOut<txapi::IAPIObject>(&Model());
  }

  // The host keeps no state for it: the call is recorded so that callers can be checked.
  txapi::SmartPtr<txapi::IAPIObject> CommandClosing(bool flag) override
  {
    Log("CommandClosing", flag);
    return HandOut<txapi::IAPIObject>(&Model());
  }

private:
  static constexpr int DocumentsFolderKind = 2;
};

class DocumentsFacet final : public Facet<txapi::IDocuments>
{
public:
  using Facet::Facet;

  txapi::SmartPtr<txapi::ITavrixDocument> Add(txapi::DocumentTypeEnum type, bool visible) override
  {
    Log("Add", type, visible);
    if (HandOutRefused("Add")) return {};
    return HandOut<txapi::ITavrixDocument>(ModelHost().NewDocument(type, visible));
  }

  txapi::SmartPtr<txapi::ITavrixDocument> Create(txapi::DocumentTypeEnum type, bool flag) override
  {
    Log("Create", type, flag);
    if (HandOutRefused("Create")) return {};
    return HandOut<txapi::ITavrixDocument>(ModelHost().NewDocument(type, false));
  }

  txapi::SmartPtr<txapi::ITavrixDocument> Open(const std::wstring& fileName, bool visible, bool flag) override
  {
    Log("Open", fileName, visible, flag);
    if (HandOutRefused("Open")) return {};
    return HandOut<txapi::ITavrixDocument>(ModelHost().OpenDocument(ToPath(fileName), visible));
  }

  int GetCount() override
  {
    Log("GetCount");
    return int(ModelHost().Documents().size());
  }

  txapi::SmartPtr<txapi::ITavrixDocument> GetItem(int index) override
  {
    Log("GetItem", index);
    const auto& documents = ModelHost().Documents();
    if (index < 0 || std::size_t(index) >= documents.size()) return {};
    return HandOut<txapi::ITavrixDocument>(documents[std::size_t(index)]);
  }
};

class TavrixErrorFacet final : public Facet<txapi::ITavrixError>
{
public:
  using Facet::Facet;

  // The call is counted so that callers can be checked.
  void Reset() override { Log("Reset"); }
};

class TranslatorFacet final : public Facet<txapi::ITranslator>
{
public:
  using Facet::Facet;

  std::wstring Translate(const std::wstring& phrase) override
  {
    Log("Translate", phrase);
    return ModelHost().Translate(phrase);
  }
};

class LibraryRecordFacet final : public Facet<txapi::ILibraryRecord>
{
public:
  using Facet::Facet;

  std::wstring GetFullFileName() override
  {
    Log("GetFullFileName");
    return Model().Text("path");
  }

  std::wstring GetFontName() override
  {
    Log("GetFontName");
    return Model().Text("font");
  }
};

class LibraryActionsFacet final : public Facet<txapi::ITavrixLibraryActions>
{
public:
  using Facet::Facet;

  void RegisterRunCommand(const txapi::RunCommandFunction& function) override
  {
    Log("RegisterRunCommand");
    ModelHost().LibraryCallbacks().RunCommand = function;
  }

  void RegisterCommandState(const txapi::CommandStateFunction& function) override
  {
    Log("RegisterCommandState");
    ModelHost().LibraryCallbacks().CommandState = function;
  }

  void RegisterLibraryId(const txapi::LibraryIdFunction& function) override
  {
    Log("RegisterLibraryId");
    ModelHost().LibraryCallbacks().LibraryId = function;
  }
};

} // namespace

FacetEntry TavrixAPIObject()
{
  return Offer<TavrixAPIObjectFacet>("ITavrixAPIObject");
}
FacetEntry Application()
{
  return Offer<ApplicationFacet>("IApplication");
}
FacetEntry Documents()
{
  return Offer<DocumentsFacet>("IDocuments");
}
FacetEntry TavrixError()
{
  return Offer<TavrixErrorFacet>("ITavrixError");
}
FacetEntry Translator()
{
  return Offer<TranslatorFacet>("ITranslator");
}
FacetEntry LibraryRecord()
{
  return Offer<LibraryRecordFacet>("ILibraryRecord");
}
FacetEntry LibraryActions()
{
  return Offer<LibraryActionsFacet>("ITavrixLibraryActions");
}

} // namespace txhost::facets
