// A library without the load entry point, for the host's refusal of it.

#include "txapi/LibraryEntry.h"

extern "C" TXAPI_EXPORT int NotTheEntryPoint()
{
  return 0;
}
