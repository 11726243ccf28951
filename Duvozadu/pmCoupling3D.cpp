#include "Duvozadu/pmCommands.h"

bool pmCouplingBlock3D()
{
  return false;
}
