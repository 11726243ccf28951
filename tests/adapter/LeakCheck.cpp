// Every test of this executable ends with no host object still referenced.

#include "txhost/lib/LeakCheck.h"

namespace {
[[maybe_unused]] const bool Installed = txhost::InstallLeakCheck();
}
