#pragma once
// The phrase dictionary. For now it holds the result ring of the host translation DC
// (Messager.h); the file dictionary's own fields go in front of the ring.
#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/Types.h"

class TDictionary
{
public:
  static constexpr Integer CountBufer = 64; // slots of the DC ring

  TDictionary() = default;
  TDictionary(const TDictionary&) = delete;
  TDictionary& operator=(const TDictionary&) = delete;

  TString Bufer[CountBufer]; // results of DC, reused in turn
  Integer IBufer = 0;        // next slot
};

// The one dictionary, built when the library is loaded.
extern TDictionary Dictionary;
