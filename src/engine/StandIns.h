// Names too long for their cipher text. A file name's cipher text (two
// hexadecimal digits a byte, in 16-byte blocks, two spaces between blocks)
// passes the 255 characters a file name may have from 113 bytes of name on.
// Such a file gets a stand-in name, and a side file beside it holds the
// name's whole cipher text:
//
//   VEILBOX-LONG-NAME-<n>         the file, under its stand-in
//   VEILBOX-LONG-NAME-<n>.CIPHER  its side file: the cipher text and nothing else
//
// n is a decimal number from 1 without leading zeros, the lowest that is
// free in the folder when the names are planned: neither name is there (or,
// for check's repair, the side file holds exactly that cipher text
// already). Neither form is cipher text (they hold letters past F and "-"),
// so a stand-in is never taken for an ordinary cipher name, and no name of
// a tree being hidden can take them: every name there becomes cipher text,
// and the numbers its own files use are passed over. Both are ASCII
// capitals, digits, "-" and ".", longer than an 8.3 short name, so that they
// are the same names on Windows, whose names ignore case.
//
// The side file is on disk before its file takes the stand-in; the stand-in
// is given its name back before the side file is removed, and only when it
// holds the cipher text the plan read. The journal plans each pair, so a
// pass stopped anywhere is finished from it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "crypto/cEncrypt.h"
#include "engine/FilenamePass.h"

namespace veilbox {

// The longest file name the file systems Veilbox runs on accept: 255 bytes,
// or 255 UTF-16 units on Windows (cipher text is ASCII, so both are 255).
constexpr std::size_t kMaxNameLength = 255;

std::string StandInName(unsigned long n);
std::string SideFileName(unsigned long n);
// The number of a name of either form; nullopt for any other name.
std::optional<unsigned long> StandInNumber(std::string_view name);
std::optional<unsigned long> SideFileNumber(std::string_view name);

// Whether name is already in a form a restore gives back: cipher text, a
// stand-in or a side file.
bool InHiddenForm(cEncrypt& cipher, const std::string& key, const std::string& name);

// Why a side file's name and the cipher text it is to hold, read back from
// the journal, cannot be used, as a phrase; nullopt when they can.
std::optional<std::string> SideFileProblem(const std::string& side_name, const std::string& text);

// Whether a side file already there that holds exactly the cipher text may
// serve a new stand-in. A hide never lets it: the walk renames that file
// too, as it renames every name of the tree. Check's repair does, to finish
// a stand-in whose side file was written before a pass stopped.
enum class SideFilesThere { Taken, Served };

// Gives names their encrypted form, walk by walk: the cipher text where it
// fits, a stand-in elsewhere. The files of one folder come together, so the
// stand-in numbers are counted from 1 in each folder.
class CipherNamer {
 public:
  CipherNamer(cEncrypt& cipher, const std::string& key, SideFilesThere there)
      : cipher_(cipher), key_(key), there_(there) {}
  // Plans rename's new name (and side file); false when the name has no
  // cipher text. in is the file's folder, open.
  bool Plan(OpenFolder& in, PlannedRename& rename);

 private:
  cEncrypt& cipher_;
  const std::string& key_;
  SideFilesThere there_;
  std::string folder_;
  unsigned long next_ = 1;
};

// The plain name of a file of a tree whose names are encrypted: a cipher
// name's plain text, or the name a stand-in's side file gives. A stand-in
// whose side file is missing or damaged, and a side file without its
// stand-in, are counted in summary and set aside; path (the walked folder)
// names them.
NameFate PlanPlainName(OpenFolder& in, cEncrypt& cipher, const std::string& key,
                       const std::string& path, PlannedRename& rename, PlanSummary& summary);

// Makes a planned rename that has a side file, in its folder; with
// Resume::Yes, finishes one a stopped pass began.
MoveResult RenameWithSideFile(OpenFolder& in, const PlannedRename& rename, Resume resume);

}  // namespace veilbox
