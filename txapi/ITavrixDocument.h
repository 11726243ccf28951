#pragma once

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

#include <string>

namespace txapi {

class IChooseManager;
class IDocumentFrame;
class ISelectionManager;

// A host document of any type; its 2D and 3D views are ITavrixDocument2D and ITavrixDocument3D.
class ITavrixDocument : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"10383170-7577-4552-997a-8a2524677c16"};

  virtual DocumentTypeEnum GetType() = 0;
  // The full path of the document's file; empty while the document has never been saved.
  virtual std::wstring GetFullFileName() = 0;
  // Saves under the current file name; false when there is none or the file cannot be written.
  virtual bool Save() = 0;
  // Saves under fileName, which becomes the document's file name on success.
  virtual bool SaveAs(const std::wstring& fileName) = 0;
  // Closes the document; it leaves the host's document list.
  virtual bool Close(DocumentCloseOptions option) = 0;
  // The document's comment, kept with it.
  virtual void SetComment(const std::wstring& comment) = 0;
  // Makes the document the host's active document again.
  virtual void Activate() = 0;
  // The document's selection and highlight services.
  virtual SmartPtr<ISelectionManager> GetSelectionManager() = 0;
  virtual SmartPtr<IChooseManager> GetChooseManager() = 0;

  // The view window the document is shown in; empty for a hidden document.
  virtual SmartPtr<IDocumentFrame> GetDocumentFrame() = 0;

protected:
  ~ITavrixDocument() = default;
};

} // namespace txapi
