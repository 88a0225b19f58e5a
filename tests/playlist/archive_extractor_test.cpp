// ArchiveExtractor and resolveMember with the stand-in under all four names
// beside this program: which rows a file is offered to, real extraction of
// zip and 7z members, and hostile member names.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/player.h"
#include "playlist/archive_extractor.h"
#include "test_support.h"

using namespace tarnuvo;
using namespace tarnuvo_test;

namespace {

// The DLL names that were asked CheckArchive, in order.
std::vector<std::string> checkedBy(const CallLog& log) {
    std::vector<std::string> dlls;
    for (const std::string& line : log.linesWith("CheckArchive"))
        dlls.push_back(line.substr(0, line.find(' ')));
    return dlls;
}

const std::vector<std::string> kAllRows = {"7-zip32.dll", "Unrar32.dll", "Unlha32.dll",
                                           "Unzip32.dll"};

// A player whose common open can be called on its own.
class OpeningPlayer : public Player {
public:
    using Player::openCommon;
};

struct Extraction {
    ScratchDir scratch;
    std::string tempDir = scratch.folder("a\\b\\tmp");
    TestEnvironment env{tempDir};

    // Files in the scratch folder that are not inside the temporary folder.
    std::vector<std::string> outside() const {
        std::vector<std::string> out;
        for (const std::string& f : scratch.files()) {
            if (f.rfind("a\\b\\tmp\\", 0) != 0 && f != "calls.log") out.push_back(f);
        }
        return out;
    }
};

}  // namespace

TEST(SelectArchiver, AZipIsOfferedToTheSevenZipRowFirst) {
    ScratchDir scratch;
    CallLog log(scratch);
    ArchiveExtractor extractor;
    EXPECT_EQ(-1, extractor.selected());
    ASSERT_EQ(1, extractor.selectArchiver(fixture("plain.zip").c_str()));
    EXPECT_EQ(0, extractor.selected());
    EXPECT_EQ(std::vector<std::string>{"7-zip32.dll"}, checkedBy(log));
}

TEST(SelectArchiver, TheExtensionIsComparedWithoutRegardToCase) {
    ArchiveExtractor extractor;
    ASSERT_EQ(1, extractor.selectArchiver(fixture("PLAIN.ZIP").c_str()));
    EXPECT_EQ(0, extractor.selected());
}

TEST(SelectArchiver, AnExeIsOfferedToEveryRowInOrder) {
    ScratchDir scratch;
    CallLog log(scratch);
    ArchiveExtractor extractor;
    EXPECT_EQ(0, extractor.selectArchiver(fixture("notarchive.exe").c_str()));
    EXPECT_EQ(-1, extractor.selected());
    EXPECT_EQ(kAllRows, checkedBy(log));
}

TEST(SelectArchiver, ASelfExtractingZipIsTakenByTheFirstRowThatAcceptsIt) {
    ScratchDir scratch;
    CallLog log(scratch);
    ArchiveExtractor extractor;
    ASSERT_EQ(1, extractor.selectArchiver(fixture("sfx.exe").c_str()));
    EXPECT_EQ(0, extractor.selected());
    EXPECT_EQ(std::vector<std::string>{"7-zip32.dll"}, checkedBy(log));
}

TEST(SelectArchiver, ARarGoesOnlyToTheRarRow) {
    ScratchDir scratch;
    CallLog log(scratch);
    ArchiveExtractor extractor;
    EXPECT_EQ(0, extractor.selectArchiver(fixture("notarchive.rar").c_str()));
    EXPECT_EQ(std::vector<std::string>{"Unrar32.dll"}, checkedBy(log));
}

TEST(SelectArchiver, ANameWithoutExtensionIsNeverOffered) {
    ScratchDir scratch;
    CallLog log(scratch);
    ArchiveExtractor extractor;
    EXPECT_EQ(0, extractor.selectArchiver(fixture("music").c_str()));
    EXPECT_EQ(0, extractor.selectArchiver((fixture("plain.zip") + ".").c_str()));
    EXPECT_TRUE(log.lines().empty());
}

