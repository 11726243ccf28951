#include "hxcadkit/core/Dictionary.h"

TDictionary Dictionary;
