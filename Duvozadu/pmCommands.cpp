#include "Duvozadu/pmCommands.h"

TArrayOf<TString> LTViews{TString("Разрез "), TString("Вид ")};
TArrayOf<TString> LTHalf{TString("Цилиндрическое длинное"), TString("Цилиндрическое короткое"),
                         TString("Коническое длинное"), TString("Коническое короткое")};
