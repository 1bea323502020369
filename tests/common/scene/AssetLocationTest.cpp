// Finding the asset archive: beside the program, in "mmpath", or by asking.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "common/scene/CAssetLocation.h"
#include "formats/CFileMM.h"
#include "platform/storage/MFileStream.h"
#include "platform/app/MPaths.h"
#include "platform/storage/MRegistryStore.h"
#include "tests/support/ArchiveBuilder.h"
#include "tests/support/RecordingDialogs.h"
#include "tests/support/SettingsSandbox.h"

namespace {

// A valid archive with two entry points, each pointing at one small chunk.
void WriteArchive(const std::string& path) {
    ArchiveBuilder archive(path, 2);
    archive.Entry(0);
    archive.Entry(1);
    archive.Chunk(kIdMidi, "abcd", 4);
    archive.Finish();
}

class AssetLocation : public testing::Test {
protected:
    void SetUp() override {
        work = MakeTempFolder("work");
        elsewhere = MakeTempFolder("elsewhere");
        previous = std::filesystem::current_path();
        std::filesystem::current_path(work);
        name = "zanbortest-" + std::to_string(getpid()) + ".mm";
    }
    void TearDown() override {
        std::filesystem::current_path(previous);
        std::filesystem::remove(GetProgramFolder() + "/" + name);
        RemoveTree(work);
        RemoveTree(elsewhere);
    }
    std::string StoredPath() {
        char text[256];
        MRegistryStore::Get(HKEY_LOCAL_MACHINE)->ReadString(text, "mmpath", "<none>", "Config", sizeof text);
        return text;
    }

    SettingsSandbox settings;
    RecordingDialogs dialogs;
    std::string work, elsewhere, name;
    std::filesystem::path previous;
};

TEST_F(AssetLocation, TheCurrentFolderComesFirstWithoutAnyQuestion) {
    WriteArchive(work + "/" + name);
    CFileMM archive;
    EXPECT_EQ(OpenAssetArchive(&archive, name.c_str(), nullptr, "."), 0);
    EXPECT_EQ(archive.GetEntryCount(), 2);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(StoredPath(), "<none>");
}

TEST_F(AssetLocation, BesideTheProgramIsTheNextPlace) {
    WriteArchive(GetProgramFolder() + "/" + name);
    CFileMM archive;
    EXPECT_EQ(OpenAssetArchive(&archive, name.c_str(), nullptr, "."), 0);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(dialogs.chooserCalls, 0);
}

TEST_F(AssetLocation, TheStoredFolderIsTriedBeforeAsking) {
    WriteArchive(elsewhere + "/" + name);
    MRegistryStore::Get(HKEY_LOCAL_MACHINE)->WriteString("mmpath", elsewhere.c_str(), "Config");
    CFileMM archive;
    EXPECT_EQ(OpenAssetArchive(&archive, name.c_str(), nullptr, "."), 0);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(dialogs.chooserCalls, 0);
}

TEST_F(AssetLocation, NowhereThePlayerIsAskedAndTheChoiceRemembered) {
    WriteArchive(elsewhere + "/" + name);
    // First a folder without the archive, then the right one.
    dialogs.choices = {work + "/" + name, elsewhere + "/" + name};
    CFileMM archive;
    EXPECT_EQ(OpenAssetArchive(&archive, name.c_str(), nullptr, "."), 0);
    EXPECT_EQ(dialogs.chooserCalls, 2);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].text, kAskForAssetsText);
    EXPECT_EQ(dialogs.messages[0].style & MB_ICONMASK, MB_ICONHAND);
    EXPECT_EQ(dialogs.lastPattern, "*.mm");
    EXPECT_EQ(dialogs.lastProposedName, name);
    EXPECT_EQ(StoredPath(), elsewhere + "/");
}

TEST_F(AssetLocation, CancellingTheQuestionGivesUpWithTheSecondMessage) {
    CFileMM archive;
    EXPECT_EQ(OpenAssetArchive(&archive, name.c_str(), nullptr, "."), kResultAssetsGivenUp);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[1].text, kAssetsMissingText);
    EXPECT_EQ(dialogs.messages[1].style & MB_ICONMASK, MB_ICONEXCLAMATION);
    EXPECT_EQ(StoredPath(), "<none>");
}

TEST_F(AssetLocation, WithoutAChooserThePlayerIsToldWhereToPutIt) {
    dialogs.chooserAnswer = 3;
    CFileMM archive;
    EXPECT_EQ(OpenAssetArchive(&archive, name.c_str(), nullptr, "."), kResultAssetsGivenUp);
    ASSERT_EQ(dialogs.messages.size(), 3u);
    EXPECT_NE(dialogs.messages[1].text.find(GetProgramFolder()), std::string::npos);
    EXPECT_EQ(dialogs.messages[2].text, kAssetsMissingText);
}

