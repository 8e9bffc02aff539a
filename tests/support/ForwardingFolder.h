// An open folder that hands every call to another one, for tests that
// change one thing about a real folder (what a move sets off, which drive a
// sub-folder is on), and a tree with a drive mounted in it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace veilbox::testing {

class ForwardingFolder : public OpenFolder {
 public:
  explicit ForwardingFolder(std::unique_ptr<OpenFolder> inner) : inner_(std::move(inner)) {}
  EntryId Id() const override { return inner_->Id(); }
  std::uint64_t FileSystem() const override { return inner_->FileSystem(); }
  bool OthersMayChange() const override { return inner_->OthersMayChange(); }
  std::vector<DirEntry> List(Where where) override { return inner_->List(where); }
  void ForEachEntry(const std::function<void(const DirEntry&)>& visit, Where where) override {
    inner_->ForEachEntry(visit, where);
  }
  std::unique_ptr<OpenFolder> OpenChild(const std::string& name, Where where) override {
    return inner_->OpenChild(name, where);
  }
  bool IsChildFolder(const std::string& name) override { return inner_->IsChildFolder(name); }
  std::optional<EntryId> ChildId(const std::string& name, Where where) override {
    return inner_->ChildId(name, where);
  }
  MoveResult RenameChild(const std::string& from, const std::string& to) override {
    return inner_->RenameChild(from, to);
  }
  FolderTime ModifiedTime(Where where) override { return inner_->ModifiedTime(where); }
  void SetModifiedTime(const FolderTime& time, Where where) override {
    inner_->SetModifiedTime(time, where);
  }
  // The platform moves only between its own folders: a wrapped target is unwrapped.
  MoveResult MoveChild(const std::string& name, OpenFolder& target,
                       const std::string& new_name) override {
    return inner_->MoveChild(name, Unwrapped(target), new_name);
  }
  static OpenFolder& Unwrapped(OpenFolder& folder) {
    auto* wrapper = dynamic_cast<ForwardingFolder*>(&folder);
    return wrapper ? Unwrapped(*wrapper->inner_) : folder;
  }
  MoveResult WriteNewFile(const std::string& name, const std::string& bytes) override {
    return inner_->WriteNewFile(name, bytes);
  }
  std::optional<std::string> ReadChildFile(const std::string& name, std::size_t limit,
                                           Where where) override {
    return inner_->ReadChildFile(name, limit, where);
  }
  MoveResult RemoveChildFile(const std::string& name) override {
    return inner_->RemoveChildFile(name);
  }

 protected:
  std::unique_ptr<OpenFolder> inner_;
};

// A tree in which every sub-folder named "mounted" lies on another drive.
class WithMounts : public ForwardingFolder {
 public:
  using ForwardingFolder::ForwardingFolder;
  std::uint64_t FileSystem() const override { return mounted_ ? 7 : inner_->FileSystem(); }
  std::unique_ptr<OpenFolder> OpenChild(const std::string& name, Where where) override {
    auto child = std::make_unique<WithMounts>(inner_->OpenChild(name, where));
    child->mounted_ = mounted_ || name == "mounted";
    return child;
  }

 private:
  bool mounted_ = false;
};

}  // namespace veilbox::testing
