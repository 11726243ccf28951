#include "hxcadkit/core/ControlModel.h"

#include <algorithm>
#include <utility>

#include "hxcadkit/core/Messager.h"

namespace {

constexpr const char* ExtDrawing = ".tdr";
constexpr const char* ExtPart = ".tpt";
constexpr const char* ExtAssembly = ".tas";

// SetCurrent places the title block this far from the upper left corner of the drawing field.
constexpr double StampDx = 65.0;
constexpr double StampDy = -70.0;

} // namespace

// ---------------------------------------------------------------------------------------------
// TStampParam

TStampParam::~TStampParam() = default;

void TStampParam::dr2D()
{
  THostModelerLink* host = THostModelerLink::Get();
  if (!host) return;
  const std::pair<const TString*, int> cells[] = {{&sPlant, cPlant},
                                                  {&sDesign, cDesign},
                                                  {&sChecked, cChecked},
                                                  {&sTechChecked, cTechChecked},
                                                  {&sNormoChecked, cNormoChecked},
                                                  {&sHasRatified, cHasRatified}};
  for (const auto& [text, cell] : cells) {
    if (text->Empty()) continue;
    host->drColumnShtamp(cell);
    host->drStringObj(*text);
  }
}

void TStampParam::toStream(TKmfData& S)
{
  for (const TString* s : {&sPlant, &sDesign, &sChecked, &sTechChecked, &sNormoChecked, &sHasRatified})
    S.Write(*s);
}

bool TStampParam::fromStream(TKmfData& S)
{
  TString t[6];
  for (TString& s : t)
    S.Read(s);
  if (S.ErrorReadFromFileToBufer) return false;
  sPlant = t[0];
  sDesign = t[1];
  sChecked = t[2];
  sTechChecked = t[3];
  sNormoChecked = t[4];
  sHasRatified = t[5];
  return true;
}

// ---------------------------------------------------------------------------------------------
// TControlModel::dcDetail

void TControlModel::dcDetail::Swap(dcDetail& other)
{
  std::swap(Number, other.Number);
  Name.Swap(other.Name);
  std::swap(Material, other.Material);
  std::swap(Shoroh, other.Shoroh);
  std::swap(Scale2, other.Scale2);
  std::swap(PD, other.PD);
  std::swap(DC, other.DC);
}

void TControlModel::dcDetail::Write(TKmfData& S) const
{
  S.Write(std::int32_t(Number));
  S.Write(Name);
  S.Write(std::int32_t(Material));
  S.Write(Shoroh);
  S.Write(Scale2);
  S.Write(std::int32_t(DC.ID));
  S.Write(std::int32_t(DC.Index));
  S.Write(std::int32_t(DC.Index2));
}

bool TControlModel::dcDetail::Read(TKmfData& S)
{
  std::int32_t number = 0, material = 0, id = 0, index = 0, index2 = 0;
  TString name;
  double shoroh = 0.0, scale = 0.0;
  S.Read(number);
  S.Read(name);
  S.Read(material);
  S.Read(shoroh);
  S.Read(scale);
  S.Read(id);
  S.Read(index);
  S.Read(index2);
  if (S.ErrorReadFromFileToBufer) return false;
  Number = number;
  Name = name;
  Material = material;
  Shoroh = shoroh;
  Scale2 = scale;
  DC.Set(id, index, index2);
  return true;
}

// ---------------------------------------------------------------------------------------------
// TControlModel

TControlModel::TControlModel(const TString& stateName, const TString& helpName)
    : StateName(stateName), HelpName(helpName)
{
}

TControlModel::~TControlModel() = default;

void TControlModel::SetDetails(dcDetail* table, int count)
{
  DataDetail = table;
  CountDetail = table ? std::max(count, 0) : 0;
  for (int i = 0; i < CountDetail; ++i) {
    for (int j = i; j < CountDetail; ++j) {
      if (table[j].Number != i) continue;
      if (j != i) table[i].Swap(table[j]);
      break;
    }
  }
  // A record whose place no index named keeps its place; none is marked as used.
  for (int i = 0; i < CountDetail; ++i)
    table[i].Number = 0;
}

void TControlModel::SetExistDet(int n, int number)
{
  if (ValidDet(n)) DataDetail[n].Number = number;
}

bool TControlModel::ExistDetail(int n) const
{
  return n == 0 || (ValidDet(n) && DataDetail[n].Number > 0);
}

int TControlModel::NumberDet(int n) const
{
  return ValidDet(n) ? DataDetail[n].Number : 0;
}

int TControlModel::MaterialDet(int n) const
{
  return ValidDet(n) ? DataDetail[n].Material : 0;
}

int TControlModel::TypeDet(int, int) const
{
  return 0;
}

TBaseDetail& TControlModel::GetCodeDet(int n)
{
  if (ValidDet(n)) return DataDetail[n].DC;
  // Outside the table: a code of its own, handed out empty every time.
  static TBaseDetail none;
  none = TBaseDetail();
  return none;
}

