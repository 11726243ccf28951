// The library's entry unit. The whole catalogue is linked into the plug-in; the host's load
// entry point joins this unit with the coupling commands.
#include "Duvozadu/ControlModel.h"
#include "Duvozadu/CplgGlobal.h"
