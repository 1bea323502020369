// Opens a real window and shows the widgets at work on the engine's scenes:
// buttons of every kind, labels in the three system fonts and in the bitmap
// font of the options pages, an edit box taking initials, a dialog scene laid
// over the scene and answered by its Yes button, and a fade from the first
// scene to a second one. A short script plays the input; the mouse and the
// keyboard work as well. With ZANBOR_DEMO_SECONDS set it closes by itself.
//
// The bitmap font is entry 7 of zanborassets.mm (ZANBOR_ARCHIVE, else beside
// the program, else build/bin); without the archive, plain glyphs are made in
// memory.

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "common/widgets/CActorButton.h"
#include "common/actors/CActorFade.h"
#include "common/actors/CActorSprite.h"
#include "common/widgets/CDialogModal.h"
#include "common/widgets/CEditBox.h"
#include "formats/CFileMM.h"
#include "common/actors/CFont.h"
#include "common/scene/CScene.h"
#include "common/widgets/CSceneDialog.h"
#include "common/scene/CScreen.h"
#include "common/actors/CSprite.h"
#include "common/actors/CSpriteA.h"
#include "common/scene/CFixPoint.h"
#include "tools/demos/DemoShell.h"
#include "platform/core/CException.h"
#include "platform/app/GameTimer.h"
#include "platform/render/MRenderDevice.h"
#include "platform/render/MTextFont.h"
#include "platform/render/MTexture.h"
#include "tests/support/PictureMaker.h"
#include "tools/demos/DemoWindow.h"

namespace {

using Clock = std::chrono::steady_clock;

MImage Picture(int w, int h, const std::function<std::uint32_t(int, int)>& colour) { return MakeImage(w, h, colour); }

CSprite* Sprite(const MImage& image, int ox, int oy) {
    auto* frame = new CSprite;
    frame->texture = new MTexture;
    frame->texture->SetImage(image, 0, 0);
    frame->w = image.width;
    frame->h = image.height;
    frame->ox = ox;
    frame->oy = oy;
    return frame;
}

// A rounded panel with a light rim; pressed panels are darker.
std::function<std::uint32_t(int, int)> Panel(int w, int h, std::uint32_t rgb, int radius) {
    return [=](int x, int y) -> std::uint32_t {
        const int dx = std::max({radius - x, x - (w - 1 - radius), 0});
        const int dy = std::max({radius - y, y - (h - 1 - radius), 0});
        const int d2 = dx * dx + dy * dy;
        if (d2 > radius * radius) return 0;
        if (d2 > (radius - 2) * (radius - 2) || x < 2 || y < 2 || x >= w - 2 || y >= h - 2) return 0xE0E0F0FFu;
        const std::uint32_t shade = static_cast<std::uint32_t>(y * 40 / h);
        const std::uint32_t r = ((rgb >> 16) & 0xFF) + shade, g = ((rgb >> 8) & 0xFF) + shade, b = (rgb & 0xFF);
        return std::min(r, 255u) << 24 | std::min(g, 255u) << 16 | b << 8 | 0xFFu;
    };
}

std::string ArchivePath() {
    if (const char* path = std::getenv("ZANBOR_ARCHIVE")) return path;
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        const auto beside = self.parent_path() / "zanborassets.mm";
        if (std::filesystem::exists(beside)) return beside.string();
    }
    return "build/bin/zanborassets.mm";
}

// The options pages' font (characters 32 to 90) from the archive.
CFont* LoadPageFont() {
    const std::string path = ArchivePath();
    if (!std::filesystem::exists(path)) return nullptr;
    try {
        CFileMM archive;
        if (archive.OpenArchive(MakeFileSpec(path.c_str()), kModeReadExisting) != 0) return nullptr;
        archive.SeekEntry(7);
        return LoadFont(32, archive, 1, 0);
    } catch (const CException&) {
        return nullptr;
    }
}

// Stand-in glyphs: a dark bar per character, its width varying with the code.
CFont* MakeFallbackFont() {
    auto* font = new CFont(32, 59, 2, 0);
    for (int i = 0; i < 59; ++i) {
        const int w = i == 0 ? 8 : 8 + (i % 4) * 2;
        font->Set(i, Sprite(Picture(w, 18, [&](int x, int y) -> std::uint32_t {
                               if (i == 0) return 0;
                               return (x > 0 && x < w - 1 && y > 2 && y < 16) ? 0x503820FFu : 0;
                           }),
                            0, 0));
    }
    font->count = 59;
    font->lineHeight = 18;
    font->maxWidth = 14;
    return font;
}

class DemoScreen;

