#include "support/ScriptedDialogue.h"

#include <gtest/gtest.h>

namespace veilbox::testing {

void ScriptedDialogue::Answers(std::initializer_list<Answer> answers) {
  answers_.insert(answers_.end(), answers);
}

void ScriptedDialogue::Folders(std::initializer_list<std::string> folders) {
  folders_.insert(folders_.end(), folders);
}

Answer ScriptedDialogue::Ask(const Question& question) {
  questions.push_back(question);
  return Show(WordingOf(question));
}

Answer ScriptedDialogue::Show(const Wording& box) {
  boxes.push_back({box.text, box.title, box.icon, box.buttons});
  if (on_show) on_show();
  if (box.buttons == Buttons::OK) return Answer::OK;
  if (answers_.empty()) {
    ADD_FAILURE() << "unexpected question \"" << box.title << "\": " << box.text;
    return Answer::Cancel;
  }
  Answer a = answers_.front();
  answers_.pop_front();
  return a;
}

std::string ScriptedDialogue::ChooseFolder(FolderChoice choice, const std::string& start) {
  chooser_titles.push_back(TitleOf(choice));
  if (!start.empty()) chooser_starts.push_back(start);
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
