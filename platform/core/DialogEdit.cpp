// Single-line edit fields: UTF-8 text that is inserted, deleted and walked a whole character at a time,
// a byte limit that never splits a character, and a view that scrolls to keep the caret in sight.
#include "platform/core/DialogState.h"

namespace {

bool isContinuation(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

int textWidth(const DialogState& d, const std::string& text) { return measureText(text, controlStyle(d)).x; }

size_t limitOf(const Control& edit) { return static_cast<size_t>(std::max(0, edit.item.maxBytes)); }

// Typed text without control characters (a field is one line; Tab and Enter are the dialog's keys).
std::string printable(const std::string& utf8) {
  std::string kept;
  for (char c : utf8)
    if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) kept += c;
  return kept;
}

}  // namespace

size_t nextCharacter(const std::string& text, size_t at) {
  if (at >= text.size()) return text.size();
  auto lead = static_cast<unsigned char>(text[at]);
  size_t length = lead >= 0xF0 && lead < 0xF8 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  size_t next = at + 1;
  while (next < text.size() && next - at < length && isContinuation(text[next])) ++next;
  return next;
}

size_t previousCharacter(const std::string& text, size_t at) {
  at = std::min(at, text.size());
  if (at == 0) return 0;
  size_t previous = at - 1;
  while (previous > 0 && at - previous < 4 && isContinuation(text[previous])) --previous;
  // A stray continuation byte is a character of its own, as nextCharacter walks it.
  return nextCharacter(text, previous) == at ? previous : at - 1;
}

size_t fittingBytes(const std::string& text, size_t limit) {
  if (limit == 0 || text.size() <= limit) return text.size();
  size_t end = 0;
  for (size_t next = nextCharacter(text, 0); next <= limit && end < text.size(); next = nextCharacter(text, next))
    end = next;
  return end;
}

void setEditText(DialogState& d, Control& edit, const std::string& utf8) {
  edit.text = utf8.substr(0, fittingBytes(utf8, limitOf(edit)));
  edit.caret = edit.text.size();
  edit.scroll = 0;
  keepCaretVisible(d, edit);
}

void typeIntoEdit(DialogState& d, Control& edit, const std::string& utf8) {
  std::string typed = printable(utf8);
  if (size_t limit = limitOf(edit)) {
    size_t room = edit.text.size() < limit ? limit - edit.text.size() : 0;
    typed.resize(room == 0 ? 0 : fittingBytes(typed, room));
  }
  edit.text.insert(edit.caret, typed);
  edit.caret += typed.size();
  keepCaretVisible(d, edit);
}

bool editKey(DialogState& d, Control& edit, int key) {
  std::string& text = edit.text;
  size_t& caret = edit.caret;
  switch (key) {
    case VK_BACK:
      if (caret == 0) return false;
      {
        size_t from = previousCharacter(text, caret);
        text.erase(from, caret - from);
        caret = from;
      }
      break;
    case VK_DELETE:
      if (caret >= text.size()) return false;
      text.erase(caret, nextCharacter(text, caret) - caret);
      break;
    case VK_LEFT: caret = previousCharacter(text, caret); break;
    case VK_RIGHT: caret = nextCharacter(text, caret); break;
    case VK_HOME: caret = 0; break;
    case VK_END: caret = text.size(); break;
    default: return false;
  }
  keepCaretVisible(d, edit);
  return true;
}

void placeCaretAt(DialogState& d, Control& edit, int x) {
  int wanted = x - editTextArea(edit.item.rect).left - 1 + edit.scroll;
  size_t best = 0;
  int bestDistance = std::abs(wanted);
  for (size_t at = 0; at < edit.text.size();) {
    at = nextCharacter(edit.text, at);
    int distance = std::abs(textWidth(d, edit.text.substr(0, at)) - wanted);
    if (distance < bestDistance) {
      best = at;
      bestDistance = distance;
    }
  }
  edit.caret = best;
  keepCaretVisible(d, edit);
}

void keepCaretVisible(const DialogState& d, Control& edit) {
  int view = std::max(1, editTextArea(edit.item.rect).width() - 2);
  edit.caret = std::min(edit.caret, edit.text.size());
  std::string before = edit.text.substr(0, edit.caret);
  // The composition shows at the caret, so the caret stands after it.
  bool composing = d.focused >= 0 && &d.controls[static_cast<size_t>(d.focused)] == &edit;
  if (composing) before += d.composition;
  int caretX = textWidth(d, before);
  int total = textWidth(d, before + edit.text.substr(edit.caret));
  if (total - edit.scroll < view) edit.scroll = std::max(0, total - view);  // no empty space after the text
  if (caretX > edit.scroll + view) edit.scroll = caretX - view;
  if (caretX < edit.scroll) edit.scroll = std::max(0, caretX - view / 4);  // some text to the left stays in sight
}
