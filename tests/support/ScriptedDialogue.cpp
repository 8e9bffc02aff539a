#include "support/ScriptedDialogue.h"

#include <gtest/gtest.h>

namespace veilbox::testing {

void ScriptedDialogue::Answers(std::initializer_list<Answer> answers) {
  answers_.insert(answers_.end(), answers);
}

void ScriptedDialogue::Folders(std::initializer_list<std::string> folders) {
  folders_.insert(folders_.end(), folders);
}

Answer ScriptedDialogue::Ask(const std::string& text, const std::string& title, Icon icon,
                             Buttons buttons) {
  boxes.push_back({text, title, icon, buttons});
  if (on_show) on_show();
  if (buttons == Buttons::OK) return Answer::OK;
  if (answers_.empty()) {
    ADD_FAILURE() << "unexpected question \"" << title << "\": " << text;
    return Answer::Cancel;
  }
  Answer a = answers_.front();
  answers_.pop_front();
  return a;
}

std::string ScriptedDialogue::ChooseFolder(const std::string& title) {
  chooser_titles.push_back(title);
  if (folders_.empty()) return "";
  std::string f = folders_.front();
  folders_.pop_front();
  return f;
}

void ScriptedDialogue::ShowProgress(long value, long maximum) {
  progress.emplace_back(value, maximum);
  if (on_show) on_show();
}

}  // namespace veilbox::testing
