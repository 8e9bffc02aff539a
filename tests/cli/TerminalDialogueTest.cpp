// Without a terminal, each kind of question is answered from its flags (never its words), or No.
#include "cli/TerminalDialogue.h"

#include <gtest/gtest.h>

namespace veilbox::cli {
namespace {

TEST(TerminalDialogue, AnswersEachKindOfQuestionFromItsFlags) {
  using enum Answer;
  using enum FolderChoice;
  const FlagAnswers yes{true, false, {}, {}}, dir{false, false, "/s", {}},
      to{false, false, {}, "/r"};
  // The question, the flags, the answer, then the chooser asked next and the folder it gets.
  const std::vector<std::tuple<Question, FlagAnswers, Answer, FolderChoice, std::string>> cases{
      {ask::Agreement{}, yes, No, Folder, ""},
      {ask::SetUpStore{"/", false}, yes, Yes, StoreFolder, ""},
      {ask::SetUpStore{"/", false}, dir, Yes, StoreFolder, "/s"},
      {ask::ChooseStoreAgain{"/"}, yes, No, StoreFolder, ""},
      {ask::RestoreElsewhere{"P", "/w/", true, ""}, yes, Yes, RestorePlace, ""},
      {ask::RestoreElsewhere{"P", "/w/", true, ""}, to, Yes, RestorePlace, "/r"},
      {ask::ChooseRestoreAgain{"/", ""}, yes, No, RestorePlace, ""},
      {ask::PauseOnError{9, "Subscript out of range", 1, ""}, to, Yes, Folder, ""}};
  for (const auto& [question, flags, answer, chooser, chosen] : cases) {
    Terminal terminal;
    TerminalDialogue dialogue(terminal, flags);
    const std::string text = WordingOf(question).text;
    EXPECT_EQ(dialogue.Ask(question), answer) << text;
    EXPECT_EQ(dialogue.ChooseFolder(chooser, ""), chosen) << text;
    EXPECT_EQ(dialogue.ErrorReported(), std::holds_alternative<ask::PauseOnError>(question));
  }
}

}  // namespace
}  // namespace veilbox::cli
