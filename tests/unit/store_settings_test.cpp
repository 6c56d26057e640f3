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
#include "profile_text.h"
#include "store/profile.h"
#include "store/settings.h"

namespace vantrel {
namespace {

const char* kIni = "C:\\Users\\tester\\AppData\\Roaming\\Vantrel\\vantrel.ini";

// No test of any part drops a handle's writes without an error on its way.
class NoWritesDropped : public ::testing::Environment {
  void TearDown() override {
    EXPECT_EQ(SettingsFile::TakeDroppedWrites(), 0) << "a SettingsFile with writes never released";
  }
};
const auto* const kNoWritesDropped = ::testing::AddGlobalTestEnvironment(new NoWritesDropped);

// The save fails with the text the error report shows, the path and a full stop.
void ExpectUnableToWrite(SettingsFile& file, const std::string& key) {
  try {
    file.WriteValue("Files", key, "x");
    file.Release();
    ADD_FAILURE() << "the save of " << key << " should fail";
  } catch (const VantrelError& e) {
    EXPECT_EQ(std::string(e.what()), std::string("Unable to write to ") + kIni);
    EXPECT_EQ(ErrorReportText(e.what()), std::string("Unable to write to ") + kIni + ".");
  }
}

TEST(DataFolder, CreatedOnceAndPathsFixed) {
  FakePlatform p;
  SetUpDataFolder(p, p);
  EXPECT_EQ(DataFolder(), "C:\\Users\\tester\\AppData\\Roaming\\Vantrel");
  EXPECT_EQ(SettingsPath(), kIni);
  EXPECT_EQ(p.GetPathKind(DataFolder()), PathKind::Directory);
  EXPECT_EQ(p.GetPathKind(SettingsPath()), PathKind::Missing);  // no file until the first write
  SetUpDataFolder(p, p);                                        // existing folder: nothing shown
  EXPECT_TRUE(p.boxes.empty());
}

TEST(DataFolder, PlainFileInTheWayWarnsOnceThenWritesFail) {
  FakePlatform p;
  p.WriteFile("C:\\Users\\tester\\AppData\\Roaming\\Vantrel", "not a folder");
  SetUpDataFolder(p, p);
  ASSERT_EQ(p.boxes.size(), 1u);
  EXPECT_EQ(p.boxes[0].kind, BoxKind::Warning);
  EXPECT_EQ(p.boxes[0].text, kFolderWarning);
  EXPECT_EQ(SettingsPath(), kIni);

  SettingsFile file(p, p.clock, SettingsPath());
  EXPECT_EQ(file.ReadValue("Files", "Desc1", "No Title Entered"), "No Title Entered");
  ExpectUnableToWrite(file, "Desc1");
}

// What the fake's folder holds beside the settings file.
std::vector<std::string> Beside(FakePlatform& p) { return p.FindFiles(SettingsPath() + ".*"); }

// A save is one replace at its end: its handle reads its own writes at once,
// nobody else sees any of them before, and a save dropped half-way writes none;
// one dropped with no error on its way is counted, as no caller may forget one.
TEST(SettingsFile, ASaveReachesTheDiskWholeAtReleaseOrNotAtAll) {
  FakePlatform p;
  SetUpDataFolder(p, p);
  try {
    SettingsFile dropped(p, p.clock, SettingsPath());
    dropped.WriteValue("Files", "Desc1", "never");
    throw VantrelError("stopped half-way");
  } catch (const VantrelError&) {
  }
  EXPECT_EQ(SettingsFile::TakeDroppedWrites(), 0);
  { SettingsFile(p, p.clock, SettingsPath()).WriteValue("Files", "Desc1", "forgotten"); }
  EXPECT_EQ(SettingsFile::TakeDroppedWrites(), 1);
  EXPECT_EQ(p.GetPathKind(kIni), PathKind::Missing);

  SettingsFile file(p, p.clock, SettingsPath());
  file.WriteValue("Files", "Desc1", "one");
  file.WriteValue("Files", "Desc2", "two");
  file.WriteValue("Files", "Desc1", "uno");
  EXPECT_EQ(file.ReadValue("files", "DESC1", ""), "uno");
  EXPECT_EQ(SettingsFile(p, p.clock, SettingsPath()).ReadValue("Files", "Desc2", "none"), "none");
  EXPECT_EQ(p.GetPathKind(kIni), PathKind::Missing);
  file.Release();
  EXPECT_EQ(p.ReadFile(kIni), "[Files]\r\nDesc1=uno\r\nDesc2=two\r\n");
  EXPECT_EQ(p.writes, 1);
  EXPECT_EQ(Beside(p), std::vector<std::string>{});
  EXPECT_EQ(SettingsFile(p, p.clock, SettingsPath()).ReadValue("Files", "Desc2", ""), "two");
}

// Every answer a step of the replace can give ends with the old file or the
// new one at the path, and nothing left beside it.
TEST(SettingsFile, EachAnswerOfTheReplaceKeepsOneWholeFile) {
  const std::string old = "; mine\r\n[Files]\r\nDesc1=old\r\n";
  const std::string fresh = "; mine\r\n[Files]\r\nDesc1=new\r\n";
  struct Case {
    const char* name;
    std::deque<FileStep> create, identity, rename;
    bool saved;
    int waitedMs;
  };
  const std::deque<FileStep> heldForGood(60, FileStep::Locked);
  const std::vector<Case> cases = {
      {"names taken", {FileStep::Exists, FileStep::Locked}, {}, {}, true, 0},
      {"disk full while writing", {FileStep::Failed}, {}, {}, false, 0},
      {"identity refused", {}, {FileStep::Failed}, {}, false, 0},
      {"held for a moment", {}, {}, {FileStep::Locked, FileStep::Locked}, true, 40},
      {"held past the wait", {}, {}, heldForGood, false, 1000},
      {"rename refused", {}, {}, {FileStep::Failed}, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakePlatform p;
    SetUpDataFolder(p, p);
    p.WriteFile(kIni, old);
    p.createAnswers = c.create;
    p.identityAnswers = c.identity;
    p.renameAnswers = c.rename;
    SettingsFile file(p, p.clock, SettingsPath());
    file.WriteValue("Files", "Desc1", "new");
    if (c.saved) {
      file.Release();
    } else {
      EXPECT_THROW(file.Release(), VantrelError);
    }
    EXPECT_EQ(p.ReadFile(kIni), c.saved ? fresh : old);
    EXPECT_EQ(Beside(p), std::vector<std::string>{});
    EXPECT_EQ(p.waitedMs, c.waitedMs);
    if (c.saved) {
      ASSERT_EQ(p.identities.size(), 1u);  // carried from the file onto its successor
      EXPECT_EQ(p.identities[0].rfind(std::string(kIni) + " -> " + kIni + ".4242-", 0), 0u);
    }
  }
}

// A save reads the file as it is at that moment, under the lock every running
// copy takes, so what another copy saved meanwhile stays.
TEST(SettingsFile, ASaveKeepsWhatOthersSavedAndWaitsForTheirLock) {
  FakePlatform p;
  SetUpDataFolder(p, p);
  p.WriteFile(kIni, "[Files]\r\nDesc1=a\r\nDesc2=b\r\n");
  SettingsFile file(p, p.clock, SettingsPath());
  EXPECT_EQ(file.ReadValue("Files", "Desc2", ""), "b");
  file.WriteValue("Files", "Desc1", "mine");
  file.AddValue("Files", "Desc2", "only where missing");
  file.AddValue("Files", "Desc3", "added");
  p.WriteFile(kIni, "[Files]\r\nDesc1=a\r\nDesc2=theirs\r\n");  // another copy's save
  file.Release();
  EXPECT_EQ(p.ReadFile(kIni), "[Files]\r\nDesc1=mine\r\nDesc2=theirs\r\nDesc3=added\r\n");

  // A copy that never lets go of the lock: the save fails and changes nothing.
  const std::string kept = p.ReadFile(kIni);
  p.lockHeldElsewhere = true;
  ExpectUnableToWrite(file, "Desc1");
  EXPECT_EQ(p.ReadFile(kIni), kept);
}

TEST(SettingsFile, BadFilesReadWithoutFailing) {
  FakePlatform p;
  SetUpDataFolder(p, p);
  std::mt19937 rng(7);
  std::string garbage(1 << 20, '\0');
  for (char& c : garbage) c = static_cast<char>(rng());
  p.WriteFile(kIni, garbage + "\n[Files]\nDesc1=found\n");
  SettingsFile file(p, p.clock, SettingsPath());
  EXPECT_EQ(file.ReadValue("Files", "Desc1", "d"), "found");

  // A 10 MB file with megabyte lines stays whole around a write.
  const std::string bigLine(1 << 20, 'y');
  std::string big;
  for (int i = 0; i < 10; ++i) big += "; " + bigLine + "\r\n";
  p.WriteFile(kIni, big + "[Files]\r\nDesc1=a\r\n");
  SettingsFile again(p, p.clock, SettingsPath());
  again.WriteValue("Files", "Desc1", "b");
  again.Release();
  EXPECT_EQ(p.ReadFile(kIni), big + "[Files]\r\nDesc1=b\r\n");

  p.MakeDirectory(std::string(kIni) + "x");
  SettingsFile folder(p, p.clock, std::string(kIni) + "x");  // a folder is no settings file
  EXPECT_THROW(folder.ReadValue("Files", "Desc1", "d"), SettingsBusyError);
  folder.WriteValue("Files", "Desc1", "v");
  EXPECT_THROW(folder.Release(), VantrelError);
  EXPECT_EQ(p.GetPathKind(std::string(kIni) + "x"), PathKind::Directory);
}

// A lock that another program holds on the file, or a permission that denies
// reading it, must never make a write start from an empty file.
TEST(SettingsFile, UnreadableFileIsNeverWrittenAsEmpty) {
  FakePlatform p;
  SetUpDataFolder(p, p);
  const std::string original = "; mine\r\n[Files]\r\nDesc1=Old\r\n[SSaver]\r\nName=C:\\a.scr\r\n";
  p.WriteFile(kIni, original);

  // Unreadable once: the read has no value to give, the write reads again.
  p.readAnswer = FileAnswer::Other;
  p.readAnswers = 1;
  {
    SettingsFile file(p, p.clock, SettingsPath());
    EXPECT_THROW(file.ReadValue("SSaver", "Name", "none"), SettingsBusyError);
    file.WriteValue("SSaver", "Name", "C:\\b.scr");
    file.Release();
  }
  EXPECT_EQ(p.ReadFile(kIni), "; mine\r\n[Files]\r\nDesc1=Old\r\n[SSaver]\r\nName=C:\\b.scr\r\n");

  // Unreadable for good: reads give what the save left, every write fails and
  // the file stays whole.
  const std::string kept = p.ReadFile(kIni);
  p.readAnswers = -1;
  {
    SettingsFile file(p, p.clock, SettingsPath());
    EXPECT_EQ(file.ReadValue("Files", "Desc1", "No Title Entered"), "Old");
    ExpectUnableToWrite(file, "Desc1");
    ExpectUnableToWrite(file, "Desc2");
  }
  EXPECT_EQ(p.ReadFile(kIni), kept);
  EXPECT_EQ(p.writes, 1);
}

// Only the system's "not found" makes a file missing. Every other answer ends
// with the old file and the message; reads then give the last complete read,
// and where there is none they say the file is busy.
TEST(SettingsFile, EachAnswerOfTheReadEndsWithTheOldFileOrTheMessage) {
  const std::string old = "; mine\r\n[Files]\r\nDesc1=Home\r\nSet111=C:\\a.exe\r\n[Own]\r\nk=v\r\n";
  struct Case {
    FileAnswer answer;
    int waitedMs;  // a hold is waited out for a second, by the first read and by the save
  };
  for (const Case& c : {Case{FileAnswer::AccessDenied, 2000}, Case{FileAnswer::Held, 2000},
                        Case{FileAnswer::NetworkGone, 0}, Case{FileAnswer::Folder, 0},
                        Case{FileAnswer::Other, 0}}) {
    SCOPED_TRACE(static_cast<int>(c.answer));
    FakePlatform p;
    SetUpDataFolder(p, p);
    p.WriteFile(kIni, old);
    p.readAnswer = c.answer;
    p.readAnswers = -1;
    EXPECT_THROW(SettingsFile(p, p.clock, SettingsPath()).ReadValue("Files", "Desc1", "d"),
                 SettingsBusyError);
    SettingsFile save(p, p.clock, SettingsPath());
    ExpectUnableToWrite(save, "Desc2");
    EXPECT_EQ(p.ReadFile(kIni), old);
    EXPECT_EQ(p.waitedMs, c.waitedMs);

    p.readAnswers = 0;
    EXPECT_EQ(SettingsFile(p, p.clock, SettingsPath()).ReadValue("Files", "Desc1", ""), "Home");
    p.WriteFile(kIni, old + ";");  // changed since, and unreadable again
    p.readAnswers = -1;
    SettingsFile later(p, p.clock, SettingsPath());
    EXPECT_EQ(later.ReadValue("Files", "Set111", "Null"), "C:\\a.exe");
    EXPECT_THROW(later.ReadValue("Own", "k", ""), SettingsBusyError);  // a section not kept
  }

  // Not found: there is no file, and the save makes one of its own values.
  FakePlatform p;
  SetUpDataFolder(p, p);
  SettingsFile first(p, p.clock, SettingsPath());
  EXPECT_EQ(first.ReadValue("Files", "Desc1", "d"), "d");
  first.WriteValue("SSaver", "Name", "C:\\b.scr");
  first.Release();
  EXPECT_EQ(p.ReadFile(kIni), "[SSaver]\r\nName=C:\\b.scr\r\n");
  // A folder on the way that is not there: no file, and none can be made.
  SettingsFile nowhere(p, p.clock, DataFolder() + "\\gone\\vantrel.ini");
  EXPECT_EQ(nowhere.ReadValue("Files", "Desc1", "d"), "d");
  nowhere.WriteValue("Files", "Desc1", "x");
  EXPECT_THROW(nowhere.Release(), VantrelError);
}

// A save whose bytes are the file's own writes nothing: a read-only file gives
// no message then.
TEST(SettingsFile, ASaveThatChangesNothingWritesNothing) {
  FakePlatform p;
  SetUpDataFolder(p, p);
  const std::string old = "[Files]\r\nDesc1=Home\r\nSet111= C:\\a.exe\r\n";
  p.WriteFile(kIni, old);
  p.SetReadOnly(kIni, true);
  SettingsFile file(p, p.clock, SettingsPath());
  file.WriteValue("Files", "Desc1", "Home");
  file.AddValue("Files", "Set111", "C:\\b.exe");
  file.Release();
  EXPECT_EQ(p.writes, 0);
  EXPECT_EQ(p.ReadFile(kIni), old);
  ExpectUnableToWrite(file, "Desc1");  // a change still meets the read-only file
}

// Each encoding a hand-edited file may have reads right and is written back in
// it; a legacy file that cannot hold a value becomes UTF-8 as a whole.
TEST(SettingsFile, EncodingsReadAndWrittenBack) {
  FakePlatform p;
  SetUpDataFolder(p, p);
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
      SettingsFile file(p, p.clock, SettingsPath());
      EXPECT_EQ(file.ReadValue("Files", "Desc1", ""), "caf\xC3\xA9");
      EXPECT_EQ(file.ReadValue("Other", "k", ""), "v\xC3\xA9");
      file.WriteValue("Files", "Desc2", thee);
      file.Release();
    }
    EXPECT_EQ(p.ReadFile(kIni), c.encode(text(thee, ";")));
    {
      SettingsFile file(p, p.clock, SettingsPath());
      file.WriteValue("Files", "Desc3", privet);
      file.WriteValue("Files", "Desc4", "four");
      file.Release();
    }
    const std::string after = text(thee, ";").replace(text(thee, ";").find(";\r\n["), 0,
                                                      "Desc3=" + privet + "\r\nDesc4=four\r\n");
    EXPECT_EQ(p.ReadFile(kIni), c.convertsToUtf8 ? after : c.encode(after));
    SettingsFile reader(p, p.clock, SettingsPath());
    EXPECT_EQ(reader.ReadValue("Files", "Desc3", ""), privet);
  }
  EXPECT_NE(latin1, utf8);  // the legacy case really was legacy bytes
}

// Kills a writer at random moments many times; the file must always be whole
// and from one save: every key present, all with the value one save gave them.
TEST(SettingsFile, KilledWriterNeverLeavesAHalfSavedFile) {
  FakePlatform p;
  SetUpDataFolder(p, p);
  const auto save = [&p](int pass) {
    SettingsFile file(p, p.clock, SettingsPath());
    for (int k = 0; k < 220; ++k)
      file.WriteValue("Files", "Key" + std::to_string(k), "r" + std::to_string(pass));
    file.Release();
  };
  save(0);
  std::mt19937 rng(42);
  for (int round = 1; round <= 30; ++round) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
      for (int pass = 1;; ++pass) save(pass);
    std::this_thread::sleep_for(std::chrono::microseconds(2000 + rng() % 20000));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    const std::string contents = p.ReadFile(kIni);
    const std::string first = ProfileRead(contents, "Files", "Key0", "MISSING");
    ASSERT_EQ(first.rfind('r', 0), 0u) << "round " << round << ": " << first;
    for (int k = 1; k < 220; ++k)
      ASSERT_EQ(ProfileRead(contents, "Files", "Key" + std::to_string(k), "MISSING"), first)
          << "round " << round << " key " << k;
  }
}

