// The user dialogue of the command line. Every message box goes to standard
// error as its title, ": " and its text. Questions are answered by their
// kind from the command-line flags, else by the user on a terminal, else
// No. Folder choosers return the folders named on the command line.
#pragma once

#include <deque>
#include <optional>
#include <string>

#include "app/Dialogue.h"
#include "cli/ProgressBar.h"
#include "cli/Terminal.h"

namespace veilbox::cli {

// The answers the flags give, folders already made full paths.
struct FlagAnswers {
  std::optional<bool> yes;                // --yes / --no: every other question
  bool accept_agreement = false;          // the first-run agreement
  std::optional<std::string> store_dir;   // the store set-up question, and its folder
  std::optional<std::string> restore_to;  // the relocation question, and its folder
};

class TerminalDialogue : public Dialogue {
 public:
  TerminalDialogue(Terminal& terminal, FlagAnswers answers);

  // Queues what a chooser without a title of its own returns next: the
  // folders being added by add or stores, in order.
  void ChooseNext(std::string folder) { next_folders_.push_back(std::move(folder)); }
  // Whether the error reporter was called: some operation failed.
  bool ErrorReported() const { return error_reported_; }

  // Shows the question and answers it by its kind: from the flags, else
  // from the user on a terminal, else No.
  Answer Ask(const Question& question) override;
  // A notice is shown; a question without a kind is answered by --yes or
  // --no, else the terminal, else No.
  Answer Show(const Wording& box) override;
  std::string ChooseFolder(FolderChoice choice, const std::string& start) override;
  void ShowProgress(long value, long maximum) override;
  // Shows the address: a command line opens no browser.
  void OpenAddress(const std::string& address) override;

 private:
  struct FlagAnswer;
  // The answer of a flag, else of the terminal user, else No.
  Answer Decide(std::optional<bool> flag, Buttons buttons);
  Answer AskTerminal(Buttons buttons);
  std::string FolderFromTerminal(const std::string& title);

  Terminal& terminal_;
  FlagAnswers answers_;
  ProgressBar progress_;
  std::deque<std::string> next_folders_;
  // Set when a flag said Yes to a question whose chooser follows, so the
  // flag's folder answers that chooser once.
  bool store_dir_due_ = false;
  bool restore_to_due_ = false;
  bool error_reported_ = false;
};

}  // namespace veilbox::cli