TEST(SelectArchiver, EachDllIsUnloadedAfterItsStep) {
    ScratchDir scratch;
    CallLog log(scratch);
    ArchiveExtractor extractor;
    extractor.selectArchiver(fixture("notarchive.exe").c_str());
    const std::vector<std::string> lines = log.lines();
    ASSERT_EQ(12u, lines.size());
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(kAllRows[i] + " load ", lines[3 * i]);
        EXPECT_EQ(0u, lines[3 * i + 1].rfind(kAllRows[i] + " CheckArchive ", 0));
        EXPECT_EQ(kAllRows[i] + " unload ", lines[3 * i + 2]);
    }
    EXPECT_FALSE(extractor.dll().isLoaded());
}

TEST(SelectArchiver, AFailedChoiceKeepsTheEarlierSelection) {
    ArchiveExtractor extractor;
    ASSERT_EQ(1, extractor.selectArchiver(fixture("plain.7z").c_str()));
    EXPECT_EQ(0, extractor.selectArchiver(fixture("notarchive.exe").c_str()));
    EXPECT_EQ(0, extractor.selected());
}

TEST(Extract, ZipMembersAreExtractedFlatAndOverwritten) {
    Extraction x;
    ArchiveExtractor extractor;
    ASSERT_EQ(1, extractor.selectArchiver(fixture("plain.zip").c_str()));
    char output[8190];
    EXPECT_EQ(0, extractor.extract(nullptr, fixture("plain.zip").c_str(), x.tempDir.c_str(),
                                   "sub/deep.mp3", 3, output, sizeof output));
    EXPECT_EQ("member in a subfolder\n", readFile(x.tempDir + "deep.mp3"));
    EXPECT_FALSE(extractor.dll().isLoaded());
    writeFile(x.tempDir + "deep.mp3", "stale");
    EXPECT_EQ(0, extractor.extract(nullptr, fixture("plain.zip").c_str(), x.tempDir.c_str(),
                                   "sub/deep.mp3", 3, output, sizeof output));
    EXPECT_EQ("member in a subfolder\n", readFile(x.tempDir + "deep.mp3"));
    EXPECT_TRUE(x.outside().empty());
}

TEST(Extract, WithoutTheOverwriteBitAnExistingFileStays) {
    Extraction x;
    ArchiveExtractor extractor;
    ASSERT_EQ(1, extractor.selectArchiver(fixture("plain.zip").c_str()));
    writeFile(x.tempDir + "song.mp3", "kept");
    EXPECT_NE(0, extractor.extract(nullptr, fixture("plain.zip").c_str(), x.tempDir.c_str(),
                                   "song.mp3", 1, nullptr, 0));
    EXPECT_EQ("kept", readFile(x.tempDir + "song.mp3"));
}

TEST(Extract, SevenZipMembersAreExtracted) {
    Extraction x;
    ArchiveExtractor extractor;
    ASSERT_EQ(1, extractor.selectArchiver(fixture("plain.7z").c_str()));
    EXPECT_EQ(0, extractor.extract(nullptr, fixture("plain.7z").c_str(), x.tempDir.c_str(),
                                   "song.mp3", 3, nullptr, 0));
    EXPECT_EQ("top-level member\n", readFile(x.tempDir + "song.mp3"));
}

TEST(Extract, ThePathCommandKeepsFolders) {
    Extraction x;
    ArchiveExtractor extractor;
    ASSERT_EQ(1, extractor.selectArchiver(fixture("plain.7z").c_str()));
    EXPECT_EQ(0, extractor.extract(nullptr, fixture("plain.7z").c_str(), x.tempDir.c_str(), "", 0,
                                   nullptr, 0));
    EXPECT_EQ("member in a subfolder\n", readFile(x.tempDir + "sub\\deep.mp3"));
    EXPECT_EQ("top-level member\n", readFile(x.tempDir + "song.mp3"));
}

TEST(Extract, TheOutputIsCutToTheBufferAndTerminated) {
    Extraction x;
    ArchiveExtractor extractor;
    ASSERT_EQ(1, extractor.selectArchiver(fixture("plain.zip").c_str()));
    char output[8] = {'#', '#', '#', '#', '#', '#', '#', '#'};
    EXPECT_EQ(0, extractor.extract(nullptr, fixture("plain.zip").c_str(), x.tempDir.c_str(),
                                   "song.mp3", 3, output, sizeof output));
    EXPECT_LT(strlen(output), sizeof output);
}

