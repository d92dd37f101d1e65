// The features below the shell: its entry points are out of their sight.
#include "host/xxfar.h"
#ifdef VEMLO_PROBE_WRONG
#include "shell/vemlo.h"
#endif

int ProbeFeatures() { return vemlo::KEY_EVENT; }
