// Options are named by their ids: a misspelt one is no option.
#include "config/options.h"

vemlo::OptionId ProbeOption() {
#ifdef VEMLO_PROBE_WRONG
  return vemlo::OptionId::KeyPrevew;
#else
  return vemlo::OptionId::KeyPreview;
#endif
}
