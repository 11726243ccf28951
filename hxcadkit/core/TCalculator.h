#pragma once
// TCalculator: a one-line arithmetic formula over named variables. The text is split into
// lexemes, converted to postfix order with an operator stack and evaluated on a value stack.
// Every failure is thrown as a heap TCalculatorException*; whoever catches it deletes it.
#include <cstdint>
#include <exception>
#include <utility>
#include <vector>

#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/TArray.h"
#include "hxcadkit/core/Types.h"

class TCalculatorException : public std::exception
{
public:
  enum ExceptionType {
    et_Unknown = 0,
    et_DivisionByZero = 1,
    et_NoVariable = 2,
    et_NoValue = 3,
    et_SyntaxError = 4
  };

  // The message of the kind, then " '<argument>'" when the argument is not empty.
  TCalculatorException(ExceptionType kind, const TString& argument);
  virtual ~TCalculatorException();

  // Copies the message into text (at most len - 1 bytes, terminated); true when there is one.
  bool GetErrorMessage(char* text, int len) const;

  ExceptionType Type;
  TString ErrorMessage;
};

// The array of doubles (a repeated typedef of the same type is allowed, should the array's
// own header declare it too).
typedef TArrayOf<double> TAReal;

struct TVariable
{
  TString Name;
  double Value = 0.0;
};

class TVariables : public TArrayOf<TVariable>
{
public:
  TVariables(Integer Size, Integer Capacity) : TArrayOf<TVariable>(Size, Capacity) {}
  virtual ~TVariables() {}

  // The value of the first variable of that name; 0.0 when there is none.
  double Value(const TString& name) const;
  // Index of the first variable of that name, -1 when there is none.
  Integer IndexOfName(const TString& name) const;
};

class TCalculator
{
public:
  enum TypeLexem { ltUnknown = 0, ltNumber = 1, ltVariable = 2, ltOperation = 3 };

  // The numeric order is the precedence: a larger code binds tighter.
  enum TOperation {
    otUnknown = 0,
    otEqual = 1,
    otLeftBracket = 2,
    otRightBracket = 3,
    otParameter = 4,
    otLower = 5,
    otLowerOrEqual = 6,
    otBigger = 7,
    otBiggerOrEqual = 8,
    otPlus = 9,
    otMinus = 10,
    otMultiply = 11,
    otDivide = 12,
    otUnareMinus = 13,
    otFRnd = 14,
    otFSqrt = 15,
    otFMax = 16,
    otFMin = 17,
    otFSin = 18,
    otFCos = 19,
    otFTan = 20,
    otFIf = 21,
    otCount = 22
  };

  struct Lexem
  {
    TypeLexem type = ltUnknown;
    TOperation operation = otUnknown;
    TString Name;
    double number = 0.0;
  };

  TCalculator();
  explicit TCalculator(const TString& text);
  ~TCalculator();
  TCalculator(const TCalculator&) = delete;
  TCalculator& operator=(const TCalculator&) = delete;

  void SetEquation(const TString& text);
  void Parse();
  double Calculate();
  // Never throws: 0.0 for an empty text and for any failure.
  double Calculate(const TString& text);
  void SetVariable(const TString& name, double value);
  // "name,value,name,value,...": pairs with an empty value are skipped.
  void SetVariables(const TString& list);
  void Clear();

  // Reads the lexeme at pos and moves pos past it; true while characters follow.
  bool ParseLexem(Integer& pos, TString& text, TypeLexem& type, TOperation& operation);
  void PushOperationToStack(TOperation operation);
  void AddNumber(double value);
  void AddOperation(TOperation operation);
  void AddVariable(const TString& name);

  // Operands an operation takes off the value stack (0 for brackets, the comma and
  // codes that are not operations).
  static int OperandCount(TOperation operation);

  const TString& GetEquation() const { return Equation; }
  Boolean IsValid() const { return Valid; }
  const TVariables& GetVariables() const { return Variables; }
  const TArrayOf<Lexem>& GetLexems() const { return Lexems; }

protected:
  TString Equation;
  Boolean Valid = false;
  TArrayOf<Lexem> Lexems;
  TArrayOf<TOperation> Operations;
  TVariables Variables;
  TAReal Calculations;

private:
  // The postfix sequence flattened for evaluation: variables resolved to where their values
  // are, operand counts checked once, an arithmetic operator fused with a number or variable
  // right-hand operand; so evaluating allocates nothing and looks nothing up.
  struct TStep
  {
    std::uint8_t code;   // an operation code or a TStepCode
    double number;       // scNumber and the fused steps with a number
    const double* value; // scVariable and the fused steps with a variable
  };
  enum TStepCode : std::uint8_t {
    scNumber = otCount,
    scVariable,
    scFail,       // the evaluation of the postfix sequence fails here
    scPlusNumber, // in the order otPlus, otMinus, otMultiply, otDivide
    scMinusNumber,
    scMultiplyNumber,
    scDivideNumber,
    scPlusVariable,
    scMinusVariable,
    scMultiplyVariable,
    scDivideVariable
  };

  bool ReadLexem(Integer& pos, TString& text, TypeLexem& type, TOperation& operation);
  void Compile();
  void Resolve();
  double Evaluate();
  void ParseEquation();
  double CalculateEquation();

  std::vector<TStep> Steps;
  std::vector<std::pair<Integer, Integer>> VariableSteps; // (step, lexeme) of each variable
  Integer StackDepth = 0;                                 // the deepest the value stack gets
  Boolean Compiled = false;                               // Steps reflect Lexems
  std::uint32_t VariablesStamp = 0;                       // raised whenever a variable is added
  std::uint32_t ResolvedStamp = 0;                        // VariablesStamp when the slots were resolved
};
