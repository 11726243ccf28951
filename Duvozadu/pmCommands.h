#pragma once
// The library's coupling commands: the 3D command places a coupling into the active assembly,
// the 2D command draws it as a block into the active drawing or fragment.
#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/TArray.h"

// The drawing kinds of the 2D command (section, view) and the bore types of a half-coupling.
extern TArrayOf<TString> LTViews;
extern TArrayOf<TString> LTHalf;

// Each runs its command in the active document and returns when the command has ended.
bool pmCouplingBlock3D();
bool PmCouplingBlock2D();
