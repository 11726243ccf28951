#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class ITableCell;

// A table of text cells; a new one has one cell.
class ITable : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"83574abb-4c9e-42eb-a8b1-f21e62b53f01"};

  // A column added at index (-1: last); the meaning of flag is the host's.
  virtual void AddColumn(int index, int flag) = 0;
  // Empty outside the table.
  virtual SmartPtr<ITableCell> GetCell(int row, int column) = 0;

protected:
  ~ITable() = default;
};

} // namespace txapi
