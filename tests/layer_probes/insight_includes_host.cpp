// Code insight links without the host interface.
#include "fox/insight/completion.h"
#ifdef VEMLO_PROBE_WRONG
#include "host/far_api.h"
#endif

int ProbeInsight() { return vemlo::skProc; }