// The first scene: a backdrop, buttons, labels and the initials box.
class WidgetScene : public CScene {
public:
    WidgetScene(DemoScreen* owner, CFont* bitmapFont, CSpriteArray* optionFrames);
    void ChangeScene(CScene* scene, int code) override;
    void OnDialogClosed(CScene* dialog, int result) override;
    int OnKeyDown(int key) override;
    int OnKeyUp(int key) override;

    CEditBox* initials = nullptr;
    CActorButton* status = nullptr;
    CActorButton* rollButton = nullptr;
};

// The scene the fade leads to.
class SecondScene : public CScene {
public:
    SecondScene(CScreen* owner, CFont* bitmapFont, CSprite* backdrop);
};

CTextRecord Label(const char* text, int fontIndex, D3DCOLOR colour, int shadow = 0, CFont* font = nullptr) {
    CTextRecord record;
    record.text = text;
    record.maxLength = 63;
    record.systemFontIndex = fontIndex;
    record.colour = colour;
    record.shadow = shadow;
    record.font = font;
    return record;
}

CButtonRecord Behaviour(int mode, int key, int plainRect, D3DCOLOR rectColour = 0xFF305080u) {
    CButtonRecord record;
    record.mode = mode;
    record.key = key;
    record.mouseEnabled = 1;
    record.plainRect = plainRect;
    record.rectColour = rectColour;
    return record;
}

class DemoScreen : public CScreen {
public:
    ~DemoScreen() override {
        // The scenes go before the pictures and fonts they show.
        while (CScene::Last()) delete CScene::Last();
        scene.release();
    }
    int CreateContent() override { return 0; }
    void OnClose() override {
        if (gApplication) gApplication->Quit(0);
    }
    void Frame() override;
    void Build();
    void OpenDialog();
    void Script(double t);

    std::unique_ptr<CFont> pageFont;
    std::unique_ptr<CSprite> backdrop;
    std::unique_ptr<CSprite> secondBackdrop;
    std::unique_ptr<CSprite> dialogPicture;
    std::unique_ptr<CSpriteArray> dialogButtons;
    std::unique_ptr<CSpriteArray> optionFrames;
    WidgetScene* first = nullptr;
    SecondScene* second = nullptr;
    CSceneDialog* dialog = nullptr;
    Clock::time_point start = Clock::now();
    double seconds = 0;  // 0: until the window is closed
    int scriptStep = 0;
};

WidgetScene::WidgetScene(DemoScreen* owner, CFont* bitmapFont, CSpriteArray* optionFrames)
    : CScene(owner, 0, 0, 0, 0, 1) {
    new CActorSprite(this, 0, 0, ToFixed(32766), owner->backdrop.get(), 0);

    // Labels in the three system fonts and in the bitmap font.
    CTextRecord title = Label("Widgets of the engine", 1, 0xFFFFE080u, 1);
    title.hAlign = kAlignLeft;
    new CActorButton(title, CButtonRecord{}, this, ToFixed(32), ToFixed(24), ToFixed(400), nullptr, 0);
    const char* samples[] = {"System font 0: Arial 16", "System font 1: Arial 20 bold", "System font 2: Arial 8 bold"};
    for (int i = 0; i < 3; ++i) {
        CTextRecord line = Label(samples[i], i, 0xFFFFFFFFu, 1);
        line.hAlign = kAlignLeft;
        new CActorButton(line, CButtonRecord{}, this, ToFixed(32), ToFixed(80 + 36 * i), ToFixed(400), nullptr, 0);
    }
    // The options pages' font is dark ink for a light page: a light plate under it.
    CTextRecord bitmap = Label("BITMAP FONT: OPTIONS 0123456789", 0, 0, 0, bitmapFont);
    bitmap.hAlign = kAlignLeft;
    CButtonRecord paper = Behaviour(kButtonPlain, 0, 1, 0xFFE8E0C8u);
    paper.mouseEnabled = 0;
    new CActorButton(bitmap, paper, this, ToFixed(32), ToFixed(190), ToFixed(400), nullptr, 0);

    // Buttons: bevelled push, toggle and disabled ones, and one with pictures.
    rollButton = new CActorButton(Label("Roll", 1, 0xFFFFFFFFu, 1), Behaviour(kButtonPush, 13, 1), this, ToFixed(120),
                                  ToFixed(290), ToFixed(300), nullptr, 0);
    new CActorButton(Label("Hints", 0, 0xFFFFFFFFu, 1), Behaviour(kButtonToggle, 114, 1, 0xFF306030u), this,
                     ToFixed(250), ToFixed(290), ToFixed(300), nullptr, 0);
    auto* off = new CActorButton(Label("Disabled", 0, 0xFFFFFFFFu, 1), Behaviour(kButtonPush, 'D', 1, 0xFF505050u),
                                 this, ToFixed(380), ToFixed(290), ToFixed(300), nullptr, 0);
    off->SetState(kStateDisabled);
    new CActorButton(Label("Options", 1, 0xFF102040u), Behaviour(kButtonPush, 'O', 0), this, ToFixed(560), ToFixed(290),
                     ToFixed(300), optionFrames, 0);

    // The initials box, on a bevelled plate as wide as a label of spaces.
    CTextRecord caption = Label("Initials:", 1, 0xFFFFFFFFu, 1);
    caption.hAlign = kAlignRight;
    new CActorButton(caption, CButtonRecord{}, this, ToFixed(240), ToFixed(400), ToFixed(400), nullptr, 0);
    CTextRecord plate = Label("                  ", 1, 0);
    plate.hAlign = kAlignLeft;
    CButtonRecord plateRecord = Behaviour(kButtonPlain, 0, 1, 0xFF101828u);
    plateRecord.mouseEnabled = 0;
    new CActorButton(plate, plateRecord, this, ToFixed(250), ToFixed(400), ToFixed(500), nullptr, 0);
    CTextRecord entry = Label("", 1, 0xFFFFFFFFu);
    entry.maxLength = 12;
    entry.hAlign = kAlignLeft;
    initials = new CEditBox(this, ToFixed(250), ToFixed(400), ToFixed(300), entry, CButtonRecord{});
    initials->SetMaxLength(7);

    CTextRecord line = Label("Type initials, click the buttons; a dialog comes up by itself.", 0, 0xFFC0C0C0u);
    line.hAlign = kAlignLeft;
    status = new CActorButton(line, CButtonRecord{}, this, ToFixed(32), ToFixed(480), ToFixed(400), nullptr, 0);

    fade = new CActorFade(this, 0, 0, ToFixed(10));
}

