#include "cli/Options.h"

#include <CLI/CLI.hpp>

#include "cli/ExitCode.h"

namespace veilbox::cli {
namespace {

// A command taking one or more folders.
CLI::App* AddFolderCommand(CLI::App& app, Options& options, const std::string& name,
                           const std::string& description) {
  CLI::App* command = app.add_subcommand(name, description);
  command->add_option("FOLDER", options.folders, "the folder's full or relative path")->required();
  return command;
}

}  // namespace

std::variant<Options, int> ParseOptions(int argc, const char* const* argv) {
  Options options;
  CLI::App app{"Hides, restores, locks and unlocks the folders of Veilbox's list.", "veilbox-cli"};
  // Options may come before or after the command.
  app.fallthrough();
  app.require_subcommand(1);

  app.add_flag("--password-stdin", options.password_stdin,
               "read the password from the first line of standard input");
  CLI::Option* encrypt =
      app.add_flag("--encrypt", options.encrypt, "with hide: encrypt file names");
  app.add_option("--store", options.store_dir,
                 "answer the store set-up question with Yes and this folder")
      ->type_name("DIR");
  app.add_option("--restore-to", options.restore_to,
                 "answer the relocation question with Yes and this folder")
      ->type_name("DIR");
  bool yes = false;
  bool no = false;
  CLI::Option* yes_flag = app.add_flag("--yes", yes, "answer Yes to every other question");
  app.add_flag("--no", no, "answer No to every other question")->excludes(yes_flag);
  CLI::Option* agreement = app.add_flag("--accept-agreement", options.accept_agreement,
                                        "with init: accept the agreement");

  CLI::App* init = app.add_subcommand("init", "first run: the agreement, then create the password");
  app.add_subcommand("list",
                     "one line per row: folder TAB folder path TAB status TAB encryption; in "
                     "names a tab, newline, carriage return and backslash are written \\t \\n "
                     "\\r \\\\ (not on Windows, whose names cannot hold them)");
  AddFolderCommand(app, options, "add", "add folders");
  AddFolderCommand(app, options, "remove", "remove folders, restoring hidden ones first");
  CLI::App* hide =
      AddFolderCommand(app, options, "hide", "hide folders (--encrypt: encrypt file names)");
  AddFolderCommand(app, options, "restore", "make hidden folders visible again");
  app.add_subcommand("lock", "lock every store folder");
  app.add_subcommand("unlock", "unlock every store folder");

  app.add_subcommand("check", "compare the list with the store folders and the folders' own places")
      ->add_flag("--repair", options.repair,
                 "adopt orphaned store sub-folders and finish half-done name changes");

  CLI::App* stores =
      app.add_subcommand("stores", "list store folders: drive key TAB path, escaped as list does");
  stores->require_subcommand(0, 1);
  stores->add_subcommand("add", "add a store folder for a drive that has none")
      ->add_option("DIR", options.dir)
      ->required();
  CLI::App* edit = stores->add_subcommand("edit", "give a drive another store folder");
  edit->add_option("DRIVE", options.drive, "the drive key as stores lists it")->required();
  edit->add_option("DIR", options.dir)->required();
  stores->add_subcommand("remove", "take a drive's store folder off the list")
      ->add_option("DRIVE", options.drive, "the drive key as stores lists it")
      ->required();

  try {
    app.parse(argc, argv);
    if (encrypt->count() > 0 && !hide->parsed()) {
      throw CLI::ValidationError("--encrypt", "only hide encrypts file names");
    }
    if (agreement->count() > 0 && !init->parsed()) {
      throw CLI::ValidationError("--accept-agreement", "only init asks the agreement");
    }
  } catch (const CLI::ParseError& e) {
    return app.exit(e) == 0 ? kAllDone : kUsage;
  }

  const CLI::App* command = app.get_subcommands().front();
  options.command = command->get_name();
  if (const auto actions = command->get_subcommands(); !actions.empty()) {
    options.stores_action = actions.front()->get_name();
  }
  if (yes || no) options.yes = yes;
  return options;
}

}  // namespace veilbox::cli
