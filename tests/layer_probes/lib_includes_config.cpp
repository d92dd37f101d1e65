// The library below the configuration: the option table is out of its sight.
#include "lib/xxlib.h"
#ifdef VEMLO_PROBE_WRONG
#include "config/options.h"
#endif

int ProbeLib() { return vemlo::Max(1, 2); }
