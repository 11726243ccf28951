#include "hxcadkit/core/TCalculator.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

const char* const ExceptionMessages[] = {
    "Неизвестная ошибка",
    "Деление на ноль",
    "Несуществующая переменная",
    "Не установленно значение для переменной",
    "Синтаксическая ошибка в формуле",
};

const double DegreesToRadians = 0.017453292519943295;

[[noreturn]] void Fail(TCalculatorException::ExceptionType kind, const char* argument)
{
  throw new TCalculatorException(kind, TString(argument));
}

[[noreturn]] void FailText(TCalculatorException::ExceptionType kind, const TString& argument)
{
  throw new TCalculatorException(kind, argument);
}

// Anything but our own exception (allocation failures, whatever a conversion may throw)
// becomes one of ours, so that callers have one kind of failure to handle.
template <class F> auto Guarded(const char* where, F&& f) -> decltype(f())
{
  try {
    return f();
  } catch (TCalculatorException*) {
    throw;
  } catch (...) {
    Fail(TCalculatorException::et_Unknown, where);
  }
}

// The operator stack, the postfix sequence and the value stack grow by doubling: their
// fixed steps would make long formulas quadratic.
template <class T> void MakeRoom(TArrayOf<T>& a)
{
  if (a.Count >= a.FSize)
    a.ReserveSize(Integer(std::clamp<std::int64_t>(std::int64_t(a.FSize) * 2, 16, INT32_MAX)));
}

bool IsDigit(char c)
{
  return c >= '0' && c <= '9';
}
bool IsLetter(char c)
{
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

struct TFunctionName
{
  const char* name;
  TCalculator::TOperation operation;
};

const TFunctionName FunctionNames[] = {
    {"RND", TCalculator::otFRnd}, {"SQRT", TCalculator::otFSqrt}, {"Max", TCalculator::otFMax},
    {"Min", TCalculator::otFMin}, {"Sin", TCalculator::otFSin},   {"Cos", TCalculator::otFCos},
    {"Tan", TCalculator::otFTan}, {"If", TCalculator::otFIf},
};

double Round(double x)
{
  // Halves away from zero.
  double f = std::fmod(x, 1.0);
  double i = x - f;
  if (x >= 0) return f >= 0.5 ? i + 1 : i;
  return f <= -0.5 ? i - 1 : i;
}

} // namespace

// ---------------------------------------------------------------------------------------

TCalculatorException::TCalculatorException(ExceptionType kind, const TString& argument) : Type(kind)
{
  if (kind >= et_Unknown && kind <= et_SyntaxError) ErrorMessage = ExceptionMessages[kind];
  if (!argument.Empty()) {
    ErrorMessage.Add(" '");
    ErrorMessage += argument;
    ErrorMessage.Add('\'');
  }
}

TCalculatorException::~TCalculatorException() {}

bool TCalculatorException::GetErrorMessage(char* text, int len) const
{
  // The buffer size is honoured: a message longer than the caller's buffer is cut.
  if (text && len > 0) {
    int n = ErrorMessage.Length() < len - 1 ? ErrorMessage.Length() : len - 1;
    std::memcpy(text, ErrorMessage.PChar(), static_cast<std::size_t>(n));
    text[n] = 0;
  }
  return !ErrorMessage.Empty();
}

// ---------------------------------------------------------------------------------------

Integer TVariables::IndexOfName(const TString& name) const
{
  for (Integer i = 0; i < Count; ++i)
    if ((*this)[i].Name == name) return i;
  return -1;
}

double TVariables::Value(const TString& name) const
{
  Integer i = IndexOfName(name);
  return i < 0 ? 0.0 : (*this)[i].Value;
}

// ---------------------------------------------------------------------------------------

TCalculator::TCalculator() : Lexems(16, 16), Operations(8, 8), Variables(32, 32), Calculations(32, 32) {}

TCalculator::TCalculator(const TString& text) : TCalculator()
{
  SetEquation(text);
}

TCalculator::~TCalculator()
{
  Valid = false;
}

