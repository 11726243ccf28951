#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IText;

// Cells of a title block.
enum txStampEnum : int {
  txStPartNumber = 1,
  txStDescription = 2,
  txStMaterial = 3,
  txStMass = 5,
  txStScale = 6,
  txStSheetNumber = 7,
  txStNumberOfSheets = 8,
  txStCompany = 9,
  txStTypeOfWork = 10,
  txStFormat = 32,
  txStDocumentLetter1 = 40,
  txStDocumentLetter2 = 41,
  txStDocumentLetter3 = 42,
  txStFullFileName = 43,
  txStShortFileName = 44,
  txStMarkingLine = 45,
  txStDocumentName = 51,
  txStDocumentCode = 52,
  txStOKPCode = 53,
  txStAuthor = 110,
  txStCheckedBy = 111,
  txStMfgApprovedBy = 112,
  txStDesigner = 113,
  txStRateOfInspection = 114,
  txStApprovedBy = 115,
  txStEndDesignDate = 130,
  txStCheckedDate = 131,
  txStMfgApprovedDate = 132,
  txStExecutionDate = 133,
  txStRateOfInspectionDate = 134,
  txStApprovedDate = 135,
};

// The title block of a sheet.
class IStamp : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"655f4561-4fb8-4389-80e8-cd0bfb105a56"};

  // The text of a cell; empty for a cell the block does not have.
  virtual SmartPtr<IText> GetText(txStampEnum cell) = 0;
  // Applies what was written; false when the host refuses.
  virtual bool Update() = 0;

protected:
  ~IStamp() = default;
};

} // namespace txapi
