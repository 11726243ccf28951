#include "Duvozadu/pmCommands.h"

bool PmCouplingBlock2D()
{
  return false;
}
