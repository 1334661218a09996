#pragma once

#include <thread>

// Loads the system's font configuration on a thread of its own while Qt
// starts, so that it overlaps connecting to the display and loading Qt's
// platform plugin instead of coming after them: parsing that
// configuration is the largest single cost before the first text can be
// measured. Qt's own fonts then find it loaded. Where Qt takes its fonts from
// anything but fontconfig, this does nothing.
class FontConfigPreloader
{
public:
    FontConfigPreloader();
    // Waits for the loading to end.
    ~FontConfigPreloader();

    FontConfigPreloader(const FontConfigPreloader &) = delete;
    FontConfigPreloader &operator=(const FontConfigPreloader &) = delete;

    // Returns once the configuration is loaded. Call it before anything
    // measures or draws text: a second load started meanwhile would parse
    // everything again.
    void wait();

private:
    std::thread Loader;
};