void WidgetScene::ChangeScene(CScene* requested, int code) { screen->RequestScene(requested, code, 1); }

void WidgetScene::OnDialogClosed(CScene*, int result) {
    status->SetText(result == 1 ? "The dialog answered Yes: fading to the next scene." : "The dialog answered No.");
    if (result == 1) FadeTo(1, 0);
}

int WidgetScene::OnKeyDown(int key) {
    if (initials->OnKey(key)) return 1;
    return CScene::OnKeyDown(key);
}

int WidgetScene::OnKeyUp(int key) {
    if (key == 13) status->SetText("Roll pressed and released over the button.");
    return 1;
}

SecondScene::SecondScene(CScreen* owner, CFont* bitmapFont, CSprite* backdrop) : CScene(owner, 0, 0, 0, 0, 1) {
    new CActorSprite(this, 0, 0, ToFixed(32766), backdrop, 0);
    new CActorButton(Label("The second scene", 1, 0xFFFFFFFFu, 1), CButtonRecord{}, this, ToFixed(400), ToFixed(260),
                     ToFixed(400), nullptr, 0);
    CButtonRecord paper = Behaviour(kButtonPlain, 0, 1, 0xFFE8E0C8u);
    new CActorButton(Label("REVEALED BY A FADE", 0, 0, 0, bitmapFont), paper, this, ToFixed(400), ToFixed(320),
                     ToFixed(400), nullptr, 0);
    fade = new CActorFade(this, 0, 0, ToFixed(10));
    fade->Reveal(1);
}

void DemoScreen::Build() {
    pageFont.reset(LoadPageFont());
    if (!pageFont) {
        std::fprintf(stderr, "zanborassets.mm not found: glyphs made in memory\n");
        pageFont.reset(MakeFallbackFont());
    }
    backdrop.reset(Sprite(Picture(800, 600,
                                  [](int x, int y) -> std::uint32_t {
                                      const std::uint32_t g = 0x30 + static_cast<std::uint32_t>(y * 0x30 / 600);
                                      return static_cast<std::uint32_t>(0x18 + x * 0x20 / 800) << 24 | g << 16 |
                                             0x5000u | 0xFFu;
                                  }),
                          0, 0));
    secondBackdrop.reset(Sprite(Picture(800, 600,
                                        [](int x, int y) -> std::uint32_t {
                                            const std::uint32_t r = 0x40 + static_cast<std::uint32_t>(x * 0x40 / 800);
                                            return r << 24 | static_cast<std::uint32_t>(0x20 + y * 0x20 / 600) << 16 |
                                                   0x3000u | 0xFFu;
                                        }),
                                0, 0));
    dialogPicture.reset(Sprite(Picture(380, 180, Panel(380, 180, 0x283C78, 14)), 0, 0));
    dialogButtons = std::make_unique<CSpriteArray>(2);
    dialogButtons->Set(0, Sprite(Picture(110, 40, Panel(110, 40, 0x3C6EB4, 10)), -55, -20));
    dialogButtons->Set(1, Sprite(Picture(110, 40, Panel(110, 40, 0x1E3C64, 10)), -55, -20));
    dialogButtons->count = 2;
    optionFrames = std::make_unique<CSpriteArray>(2);
    optionFrames->Set(0, Sprite(Picture(140, 44, Panel(140, 44, 0xC8B450, 12)), -70, -22));
    optionFrames->Set(1, Sprite(Picture(140, 44, Panel(140, 44, 0x8C7830, 12)), -70, -22));
    optionFrames->count = 2;

    first = new WidgetScene(this, pageFont.get(), optionFrames.get());
    scene.reset(first);
}

