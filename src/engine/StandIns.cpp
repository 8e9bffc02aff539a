#include "engine/StandIns.h"

#include <cstdint>
#include <vector>

#include "crypto/Hex.h"
#include "diag/Failure.h"
#include "platform/PathSeparator.h"
#include "store/Names.h"
#include "store/TextUtil.h"

namespace veilbox {
namespace {

constexpr std::string_view kStandIn = "VEILBOX-LONG-NAME-";
constexpr std::string_view kSide = ".CIPHER";
// More than the cipher text of any name: 255 bytes make 16 blocks, and a
// name of 255 UTF-16 units is at most 510 bytes in a Windows code page.
constexpr std::size_t kMaxSideFile = 4096;
constexpr std::size_t kMaxDigits = 9;

std::optional<unsigned long> NumberOf(std::string_view digits) {
  if (digits.empty() || digits.size() > kMaxDigits || digits.front() == '0') return std::nullopt;
  unsigned long n = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + static_cast<unsigned long>(c - '0');
  }
  return n;
}

// Whether the side file name may be given text: it is not there, or it
// holds exactly that text already and may serve.
bool SideFileFree(OpenFolder& in, const std::string& name, const std::string& text,
                  SideFilesThere policy) {
  if (policy == SideFilesThere::Taken) return !in.ChildId(name);
  try {
    const std::optional<std::string> there = in.ReadChildFile(name, text.size());
    return !there || *there == text;
  } catch (const Failure&) {
    return false;  // a folder, a link, something unreadable: taken
  }
}

// What a side file says: the plain name and the cipher text, or why it
// cannot be used.
struct SideReading {
  std::optional<std::string> plain;
  std::string text;
  std::string problem;
};

SideReading ReadSideFile(OpenFolder& in, const std::string& name, cEncrypt& cipher,
                         const std::string& key) {
  SideReading side;
  std::optional<std::string> text;
  try {
    text = in.ReadChildFile(name, kMaxSideFile);
  } catch (const Failure& f) {
    side.problem = f.Description();
    return side;
  }
  if (!text) {
    side.problem = "its side file " + name + " is missing";
    return side;
  }
  if (text->size() <= kMaxSideFile) side.plain = cipher.DecryptFileName(*text, key);
  if (!side.plain) {
    side.problem = "its side file " + name + " does not hold the cipher text of a name";
  } else if (auto problem = NameProblem(*side.plain)) {
    side.problem = "its side file " + name + " gives a name that " + *problem;
    side.plain.reset();
  }
  side.text = std::move(*text);
  return side;
}

}  // namespace

std::string StandInName(unsigned long n) {
  return std::string(kStandIn) + std::to_string(n);
}

std::string SideFileName(unsigned long n) {
  return StandInName(n) + std::string(kSide);
}

std::optional<unsigned long> StandInNumber(std::string_view name) {
  if (!name.starts_with(kStandIn)) return std::nullopt;
  return NumberOf(name.substr(kStandIn.size()));
}

std::optional<unsigned long> SideFileNumber(std::string_view name) {
  if (!name.ends_with(kSide)) return std::nullopt;
  return StandInNumber(name.substr(0, name.size() - kSide.size()));
}

bool InHiddenForm(cEncrypt& cipher, const std::string& key, const std::string& name) {
  return StandInNumber(name) || SideFileNumber(name) || cipher.DecryptFileName(name, key);
}

std::optional<std::string> SideFileProblem(const std::string& side_name, const std::string& text) {
  if (!SideFileNumber(side_name)) return "is not the name of a side file";
  std::vector<std::uint8_t> bytes;
  if (!ReadBlockHex(text, bytes)) return "is not cipher text";
  return std::nullopt;
}

bool CipherNamer::Plan(OpenFolder& in, PlannedRename& rename) {
  std::string text = cipher_.Encrypt(rename.name, key_);
  if (text.empty()) return false;
  if (text.size() <= kMaxNameLength) {
    rename.new_name = std::move(text);
    return true;
  }
  if (rename.folder != folder_) {
    folder_ = rename.folder;
    next_ = 1;
  }
  while (in.ChildId(StandInName(next_)) || !SideFileFree(in, SideFileName(next_), text, there_)) {
    ++next_;
  }
  rename.new_name = StandInName(next_);
  rename.side = SideFile::WriteFirst;
  rename.side_name = SideFileName(next_++);
  rename.side_text = std::move(text);
  return true;
}

