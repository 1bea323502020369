#pragma once
// The abstract sound: one loaded effect that can play on several voices.
// Virtual operations in their slot order.

class BSound {
public:
    BSound() = default;
    BSound(const BSound&) = delete;
    BSound& operator=(const BSound&) = delete;

    // Slot 0: a hook with one argument that does nothing and returns 0.
    virtual int Reserved(int) { return 0; }
    virtual int IsPlaying() = 0;
    virtual int Play(int loop) = 0;
    virtual int Stop() = 0;
    virtual int Halt() = 0;
    virtual int Replay() = 0;
    virtual int Toggle() = 0;
    virtual long GetVolume() = 0;
    virtual int SetVolume(float level) = 0;
    virtual ~BSound() = default;
};
