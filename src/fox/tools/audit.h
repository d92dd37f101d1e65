// Audit defines: lines from a catalogue table of audited procedures, and calls
// for the file's own audit #DEFINEs.
#pragma once

#include <string>

namespace vemlo {

void InsertAuditDefines();
void InsertAuditCall();
bool IsAuditDefine(const std::string& line, const std::string& mask);

}  // namespace vemlo
