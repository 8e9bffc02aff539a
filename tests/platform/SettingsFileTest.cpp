#include <sys/stat.h>

#include <filesystem>
#include <gtest/gtest.h>

#include "diag/Failure.h"
#include "platform/Platform.h"
#include "support/TempHome.h"

namespace veilbox {
namespace {

namespace fs = std::filesystem;
using testing::ReadText;
using testing::TempHome;
using testing::WriteText;

constexpr const char* kKey = "SOFTWARE\\TK";

TEST(SettingsFile, RoundTripsValuesInAPrivateFileWithoutTouchingOthers) {
  TempHome home;
  auto platform = CreatePlatform();
  EXPECT_EQ(platform->ReadSetting(SettingsRoot::CurrentUser, kKey, "VeilboxPassword"), std::nullopt);

  platform->WriteSetting(SettingsRoot::CurrentUser, kKey, "VeilboxFirstTime", "No");
  platform->WriteSetting(SettingsRoot::CurrentUser, kKey, "VeilboxHideFolderPath", "/a \"q\"*\\b*");
  platform->WriteSetting(SettingsRoot::CurrentUser, kKey, "VeilboxEmpty", "");
  EXPECT_EQ(platform->ReadSetting(SettingsRoot::CurrentUser, kKey, "VeilboxFirstTime"), "No");
  EXPECT_EQ(platform->ReadSetting(SettingsRoot::CurrentUser, kKey, "VeilboxHideFolderPath"),
            "/a \"q\"*\\b*");
  EXPECT_EQ(platform->ReadSetting(SettingsRoot::CurrentUser, kKey, "VeilboxEmpty"), "");
  EXPECT_EQ(platform->ReadSetting(SettingsRoot::CurrentUser, "SOFTWARE\\Other", "VeilboxFirstTime"),
            std::nullopt);

  struct stat st;
  ASSERT_EQ(::stat(home.SettingsFile().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  ASSERT_EQ(::stat(home.SettingsFile().parent_path().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  // No temporary file is left beside it.
  EXPECT_EQ(std::distance(fs::directory_iterator(home.SettingsFile().parent_path()),
                          fs::directory_iterator()),
            1);
}

TEST(SettingsFile, NonStringValuesReadAsAbsentAndSurviveWrites) {
  TempHome home;
  WriteText(home.SettingsFile(), R"({"SOFTWARE\\TK": {"VeilboxNumber": 12, "VeilboxList": [1]}})");
  auto platform = CreatePlatform();
  EXPECT_EQ(platform->ReadSetting(SettingsRoot::CurrentUser, kKey, "VeilboxNumber"), std::nullopt);
  platform->WriteSetting(SettingsRoot::CurrentUser, kKey, "VeilboxFirstTime", "No");
  EXPECT_NE(ReadText(home.SettingsFile()).find("\"VeilboxNumber\": 12"), std::string::npos);
}

TEST(SettingsFile, DamagedFileReadsEmptyAndIsKeptAsideBeforeANewOneIsWritten) {
  for (const std::string damaged : {"{not json", "[1, 2]", R"({"SOFTWARE\\TK": "text"})"}) {
    TempHome home;
    WriteText(home.SettingsFile(), damaged);
    auto platform = CreatePlatform();
    EXPECT_EQ(platform->ReadSetting(SettingsRoot::CurrentUser, kKey, "VeilboxFirstTime"),
              std::nullopt);
    EXPECT_EQ(ReadText(home.SettingsFile()), damaged) << "reading must not change the file";

    platform->WriteSetting(SettingsRoot::CurrentUser, kKey, "VeilboxFirstTime", "No");
    EXPECT_EQ(platform->ReadSetting(SettingsRoot::CurrentUser, kKey, "VeilboxFirstTime"), "No");
    int kept = 0;
    for (const auto& e : fs::directory_iterator(home.SettingsFile().parent_path())) {
      if (e.path().filename().string().starts_with("settings.json.bad-")) {
        EXPECT_EQ(ReadText(e.path()), damaged);
        ++kept;
      }
    }
    EXPECT_EQ(kept, 1) << damaged;
  }
}

TEST(SettingsFile, MachineValuesAreAbsentAndReadOnly) {
  TempHome home;
  auto platform = CreatePlatform();
  EXPECT_EQ(platform->ReadSetting(SettingsRoot::LocalMachine,
                                  "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "SystemRoot"),
            std::nullopt);
  EXPECT_THROW(platform->WriteSetting(SettingsRoot::LocalMachine, kKey, "X", "y"), Failure);
}

TEST(SettingsFile, TextThatIsNotUtf8IsRefusedAndTheFileKept) {
  TempHome home;
  auto platform = CreatePlatform();
  platform->WriteSetting(SettingsRoot::CurrentUser, kKey, "VeilboxFirstTime", "No");
  const std::string before = ReadText(home.SettingsFile());
  EXPECT_THROW(platform->WriteSetting(SettingsRoot::CurrentUser, kKey, "VeilboxHideFolderPath",
                                      "/bad\xff*"),
               Failure);
  EXPECT_EQ(ReadText(home.SettingsFile()), before);
}

}  // namespace
}  // namespace veilbox