int TCalculator::OperandCount(TOperation operation)
{
  switch (operation) {
  case otEqual:
  case otLower:
  case otLowerOrEqual:
  case otBigger:
  case otBiggerOrEqual:
  case otPlus:
  case otMinus:
  case otMultiply:
  case otDivide:
  case otFMax:
  case otFMin:
    return 2;
  case otUnareMinus:
  case otFRnd:
  case otFSqrt:
  case otFSin:
  case otFCos:
  case otFTan:
    return 1;
  case otFIf:
    return 3;
  default:
    return 0;
  }
}

void TCalculator::Clear()
{
  Valid = false;
  Operations.Clear();
  Lexems.Clear();
  Compiled = false;
}

void TCalculator::SetEquation(const TString& text)
{
  if (text.Empty()) Fail(TCalculatorException::et_SyntaxError, "");
  Guarded("SetEquation", [&] {
    Clear();
    Equation = text;
  });
  Parse();
}

void TCalculator::SetVariable(const TString& name, double value)
{
  Guarded("SetVariable", [&] {
    Integer i = Variables.IndexOfName(name);
    if (i >= 0) {
      Variables[i].Value = value;
      return;
    }
    MakeRoom(Variables);
    TVariable v;
    v.Name = name;
    v.Value = value;
    Variables.Add(v);
    ++VariablesStamp;
  });
}

void TCalculator::SetVariables(const TString& list)
{
  Guarded("SetVariables", [&] {
    const char* s = list.PChar();
    const Integer n = list.Length();
    Integer pos = 0;
    while (pos < n) {
      while (pos < n && s[pos] == ' ')
        ++pos;
      Integer comma = pos;
      while (comma < n && s[comma] != ',')
        ++comma;
      if (comma >= n) break;
      Integer end = comma + 1;
      while (end < n && s[end] != ',')
        ++end;
      if (end > comma + 1) {
        TString name, value;
        if (comma > pos) name.Set(reinterpret_cast<const unsigned char*>(s + pos), unsigned(comma - pos));
        value.Set(reinterpret_cast<const unsigned char*>(s + comma + 1), unsigned(end - comma - 1));
        SetVariable(name, value.toReal());
      }
      pos = end + 1;
    }
  });
}

// ---------------------------------------------------------------------------------------
// Lexer

bool TCalculator::ParseLexem(Integer& pos, TString& text, TypeLexem& type, TOperation& operation)
{
  return Guarded("ParseLexem", [&] { return ReadLexem(pos, text, type, operation); });
}

bool TCalculator::ReadLexem(Integer& pos, TString& text, TypeLexem& type, TOperation& operation)
{
  const char* s = Equation.PChar();
  const Integer n = Equation.Length();
  text.Clear();
  type = ltUnknown;
  operation = otUnknown;
  if (pos < 0) pos = 0;
  while (pos < n && s[pos] == ' ')
    ++pos;
  if (pos >= n) return false;

  const char c = s[pos];
  text.Add(c);
  switch (c) {
  case '(':
    operation = otLeftBracket;
    break;
  case ')':
    operation = otRightBracket;
    break;
  case '*':
    operation = otMultiply;
    break;
  case '+':
    operation = otPlus;
    break;
  case ',':
    operation = otParameter;
    break;
  case '-':
    operation = otMinus;
    break;
  case '/':
    operation = otDivide;
    break;
  case '=':
    operation = otEqual;
    break;
  case '<':
  case '>':
    // Taken as the plain comparison also when nothing follows; the parser then refuses a
    // formula that ends in an operator.
    type = ltOperation;
    ++pos;
    operation = c == '<' ? otLower : otBigger;
    if (pos < n && s[pos] == '=') {
      operation = c == '<' ? otLowerOrEqual : otBiggerOrEqual;
      text.Add('=');
      ++pos;
    }
    return pos < n;
  default:
    break;
  }
  if (operation != otUnknown) {
    type = ltOperation;
    ++pos;
    return pos < n;
  }

  Integer end = pos;
  if (IsDigit(c)) {
    while (end < n && IsDigit(s[end]))
      ++end;
    if (end < n && s[end] == '.') {
      ++end;
      while (end < n && IsDigit(s[end]))
        ++end;
    }
    type = ltNumber;
  } else if (IsLetter(c) || c == '$' || c == ':' || c == '@' || c == '_') {
    ++end;
    while (end < n && (IsLetter(s[end]) || IsDigit(s[end]) || s[end] == '_'))
      ++end;
    type = ltVariable;
  } else {
    FailText(TCalculatorException::et_SyntaxError, text);
  }
  text.Clear();
  text.Set(reinterpret_cast<const unsigned char*>(s + pos), unsigned(end - pos));
  pos = end;
  if (type == ltVariable && pos < n) {
    // A name at the very end of the text stays a variable.
    for (const TFunctionName& f : FunctionNames)
      if (std::strcmp(text.PChar(), f.name) == 0) {
        type = ltOperation;
        operation = f.operation;
        break;
      }
  }
  return pos < n;
}

