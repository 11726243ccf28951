// The library's data kept in a document: byte blocks and object lists by key, in one storage.
#include "hxcadkit/adapter/drModelerAPI.h"
#include "txapi/IUserDataStorage.h"
#include "txapi/IUserDataStorages.h"
#include "txapi/IUserDataStoragesMng.h"

namespace drApi {

namespace {

const TString StorageName("ZEDozod");
using TObjects = std::vector<txapi::SmartPtr<txapi::ITavrixAPIObject>>;

// The storage the writers open for the object; empty when the host gives none.
txapi::SmartPtr<txapi::IUserDataStorage> ToWrite(const txapi::SmartPtr<txapi::ITavrixDocument>& d,
                                                 const txapi::SmartPtr<txapi::ITavrixAPIObject>& object)
{
  // The manager is the document's own service, asked as an interface of it.
  const txapi::SmartPtr<txapi::IUserDataStoragesMng> m = d;
  const txapi::SmartPtr<txapi::IUserDataStorages> all = m ? m->GetStorages(object) : nullptr;
  return all ? all->Open(W(StorageName)) : nullptr;
}

// The storage the readers find; they tell the host only whether an object was given.
txapi::SmartPtr<txapi::IUserDataStorage> ToRead(const txapi::SmartPtr<txapi::ITavrixDocument>& d, bool object)
{
  const txapi::SmartPtr<txapi::IUserDataStoragesMng> m = d;
  const txapi::SmartPtr<txapi::IUserDataStorages> all = m ? m->GetStorages(object) : nullptr;
  return all ? all->Find(W(StorageName)) : nullptr;
}

} // namespace

Boolean TModelerApi::drSetUserData(txapi::SmartPtr<txapi::ITavrixDocument>& iDocument, const TString& NameData,
                                   const std::vector<std::uint8_t>& Data, Boolean NeedSave,
                                   txapi::SmartPtr<txapi::ITavrixAPIObject> Object)
{
  const txapi::SmartPtr<txapi::IUserDataStorage> s = ToWrite(iDocument, Object);
  if (!s) return false;
  const std::wstring key = W(NameData);
  bool done = s->AddValue(L"", key, txapi::StorageValue(Data), key) != -1;
  // A key written before is replaced.
  if (!done) done = s->SetValue(L"", txapi::StorageValue(Data), key) != 0;
  if (NeedSave) iDocument->Save();
  return done;
}

Boolean TModelerApi::drSetUserData(txapi::SmartPtr<txapi::ITavrixDocument>& iDocument, const TString& NameData,
                                   const TObjects& Data, Boolean NeedSave,
                                   txapi::SmartPtr<txapi::ITavrixAPIObject> Object)
{
  const txapi::SmartPtr<txapi::IUserDataStorage> s = ToWrite(iDocument, Object);
  if (!s) return false;
  const std::wstring key = W(NameData);
  bool done = s->SetObjects(L"", Data, key) != -1;
  if (!done) done = s->AddObjects(L"", key, Data, key) != 0;
  if (NeedSave) iDocument->Save();
  return done;
}

Boolean TModelerApi::drGetUserData(txapi::SmartPtr<txapi::ITavrixDocument>& iDocument, const TString& NameData,
                                   std::vector<std::uint8_t>& Data, txapi::SmartPtr<txapi::ITavrixAPIObject> Object)
{
  const txapi::SmartPtr<txapi::IUserDataStorage> s = ToRead(iDocument, bool(Object));
  if (!s) return false;
  txapi::StorageValue v;
  s->GetValue(W(NameData), v);
  Data = v.GetVectorUint8();
  return !Data.empty();
}

Boolean TModelerApi::drGetUserData(txapi::SmartPtr<txapi::ITavrixDocument>& iDocument, const TString& NameData,
                                   TObjects& Data, txapi::SmartPtr<txapi::ITavrixAPIObject> Object)
{
  const txapi::SmartPtr<txapi::IUserDataStorage> s = ToRead(iDocument, bool(Object));
  if (!s) return false;
  s->GetObjects(W(NameData), Data);
  return !Data.empty();
}

} // namespace drApi
