// The installation as the desktop sees it: "cmake --install" into a fresh
// prefix puts a valid menu entry and the icon at every size of the theme, the
// metainfo software centres read, and a manual page that formats cleanly.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "tests/support/SettingsSandbox.h"

namespace {

bool HaveProgram(const char* name) {
    return std::system((std::string("command -v ") + name + " >/dev/null 2>&1").c_str()) == 0;
}

// Width and height from a PNG's header chunk; 0 x 0 when it is not a PNG.
void PngSize(const std::string& path, std::uint32_t* w, std::uint32_t* h) {
    *w = *h = 0;
    std::ifstream in(path, std::ios::binary);
    unsigned char head[24] = {};
    if (!in.read(reinterpret_cast<char*>(head), sizeof head)) return;
    static const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (!std::equal(signature, signature + 8, head) || std::string(reinterpret_cast<char*>(head + 12), 4) != "IHDR")
        return;
    auto big = [&](int at) {
        return std::uint32_t(head[at]) << 24 | std::uint32_t(head[at + 1]) << 16 | std::uint32_t(head[at + 2]) << 8 |
               head[at + 3];
    };
    *w = big(16);
    *h = big(20);
}

// A command's output (both streams), and whether it exited with 0.
bool RunCommand(const std::string& command, std::string* output) {
    FILE* pipe = popen(("(" + command + ") 2>&1").c_str(), "r");
    if (!pipe) return false;
    char chunk[512];
    while (std::size_t n = std::fread(chunk, 1, sizeof chunk, pipe)) output->append(chunk, n);
    return pclose(pipe) == 0;
}

class DesktopEntry : public testing::Test {
protected:
    void SetUp() override {
        if (!HaveProgram("cmake")) GTEST_SKIP() << "cmake is not installed";
        prefix = MakeTempFolder("install");
        const std::string build = std::string(ZANBOR_BIN_DIR) + "/..";
        ASSERT_EQ(std::system(("cmake --install '" + build + "' --prefix '" + prefix + "' >/dev/null").c_str()), 0);
    }
    void TearDown() override {
        if (!prefix.empty()) RemoveTree(prefix);
    }
    std::string prefix;
};

TEST_F(DesktopEntry, AnInstallationPutsAValidMenuEntryAndTheIconAtEverySize) {
    const std::string entry = prefix + "/share/applications/io.github.zanbor.Zanbor.desktop";
    std::ifstream in(entry);
    ASSERT_TRUE(in.good()) << entry;
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (const char* line : {"Exec=zanbor\n", "Icon=zanbor\n", "Type=Application\n", "Name=Zanbor\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
    if (HaveProgram("desktop-file-validate")) {
        EXPECT_EQ(std::system(("desktop-file-validate '" + entry + "'").c_str()), 0);
    }

    for (std::uint32_t size : {16u, 22u, 24u, 32u, 48u, 64u, 128u, 256u}) {
        const std::string png = prefix + "/share/icons/hicolor/" + std::to_string(size) + "x" + std::to_string(size) +
                                "/apps/zanbor.png";
        std::uint32_t w = 0, h = 0;
        PngSize(png, &w, &h);
        EXPECT_EQ(w, size) << png;
        EXPECT_EQ(h, size) << png;
    }
    EXPECT_TRUE(std::ifstream(prefix + "/share/icons/hicolor/scalable/apps/zanbor.svg").good());
    // The program and its archive go where the program looks for them.
    EXPECT_TRUE(std::ifstream(prefix + "/" ZANBOR_INSTALL_BINDIR "/zanbor").good());
    EXPECT_TRUE(std::ifstream(prefix + "/" ZANBOR_INSTALL_DATADIR "/zanborassets.mm").good());
}

// The metainfo is checked with the tree it describes (its menu entry and icon
// are found by its id), and the manual page against every formatter warning.
TEST_F(DesktopEntry, TheMetainfoAndTheManualPagePassTheirCheckers) {
    const std::string man = prefix + "/share/man/man6/zanbor.6";
    const struct {
        std::string file;
        const char* program;
        std::string command;
        bool silent;  // any output is a finding
    } checks[] = {
        {prefix + "/share/metainfo/io.github.zanbor.Zanbor.metainfo.xml", "appstreamcli",
         "appstreamcli validate-tree --no-net '" + prefix + "'", false},
        {man, "groff", "groff -ww -man -Tutf8 '" + man + "' >/dev/null", true},
    };
    for (const auto& check : checks) {
        EXPECT_TRUE(std::ifstream(check.file).good()) << check.file;
        if (!HaveProgram(check.program)) {
            std::printf("%s is not installed: %s is not checked\n", check.program, check.file.c_str());
            continue;
        }
        std::string output;
        EXPECT_TRUE(RunCommand(check.command, &output)) << check.command << "\n" << output;
        if (check.silent) {
            EXPECT_EQ(output, "") << check.command;
        }
    }
}

}  // namespace