TEST(Extract, NotRunWithoutASelection) {
    ScratchDir scratch;
    CallLog log(scratch);
    ArchiveExtractor extractor;
    EXPECT_NE(0, extractor.extract(nullptr, fixture("plain.zip").c_str(), scratch.path().c_str(),
                                   "song.mp3", 3, nullptr, 0));
    EXPECT_TRUE(log.lines().empty());
}

TEST(Extract, AQuoteInAFileNameNeverReachesTheDll) {
    Extraction x;
    CallLog log(x.scratch);
    ArchiveExtractor extractor;
    ASSERT_EQ(1, extractor.selectArchiver(fixture("hostile.zip").c_str()));
    log.clear();
    EXPECT_NE(0, extractor.extract(nullptr, fixture("hostile.zip").c_str(), x.tempDir.c_str(),
                                   "quote\".mp3", 3, nullptr, 0));
    EXPECT_TRUE(log.lines().empty());
}

TEST(Extract, TheStandInWritesNothingOutsideItsDestination) {
    // Extracting every member with their folders: the stand-in itself must
    // refuse the hostile names and still extract the safe one.
    Extraction x;
    ArchiveExtractor extractor;
    ASSERT_EQ(1, extractor.selectArchiver(fixture("hostile.zip").c_str()));
    char output[8190];
    EXPECT_NE(0, extractor.extract(nullptr, fixture("hostile.zip").c_str(), x.tempDir.c_str(), "",
                                   0, output, sizeof output));
    EXPECT_EQ("safe member\n", readFile(x.tempDir + "ok.mp3"));
    const std::string report = output;
    for (const char* name : {"../../escape.mp3", "C:/drive.mp3", "/absolute.mp3", "CON.mp3"}) {
        EXPECT_NE(std::string::npos, report.find(std::string("refused: ") + name)) << report;
    }
    EXPECT_TRUE(x.outside().empty());
    EXPECT_FALSE(fileExists("C:\\drive.mp3"));
    EXPECT_FALSE(fileExists("C:\\absolute.mp3"));
}

TEST(ResolveMember, AMemberInASubfolderWithEitherSeparator) {
    for (const char* member : {"sub/deep.mp3", "sub\\deep.mp3"}) {
        Extraction x;
        char file[kTextSize] = "junk";
        ASSERT_TRUE(resolveMember(fixture("plain.zip").c_str(), member, nullptr, &x.env, file));
        EXPECT_EQ(x.tempDir + "deep.mp3", std::string(file)) << member;
        EXPECT_EQ("member in a subfolder\n", readFile(file)) << member;
    }
}

TEST(ResolveMember, AFailedExtractionLeavesNoFileAtThePath) {
    Extraction x;
    writeFile(x.tempDir + "absent.mp3", "stale copy");
    char file[kTextSize];
    ASSERT_TRUE(resolveMember(fixture("plain.zip").c_str(), "absent.mp3", nullptr, &x.env, file));
    EXPECT_EQ(x.tempDir + "absent.mp3", std::string(file));
    EXPECT_FALSE(fileExists(file));
}

TEST(ResolveMember, NoArchiverMeansTheArchivePathIsOpened) {
    Extraction x;
    char file[kTextSize] = "junk";
    EXPECT_FALSE(resolveMember(fixture("notarchive.exe").c_str(), "a.mp3", nullptr, &x.env, file));
    EXPECT_FALSE(resolveMember(fixture("music").c_str(), "song.mp3", nullptr, &x.env, file));
}

TEST(ResolveMember, NothingIsExtractedWhenExtractionIsDisabled) {
    ScratchDir scratch;
    CallLog log(scratch);
    TestEnvironment disabled("");
    char file[kTextSize];
    EXPECT_FALSE(resolveMember(fixture("plain.zip").c_str(), "song.mp3", nullptr, &disabled, file));
    EXPECT_FALSE(resolveMember(fixture("plain.zip").c_str(), "song.mp3", nullptr, nullptr, file));
    EXPECT_TRUE(log.linesWith("command").empty());
}

