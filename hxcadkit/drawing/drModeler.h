#pragma once
// The drawing model's interfaces: the abstract 2D and 3D modellers through which every profile
// and part draws (the host adapter implements them, a test records them), the modeller's drawing
// registry with the detail information and the 2D transform stack, the sheet selector and the
// material table.
//
// A modeller owns its drawing registry when told so and reaches it through R2D(). Several
// operations are overloaded (drArc among them): a modeller that overrides one overload brings
// the others back with a using-declaration.
#include <cstdint>

#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/TArray.h"
#include "hxcadkit/core/Types.h"
#include "hxcadkit/geometry/Mathemat.h"

// Sections of the host's bill of materials.
enum TSectionSpc : std::int32_t {
  tNotExist = 0,
  tDocumentatio = 1,
  tSborka = 5,
  tDetail = 20,
  tStandart = 25
};

// What kind of modeller answers (TModeler3D::Is).
enum TypeModeler : std::int32_t { mUknown = 0, mAPI = 1 };

// Pending drawing commands of a modeller.
enum TCommand : std::int32_t {
  cmNull = 0,
  cmCut = 1,
  cmShelf = 2,
  cmPolyline3D = 3,
  cmOpenShtamp = 4,
  cmLinkForm = 5,
  cmForm = 6,
  cmColouring = 7,
  cmHatch = 8
};

// A 2D placement: origin, angle in degrees, scale.
struct TMt
{
  double x = 0.0;
  double y = 0.0;
  double Angle = 0.0;
  double Scale = 1.0;
};

// A pointer that deletes what it points to when it owns it.
template <class T> class TReferenceOf
{
public:
  explicit TReferenceOf(T* p = nullptr, bool owner = false) : Owner(owner), Ptr(p) {}
  ~TReferenceOf()
  {
    if (Owner) delete Ptr;
  }
  TReferenceOf(const TReferenceOf&) = delete;
  TReferenceOf& operator=(const TReferenceOf&) = delete;

  // Points to p (owned with owner), deleting what it owned before.
  void Set(T* p, bool owner)
  {
    if (Owner && Ptr != p) delete Ptr;
    Ptr = p;
    Owner = owner;
  }

  bool Owner;
  T* Ptr;
};

// The 2D transform stack: every 2D call is placed by the innermost (last) matrix.
class TTransf2D
{
public:
  TTransf2D() : AMtr(64, 64) {}

  // (x, y) through the innermost matrix into (X, Y); in and out may be the same variables.
  // With an empty stack (X, Y) = (x, y).
  void xyMtr(const double& x, const double& y, double& X, double& Y) const;
  // sqrt(a00^2 + a01^2) of the innermost matrix; 1 with an empty stack.
  double ScaleMtr() const;
  // The direction of the innermost matrix's first row in degrees, 0 to 360; 0 with an empty
  // stack.
  double AngleMtr() const;
  // Pushes the placement (x, y, Angle degrees, Scale) nested in the innermost one: it acts on
  // a point first.
  void drMtr(double x, double y, double Angle, double Scale);
  // Pops the innermost placement; nothing on an empty stack.
  void drDeleteMtr();

  TArrayOf<TMtr2D> AMtr;
};

// The detail that the modeller is drawing.
struct TDetailInfo
{
  Integer cDetail = 0;
  Integer cSuffics = 0;
  TString Note;
  TString fileName;
  TString designation;
  TString material;
  TString scale;
  TString shoroh;
  TString comment;
  Integer Format2 = 0;
  Integer Orientation2 = 0;
  Real Scale = 0.0;
  Real Weight = 0.0;
  Real Left = 0.0;
  Real Top = 0.0;
};

// One pending parametric constraint point.
struct TMateParam
{
  Integer Kind = 0;
  Integer Point1 = 0;
  Integer Point2 = 0;
};

// The parametric-constraint builder: the pending constraint points. The base adds none.
class TConstraint2D : public TArrayOf<TMateParam>
{
public:
  TConstraint2D() : TArrayOf<TMateParam>(16, 16) {}
  ~TConstraint2D() override = default;

  virtual void Add() {}
  virtual void DoLine(double, double, double, double, int) {}
  virtual void DoArc(double, double, double, double, double, double, double, int, int) {}
  virtual void DoCircle(double, double, double, int) {}
  virtual void DoEllipse(double, double, double, double, double, int) {}
};

