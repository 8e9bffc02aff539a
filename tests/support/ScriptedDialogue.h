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

  Answer Ask(const std::string& text, const std::string& title, Icon icon,
             Buttons buttons) override;
  std::string ChooseFolder(const std::string& title) override;
  // Records where the chooser opens, then answers as ChooseFolder.
  std::string ChooseFolderAt(const std::string& title, const std::string& start) override {
    chooser_starts.push_back(start);
    return ChooseFolder(title);
  }
  void ShowProgress(long value, long maximum) override;
  void OpenAddress(const std::string& address) override { opened_addresses.push_back(address); }
  void PumpEvents() override {
    if (on_show) on_show();
  }

  std::vector<ShownBox> boxes;
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
