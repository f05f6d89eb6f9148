#include "simcad/commands/command_input.h"

#include "simcad/commands/lisp_reader.h"

namespace simcad {

namespace {

bool EndsInput(char16_t c) { return c == u'\r' || c == u'\n' || c == u' '; }

// The text as one history line: line ends shown as the CAD's text window
// would not show them, so that the line stays one line.
Text Echo(TextView text) {
  while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n')) text.remove_suffix(1);
  Text out;
  for (char16_t c : text) {
    if (c == u'\r') out += u"\\r";
    else if (c == u'\n') out += u"\\n";
    else out.push_back(c);
  }
  return out;
}

}  // namespace

void CommandInput::Send(TextView text) {
  if (text.size() > kMaxText) {
    services_.history.Add(u"*Input too long: ignored*");
    return;
  }
  if (!text.empty() && text.front() == u'(')
    SendLisp(text);
  else
    SendTyped(text);
}

void CommandInput::SendLisp(TextView text) {
  services_.history.Add(u"Command: " + Echo(text));
  lisp::ReadResult read = lisp::ReadForms(text);
  if (!read.Ok()) {
    services_.history.Add(read.error);
    return;
  }
  try {
    lisp::Value last;
    for (const auto& form : read.forms) last = evaluator_.Evaluate(form);
    if (!lisp::IsSilent(last)) services_.history.Add(lisp::Print(last));
  } catch (const lisp::LispError& error) {
    services_.history.Add(error.Message());
    line_.Cancel();
  }
}

void CommandInput::SendTyped(TextView text) {
  std::size_t i = 0;
  while (i < text.size()) {
    Text answer;
    if (text[i] == u'"') {  // a quoted answer keeps its blanks
      const std::size_t close = text.find(u'"', i + 1);
      const std::size_t stop = text.find_first_of(u"\r\n", i + 1);
      if (close != TextView::npos && (stop == TextView::npos || close < stop)) {
        answer = Text(text.substr(i + 1, close - i - 1));
        i = close + 1;
      }
    }
    while (i < text.size() && !EndsInput(text[i])) answer.push_back(text[i++]);
    if (i >= text.size()) {
      if (!answer.empty()) services_.history.Add(u"(typed, not entered: " + answer + u")");
      return;
    }
    ++i;  // the Enter (or blank) that ends this answer
    line_.Enter(answer);
  }
}

}  // namespace simcad
