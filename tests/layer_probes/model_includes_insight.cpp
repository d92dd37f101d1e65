// The model below code insight: the completion candidates are out of its sight.
#include "fox/model/project.h"
#ifdef VEMLO_PROBE_WRONG
#include "fox/insight/completion.h"
#endif

int ProbeModel() { return vemlo::psRead; }
