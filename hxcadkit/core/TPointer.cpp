#include "hxcadkit/core/TPointer.h"

#include <vector>

#include "hxcadkit/core/Messager.h"

// Built at load in this order; the drawing model's ADimension3D only binds to the first two.
TRegistrator Registrator;
TAVariable AVariable;
TDependences Dependences;

namespace {

constinit TPropertyLink* InstalledPropertyLink = nullptr;

TString RealText(double v)
{
  return TString(v, 2, true, 7);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TVariablePtr

TString TVariablePtr::GetText() const
{
  if (!PData) return TString();
  switch (Type) {
  case pvReal:
    return RealText(*PDataReal);
  case pvInteger:
    return TString(*PDataInteger);
  case pvStr:
    return *PDataStr;
  case pvBoolean:
    return TString(*PDataBoolean ? "true" : "false");
  default:
    return TString();
  }
}

bool TVariablePtr::Let(const TString& text)
{
  if (!PData) return false;
  if (Type == pvInteger) {
    const int v = text.toInteger();
    if (v == *PDataInteger) return false;
    *PDataInteger = v;
  } else if (Type == pvReal) {
    const double v = text.toReal();
    if (v == *PDataReal) return false;
    *PDataReal = v;
  } else {
    return false;
  }
  Registrator.MarkEdit(PData);
  if (TPropertyLink* link = TRegistrator::PropertyLink()) {
    link->ChangeValue(PData, true, false, nullptr, -1);
    link->RedrawPhantom();
  }
  return true;
}

void TVariablePtr::toStream(TKmfData& S) const
{
  S.Write(std::int32_t(Type));
  switch (Type) {
  case pvReal:
    S.Write(PDataReal ? *PDataReal : 0.0);
    break;
  case pvInteger:
    S.Write(PDataInteger ? *PDataInteger : 0);
    break;
  case pvStr:
    S.Write(PDataStr ? *PDataStr : TString());
    break;
  case pvAdapter:
    if (PAdapter) PAdapter->toStream(S);
    break;
  default:
    break;
  }
}

bool TVariablePtr::SkipValue(TKmfData& S, std::int32_t type)
{
  switch (type) {
  case pvReal:
    S.ReadReal();
    break;
  case pvInteger:
    S.ReadInteger();
    break;
  case pvStr: {
    TString scratch;
    S.Read(scratch);
    break;
  }
  case pvEmpty:
  case pvRealMultiply:
  case pvIntegerDelta:
  case pvBoolean:
  case pvPoint3D:
  case pvMtr3D:
  case pvAOfComEntity:
  case pvIModelObjectPtr:
  case pvIModelObjectPtrPlaneFace:
  case pvExpresionReal:
    break; // these kinds carry no value
  default:
    return false; // an adapter's form depends on the adapter; unknown kinds have none
  }
  return !S.ErrorReadFromFileToBufer;
}

bool TVariablePtr::fromStream(TKmfData& S)
{
  std::int32_t type = 0;
  S.Read(type);
  if (S.ErrorReadFromFileToBufer) return false;
  if (type != Type || !PData) return SkipValue(S, type);
  // The value is read aside first: a record cut short leaves the variable as it was.
  switch (Type) {
  case pvReal: {
    double v = 0.0;
    S.Read(v);
    if (S.ErrorReadFromFileToBufer) return false;
    *PDataReal = v;
    return true;
  }
  case pvInteger: {
    int v = 0;
    S.Read(v);
    if (S.ErrorReadFromFileToBufer) return false;
    *PDataInteger = v;
    return true;
  }
  case pvStr: {
    TString v;
    S.Read(v);
    if (S.ErrorReadFromFileToBufer) return false;
    *PDataStr = v;
    return true;
  }
  case pvAdapter:
    PAdapter->fromStream(S);
    // An adapter without a value reads nothing, so the record's end is unknown.
    return PAdapter->Ptr != nullptr && !S.ErrorReadFromFileToBufer;
  default:
    return SkipValue(S, type);
  }
}

// ---------------------------------------------------------------------------------------------
// TIdVariable

void TIdVariable::toStream(TKmfData& S) const
{
  TVariablePtr::toStream(S);
  S.Write(std::int32_t(Id));
  S.Write(Comment);
  S.Write(Hint);
}

bool TIdVariable::fromStream(TKmfData& S)
{
  if (!TVariablePtr::fromStream(S)) return false;
  if (S.Version() < 86) return true;
  std::int32_t id = 0;
  TString comment, hint;
  S.Read(id);
  S.Read(comment);
  S.Read(hint);
  if (S.ErrorReadFromFileToBufer) return false;
  Id = id;
  Comment = comment;
  Hint = hint;
  return true;
}

void TIdVariable::SetExp(const double& value, const TString& text)
{
  Comment = text;
  Set(pvExpresionReal, &Value);
  Value = value;
  Id = -1;
}

TString TIdVariable::GetDim() const
{
  if (Value >= 0) return Comment;
  return TString("-(") + Comment + TString(")");
}

// ---------------------------------------------------------------------------------------------
// TRegistrator

TRegistrator::TRegistrator() : TArrayOf<TIdVariable>(256, 256), EditedId(256, 256) {}

TRegistrator::~TRegistrator() = default;

TPropertyLink* TRegistrator::SetPropertyLink(TPropertyLink* link)
{
  TPropertyLink* old = InstalledPropertyLink;
  InstalledPropertyLink = link;
  return old;
}

TPropertyLink* TRegistrator::PropertyLink()
{
  TPropertyLink* link = InstalledPropertyLink;
  return link && link->Running() ? link : nullptr;
}

void TRegistrator::Register(int id, TVariablePtr::TypeVarianble type, void* p, const TString& comment,
                            const TString& hint)
{
  if (id <= 0) return;
  if (!CheckId(id)) {
    Messager->LiftBox(TString("Ошибка регистрации "), TMessager::toAlways);
    return;
  }
  TIdVariable e;
  e.Set(type, p);
  e.Id = id;
  e.Comment = comment;
  e.Hint = hint;
  e.Value = type == TVariablePtr::pvReal ? *static_cast<double*>(p) : *static_cast<int*>(p);
  Add(e);
}

void TRegistrator::Announcement(int id, double& v, const TString& comment, const TString& hint)
{
  Register(id, TVariablePtr::pvReal, &v, comment, hint);
}

void TRegistrator::Announcement(int id, int& v, const TString& comment, const TString& hint)
{
  Register(id, TVariablePtr::pvInteger, &v, comment, hint);
}

bool TRegistrator::CheckId(int id) const
{
  if (id <= 0) return false;
  for (Integer i = 0; i < Count; ++i)
    if ((*this)[i].Id == id) return false;
  return true;
}

TIdVariable* TRegistrator::Get(int id)
{
  if (id == 0) return nullptr;
  for (Integer i = 0; i < Count; ++i)
    if ((*this)[i].Id == id) return &(*this)[i];
  return nullptr;
}

int* TRegistrator::GetPInteger(int id)
{
  TIdVariable* e = Get(id);
  return e && e->Type == TVariablePtr::pvInteger ? e->PDataInteger : nullptr;
}

double* TRegistrator::GetPReal(int id)
{
  TIdVariable* e = Get(id);
  return e && e->Type == TVariablePtr::pvReal ? e->PDataReal : nullptr;
}

const TIdVariable* TRegistrator::Find(const void* p) const
{
  if (!p) return nullptr;
  for (Integer i = 0; i < Count; ++i)
    if ((*this)[i].PData == p) return &(*this)[i];
  return nullptr;
}

int TRegistrator::GetId(const void* p) const
{
  const TIdVariable* e = Find(p);
  return e ? e->Id : 0;
}

TString TRegistrator::GetComment(void* p) const
{
  const TIdVariable* e = Find(p);
  return e ? e->Comment : TString();
}

TString TRegistrator::GetTitul(void* p) const
{
  const TIdVariable* e = Find(p);
  return e ? e->Hint : TString();
}

void TRegistrator::MarkEdit(void* p)
{
  Dependences.Change(p);
  const TIdVariable* e = Find(p);
  if (!e || e->Id == 0) return;
  if (!EditedId.Exist(e->Id)) EditedId.Add(e->Id);
  StoreEdit();
}

void TRegistrator::StoreEdit()
{
  TKmfData S;
  for (Integer i = 0; i < EditedId.Count; ++i) {
    const int id = EditedId[i];
    if (id == 0) continue;
    if (const TIdVariable* e = Get(id))
      e->TVariablePtr::toStream(S);
    else
      TVariablePtr().toStream(S);
  }
  std::vector<unsigned char> v;
  S.to(v);
  EditedStream = v;
  ++Stores;
}

void TRegistrator::Replay(void* only)
{
  if (!EditedStream.Valid()) return;
  TKmfData S;
  if (!S.fromMemory(EditedStream.Pointer, EditedStream.Size)) return;
  // A ripple below may log further ids and store the log again; the replay reads only the
  // records of the ids logged when it started.
  const Integer n = EditedId.Count;
  const unsigned storesBefore = Stores;
  for (Integer i = 0; i < n && i < EditedId.Count; ++i) {
    const int id = EditedId[i];
    if (id == 0) continue;
    TIdVariable* e = Get(id);
    if (only) {
      if (e && e->PData == only) {
        e->TVariablePtr::fromStream(S);
        return;
      }
      std::int32_t type = 0;
      S.Read(type);
      if (S.ErrorReadFromFileToBufer || !TVariablePtr::SkipValue(S, type)) return;
      continue;
    }
    if (!e) {
      std::int32_t type = 0;
      S.Read(type);
      if (S.ErrorReadFromFileToBufer || !TVariablePtr::SkipValue(S, type)) break;
      continue;
    }
    if (!e->TVariablePtr::fromStream(S)) break;
    Dependences.Change(e->PData);
  }
  // The ripples stored the log half-way through the replay; store what the replay left.
  if (!only && Stores != storesBefore) StoreEdit();
}

void TRegistrator::MakeEdit()
{
  Replay(nullptr);
}

void TRegistrator::MakeEdit(void* p)
{
  if (p) Replay(p);
}

void TRegistrator::toStream(TKmfData& S)
{
  EditedId.toStream2(S);
  StoreEdit();
  EditedStream.toStream(S);
}

bool TRegistrator::fromStream(TKmfData& S)
{
  TArrayOf<Integer> ids(256, 256);
  TMemory stream;
  ids.fromStream2(S);
  if (S.ErrorReadFromFileToBufer) return false;
  if (!stream.fromStream(S) || S.ErrorReadFromFileToBufer) return false;
  EditedId = ids;
  EditedStream = stream;
  return true;
}

// ---------------------------------------------------------------------------------------------
// TAVariable

TAVariable::TAVariable() : AVariables(5120, 5120), ACountVariables(16, 16) {}

TAVariable::~TAVariable() = default;

void TAVariable::AddVar(const TString& name, double* p, const TString& hint)
{
  if (!p) return;
  TIdVariable e;
  e.Set(TVariablePtr::pvReal, p);
  e.Comment = name;
  e.Hint = hint;
  e.Value = *p;
  AVariables.Add(e);
}

double& TAVariable::AddExp(const double& value, const TString& text)
{
  // The entry's own Value would move whenever AVariables grows, and the reference handed
  // out with it would dangle; a deque never moves what it holds.
  ExpValues.push_back(value);
  double& v = ExpValues.back();
  TIdVariable e;
  e.Set(TVariablePtr::pvExpresionReal, &v);
  e.Comment = text;
  e.Value = value;
  e.Id = -1;
  AVariables.Add(e);
  return v;
}

TIdVariable* TAVariable::GetVariable(const double& x)
{
  for (Integer i = 0; i < AVariables.Count; ++i) {
    TIdVariable& e = AVariables[i];
    if (e.Type != TVariablePtr::pvExpresionReal && e.PDataReal == &x) return &e;
  }
  for (Integer i = 0; i < AVariables.Count; ++i) {
    TIdVariable& e = AVariables[i];
    if (e.Type == TVariablePtr::pvExpresionReal && e.PDataReal == &x) return &e;
  }
  return nullptr;
}

TString TAVariable::GetExp(const double& x)
{
  const TIdVariable* e = GetVariable(x);
  return e ? e->Comment : RealText(x);
}

void TAVariable::drAddLinkedVariables(TModeler3D* m, bool flag) const
{
  if (!m || !flag) return;
  TDrawingLink* link = TDrawingLink::Get();
  if (!link) return;
  for (Integer i = 0; i < AVariables.Count; ++i) {
    const TIdVariable& e = AVariables[i];
    const double value = e.PDataReal ? *e.PDataReal : e.Value;
    link->AddLinkedVariable(*m, e.Comment, value, e.Hint, LinkDocName);
  }
}

// ---------------------------------------------------------------------------------------------
// TAdapter

const TString TAdapter::strNotSpecified("*");

TAdapter::TAdapter(const TString& name, Type t, void* value, bool ownerPtr, TArrayOf<TString>& choices,
                   bool ownerChoices, void* values)
    : typ(t), Name(name), Ptr(value), OwnerPtr(ownerPtr), ADef(choices), OwnerADef(ownerChoices), pA(values)
{
  // A real keeps the list's selection; the others select the choice that shows their value.
  if (Ptr && typ != pvReal) ADef.Current = Match();
}

TAdapter::~TAdapter()
{
  ReleaseValue();
  if (OwnerADef) delete &ADef;
}

void TAdapter::ReleaseValue()
{
  if (OwnerPtr && Ptr) {
    switch (typ) {
    case pvReal:
      delete PReal;
      break;
    case pvInteger:
    case pvEnumInteger:
      delete PInt;
      break;
    case pvStr:
      delete PStr;
      break;
    default:
      break; // an adapter of no type is given no value to own
    }
  }
  Ptr = nullptr;
}

int TAdapter::Index(const TString& text) const
{
  for (Integer i = 0; i < ADef.Count; ++i)
    if (ADef[i] == text) return i;
  return -1;
}

int TAdapter::Match() const
{
  if (!Ptr) return -1;
  switch (typ) {
  case pvReal:
    return Index(RealText(*PReal));
  case pvStr:
    return Index(*PStr);
  case pvInteger:
    // The value is a number read from a choice text (SetI): find that text.
    return Index(TString(*PInt));
  case pvEnumInteger:
    // The value is the index of the choice itself (SetI).
    return ValidChoice(*PInt) ? *PInt : -1;
  default:
    return -1;
  }
}

int TAdapter::GetCurrent()
{
  if (ADef.Count <= 0) {
    ADef.Current = -1;
    return -1;
  }
  const int m = Match();
  ADef.Current = m >= 0 ? m : 0;
  return ADef.Current;
}

void TAdapter::SetI(int)
{
  const int c = ADef.Current;
  if (!Ptr || !ValidChoice(c) || ADef[c] == strNotSpecified) return;
  if (pA) {
    if (typ == pvReal && pAReal->ValidIndex(c))
      *PReal = (*pAReal)[c];
    else if (typ == pvInteger && pAInt->ValidIndex(c))
      *PInt = (*pAInt)[c];
    return;
  }
  switch (typ) {
  case pvReal:
    *PReal = ADef[c].toReal();
    break;
  case pvInteger:
    *PInt = ADef[c].toInteger();
    break;
  case pvEnumInteger:
    *PInt = c;
    break;
  case pvStr:
    *PStr = ADef[c];
    break;
  default:
    break;
  }
}

void TAdapter::Set(const TString& text)
{
  if (ADef.Count <= 0) return;
  const int i = Index(text);
  ADef.Current = i >= 0 ? i : 0;
  SetI(0);
}

void TAdapter::toStream(TKmfData& S) const
{
  if (!Ptr) {
    Messager->LiftBox(DC(TString("Ошибка переменной TAdapter::toStream")), TMessager::toAlways);
    return;
  }
  switch (typ) {
  case pvInteger:
  case pvEnumInteger:
    S.Write(*PInt);
    break;
  case pvReal:
    S.Write(*PReal);
    break;
  case pvStr:
    S.Write(*PStr);
    break;
  default:
    break;
  }
}

void TAdapter::fromStream(TKmfData& S)
{
  if (!Ptr) {
    Messager->LiftBox(DC(TString("Ошибка переменной TAdapter::fromStream")), TMessager::toAlways);
    return;
  }
  switch (typ) {
  case pvInteger:
  case pvEnumInteger: {
    int v = 0;
    S.Read(v);
    if (!S.ErrorReadFromFileToBufer) *PInt = v;
    break;
  }
  case pvReal: {
    double v = 0.0;
    S.Read(v);
    if (!S.ErrorReadFromFileToBufer) *PReal = v;
    break;
  }
  case pvStr: {
    TString v;
    S.Read(v);
    if (!S.ErrorReadFromFileToBufer) *PStr = v;
    break;
  }
  default:
    break;
  }
}

TAdapterOf<int, TAdapter::pvEnumInteger>::TAdapterOf(const TString& name, int initial,
                                                     std::initializer_list<TString> choices)
    : TAdapter(name, pvEnumInteger, new int(initial), true,
               *new TArrayOf<TString>(Integer(choices.size()), 32), true, nullptr)
{
  for (const TString& s : choices)
    ADef.Add(s);
  ADef.Current = ValidChoice(initial) ? initial : -1;
}

// ---------------------------------------------------------------------------------------------
// TDependence

void TDependence::Rule(TType type, double& v1, double& v2, double k, double dl)
{
  Type = type;
  K = k;
  dL = dl;
  V1 = TVariablePtr(v1);
  V2 = TVariablePtr(v2);
}

void TDependence::Equ(double& v1, double& v2)
{
  Rule(tdEqu, v1, v2, 1.0, 0.0);
}
void TDependence::Equ(double& v1, double& v2, double dl)
{
  Rule(tdKmulV2addDL, v1, v2, 1.0, dl);
}
void TDependence::Equ(double& v1, double& v2, double k, double dl)
{
  Rule(tdKmulV2addDL, v1, v2, k, dl);
}
void TDependence::MoreEqu(double& v1, double& v2)
{
  Rule(tdMoreKmulV2addDL, v1, v2, 1.0, 0.0);
}
void TDependence::MoreEqu(double& v1, double& v2, double dl)
{
  Rule(tdMoreKmulV2addDL, v1, v2, 1.0, dl);
}
void TDependence::MoreEqu(double& v1, double& v2, double k, double dl)
{
  Rule(tdMoreKmulV2addDL, v1, v2, k, dl);
}
void TDependence::LessEqu(double& v1, double& v2)
{
  Rule(tdLessKmulV2addDL, v1, v2, 1.0, 0.0);
}
void TDependence::LessEqu(double& v1, double& v2, double dl)
{
  Rule(tdLessKmulV2addDL, v1, v2, 1.0, dl);
}
void TDependence::LessEqu(double& v1, double& v2, double k, double dl)
{
  Rule(tdLessKmulV2addDL, v1, v2, k, dl);
}

bool TDependence::Change(void* p)
{
  double* a = V1.PDataReal;
  double* b = V2.PDataReal;
  if (!p || !a || !b) return false;
  double* target = nullptr;
  switch (Type) {
  case tdEqu:
    if (p == a) {
      if (*b != *a) {
        *b = *a;
        target = b;
      }
    } else if (p == b) {
      if (*a != *b) {
        *a = *b;
        target = a;
      }
    }
    break;
  case tdKmulV2addDL:
  case tdMoreKmulV2addDL:
  case tdLessKmulV2addDL:
    if (p == b) {
      const double x = K * *b + dL;
      const bool change = Type == tdKmulV2addDL ? x != *a : Type == tdMoreKmulV2addDL ? x > *a : x < *a;
      if (change) {
        *a = x;
        target = a;
      }
    }
    break;
  default:
    break;
  }
  if (!target) return false;
  Registrator.MarkEdit(target);
  if (TPropertyLink* link = TRegistrator::PropertyLink()) link->ChangeValue(target, -1);
  Registrator.MarkEdit(target);
  return true;
}

void TDependence::Changed(void* p)
{
  if (TPropertyLink* link = TRegistrator::PropertyLink()) link->ChangeValue(p, -1);
  Registrator.MarkEdit(p);
}

// ---------------------------------------------------------------------------------------------
// TDependences

TDependences::TDependences() : TArrayOf<TDependence>(256, 256) {}

TDependences::~TDependences() = default;

bool TDependences::Change(void* p)
{
  if (Depth == 0) Steps = 0;
  if (Depth >= MaxDepth || Steps >= MaxSteps) return false;
  ++Steps;
  struct TDepth
  {
    int& D;
    explicit TDepth(int& d) : D(d) { ++D; }
    ~TDepth() { --D; }
  } depth(Depth);
  bool any = false;
  for (Integer i = 0; i < Count; ++i)
    if ((*this)[i].Change(p)) any = true;
  return any;
}

// ---------------------------------------------------------------------------------------------
// TBits

int TBits::Get(const std::uint8_t* a, int i)
{
  if (i < 0) return 0;
  return (a[i >> 3] >> (i & 7)) & 1;
}

void TBits::Set(std::uint8_t* a, int i, std::uint8_t v)
{
  if (i < 0) return;
  const std::uint8_t mask = std::uint8_t(1u << (i & 7));
  if (v)
    a[i >> 3] |= mask;
  else
    a[i >> 3] &= std::uint8_t(~mask);
}

void TBits::Copy(std::uint8_t* dst, int d, const std::uint8_t* src, int& s, int n)
{
  if (n <= 0) return;
  for (int k = 0; k < n; ++k)
    Set(dst, d + k, std::uint8_t(Get(src, s + k)));
  s += n;
}

bool TBits::Equ(const std::uint8_t* a, int i, const std::uint8_t* b, int j, int n)
{
  for (int k = 0; k < n; ++k)
    if (Get(a, i + k) != Get(b, j + k)) return false;
  return true;
}

void TBits::Xor(const std::uint8_t* a, const std::uint8_t* b, std::uint8_t* out, int n)
{
  for (int k = 0; k < n; ++k)
    Set(out, k, std::uint8_t(Get(a, k) ^ Get(b, k)));
}

void TBits::Rot_Left(std::uint8_t* a, int n, int count)
{
  if (n <= 0 || count < 1) return;
  const int c = count % n;
  if (c == 0) return;
  const std::vector<std::uint8_t> old(a, a + (n + 7) / 8);
  for (int i = 0; i < n; ++i)
    Set(a, i, std::uint8_t(Get(old.data(), (i + c) % n)));
}