TEST_F(AssetLocation, AFileThatIsNoArchiveLeadsToTheQuestionToo) {
    {
        MFileStream junk;
        std::string path = work + "/" + name;
        FILE* f = fopen(path.c_str(), "wb");
        fputs("this is not a chunk file at all", f);
        fclose(f);
    }
    CFileMM archive;
    EXPECT_EQ(OpenAssetArchive(&archive, name.c_str(), nullptr, "."), kResultAssetsGivenUp);
    EXPECT_EQ(dialogs.chooserCalls, 1);
}

// A copy cut short at each place where a header, the form type, the map's
// count or its table ends.
const long kCuts[] = {0, 4, 7, 10, 14, 19, 22, 26, 30};

void WriteTruncatedArchive(const std::string& path, long keep) {
    WriteArchive(path);
    std::filesystem::resize_file(path, static_cast<std::uintmax_t>(keep));
}

TEST_F(AssetLocation, ADamagedCopyHereDoesNotSpoilTheStoredFolder) {
    WriteArchive(elsewhere + "/" + name);
    MRegistryStore::Get(HKEY_LOCAL_MACHINE)->WriteString("mmpath", elsewhere.c_str(), "Config");
    for (long keep : kCuts) {
        SCOPED_TRACE("cut at " + std::to_string(keep));
        WriteTruncatedArchive(work + "/" + name, keep);
        CFileMM archive;
        EXPECT_EQ(OpenAssetArchive(&archive, name.c_str(), nullptr, "."), 0);
        EXPECT_EQ(archive.GetEntryCount(), 2);
        EXPECT_EQ(archive.SeekEntry(1), archive.GetEntry(1));
        EXPECT_TRUE(dialogs.messages.empty());
    }
}

TEST_F(AssetLocation, ADamagedCopyHereDoesNotSpoilThePlayersChoice) {
    WriteArchive(elsewhere + "/" + name);
    for (long keep : kCuts) {
        SCOPED_TRACE("cut at " + std::to_string(keep));
        WriteTruncatedArchive(work + "/" + name, keep);
        MRegistryStore::Get(HKEY_LOCAL_MACHINE)->DeleteValue("Config", "mmpath");
        dialogs.choices = {elsewhere + "/" + name};
        dialogs.chooserCalls = 0;
        CFileMM archive;
        EXPECT_EQ(OpenAssetArchive(&archive, name.c_str(), nullptr, "."), 0);
        EXPECT_EQ(dialogs.chooserCalls, 1);
        EXPECT_EQ(archive.GetEntryCount(), 2);
        EXPECT_EQ(StoredPath(), elsewhere + "/");
    }
}

// A copy that is there but damaged is named as damaged, not as missing; giving
// up hands its path back for the caller to report.
TEST_F(AssetLocation, ACopyThatIsThereButDamagedIsNamedAsDamaged) {
    WriteTruncatedArchive(work + "/" + name, 19);
    CFileMM archive;
    std::string damaged;
    EXPECT_EQ(OpenAssetArchive(&archive, name.c_str(), nullptr, ".", &damaged), kResultAssetsGivenUp);
    EXPECT_EQ(damaged, work + "/" + name);
    ASSERT_EQ(dialogs.messages.size(), 1u);  // the question only: nothing is missing
    EXPECT_NE(dialogs.messages[0].text.find(damaged + " is damaged."), std::string::npos) << dialogs.messages[0].text;
    EXPECT_EQ(dialogs.chooserCalls, 1);
}

// With no chooser installed, nothing asks the player to point at a folder: a
// damaged copy is left to the caller's report, a missing one is said with the
// places where it is looked for.
TEST_F(AssetLocation, WithoutAChooserNoQuestionAsksForAFolder) {
    dialogs.chooserInstalled = false;
    WriteTruncatedArchive(work + "/" + name, 19);
    CFileMM damagedCopy;
    std::string damaged;
    EXPECT_EQ(OpenAssetArchive(&damagedCopy, name.c_str(), nullptr, ".", &damaged), kResultAssetsGivenUp);
    EXPECT_EQ(damaged, work + "/" + name);
    EXPECT_TRUE(dialogs.messages.empty());

    std::filesystem::remove(work + "/" + name);
    CFileMM missing;
    EXPECT_EQ(OpenAssetArchive(&missing, name.c_str(), nullptr, "."), kResultAssetsGivenUp);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_NE(dialogs.messages[0].text.find("No file chooser"), std::string::npos) << dialogs.messages[0].text;
    EXPECT_EQ(dialogs.chooserCalls, 0);
}

TEST_F(AssetLocation, DataFilesAreLookedForHereThenInTheStoredFolder) {
    FILE* f = fopen((elsewhere + "/data.bin").c_str(), "wb");
    fputs("x", f);
    fclose(f);
    MFileStream file;
    EXPECT_EQ(OpenDataFile(&file, "data.bin", "."), kResultNoFileToRead);
    MRegistryStore::Get(HKEY_LOCAL_MACHINE)->WriteString("mmpath", elsewhere.c_str(), "Config");
    MFileStream again;
    EXPECT_EQ(OpenDataFile(&again, "data.bin", "."), 0);
    EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
