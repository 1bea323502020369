#pragma once
// The platform's view of the options record: the application owns it and
// destroys it, the engine and the game derive the real record from it.
class BOptions {
public:
    virtual ~BOptions() = default;
};
