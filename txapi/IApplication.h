#pragma once

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

#include <string>

namespace txapi {

class IApplicationEvents;
class IProcessParam;

class IDocuments;
class ILibraryRecord;
class IProgressBar;
class ITavrixDocument;
class ITavrixError;
class ITranslator;

// The host application, handed to the library's load entry point.
class IApplication : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"5f9e2b43-a816-4d7c-93e0-c2b7415a06d8"};

  // The document the user works in; empty when there is none.
  virtual SmartPtr<ITavrixDocument> GetActiveDocument() = 0;
  virtual SmartPtr<IDocuments> GetDocuments() = 0;

  virtual txHideMessageEnum GetHideMessage() = 0;
  virtual void SetHideMessage(txHideMessageEnum state) = 0;

  // The host error object.
  virtual SmartPtr<ITavrixError> GetTavrixError() = 0;

  // The folder service: the path of the host's folder of the given kind (2: the folder for the user's
  // documents), without a trailing separator; empty for a kind the host does not know.
  virtual std::wstring GetFolder(int kind) = 0;

  // The translation service; empty when the host offers none.
  virtual SmartPtr<ITranslator> GetTranslator() = 0;

  // The host's modal message box.
  virtual void ShowMessage(const std::wstring& text) = 0;
  // The host's yes/no question box; true for yes.
  virtual bool AskQuestion(const std::wstring& text, const std::wstring& caption) = 0;

  // The progress bar; empty when the host offers none.
  virtual SmartPtr<IProgressBar> GetProgressBar() = 0;
  // Shows the host's help topic context.
  virtual void ShowHelp(int context) = 0;

  // The full path of the library that the host is loading or running.
  virtual std::wstring GetCurrentLibraryPath() = 0;
  // The host's record of the library connected under name; empty when it has none.
  virtual SmartPtr<ILibraryRecord> GetLibraryRecord(const std::wstring& name) = 0;

  // Commands: new parameters for a process's panel, the application's event source, and a refresh of the
  // document (the active one when doc is empty) in the given mode; the result is the host's.
  virtual SmartPtr<IProcessParam> NewProcessParam() = 0;
  virtual SmartPtr<IApplicationEvents> GetApplicationEvents() = 0;
  virtual SmartPtr<IAPIObject> RefreshDocument(const SmartPtr<ITavrixDocument>& doc, int mode) = 0;
  // The call a 2D command makes on the application as it goes, with flag false; the caller releases the
  // object it answers at once.
  virtual SmartPtr<IAPIObject> CommandClosing(bool flag) = 0;

protected:
  ~IApplication() = default;
};

} // namespace txapi
