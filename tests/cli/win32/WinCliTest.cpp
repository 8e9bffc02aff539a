// veilbox-cli.exe under Windows (Wine): hide and restore with encrypted
// names, the store folder on drive C:, the list in Dat.sys in the ANSI code
// page and the settings in the test's own registry key. Wine keeps no access
// list as it was set, so whether the store folder was really locked cannot be
// seen here.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <map>
#include <memory>

#include "cli/RunCli.h"
#include "platform/win32/LongPath.h"
#include "platform/win32/WideText.h"
#include "platform/win32/WinPlatform.h"
#include "support/TempHome.h"

namespace veilbox::testing {
namespace {

namespace fs = std::filesystem;

class WinCliTest : public ::testing::Test {
 protected:
  CliRun Run(std::vector<std::string> args, const std::string& input = "") {
    return RunCli(args, input, scratch_, work_);
  }
  CliRun Do(std::vector<std::string> args) {
    args.insert(args.begin(), "--password-stdin");
    return Run(args, "pw\n");
  }
  std::string Setting(const std::string& name) {
    return WinPlatform().ReadSetting(SettingsRoot::CurrentUser, "SOFTWARE\\TK", name).value_or("");
  }
  static fs::path U8(const std::string& text) {
    return fs::path(std::u8string(text.begin(), text.end()));
  }
  // Files named in UTF-8, through the platform: the C++ library's streams
  // take a name in the ANSI code page here.
  void Write(const std::string& relative, const std::string& text) {
    win_.CreateFolders(work_.string() + "\\" + relative.substr(0, relative.rfind('\\')));
    win_.WriteFileAtomic(work_.string() + "\\" + relative, text);
  }
  std::string Read(const std::string& relative) {
    return win_.ReadFile(work_.string() + "\\" + relative);
  }
  // Removes a tree deeper than the temporary home's clean-up reaches.
  void RemoveTree(const std::string& folder) {
    if (!win_.FolderExists(folder)) return;
    for (const DirEntry& e : win_.ListDirectory(folder)) {
      const std::string path = folder + "\\" + e.name;
      e.kind == EntryKind::Directory ? RemoveTree(path) : win_.RemoveFile(path);
    }
    RemoveDirectoryW(win32::SystemPath(win32::Widen(folder)).c_str());
  }

