#pragma once
// The abstract application: the operations the engine reaches through the one
// process-wide application object.

class COptions;
class MWindow;

using HICON = void*;
using HCURSOR = void*;
using HMENU = void*;

class BApplication {
public:
    virtual int OnInit() = 0;
    virtual void OnExit() = 0;
    virtual void OnIdle() = 0;
    virtual int Run() = 0;
    virtual void Quit(int code) = 0;
    virtual int LoadString(int id, char* buffer, int size) = 0;
    virtual HICON LoadIcon(int id) = 0;
    virtual HCURSOR LoadCursor(int id) = 0;
    virtual HMENU LoadMenu(int id) = 0;
    virtual ~BApplication() = default;
    virtual void RequestQuit() = 0;
    virtual const char* GetName() = 0;
    virtual const char* GetMakerName() = 0;
    virtual const char* GetAltName() = 0;
    virtual COptions* GetOptions() = 0;
    virtual void SpareHook() = 0;
};
