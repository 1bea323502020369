// Pictures read again while the game runs (a new density, a lost renderer)
// come from the archive the game opened, even once an upgrade has put another
// file in its place; when they cannot be read, the game ends instead of
// throwing out of a frame or spinning on a renderer that never comes back.

#include "tests/support/PlaySceneTestSupport.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "formats/CFileMM.h"

namespace playtest {
namespace {

class ArchiveChange : public PlaySceneTest {
protected:
    void SetUp() override {
        PlaySceneTest::SetUp();
        folder = MakeTempFolder("archive");
        path = folder + "/zanborassets.mm";
        std::filesystem::copy_file(ZANBOR_BIN_DIR "/zanborassets.mm", path);
        ASSERT_TRUE(harness::OpenArchive(*screen, folder));
    }
    void TearDown() override {
        PlaySceneTest::TearDown();
        RemoveTree(folder);
    }
    // Where entry 3's first picture (the board's background, at 1x) keeps its pixels, and how many bytes.
    std::pair<long, long> BackgroundPixels() {
        CFileMM archive;
        EXPECT_EQ(archive.OpenArchive(harness::ArchiveSpec(folder), kModeReadExisting), 0);
        archive.SeekEntry(3);
        const long at = archive.Tell();
        ChunkHeader header;
        archive.ReadChunkHeader(&header);
        constexpr long kTgaHeader = 18;
        return {at + 8 + kTgaHeader, static_cast<long>(header.size) - kTgaHeader};
    }
    void Overwrite(long at, long count, char byte) {
        std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(at);
        const std::string bytes(static_cast<std::size_t>(count), byte);
        file.write(bytes.data(), count);
    }
    void Reset() {
        SDL_Event reset{};
        reset.type = SDL_RENDER_DEVICE_RESET;
        screen->HandleMessage(reset);
    }
    // What a frame draws over a cleared target.
    std::vector<std::uint32_t> Shown() {
        SDL_Renderer* renderer = MRenderDevice::Current()->GetDevice();
        SDL_SetRenderDrawColor(renderer, 255, 0, 255, 255);
        SDL_RenderClear(renderer);
        screen->Draw();
        std::vector<std::uint32_t> pixels(800 * 600);
        SDL_RenderReadPixels(MRenderDevice::Current()->GetDevice(), nullptr, SDL_PIXELFORMAT_ARGB8888, pixels.data(),
                             800 * 4);
        return pixels;
    }
    std::string folder, path;
};

TEST_F(ArchiveChange, ALostRendererReadsThePicturesFromTheOpenFileAfterAnotherReplacedIt) {
    Start();
    PastIntro();
    const std::vector<std::uint32_t> before = Shown();
    {
        std::ofstream other(path + ".new", std::ios::binary);
        other << "not an archive";
    }
    ASSERT_EQ(std::rename((path + ".new").c_str(), path.c_str()), 0);
    const int resets = MRenderDevice::Current()->GetResetCount();
    Reset();
    EXPECT_TRUE(Shown() == before);
    EXPECT_EQ(MRenderDevice::Current()->GetResetCount(), resets + 1);
    EXPECT_FALSE(MRenderDevice::Current()->HasLostPictures());
}

TEST_F(ArchiveChange, PicturesThatCannotBeReadAgainEndTheGameInsteadOfSpinning) {
    Start();
    PastIntro();
    ASSERT_EQ(truncate(path.c_str(), 64), 0);  // the very file the game holds
    Reset();
    for (int frame = 0; frame < 5 && screen->scene; ++frame) screen->Frame();
    EXPECT_TRUE(MRenderDevice::Current()->HasLostPictures());
    EXPECT_FALSE(MRenderDevice::Current()->IsResetPending()) << "no frame tries again";
    EXPECT_EQ(screen->scene, nullptr) << "the game ended";
}

TEST_F(ArchiveChange, ADamagedPictureMetAtANewDensityEndsTheGameInsteadOfThrowingOutOfAFrame) {
    // Raw runs of 128 pixels all through the 1x background: far more data than the chunk has.
    const auto [at, count] = BackgroundPixels();
    Overwrite(at, count, '\x7F');
    SDL_SetWindowSize(screen->handle, 1600, 1200);  // the 2x copies are read at the start
    MRenderDevice::Current()->UpdateOutputScale();
    ASSERT_EQ(MRenderDevice::Current()->GetPictureDensity(), 2);
    Start();
    PastIntro();
    SDL_SetWindowSize(screen->handle, 800, 600);
    EXPECT_NO_THROW(screen->Frame());
    EXPECT_EQ(screen->scene, nullptr) << "the game ended";
}

}  // namespace
}  // namespace playtest