// ---------------------------------------------------------------------------------------
// Conversion to postfix order

void TCalculator::AddNumber(double value)
{
  Guarded("AddNumber", [&] {
    MakeRoom(Lexems);
    Lexem& l = Lexems.Add();
    l.type = ltNumber;
    l.operation = otUnknown;
    l.Name.Clear();
    l.number = value;
    Compiled = false;
  });
}

void TCalculator::AddOperation(TOperation operation)
{
  Guarded("AddOperation", [&] {
    if (operation == otUnknown) Fail(TCalculatorException::et_Unknown, "AddOperation");
    MakeRoom(Lexems);
    Lexem& l = Lexems.Add();
    l.type = ltOperation;
    l.operation = operation;
    l.Name.Clear();
    l.number = 0.0;
    Compiled = false;
  });
}

void TCalculator::AddVariable(const TString& name)
{
  Guarded("AddVariable", [&] {
    if (name.Empty()) Fail(TCalculatorException::et_Unknown, "AddVariable");
    // Every occurrence is appended: a*a needs both operands on the value stack.
    MakeRoom(Lexems);
    Lexem& l = Lexems.Add();
    l.type = ltVariable;
    l.operation = otUnknown;
    l.Name = name;
    l.number = 0.0;
    Compiled = false;
  });
}

void TCalculator::PushOperationToStack(TOperation op)
{
  Guarded("PushOperationToStack", [&] {
    if (op == otLeftBracket) {
      MakeRoom(Operations);
      Operations.Push(op);
      return;
    }
    if (op == otRightBracket) {
      for (;;) {
        if (Operations.Count == 0) Fail(TCalculatorException::et_SyntaxError, "(");
        TOperation top = Operations.Pop();
        if (top == otLeftBracket) return;
        if (top != otParameter) AddOperation(top);
      }
    }
    while (Operations.Count > 0 && Operations[Operations.Count - 1] >= op) {
      TOperation top = Operations.Pop();
      if (top != otParameter) AddOperation(top);
    }
    MakeRoom(Operations);
    Operations.Push(op);
  });
}

void TCalculator::Parse()
{
  Guarded("ParseEquation", [&] { ParseEquation(); });
}

