// Conversions between the plug-in's native records and the host's real ones.
#pragma once

#include "far_abi.h"
#include "host/far_api.h"

namespace vemlo::win {

void ToReal(const FarMenuItem& in, abi::FarMenuItem& out);
void ToReal(const FarDialogItem& in, abi::FarDialogItem& out);
void FromReal(const abi::FarDialogItem& in, FarDialogItem& out);
void FromReal(const abi::EditorInfo& in, EditorInfo& out);
void FromReal(const abi::EditorGetString& in, EditorGetString& out);
void ToReal(const EditorSetString& in, abi::EditorSetString& out);
void ToReal(const EditorSetPosition& in, abi::EditorSetPosition& out);
void ToReal(const EditorConvertPos& in, abi::EditorConvertPos& out);
void FromReal(const abi::EditorConvertPos& in, EditorConvertPos& out);
void ToReal(const KeyBarTitles& in, abi::KeyBarTitles& out);
void ToReal(const INPUT_RECORD& in, abi::INPUT_RECORD& out);
void FromReal(const abi::INPUT_RECORD& in, INPUT_RECORD& out);
void FromReal(const abi::SMALL_RECT& in, SMALL_RECT& out);
void FromReal(const abi::PluginPanelItem& in, PluginPanelItem& out);
// The panel record without its items (their array is converted by the caller).
void FromReal(const abi::PanelInfo& in, PanelInfo& out);
void ToReal(const PluginInfo& in, abi::PluginInfo& out);

}  // namespace vemlo::win