  TempHome home_;
  WinPlatform win_;
  fs::path scratch_ = home_.MakeFolder("scratch");
  fs::path work_ = home_.MakeFolder("work");
  fs::path store_ = home_.ProgramFolder() / "Data";
};

TEST_F(WinCliTest, HidesAndRestoresWithEncryptedNamesOnDriveC) {
  ASSERT_EQ(work_.string().substr(0, 3), "C:\\");
  ASSERT_EQ(Run({"init", "--accept-agreement", "--password-stdin"}, "pw\n").code, 0);
  EXPECT_EQ(Setting("VeilboxFirstTime"), "No");
  EXPECT_EQ(Setting("VeilboxHideFolderPath"), store_.string() + "*");
  EXPECT_TRUE(Setting("VeilboxPassword").starts_with("pbkdf2-sha256$600000$"));

  Write("Café\\notes.txt", "plain");
  Write("Café\\sub\\é.txt", "deep");
  CliRun r = Do({"add", "Café\\"});
  ASSERT_EQ(r.code, 0) << r.err;
  const std::string parent = work_.string() + "\\";
  EXPECT_EQ(Do({"list"}).out, "Café\t" + parent + "\tVisible\tNormal\r\n");
  if (GetACP() == 1252) {
    EXPECT_NE(ReadText(home_.ProgramFolder() / "Dat.sys").find("Caf\xE9<"), std::string::npos);
  }

  r = Do({"hide", "--encrypt", "Café"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_FALSE(fs::exists(work_ / U8("Café")));
  std::vector<std::string> names;
  for (const auto& e : fs::recursive_directory_iterator(store_ / U8("Café"))) {
    if (!e.is_directory()) names.push_back(e.path().filename().string());
  }
  ASSERT_EQ(names.size(), 2u);
  for (const std::string& n : names) {
    EXPECT_EQ(n.find_first_not_of("0123456789ABCDEF"), std::string::npos) << n;
  }
  EXPECT_EQ(Do({"list"}).out, "Café\t" + parent + "\tHidden\tEncrypted\r\n");

  r = Do({"restore", work_.string() + "\\Café"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(Read("Café\\notes.txt"), "plain");
  EXPECT_EQ(Read("Café\\sub\\é.txt"), "deep");
  EXPECT_FALSE(fs::exists(store_ / U8("Café")));
  EXPECT_EQ(Do({"list"}).out, "Café\t" + parent + "\tVisible\tNormal\r\n");
}

TEST_F(WinCliTest, TreesWhoseEncryptedPathsPass260And1000CharactersComeBackWhole) {
  ASSERT_EQ(Run({"init", "--accept-agreement", "--password-stdin"}, "pw\n").code, 0);
  const std::shared_ptr<void> clean_up(nullptr, [&](void*) {
    RemoveTree(work_.string() + "\\Deep");
    RemoveTree(store_.string() + "\\Deep");
  });
  std::map<std::string, std::string> files;  // relative path below Deep → content
  std::string folder;
  for (int depth = 0; depth < 9; ++depth) {
    folder += std::string(100, 'p') + std::to_string(depth) + "\\";
    files[folder + std::string(100, 'f')] =
        "file " + std::to_string(depth) + std::string("\0\xff", 2);
  }
  for (const auto& [path, content] : files) Write("Deep\\" + path, content);
  ASSERT_EQ(Do({"add", "Deep\\"}).code, 0);
  CliRun r = Do({"hide", "--encrypt", "Deep"});
  ASSERT_EQ(r.code, 0) << r.err;

  std::vector<size_t> lengths;  // of each file's path in the store
  std::string in_store = store_.string() + "\\Deep\\";
  for (int depth = 0; depth < 9; ++depth) {
    in_store += std::string(100, 'p') + std::to_string(depth) + "\\";
    for (const DirEntry& e : win_.ListDirectory(in_store)) {
      if (e.kind == EntryKind::File) lengths.push_back(in_store.size() + e.name.size());
    }
  }
  ASSERT_EQ(lengths.size(), files.size()) << "every file renamed where it lies";
  EXPECT_GT(*std::min_element(lengths.begin(), lengths.end()), 260u);
  EXPECT_GT(*std::max_element(lengths.begin(), lengths.end()), 1000u);

  r = Do({"restore", work_.string() + "\\Deep"});
  ASSERT_EQ(r.code, 0) << r.err;
  for (const auto& [path, content] : files) EXPECT_EQ(Read("Deep\\" + path), content);
}

// Both programs tell Windows that they take paths longer than 260 characters.
TEST(Manifests, BothProgramsAreLongPathAware) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  for (const wchar_t* program : {L"veilbox-cli.exe", L"veilbox.exe"}) {
    const fs::path file = fs::path(self).parent_path() / program;
    HMODULE image = LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(image, nullptr) << file;
    HRSRC found = FindResourceA(image, MAKEINTRESOURCEA(1), RT_MANIFEST);
    ASSERT_NE(found, nullptr) << file;
    const std::string manifest(static_cast<const char*>(LockResource(LoadResource(image, found))),
                               SizeofResource(image, found));
    EXPECT_NE(manifest.find("<longPathAware xmlns=\"http://schemas.microsoft.com/SMI/2016/"
                            "WindowsSettings\">true</longPathAware>"),
              std::string::npos)
        << file;
    FreeLibrary(image);
  }
}

TEST_F(WinCliTest, WrongUsageAndWrongPasswordsAreRefused) {
  EXPECT_EQ(Run({"frobnicate"}).code, 2);
  EXPECT_EQ(Run({"init", "--accept-agreement", "--password-stdin"}, std::string("p\0w\n", 4)).code,
            3);
  ASSERT_EQ(Run({"init", "--accept-agreement", "--password-stdin"}, "pw\n").code, 0);
  EXPECT_EQ(Run({"list", "--password-stdin"}, "other\n").code, 3);
  EXPECT_EQ(Run({"list"}).code, 3) << "no console to ask on";
  EXPECT_EQ(Run({"list", "--password-stdin"}, "pw\r\n").code, 0);
}

}  // namespace
}  // namespace veilbox::testing