void TCalculator::ParseEquation()
{
  // Parsing starts afresh also when called on its own: what a failed or earlier parse left in
  // the stacks must not end up in this formula.
  Clear();
  if (Equation.Empty()) Fail(TCalculatorException::et_SyntaxError, "Не указано выражение");

  Integer pos = 0;
  TString text;
  TypeLexem type;
  TOperation op;
  bool first = true;
  TypeLexem prevType = ltUnknown;
  TOperation prevOp = otUnknown;
  bool more = true;
  while (more) {
    more = ParseLexem(pos, text, type, op);
    if (type == ltUnknown) continue; // blanks at the end
    if (text.Empty()) Fail(TCalculatorException::et_Unknown, "ParseEquation");
    if (type > ltOperation) Fail(TCalculatorException::et_Unknown, "");

    const bool prevOperation = !first && prevType == ltOperation;
    const bool prevValue = !first && (prevType == ltNumber || prevType == ltVariable);
    switch (type) {
    case ltNumber:
      if ((!first && prevType == ltVariable) ||
          (prevOperation && (prevOp == otRightBracket || prevOp == otFRnd || prevOp == otFSqrt)))
        FailText(TCalculatorException::et_SyntaxError, text);
      AddNumber(text.toReal());
      break;
    case ltVariable:
      if (prevValue || (prevOperation && (prevOp == otRightBracket || prevOp == otFRnd || prevOp == otFSqrt)))
        FailText(TCalculatorException::et_SyntaxError, text);
      AddVariable(text);
      break;
    default: {
      bool error = false;
      switch (op) {
      case otEqual:
      case otLower:
      case otLowerOrEqual:
      case otBigger:
      case otBiggerOrEqual:
        error = prevOperation && prevOp != otRightBracket;
        break;
      case otLeftBracket:
        error = prevOperation && prevOp == otRightBracket;
        break;
      case otRightBracket:
        error = first;
        break;
      case otParameter:
        error = prevOperation && prevOp == otLeftBracket;
        break;
      case otPlus:
      case otMultiply:
      case otDivide:
        error = first || (prevOperation && prevOp != otRightBracket);
        break;
      case otMinus:
        if (first ||
            (prevOperation && (prevOp == otLeftBracket || prevOp == otMultiply || prevOp == otDivide)))
          op = otUnareMinus;
        else
          error = prevOperation && prevOp != otRightBracket;
        break;
      default: // the functions
        error = prevValue ||
                (prevOperation && (prevOp == otRightBracket || prevOp == otUnareMinus || prevOp == op));
        break;
      }
      if (error) FailText(TCalculatorException::et_SyntaxError, text);
      PushOperationToStack(op);
      // A formula may not end in an operator.
      if (op != otRightBracket && !more) FailText(TCalculatorException::et_SyntaxError, text);
      prevOp = op;
      break;
    }
    }
    prevType = type;
    first = false;
  }

  while (Operations.Count > 0) {
    TOperation top = Operations.Pop();
    switch (top) {
    case otLeftBracket:
      Fail(TCalculatorException::et_SyntaxError, "(");
    case otRightBracket:
      Fail(TCalculatorException::et_SyntaxError, ")");
    case otParameter:
      Fail(TCalculatorException::et_SyntaxError, ",");
    default:
      if (top <= otUnknown || top >= otCount)
        Fail(TCalculatorException::et_Unknown, "Pop operation from stack");
      AddOperation(top);
    }
  }
  Valid = true;
}

// ---------------------------------------------------------------------------------------
// Evaluation

namespace {
const double NoValue = 0.0; // what a variable that is not set reads
} // namespace

void TCalculator::Compile()
{
  Steps.clear();
  VariableSteps.clear();
  Steps.reserve(static_cast<std::size_t>(Lexems.Count) + 1);
  Integer depth = 0;
  StackDepth = 1;
  bool failed = false;
  for (Integer i = 0; i < Lexems.Count && !failed; ++i) {
    const Lexem& l = Lexems[i];
    TStep step{scFail, 0.0, &NoValue};
    switch (l.type) {
    case ltNumber:
      step.code = scNumber;
      step.number = l.number;
      ++depth;
      break;
    case ltVariable:
      step.code = scVariable;
      VariableSteps.push_back({Integer(Steps.size()), i});
      ++depth;
      break;
    case ltOperation: {
      // The stack depth before each step is known here, so a missing operand is found now
      // and turned into a failure at the step where the evaluation would meet it.
      const int n = OperandCount(l.operation);
      if (n == 0 || depth < n) {
        failed = true;
        break;
      }
      depth += 1 - n;
      step.code = static_cast<std::uint8_t>(l.operation);
      // An arithmetic operator right after a number or variable takes it as its right-hand
      // operand directly instead of through the stack.
      if (l.operation >= otPlus && l.operation <= otDivide && !Steps.empty()) {
        TStep& last = Steps.back();
        if (last.code == scNumber || last.code == scVariable) {
          last.code = static_cast<std::uint8_t>((last.code == scNumber ? scPlusNumber : scPlusVariable) +
                                                (l.operation - otPlus));
          continue;
        }
      }
      break;
    }
    default:
      failed = true;
      break;
    }
    Steps.push_back(step);
    if (depth > StackDepth) StackDepth = depth;
  }
  if (!failed && depth != 1) Steps.push_back(TStep{scFail, 0.0, &NoValue});
  Compiled = true;
  ResolvedStamp = VariablesStamp - 1; // forces Resolve
}

