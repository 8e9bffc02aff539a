#include "store/FolderList.h"

#include <algorithm>

#include "store/TextUtil.h"

namespace veilbox {
namespace {

// The record that text holds, when it is one: exactly five fields.
std::optional<FolderRecord> RecordOf(const std::string& text) {
  std::vector<std::string> f = SplitString(text, kFieldSeparator);
  if (f.size() != 5) return std::nullopt;
  return FolderRecord{std::move(f[0]), std::move(f[1]), std::move(f[2]), std::move(f[3]),
                      std::move(f[4])};
}

// A line end with nothing before it, as an empty list is written.
bool IsBlankLine(const FolderList::Entry& e) {
  return !e.record && e.text.empty() && !e.terminated && !e.line_end.empty();
}

FolderList::Entry EntryOf(std::string text, bool terminated, std::string line_end) {
  FolderList::Entry entry{RecordOf(text), {}, terminated, std::move(line_end)};
  if (!entry.record) entry.text = std::move(text);
  return entry;
}

}  // namespace

namespace {

// The line end ("\r\n" or "\n") that text has at at, or nothing.
std::string LineEndAt(const std::string& text, size_t at) {
  for (const char* end : {"\r\n", "\n"}) {
    if (text.compare(at, std::char_traits<char>::length(end), end) == 0) return end;
  }
  return "";
}

}  // namespace

FolderList FolderList::Parse(const std::string& text) {
  // Entries end at "*"; a line end right after one, or at the end of the
  // file, ends the line. Inside an entry a line end is part of it: names
  // may hold one.
  FolderList list;
  size_t at = 0;
  while (at < text.size()) {
    const size_t star = text.find(kRecordTerminator, at);
    if (star == std::string::npos) {
      std::string rest = text.substr(at);
      std::string line_end;
      for (const char* end : {"\r\n", "\n"}) {
        if (rest.ends_with(end)) {
          line_end = end;
          rest.resize(rest.size() - line_end.size());
          break;
        }
      }
      list.entries_.push_back(EntryOf(std::move(rest), false, std::move(line_end)));
      break;
    }
    Entry entry = EntryOf(text.substr(at, star - at), true, LineEndAt(text, star + 1));
    at = star + 1 + entry.line_end.size();
    list.entries_.push_back(std::move(entry));
  }
  // The last entry (not a blank line) is written terminated, so that a
  // record added after it can never run into it.
  if (!list.entries_.empty()) {
    Entry& last = list.entries_.back();
    if (last.record || !last.text.empty() || last.line_end.empty()) last.terminated = true;
  }
  list.Index();
  return list;
}

std::string FolderList::Text() const {
  std::string text;
  for (const Entry& e : entries_) {
    if (e.record) {
      const std::string record = e.record->Text();
      text.append(record, 0, record.size() - 1);  // without its own terminator
    } else {
      text += e.text;
    }
    if (e.terminated) text += kRecordTerminator;
    text += e.line_end;
  }
  if (entries_.empty() || entries_.back().line_end.empty()) text += "\r\n";
  return text;
}

std::vector<FolderRecord> FolderList::Records() const {
  std::vector<FolderRecord> records;
  records.reserve(rows_.size());
  for (const size_t entry : rows_) records.push_back(*entries_[entry].record);
  return records;
}

void FolderList::Replace(size_t row, FolderRecord record) {
  entries_[rows_[row]].record = std::move(record);
}

void FolderList::Add(FolderRecord record) {
  // A record added goes before the line end that closes the file.
  // A blank line there (the whole of a list whose last row was removed) is
  // replaced, not made an empty entry before the record.
  std::string line_end;
  if (!entries_.empty()) {
    Entry& last = entries_.back();
    std::swap(line_end, last.line_end);
    if (!last.record && last.text.empty() && !last.terminated) {
      entries_.pop_back();
    } else {
      last.terminated = true;
    }
  }
  entries_.push_back({std::move(record), {}, true, std::move(line_end)});
  rows_.push_back(entries_.size() - 1);
}

void FolderList::Erase(size_t row) {
  const size_t entry = rows_[row];
  // The line end it carried stays, with the entry before it.
  if (entry > 0 && entries_[entry - 1].line_end.empty()) {
    entries_[entry - 1].line_end = std::move(entries_[entry].line_end);
  }
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(entry));
  Index();
}

std::vector<std::pair<size_t, std::string>> FolderList::Unreadable() const {
  std::vector<std::pair<size_t, std::string>> unreadable;
  for (size_t i = 0; i < entries_.size(); ++i) {
    const Entry& e = entries_[i];
    if (!e.record && !IsBlankLine(e)) {
      unreadable.emplace_back(i + 1, e.text);
    }
  }
  return unreadable;
}

std::unordered_map<std::string, std::vector<size_t>> FolderList::RowsByRecord() const {
  std::unordered_map<std::string, std::vector<size_t>> rows;
  for (size_t r = 0; r < Size(); ++r) rows[(*this)[r].Text()].push_back(r);
  return rows;
}

std::vector<RowRef> FolderList::RefsOf(const std::vector<size_t>& rows) const {
  const auto by_record = RowsByRecord();
  std::vector<RowRef> refs;
  for (const size_t row : rows) {
    if (row >= Size()) {  // no row of this list: finds nothing
      refs.push_back({{}, rows_.size()});
      continue;
    }
    const std::vector<size_t>& twins = by_record.at((*this)[row].Text());
    const auto twin = std::find(twins.begin(), twins.end(), row) - twins.begin();
    refs.push_back({(*this)[row], static_cast<size_t>(twin)});
  }
  return refs;
}

std::vector<std::optional<size_t>> FolderList::Find(const std::vector<RowRef>& refs) const {
  const auto by_record = RowsByRecord();
  std::vector<std::optional<size_t>> found;
  for (const RowRef& ref : refs) {
    const auto twins = by_record.find(ref.record.Text());
    if (twins == by_record.end() || ref.twin >= twins->second.size()) {
      found.emplace_back();
    } else {
      found.emplace_back(twins->second[ref.twin]);
    }
  }
  return found;
}

void FolderList::Index() {
  rows_.clear();
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].record) rows_.push_back(i);
  }
}

}  // namespace veilbox
