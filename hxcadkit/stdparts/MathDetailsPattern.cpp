// The steps every mould part class shares: its record's head and values, the choice of a
// standard size, the preview at the rectangle's corners, the sheet and part document openers.
#include <algorithm>
#include <cmath>
#include <string>

#include "hxcadkit/adapter/drModelerAPI.h"
#include "hxcadkit/drawing/MathDetail2.h"
#include "hxcadkit/stdparts/MathDetailsl.h"

namespace mould {

void WriteHead(TKmfData& S, const TDetail& part)
{
  S.Write(part.Design);
  const int code = part.Code;
  S.Write(code);
}

void ReadHead(TKmfData& S, TDetail& part)
{
  S.Read(part.Design);
  int code = 0;
  S.Read(code);
  part.Code = code;
}

void Write(TKmfData& S, std::initializer_list<double> values)
{
  for (const double& v : values)
    S.Write(v);
}

void Read(TKmfData& S, std::initializer_list<double*> values)
{
  for (double* v : values)
    S.Read(*v);
}

void LoadTables()
{
  ABaseDetail.Init();
}

int FindRow(int table, int column1, double value1, int column2, double value2)
{
  LoadTables();
  return ABaseDetail.IndexStDet(table, column1, value1, column2, value2, 0, 0.0);
}

double Col(int table, int row, int column)
{
  return ABaseDetail.ParStDet(table, row, column);
}

double ColOfSize(int table, int key, double value, int wanted, double fallback)
{
  LoadTables();
  const int rows = ABaseDetail.SocketCount(table);
  for (int row = 1; row < rows; ++row)
    if (Col(table, row, key) == value) {
      const double v = Col(table, row, wanted);
      return v > 0.0 ? v : fallback;
    }
  return fallback;
}

void Chosen(TDetail& part, int table, int row)
{
  if (row != 0) {
    part.Code = 1000 * table + row;
    if (drApi::PControlModel != nullptr) drApi::PControlModel->SetCodeDet(part.Id, table, row, 0);
  }
  part.Design = row != 0;
}

void ShowCorners(const TDetail& part, TGImage& GI, const TColor& Color, const TRect2D& R, double r)
{
  if (!part.Design) return;
  GI.drColorStyle(Color, TPenStyles(1));
  GI.drCircle(R.RU.x, R.RU.y, r);
  GI.drCircle(R.RU.x, R.LD.y, r);
  GI.drCircle(R.LD.x, R.RU.y, r);
  GI.drCircle(R.LD.x, R.LD.y, r);
}

bool OpenSheet(const TDetail& part, double x, double y)
{
  return part.M2.Ptr != nullptr && part.M().drLeafStampView1(part.Id, 0, x, y, true);
}

bool OpenPart(const TDetail& part, txapi::txObj3dTypeEnum plane)
{
  return part.M2.Ptr != nullptr && part.M().drCreate3DNewPartPlane(part.Id, 0, true, plane, 0.0);
}

void Grey(TModeler3D& M)
{
  M.drColor3D(0x909090, 0.8, 0.6, 0.95, 0.95, 1.0, 0.8);
}

TString Num(double v)
{
  return TString(v, 2, true, 7);
}

int ToInt(double v)
{
  return SaturatingToInt(v);
}

bool Positive(std::initializer_list<double> sizes)
{
  return std::all_of(sizes.begin(), sizes.end(), [](double v) { return std::isfinite(v) && v > 0.0; });
}

bool NotNegative(std::initializer_list<double> sizes)
{
  return std::all_of(sizes.begin(), sizes.end(), [](double v) { return std::isfinite(v) && v >= 0.0; });
}

bool RefuseSizes(const char* part, const char* why)
{
  if (!why) return false;
  RefuseElement((std::string(part) + ": " + why).c_str());
  return true;
}

} // namespace mould