void TCalculator::Resolve()
{
  // The values stay where they are until a variable is added (which may move the storage, and
  // raises the stamp).
  for (const auto& [step, lexem] : VariableSteps) {
    const Integer slot = Variables.IndexOfName(Lexems[lexem].Name);
    Steps[std::size_t(step)].value = slot >= 0 ? &Variables[slot].Value : &NoValue;
  }
  ResolvedStamp = VariablesStamp;
}

double TCalculator::Calculate()
{
  return Guarded("CalculateEquation", [&] { return CalculateEquation(); });
}

double TCalculator::CalculateEquation()
{
  Calculations.Clear();
  if (!Valid || Lexems.Count == 0) Fail(TCalculatorException::et_Unknown, "CalculateEquation");
  if (!Compiled) Compile();
  if (ResolvedStamp != VariablesStamp) Resolve();
  if (Calculations.FSize < StackDepth) Calculations.ReserveSize(StackDepth);
  return Evaluate();
}

double TCalculator::Evaluate()
{
  // t points at the top value; the stack starts empty, one below its first element.
  double* const base = &Calculations[0];
  double* t = base - 1;
  const TStep* s = Steps.data();
  const TStep* const end = s + Steps.size();
  for (; s != end; ++s) {
    switch (s->code) {
    case scNumber:
      *++t = s->number;
      break;
    case scVariable:
      *++t = *s->value;
      break;
    case scPlusNumber:
      *t += s->number;
      break;
    case scMinusNumber:
      *t -= s->number;
      break;
    case scMultiplyNumber:
      *t *= s->number;
      break;
    case scDivideNumber:
      if (s->number == 0.0) Fail(TCalculatorException::et_DivisionByZero, "");
      *t /= s->number;
      break;
    case scPlusVariable:
      *t += *s->value;
      break;
    case scMinusVariable:
      *t -= *s->value;
      break;
    case scMultiplyVariable:
      *t *= *s->value;
      break;
    case scDivideVariable:
      if (*s->value == 0.0) Fail(TCalculatorException::et_DivisionByZero, "");
      *t /= *s->value;
      break;
    case otEqual:
      --t;
      *t = t[0] == t[1] ? 1.0 : 0.0;
      break;
    case otLower:
      --t;
      *t = t[0] < t[1] ? 1.0 : 0.0;
      break;
    case otLowerOrEqual:
      --t;
      *t = t[0] <= t[1] ? 1.0 : 0.0;
      break;
    case otBigger:
      --t;
      *t = t[0] > t[1] ? 1.0 : 0.0;
      break;
    case otBiggerOrEqual:
      --t;
      *t = t[0] >= t[1] ? 1.0 : 0.0;
      break;
    case otPlus:
      --t;
      *t += t[1];
      break;
    case otMinus:
      --t;
      *t -= t[1];
      break;
    case otMultiply:
      --t;
      *t *= t[1];
      break;
    case otDivide:
      --t;
      if (t[1] == 0.0) Fail(TCalculatorException::et_DivisionByZero, "");
      *t /= t[1];
      break;
    case otUnareMinus:
      *t = -*t;
      break;
    case otFRnd:
      *t = Round(*t);
      break;
    case otFSqrt:
      if (*t < 0.0) Fail(TCalculatorException::et_Unknown, "CalculateEquation - SQRT");
      *t = std::sqrt(*t);
      break;
    case otFMax:
      --t;
      *t = t[0] > t[1] ? t[0] : t[1];
      break;
    case otFMin:
      --t;
      *t = t[0] < t[1] ? t[0] : t[1];
      break;
    case otFSin:
      *t = std::sin(*t * DegreesToRadians);
      break;
    case otFCos:
      *t = std::cos(*t * DegreesToRadians);
      break;
    case otFTan:
      *t = std::tan(*t * DegreesToRadians);
      break;
    case otFIf:
      t -= 2;
      *t = t[0] > 0.0 ? t[1] : t[2];
      break;
    default:
      Fail(TCalculatorException::et_Unknown, "CalculateEquation");
    }
  }
  return *base;
}

double TCalculator::Calculate(const TString& text)
{
  if (text.Empty()) return 0.0;
  try {
    SetEquation(text);
    return Calculate();
  } catch (TCalculatorException* e) {
    delete e;
  } catch (...) {
  }
  return 0.0;
}
