// The user dialogue for tests: answers from a queue and records every box,
// so tests can assert texts, titles, icons and buttons exactly.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/Dialogue.h"

namespace veilbox::testing {

struct ShownBox {
  std::string text;
  std::string title;
  Icon icon;
  Buttons buttons;
};

class ScriptedDialogue : public Dialogue {
 public:
  // Queues the answer to the next question. Notices (OK only) take none.
  void Answers(std::initializer_list<Answer> answers);
  void Folders(std::initializer_list<std::string> folders);

  // Records the question's kind and its wording, then answers from the queue.
  Answer Ask(const Question& question) override;
  Answer Show(const Wording& box) override;
  // Records the chooser's title and, when it opens somewhere, where.
  std::string ChooseFolder(FolderChoice choice, const std::string& start) override;
  void ShowProgress(long value, long maximum) override;
  void OpenAddress(const std::string& address) override { opened_addresses.push_back(address); }
  void PumpEvents() override {
    if (on_show) on_show();
  }

  std::vector<ShownBox> boxes;
  std::vector<Question> questions;
  // Runs at each box, each progress report and each pause for events, while
  // the command is at work.
  std::function<void()> on_show;
  std::vector<std::string> chooser_titles;
  std::vector<std::string> chooser_starts;
  std::vector<std::pair<long, long>> progress;
  std::vector<std::string> opened_addresses;

 private:
  std::deque<Answer> answers_;
  std::deque<std::string> folders_;
};

}  // namespace veilbox::testing
