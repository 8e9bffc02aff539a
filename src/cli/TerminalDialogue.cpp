#include "cli/TerminalDialogue.h"

#include <iostream>

#include "cli/FullPath.h"
#include "cli/TerminalText.h"
#include "engine/Messages.h"

namespace veilbox::cli {
namespace {

constexpr const char* kAgreementTitle = "Agreement";
constexpr const char* kErrorTitle = "Error";  // the error reporter's question
constexpr const char* kStoreSetupTitle = "New folder";
constexpr const char* kRelocationTitle = "Restore";
constexpr const char* kChooseAgainTitle = "Folder";
constexpr const char* kChooseAgainStart = "This folder is not on ";

bool StartsWith(const std::string& text, const std::string& head) {
  return text.compare(0, head.size(), head) == 0;
}

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

Answer TerminalDialogue::Ask(const std::string& text, const std::string& title, Icon,
                             Buttons buttons) {
  progress_.Clear();
  std::cerr << ForTerminal(title + ": " + text) << '\n';
  if (buttons == Buttons::OK) return Answer::OK;
  if (title == kErrorTitle) {
    // Asks whether to report this step again: a command line keeps every
    // failure on record.
    error_reported_ = true;
    return Answer::Yes;
  }
  if (title == kAgreementTitle) {
    return Decide(answers_.accept_agreement ? std::optional<bool>(true) : std::nullopt, buttons);
  }
  if (title == kStoreSetupTitle && answers_.store_dir) {
    store_dir_due_ = true;
    return Decide(true, buttons);
  }
  if (title == kRelocationTitle && answers_.restore_to) {
    restore_to_due_ = true;
    return Decide(true, buttons);
  }
  if (title == kChooseAgainTitle && StartsWith(text, kChooseAgainStart)) {
    // The flags would give the same folder again: only a user can go on.
    return Decide(std::nullopt, buttons);
  }
  return Decide(answers_.yes, buttons);
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

std::string TerminalDialogue::ChooseFolder(const std::string& title) {
  progress_.Clear();
  if (title == msg::kChooseStoreTitle && store_dir_due_) {
    store_dir_due_ = false;
    std::cerr << ForTerminal(title + ": " + *answers_.store_dir) << '\n';
    return *answers_.store_dir;
  }
  if (title == msg::kChooseRestoreTitle && restore_to_due_) {
    restore_to_due_ = false;
    std::cerr << ForTerminal(title + ": " + *answers_.restore_to) << '\n';
    return *answers_.restore_to;
  }
  if (title != msg::kChooseStoreTitle && title != msg::kChooseRestoreTitle &&
      !next_folders_.empty()) {
    std::string folder = std::move(next_folders_.front());
    next_folders_.pop_front();
    return folder;
  }
  return FolderFromTerminal(title.empty() ? msg::kDefaultChooserTitle : title);
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
