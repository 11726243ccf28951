#pragma once
// The registry of program variables. The parameters a user edits in a command's property
// panel are plain variables of the command's parameter model; the registry handles them
// generically:
//   TVariablePtr   a typed pointer that reads and writes any such variable as text and on a
//                  stream;
//   TRegistrator   (Registrator) registers the editable ones under unique ids, logs which of
//                  them the user changed, keeps their values serialised for replay, and starts
//                  the ripple of dependent values and the refresh of the running command's
//                  controls whenever a value changes;
//   TAVariable     (AVariable) lists the doubles and formula texts linked with variables of
//                  the host document;
//   TAdapter       binds a variable to a list of text choices for drop-down controls;
//   TDependence    (Dependences) rules that keep one double equal to, or above, or below a
//                  multiple of another;
//   TBits          operations on bit strings packed into bytes.
//
// The running command lives in the command framework above the core: it installs its
// TPropertyLink (TRegistrator::SetPropertyLink) when it comes up. Without one, no command runs.
#include <cstdint>
#include <deque>
#include <initializer_list>

#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/KmfData.h"
#include "hxcadkit/core/ModelerLink.h"
#include "hxcadkit/core/TArray.h"
#include "hxcadkit/core/Types.h"

class TAdapter;
class TPoint3D; // hxcadkit/geometry/Mathemat3d.h; bound by address only
class TMtr3D;

// The running command's property bindings, as the registry sees them.
class TPropertyLink
{
public:
  virtual ~TPropertyLink() = default;
  // Whether a command runs (TBaseManager::CurrentProcessManager).
  virtual bool Running() const = 0;
  // TAPropertylVariable::ChangeValue(p, rebind, b, newPtr, skip) of the running command: the
  // bindings of p (but for index skip) are rewritten from the variable; true when a control was.
  virtual bool ChangeValue(void* p, bool rebind, bool b, void* newPtr, int skip) = 0;
  // TAPropertylVariable::ChangeValue(p, skip): rewrites the controls bound to p.
  virtual void ChangeValue(void* p, int skip) = 0;
  // TBaseManager::RedrawPhantom: redraws the running command's preview.
  virtual void RedrawPhantom() = 0;
};

// A typed pointer to a program variable. It does not own the variable.
class TVariablePtr
{
public:
  enum TypeVarianble : std::int32_t {
    pvEmpty = 0,
    pvReal = 1,
    pvRealMultiply = 2,
    pvInteger = 3,
    pvIntegerDelta = 4,
    pvStr = 5,
    pvBoolean = 6,
    pvPoint3D = 7,
    pvMtr3D = 8,
    pvAOfComEntity = 9,
    pvIModelObjectPtr = 10,
    pvIModelObjectPtrPlaneFace = 11,
    pvExpresionReal = 12,
    pvAdapter = 13,
    pvCount = 14
  };

  TVariablePtr() = default;
  TVariablePtr(TypeVarianble type, void* p) : Type(type), PData(p) {}
  explicit TVariablePtr(double& v) : Type(pvReal), PDataReal(&v) {}
  explicit TVariablePtr(int& v) : Type(pvInteger), PDataInteger(&v) {}
  explicit TVariablePtr(TString& v) : Type(pvStr), PDataStr(&v) {}
  explicit TVariablePtr(bool& v) : Type(pvBoolean), PDataBoolean(&v) {}
  explicit TVariablePtr(TAdapter& v) : Type(pvAdapter), PAdapter(&v) {}

  void Set(TypeVarianble type, void* p)
  {
    Type = type;
    PData = p;
  }
  bool Bound() const { return PData != nullptr; }

  // The value as text: reals with two decimals in a field of 7 ("   1.50"), ints in decimal,
  // texts as they are, flags "true"/"false"; empty for no variable and for other kinds.
  TString GetText() const;
  // Parses an edited text into an int or real variable. When the value changes it is stored,
  // marked as edited in Registrator (which ripples it through Dependences) and the running
  // command refreshes its controls and preview. True when the value changed.
  bool Let(const TString& text);