NameFate PlanPlainName(OpenFolder& in, cEncrypt& cipher, const std::string& key,
                       const std::string& path, PlannedRename& rename, PlanSummary& summary) {
  if (std::optional<std::string> plain = cipher.DecryptFileName(rename.name, key)) {
    rename.new_name = std::move(*plain);
    return NameFate::Rename;
  }
  if (const std::optional<unsigned long> n = StandInNumber(rename.name)) {
    SideReading side = ReadSideFile(in, SideFileName(*n), cipher, key);
    if (!side.plain) {
      if (summary.stand_ins_kept++ == 0) {
        const std::string below =
            rename.folder.empty() ? rename.name : rename.folder + kPathSeparator + rename.name;
        summary.first_kept = JoinPath(path, below, kPathSeparator) + ": " + side.problem;
      }
      return NameFate::Aside;
    }
    rename.new_name = std::move(*side.plain);
    rename.side = SideFile::RemoveAfter;
    rename.side_name = SideFileName(*n);
    rename.side_text = std::move(side.text);
    return NameFate::Rename;
  }
  if (const std::optional<unsigned long> n = SideFileNumber(rename.name)) {
    if (in.ChildId(StandInName(*n))) return NameFate::Aside;
    ++summary.lone_side_files;
    // A side file whose file has its name back beside it was left by a
    // pass stopped before it removed it: nothing is lost with it.
    SideReading side = ReadSideFile(in, rename.name, cipher, key);
    if (side.plain && in.ChildId(*side.plain)) {
      summary.leftovers.push_back({rename.folder, StandInName(*n), *side.plain,
                                   SideFile::RemoveAfter, rename.name, side.text});
    }
    return NameFate::Aside;
  }
  return NameFate::Keep;
}

MoveResult RenameWithSideFile(OpenFolder& in, const PlannedRename& r, Resume resume) {
  const bool renamed_before = !in.ChildId(r.name);
  const bool taken = in.ChildId(r.new_name).has_value();
  if (r.side == SideFile::WriteFirst) {
    // As for any rename: a file already renamed, or whose new name is
    // taken, is left as it is when a stopped pass is finished.
    if (resume == Resume::Yes && (renamed_before || taken)) return {true, ""};
    const std::optional<std::string> there = in.ReadChildFile(r.side_name, r.side_text.size());
    bool written = false;
    if (there && *there != r.side_text) {
      // A side file cut short by a stop while it was written is written
      // again; anything else there is not Veilbox's to replace.
      if (resume == Resume::No || !r.side_text.starts_with(*there)) {
        return {false, r.side_name + " already exists"};
      }
      if (MoveResult removed = in.RemoveChildFile(r.side_name); !removed) return removed;
    }
    if (!there || *there != r.side_text) {
      if (MoveResult side = in.WriteNewFile(r.side_name, r.side_text); !side) return side;
      written = true;
    }
    MoveResult moved = in.RenameChild(r.name, r.new_name);
    if (!moved && written) in.RemoveChildFile(r.side_name);
    return moved;
  }
  if (!renamed_before) {
    if (resume == Resume::Yes && taken) return {true, ""};
    if (MoveResult moved = in.RenameChild(r.name, r.new_name); !moved) return moved;
  } else if (resume == Resume::No) {
    return in.RenameChild(r.name, r.new_name);  // fails: the stand-in is gone
  } else if (!taken) {
    return {true, ""};  // the file is gone: left as it is
  }
  // The name is back: the side file goes, when it is still the one planned.
  try {
    if (in.ReadChildFile(r.side_name, r.side_text.size()) == r.side_text) {
      in.RemoveChildFile(r.side_name);
    }
  } catch (const Failure&) {
    // It stays, and check reports it.
  }
  return {true, ""};
}

}  // namespace veilbox