// A press reads an unchanged file once, and never waits for a file that another
// program holds while a last complete read of it stands in; small files and
// large ones alike.
TEST(SettingsFile, ReadsUseTheLastCompleteReadWhileTheFileIsUnchangedOrHeld) {
  for (const std::size_t filler : {std::size_t{0}, std::size_t{1} << 20}) {
    SCOPED_TRACE(filler);
    FakePlatform p;
    SetUpDataFolder(p, p);
    const auto write = [&](const std::string& desc1) {
      p.WriteFile(kIni, std::string(filler, ';') + "\n[Files]\r\nDesc1=" + desc1 + "\r\n");
    };
    const auto read = [&] {
      return SettingsFile(p, p.clock, SettingsPath()).ReadValue("Files", "Desc1", "");
    };
    write("one");
    p.clock.now += 5000;
    EXPECT_EQ(read(), "one");
    EXPECT_EQ(read(), "one");
    EXPECT_EQ(p.fileReads, 1);
    write("second");
    p.readAnswer = FileAnswer::Held;
    p.readAnswers = -1;
    EXPECT_EQ(read(), "one");
    EXPECT_EQ(p.waitedMs, 0);
    p.readAnswers = 0;
    EXPECT_EQ(read(), "second");
  }
}

// While the file is held, every value of the program's sections reads as the
// last complete read had it, whatever was looked up before and whatever the
// file's size; with no such read, the read says the file is busy.
TEST(SettingsFile, AHoldNeverTurnsValuesIntoDefaults) {
  for (const std::size_t filler : {std::size_t{0}, std::size_t{1} << 20}) {
    SCOPED_TRACE(filler);
    FakePlatform p;
    SetUpDataFolder(p, p);
    const std::string file = std::string(filler, ';') +
                             "\n[Files]\r\nDesc1=Home\r\nSet111=C:\\a.exe\r\nSet112= \"\" a \"\" "
                             "\r\nSet113=\xC3\xA9\"\r\n"
                             "[SSaver]\r\nName=s\r\n";
    p.WriteFile(kIni, file);
    EXPECT_EQ(SettingsFile(p, p.clock, SettingsPath()).ReadValue("Files", "Desc1", ""), "Home");
    p.WriteFile(kIni, file + ";");
    p.readAnswer = FileAnswer::Held;
    p.readAnswers = -1;
    SettingsFile held(p, p.clock, SettingsPath());
    EXPECT_EQ(held.ReadValue("Files", "Set111", "Null"), "C:\\a.exe");
    EXPECT_EQ(held.ReadValue("files", "SET112", "Null"), "\" a \"");
    EXPECT_EQ(held.ReadValue("Files", "Set113", "Null"), "\xC3\xA9\"");
    EXPECT_EQ(held.ReadValue("ssaver", "NAME", "Null"), "s");
    EXPECT_EQ(held.ReadValue("Files", "Desc9", "none"), "none");  // not in the file
    EXPECT_EQ(p.waitedMs, 0);
    SettingsFile::ForgetLastReads();
    EXPECT_THROW(SettingsFile(p, p.clock, SettingsPath()).ReadValue("Files", "Set111", "Null"),
                 SettingsBusyError);
  }
}