void TControlModel::SetCodeDet(int n, const TBaseDetail& code)
{
  if (ValidDet(n)) DataDetail[n].DC = code;
}

void TControlModel::SetCodeDet(int n, int id, int index, int index2)
{
  if (ValidDet(n)) DataDetail[n].DC.Set(id, index, index2);
}

int TControlModel::DetailByNumber(int number) const
{
  for (int i = 0; DataDetail && i < CountDetail; ++i)
    if (DataDetail[i].Number == number) return i;
  return -1;
}

TString TControlModel::NameDet(int n, int exec) const
{
  if (!ValidDet(n)) return TString();
  TString s = ::DC(DataDetail[n].Name);
  if (exec != 0) s += TString(" ") + TString(exec);
  return s;
}

TString TControlModel::MarkingDet(int n, int exec) const
{
  if (!ValidDet(n)) return TString();
  const dcDetail& d = DataDetail[n];
  TString s = NameMarking;
  if (!NameMarking.Empty()) {
    s = ::DC(NameMarking) + TString("-") + TString(d.Number);
    if (exec != 0) s += TString("-") + TString(exec);
  }
  if (ABaseDetail.Active && d.DC.ID != 0) s += TString(" ( ") + ABaseDetail.Name(d.DC) + TString(" ) ");
  return s;
}

TString TControlModel::NoteDet(int n) const
{
  if (!ABaseDetail.Active || !ValidDet(n)) return TString();
  return ABaseDetail.Name(DataDetail[n].DC);
}

TString TControlModel::sfDetail(int n, int exec) const
{
  TString s = prFileName + TString(NumberDet(n));
  if (exec != 0) s += TString("-") + TString(exec);
  return s;
}

TString TControlModel::sfDetail2D(int n, int exec) const
{
  return sfDetail(n, exec) + TString(ExtDrawing);
}

TString TControlModel::sfDetail3D(int n, int exec) const
{
  return sfDetail(n, exec) + TString(n != 0 ? ExtPart : ExtAssembly);
}

bool TControlModel::SetCurrent(TModeler3D& m, int n, int exec)
{
  if (!ValidDet(n)) return false;
  const dcDetail& rec = DataDetail[n];
  if (n != 0 && rec.Number <= 0) return false;

  TCurrentDetail d;
  d.cDetail = n;
  d.cSuffics = exec;
  if (THostModelerLink* host = THostModelerLink::Get()) d.Weight = host->GetMassFile(sfDetail3D(n, exec));
  d.comment = NameDet(n, 0);
  d.designation = ::DC(MarkingDet(n, exec));
  d.fileName = prFileName + TString(rec.Number);
  if (exec != 0) {
    d.fileName += TString("-") + TString(exec);
    d.comment += TString(exec);
  }
  TDrawingLink* drawing = TDrawingLink::Get();
  if (!drawing) return true;
  d.material = drawing->MaterialName(rec.Material);
  double x = 0.0, y = 0.0;
  drawing->GetLeafLeftUp(0, 1, x, y);
  d.Left = x + StampDx;
  d.Top = y + StampDy;
  drawing->SetCurrent(m, d);
  return true;
}

void TControlModel::Make2D(TModeler3D& m)
{
  TDrawingLink* drawing = TDrawingLink::Get();
  if (!drawing) return;
  drawing->ClearOnlySizes2D(m);
  for (int i = CountDetail - 1; DataDetail && i >= 1; --i) {
    const dcDetail& d = DataDetail[i];
    if (d.Number == 0 || !d.PD) continue;
    try {
      drawing->dr2D(*d.PD);
    } catch (...) {
      // One failing part must not stop the drawing of the others.
    }
  }
}

void TControlModel::Make3D(TModeler3D&, int n, bool)
{
  TDrawingLink* drawing = TDrawingLink::Get();
  if (!drawing) return;
  for (int i = std::min(n, CountDetail - 1); DataDetail && i >= 1; --i) {
    const dcDetail& d = DataDetail[i];
    if (d.Number == 0 || !d.PD) continue;
    try {
      drawing->dr3D(*d.PD, 10);
    } catch (...) {
      // One failing part must not stop the building of the others.
    }
  }
}

void TControlModel::Write(TKmfData& S)
{
  S.Write(NameMarking);
  SP.toStream(S);
}

bool TControlModel::Read(TKmfData& S)
{
  TString marking = NameMarking;
  if (S.Version() >= 33) S.Read(marking);
  TStampParam sp;
  if (S.ErrorReadFromFileToBufer || !sp.fromStream(S)) return false;
  NameMarking = marking;
  SP = sp;
  return true;
}

void TControlModel::to(std::vector<std::uint8_t>& v)
{
  TKmfData S;
  Write(S);
  S.to(v);
}

bool TControlModel::from(const std::vector<std::uint8_t>& v)
{
  TKmfData S;
  if (!S.from(v)) return false;
  return Read(S);
}
