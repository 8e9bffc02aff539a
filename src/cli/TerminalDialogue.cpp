#include "cli/TerminalDialogue.h"

#include <iostream>

#include "cli/FullPath.h"
#include "cli/TerminalText.h"

namespace veilbox::cli {
namespace {

const char* NameOf(Answer answer) {
  switch (answer) {
    case Answer::OK:
      return "OK";
    case Answer::Cancel:
      return "Cancel";
    case Answer::Yes:
      return "Yes";
    case Answer::No:
      break;
  }
  return "No";
}

}  // namespace

TerminalDialogue::TerminalDialogue(Terminal& terminal, FlagAnswers answers)
    : terminal_(terminal), answers_(std::move(answers)), progress_(std::cerr) {}

Answer TerminalDialogue::Show(const Wording& box) {
  progress_.Clear();
  std::cerr << ForTerminal(box.title + ": " + box.text) << '\n';
  return box.buttons == Buttons::OK ? Answer::OK : Decide(answers_.yes, box.buttons);
}

// The flags' answer to each kind of question: nullopt where only a user
// can answer.
struct TerminalDialogue::FlagAnswer {
  TerminalDialogue& d;
  std::optional<bool> operator()(const ask::Agreement&) const {
    return d.answers_.accept_agreement ? std::optional<bool>(true) : std::nullopt;
  }
  std::optional<bool> operator()(const ask::SetUpStore&) const {
    d.store_dir_due_ = d.answers_.store_dir.has_value();
    return d.store_dir_due_ ? std::optional<bool>(true) : d.answers_.yes;
  }
  std::optional<bool> operator()(const ask::RestoreElsewhere&) const {
    d.restore_to_due_ = d.answers_.restore_to.has_value();
    return d.restore_to_due_ ? std::optional<bool>(true) : d.answers_.yes;
  }
  // The flags would give the same folder again: only a user can go on.
  std::optional<bool> operator()(const ask::ChooseStoreAgain&) const { return std::nullopt; }
  std::optional<bool> operator()(const ask::ChooseRestoreAgain&) const { return std::nullopt; }
  std::optional<bool> operator()(const auto&) const { return d.answers_.yes; }
};

Answer TerminalDialogue::Ask(const Question& question) {
  const Wording box = WordingOf(question);
  progress_.Clear();
  std::cerr << ForTerminal(box.title + ": " + box.text) << '\n';
  if (std::holds_alternative<ask::PauseOnError>(question)) {
    // Whether to report this step again: a command line keeps every failure
    // on record.
    error_reported_ = true;
    return Answer::Yes;
  }
  return Decide(std::visit(FlagAnswer{*this}, question), box.buttons);
}

Answer TerminalDialogue::Decide(std::optional<bool> flag, Buttons buttons) {
  const bool ok_cancel = buttons == Buttons::OKCancel;
  if (!flag && terminal_.Interactive()) return AskTerminal(buttons);
  const Answer answer = flag.value_or(false) ? (ok_cancel ? Answer::OK : Answer::Yes)
                                             : (ok_cancel ? Answer::Cancel : Answer::No);
  std::cerr << "-> " << NameOf(answer) << '\n';
  return answer;
}

Answer TerminalDialogue::AskTerminal(Buttons buttons) {
  const bool ok_cancel = buttons == Buttons::OKCancel;
  const bool has_cancel = buttons != Buttons::YesNo;
  const std::string prompt = ok_cancel    ? "[o]k/[c]ancel? "
                             : has_cancel ? "[y]es/[n]o/[c]ancel? "
                                          : "[y]es/[n]o? ";
  for (;;) {
    const std::optional<std::string> line = terminal_.ReadLine(prompt);
    if (!line) return has_cancel ? Answer::Cancel : Answer::No;
    if (ok_cancel && (*line == "o" || *line == "ok")) return Answer::OK;
    if (!ok_cancel && (*line == "y" || *line == "yes")) return Answer::Yes;
    if (!ok_cancel && (*line == "n" || *line == "no")) return Answer::No;
    if (has_cancel && (*line == "c" || *line == "cancel")) return Answer::Cancel;
  }
}

std::string TerminalDialogue::ChooseFolder(FolderChoice choice, const std::string&) {
  progress_.Clear();
  const std::string title = TitleOf(choice);
  if (choice == FolderChoice::StoreFolder && store_dir_due_) {
    store_dir_due_ = false;
    std::cerr << ForTerminal(title + ": " + *answers_.store_dir) << '\n';
    return *answers_.store_dir;
  }
  if (choice == FolderChoice::RestorePlace && restore_to_due_) {
    restore_to_due_ = false;
    std::cerr << ForTerminal(title + ": " + *answers_.restore_to) << '\n';
    return *answers_.restore_to;
  }
  if (choice == FolderChoice::Folder && !next_folders_.empty()) {
    std::string folder = std::move(next_folders_.front());
    next_folders_.pop_front();
    return folder;
  }
  return FolderFromTerminal(title);
}

std::string TerminalDialogue::FolderFromTerminal(const std::string& title) {
  const std::optional<std::string> typed =
      terminal_.ReadLine(title + " (a folder; nothing to cancel): ");
  return typed ? FullPath(*typed) : "";
}

void TerminalDialogue::ShowProgress(long value, long maximum) {
  if (terminal_.Interactive()) progress_.Show(value, maximum);
}

void TerminalDialogue::OpenAddress(const std::string& address) {
  progress_.Clear();
  std::cerr << "Open in a browser: " << ForTerminal(address) << '\n';
}

}  // namespace veilbox::cli
