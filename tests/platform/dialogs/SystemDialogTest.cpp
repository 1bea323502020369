#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/dialogs/MMessageDialog.h"
#include "platform/dialogs/MMessageText.h"
#include "platform/dialogs/MOpenDialog.h"
#include "tests/support/RecordingDialogs.h"

TEST(MessageDialog, IconsAndButtonsAddTheirStyleBits) {
    RecordingDialogs dialogs;
    MMessageDialog box;
    EXPECT_STREQ(box.GetCaption(), "Message");
    EXPECT_EQ(box.GetStyle(), MB_TASKMODAL);
    EXPECT_EQ(box.GetResult(), IDOK);
    EXPECT_EQ(box.SetIcon(2), 0);
    EXPECT_EQ(box.SetButtons(3), 0);
    EXPECT_EQ(box.SetIcon(4), 2);
    EXPECT_EQ(box.SetButtons(0), 2);
    EXPECT_EQ(box.GetStyle(), MB_TASKMODAL | MB_ICONEXCLAMATION | MB_YESNO | MB_DEFBUTTON2);
    box.SetText("Start a new game?");
    dialogs.messageAnswer = IDNO;
    EXPECT_EQ(box.Show(nullptr), IDNO);
    EXPECT_EQ(box.GetResult(), IDNO);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Start a new game?");
    EXPECT_EQ(dialogs.messages[0].caption, "Message");
}

TEST(MessageDialog, LongTextsAndCaptionsAreCut) {
    MMessageDialog box;
    box.SetText(std::string(600, 'x').c_str());
    EXPECT_EQ(std::strlen(box.GetText()), 511u);
    box.SetCaption(std::string(100, 'c').c_str());
    EXPECT_EQ(std::strlen(box.GetCaption()), 63u);
    EXPECT_EQ(box.SetTextFromResource(999), 2);  // no application: nothing loaded
}

TEST(MessageDialog, WithoutADesktopTheDefaultButtonAnswers) {
    // With no display to show a box on, the answer is the default button. (The
    // display variables are removed so that the test can never wait for a click.)
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    MMessageDialog box;
    box.SetButtons(3);
    box.SetText("headless");
    EXPECT_EQ(box.Show(nullptr), IDNO);
    MMessageDialog ok;
    EXPECT_EQ(ok.Show(nullptr), IDOK);
}

// Lines fit the width a desktop allows and keep every word in order (the
// boxes themselves are measured on an X server by the process tests).
TEST(MessageText, LinesAreBrokenAtBlanksToFitTheDesktop) {
    const std::string path = "/home/player/.local/share/games/zanbor/zanborassets.mm";
    const std::string texts[] = {
        "Your screen resolution must be set to 800 x 600 or higher.  Please adjust your settings.  Zanbor will exit.",
        "The asset file " + path + " is damaged.  Please reinstall Zanbor.\nZanbor will exit.",
    };
    for (int desktop : {640, 1024}) {
        for (const std::string& text : texts) {
            const std::string wrapped = WrapMessageText(text, MessageLineWidth(desktop));
            std::string joined, line;
            for (std::size_t at = 0; at <= wrapped.size(); ++at) {
                if (at < wrapped.size() && wrapped[at] != '\n') {
                    line += wrapped[at];
                    continue;
                }
                EXPECT_LE(MessageTextWidth(line), MessageLineWidth(desktop)) << line;
                EXPECT_FALSE(line.empty() || line.front() == ' ' || line.back() == ' ') << "'" << line << "'";
                joined += line;
                line.clear();
            }
            // Every word is there, in order (blanks and line ends aside).
            auto bare = [](std::string s) {
                std::erase_if(s, [](char c) { return c == ' ' || c == '\n'; });
                return s;
            };
            EXPECT_EQ(bare(joined), bare(text));
        }
    }
    // A path too long for a line is broken after one of its '/'; the text's own line end stays.
    EXPECT_EQ(WrapMessageText(path + "\nok", MessageTextWidth(std::string(30, 'x'))),
              "/home/player/.local/share/\ngames/zanbor/zanborassets.mm\nok");
}

TEST(OpenDialog, TheChosenPathSplitsIntoFolderNameAndExtension) {
    RecordingDialogs dialogs;
    dialogs.choices = {"/games/Z/zanborassets.mm"};
    MOpenDialog chooser;
    chooser.SetFilter("Asset files|*.mm|");
    chooser.SetFileName("zanborassets.mm");
    EXPECT_EQ(chooser.Show(nullptr), 1);
    EXPECT_EQ(dialogs.lastDescription, "Asset files");
    EXPECT_EQ(dialogs.lastPattern, "*.mm");
    EXPECT_EQ(dialogs.lastProposedName, "zanborassets.mm");
    EXPECT_FALSE(dialogs.lastSave);

    FileSpec spec;
    EXPECT_EQ(chooser.GetFileSpec(&spec), 0);
    EXPECT_STREQ(spec.directory, "/games/Z/");
    EXPECT_STREQ(spec.name, "zanborassets.mm");
    char name[256];
    chooser.GetFileName(name);
    EXPECT_STREQ(name, "zanborassets.mm");
    char extension[4];
    chooser.GetExtension(extension);
    EXPECT_EQ(std::string(extension, 4), std::string(".mm ", 4));

    chooser.SetFileName("/a/b/picture.jpeg");
    chooser.GetExtension(extension);
    EXPECT_EQ(std::string(extension, 4), ".jpe");
    chooser.SetFileName("/a/b.d/noextension");
    chooser.GetExtension(extension);
    EXPECT_EQ(std::string(extension, 4), std::string(4, '\0'));
}

TEST(OpenDialog, CancelAndMissingChooserBothReturnTwo) {
    RecordingDialogs dialogs;
    MOpenDialog chooser(1);
    chooser.SetFileName("keep.mm");
    dialogs.chooserAnswer = 2;
    EXPECT_EQ(chooser.Show(nullptr), 2);
    EXPECT_TRUE(dialogs.lastSave);
    EXPECT_EQ(chooser.ChooserMissing(), 0);
    EXPECT_STREQ(chooser.GetPath(), "keep.mm");
    dialogs.chooserAnswer = 3;
    EXPECT_EQ(chooser.Show(nullptr), 2);
    EXPECT_EQ(chooser.ChooserMissing(), 1);
}

TEST(OpenDialog, TheRealChooserIsRunWithoutAShell) {
    // With no chooser program on the PATH the real driver reports it as missing.
    std::string path = getenv("PATH") ? getenv("PATH") : "";
    setenv("PATH", "/nonexistent", 1);
    MOpenDialog chooser;
    chooser.SetFilter("Asset files|*.mm|");
    EXPECT_EQ(chooser.Show(nullptr), 2);
    EXPECT_EQ(chooser.ChooserMissing(), 1);
    setenv("PATH", path.c_str(), 1);
}
