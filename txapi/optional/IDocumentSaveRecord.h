#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/InterfaceId.h"

#include <cstdint>

namespace txapi::optional {

// An optional interface: what a host may tell of a document's saves beyond the interfaces every host offers,
// the file the last save wrote and why the last one failed. Its own identifier, queried from a document as
// any interface is: a host that does not offer it gives an empty holder, and a library does without. Nothing
// a library needs to work may depend on it.
class IDocumentSaveRecord : public txapi::IAPIObject
{
public:
  static constexpr txapi::InterfaceId IID{"7b3e9d14-2c58-4f0a-a6e1-93d5c08b4f27"};

  // The file the document's last successful save wrote, as it stood when written (device, inode, size,
  // modification time in nanoseconds): a file found at its name later with another identity was put there by
  // someone else; and whether that save replaced a file standing at the name. False when this session never
  // saved the document.
  virtual bool GetSavedFile(std::uint64_t& device, std::uint64_t& inode, std::uint64_t& size,
                            std::int64_t& modified, bool& replaced) = 0;
  // The system's error number of the document's last save when it failed (no room left, no right to write,
  // ...); 0 when the last save wrote its file or its failure has no number.
  virtual int GetSaveError() = 0;

protected:
  ~IDocumentSaveRecord() = default;
};

} // namespace txapi::optional
