#pragma once

#include <thread>

// Reads fontconfig's configuration and font list on a second thread while the program connects to the display,
// so that Qt's font database, filled when the first font is asked for, finds them read. Started before the
// application object; finished before the first font.
class TovikFontconfigWarmup {
public:
    TovikFontconfigWarmup();
    ~TovikFontconfigWarmup();
    TovikFontconfigWarmup(const TovikFontconfigWarmup &) = delete;
    TovikFontconfigWarmup &operator=(const TovikFontconfigWarmup &) = delete;

    // Waits for the reading, so that Qt does not start it a second time.
    void finish();

private:
    std::thread m_thread;
};
