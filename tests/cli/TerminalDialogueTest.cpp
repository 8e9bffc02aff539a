// The command line answers each kind of question from its flags, never by
// the question's words; without a terminal, a question no flag answers is
// answered No.
#include "cli/TerminalDialogue.h"

#include <gtest/gtest.h>

namespace veilbox::cli {
namespace {

struct Case {
  Question question;
  FlagAnswers flags;
  Answer answer;
  FolderChoice chooser;  // asked next; the folder a flag gives it, if any
  std::string chosen;
};

TEST(TerminalDialogue, AnswersEachKindOfQuestionFromItsFlags) {
  const FlagAnswers yes{true, false, std::nullopt, std::nullopt};
  const FlagAnswers store{std::nullopt, false, "/s", std::nullopt};
  const FlagAnswers restore{false, false, std::nullopt, "/r"};
  const std::vector<Case> cases{
      {ask::Agreement{}, yes, Answer::No, FolderChoice::Folder, ""},
      {ask::Agreement{}, {std::nullopt, true, {}, {}}, Answer::Yes, FolderChoice::Folder, ""},
      {ask::NewerVersion{"http://x"}, yes, Answer::Yes, FolderChoice::Folder, ""},
      {ask::SetUpStore{"/", true}, store, Answer::Yes, FolderChoice::StoreFolder, "/s"},
      {ask::SetUpStore{"/", false}, yes, Answer::Yes, FolderChoice::StoreFolder, ""},
      {ask::ChooseStoreAgain{"/"}, yes, Answer::No, FolderChoice::StoreFolder, ""},
      {ask::RestoreElsewhere{"P", "/w/", true, ""}, restore, Answer::Yes,
       FolderChoice::RestorePlace, "/r"},
      {ask::RestoreElsewhere{"P", "/w/", true, ""}, yes, Answer::Yes, FolderChoice::RestorePlace,
       ""},
      {ask::ChooseRestoreAgain{"/", ""}, yes, Answer::No, FolderChoice::RestorePlace, ""},
      {ask::RestoreBeside{"P"}, yes, Answer::Yes, FolderChoice::Folder, ""},
      {ask::RemoveStoreFolder{"/s"}, restore, Answer::No, FolderChoice::Folder, ""},
      {ask::PauseOnError{9, "Subscript out of range", 1, ""}, restore, Answer::Yes,
       FolderChoice::Folder, ""},
      {ask::ConfirmPassword{"pw"}, yes, Answer::Yes, FolderChoice::Folder, ""},
      {ask::LockOnClose{}, {}, Answer::No, FolderChoice::Folder, ""}};
  for (const Case& c : cases) {
    Terminal terminal;
    TerminalDialogue dialogue(terminal, c.flags);
    const Wording wording = WordingOf(c.question);
    EXPECT_EQ(dialogue.Ask(c.question), c.answer) << wording.text;
    EXPECT_EQ(dialogue.ChooseFolder(c.chooser, ""), c.chosen) << wording.text;
    EXPECT_EQ(dialogue.ErrorReported(), std::holds_alternative<ask::PauseOnError>(c.question));
  }
}

}  // namespace
}  // namespace veilbox::cli