  // One record: int32 Type, then the value for reals (8 bytes), ints (4), texts and adapters
  // (their own forms); nothing for the other kinds. A record of a real, int or text carries its
  // value even when no variable is bound (zero, empty), so that every record can be passed
  // over by its type alone.
  void toStream(TKmfData& S) const;
  // Reads one record. The variable takes the value only when the record's type is its own and
  // a variable is bound; any other record is passed over by its own type and leaves the
  // variable unchanged. False when the reader cannot tell where the record ends (an adapter's
  // record not read by an adapter, an unknown type, or the end of the data): a caller reading
  // a sequence stops there.
  bool fromStream(TKmfData& S);
  // Passes over one record whose type has been read already; false as fromStream.
  static bool SkipValue(TKmfData& S, std::int32_t type);

  TypeVarianble Type = pvEmpty;
  union {
    void* PData = nullptr;
    void* Ptr;
    bool* PDataBoolean;
    double* PDataReal;
    int* PDataInteger;
    TString* PDataStr;
    TAdapter* PAdapter;
    TPoint3D* PPoint3D;
    TMtr3D* PMtr3D;
    void* PAOfComEntity;    // the host entity list (adapter types)
    void* PIModelObjectPtr; // the host model object (adapter types)
  };
  Integer Delta = 0;
};

// A registered variable: the typed pointer with its registry id, its name and title.
class TIdVariable : public TVariablePtr
{
public:
  TIdVariable() = default;

  // The pointer form, then int32 Id, Comment and Hint.
  void toStream(TKmfData& S) const;
  // Id, Comment and Hint are read only from streams of version 86 on. False as
  // TVariablePtr::fromStream.
  bool fromStream(TKmfData& S);
  // Makes this an expression entry: bound to its own Value, Id -1.
  void SetExp(const double& value, const TString& text);
  // Comment, or "-(Comment)" for a negative Value.
  TString GetDim() const;

  Integer Id = 0;   // 0 none, -1 an expression entry
  TString Comment;  // the parameter's name
  TString Hint;     // its title or tooltip
  Real Value = 0.0; // a copy of the value, or the value itself for expression entries
};

class TRegistrator : public TArrayOf<TIdVariable>
{
public:
  TRegistrator();
  ~TRegistrator() override;
  TRegistrator(const TRegistrator&) = delete;
  TRegistrator& operator=(const TRegistrator&) = delete;

  // Registers v under id (ids <= 0 are ignored); an id registered already keeps its first
  // variable and the user is told "Ошибка регистрации ".
  void Announcement(int id, double& v, const TString& comment, const TString& hint);
  void Announcement(int id, int& v, const TString& comment, const TString& hint);
  bool CheckId(int id) const;
  TIdVariable* Get(int id);
  int* GetPInteger(int id);
  double* GetPReal(int id);
  int GetId(const void* p) const;
  TString GetComment(void* p) const;
  TString GetTitul(void* p) const;

  // Ripples the change of the variable at p through Dependences, then logs the registered
  // variable's id (once) and stores the edited values.
  void MarkEdit(void* p);
  // EditedStream becomes one record per logged id: the variable's value when the id is
  // registered, an empty record otherwise (which keeps the log and the records in step).
  void StoreEdit();
  // Replays every logged edit into its variable and ripples it through Dependences.
  void MakeEdit();
  // Replays the logged edit of the variable at p alone; no ripple.
  void MakeEdit(void* p);
  void ClearEdit() { EditedId.Clear(); }
  void Init() {}

  // EditedId, then (after StoreEdit) EditedStream.
  void toStream(TKmfData& S);
  // EditedId, then EditedStream. False on malformed data, which leaves the log as it was.
  bool fromStream(TKmfData& S);

  static TPropertyLink* SetPropertyLink(TPropertyLink* link);
  static TPropertyLink* PropertyLink(); // the installed link while a command runs, else null

  TMemory EditedStream;       // the serialised edited values
  TArrayOf<Integer> EditedId; // ids in the order of their first edit

private:
  void Register(int id, TVariablePtr::TypeVarianble type, void* p, const TString& comment,
                const TString& hint);
  const TIdVariable* Find(const void* p) const;
  void Replay(void* only);

  unsigned Stores = 0; // StoreEdit calls, so that a replay can tell whether a ripple stored
};

// Doubles and formula texts to be linked with variables of the host document.
class TAVariable
{
public:
  TAVariable();
  virtual ~TAVariable();
  TAVariable(const TAVariable&) = delete;
  TAVariable& operator=(const TAVariable&) = delete;