// The modeller's drawing state.
class TRegistryModeler2D
{
public:
  explicit TRegistryModeler2D(TConstraint2D& c) : Constraint2D(c) {}
  virtual ~TRegistryModeler2D() = default;
  TRegistryModeler2D(const TRegistryModeler2D&) = delete;
  TRegistryModeler2D& operator=(const TRegistryModeler2D&) = delete;

  TTransf2D Transf2D;
  // While set, a host modeller draws no lines, only sizes.
  bool OnlySizes2D = false;
  TConstraint2D& Constraint2D;
  TDetailInfo DI;
};

// The abstract 2D modeller. Lengths in millimetres; line style 1 is the main line.
class TModeler2D
{
public:
  TModeler2D(TRegistryModeler2D* R, bool OwnR) : R(R), OwnR(OwnR) {}
  virtual ~TModeler2D();
  TModeler2D(const TModeler2D&) = delete;
  TModeler2D& operator=(const TModeler2D&) = delete;

  TRegistryModeler2D& R2D() const { return *R; }

  // Primitives.
  virtual void drLine(const double& x1, const double& y1, const double& x2, const double& y2, int Attr) = 0;
  // The arc about (X, Y) of radius R from (x1, y1) to (x2, y2); Napr +1 counter-clockwise.
  virtual void drArc(const double& X, const double& Y, const double& R, const double& x1, const double& y1,
                     const double& x2, const double& y2, int Napr, int Attr) = 0;
  // The arc from angle a1 to a2 (radians): its end points go to the points form.
  virtual void drArc(const double& xc, const double& yc, const double& r, const double& a1, const double& a2,
                     int Attr, int Napr);
  virtual void drCircle(const double& X, const double& Y, const double& R, int Attr) = 0;
  // Angle in degrees.
  virtual void drEllipse(const double& X, const double& Y, const double& A, const double& B,
                         const double& Angle, int Attr) = 0;

  // Placement of the following 2D calls, nested; drDeleteMtr ends the innermost one.
  virtual void drMtr(double x, double y, double Angle, double Scale);
  virtual void drDeleteMtr();

  // Sheets and views.
  virtual void drView(int N, const double& x, const double& y, const double& Alf, const double& Scale,
                      const TString& Comment) = 0;
  virtual void drAStView7(int N, const double& x, const double& y, const double& Alf, const double& Scale,
                          const TString& Comment, const TString& FName, const TString& tView) = 0;
  // Writes one line into the text object opened last.
  virtual void drStringObj(const TString&) {}

  // Bill of materials: an entry for position Pos, quantity Count, with the documents of
  // NameFileObject attached.
  virtual void drSpcObject(TSectionSpc TypeObj, const TString& NameFileObject, int Pos, int Count) = 0;

private:
  TRegistryModeler2D* R;
  bool OwnR;
};

// The abstract 3D modeller.
class TModeler3D : public TModeler2D
{
public:
  TModeler3D(TRegistryModeler2D* R, bool OwnR) : TModeler2D(R, OwnR) {}
  ~TModeler3D() override;

  virtual TypeModeler Is() const { return mUknown; }
};

// Holds the modeller through which its owner draws.
class TWrapModeler
{
public:
  TWrapModeler(TModeler3D* m, bool owner) : M2(m, owner) {}
  virtual ~TWrapModeler() = default;

  TModeler3D& M() const { return *M2.Ptr; }

  TReferenceOf<TModeler3D> M2;
};

// The sheet formats.
class TLeafSelector
{
public:
  static TLeafSelector& Instance();
  virtual ~TLeafSelector() = default;

  // Called when a sheet is closed; nothing here.
  virtual void drUpdateLeafFormat() {}
  // The upper left corner of the drawing field of a sheet of format (1 A1 .. 4 A4, anything
  // else A0) lying (orientation 0) or upright: x 40, y the sheet's height less 30.
  void GetLeafLeftUp(int format, int orientation, double& x, double& y) const;

  // (width, height) of A0 .. A4, upright then lying: index 2 * format + orientation.
  TArrayOf<TPoint2D> ASize;
  Integer Format = 0;
  Integer Orientation = 0;

private:
  TLeafSelector();
};

// A material: its name, the host's location of its data, its density.
struct TMaterial
{
  TString Name;
  TString Location;
  double Density = 0.0;
};

// The material table; a detail's Material indexes it.
extern TArrayOf<TMaterial> AMaterial;
