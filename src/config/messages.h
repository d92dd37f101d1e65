// The message numbers of the plug-in's language file, by name.
#pragma once

namespace vemlo {

enum class MsgId : int {
#define VEMLO_MESSAGE(name, number, english) name = number,
#include "config/message_list.inc"
#undef VEMLO_MESSAGE
};

// One more than the highest message number: the language files hold this many.
inline constexpr int kMessageCount = 123;

}  // namespace vemlo
