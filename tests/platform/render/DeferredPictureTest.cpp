// A denser picture read from a file is made at its first use: until then it
// holds no texture, and then it is the picture it was to be.

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>

#include "platform/render/MTexture.h"
#include "platform/storage/BFile.h"
#include "platform/storage/MFileMMIO.h"
#include "tests/support/FileTestHelpers.h"
#include "tests/support/GraphicsTestSupport.h"

namespace {

using gfxtest::HeadlessRenderer;

// A 2x picture as the archive keeps it: the left half clear, the right half
// opaque orange; a damaged one has its packed rows cut short.
Bytes DensePicture(int w, int h, bool damaged) {
    Bytes picture(18, 0);
    picture[2] = 2;
    picture[12] = static_cast<std::uint8_t>(w);
    picture[14] = static_cast<std::uint8_t>(h);
    picture[16] = 32;
    picture[17] = 0x28;
    Bytes bgra;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (std::uint8_t byte : x < w / 2 ? Bytes{0, 0, 0, 0} : Bytes{0x00, 0x80, 0xFF, 0xFF}) bgra.push_back(byte);
    uLongf size = compressBound(static_cast<uLong>(bgra.size()));
    Bytes packed(size);
    compress(packed.data(), &size, bgra.data(), static_cast<uLong>(bgra.size()));
    packed.resize(damaged ? size / 2 : size);
    picture.insert(picture.end(), packed.begin(), packed.end());
    return picture;
}

class DeferredPicture : public HeadlessRenderer {
protected:
    MFileMMIO& Open(bool damaged) {
        WriteFileBytes(folder / "picture", DensePicture(40, 20, damaged));
        std::string path = folder / "picture";
        EXPECT_EQ(file.OpenFile(path.data(), kModeReadExistingBinary, kByteOrderLittle), 0);
        return file;
    }

    TempFolder folder;
    MFileMMIO file;
};

TEST_F(DeferredPicture, IsMadeAtItsFirstDrawOrTestWithTheSizeItWasToHave) {
    for (bool drawnFirst : {true, false}) {
        MTexture texture(Open(false), 2, 1.6);
        EXPECT_EQ(texture.IsDeferred(), 1);
        EXPECT_EQ(texture.DeviceObject(), nullptr);
        EXPECT_EQ(texture.GetWidth(), 20);
        EXPECT_EQ(texture.GetHeight(), 10);
        EXPECT_EQ(texture.StoreWidth(), 32);  // 20 design pixels at 1.6 texels each
        EXPECT_EQ(texture.StoreHeight(), 16);
        if (drawnFirst) {
            const RECT at{100, 100, 0, 0};  // drawn at its design size, 20 x 10
            EXPECT_EQ(texture.Draw(&at, nullptr, 0), 0);
            EXPECT_EQ(Pixel(102, 105), 0x000000u);
            EXPECT_EQ(Pixel(117, 105), 0xFF8000u);
        } else {
            EXPECT_EQ(texture.IsTexelTransparent(2, 8), 1);
            EXPECT_EQ(texture.IsTexelTransparent(29, 8), 0);
        }
        EXPECT_EQ(texture.IsDeferred(), 0);
        EXPECT_NE(texture.DeviceObject(), nullptr);
        file.Close();
    }
}

TEST_F(DeferredPicture, OneNoFrameUsedSinceGoesBackToWaitingAndComesBackTheSame) {
    MTexture texture(Open(false), 2, 1.6);
    const RECT at{100, 100, 0, 0};
    ASSERT_EQ(texture.Draw(&at, nullptr, 0), 0);
    const long drawnIn = device->GetPresentCount();
    EXPECT_EQ(texture.DeferAgainIfUnusedSince(drawnIn, 0), 0) << "used in that frame";
    EXPECT_EQ(texture.DeferAgainIfUnusedSince(drawnIn + 1, 32 * 16 * 4), 0) << "not larger";
    EXPECT_EQ(texture.DeferAgainIfUnusedSince(drawnIn + 1, 0), 1);
    EXPECT_EQ(texture.IsDeferred(), 1);
    EXPECT_EQ(texture.DeviceObject(), nullptr);
    Clear(0xFF000000u);
    ASSERT_EQ(texture.Draw(&at, nullptr, 0), 0);
    EXPECT_EQ(Pixel(102, 105), 0x000000u);
    EXPECT_EQ(Pixel(117, 105), 0xFF8000u);
    MTexture blank(32, 32);  // nothing to read it again from: it stays
    EXPECT_EQ(blank.DeferAgainIfUnusedSince(drawnIn + 1, 0), 0);
}

TEST_F(DeferredPicture, OneThatCannotBeReadAtItsFirstDrawLosesThePictures) {
    MTexture texture(Open(true), 2, 1.6);
    ASSERT_EQ(texture.IsDeferred(), 1);
    const RECT at{100, 100, 0, 0};
    EXPECT_EQ(texture.Draw(&at, nullptr, 0), kResultDrawFailed);
    EXPECT_TRUE(device->HasLostPictures());
    EXPECT_EQ(device->BeginFrame(), kResultDeviceLost) << "no frame draws on";
}

}  // namespace
