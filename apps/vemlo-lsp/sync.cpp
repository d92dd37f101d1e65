// Document synchronisation: the client's open, change and close notifications.
#include "features.h"
#include "params.h"
#include "session.h"
#include "uri.h"

namespace vemlo::lsp {

const TextDocument* FindDocument(const Session& s, const json& params) {
  const auto it = s.Documents.find(DocumentUri(params));
  return it == s.Documents.end() ? nullptr : &it->second;
}

void DidOpen(Session& s, const json& params) {
  const json& item = Member(params, "textDocument");
  TextDocument doc;
  doc.Uri = StringMember(item, "uri");
  doc.Path = PathOfUri(doc.Uri).value_or("");
  doc.Version = IntegerMember(item, "version");
  doc.Codec = s.Codec;
  SetText(doc, StringMember(item, "text"));
  TextDocument& stored = s.Documents[doc.Uri] = std::move(doc);
  PublishDiagnostics(s, stored);
}

void DidChange(Session& s, const json& params) {
  const json& id = Member(params, "textDocument");
  const auto it = s.Documents.find(StringMember(id, "uri"));
  if (it == s.Documents.end()) throw ParamsError{"a change of a document that is not open"};
  const json& changes = Member(params, "contentChanges");
  if (!changes.is_array()) throw ParamsError{"\"contentChanges\" must be an array"};
  // Check every change before applying one, so a bad one leaves the text as it was.
  struct Change {
    bool Whole = true;
    Position Start, End;
    std::string Text;
  };
  std::vector<Change> list;
  for (const json& c : changes) {
    Change ch;
    ch.Text = StringMember(c, "text");
    if (const json* range = OptionalMember(c, "range")) {
      ch.Whole = false;
      ch.Start = PositionMember(*range, "start");
      ch.End = PositionMember(*range, "end");
    }
    list.push_back(std::move(ch));
  }
  TextDocument& doc = it->second;
  for (const Change& ch : list) {
    if (ch.Whole) SetText(doc, ch.Text);
    else ApplyEdit(doc, ch.Start, ch.End, ch.Text);
  }
  if (const json* v = OptionalMember(id, "version"); v && v->is_number_integer()) doc.Version = v->get<int64_t>();
  PublishDiagnostics(s, doc);
}

void DidClose(Session& s, const json& params) { s.Documents.erase(DocumentUri(params)); }

}  // namespace vemlo::lsp
