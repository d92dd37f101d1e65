// Terminal key input to the host's key events. The bytes a terminal sends
// (UTF-8 text, C0 controls, ESC-prefixed Alt keys, xterm CSI/SS3 sequences with
// modifiers, modifyOtherKeys `CSI 27;m;k~` and `CSI k;m u`) are decoded by
// libtermkey and turned into the events the script runner makes for the same keys;
// a bracketed paste becomes one paste event.
#pragma once

#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "host/far_api.h"

struct TermKey;

namespace vemlo::sim {

class KeyDecoder {
 public:
  // `term` names the terminfo entry for the keys that have no fixed sequence.
  explicit KeyDecoder(const std::string& term);
  ~KeyDecoder();
  KeyDecoder(const KeyDecoder&) = delete;
  KeyDecoder& operator=(const KeyDecoder&) = delete;

  // Adds bytes read from the terminal; returns the events they complete.
  std::vector<INPUT_RECORD> Feed(std::string_view bytes);
  // True while held bytes may still begin a longer sequence (a lone ESC, half
  // a CSI sequence or of a UTF-8 character): the reader waits briefly for more.
  bool Waiting() const;
  // After that wait: the held bytes as keys (a lone ESC is Esc).
  std::vector<INPUT_RECORD> Flush();
  // A bracketed paste (ESC [200~ ... ESC [201~) is one PASTE_EVENT; its text,
  // for each such event in order:
  std::u32string TakePaste();

 private:
  void Drain(std::vector<INPUT_RECORD>& out, bool force);
  void Push(std::string_view bytes, std::vector<INPUT_RECORD>& out);
  void Guard(std::string_view bytes, std::vector<INPUT_RECORD>& out);
  void EndPaste(std::vector<INPUT_RECORD>& out);
  TermKey* tk_;
  // libtermkey stalls on a CSI sequence that fills its buffer, so CSI sequences
  // are held here until their final byte, and one that grows too long is dropped.
  enum class Csi { None, Esc, Params, Skip } csi_ = Csi::None;
  std::string held_;
  bool pasting_ = false;
  std::string paste_;
  std::deque<std::u32string> pastes_;
};

// Decodes a complete input (Feed, then Flush).
std::vector<INPUT_RECORD> DecodeKeys(std::string_view bytes,
                                     const std::string& term = "xterm-256color");

}  // namespace vemlo::sim
