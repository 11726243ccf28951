#pragma once

// Host enumerations with the host's names and values.

namespace txapi {

// The kind of a host document.
enum DocumentTypeEnum : int {
  txDocumentDrawing = 1,
  txDocumentFragment = 2,
  txDocumentSpecification = 3,
  txDocumentPart = 4,
  txDocumentAssembly = 5,
  txDocumentTextual = 6,
  txDocumentTechnologyAssembly = 7,
};

// Whether the host hides its own messages while a library works.
enum txHideMessageEnum : int {
  txShowMessage = 0,
  txHideMessageYes = 1,
  txHideMessageNo = 2,
};

// How the user started a library command. Libraries are free to ignore it.
enum txRunCommandModeEnum : int {
  txRunCommandNormal = 0,
  txRunCommandRepeat = 1,
};

// What closing a document does with unsaved changes.
enum DocumentCloseOptions : int {
  txCloseWithoutSaving = 0,
  txCloseSaveChanges = 1,
  txCloseAskUser = 2,
};

} // namespace txapi
