// Object attributes and the part material.

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "hxcadkit/adapter/drModelerAPI.h"
#include "txapi/IApplicationObjects.h"
#include "txapi/IAttrTypeMng.h"
#include "txapi/IAttribute.h"
#include "txapi/IAttributeKeeper.h"
#include "txapi/IAttributeType.h"
#include "txapi/IProperty.h"
#include "txapi/IPropertyKeeper.h"
#include "txapi/IPropertyMng.h"

namespace drApi {

namespace {

using TObjects = std::vector<txapi::SmartPtr<txapi::ITavrixAPIObject>>;

// Type numbers travel as doubles; anything that names no type (negative, below one, NaN) is 0, and
// values past the host's range clamp instead of overflowing the conversion.
std::uint64_t TypeNumber(double v)
{
  if (!std::isfinite(v) || v < 1.0) return 0;
  if (v >= 18446744073709551616.0) return std::numeric_limits<std::uint64_t>::max();
  return static_cast<std::uint64_t>(v);
}

bool Same(const txapi::SmartPtr<txapi::ITavrixAPIObject>& a, const txapi::SmartPtr<txapi::ITavrixAPIObject>& b)
{
  if (!a || !b) return false;
  txapi::SmartPtr<txapi::IAPIObject> x = a;
  txapi::SmartPtr<txapi::IAPIObject> y = b;
  return x && y && x.get() == y.get();
}

// The attribute belongs to Obj when Obj heads its object list.
bool BelongsTo(txapi::IAttribute& a, const txapi::SmartPtr<txapi::ITavrixAPIObject>& Obj)
{
  const TObjects objects = a.GetObjects();
  return !objects.empty() && Same(objects.front(), Obj);
}

void WriteText(txapi::IAttribute& a, const TString& S)
{
  a.SetValue(L"", 0, 0, txapi::AttributeValue(txapi::PropertyValue(S.toWideChar())));
}

} // namespace

double TModelerApi::drCreateAttrStr(double Id)
{
  TRegistryApi& r = R();
  txapi::SmartPtr<txapi::IApplicationObjects> app;
  if (r.Tavrix7 != nullptr) app = txapi::SmartPtr<txapi::IApplication>(r.Tavrix7);
  txapi::SmartPtr<txapi::IAttrTypeMng> mng = app ? app->GetAttrTypeMng(L"") : nullptr;
  if (!mng || !r.IDoc) return 0.0;
  if (const std::uint64_t n = TypeNumber(Id); n != 0) {
    if (txapi::SmartPtr<txapi::IAttributeType> t = mng->GetAttrType(n))
      if (const std::uint64_t have = t->GetNumber(); have != 0) return static_cast<double>(have);
  }
  txapi::SmartPtr<txapi::IAttributeType> t = mng->NewAttrType();
  if (!t) return 0.0;
  t->SetFirstSetting(0);
  TString name;
  name.SetUtf8(u8"Reference Object");
  t->SetName(name.toWideChar());
  t->SetSecondText(L"");
  return static_cast<double>(t->GetNumber());
}

bool TModelerApi::drGetObjectAttr(txapi::SmartPtr<txapi::ITavrixAPIObject> Obj, const double& TypeAttrNumb,
                                  TString& Result)
{
  txapi::SmartPtr<txapi::IAttributeKeeper> doc = R().IDoc;
  if (!doc || !Obj) return false;
  bool read = false;
  // Every matching attribute is read, so the last one made wins.
  for (const auto& a : doc->GetAttributes(TypeNumber(TypeAttrNumb), TObjects{Obj}, 0, 0, 0, 0)) {
    if (!a || !BelongsTo(*a, Obj)) continue;
    Result = a->GetValue(L"", 0, 0).GetProperty().GetString();
    read = true;
  }
  return read;
}

bool TModelerApi::drSetObjectAttr(txapi::SmartPtr<txapi::ITavrixAPIObject> Obj, const double& TypeAttrNumb,
                                  const TString& StrAttr)
{
  txapi::SmartPtr<txapi::IAttributeKeeper> doc = R().IDoc;
  if (!doc || !Obj) return false;
  const std::uint64_t type = TypeNumber(TypeAttrNumb);
  bool written = false;
  for (const auto& a : doc->GetAttributes(type, TObjects{Obj}, 0, 0, 0, 0)) {
    if (!a) continue;
    txapi::SmartPtr<txapi::IAttributeType> t = a->GetAttributeType();
    if (!t || t->GetKind() != txapi::txATString || !BelongsTo(*a, Obj)) continue;
    WriteText(*a, StrAttr);
    written = true;
  }
  if (written) return true;
  txapi::SmartPtr<txapi::IAttribute> a = doc->NewAttribute(type, L"", TObjects{Obj});
  if (!a) return false;
  WriteText(*a, StrAttr);
  // A new attribute holding the text is as much a success as an updated one.
  return true;
}

void TModelerApi::drSetMaterial(int, const TString& Material, const TString& Location, const double& Dencity)
{
  if (Collector() != nullptr) return;
  TRegistryApi& r = R();
  txapi::SmartPtr<txapi::IApplicationObjects> app;
  if (r.Tavrix7 != nullptr) app = txapi::SmartPtr<txapi::IApplication>(r.Tavrix7);
  txapi::SmartPtr<txapi::IPropertyMng> mng = app ? app->GetApplicationObject(1) : nullptr;
  txapi::SmartPtr<txapi::IPropertyKeeper> keeper = r.IDoc;
  if (!keeper || !mng) return;
  if (txapi::SmartPtr<txapi::IProperty> p = mng->GetProperty(9)) {
    p->SetTexts({Material.toWideChar()});
    p->SetLocation(Location.toWideChar());
    p->Update();
  }
  if (txapi::SmartPtr<txapi::IProperty> p = mng->GetProperty(10)) {
    p->SetNumbers({Dencity});
    p->Update();
  }
}

} // namespace drApi
