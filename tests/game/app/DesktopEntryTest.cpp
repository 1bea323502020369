// The installation as the desktop sees it: "cmake --install" into a fresh
// prefix puts a valid menu entry and the icon at every size of the theme.

#include <gtest/gtest.h>

#include <cstdint>
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

TEST(DesktopEntry, AnInstallationPutsAValidMenuEntryAndTheIconAtEverySize) {
    if (!HaveProgram("cmake")) GTEST_SKIP() << "cmake is not installed";
    const std::string prefix = MakeTempFolder("install");
    const std::string build = std::string(ZANBOR_BIN_DIR) + "/..";
    ASSERT_EQ(std::system(("cmake --install '" + build + "' --prefix '" + prefix + "' >/dev/null").c_str()), 0);

    const std::string entry = prefix + "/share/applications/zanbor.desktop";
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
    EXPECT_TRUE(std::ifstream(prefix + "/bin/zanbor").good());
    EXPECT_TRUE(std::ifstream(prefix + "/share/zanbor/zanborassets.mm").good());
    RemoveTree(prefix);
}

}  // namespace
