#pragma once

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

#include <string>

namespace txapi {

class ITavrixDocument;

// The application's collection of open documents. A new or opened document becomes the active one.
class IDocuments : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"b41f0e86-3c27-4d95-a0e2-58c9d7161fa4"};

  // A new, unsaved document of the type; empty when the host cannot make one.
  virtual SmartPtr<ITavrixDocument> Add(DocumentTypeEnum type, bool visible) = 0;
  // The same by the host's other creation operation, whose flag is the host's own: the document is
  // made hidden; the flag is recorded.
  virtual SmartPtr<ITavrixDocument> Create(DocumentTypeEnum type, bool flag) = 0;
  // Opens a document file; empty when it cannot be read. The further flag is accepted for the host's
  // interface and has no effect here.
  virtual SmartPtr<ITavrixDocument> Open(const std::wstring& fileName, bool visible, bool flag) = 0;
  // The open documents, in the order they were created or opened.
  virtual int GetCount() = 0;
  // The open document at index, empty outside 0 .. GetCount() - 1.
  virtual SmartPtr<ITavrixDocument> GetItem(int index) = 0;

protected:
  ~IDocuments() = default;
};

} // namespace txapi