  // Appends p (when not null) under name and hint, with its present value.
  void AddVar(const TString& name, double* p, const TString& hint);
  // Appends an expression entry and returns its value, which stays where it is for the life
  // of the list, however long the list grows.
  double& AddExp(const double& value, const TString& text);
  // The entry bound to the address of x: a plain entry before an expression entry.
  TIdVariable* GetVariable(const double& x);
  // The name of that entry; x as text when there is none.
  TString GetExp(const double& x);

  // With m and flag, asks m for a host model variable per entry (name Comment, the bound
  // value, comment Hint), linked to the document LinkDocName when that is set.
  virtual void drAddLinkedVariables(TModeler3D* m, bool flag) const;

  TArrayOf<TIdVariable> AVariables;
  TArrayOf<Integer> ACountVariables;
  TString LinkDocName;

private:
  std::deque<double> ExpValues; // values of the expression entries, never moved
};

// A list of text choices bound to a variable, for drop-down controls.
class TAdapter
{
public:
  // Its own numbering, not that of TVariablePtr::TypeVarianble.
  enum Type : std::int32_t { pvEmpty = 0, pvReal = 1, pvInteger = 2, pvEnumInteger = 3, pvStr = 4 };

  // "*": a choice that specifies nothing and is never applied.
  static const TString strNotSpecified;

  // value: the bound variable (owned with ownerPtr); choices: the choice list (owned with
  // ownerChoices); values: per-choice values (a TArrayOf<double> for reals, TArrayOf<int> for
  // ints) or null.
  TAdapter(const TString& name, Type t, void* value, bool ownerPtr, TArrayOf<TString>& choices,
           bool ownerChoices, void* values);
  virtual ~TAdapter();
  TAdapter(const TAdapter&) = delete;
  TAdapter& operator=(const TAdapter&) = delete;

  // 0-based index of the first choice equal to text; -1 when none.
  int Index(const TString& text) const;
  // Selects the choice that shows the bound value and returns its index: 0 when nothing is
  // bound or nothing matches, -1 when there are no choices.
  int GetCurrent();

  // Applies the selected choice to the bound variable (the argument is not used).
  virtual void SetI(int);
  // Selects the first choice equal to text (the first choice when none is) and applies it.
  virtual void Set(const TString& text);
  // The bound value: ints 4 bytes, reals 8, texts in their string form.
  virtual void toStream(TKmfData& S) const;
  virtual void fromStream(TKmfData& S);

  const TString& GetName() const { return Name; }
  // The selected choice's text; empty when none is selected.
  TString Text() const { return ValidChoice(ADef.Current) ? ADef[ADef.Current] : TString(); }
  // Binds another variable (not owned).
  void SetLink(void* value)
  {
    ReleaseValue();
    Ptr = value;
    OwnerPtr = false;
  }
  int Count() const { return ADef.Count; }
  const TString& operator[](int i) const { return ADef[i]; }
  operator TArrayOf<TString>&() { return ADef; }
  // Whether a choice other than "*" is selected.
  bool IsSpecified() const { return ValidChoice(ADef.Current) && !(ADef[ADef.Current] == strNotSpecified); }
  operator TString() const { return Text(); }

  const Type typ;
  TString Name;
  union {
    void* Ptr;
    int* PInt;
    double* PReal;
    TString* PStr;
  };
  bool OwnerPtr;
  TArrayOf<TString>& ADef;
  bool OwnerADef;
  union {
    void* pA;
    TArrayOf<int>* pAInt;
    TArrayOf<double>* pAReal;
  };

protected:
  bool ValidChoice(int i) const { return i >= 0 && i < ADef.Count; }
  // The index that shows the bound value; -1 when none does.
  int Match() const;

private:
  void ReleaseValue();
};

// An adapter typed by its value.
template <class T, TAdapter::Type type> class TAdapterOf : public TAdapter
{
public:
  TAdapterOf(const TString& name, T* value, bool ownerPtr, TArrayOf<TString>& choices, bool ownerChoices,
             void* values = nullptr)
      : TAdapter(name, type, value, ownerPtr, choices, ownerChoices, values)
  {
  }
};

// The enumeration adapter that owns its value and its choices: the value is the chosen index.
template <> class TAdapterOf<int, TAdapter::pvEnumInteger> : public TAdapter
{
public:
  TAdapterOf(const TString& name, int initial, std::initializer_list<TString> choices);
  TAdapterOf(const TString& name, int* value, bool ownerPtr, TArrayOf<TString>& choices, bool ownerChoices,
             void* values = nullptr)
      : TAdapter(name, pvEnumInteger, value, ownerPtr, choices, ownerChoices, values)
  {
  }
};
using TEnum = TAdapterOf<int, TAdapter::pvEnumInteger>;