TEST(ResolveMember, HostileNamesExtractNothingAndTouchNothingOutside) {
    const std::string veryLong = std::string(240, 'x') + ".mp3";
    for (const char* member :
         {"../../escape.mp3", "..\\..\\escape2.mp3", "C:/drive.mp3", "/absolute.mp3", "quote\".mp3",
          "-aoa.mp3", "CON.mp3", veryLong.c_str()}) {
        Extraction x;
        CallLog log(x.scratch);
        writeFile(x.scratch.folder("a") + "escape.mp3", "precious");
        char file[kTextSize] = "junk";
        EXPECT_TRUE(resolveMember(fixture("hostile.zip").c_str(), member, nullptr, &x.env, file))
            << member;
        EXPECT_STREQ("", file) << member;
        EXPECT_TRUE(log.linesWith("command").empty()) << member;
        EXPECT_EQ("precious", readFile(x.scratch.path() + "a\\escape.mp3")) << member;
        EXPECT_EQ(std::vector<std::string>{"a\\escape.mp3"}, x.outside()) << member;
        EXPECT_FALSE(fileExists("C:\\drive.mp3"));
    }
}

TEST(ResolveMember, TheSafeMemberOfAHostileArchiveStillWorks) {
    Extraction x;
    char file[kTextSize];
    ASSERT_TRUE(resolveMember(fixture("hostile.zip").c_str(), "ok.mp3", nullptr, &x.env, file));
    EXPECT_EQ("safe member\n", readFile(file));
    EXPECT_TRUE(x.outside().empty());
}

TEST(ResolveMember, TheCommonOpenOfAPlayerUsesIt) {
    Extraction x;
    installMemberResolver();
    OpeningPlayer player;
    player.attach(nullptr, &x.env);
    const std::string reference = fixture("plain.7z") + "|sub\\deep.mp3";
    char file[kTextSize];
    player.openCommon(reference.c_str(), -1, 1, nullptr, file);
    setMemberResolver(nullptr);
    EXPECT_EQ(x.tempDir + "deep.mp3", std::string(file));
    EXPECT_EQ("member in a subfolder\n", readFile(file));
    EXPECT_STREQ(reference.c_str(), player.path);
}

TEST(StandIn, EveryRowsCommandsAreUnderstood) {
    // The stand-in under its 7-zip32.dll name reads zip; each prefix speaks
    // its own row's commands.
    for (const ArchiverEntry& row : kArchiverTable) {
        for (int32_t flags : {3, 2, 1, 0}) {
            Extraction x;
            writeFile(x.tempDir + "deep.mp3", "old");
            char line[kCommandLineSize];
            ASSERT_TRUE(buildExtractCommand(row, fixture("plain.zip").c_str(), x.tempDir.c_str(),
                                            "sub/deep.mp3", flags, line, sizeof line));
            ArchiverDll dll;
            ASSERT_TRUE(dll.load("7-zip32.dll", row.prefix));
            const int32_t result = dll.command(nullptr, line, nullptr, 0);
            const bool flat = flags & kExtractFlat, overwrite = flags & kExtractOverwrite;
            const std::string landed = x.tempDir + (flat ? "deep.mp3" : "sub\\deep.mp3");
            if (flat && !overwrite) {
                EXPECT_NE(0, result) << line;
                EXPECT_EQ("old", readFile(landed)) << line;
            } else {
                EXPECT_EQ(0, result) << line;
                EXPECT_EQ("member in a subfolder\n", readFile(landed)) << line;
            }
            EXPECT_TRUE(x.outside().empty()) << line;
        }
    }
}

TEST(StandIn, CommandsOfAnotherRowOrWithStraySwitchesAreRefused) {
    Extraction x;
    ArchiverDll dll;
    ASSERT_TRUE(dll.load("7-zip32.dll", "UnZip"));
    const std::string archive = "\"" + fixture("plain.zip") + "\" \"" + x.tempDir + "\" ";
    EXPECT_NE(0, dll.command(nullptr, ("e -hide " + archive).c_str(), nullptr, 0));
    EXPECT_NE(0, dll.command(nullptr, ("-x -j " + archive + "-o").c_str(), nullptr, 0));
    EXPECT_NE(0, dll.command(nullptr, ("-x -j \"" + fixture("plain.zip")).c_str(), nullptr, 0));
    EXPECT_TRUE(x.scratch.files().empty());
}
