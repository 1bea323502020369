#include "tests/support/SettingsSandbox.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "platform/app/MApplication.h"
#include "platform/storage/MRegistryStore.h"

namespace {

// The smallest application that owns a settings root like the game's.
class SandboxApplication : public MApplication {
public:
    SandboxApplication() { LoadString(IDS_PRODUCT_NAME, name, sizeof name); }
    void OnExit() override {}
    const char* GetMakerName() override { return "Brevant"; }
    COptions* GetOptions() override { return nullptr; }
};

}  // namespace

std::string MakeTempFolder(const char* tag) {
    std::string pattern = (std::filesystem::temp_directory_path() / (std::string("zanbor-") + tag + "-XXXXXX")).string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    return pattern;
}

void RemoveTree(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

SettingsSandbox::SettingsSandbox() {
    MRegistryStore::Free();
    configHome = MakeTempFolder("config");
    if (const char* previous = std::getenv("XDG_CONFIG_HOME")) {
        previousConfigHome = previous;
        hadPreviousConfigHome = true;
    }
    setenv("XDG_CONFIG_HOME", configHome.c_str(), 1);
    previousApp = gApplication;
    app = std::make_unique<SandboxApplication>();
    app->OpenRegistryRoot();
    gApplication = app.get();
}

SettingsSandbox::~SettingsSandbox() {
    MRegistryStore::Free();
    gApplication = previousApp;
    app.reset();
    if (hadPreviousConfigHome)
        setenv("XDG_CONFIG_HOME", previousConfigHome.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
    RemoveTree(configHome);
}

std::string SettingsSandbox::Root() const { return configHome + "/Brevant/Zanbor"; }

std::string SettingsSandbox::DatabaseFile() const { return MRegistryStore::DatabasePath(Root()); }
