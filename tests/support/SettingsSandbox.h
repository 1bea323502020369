#pragma once
// Points the settings store at a fresh temporary folder for one test: sets
// XDG_CONFIG_HOME, installs a small application object whose settings root is
// <temp>/Brevant/Zanbor (what the game uses), and removes it all afterwards.

#include <memory>
#include <string>

#include "platform/storage/MRegistryStore.h"

class MApplication;

// The machine-wide settings store the sandbox points at.
inline MRegistryStore* Store() { return MRegistryStore::Get(HKEY_LOCAL_MACHINE); }

class SettingsSandbox {
public:
    SettingsSandbox();
    ~SettingsSandbox();
    SettingsSandbox(const SettingsSandbox&) = delete;
    SettingsSandbox& operator=(const SettingsSandbox&) = delete;

    // The temporary XDG_CONFIG_HOME.
    const std::string& ConfigHome() const { return configHome; }
    // The settings root folder (<ConfigHome>/Brevant/Zanbor).
    std::string Root() const;
    // The database file inside the root.
    std::string DatabaseFile() const;

private:
    std::string configHome;
    std::string previousConfigHome;
    bool hadPreviousConfigHome = false;
    std::unique_ptr<MApplication> app;
    MApplication* previousApp = nullptr;
};

// A fresh empty temporary folder, removed by the caller (or left for inspection).
std::string MakeTempFolder(const char* tag);
void RemoveTree(const std::string& path);