void DemoScreen::OpenDialog() {
    first->Pause(0);
    CTextRecord answers[2] = {Label("No", 1, 0xFFFFFFFFu, 1), Label("Yes", 1, 0xFFFFFFFFu, 1)};
    CButtonRecord record = Behaviour(kButtonPush, '0' - 1, 0);
    dialog = new CSceneDialog(this, first, dialogPicture.get(), dialogButtons.get(), nullptr, answers, record, 2, 400,
                              300, -1, 0, 0);
    dialog->LoadAssets();
    CTextRecord question = Label("Start the second scene?", 1, 0xFFFFFFFFu, 1);
    new CActorButton(question, CButtonRecord{}, dialog, ToFixed(400), ToFixed(255), ToFixed(9), nullptr, 0);
    dialog->Begin();
}

// What a player might do, at fixed times.
void DemoScreen::Script(double t) {
    struct Step {
        double at;
        std::function<void(DemoScreen*)> action;
    };
    static const Step steps[] = {
        {0.3, [](DemoScreen* s) { s->OnLButtonDown(120, 290); }},
        {0.5, [](DemoScreen* s) { s->OnKeyDown('Z'); }},
        {0.7, [](DemoScreen* s) { s->OnKeyDown('A'); }},
        {0.8, [](DemoScreen* s) { s->OnLButtonUp(120, 290); }},
        {0.9, [](DemoScreen* s) { s->OnKeyDown('N'); }},
        {1.1, [](DemoScreen* s) { s->OnLButtonDown(250, 290); }},
        {1.3, [](DemoScreen* s) { s->OpenDialog(); }},
        {3.4, [](DemoScreen* s) {
             const CRect& b = s->dialog->modal->buttons[1]->bounds;
             s->OnLButtonDown((b.left + b.right) / 2, (b.top + b.bottom) / 2);
         }},
        {3.8, [](DemoScreen* s) {
             const CRect& b = s->dialog->modal->buttons[1]->bounds;
             s->OnLButtonUp((b.left + b.right) / 2, (b.top + b.bottom) / 2);
         }},
    };
    while (scriptStep < static_cast<int>(std::size(steps)) && t >= steps[scriptStep].at) {
        if (steps[scriptStep].at < 3.0 || dialog) steps[scriptStep].action(this);
        ++scriptStep;
    }
}

void DemoScreen::Frame() {
    const double t = std::chrono::duration<double>(Clock::now() - start).count();
    if (seconds > 0 && t > seconds) {
        gApplication->Quit(0);
        return;
    }
    Script(t);
    // The scene change a dialog asked for: remove it, tell its owner.
    if (requestPending) {
        requestPending = 0;
        if (requestedScene == dialog && dialog) {
            CScene* owner = dialog->owner;
            delete dialog;
            owner->OnDialogClosed(dialog, requestCode);
            dialog = nullptr;
            if (requestResume) owner->Unpause();
        }
    }
    // The covered first scene gives way to the second.
    if (!second && first->fade && first->fade->coverDone) second = new SecondScene(this, pageFont.get(), secondBackdrop.get());
    CScene::RunFrame();
}

class DemoApp : public DemoShellApp {
public:
    int OnInit() override {
        MApplication::OnInit();
        auto* window = new DemoScreen;
        if (!OpenDemoWindow(this, window, name, &window->seconds)) return 0;
        MFontManager* fonts = MFontManager::Get();
        fonts->AddFont("Arial", 16, 0);
        fonts->AddFont("Arial", 20, kFontBold);
        fonts->AddFont("Arial", 8, kFontBold);
        GameTimer(TIMER_RESET);
        GameTimer(TIMER_START);
        window->Build();
        return 1;
    }
    void OnExit() override {
        // The scenes and their pictures go first, then the fonts, before the renderer.
        screen.reset();
        MFontManager::Free();
    }
};

}  // namespace

int main() {
    return ApplicationMain([]() -> MApplication* { return new DemoApp; });
}
