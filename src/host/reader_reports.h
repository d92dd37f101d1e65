// The readers as the commands use them: what a reader could not do is told to
// the user with the reader's message, and an open size question is asked.
#pragma once

#include <string>

#include "dbf/read_status.h"
#include "dbf/xxdbf.h"

namespace vemlo {

// Tells a problem as a warning box (title, message, file name) with the help
// topic given; for an open size question asks Abort, Retry or Ignore (Retry
// asks again) and reads the table on after Ignore, failing it after Abort.
void TellReadProblem(const TxxReadProblem& problem, const char* helpTopic);
void TellReadProblems(const TxxReadProblems& problems, const char* helpTopic);

// ReadDBF with its problems told (help topic "ProblemReadDBF").
void LoadDBF(TxxDBF& table, bool headerOnly, const std::string& name);
// These two work as on a copy of the handle: a table that is not loaded is
// loaded for the call only (its problems told), and the caller's handle stays
// as it was.
int DBFFieldIndex(const TxxDBF& table, const std::string& name);
std::string DBFValue(const TxxDBF& table, int field, int record, bool pad);
// The column of a data-dictionary table that the settings file names in
// section under key, by value as DBFFieldIndex; -1 when it names none.
int Column(const TxxDBF& table, const char* section, const char* key);

}  // namespace vemlo
