#include "hxcadkit/drawing/BaseDetail.h"

// ---------------------------------------------------------------------------------------------
// TConstruktor

TConstruktor::~TConstruktor() = default;

bool TConstruktor::Design(void*, void*, bool) const
{
  return false;
}
bool TConstruktor::Place(void*, void*, bool) const
{
  return false;
}
int TConstruktor::Set(void*, int, double, double) const
{
  return 0;
}
int TConstruktor::Set(void*, int, double, double, double) const
{
  return 0;
}
bool TConstruktor::Evaluate(void*) const
{
  return false;
}

TConstruktor& TConstruktor::Empty()
{
  static TConstruktor empty;
  return empty;
}

// ---------------------------------------------------------------------------------------------
// TDetail

TDetail::TDetail(int kind, TModeler3D* m, TConstruktor* con)
    : TWrapModeler(m, false), Id(kind), Id2(0), PCon(con)
{
}

TDetail::TDetail(int kind, TModeler3D* m, TConstruktor& con) : TDetail(kind, m, &con) {}

TDetail::TDetail(int kind, TModeler3D* m, const TDetail* complement, int kind2, TConstruktor* con)
    : TWrapModeler(m, false), Id(kind), Id2(kind2), Complement(complement), PCon(con)
{
}

TDetail::TDetail(const TDetail& other, TModeler3D* m)
    : TWrapModeler(m, false), Id(other.Id), Id2(other.Id2), State(other.State), DC(other.DC),
      Number(other.Number), Design(other.Design), Code(other.Code), Complement(other.Complement),
      Complement2(other.Complement2), PCon(other.PCon), NeedPhantom(other.NeedPhantom)
{
}

TDetail::~TDetail() = default;

bool TDetail::toDesign(void* data, bool flag)
{
  return PCon ? PCon->Design(this, data, flag) : false;
}

bool TDetail::toPlace(void* data, bool flag)
{
  return PCon ? PCon->Place(this, data, flag) : false;
}

int TDetail::Set(int code, double a, double b, double c)
{
  return PCon ? PCon->Set(this, code, a, b, c) : 0;
}

int TDetail::Set(int code, double a, double b)
{
  return PCon ? PCon->Set(this, code, a, b) : 0;
}

void TDetail::Evaluate()
{
  if (PCon) PCon->Evaluate(this);
}
