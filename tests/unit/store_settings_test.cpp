#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <random>
#include <thread>

#include "platform/errors.h"
#include "platform/fake/fake_platform.h"
#include "platform/utf8.h"
#include "store/profile.h"
#include "store/settings.h"

namespace vantrel {
namespace {

const char* kIni = "C:\\Users\\tester\\AppData\\Roaming\\Vantrel\\vantrel.ini";

// The write fails with the text the error report shows, the path and a full stop.
void ExpectUnableToWrite(SettingsFile& file, const std::string& key) {
  try {
    file.WriteValue("Files", key, "x");
    ADD_FAILURE() << "the write of " << key << " should fail";
  } catch (const VantrelError& e) {
    EXPECT_EQ(std::string(e.what()), std::string("Unable to write to ") + kIni);
    EXPECT_EQ(ErrorReportText(e.what()), std::string("Unable to write to ") + kIni + ".");
  }
}

TEST(DataFolder, CreatedOnceAndPathsFixed) {
  FakePlatform p;
  SetUpDataFolder(p);
  EXPECT_EQ(DataFolder(), "C:\\Users\\tester\\AppData\\Roaming\\Vantrel");
  EXPECT_EQ(SettingsPath(), kIni);
  EXPECT_EQ(p.GetPathKind(DataFolder()), PathKind::Directory);
  EXPECT_EQ(p.GetPathKind(SettingsPath()), PathKind::Missing);  // no file until the first write
  SetUpDataFolder(p);                                           // existing folder: nothing shown
  EXPECT_TRUE(p.boxes.empty());
}

TEST(DataFolder, PlainFileInTheWayWarnsOnceThenWritesFail) {
  FakePlatform p;
  p.WriteFile("C:\\Users\\tester\\AppData\\Roaming\\Vantrel", "not a folder");
  SetUpDataFolder(p);
  ASSERT_EQ(p.boxes.size(), 1u);
  EXPECT_EQ(p.boxes[0].kind, BoxKind::Warning);
  EXPECT_EQ(p.boxes[0].text, kFolderWarning);
  EXPECT_EQ(SettingsPath(), kIni);

  SettingsFile file(p, SettingsPath());
  EXPECT_EQ(file.ReadValue("Files", "Desc1", "No Title Entered"), "No Title Entered");
  ExpectUnableToWrite(file, "Desc1");
}

TEST(SettingsFile, WritesAreSeenAtOnceAndFileIsCreated) {
  FakePlatform p;
  SetUpDataFolder(p);
  {
    SettingsFile writer(p, SettingsPath());
    writer.WriteValue("Files", "Desc1", "Work");
    EXPECT_EQ(writer.ReadValue("Files", "desc1", ""), "Work");
    SettingsFile other(p, SettingsPath());
    EXPECT_EQ(other.ReadValue("FILES", "Desc1", ""), "Work");
  }
  EXPECT_EQ(p.ReadFile(kIni), "[Files]\r\nDesc1=Work\r\n");
  EXPECT_EQ(p.GetPathKind(std::string(kIni) + ".new"), PathKind::Missing);
}

TEST(SettingsFile, LaterWritesReachTheDiskTogetherAtRelease) {
  FakePlatform p;
  SetUpDataFolder(p);
  SettingsFile file(p, SettingsPath());
  file.WriteValue("Files", "Desc1", "one");  // the first write goes to disk at once
  EXPECT_EQ(p.ReadFile(kIni), "[Files]\r\nDesc1=one\r\n");
  file.WriteValue("Files", "Desc2", "two");
  file.WriteValue("Files", "Desc1", "uno");
  EXPECT_EQ(p.ReadFile(kIni), "[Files]\r\nDesc1=one\r\n");  // whole, as after the first
  {
    SettingsFile other(p, SettingsPath());  // yet every reader sees them at once
    EXPECT_EQ(other.ReadValue("Files", "Desc1", ""), "uno");
    EXPECT_EQ(other.ReadValue("Files", "Desc2", ""), "two");
  }
  file.Release();
  EXPECT_EQ(p.ReadFile(kIni), "[Files]\r\nDesc1=uno\r\nDesc2=two\r\n");
  EXPECT_EQ(p.writes, 2);

  // A release that cannot write reports it; the file keeps the first write.
  SettingsFile again(p, SettingsPath());
  again.WriteValue("Files", "Desc3", "three");
  again.WriteValue("Files", "Desc4", "four");
  p.SetReadOnly(kIni, true);
  EXPECT_THROW(again.Release(), VantrelError);
  EXPECT_EQ(p.ReadFile(kIni), "[Files]\r\nDesc1=uno\r\nDesc2=two\r\nDesc3=three\r\n");
  SettingsFile reader(p, SettingsPath());
  EXPECT_EQ(reader.ReadValue("Files", "Desc4", "absent"), "absent");
}

TEST(SettingsFile, FailedWriteLeavesTheFileAsItWas) {
  FakePlatform p;
  SetUpDataFolder(p);
  const std::string original = "; mine\n[Files]\nDesc1=Old\n";
  p.WriteFile(kIni, original);

  p.SetReadOnly(kIni, true);
  SettingsFile file(p, SettingsPath());
  EXPECT_EQ(file.ReadValue("Files", "Desc1", ""), "Old");  // read-only reads normally
  EXPECT_THROW(file.WriteValue("Files", "Desc1", "New"), VantrelError);
  EXPECT_EQ(p.ReadFile(kIni), original);
  EXPECT_EQ(file.ReadValue("Files", "Desc1", ""), "Old");

  p.SetReadOnly(kIni, false);
  p.diskFull = true;
  EXPECT_THROW(file.WriteValue("Files", "Desc1", "New"), VantrelError);
  EXPECT_EQ(p.ReadFile(kIni), original);
  p.diskFull = false;
  file.WriteValue("Files", "Desc1", "New");
  EXPECT_EQ(p.ReadFile(kIni), "; mine\n[Files]\nDesc1=New\n");
}

TEST(SettingsFile, BadFilesReadWithoutFailing) {
  FakePlatform p;
  SetUpDataFolder(p);
  std::mt19937 rng(7);
  std::string garbage(1 << 20, '\0');
  for (char& c : garbage) c = static_cast<char>(rng());
  p.WriteFile(kIni, garbage + "\n[Files]\nDesc1=found\n");
  SettingsFile file(p, SettingsPath());
  EXPECT_EQ(file.ReadValue("Files", "Desc1", "d"), "found");

  // A 10 MB file with megabyte lines stays whole around a write.
  const std::string bigLine(1 << 20, 'y');
  std::string big;
  for (int i = 0; i < 10; ++i) big += "; " + bigLine + "\r\n";
  p.WriteFile(kIni, big + "[Files]\r\nDesc1=a\r\n");
  SettingsFile again(p, SettingsPath());
  again.WriteValue("Files", "Desc1", "b");
  EXPECT_EQ(p.ReadFile(kIni), big + "[Files]\r\nDesc1=b\r\n");

  p.MakeDirectory(std::string(kIni) + "x");
  SettingsFile folder(p, std::string(kIni) + "x");  // a folder is no settings file
  EXPECT_EQ(folder.ReadValue("Files", "Desc1", "d"), "d");
  EXPECT_THROW(folder.WriteValue("Files", "Desc1", "v"), VantrelError);
}

// A lock that another program holds on the file, or a permission that denies
// reading it, must never make a write start from an empty file.
TEST(SettingsFile, UnreadableFileIsNeverWrittenAsEmpty) {
  FakePlatform p;
  SetUpDataFolder(p);
  const std::string original = "; mine\r\n[Files]\r\nDesc1=Old\r\n[SSaver]\r\nName=C:\\a.scr\r\n";
  p.WriteFile(kIni, original);

  // Unreadable once: the read gives its default, the write reads again.
  p.failingReads = 1;
  {
    SettingsFile file(p, SettingsPath());
    EXPECT_EQ(file.ReadValue("SSaver", "Name", "none"), "none");
    file.WriteValue("SSaver", "Name", "C:\\b.scr");
  }
  EXPECT_EQ(p.ReadFile(kIni), "; mine\r\n[Files]\r\nDesc1=Old\r\n[SSaver]\r\nName=C:\\b.scr\r\n");

  // Unreadable for good: every write fails and the file stays whole.
  const std::string kept = p.ReadFile(kIni);
  p.failingReads = -1;
  {
    SettingsFile file(p, SettingsPath());
    EXPECT_EQ(file.ReadValue("Files", "Desc1", "No Title Entered"), "No Title Entered");
    ExpectUnableToWrite(file, "Desc1");
    ExpectUnableToWrite(file, "Desc2");
  }
  EXPECT_EQ(p.ReadFile(kIni), kept);
  EXPECT_EQ(p.writes, 1);
}

// Each encoding a hand-edited file may have reads right and is written back in
// it; a legacy file that cannot hold a value becomes UTF-8 as a whole.
TEST(SettingsFile, EncodingsReadAndWrittenBack) {
  FakePlatform p;
  SetUpDataFolder(p);
  const auto text = [](const std::string& desc2, const std::string& extra) {
    return "; notes \xC3\xA0 part\r\n[Files]\r\nDesc1=caf\xC3\xA9\r\nDesc2=" + desc2 + "\r\n" +
           extra + "\r\n[Other]\r\nk=v\xC3\xA9\r\n";
  };
  const std::string thee = "th\xC3\xA9";
  const std::string privet = "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82";
  const std::string utf8 = text("x", ";"), latin1 = *p.Utf8ToLegacy(utf8);
  struct Case {
    const char* name;
    std::function<std::string(const std::string&)> encode;
    bool convertsToUtf8;
  };
  const std::vector<Case> cases = {
      {"UTF-8", [](const std::string& t) { return t; }, false},
      {"UTF-8 with BOM", [](const std::string& t) { return "\xEF\xBB\xBF" + t; }, false},
      {"UTF-16LE", [](const std::string& t) { return "\xFF\xFE" + Utf8ToUtf16Le(t); }, false},
      {"legacy", [&p](const std::string& t) { return *p.Utf8ToLegacy(t); }, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    p.WriteFile(kIni, c.encode(utf8));
    {
      SettingsFile file(p, SettingsPath());
      EXPECT_EQ(file.ReadValue("Files", "Desc1", ""), "caf\xC3\xA9");
      EXPECT_EQ(file.ReadValue("Other", "k", ""), "v\xC3\xA9");
      file.WriteValue("Files", "Desc2", thee);
    }
    EXPECT_EQ(p.ReadFile(kIni), c.encode(text(thee, ";")));
    {
      SettingsFile file(p, SettingsPath());
      file.WriteValue("Files", "Desc3", privet);
      file.WriteValue("Files", "Desc4", "four");
    }
    const std::string after = text(thee, ";").replace(text(thee, ";").find(";\r\n["), 0,
                                                      "Desc3=" + privet + "\r\nDesc4=four\r\n");
    EXPECT_EQ(p.ReadFile(kIni), c.convertsToUtf8 ? after : c.encode(after));
    SettingsFile reader(p, SettingsPath());
    EXPECT_EQ(reader.ReadValue("Files", "Desc3", ""), privet);
  }
  EXPECT_NE(latin1, utf8);  // the legacy case really was legacy bytes
}

// Kills a writer at random moments many times; the file must always be whole:
// every key present, each with a value some complete write gave it.
TEST(SettingsFile, KilledWriterNeverLeavesAHalfWrittenFile) {
  FakePlatform p;
  SetUpDataFolder(p);
  {
    SettingsFile seed(p, SettingsPath());
    for (int k = 0; k < 220; ++k) seed.WriteValue("Files", "Key" + std::to_string(k), "r0");
  }
  std::mt19937 rng(42);
  for (int round = 1; round <= 30; ++round) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int pass = 1;; ++pass) {
        SettingsFile file(p, SettingsPath());
        for (int k = 0; k < 220; ++k)
          file.WriteValue("Files", "Key" + std::to_string(k), "r" + std::to_string(pass));
      }
    }
    std::this_thread::sleep_for(std::chrono::microseconds(2000 + rng() % 20000));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    const std::string contents = p.ReadFile(kIni);
    for (int k = 0; k < 220; ++k) {
      const std::string value =
          ProfileRead(contents, "Files", "Key" + std::to_string(k), "MISSING");
      ASSERT_EQ(value.rfind('r', 0), 0u) << "round " << round << " key " << k << ": " << value;
    }
  }
}

}  // namespace
}  // namespace vantrel
