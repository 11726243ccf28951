#pragma once
// The standard-part base TDetail and the designer interface TConstruktor. Every standard part
// (coupling parts, mould and die parts, fasteners) is a TDetail: it carries its kind, state
// and standard-element code, draws through the modeller it holds, and forwards its design
// steps to an exchangeable designer. The control model (hxcadkit/core/ControlModel.h) lists
// the parts of a design; TDetail sits here because it derives from the drawing model.
#include "hxcadkit/core/KmfData.h"
#include "hxcadkit/core/TextBase.h"
#include "hxcadkit/core/Types.h"
#include "hxcadkit/drawing/drModeler.h"

class TProtector; // hxcadkit/geometry: keep-out zones
class TGImage;    // hxcadkit/geometry: the OpenGL drawing surface
class TColor;

// The designer a part forwards its design steps to. The part passes itself first, and the
// part and the data travel untyped. The base designs nothing and answers false or 0.
class TConstruktor
{
public:
  virtual ~TConstruktor();
  virtual bool Design(void* part, void* data, bool flag) const;
  virtual bool Place(void* part, void* data, bool flag) const;
  virtual int Set(void* part, int code, double a, double b) const;
  virtual int Set(void* part, int code, double a, double b, double c) const;
  virtual bool Evaluate(void* part) const;

  // The process-wide designer that designs nothing.
  static TConstruktor& Empty();
};

class TDetail : public TWrapModeler
{
public:
  enum TState : std::int32_t { stUndefined = 0, stStandart = 1, stDefine = 2, stPlace = 4, stEvaluate = 8 };

  // A part of the given kind drawing through m (not owned) with designer con (not owned).
  TDetail(int kind, TModeler3D* m, TConstruktor* con);
  TDetail(int kind, TModeler3D* m, TConstruktor& con);
  // A part that complements another one.
  TDetail(int kind, TModeler3D* m, const TDetail* complement, int kind2, TConstruktor* con);
  // A copy of other that draws through m.
  TDetail(const TDetail& other, TModeler3D* m);
  TDetail& operator=(const TDetail&) = delete;
  // Derived parts are deleted through this base.
  ~TDetail() override;

  virtual int CountTread3D() const { return 1; }
  virtual void dr3D(int) const {}
  virtual void dr2D() const {}
  virtual void AddIn(TProtector&) {}
  virtual void Show(TGImage&, const TColor&) const {}
  // The designer's steps with this part; false (0) without a designer.
  virtual bool toDesign(void* data, bool flag);
  virtual bool toPlace(void* data, bool flag);
  virtual int Set(int code, double a, double b, double c);
  virtual int Set(int code, double a, double b);
  virtual void Evaluate();
  virtual void toStream(TKmfData&) const {}
  virtual void fromStream(TKmfData&) {}

  void SetConstruktor(TConstruktor* con) { PCon = con; }
  void SetModeler(TModeler3D* m) { M2.Set(m, false); }

  const Integer Id;  // the part kind
  const Integer Id2; // the second kind, for parts that complement another
  TState State = stUndefined;
  TBaseDetail DC;
  Integer Number = 0;
  bool Design = false;
  Integer Code = 0;
  const TDetail* Complement = nullptr;  // not owned
  const TDetail* Complement2 = nullptr; // not owned
  TConstruktor* PCon = nullptr;         // not owned
  bool NeedPhantom = false;
};
