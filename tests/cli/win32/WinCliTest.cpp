// veilbox-cli.exe under Wine, beside the test program: drive C:, Windows passwords, manifests.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>

#include "cli/RunCli.h"
#include "platform/win32/LongPath.h"
#include "platform/win32/WideText.h"
#include "platform/win32/WinPlatform.h"
#include "support/TempHome.h"

namespace veilbox::testing {
namespace fs = std::filesystem;

static fs::path Beside(const wchar_t* name) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  return fs::path(self).parent_path() / name;
}

CliRun RunCli(const std::vector<std::string>& args, const std::string& input,
              const fs::path& scratch, const fs::path& working_folder) {
  // Files of their own for each run: Wine may keep the last run's open.
  static int runs = 0;
  const std::string n = std::to_string(++runs);
  const fs::path files[] = {scratch / ("stdin" + n), scratch / ("stdout" + n),
                            scratch / ("stderr" + n)};
  WriteText(files[0], input);
  const fs::path program = Beside(L"veilbox-cli.exe");
  // Each word quoted, doubling the backslashes before the closing quote.
  std::wstring line = L"\"" + program.wstring() + L"\"";
  for (const std::string& arg : args) {
    const std::wstring word = win32::Widen(arg);
    line += L" \"" + word + std::wstring(word.size() - (word.find_last_not_of(L'\\') + 1), L'\\') +
            L"\"";
  }
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  HANDLE* const streams[] = {&startup.hStdInput, &startup.hStdOutput, &startup.hStdError};
  for (int i = 0; i < 3; ++i) {
    *streams[i] = CreateFileW(files[i].c_str(), i ? GENERIC_WRITE : GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inherit,
                              i ? CREATE_ALWAYS : OPEN_EXISTING, 0, nullptr);
  }
  PROCESS_INFORMATION process{};
  const BOOL started =
      CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                     nullptr, working_folder.c_str(), &startup, &process);
  for (HANDLE* stream : streams) CloseHandle(*stream);
  if (!started) throw std::runtime_error("cannot start " + program.string());
  DWORD code = static_cast<DWORD>(-1);
  if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0)
    GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return {static_cast<int>(code), ReadText(files[1]), ReadText(files[2])};
}

namespace {

class WinCliTest : public ::testing::Test {
 protected:
  CliRun Run(std::vector<std::string> args, const std::string& input = "pw\n") {
    return RunCli(args, input, scratch_, work_);
  }
  CliRun Do(std::vector<std::string> args) {
    args.insert(args.begin(), "--password-stdin");
    return Run(args);
  }
  // Through the platform: the C++ library's streams take an ANSI file name here.
  void Write(const std::string& path, const std::string& text) {
    win_.CreateFolders(path.substr(0, path.rfind('\\')));
    win_.WriteFileAtomic(path, text);
  }
  // file for every file below folder; remove deletes the folders (too deep for TempHome).
  void Walk(const std::string& folder, const std::function<void(const std::string&)>& file,
            bool remove = false) {
    if (!win_.FolderExists(folder)) return;
    for (const DirEntry& e : win_.ListDirectory(folder)) {
      const std::string path = folder + "\\" + e.name;
      e.kind == EntryKind::Directory ? Walk(path, file, remove) : file(path);
    }
    if (remove) RemoveDirectoryW(win32::SystemPath(win32::Widen(folder)).c_str());
  }

  TempHome home_;
  WinPlatform win_;
  fs::path scratch_ = home_.MakeFolder("scratch");
  fs::path work_ = home_.MakeFolder("work");
  const std::string parent = work_.string() + "\\", tree = parent + "Café\\",
                    hidden = (home_.ProgramFolder() / "Data").string() + "\\Café";
};

// A store path past 1,000 characters; names too long for their cipher text: 113 and 255
// characters, 127 "é" (Wine's most in a Linux name). Passwords: no console, a CR, a NUL.
TEST_F(WinCliTest, HidesAndRestoresWithEncryptedNamesOnDriveCWhateverThePathsLength) {
  ASSERT_EQ(parent.substr(0, 3), "C:\\");
  const std::vector<std::string> init{"init", "--accept-agreement", "--password-stdin"};
  EXPECT_EQ(Run(init, std::string("p\0w\n", 4)).code, 3);
  ASSERT_EQ(Run(init).code, 0);
  EXPECT_EQ(Run({"list"}).code, 3) << "no console to ask on";
  std::map<std::string, std::string> files{{"notes.txt", "plain"}, {"sub\\é.txt", "deep"}};
  std::string deep, e127;  // nine folders of 101 characters
  for (char depth = '0'; depth < '9'; ++depth) deep += std::string(100, 'p') + depth + "\\";
  files[deep + std::string(100, 'f')] = std::string("far\0\xff", 5);
  const auto remove = [&](const std::string& file) { win_.RemoveFile(file); };
  const std::shared_ptr<void> clean_up(nullptr, [&](void*) {
    for (const std::string& folder : {tree, hidden}) Walk(folder, remove, true);
  });
  for (const auto& [path, content] : files) Write(tree + path, content);
  for (int i = 0; i < 127; ++i) e127 += "é";
  for (const std::string& name : {std::string(113, 'n'), std::string(255, 'n'), "sub\\" + e127}) {
    Write(tree + "sub\\short", name);
    ASSERT_TRUE(win_.Rename(tree + "sub\\short", tree + name));
    files[name] = name;
  }
  ASSERT_EQ(Do({"add", "Café\\"}).code, 0);
  ASSERT_EQ(Do({"hide", "--encrypt", "Café"}).code, 0);
  EXPECT_FALSE(win_.FolderExists(parent + "Café"));
  size_t count = 0, longest = 0;
  Walk(hidden, [&](const std::string& path) {
    const std::string name = path.substr(path.rfind('\\') + 1);
    EXPECT_TRUE(name.find_first_not_of("0123456789ABCDEF ") == std::string::npos ||
                name.starts_with("VEILBOX-LONG-NAME-"))
        << name;
    ++count;
    longest = std::max(longest, path.size());
  });
  EXPECT_EQ(count, files.size() + 3) << "three stand-ins, each with its side file";
  EXPECT_GT(longest, 1000u);

  ASSERT_EQ(Do({"restore", parent + "Café"}).code, 0);
  for (const auto& [path, content] : files) EXPECT_EQ(win_.ReadFile(tree + path), content) << path;
  size_t back = 0;
  Walk(tree, [&](const std::string&) { ++back; });
  EXPECT_EQ(back, files.size()) << "no side file left";
  EXPECT_EQ(Run({"list", "--password-stdin"}, "pw\r\n").out,
            "Café\t" + parent + "\tVisible\tNormal\r\n");
}

TEST(Manifests, BothProgramsAreLongPathAware) {
  for (const wchar_t* program : {L"veilbox-cli.exe", L"veilbox.exe"}) {
    const fs::path file = Beside(program);
    HMODULE image = LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
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

}  // namespace
}  // namespace veilbox::testing
