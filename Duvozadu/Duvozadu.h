#pragma once
// The library's callbacks. The host reaches them through the function objects that the load entry
// point (LoadTavrixLibrary, txapi/LibraryEntry.h) registers.
#include <string>

#include "txapi/Enums.h"

// Starts command comm in the active document: the 3D coupling command in an assembly, the 2D one in
// a drawing or fragment; returns when the command has ended.
void RunCommand(unsigned int comm, txapi::txRunCommandModeEnum mode);
// Every command is enabled: enable becomes true, the result 1; checked and reasonStr stay.
int LibCommandState(int commmandId, bool& enable, int& checked, std::wstring& reasonStr);
unsigned int LIBRARYID();
bool EnableCommand(unsigned int comm);
