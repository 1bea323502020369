// The board's pictures keep no copy of their pixels, yet a lost renderer
// (reset, or made anew) brings every one of them back as it was.

#include "tests/support/PlaySceneTestSupport.h"

#include <functional>

#include "common/actors/CSprite.h"
#include "platform/render/MTexture.h"

namespace {

using playtest::PlaySceneTest;

std::vector<std::uint32_t> ReadScreen(MRenderDevice* device) {
    std::vector<std::uint32_t> pixels(800 * 600);
    EXPECT_EQ(SDL_RenderReadPixels(device->GetDevice(), nullptr, SDL_PIXELFORMAT_ARGB8888, pixels.data(), 800 * 4),
              0);
    return pixels;
}

struct Loss {
    const char* name;
    std::function<void(CScreen*, const std::vector<MTexture*>&)> lose;
};

const Loss kLosses[] = {
    {"reset: the device's pixels are garbage",
     [](CScreen* screen, const std::vector<MTexture*>& textures) {
         for (MTexture* texture : textures) {
             std::vector<std::uint32_t> garbage(texture->StoreWidth() * texture->StoreHeight(), 0xFFFF00FFu);
             SDL_UpdateTexture(texture->DeviceObject(), nullptr, garbage.data(), texture->StoreWidth() * 4);
         }
         SDL_Event reset{};
         reset.type = SDL_RENDER_DEVICE_RESET;
         screen->HandleMessage(reset);
     }},
    {"renderer made anew",
     [](CScreen* screen, const std::vector<MTexture*>&) {
         MRenderDevice::Current()->Destroy();
         MRenderDevice* device = MRenderDevice::Get(screen->handle);
         device->deviceType = 0;
         device->SetFramePacing(0);
         ASSERT_EQ(device->CreateDevice(0, 800, 600), 0);
     }},
};

TEST_F(PlaySceneTest, ALostRendererRebuildsEveryPictureFromTheArchive) {
    CPlayScene* play = Start();
    PastIntro();
    std::vector<MTexture*> textures;
    for (CActor* actor = play->actorFirst; actor; actor = actor->next)
        if (CSprite* frame = actor->GetSprite(); frame && frame->texture) textures.push_back(frame->texture);
    ASSERT_GT(textures.size(), 40u);
    for (MTexture* texture : textures) {
        EXPECT_EQ(texture->StorePixels(), nullptr);
        EXPECT_EQ(texture->IsReadAgain(), 1) << texture->StoreWidth() << "x" << texture->StoreHeight();
    }
    screen->Draw();
    const std::vector<std::uint32_t> before = ReadScreen(MRenderDevice::Current());
    for (const Loss& loss : kLosses) {
        SCOPED_TRACE(loss.name);
        loss.lose(screen, textures);
        SDL_Renderer* renderer = MRenderDevice::Current()->GetDevice();
        SDL_SetRenderDrawColor(renderer, 255, 0, 255, 255);
        SDL_RenderClear(renderer);
        screen->Draw();
        const std::vector<std::uint32_t> after = ReadScreen(MRenderDevice::Current());
        int differing = 0;
        for (std::size_t i = 0; i < before.size(); ++i) differing += before[i] != after[i];
        EXPECT_EQ(differing, 0);
        for (MTexture* texture : textures) EXPECT_EQ(texture->StorePixels(), nullptr);  // still none kept
    }
}

}  // namespace
