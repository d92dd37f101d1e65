// The one plug-in context, built on first use.
#include "host/context.h"

namespace vemlo {

namespace {
std::unique_ptr<TxxPluginContext> g_context;
}

TxxPluginContext& Ctx() {
  if (!g_context) g_context = std::make_unique<TxxPluginContext>();
  return *g_context;
}

void ResetContext() { g_context.reset(); }

}  // namespace vemlo
