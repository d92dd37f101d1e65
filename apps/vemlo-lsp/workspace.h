// The model behind the server's answers: the options, and one project per
// folder of the documents asked about, loaded from the settings file found
// from that folder upwards and refreshed at the position of each request.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "config/options.h"
#include "documents.h"
#include "fox/model/edited_text.h"
#include "fox/model/insight.h"
#include "fox/model/project.h"
#include "lib/xxini.h"
#include "rpc.h"

namespace vemlo::lsp {

struct ProjectState {
  TxxFoxProj Project;
  TxxIniFile Ini;
  TxxInsight Insight;
};

struct Workspace {
  TxxOptions Options = DefaultOptions();
  std::map<std::string, ProjectState> Projects;  // by the DOS folder of the documents
};

// The options: the defaults, then the options file (the registry stand-in)
// named by initializationOptions.registry, then initializationOptions.options
// (option name: string value). Unknown names are skipped.
void ReadOptions(Workspace& w, const json& initializationOptions);

// The edited text the model reads for a document, with the cursor at place.
TxxEditedText EditedText(const TextDocument& doc, const Place& cursor);

// The project of the document's folder refreshed at the place (the whole file
// with wholeFile); null for a document that is no file or lies outside any
// project (no settings file on the way up).
ProjectState* RefreshAt(Workspace& w, const TextDocument& doc, const Place& at, bool wholeFile = false);

// The lines of a program file: the open document's when the client has it
// open, else the file's own; empty when it cannot be read.
std::vector<std::string> ProgramLines(const DocumentMap& docs, const std::string& dosName);
// The native path and file: URI of a file name of the model.
std::string NativeOf(const std::string& dosName);

}  // namespace vemlo::lsp
