#include "hxcadkit/core/TCalculator.h"

#include "tests/TestNames.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>

namespace {

// What a formula came to: a value, or the kind and message of the failure.
struct TFormulaOutcome
{
  bool failed = false;
  double value = 0.0;
  TCalculatorException::ExceptionType kind = TCalculatorException::et_Unknown;
  std::string message; // UTF-8
};

TFormulaOutcome Catch(TCalculatorException* e)
{
  std::unique_ptr<TCalculatorException> owned(e);
  TFormulaOutcome o;
  o.failed = true;
  o.kind = e->Type;
  o.message = e->ErrorMessage.Utf8Text();
  return o;
}

// Sets the formula and, unless told to only parse it, calculates it.
TFormulaOutcome Evaluate(TCalculator& c, const char* formula, bool calculate = true)
{
  try {
    TString text;
    text.Set(formula); // already code-page text
    c.SetEquation(text);
    TFormulaOutcome o;
    if (calculate) o.value = c.Calculate();
    return o;
  } catch (TCalculatorException* e) {
    return Catch(e);
  }
}

TFormulaOutcome Evaluate(const char* formula)
{
  TCalculator c;
  return Evaluate(c, formula);
}

TFormulaOutcome ParseOnly(TCalculator& c, const char* formula)
{
  return Evaluate(c, formula, false);
}

const std::string SyntaxError = "Синтаксическая ошибка в формуле";
const std::string UnknownError = "Неизвестная ошибка";
std::string With(const std::string& message, const std::string& argument)
{
  return message + " '" + argument + "'";
}

// ---------------------------------------------------------------------------------------
// Values

struct TValueCase
{
  const char* formula;
  double value;
};

void PrintTo(const TValueCase& c, std::ostream* os)
{
  *os << c.formula;
}

class CalculatorValues : public testing::TestWithParam<TValueCase>
{
};

TEST_P(CalculatorValues, EvaluatesExactly)
{
  TFormulaOutcome o = Evaluate(GetParam().formula);
  ASSERT_FALSE(o.failed) << GetParam().formula << ": " << o.message;
  EXPECT_DOUBLE_EQ(o.value, GetParam().value) << GetParam().formula;
}

INSTANTIATE_TEST_SUITE_P(Operators, CalculatorValues,
                         testing::Values(TValueCase{"7/5", 1.4}, TValueCase{"3=4", 0}, TValueCase{"3<=3", 1},
                                         TValueCase{"3>3", 0}, TValueCase{"2>=3", 0}, TValueCase{"7.", 7},
                                         TValueCase{"  4 +  1  ", 5}),
                         hxcad::test::CaseNames());

INSTANTIATE_TEST_SUITE_P(Functions, CalculatorValues,
                         testing::Values(TValueCase{"RND(2.5)", 3}, TValueCase{"RND(-2.5)", -3},
                                         TValueCase{"RND(-2.4999)", -2}, TValueCase{"Sin(30)", 0.5},
                                         TValueCase{"If(-1,5,7)", 7}, TValueCase{"If(0.001,5,7)", 5}),
                         hxcad::test::CaseNames());

INSTANTIATE_TEST_SUITE_P(Precedence, CalculatorValues,
                         testing::Values(TValueCase{"10-4-3", 3}, TValueCase{"8/4/2", 1},
                                         TValueCase{"1+2<3", 0}, TValueCase{"1=1=1", 1},
                                         // Each comparison binds tighter than the one before it
                                         // in the table: 1<(2>0) and 2<(3<=1).
                                         TValueCase{"1<2>0", 0}, TValueCase{"2<3<=1", 0},
                                         TValueCase{"Sin Cos(0)*90", 90 * 0.017452406437283512},
                                         TValueCase{"Max(2<3,0)", 1}, TValueCase{"2*-3", -6},
                                         TValueCase{"-(2+3)", -5}, TValueCase{"Max(-5,2*-2)", -4},
                                         TValueCase{"If(If(1,0,1),1,2)", 2}),
                         hxcad::test::CaseNames());

// ---------------------------------------------------------------------------------------
// Faults of the postfix conversion and of Tan

TEST(CalculatorFixes, RepeatedVariableKeepsEveryOperand)
{
  TCalculator c;
  c.SetVariable("a", 3);
  c.SetVariable("b", 2);
  EXPECT_EQ(Evaluate(c, "a*a").value, 9);
  EXPECT_EQ(Evaluate(c, "a*a*a-b*b").value, 23);
  EXPECT_EQ(Evaluate(c, "Max(a,a)").value, 3);
  EXPECT_EQ(Evaluate(c, "If(a>b,a,b)+a").value, 6);
  int variables = 0;
  for (Integer i = 0; i < c.GetLexems().Count; ++i)
    if (c.GetLexems()[i].type == TCalculator::ltVariable) ++variables;
  EXPECT_EQ(variables, 5); // a b a b a
}

TEST(CalculatorFixes, TanIsTheTangentInDegrees)
{
  EXPECT_NEAR(Evaluate("Tan(45)").value, 1.0, 1e-15);
  EXPECT_NEAR(Evaluate("Tan(30)").value, std::tan(30 * 0.017453292519943295), 0);
  EXPECT_NEAR(Evaluate("Tan(-60)").value, -std::sqrt(3.0), 1e-14);
  EXPECT_EQ(Evaluate("Tan(0)").value, 0.0);
}

TEST(CalculatorFixes, CalculateOfTextSwallowsEveryFailure)
{
  // Each of these throws inside; the non-throwing entry returns 0 (and, under the leak
  // checker, frees what it caught).
  TCalculator c;
  for (const char* f : {"1/0", "SQRT(-1)", "(1+2", "1+", "2 3", "a 1", "\t", "()"}) {
    TString text;
    text.Set(f);
    EXPECT_EQ(c.Calculate(text), 0.0) << f;
  }
  EXPECT_EQ(c.Calculate(TString("")), 0.0);
  EXPECT_EQ(c.Calculate(TString("2*21")), 42.0);
}

TEST(CalculatorFixes, ErrorMessageCopyHonoursTheBuffer)
{
  TCalculatorException e(TCalculatorException::et_SyntaxError, TString("("));
  char small[8];
  std::memset(small, 'x', sizeof small);
  EXPECT_TRUE(e.GetErrorMessage(small, 5));
  EXPECT_EQ(std::string(small), std::string(e.ErrorMessage.PChar(), 4));
  EXPECT_EQ(small[5], 'x');
  char big[128];
  EXPECT_TRUE(e.GetErrorMessage(big, sizeof big));
  EXPECT_STREQ(big, e.ErrorMessage.PChar());
  TCalculatorException none(static_cast<TCalculatorException::ExceptionType>(9), EmptyStr);
  EXPECT_FALSE(none.GetErrorMessage(big, sizeof big));
  EXPECT_STREQ(big, "");
}

// ---------------------------------------------------------------------------------------
// Failures: kinds and messages

struct TFailCase
{
  const char* formula;
  TCalculatorException::ExceptionType kind;
  std::string message;
};

void PrintTo(const TFailCase& c, std::ostream* os)
{
  *os << c.formula;
}

class CalculatorFailures : public testing::TestWithParam<TFailCase>
{
};

TEST_P(CalculatorFailures, ThrowsKindAndMessage)
{
  TFormulaOutcome o = Evaluate(GetParam().formula);
  ASSERT_TRUE(o.failed) << GetParam().formula << " gave " << o.value;
  EXPECT_EQ(o.kind, GetParam().kind) << GetParam().formula;
  EXPECT_EQ(o.message, GetParam().message) << GetParam().formula;
}

using E = TCalculatorException;
INSTANTIATE_TEST_SUITE_P(
    Evaluation, CalculatorFailures,
    testing::Values(TFailCase{"1/(2-2)", E::et_DivisionByZero, "Деление на ноль"},
                    TFailCase{"1/-0", E::et_DivisionByZero, "Деление на ноль"},
                    TFailCase{"SQRT(-1)", E::et_Unknown, With(UnknownError, "CalculateEquation - SQRT")},
                    // The parser accepts these; the value stack then does not come out at one value.
                    TFailCase{"2 3", E::et_Unknown, With(UnknownError, "CalculateEquation")},
                    TFailCase{"Max(1)", E::et_Unknown, With(UnknownError, "CalculateEquation")},
                    // Division by zero met before the missing operand.
                    TFailCase{"1/0+Max(1)", E::et_DivisionByZero, "Деление на ноль"},
                    // An equality inside brackets takes the bracket with it.
                    TFailCase{"(1=2", E::et_Unknown, With(UnknownError, "CalculateEquation")}),
                         hxcad::test::CaseNames());

INSTANTIATE_TEST_SUITE_P(Syntax, CalculatorFailures,
                         testing::Values(TFailCase{"(1+2", E::et_SyntaxError, With(SyntaxError, "(")},
                                         TFailCase{"1+2)", E::et_SyntaxError, With(SyntaxError, "(")},
                                         TFailCase{"(1=2)", E::et_SyntaxError, With(SyntaxError, "(")},
                                         TFailCase{"1>=", E::et_SyntaxError, With(SyntaxError, ">=")},
                                         TFailCase{"2+-3", E::et_SyntaxError, With(SyntaxError, "-")},
                                         TFailCase{"-SQRT(4)", E::et_SyntaxError, With(SyntaxError, "SQRT")},
                                         TFailCase{"a b", E::et_SyntaxError, With(SyntaxError, "b")},
                                         TFailCase{"(1)(2)", E::et_SyntaxError, With(SyntaxError, "(")},
                                         TFailCase{"RND 2", E::et_SyntaxError, With(SyntaxError, "2")},
                                         TFailCase{"1*/2", E::et_SyntaxError, With(SyntaxError, "/")},
                                         TFailCase{")", E::et_SyntaxError, With(SyntaxError, ")")},
                                         TFailCase{"1,2", E::et_SyntaxError, With(SyntaxError, ",")},
                                         TFailCase{"(2)Sin(3)", E::et_SyntaxError, With(SyntaxError, "Sin")},
                                         TFailCase{"1\t+1", E::et_SyntaxError, With(SyntaxError, "\t")},
                                         TFailCase{"1.2.3", E::et_SyntaxError, With(SyntaxError, ".")},
                                         TFailCase{"\xC0+1", E::et_SyntaxError, With(SyntaxError, "А")}),
                         hxcad::test::CaseNames());

TEST(CalculatorFailures, EmptyFormula)
{
  TCalculator c;
  TFormulaOutcome o = ParseOnly(c, "");
  EXPECT_TRUE(o.failed);
  EXPECT_EQ(o.kind, E::et_SyntaxError);
  EXPECT_EQ(o.message, SyntaxError);
  // Parse of an empty formula names what is missing.
  try {
    c.Parse();
    FAIL();
  } catch (TCalculatorException* e) {
    TFormulaOutcome p = Catch(e);
    EXPECT_EQ(p.kind, E::et_SyntaxError);
    EXPECT_EQ(p.message, With(SyntaxError, "Не указано выражение"));
  }
}

TEST(CalculatorFailures, FailedParseLeavesNoFormula)
{
  TCalculator c;
  ASSERT_EQ(Evaluate(c, "1+2").value, 3);
  EXPECT_TRUE(ParseOnly(c, "1+").failed);
  EXPECT_FALSE(c.IsValid());
  try {
    c.Calculate();
    FAIL();
  } catch (TCalculatorException* e) {
    EXPECT_EQ(Catch(e).message, With(UnknownError, "CalculateEquation"));
  }
  EXPECT_EQ(Evaluate(c, "2+2").value, 4);
}

TEST(CalculatorFailures, ExceptionMessages)
{
  const char* messages[] = {"Неизвестная ошибка", "Деление на ноль", "Несуществующая переменная",
                            "Не установленно значение для переменной", "Синтаксическая ошибка в формуле"};
  for (int k = 0; k < 5; ++k) {
    TCalculatorException plain(E::ExceptionType(k), EmptyStr);
    EXPECT_EQ(plain.ErrorMessage.Utf8Text(), messages[k]);
    TCalculatorException with(E::ExceptionType(k), TString("x"));
    EXPECT_EQ(with.ErrorMessage.Utf8Text(), std::string(messages[k]) + " 'x'");
    EXPECT_EQ(with.Type, k);
  }
  TCalculatorException outside(E::ExceptionType(7), TString("x"));
  EXPECT_EQ(outside.ErrorMessage.Utf8Text(), " 'x'");
}

// ---------------------------------------------------------------------------------------
// Variables

TEST(CalculatorVariables, MissingVariableIsZero)
{
  TCalculator c;
  EXPECT_EQ(Evaluate(c, "x+1").value, 1);
  c.SetVariable("x", 4);
  // The same parsed formula sees a variable set after parsing.
  EXPECT_EQ(c.Calculate(), 5);
  c.SetVariable("x", 5);
  EXPECT_EQ(c.Calculate(), 6);
  // Many variables added after parsing (the values move to larger storage).
  for (int i = 0; i < 100; ++i)
    c.SetVariable(TString(("v" + std::to_string(i)).c_str()), i);
  c.SetVariable("x", 7);
  EXPECT_EQ(c.Calculate(), 8);
  EXPECT_EQ(Evaluate(c, "x/v4+v99*2-v0").value, 7.0 / 4 + 198);
}

TEST(CalculatorVariables, NamesAreCaseSensitiveAndMayUseMarks)
{
  TCalculator c;
  c.SetVariable("x", 1);
  c.SetVariable("X", 10);
  c.SetVariable("$a", 100);
  c.SetVariable(":b_1", 1000);
  c.SetVariable("@c", 10000);
  c.SetVariable("_d", 100000);
  EXPECT_EQ(Evaluate(c, "x+X+$a+:b_1+@c+_d").value, 111111);
  // A function name written in another case is a variable; at the very end of the text a
  // function name is a variable too.
  c.SetVariable("sin", 2);
  c.SetVariable("Sin", 3);
  EXPECT_EQ(Evaluate(c, "sin*Sin").value, 6);
}

TEST(CalculatorVariables, VariablesSurviveFormulasAndFailures)
{
  TCalculator c;
  c.SetVariable("a", 2);
  EXPECT_TRUE(Evaluate(c, "a/0").failed);
  EXPECT_TRUE(ParseOnly(c, "a+").failed);
  c.Clear();
  EXPECT_EQ(Evaluate(c, "a*10").value, 20);
  EXPECT_EQ(c.GetVariables().Value("a"), 2);
  EXPECT_EQ(c.GetVariables().Value("b"), 0);
}

TEST(CalculatorVariables, SetVariablesList)
{
  TCalculator c;
  c.SetVariables("a,1.5, b,2,c,");
  EXPECT_EQ(c.GetVariables().Count, 2);
  EXPECT_EQ(c.GetVariables().Value("a"), 1.5);
  EXPECT_EQ(c.GetVariables().Value("b"), 2);
  EXPECT_EQ(c.GetVariables().IndexOfName("c"), -1);
  // Later pairs overwrite, a decimal comma cannot be used (the comma separates), the name keeps
  // its trailing blanks, and a name without a value ends the scan.
  c.SetVariables("a,2.25,d ,7,e");
  EXPECT_EQ(c.GetVariables().Value("a"), 2.25);
  EXPECT_EQ(c.GetVariables().Value("d "), 7);
  EXPECT_EQ(c.GetVariables().IndexOfName("d"), -1);
  EXPECT_EQ(c.GetVariables().IndexOfName("e"), -1);
  c.SetVariables(",,,");
  c.SetVariables("f, 3 ");
  EXPECT_EQ(c.GetVariables().Value("f"), 3);
  EXPECT_EQ(Evaluate(c, "a*b+f").value, 7.5);
}

// ---------------------------------------------------------------------------------------
// Size

TEST(CalculatorSize, DeepBracketsAndLongFormulas)
{
  const int n = 100000;
  std::string deep = std::string(n, '(') + "1" + std::string(n, ')');
  EXPECT_EQ(Evaluate(deep.c_str()).value, 1);
  std::string open = std::string(n, '(') + "1";
  EXPECT_EQ(Evaluate(open.c_str()).message, With(SyntaxError, "("));
  std::string sum = "1";
  for (int i = 0; i < 20000; ++i)
    sum += "+1";
  EXPECT_EQ(Evaluate(sum.c_str()).value, 20001);
  std::string nested;
  for (int i = 0; i < 20000; ++i)
    nested += "Max(1,";
  nested += "2" + std::string(20000, ')');
  EXPECT_EQ(Evaluate(nested.c_str()).value, 2);
  std::string name(100000, 'v');
  EXPECT_EQ(Evaluate((name + "+1").c_str()).value, 1);
  std::string digits(400, '9');
  EXPECT_TRUE(std::isinf(Evaluate(digits.c_str()).value));
}

} // namespace
