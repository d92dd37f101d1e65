// The readers below the model: the program model is out of their sight.
#include "dbf/xxdbf.h"
#ifdef VEMLO_PROBE_WRONG
#include "fox/model/program.h"
#endif

int ProbeReaders() { return vemlo::dsLoaded; }