// A settled file is read once, whatever the presses ask in whatever order. One
// written in the last 3 s is read at every press, as a second write within one
// tick of the volume's clock can leave the same stamp.
TEST(SettingsFile, ASettledFileIsReadOnceAndARecentOneAtEveryPress) {
  FakePlatform p;
  SetUpDataFolder(p, p);
  const auto file = [](const std::string& desc1) {
    return std::string(1 << 20, ';') + "\n[Files]\r\nDesc1=" + desc1 + "\r\nSet111=C:\\a.exe\r\n";
  };
  const auto press = [&p](const std::string& key) {
    return SettingsFile(p, p.clock, SettingsPath()).ReadValue("Files", key, "");
  };
  p.WriteFile(kIni, file("one"));
  EXPECT_EQ(press("Desc1"), "one");
  p.WriteFile(kIni, file("two"));  // the same size at the same time: the same stamp
  p.clock.now += 4000;
  EXPECT_EQ(press("Desc1"), "two");
  const int reads = p.fileReads;
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(press("Set111"), "C:\\a.exe");
    EXPECT_EQ(press("Desc1"), "two");
    EXPECT_EQ(press("Desc7"), "");
  }
  EXPECT_EQ(p.fileReads, reads);
}

TEST(DataFolder, StartRemovesOnlyTheBesideFilesOfCopiesThatAreGone) {
  FakePlatform p;
  SetUpDataFolder(p, p);
  p.runningProcesses = {77};
  const std::vector<std::string> kept = {"vantrel.ini.77-3.new", "vantrel.ini.78-1.new.bak",
                                         "vantrel.ini.x-1.new", "other.ini.78-1.new"};
  for (const std::string& name : kept) p.WriteFile(DataFolder() + "\\" + name, "x");
  for (const char* name : {"vantrel.ini.4242-1.new", "vantrel.ini.78-12.new"})
    p.WriteFile(DataFolder() + "\\" + name, "x");
  SetUpDataFolder(p, p);
  EXPECT_EQ(p.FindFiles(DataFolder() + "\\*"), kept);
}

}  // namespace
}  // namespace vantrel