// A rule that links two doubles.
class TDependence
{
public:
  enum TType : std::int32_t {
    tdEmpty = 0,
    tdEqu = 1,             // V1 and V2 are held equal, both ways
    tdKmulV2addDL = 2,     // when V2 changes: V1 = K * V2 + dL
    tdMoreKmulV2addDL = 3, // when V2 changes: V1 is raised to K * V2 + dL
    tdLessKmulV2addDL = 4, // when V2 changes: V1 is lowered to K * V2 + dL
    tdCount = 5
  };

  // Applies the rule to a change of the variable at p; true when it changed the other one,
  // which is then marked as edited in turn (so the change ripples on) and refreshed in the
  // running command.
  bool Change(void* p);
  // Announces a change of the variable at p: the running command refreshes its controls and
  // Registrator marks it as edited.
  void Changed(void* p);

  // V1 and V2 held equal; V1 = V2 + dL; V1 = K * V2 + dL.
  void Equ(double& v1, double& v2);
  void Equ(double& v1, double& v2, double dl);
  void Equ(double& v1, double& v2, double k, double dl);
  // V1 kept at least (MoreEqu) or at most (LessEqu) V2, V2 + dL, K * V2 + dL.
  void MoreEqu(double& v1, double& v2);
  void MoreEqu(double& v1, double& v2, double dl);
  void MoreEqu(double& v1, double& v2, double k, double dl);
  void LessEqu(double& v1, double& v2);
  void LessEqu(double& v1, double& v2, double dl);
  void LessEqu(double& v1, double& v2, double k, double dl);

  TType Type = tdEmpty;
  Real dL = 0.0;
  Real K = 1.0;
  TVariablePtr V1;
  TVariablePtr V2;

private:
  void Rule(TType type, double& v1, double& v2, double k, double dl);
};

class TDependences : public TArrayOf<TDependence>
{
public:
  // A ripple goes at most this many changes deep, and one change sets off at most this many
  // rule applications: rules that keep changing each other in a cycle stop there.
  static constexpr int MaxDepth = 64;
  static constexpr int MaxSteps = 1024;

  TDependences();
  ~TDependences() override;

  // Applies every rule to a change of the variable at p, in list order; true when any changed
  // something.
  bool Change(void* p);

  void Clear() { TArrayOf<TDependence>::Clear(); }
  void Equ(double& v1, double& v2) { Add().Equ(v1, v2); }
  void Equ(double& v1, double& v2, double dl) { Add().Equ(v1, v2, dl); }
  void Equ(double& v1, double& v2, double k, double dl) { Add().Equ(v1, v2, k, dl); }
  void MoreEqu(double& v1, double& v2) { Add().MoreEqu(v1, v2); }
  void MoreEqu(double& v1, double& v2, double dl) { Add().MoreEqu(v1, v2, dl); }
  void MoreEqu(double& v1, double& v2, double k, double dl) { Add().MoreEqu(v1, v2, k, dl); }

  bool Lock = false;

private:
  int Depth = 0;
  int Steps = 0;
};

// Bit strings packed into caller-owned bytes: bit i is bit (i mod 8), the least significant
// first, of byte i div 8.
class TBits
{
public:
  static int Get(const std::uint8_t* a, int i);
  static void Set(std::uint8_t* a, int i, std::uint8_t v);
  // Copies n bits from src bit s on to dst bit d on; s advances by n.
  static void Copy(std::uint8_t* dst, int d, const std::uint8_t* src, int& s, int n);
  // Whether n bits of a from bit i equal n bits of b from bit j; true for n < 1.
  static bool Equ(const std::uint8_t* a, int i, const std::uint8_t* b, int j, int n);
  // out bit k = a bit k XOR b bit k for k < n; the other bits of out stay.
  static void Xor(const std::uint8_t* a, const std::uint8_t* b, std::uint8_t* out, int n);
  // Rotates the first n bits count times toward bit 0: bit 0 comes back as bit n - 1.
  static void Rot_Left(std::uint8_t* a, int n, int count);
};

// Process-wide, built at load in this order (the drawing model's ADimension3D binds to the
// first two right after them).
extern TRegistrator Registrator;
extern TAVariable AVariable;
extern TDependences Dependences;
